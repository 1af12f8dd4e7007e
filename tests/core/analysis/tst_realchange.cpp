#include "core/analysis/RealChange.h"
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
        const QList<Trial> pairs{{day(2), 1.80}, {day(2), 1.84},  {day(9), 1.90},
                                 {day(9), 1.86}, {day(16), 1.75}, {day(16), 1.79}};
        QTest::newRow("three test-retest pairs, the days between left out")
            << pairs << 0.0326598632 << true;
        QTest::newRow("a third trial of a day pairs with the second")
            << (pairs + QList<Trial>{{day(16), 1.83}}) << 0.0282842712 << true;
        QTest::newRow("two pairs are too few, even with many days")
            << (pairs.mid(0, 4) + QList<Trial>{{day(20), 1.6}, {day(23), 2.0}}) << -1.0 << true;
        const QList<Trial> days{{day(2), 1.0}, {day(5), 1.2}, {day(9), 1.1}, {day(12), 1.4}};
        QTest::newRow("no day repeated: consecutive trials") << days << 0.1471960144 << false;
        QTest::newRow("trials without a day never pair on one")
            << QList<Trial>{{{}, 1.0}, {{}, 1.2}, {{}, 1.1}, {{}, 1.4}} << 0.1471960144 << false;
        QTest::newRow("two consecutive pairs") << days.mid(0, 3) << -1.0 << false;
    }
    void typicalError() {
        QFETCH(QList<Trial>, trials);
        QFETCH(double, expected);
        QFETCH(bool, sameDay);
        QString note;
        const auto error = realchange::typicalError(trials, &note);
        QCOMPARE(error.has_value(), expected >= 0);
        if (!error) {
            QVERIFY(note.contains(sameDay ? "am selben Tag" : "aufeinander folgender"));
            return;
        }
        QVERIFY2(qAbs(error->value - expected) < 1e-9, qPrintable(QString::number(error->value)));
        QCOMPARE(error->source, sameDay ? realchange::ErrorSource::SameDayPairs
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
        QCOMPARE(realchange::sourceText({0.03, realchange::ErrorSource::SameDayPairs, 3}),
                 QString("aus 3 Wiederholungen am selben Tag"));
        QCOMPARE(realchange::worthwhileText({0.0924}, "m/s"),
                 QString("kleinste bedeutsame Änderung 0,09 m/s (0,2 × Streuung der besten "
                         "Werte der Gruppe)"));
    }
};

QTEST_GUILESS_MAIN(TestRealChange)
#include "tst_realchange.moc"
