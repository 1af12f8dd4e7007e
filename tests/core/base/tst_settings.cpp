#include "core/base/Settings.h"

#include <QFile>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTemporaryFile>
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
        // Each key is named with the values it may take.
        for (const QString& key : named) {
            const qint32 highest = key == "Sicherungen" ? kBackupsKeptHighest : kLimitHighestMs;
            const QStringList lines =
                message.split('\n').filter(QRegularExpression("^" + key + ":"));
            QCOMPARE(lines.size(), 1);
            QVERIFY2(lines[0].contains(QString::number(highest)), qPrintable(message));
        }
        // What is written back is sound: the defaults replaced what gave way.
        writeSettings(settings, values);
        QVERIFY(readSettings(settings).unsoundKeys.isEmpty());
    }

    // A file that is no settings file is kept aside whole and the defaults apply; a few lines
    // that cannot be read are kept aside with the file as it was, and the other keys stay.
    void aBadFileIsKeptAside_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("finding");
        QTest::addColumn<QList<int>>("unreadable");
        QTest::addColumn<QStringList>("keys"); // what QSettings reads afterwards
        using F = SettingsFileCheck::Finding;
        const QByteArray valid = "[Einstellungen]\nPSZmin=70\nPSZmax=300\n";
        const QStringList validKeys{"Einstellungen/PSZmax=300", "Einstellungen/PSZmin=70"};
        QByteArray random(2048, '\0');
        QRandomGenerator generator(36);
        for (char& byte : random)
            byte = static_cast<char>(generator.bounded(256));
        QTest::newRow("random bytes")
            << random << int(F::NotSettings) << QList<int>{} << QStringList{};
        QTest::newRow("PNG") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10\0\0\0\x10\x08"
                                           "\x06\0\0\0\x1f\xf3\xff"
                                           "a=\n",
                                           35)
                             << int(F::NotSettings) << QList<int>{} << QStringList{};
        QTest::newRow("gzip") << QByteArray("\x1f\x8b\x08\0\0\0\0\0\0\x03+I-.\x01\0\x0c~\x7f\xd8"
                                            "\x04\0\0\0",
                                            24)
                              << int(F::NotSettings) << QList<int>{} << QStringList{};
        QTest::newRow("UTF-16") << QByteArray("[\0E\0]\0\n\0x\0=\0\x31\0\n\0", 16)
                                << int(F::NotSettings) << QList<int>{} << QStringList{};
        QTest::newRow("one garbage line")
            << QByteArray("[Einstellungen]\nPSZmin=70\nkaputt\nPSZmax=300\n")
            << int(F::UnreadableLines) << QList<int>{3} << validKeys;
        QTest::newRow("a quote left open")
            << QByteArray("[Einstellungen]\nPSZmin=70\nName=\"Anna\nPSZmax=300\n")
            << int(F::UnreadableLines) << QList<int>{3} << validKeys;
        QTest::newRow("a line carried on")
            << QByteArray("[Einstellungen]\nPSZmin=70\nName=Anna\\\nPSZmax=300\n")
            << int(F::UnreadableLines) << QList<int>{3} << validKeys;
        QTest::newRow("a control character")
            << QByteArray("[Einstellungen]\nPSZmin=70\nName=A\x01nna\nPSZmax=300\n")
            << int(F::UnreadableLines) << QList<int>{3} << validKeys;
        QTest::newRow("a group heading cut off")
            << QByteArray("[Einstellungen]\nPSZmin=70\nPSZmax=300\n[Fenst\nGeometrie=x\nkaputt\n"
                          "Serienbalken=RSI\n[Ger\xc3\xa4t]\nZeitmessung=simulator\n")
            << int(F::UnreadableLines) << QList<int>{4, 5, 6, 7}
            << validKeys + QStringList{"Gerät/Zeitmessung=simulator"};
        QTest::newRow("sound: a comment, CR LF and a byte order mark")
            << "\xef\xbb\xbf; von Hand\r\n" + QByteArray(valid).replace("\n", "\r\n")
            << int(F::Sound) << QList<int>{} << validKeys;
    }
    void aBadFileIsKeptAside() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, finding);
        QFETCH(QList<int>, unreadable);
        QFETCH(QStringList, keys);
        QTemporaryDir dir;
        const QString path = dir.filePath("QRV.conf");
        writeFile(path, bytes);
        const SettingsFileCheck check = checkSettingsFile(path);
        QCOMPARE(int(check.finding), finding);
        QCOMPARE(check.unreadableLines, unreadable);
        const QString message = settingsFileMessage(check);
        if (finding == int(SettingsFileCheck::Finding::Sound)) {
            QVERIFY(message.isEmpty());
            QVERIFY(!QFile::exists(path + ".unlesbar"));
        } else {
            QCOMPARE(check.keptAs, path + ".unlesbar");
            QVERIFY2(message.contains(check.keptAs), qPrintable(message));
            QFile kept(check.keptAs);
            QVERIFY(kept.open(QIODevice::ReadOnly));
            QCOMPARE(kept.readAll(), bytes);
        }
        QSettings settings(path, QSettings::IniFormat);
        QStringList read;
        for (const QString& key : settings.allKeys())
            read << key + "=" + settings.value(key).toString();
        QCOMPARE(read, keys);
        // What is left reads without a fault (a byte order mark, which QSettings skips but
        // reports, is left as it was).
        if (finding != int(SettingsFileCheck::Finding::Sound)) {
            settings.setValue("Einstellungen/PFZmin", "150");
            settings.sync();
            QCOMPARE(settings.status(), QSettings::NoError);
        }
    }

    // What QSettings itself writes is never taken for unreadable, whatever the values hold.
    void whatQSettingsWritesIsSound() {
        QTemporaryDir dir;
        const QString path = dir.filePath("QRV.conf");
        QByteArray everyByte;
        for (int byte = 0; byte < 256; ++byte)
            everyByte += char(byte);
        {
            QSettings settings(path, QSettings::IniFormat);
            settings.setValue("Fenster/Geometrie", everyByte);
            settings.setValue("Fenster/Teilungen", QVariantList{everyByte, QByteArray("\\")});
            settings.setValue("Gerät/Zeitmessung", " \"a;b\" \\\nc=d\t[e] ");
            settings.setValue("Einstellungen/Ordner", "C:\\Daten\\");
        }
        const SettingsFileCheck check = checkSettingsFile(path);
        QCOMPARE(check.finding, SettingsFileCheck::Finding::Sound);
        QSettings settings(path, QSettings::IniFormat);
        QCOMPARE(settings.value("Fenster/Geometrie").toByteArray(), everyByte);
    }

    // A second unreadable file does not replace the first one kept.
    void anotherBadFileKeepsTheFirst() {
        QTemporaryDir dir;
        const QString path = dir.filePath("QRV.conf");
        for (const QByteArray& bytes : {QByteArray("\x1f\x8b\x08"), QByteArray("x\n\x1f\x8b\n")}) {
            writeFile(path, bytes);
            checkSettingsFile(path);
        }
        QCOMPARE(QFileInfo(path + ".unlesbar").size(), 3);
        QCOMPARE(QFileInfo(path + ".unlesbar-2").size(), 5);
        QVERIFY(!QFile::exists(path));
    }

    // Settings that cannot be written are said at start; a file that cannot be kept aside
    // stays as it is and is said too.
    void anUnwritableFolder_data() {
        QTest::addColumn<QString>("file");     // relative to the test's folder
        QTest::addColumn<QString>("locked");   // the folder made read-only, if any
        QTest::addColumn<QString>("obstacle"); // what stands in the way, if anything
        QTest::newRow("a new folder") << "config/Morvek/QRV.conf"
                                      << ""
                                      << "";
        QTest::newRow("a file where a folder should be") << "plain/Morvek/QRV.conf"
                                                         << ""
                                                         << "plain";
        QTest::newRow("a folder that is a file") << "plain/QRV.conf"
                                                 << ""
                                                 << "plain";
        QTest::newRow("a read-only folder") << "locked/QRV.conf"
                                            << "locked"
                                            << "locked";
        QTest::newRow("a read-only parent") << "locked/Morvek/QRV.conf"
                                            << "locked"
                                            << "locked";
    }
    void anUnwritableFolder() {
        QFETCH(QString, file);
        QFETCH(QString, locked);
        QFETCH(QString, obstacle);
        QTemporaryDir dir;
        writeFile(dir.filePath("plain"), "x");
        QVERIFY(QDir(dir.path()).mkpath("locked"));
        QVERIFY(QFile::setPermissions(dir.filePath("locked"), QFile::ReadOwner | QFile::ExeOwner));
        const auto unlock = qScopeGuard([&] {
            QFile::setPermissions(dir.filePath("locked"),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        });
        if (!locked.isEmpty() && QTemporaryFile(dir.filePath("locked/probe")).open())
            QSKIP("this user writes into a read-only folder");
        const QString path = dir.filePath(file);
        const QString blocking = settingsWriteObstacle(path);
        QCOMPARE(blocking, obstacle.isEmpty() ? QString() : dir.filePath(obstacle));
        const QString message = settingsNotWritableMessage(blocking);
        QCOMPARE(!message.isEmpty() && message.contains(blocking), !obstacle.isEmpty());
    }

    void aBadFileInAReadOnlyFolderStays() {
        QTemporaryDir dir;
        const QString path = dir.filePath("QRV.conf");
        const QByteArray bytes = "[Einstellungen]\nkaputt\nPSZmax=300\n";
        writeFile(path, bytes);
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
        const auto unlock = qScopeGuard([&] {
            QFile::setPermissions(dir.path(),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        });
        if (QTemporaryFile(dir.filePath("probe")).open())
            QSKIP("this user writes into a read-only folder");
        const SettingsFileCheck check = checkSettingsFile(path);
        QCOMPARE(check.finding, SettingsFileCheck::Finding::UnreadableLines);
        QVERIFY(check.keptAs.isEmpty());
        QVERIFY2(settingsFileMessage(check).contains(path + ".unlesbar"),
                 qPrintable(settingsFileMessage(check)));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), bytes);
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
