#include "core/base/Language.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using language::Language;

// The language chosen at start: the stored choice when it is sound, else the system's
// locale; and the conventions of numbers and dates that go with it.
class TestLanguage : public QObject {
    Q_OBJECT

private slots:
    void choice_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("system");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("localeName");
        QTest::newRow("German system") << ""
                                       << "de_DE"
                                       << "de"
                                       << "de_DE";
        QTest::newRow("Austrian system keeps its own") << ""
                                                       << "de_AT"
                                                       << "de"
                                                       << "de_AT";
        QTest::newRow("Swiss system") << ""
                                      << "de_CH"
                                      << "de"
                                      << "de_CH";
        QTest::newRow("French system") << ""
                                       << "fr_FR"
                                       << "en"
                                       << "en_GB";
        QTest::newRow("American system") << ""
                                         << "en_US"
                                         << "en"
                                         << "en_US";
        QTest::newRow("C locale") << ""
                                  << "C"
                                  << "en"
                                  << "en_GB";
        QTest::newRow("English chosen on a German system") << "en"
                                                           << "de_DE"
                                                           << "en"
                                                           << "en_GB";
        QTest::newRow("German chosen on a French system") << "de"
                                                          << "fr_FR"
                                                          << "de"
                                                          << "de_DE";
        QTest::newRow("German chosen on an Austrian system") << "de"
                                                             << "de_AT"
                                                             << "de"
                                                             << "de_AT";
        QTest::newRow("case and blanks") << " EN "
                                         << "de_DE"
                                         << "en"
                                         << "en_GB";
        QTest::newRow("unknown value") << "fr"
                                       << "de_AT"
                                       << "de"
                                       << "de_AT";
        QTest::newRow("unknown value, English system") << "deutsch"
                                                       << "en_US"
                                                       << "en"
                                                       << "en_US";
    }
    void choice() {
        QFETCH(QString, stored);
        QFETCH(QString, system);
        QFETCH(QString, chosen);
        QFETCH(QString, localeName);
        const Language language = language::choose(stored, QLocale(system));
        QCOMPARE(language::code(language), chosen);
        QCOMPARE(language::localeFor(language, QLocale(system)).name(), localeName);
    }

    // The choice is read from and written to "Einstellungen/Sprache" beside the other values,
    // and a value the program does not know is read as it stands, to give way to the locale.
    void storedChoice() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("QRV.conf"));
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("[Einstellungen]\nPSZmin=70\nSprache=xx\n");
        }
        {
            QSettings settings(path, QSettings::IniFormat);
            QCOMPARE(language::readSetting(settings), QStringLiteral("xx"));
            language::writeSetting(settings, Language::English);
        }
        QSettings settings(path, QSettings::IniFormat);
        QCOMPARE(language::readSetting(settings), QStringLiteral("en"));
        QCOMPARE(settings.value(QStringLiteral("Einstellungen/PSZmin")).toString(),
                 QStringLiteral("70"));
    }
};

QTEST_GUILESS_MAIN(TestLanguage)
#include "tst_language.moc"
