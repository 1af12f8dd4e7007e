#include "core/base/Settings.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// The settings read back at start: sound values, or the defaults with the keys named; and a
// file that cannot be read kept aside instead of being overwritten.
class TestSettings : public QObject {
    Q_OBJECT

    static void writeFile(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

private slots:
    void limitsOutsideTheirBounds_data() {
        QTest::addColumn<QString>("stored"); // "key=value" lines of the group Einstellungen
        QTest::addColumn<QString>("limits"); // PSZmin PSZmax PFZmin PFZmax Sicherungen
        QTest::addColumn<QStringList>("named");
        QTest::newRow("nothing stored") << ""
                                        << "60 330 200 1000 14" << QStringList{};
        QTest::newRow("sound values") << "PSZmin=1\nPSZmax=60000\nPFZmin=150\nSicherungen=30"
                                      << "1 60000 150 1000 30" << QStringList{};
        QTest::newRow("largest integer") << "PSZmin=2147483647"
                                         << "60 330 200 1000 14" << QStringList{"PSZmin"};
        QTest::newRow("negative") << "PFZmin=-5\nPFZmax=-1"
                                  << "60 330 200 1000 14" << QStringList{"PFZmax", "PFZmin"};
        QTest::newRow("zero") << "PSZmax=0"
                              << "60 330 200 1000 14" << QStringList{"PSZmax"};
        QTest::newRow("just above 60000") << "PFZmax=60001"
                                          << "60 330 200 1000 14" << QStringList{"PFZmax"};
        QTest::newRow("minimum equal to maximum")
            << "PSZmin=300\nPSZmax=300"
            << "60 330 200 1000 14" << QStringList{"PSZmax", "PSZmin"};
        QTest::newRow("minimum above the default maximum")
            << "PFZmin=1500"
            << "60 330 200 1000 14" << QStringList{"PFZmin"};
        QTest::newRow("no number") << "PSZmin=abc"
                                   << "60 330 200 1000 14" << QStringList{"PSZmin"};
        QTest::newRow("no backups") << "Sicherungen=0"
                                    << "60 330 200 1000 14" << QStringList{"Sicherungen"};
    }
    void limitsOutsideTheirBounds() {
        QFETCH(QString, stored);
        QFETCH(QString, limits);
        QFETCH(QStringList, named);
        QTemporaryDir dir;
        const QString path = dir.filePath("QRV.conf");
        writeFile(path, "[Einstellungen]\n" + stored.toUtf8() + "\n");
        QSettings settings(path, QSettings::IniFormat);
        const StoredSettings values = readSettings(settings);
        QCOMPARE(QStringLiteral("%1 %2 %3 %4 %5")
                     .arg(values.contactMinMs)
                     .arg(values.contactMaxMs)
                     .arg(values.flightMinMs)
                     .arg(values.flightMaxMs)
                     .arg(values.backupsKept),
                 limits);
        QCOMPARE(values.unsoundKeys, named);
        const QString message = unsoundSettingsMessage(values);
        QCOMPARE(message.isEmpty(), named.isEmpty());
        for (const QString& key : named)
            QVERIFY2(message.contains(key), qPrintable(message));
    }

    // Binary bytes are no settings file: it is kept aside as it is, the next start begins
    // with the defaults, and what is written then does not touch the kept file.
    void anUnreadableFileIsKeptAside() {
        QTemporaryDir dir;
        const QString path = dir.filePath("QRV.conf");
        const QByteArray bytes("[Ger\xe4t\x01\x00\xff\n\x02[Datenbank]\nVerbindung=x\n\xfe[", 34);
        writeFile(path, bytes);
        const QString message = keepUnreadableSettingsAside(path);
        QVERIFY2(message.contains(path + ".unlesbar"), qPrintable(message));
        QVERIFY(!QFile::exists(path));
        QFile kept(path + ".unlesbar");
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), bytes);

        {
            QSettings settings(path, QSettings::IniFormat);
            QCOMPARE(readSettings(settings).contactMinMs, 60);
            writeSettings(settings, StoredSettings{});
        }
        QVERIFY(keepUnreadableSettingsAside(path).isEmpty());
        QVERIFY(QFile::exists(path));

        // A second unreadable file does not replace the first one kept.
        writeFile(path, bytes);
        QVERIFY(keepUnreadableSettingsAside(path).contains(path + ".unlesbar-2"));
        QCOMPARE(QFileInfo(path + ".unlesbar").size(), bytes.size());
    }

    void aReadableOrMissingFileStays() {
        QTemporaryDir dir;
        const QString path = dir.filePath("QRV.conf");
        QVERIFY(keepUnreadableSettingsAside(path).isEmpty());
        writeFile(path, "[Gerät]\nZeitmessung=simulator\n[Einstellungen]\nPSZmin=70\n");
        QVERIFY(keepUnreadableSettingsAside(path).isEmpty());
        QVERIFY(QFile::exists(path));
        QVERIFY(!QFile::exists(path + ".unlesbar"));
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
