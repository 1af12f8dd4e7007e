#include "core/base/FileNames.h"
#include "core/base/Texts.h"

#include <QtTest>

class TestTexts : public QObject {
    Q_OBJECT
private slots:
    void formats_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("time");
        QTest::addColumn<QString>("number");
        const QDateTime moment(QDate(2026, 12, 6), QTime(19, 5, 9));
        QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany) << "06.12.2026"
                                << "19:05:09"
                                << "30,75";
        QTest::newRow("Austrian") << QLocale(QLocale::German, QLocale::Austria) << "06.12.2026"
                                  << "19:05:09"
                                  << "30,75";
        QTest::newRow("US English")
            << QLocale(QLocale::English, QLocale::UnitedStates) << "12/6/2026"
            << "7:05:09 PM"
            << "30.75";
    }
    void formats() {
        QFETCH(QLocale, locale);
        QFETCH(QString, date);
        QFETCH(QString, time);
        QFETCH(QString, number);
        texts::setLocale(locale);
        QCOMPARE(texts::dateText(QDate(2026, 12, 6)), date);
        QCOMPARE(texts::timeText(QTime(19, 5, 9)), time);
        QCOMPARE(texts::general(30.75), number);
        // What is shown reads back to the same moment.
        QCOMPARE(texts::parseDate(date), QDate(2026, 12, 6));
        QCOMPARE(texts::parseTime(time), QTime(19, 5, 9));
    }

    // The name a save dialog offers: parts and date joined, nothing a file name cannot hold.
    void suggestedFileNames_data() {
        QTest::addColumn<QStringList>("parts");
        QTest::addColumn<QString>("name");
        QTest::newRow("athlete") << QStringList{"Meier", "Anna"} << "Meier_Anna_2026-12-08.pdf";
        QTest::newRow("umlauts and blanks")
            << QStringList{"Öztürk", "Deniz Can"} << "Öztürk_Deniz_Can_2026-12-08.pdf";
        QTest::newRow("slashes, colons, a tab")
            << QStringList{"A/B\\C:D", QStringLiteral("x\ty")} << "A-B-C-D_x_y_2026-12-08.pdf";
        QTest::newRow("hidden file and empty parts")
            << QStringList{"..hidden", "", " "} << "hidden_2026-12-08.pdf";
        QTest::newRow("nobody") << QStringList{} << "2026-12-08.pdf";
    }
    void suggestedFileNames() {
        QFETCH(QStringList, parts);
        QFETCH(QString, name);
        QCOMPARE(filenames::suggested(parts, QDate(2026, 12, 8), "pdf"), name);
    }

    void formatRewrites_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("time");
        QTest::newRow("two-digit year") << "dd.MM.yy"
                                        << "dd.MM.yyyy"
                                        << "";
        QTest::newRow("four-digit year stays") << "yyyy-MM-dd"
                                               << "yyyy-MM-dd"
                                               << "";
        QTest::newRow("quoted yy stays") << "d 'yy' yy"
                                         << "d 'yy' yyyy"
                                         << "";
        QTest::newRow("zone at the end") << "HH:mm:ss t"
                                         << ""
                                         << "HH:mm:ss";
        QTest::newRow("long zone name") << "HH:mm:ss tttt"
                                        << ""
                                        << "HH:mm:ss";
        QTest::newRow("zone in the middle") << "h:mm:ss t AP"
                                            << ""
                                            << "h:mm:ss AP";
        QTest::newRow("quoted t stays") << "HH 'Uhr' t"
                                        << ""
                                        << "HH 'Uhr'";
    }
    void formatRewrites() {
        QFETCH(QString, format);
        QFETCH(QString, date);
        QFETCH(QString, time);
        if (!date.isEmpty())
            QCOMPARE(texts::withFourDigitYear(format), date);
        if (!time.isEmpty())
            QCOMPARE(texts::withoutTimeZone(format), time);
    }

    void separatorIsProcessWide() {
        texts::setLocale(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(texts::decimalSeparator(), QChar(','));
        texts::setDecimalSeparator('.');
        QCOMPARE(texts::general(1.25), QStringLiteral("1.25"));
        QCOMPARE(texts::general(-250), QStringLiteral("-250"));
        texts::setDecimalSeparator(',');
        QCOMPARE(texts::general(0.1 + 0.2), QStringLiteral("0,3"));
    }
};

QTEST_GUILESS_MAIN(TestTexts)
#include "tst_texts.moc"
