#include "app/Application.h"

#include <QTemporaryDir>
#include <QtTest>

// Qt's own buttons and menus speak German like the program's texts.
class TestApplication : public QObject {
    Q_OBJECT
private slots:
    void qtTextsAreGerman_data() {
        QTest::addColumn<QByteArray>("context");
        QTest::addColumn<QByteArray>("english");
        QTest::addColumn<QString>("german");
        QTest::newRow("details of a message")
            << QByteArray("QMessageBox") << QByteArray("Show Details...")
            << "Details einblenden...";
        QTest::newRow("file dialog")
            << QByteArray("QFileDialog") << QByteArray("File &name:") << "Datei&name:";
        QTest::newRow("edit field menu")
            << QByteArray("QLineEdit") << QByteArray("&Paste") << "Einf&ügen";
    }
    void qtTextsAreGerman() {
        QFETCH(QByteArray, context);
        QFETCH(QByteArray, english);
        QFETCH(QString, german);
        QVERIFY(installQtTranslations());
        QVERIFY(installQtTranslations()); // a second call keeps the one translator
        QCOMPARE(QCoreApplication::translate(context, english), german);
    }

    // The settings file is checked before QSettings reads it, so its name is worked out
    // without QSettings: the same file.
    void settingsFileIsTheOneQSettingsReads() {
        QTemporaryDir dir;
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path()));
        QCOMPARE(userSettingsFile(), userSettings()->fileName());
        QVERIFY(userSettingsFile().startsWith(dir.path()));
    }
};

QTEST_MAIN(TestApplication)
#include "tst_application.moc"
