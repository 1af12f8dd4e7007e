// The charts' axes: every tick on a value its labels show exactly, and the series chart beside
// the values naming its series in a legend, its axes by their units.
#include "ui/common/JumpCharts.h"

#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QLegend>
#include <QLineSeries>
#include <QValueAxis>
#include <QtTest>

#include <memory>

class TestJumpCharts : public QObject {
    Q_OBJECT
private slots:
    void ticksFallOnShownValues_data() {
        QTest::addColumn<double>("min");
        QTest::addColumn<double>("max");
        QTest::addColumn<double>("step");
        QTest::addColumn<int>("ticks");
        QTest::newRow("an empty chart, whole numbers") << 0.0 << 1.0 << 1.0 << 2;
        QTest::newRow("0 to 2, whole numbers") << 0.0 << 2.0 << 1.0 << 3;
        QTest::newRow("0 to 45 cm") << 0.0 << 45.0 << 1.0 << 4;
        QTest::newRow("0 to 4 cm") << 0.0 << 4.0 << 1.0 << 3;
        QTest::newRow("0 to 250 ms") << 0.0 << 250.0 << 1.0 << 3;
        QTest::newRow("0 to 5 cm") << 0.0 << 5.0 << 1.0 << 6;
        QTest::newRow("0 to 3 m/s in tenths") << 0.0 << 3.0 << 0.1 << 4;
        QTest::newRow("0 to 0.2 m/s in tenths") << 0.0 << 0.2 << 0.1 << 3;
        QTest::newRow("nothing to divide") << 1.0 << 1.0 << 1.0 << 2;
    }
    void ticksFallOnShownValues() {
        QFETCH(double, min);
        QFETCH(double, max);
        QFETCH(double, step);
        QFETCH(int, ticks);
        QCOMPARE(jumpcharts::exactTickCount(min, max, step), ticks);
    }

    // Empty, with jumps, of heights and of RSI: the vertical axes carry their units and tick
    // on values they show exactly; the legend names both series.
    void theSeriesChartNamesItsSeries_data() {
        QTest::addColumn<int>("jumps");
        QTest::addColumn<bool>("rsi");
        QTest::newRow("empty") << 0 << false;
        QTest::newRow("three heights") << 3 << false;
        QTest::newRow("three RSI") << 3 << true;
    }
    void theSeriesChartNamesItsSeries() {
        QFETCH(int, jumps);
        QFETCH(bool, rsi);
        analysis::RunningSeries places;
        for (int i = 0; i < jumps; ++i) {
            analysis::StoredJump jump;
            jump.jumpIndex = i + 1;
            jump.contactMs = 180 + 10 * i;
            jump.flightMs = 480 + 7 * i;
            places.add(jump);
        }
        const std::unique_ptr<QChart> chart(jumpcharts::seriesChart(
            places, rsi ? jumpcharts::BarValue::Rsi : jumpcharts::BarValue::Height, 1.0));
        QVERIFY(chart->legend()->isVisible());
        QStringList titles;
        for (QAbstractAxis* axis : chart->axes(Qt::Vertical)) {
            auto* values = qobject_cast<QValueAxis*>(axis);
            QVERIFY(values);
            titles << values->titleText();
            const double step = values->titleText() == "m/s" ? 0.1 : 1.0;
            const double interval = (values->max() - values->min()) / (values->tickCount() - 1);
            QVERIFY2(std::abs(interval / step - std::round(interval / step)) < 1e-6,
                     qPrintable(QStringLiteral("%1 to %2 in %3 ticks")
                                    .arg(values->min())
                                    .arg(values->max())
                                    .arg(values->tickCount())));
        }
        titles.sort();
        QCOMPARE(titles, (QStringList{rsi ? "m/s" : "cm", "ms"}));
    }

    // The chart labels each place as the core numbers it; two places with the same label (two
    // rejected jumps) both keep their place on the axis.
    void theSeriesChartKeepsEveryPlace() {
        analysis::RunningSeries places;
        for (const analysis::RunningSeries::Place& place :
             {analysis::RunningSeries::Place{analysis::StoredJump{200, 500, 1}},
              analysis::RunningSeries::Place{}, analysis::RunningSeries::Place{},
              analysis::RunningSeries::Place{analysis::StoredJump{190, 510, 2}},
              analysis::RunningSeries::Place{analysis::StoredJump{150, 0, 3}}})
            places.add(place);
        const std::unique_ptr<QChart> chart(
            jumpcharts::seriesChart(places, jumpcharts::BarValue::Height, 1.0));
        const auto axes = chart->axes(Qt::Horizontal);
        QCOMPARE(axes.size(), 1);
        auto* categories = qobject_cast<QBarCategoryAxis*>(axes.first());
        QVERIFY(categories);
        QStringList shown = categories->categories();
        for (QString& label : shown)
            label.remove(QChar(0x200B));
        QCOMPARE(shown, (QStringList{"1", "×", "×", "2", ""}));
    }

    // A chart that takes the places as they come, a few at a time, shows what the chart made
    // of all places at once shows: the same bars, labels, best bar, contact line and axes.
    void aGrowingChartEqualsOneMadeAtOnce_data() {
        QTest::addColumn<int>("places");
        QTest::addColumn<int>("step");
        QTest::addColumn<bool>("rsi");
        QTest::newRow("one at a time, heights") << 12 << 1 << false;
        QTest::newRow("three at a time, RSI") << 12 << 3 << true;
        QTest::newRow("past the labelled places") << 45 << 7 << false;
    }
    void aGrowingChartEqualsOneMadeAtOnce() {
        QFETCH(int, places);
        QFETCH(int, step);
        QFETCH(bool, rsi);
        const jumpcharts::BarValue value =
            rsi ? jumpcharts::BarValue::Rsi : jumpcharts::BarValue::Height;
        // Heights and contact times that rise and fall, a rejected place and a failed trial.
        analysis::RunningSeries series;
        std::unique_ptr<QChart> growing(jumpcharts::seriesChart(series, value));
        for (int i = 0; i < places; i += step) {
            for (int k = i; k < std::min(places, i + step); ++k) {
                if (k % 5 == 3) {
                    series.add(std::nullopt);
                    continue;
                }
                analysis::StoredJump jump{150.0 + (k * 37) % 90, 380.0 + (k * 53) % 200, k + 1};
                jump.excluded = k % 7 == 6;
                series.add(jump);
            }
            if (!jumpcharts::appendToSeriesChart(growing.get(), series, value))
                growing.reset(jumpcharts::seriesChart(series, value));
        }
        const std::unique_ptr<QChart> atOnce(jumpcharts::seriesChart(series, value));
        const auto shown = [](QChart* chart) {
            QStringList out;
            for (QAbstractSeries* s : chart->series()) {
                if (auto* bars = qobject_cast<QBarSeries*>(s)) {
                    QBarSet* set = bars->barSets().first();
                    for (int i = 0; i < set->count(); ++i)
                        out << QStringLiteral("bar %1 %2%3")
                                   .arg(i)
                                   .arg(set->at(i), 0, 'f', 3)
                                   .arg(set->isBarSelected(i) ? " best" : "");
                } else if (auto* line = qobject_cast<QLineSeries*>(s)) {
                    for (const QPointF& p : line->points())
                        out << QStringLiteral("contact %1 %2").arg(p.x()).arg(p.y());
                }
            }
            for (QAbstractAxis* axis : chart->axes()) {
                if (auto* values = qobject_cast<QValueAxis*>(axis))
                    out << QStringLiteral("axis %1 %2 %3")
                               .arg(values->min())
                               .arg(values->max())
                               .arg(values->tickCount());
                else if (auto* categories = qobject_cast<QBarCategoryAxis*>(axis))
                    out << categories->categories().join('|')
                        << QString::number(categories->labelsVisible());
            }
            return out;
        };
        QCOMPARE(shown(growing.get()), shown(atOnce.get()));
    }
};

QTEST_MAIN(TestJumpCharts)
#include "tst_jumpcharts.moc"
