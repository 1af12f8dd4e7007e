// The charts' axes: every tick on a value its labels show exactly, and the series chart beside
// the values naming its series in a legend, its axes by their units.
#include "ui/common/JumpCharts.h"

#include <QApplication>
#include <QBarCategoryAxis>
#include <QChart>
#include <QLegend>
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
        QList<jumpcharts::SeriesSlot> places;
        for (int i = 0; i < jumps; ++i) {
            analysis::StoredJump jump;
            jump.jumpIndex = i + 1;
            jump.contactMs = 180 + 10 * i;
            jump.flightMs = 480 + 7 * i;
            places << jumpcharts::SeriesSlot{jump};
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
        QList<jumpcharts::SeriesSlot> places{{analysis::StoredJump{200, 500, 1}},
                                             {},
                                             {},
                                             {analysis::StoredJump{190, 510, 2}},
                                             {analysis::StoredJump{150, 0, 3}}};
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
};

QTEST_MAIN(TestJumpCharts)
#include "tst_jumpcharts.moc"
