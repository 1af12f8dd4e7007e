// A running series keeps its best jumps and the ranges of its values as the places come, and
// agrees with the statistics over all its jumps at every place.
#include "core/analysis/RunningSeries.h"

#include <QtTest>

using analysis::RunningSeries;
using analysis::SeriesValue;
using analysis::StoredJump;
using Places = QList<RunningSeries::Place>;

class TestRunningSeries : public QObject {
    Q_OBJECT

    // The best values of the statistics over the jumps so far, as "height/RSI" with two
    // decimals; "-" for none.
    static QString statisticsBest(const Places& places) {
        QList<StoredJump> jumps;
        for (const RunningSeries::Place& place : places)
            if (place)
                jumps << *place;
        const analysis::JumpStatistics s = analysis::jumpStatistics(jumps);
        return s.bestHeightCm ? QStringLiteral("%1/%2")
                                    .arg(*s.bestHeightCm, 0, 'f', 2)
                                    .arg(*s.bestRsi, 0, 'f', 2)
                              : QStringLiteral("-");
    }
    static QString runningBest(const RunningSeries& series) {
        const auto height = series.best(SeriesValue::Height);
        const auto rsi = series.best(SeriesValue::Rsi);
        return height ? QStringLiteral("%1/%2").arg(*height, 0, 'f', 2).arg(*rsi, 0, 'f', 2)
                      : QStringLiteral("-");
    }

private slots:
    void bestAndRanges_data() {
        QTest::addColumn<Places>("places");
        QTest::addColumn<int>("bestHeightPlace"); // -1: none
        QTest::addColumn<int>("bestRsiPlace");
        QTest::addColumn<QString>("heightRange"); // "low-high", two decimals; "-" for none
        QTest::addColumn<QString>("contactRange");
        // 200/500 ms: 30.66 cm, 1.53 m/s; 160/480: 28.25 cm, 1.77 m/s; 250/560: 38.46 cm,
        // 1.54 m/s.
        QTest::newRow("nothing yet") << Places{} << -1 << -1 << "-"
                                     << "-";
        QTest::newRow("the highest and the most reactive jump differ")
            << Places{StoredJump{200, 500, 1}, StoredJump{160, 480, 2}, StoredJump{250, 560, 3}}
            << 2 << 1 << "28.25-38.46"
            << "160.00-250.00";
        QTest::newRow("the first of equal jumps stays the best")
            << Places{StoredJump{200, 500, 1}, StoredJump{200, 500, 2}} << 0 << 0 << "30.66-30.66"
            << "200.00-200.00";
        QTest::newRow("a rejected place, a failed trial and the closing contact count nowhere")
            << Places{std::nullopt, StoredJump{200, 500, 1},
                      StoredJump{250, 560, 2, true, "Fehlversuch"}, StoredJump{-1, 600, 3},
                      StoredJump{150, 0, 4}}
            << 1 << 1 << "30.66-30.66"
            << "200.00-200.00";
        QTest::newRow("only places without a valid jump")
            << Places{std::nullopt, StoredJump{150, 0, 1}} << -1 << -1 << "-"
            << "-";
    }
    void bestAndRanges() {
        QFETCH(Places, places);
        QFETCH(int, bestHeightPlace);
        QFETCH(int, bestRsiPlace);
        QFETCH(QString, heightRange);
        QFETCH(QString, contactRange);
        RunningSeries series;
        Places so;
        for (const RunningSeries::Place& place : places) {
            so << place;
            QCOMPARE(series.add(place), so.size() - 1);
            // At every place as the statistics over all jumps so far have it.
            QCOMPARE(runningBest(series), statisticsBest(so));
        }
        QCOMPARE(series.bestPlace(SeriesValue::Height).value_or(-1), bestHeightPlace);
        QCOMPARE(series.bestPlace(SeriesValue::Rsi).value_or(-1), bestRsiPlace);
        const auto text = [](const std::optional<analysis::ValueRange>& r) {
            return r ? QStringLiteral("%1-%2").arg(r->low, 0, 'f', 2).arg(r->high, 0, 'f', 2)
                     : QStringLiteral("-");
        };
        QCOMPARE(text(series.range(SeriesValue::Height)), heightRange);
        QCOMPARE(text(series.contactRange()), contactRange);
        series.clear();
        QCOMPARE(series.size(), 0);
        QVERIFY(!series.bestPlace(SeriesValue::Height) && !series.contactRange());
    }

    // An exclusion afterwards moves the best to the next jump; taking it back moves it back.
    void exclusionsMoveTheBest() {
        RunningSeries series;
        series.add(StoredJump{200, 500, 1});
        series.add(StoredJump{250, 560, 2});
        QCOMPARE(series.bestPlace(SeriesValue::Height).value_or(-1), 1);
        series.setExcluded({2});
        QCOMPARE(series.bestPlace(SeriesValue::Height).value_or(-1), 0);
        QVERIFY(series.places()[1]->excluded);
        series.setExcluded({});
        QCOMPARE(series.bestPlace(SeriesValue::Height).value_or(-1), 1);
    }
};

QTEST_APPLESS_MAIN(TestRunningSeries)
#include "tst_runningseries.moc"
