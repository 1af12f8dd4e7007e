#include "core/analysis/JumpAnalysis.h"
#include "core/base/Texts.h"
#include "core/measure/Metrics.h"

#include <QtTest>

#include <limits>

using Jumps = QList<analysis::StoredJump>;

// Expected values worked out by hand from g·TF²/8 and height / contact time: 200/500 ms gives
// 30.65625 cm and 1.5328125 m/s, 250/400 ms 19.62 cm and 0.7848 m/s, 160/560 ms 38.4552 cm
// and 2.40345 m/s.
class TestJumpAnalysis : public QObject {
    Q_OBJECT

private slots:
    void init() { texts::setDecimalSeparator(QLatin1Char(',')); }

    void statistics_data() {
        QTest::addColumn<Jumps>("jumps");
        QTest::addColumn<QString>("texts");
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const double inf = std::numeric_limits<double>::infinity();
        const QString measured3 =
            QStringLiteral("3|38,46|29,58|9,46|32,00|203,33|486,67|2,40|1,57|-56,80");
        const QString single = QStringLiteral("1|30,66|30,66|||200,00|500,00|1,53|1,53|");
        Jumps series999;
        for (int index = 1; index <= 999; ++index)
            series999.append({200, 500, index});

        QTest::newRow("single jump") << Jumps{{200, 500, 1}} << single;
        QTest::newRow("excluded jumps count nowhere")
            << Jumps{{200, 500, 1}, {160, 560, 2, true}, {250, 400, 3, true}} << single;
        QTest::newRow("not measured times left out")
            << Jumps{{200, 500, 1}, {-1, 450, 2}, {250, 400, 3}, {160, 560, 4}, {180, -1, 5}}
            << measured3;
        QTest::newRow("rows out of jump order")
            << Jumps{{160, 560, 4}, {250, 400, 3}, {200, 500, 1}} << measured3;
        QTest::newRow("closing contact left out, fatigue over two jumps each")
            << Jumps{{210, 480, 1}, {190, 520, 2}, {230, 450, 3}, {200, 500, 4},
                     {240, 430, 5}, {260, 410, 6}, {220, 0, 7}}
            << QStringLiteral("6|33,16|26,70|4,83|18,08|221,67|465,00|1,75|1,24|43,78");
        QTest::newRow("one valid jump")
            << Jumps{{-1, 500, 1}, {185, 470, 2}, {205, 0, 3}}
            << QStringLiteral("1|27,09|27,09|||185,00|470,00|1,46|1,46|");
        QTest::newRow("no valid jump")
            << Jumps{{-1, -1, 1}, {250, 0, 2}} << QStringLiteral("0|||||||||");
        QTest::newRow("bad rows")
            << Jumps{{-5, 400, 1}, {300, -20, 2}, {nan, 500, 3}, {200, inf, 4}, {200, 500, 5}}
            << single;
        QTest::newRow("height out of range stays empty")
            << Jumps{{200, 1e200, 1}}
            << QStringLiteral("1|||||200,00|1%1,00|||").arg(QString(200, QLatin1Char('0')));
        QTest::newRow("999 jumps")
            << series999
            << QStringLiteral("999|30,66|30,66|0,00|0,00|200,00|500,00|1,53|1,53|0,00");
    }
    void statistics() {
        QFETCH(Jumps, jumps);
        QFETCH(QString, texts);
        QCOMPARE(analysis::statisticsTexts(analysis::jumpStatistics(jumps)),
                 texts.split(QLatin1Char('|')));
    }

    void clipboardAndFixedText_data() {
        QTest::addColumn<QChar>("separator");
        QTest::newRow("comma") << QChar(QLatin1Char(','));
        QTest::newRow("point") << QChar(QLatin1Char('.'));
    }
    void clipboardAndFixedText() {
        QFETCH(QChar, separator);
        texts::setDecimalSeparator(separator);
        const auto withSeparator = [&](QString text) {
            return text.replace(QLatin1Char(','), separator);
        };
        const auto statistics = analysis::jumpStatistics({{200, 500, 1}, {250, 400, 2}});
        QCOMPARE(analysis::statisticsClipboardText(statistics),
                 QStringLiteral("Sprünge\tBeste Höhe (cm)\tMittlere Höhe (cm)\tSD Höhe (cm)\tVK "
                                "Höhe (%)\tMittlere Stützzeit (ms)\tMittlere Flugzeit (ms)\tBester "
                                "RSI (m/s)\tMittlerer RSI (m/s)\tErmüdung (%)\n") +
                     withSeparator(QStringLiteral(
                         "2\t30,66\t25,14\t7,80\t31,04\t225,00\t450,00\t1,53\t1,16\t48,80\n")));
        QCOMPARE(metrics::fixedText(2.675, 2), withSeparator(QStringLiteral("2,68")));
        QCOMPARE(metrics::fixedText(-1.125, 2), withSeparator(QStringLiteral("-1,13")));
        QCOMPARE(metrics::fixedText(-0.004, 2), withSeparator(QStringLiteral("0,00")));
        QCOMPARE(metrics::fixedText(1234.567, 2), withSeparator(QStringLiteral("1234,57")));
    }

    // The places of a running series as they came: a jump the limits kept from the store
    // (none) stands between the stored jumps with no number of its own, so that every stored
    // jump keeps the number the grid, the result line and the report give it.
    void seriesPlacesNumberTheStoredJumps_data() {
        using Places = QList<std::optional<analysis::StoredJump>>;
        QTest::addColumn<Places>("places");
        QTest::addColumn<QStringList>("labels");
        const auto jump = [](int index) {
            return std::optional(analysis::StoredJump{200, 500, index});
        };
        const std::optional<analysis::StoredJump> rejected;
        QTest::newRow("no rejected jump")
            << Places{jump(1), jump(2), jump(3)} << QStringList{"1", "2", "3"};
        QTest::newRow("rejected first")
            << Places{rejected, jump(1), jump(2)} << QStringList{"×", "1", "2"};
        QTest::newRow("10/5 with the fourth rejected")
            << Places{jump(1), jump(2), jump(3), rejected, jump(4), jump(5),
                      jump(6), jump(7), jump(8), jump(9),  jump(10)}
            << QStringList{"1", "2", "3", "×", "4", "5", "6", "7", "8", "9", "10"};
        QTest::newRow("two rejected in a row, then the closing contact")
            << Places{jump(1), rejected, rejected, jump(2), analysis::StoredJump{150, 0, 3}}
            << QStringList{"1", "×", "×", "2", ""};
        QTest::newRow("an excluded jump keeps its number")
            << Places{jump(1), analysis::StoredJump{200, 500, 2, true}} << QStringList{"1", "2"};
    }
    void seriesPlacesNumberTheStoredJumps() {
        QFETCH(QList<std::optional<analysis::StoredJump>>, places);
        QFETCH(QStringList, labels);
        QCOMPARE(analysis::seriesPlaceLabels(places), labels);
    }

    void progressIsOldestFirst() {
        const QDateTime march5(QDate(2024, 3, 5), QTime(10, 0));
        const auto points = analysis::athleteProgress({
            {march5, 1, {{200, 500, 1}}},
            {QDateTime(QDate(2024, 3, 1), QTime(9, 0)), 2, {{-1, 450, 1}, {220, 0, 2}}},
            {march5, 3, {{250, 400, 1}, {160, 560, 2}}},
            {QDateTime(QDate(2024, 2, 20), QTime(18, 30)), 4, {{160, 560, 1}}},
            {QDateTime(), 5, {{250, 400, 1}}}, // damaged date
        });
        QList<qint64> order;
        for (const auto& point : points)
            order.append(point.measurementNumber);
        QCOMPARE(order, (QList<qint64>{5, 4, 2, 1, 3}));
        QVERIFY(!points[2].bestHeightCm && !points[2].bestRsi && !points[2].meanContactMs);
        QCOMPARE(points[4].moment, march5);
        QCOMPARE(points[4].bestHeightCm.value_or(0), 38.4552);
        QCOMPARE(points[4].bestRsi.value_or(0), 2.40345);
        QCOMPARE(points[4].meanContactMs.value_or(0), 205.0);
    }
};

QTEST_GUILESS_MAIN(TestJumpAnalysis)
#include "tst_jumpanalysis.moc"
