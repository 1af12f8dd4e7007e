#include "core/analysis/RealChange.h"
#include "core/base/Errors.h"
#include "core/base/Texts.h"

#include <QtTest>

Q_DECLARE_METATYPE(QList<realchange::Trial>)

using realchange::Trial;

namespace {

QDate day(int d) {
    return QDate(2026, 3, d);
}

} // namespace

// When a change is real: the typical error from test–retest pairs (else consecutive trials),
// the smallest worthwhile change of a group, and the judgement as the texts show the values.
class TestRealChange : public QObject {
    Q_OBJECT

private slots:
    void init() { texts::setLocale(QLocale(QLocale::German, QLocale::Germany)); }

    // The pairs 1,80/1,84, 1,90/1,86, 1,75/1,79 differ by +0.04, -0.04, +0.04: mean 0.04/3,
    // SD √((2 · (0.08/3)² + (0.16/3)²) / 2) = 0.0461880, over √2: 0.0326599. The consecutive
    // trials 1.0, 1.2, 1.1, 1.4 differ by 0.2, -0.1, 0.3: SD √0.04333 = 0.2081666, over √2:
    // 0.1471960.
    void typicalError_data() {
        QTest::addColumn<QList<Trial>>("trials");
        QTest::addColumn<double>("expected"); // -1: none
        QTest::addColumn<bool>("sameDay");
        QTest::addColumn<int>("marked"); // of the pairs, those the user marked
        const QList<Trial> pairs{{day(2), 1.80}, {day(2), 1.84},  {day(9), 1.90},
                                 {day(9), 1.86}, {day(16), 1.75}, {day(16), 1.79}};
        QTest::newRow("three test-retest pairs, the days between left out")
            << pairs << 0.0326598632 << true << 0;
        QTest::newRow("a third trial of a day pairs with the second")
            << (pairs + QList<Trial>{{day(16), 1.83}}) << 0.0282842712 << true << 0;
        QTest::newRow("two pairs are too few, even with many days")
            << (pairs.mid(0, 4) + QList<Trial>{{day(20), 1.6}, {day(23), 2.0}}) << -1.0 << true
            << 0;
        const QList<Trial> days{{day(2), 1.0}, {day(5), 1.2}, {day(9), 1.1}, {day(12), 1.4}};
        QTest::newRow("no day repeated: consecutive trials") << days << 0.1471960144 << false << 0;
        QTest::newRow("trials without a day never pair on one")
            << QList<Trial>{{{}, 1.0}, {{}, 1.2}, {{}, 1.1}, {{}, 1.4}} << 0.1471960144 << false
            << 0;
        QTest::newRow("two consecutive pairs") << days.mid(0, 3) << -1.0 << false << 0;
        // The same three pairs, each retest a day later and marked by the user.
        const QList<Trial> marked{{day(2), 1.80, 1},  {day(3), 1.84, 2, 1},
                                  {day(9), 1.90, 3},  {day(10), 1.86, 4, 3},
                                  {day(16), 1.75, 5}, {day(17), 1.79, 6, 5}};
        QTest::newRow("three marked pairs on other days") << marked << 0.0326598632 << true << 3;
        QTest::newRow("a mark pairs the trials wherever they stand")
            << QList<Trial>{marked[0], marked[2], marked[4], marked[1], marked[3], marked[5]}
            << 0.0326598632 << true << 3;
        QTest::newRow("a same-day pair marked too counts once")
            << QList<Trial>{{day(2), 1.80, 1},    {day(2), 1.84, 2, 1}, {day(9), 1.90, 3},
                            {day(9), 1.86, 4, 3}, {day(16), 1.75, 5},   {day(16), 1.79, 6, 5}}
            << 0.0326598632 << true << 3;
        QTest::newRow("same-day pairs and a marked one together")
            << (pairs.mid(0, 4) + marked.mid(4)) << 0.0326598632 << true << 1;
        QTest::newRow("a mark to a trial not among them pairs nothing")
            << QList<Trial>{{day(2), 1.0, 1},
                            {day(5), 1.2, 2, 9},
                            {day(9), 1.1, 3},
                            {day(12), 1.4, 4}}
            << 0.1471960144 << false << 0;
        QTest::newRow("two marked pairs are too few") << marked.mid(0, 4) << -1.0 << true << 2;
    }
    void typicalError() {
        QFETCH(QList<Trial>, trials);
        QFETCH(double, expected);
        QFETCH(bool, sameDay);
        QFETCH(int, marked);
        QString note;
        const auto error = realchange::typicalError(trials, &note);
        QCOMPARE(error.has_value(), expected >= 0);
        if (!error) {
            QVERIFY(note.contains(marked > 0 ? "Test–Retest-Paare"
                                  : sameDay  ? "am selben Tag"
                                             : "aufeinander folgender"));
            return;
        }
        QCOMPARE(error->marked, marked);
        QVERIFY2(qAbs(error->value - expected) < 1e-9, qPrintable(QString::number(error->value)));
        QCOMPARE(error->source, sameDay ? realchange::ErrorSource::RetestPairs
                                        : realchange::ErrorSource::ConsecutiveTrials);
        QVERIFY(note.isEmpty());
    }

    // 0.2 × the sample SD of the athletes' best values: 1.6, 1.9, 2.2 have the SD 0.3, so 0.06.
    void smallestWorthwhileChange() {
        QVERIFY(qAbs(*realchange::smallestWorthwhileChange({1.6, 1.9, 2.2}) - 0.06) < 1e-12);
        QVERIFY(!realchange::smallestWorthwhileChange({1.9}));
        QCOMPARE(*realchange::smallestWorthwhileChange({1.9, 1.9}), 0.0);
    }

    // Judged as the texts show the values, with two decimals.
    void realOnlyBeyondBoth_data() {
        QTest::addColumn<double>("change");
        QTest::addColumn<double>("typicalError"); // -1: none
        QTest::addColumn<double>("worthwhile");   // -1: none
        QTest::addColumn<bool>("real");
        QTest::newRow("0,076 reads 0,08, as the band's ± 0,08") << 0.076 << 0.0790 << 0.05 << false;
        QTest::newRow("0,086 reads 0,09") << 0.086 << 0.0790 << 0.05 << true;
        QTest::newRow("a fall counts alike") << -0.086 << 0.0790 << 0.05 << true;
        QTest::newRow("beyond the error, not worthwhile") << 0.09 << 0.03 << 0.12 << false;
        QTest::newRow("worthwhile, within the error") << 0.09 << 0.12 << 0.03 << false;
        QTest::newRow("no worthwhile change known") << 0.5 << 0.03 << -1.0 << false;
        QTest::newRow("no typical error known") << 0.5 << -1.0 << 0.03 << false;
    }
    void realOnlyBeyondBoth() {
        QFETCH(double, change);
        QFETCH(double, typicalError);
        QFETCH(double, worthwhile);
        QFETCH(bool, real);
        const auto known = [](double v) {
            return v >= 0 ? std::optional(v) : std::nullopt;
        };
        QCOMPARE(realchange::isReal(change, known(typicalError), known(worthwhile)), real);
    }

    void texts() {
        QCOMPARE(realchange::sourceText({0.03, realchange::ErrorSource::RetestPairs, 3}),
                 QString("aus 3 Wiederholungen am selben Tag"));
        QCOMPARE(realchange::sourceText({0.03, realchange::ErrorSource::RetestPairs, 4, 2}),
                 QString("aus 4 Test–Retest-Paaren, davon 2 markiert"));
        QCOMPARE(realchange::worthwhileText({0.0924}, "m/s"),
                 QString("kleinste bedeutsame Änderung 0,09 m/s (0,2 × Streuung der besten "
                         "Werte der Gruppe)"));
        QCOMPARE(realchange::worthwhileText({0.05, true}, "m/s"),
                 QString("kleinste bedeutsame Änderung 0,05 m/s (für diesen Test festgelegt)"));
    }

    // The value a user sets for a test: a positive number up to 10, with a comma or a point.
    void parseWorthwhile_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected"); // 0: none, -1: refused
        QTest::newRow("comma") << " 0,05 " << 0.05;
        QTest::newRow("point") << "0.12" << 0.12;
        QTest::newRow("empty: the group's spread") << "  " << 0.0;
        QTest::newRow("zero") << "0" << -1.0;
        QTest::newRow("negative") << "-0,05" << -1.0;
        QTest::newRow("beyond 10") << "10,5" << -1.0;
        QTest::newRow("text") << "viel" << -1.0;
        QTest::newRow("not a number") << "nan" << -1.0;
    }
    void parseWorthwhile() {
        QFETCH(QString, text);
        QFETCH(double, expected);
        std::optional<double> value;
        const bool refused =
            failureOf([&] { value = realchange::parseWorthwhile(text); }).has_value();
        QCOMPARE(refused, expected < 0);
        if (expected >= 0) {
            QCOMPARE(value.has_value(), expected > 0);
            if (value)
                QCOMPARE(*value, expected);
        }
    }
};

QTEST_GUILESS_MAIN(TestRealChange)
#include "tst_realchange.moc"
