#include "core/base/Texts.h"
#include "core/report/TeamReport.h"

#include <QtTest>

// The texts of the team report: the period and one compact line per athlete.
class TestTeamReport : public QObject {
    Q_OBJECT

    static ranking::Row row(int count, std::optional<double> rsi, std::optional<double> change) {
        ranking::Row r;
        r.athlete.name = QStringLiteral("Adler");
        r.athlete.firstName = QStringLiteral("Anna");
        r.measurementCount = count;
        r.bestRsi = rsi;
        if (rsi) {
            r.bestHeightCm = 78.48;
            r.meanContactMs = 300;
        }
        r.rsiChange = change;
        return r;
    }

private slots:
    void init() { texts::setLocale(QLocale(QLocale::German, QLocale::Germany)); }

    void athleteLine_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<double>("rsi"); // 0: none
        QTest::addColumn<double>("change");
        QTest::addColumn<bool>("compared");
        QTest::addColumn<QString>("line");
        QTest::newRow("better") << 3 << 1.962 << 0.981 << true
                                << "Adler, Anna: Höhe 78,48 cm · RSI 1,96 · Stützzeit 300 ms · "
                                   "3 Messungen · Trend: besser (+0,98)";
        QTest::newRow("worse, one measurement")
            << 1 << 1.5 << -0.25 << true
            << "Adler, Anna: Höhe 78,48 cm · RSI 1,50 · Stützzeit 300 ms · 1 Messung · "
               "Trend: schlechter (-0,25)";
        QTest::newRow("nothing to compare")
            << 2 << 1.5 << 0.0 << false
            << "Adler, Anna: Höhe 78,48 cm · RSI 1,50 · Stützzeit 300 ms · 2 Messungen · "
               "Trend: ohne Vergleich";
        QTest::newRow("no valid jump")
            << 1 << 0.0 << 0.0 << false << "Adler, Anna: 1 Messung · Trend: ohne Vergleich";
        QTest::newRow("no measurement")
            << 0 << 0.0 << 0.0 << false << "Adler, Anna: keine Messung des Tests im Zeitraum";
    }
    void athleteLine() {
        QFETCH(int, count);
        QFETCH(double, rsi);
        QFETCH(double, change);
        QFETCH(bool, compared);
        QFETCH(QString, line);
        const ranking::Row r = row(count, rsi > 0 ? std::optional(rsi) : std::nullopt,
                                   compared ? std::optional(change) : std::nullopt);
        QCOMPARE(report::athleteLine(r), line);
    }

    // Below the title, the test, its drop height and the period, as the ranking says them.
    void headingLines() {
        const ranking::Period march{QDate(2026, 3, 2), QDate(2026, 3, 31)};
        const ranking::RankedTest dj30{{"Drop Jump", 30}, Protocol::None};
        const report::TeamReport team = report::team({1, "U19"}, march, dj30, {});
        QCOMPARE(report::headingLines(team), ranking::headingLines(dj30, march));
        QCOMPARE(report::headingLines(team).first(), QStringLiteral("Test: Drop Jump"));
    }
};

QTEST_GUILESS_MAIN(TestTeamReport)
#include "tst_teamreport.moc"
