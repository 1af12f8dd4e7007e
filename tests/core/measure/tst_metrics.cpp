#include "core/base/Texts.h"
#include "core/measure/Metrics.h"

#include <QtTest>

// Every text row runs with a comma and with a point as decimal separator; expected texts are
// written with a comma.
class TestMetrics : public QObject {
    Q_OBJECT

    static void addBothSeparators(const char* name, const std::function<void(QTestData&)>& add) {
        for (const QChar separator : {QLatin1Char(','), QLatin1Char('.')}) {
            QTestData& row = QTest::addRow("%s [%c]", name, separator.toLatin1()) << separator;
            add(row);
        }
    }
    static QString withSeparator(QString text, QChar separator) {
        return text.replace(QLatin1Char(','), separator);
    }

private slots:
    void cleanup() { texts::setDecimalSeparator(QLatin1Char(',')); }

    void height_data() {
        QTest::addColumn<QChar>("separator");
        QTest::addColumn<int>("flightMs");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("fieldText");
        QTest::addColumn<double>("fieldValue");
        const struct {
            const char* name;
            int flightMs;
            const char* text;
            const char* fieldText;
            double fieldValue;
        } rows[] = {
            {"0 ms", 0, "0,00", "0,000", 0},
            {"100 ms", 100, "1,23", "1,230", 1.23},
            {"300 ms", 300, "11,00", "11,000", 11},
            {"400 ms", 400, "19,60", "19,600", 19.6},
            {"450 ms", 450, "24,80", "24,800", 24.8},
            {"500 ms", 500, "30,70", "30,700", 30.7},
            {"600 ms", 600, "44,10", "44,100", 44.1},
            {"1000 ms", 1000, "123,00", "123,000", 123},
            {"2854 ms", 2854, "999,00", "999,000", 999},
            {"2855 ms reaches 1000 cm", 2855, "1E03", "1E003", 1000},
            {"4000 ms", 4000, "1,96E03", "1,96E003", 1960},
            {"not measured", -1, "0,00", "0,000", 0},
            {"longest time of the unit", 65535, "5,27E05", "5,27E005", 527000},
        };
        for (const auto& r : rows) {
            addBothSeparators(r.name, [&](QTestData& row) {
                row << r.flightMs << QString::fromUtf8(r.text) << QString::fromUtf8(r.fieldText)
                    << r.fieldValue;
            });
        }
    }
    void height() {
        QFETCH(QChar, separator);
        QFETCH(int, flightMs);
        QFETCH(QString, text);
        QFETCH(QString, fieldText);
        QFETCH(double, fieldValue);
        texts::setDecimalSeparator(separator);
        QCOMPARE(metrics::metricText(metrics::heightCm(flightMs)), withSeparator(text, separator));
        QCOMPARE(metrics::metricText(metrics::heightCm(flightMs), 3),
                 withSeparator(fieldText, separator));
        // Exactly the double the text stands for, whatever the separator.
        const double value = metrics::heightFieldValue(flightMs);
        QVERIFY2(value == fieldValue, qPrintable(QString::number(value, 'g', 17)));
    }

    void efficiency_data() {
        QTest::addColumn<QChar>("separator");
        QTest::addColumn<int>("flightMs");
        QTest::addColumn<int>("contactMs");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("stored");
        const struct {
            const char* name;
            int flightMs, contactMs;
            const char* text;
            double stored;
        } rows[] = {
            {"500/200", 500, 200, "1,25", 1.25},
            {"600/150", 600, 150, "2,40", 2.4},
            {"450/180 half rounded up", 450, 180, "1,13", 1.13},
            {"300/250", 300, 250, "0,36", 0.36},
            {"700/120", 700, 120, "4,08", 4.08},
            {"contact time 0", 500, 0, "0,00", 0},
            {"contact time not measured", 500, -1, "-250,00", -250},
            {"square beyond 32 bits", 50000, 100, "2,5E04", 25000},
            {"largest square", 65535, 1, "4,29E06", 4290000},
        };
        for (const auto& r : rows) {
            addBothSeparators(r.name, [&](QTestData& row) {
                row << r.flightMs << r.contactMs << QString::fromUtf8(r.text) << r.stored;
            });
        }
    }
    void efficiency() {
        QFETCH(QChar, separator);
        QFETCH(int, flightMs);
        QFETCH(int, contactMs);
        QFETCH(QString, text);
        QFETCH(double, stored);
        texts::setDecimalSeparator(separator);
        const double index = metrics::efficiency(flightMs, contactMs);
        QCOMPARE(metrics::metricText(index), withSeparator(text, separator));
        QVERIFY2(metrics::metricValue(index) == stored,
                 qPrintable(QString::number(metrics::metricValue(index), 'g', 17)));
    }

    void metricText_data() {
        QTest::addColumn<QChar>("separator");
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("text");
        const struct {
            const char* name;
            double value;
            int decimals;
            const char* text;
        } rows[] = {
            {"exact half", 1.125, 2, "1,13"},
            {"three significant digits", 30.65625, 2, "30,70"},
            {"three digits before the separator", 122.625, 2, "123,00"},
            {"half stored below itself", 4.075, 2, "4,08"},
            {"another binary half", 2.675, 2, "2,68"},
            {"negative half away from zero", -1.125, 2, "-1,13"},
            {"no minus zero", -0.004, 2, "0,00"},
            {"negative zero", -0.0, 2, "0,00"},
            {"smallest half", 0.005, 2, "0,01"},
            {"below the smallest half", 0.0049, 2, "0,00"},
            {"carry into exponent form", 999.5, 2, "1E03"},
            {"just below exponent form", 999.49, 2, "999,00"},
            {"middle digit zero", 1050, 2, "1,05E03"},
            {"carry to the next power", 9995, 2, "1E04"},
            {"large", 12345678, 2, "1,23E07"},
            {"negative exponent form", -1962, 2, "-1,96E03"},
            {"three decimals", 0.12345, 3, "0,123"},
            {"three decimals half", 0.0005, 3, "0,001"},
            {"three decimals exponent", 1000, 3, "1E003"},
            {"no decimals", 12.5, 0, "13"},
        };
        for (const auto& r : rows) {
            addBothSeparators(r.name, [&](QTestData& row) {
                row << r.value << r.decimals << QString::fromUtf8(r.text);
            });
        }
    }
    void metricText() {
        QFETCH(QChar, separator);
        QFETCH(double, value);
        QFETCH(int, decimals);
        QFETCH(QString, text);
        texts::setDecimalSeparator(separator);
        QCOMPARE(metrics::metricText(value, decimals), withSeparator(text, separator));
    }

    void nonFiniteValuesDoNotBreakTheText() {
        QCOMPARE(metrics::metricText(std::nan("")), QStringLiteral("NAN"));
        QCOMPARE(metrics::metricText(-HUGE_VAL), QStringLiteral("-INF"));
    }
};

QTEST_GUILESS_MAIN(TestMetrics)
#include "tst_metrics.moc"
