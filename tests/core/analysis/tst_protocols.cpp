#include "core/analysis/Protocols.h"

#include <QtTest>

using Jumps = QList<analysis::StoredJump>;
using protocols::ProfileTrial;

// Expected values worked out by hand from g·TF²/8 and RSI = height in m / contact time in s:
// a flight of 500 ms is 30.65625 cm, 480 ms 28.2528 cm, 520 ms 33.1578 cm, 540 ms 35.7581 cm,
// 550 ms 37.0941 cm and 530 ms 34.4451 cm.
class TestProtocols : public QObject {
    Q_OBJECT

    // Jumps numbered from 1 with the flight time 500 ms and the given contact times.
    static Jumps series(const QList<double>& contacts) {
        Jumps jumps;
        for (int i = 0; i < contacts.size(); ++i)
            jumps.append({contacts[i], 500, i + 1});
        return jumps;
    }

private slots:
    void tenFive_data() {
        QTest::addColumn<Jumps>("jumps");
        QTest::addColumn<QList<int>>("best");
        QTest::addColumn<double>("meanRsi");
        QTest::addColumn<double>("meanContactMs");
        QTest::addColumn<QString>("note");
        // 0.3065625 m over 0.10, 0.11, 0.12, 0.13 and 0.14 s.
        QTest::newRow("the five shortest contacts")
            << series({100, 110, 120, 130, 140, 150, 160, 170, 180, 190})
            << QList<int>{1, 2, 3, 4, 5}
            << 0.3065625 * (1 / 0.10 + 1 / 0.11 + 1 / 0.12 + 1 / 0.13 + 1 / 0.14) / 5 << 120.0
            << QString();
        QTest::newRow("ties: the earlier jump")
            << series({150, 200, 150, 200, 150, 200, 150, 200, 200, 200})
            << QList<int>{1, 2, 3, 5, 7} << 0.3065625 * (4 / 0.15 + 1 / 0.20) / 5 << 160.0
            << QString();
        Jumps withInvalid = series({200, 200, 200, 200, 200, 200, 200, 200, 200, 200, 100});
        withInvalid[3].contactMs = -1; // not measured: the eleventh jump takes its place
        QTest::newRow("an invalid jump is replaced by the next")
            << withInvalid << QList<int>{1, 2, 3, 5, 11} << 0.3065625 * (4 / 0.20 + 1 / 0.10) / 5
            << 180.0 << QString();
        QTest::newRow("nine jumps: no result")
            << series({200, 200, 200, 200, 200, 200, 200, 200, 200}) << QList<int>{} << 0.0 << 0.0
            << "Kein Ergebnis: nur 9 von 10 Sprüngen gültig.";
        Jumps withExcluded = series({200, 200, 200, 200, 200, 200, 200, 200, 200, 200});
        withExcluded[0].excluded = true;
        QTest::newRow("an excluded jump: no result")
            << withExcluded << QList<int>{} << 0.0 << 0.0
            << "Kein Ergebnis: nur 9 von 10 Sprüngen gültig.";
    }
    void tenFive() {
        QFETCH(Jumps, jumps);
        QFETCH(QList<int>, best);
        QFETCH(double, meanRsi);
        QFETCH(double, meanContactMs);
        QFETCH(QString, note);
        QString told = QStringLiteral("unchanged");
        const auto result = protocols::tenFive(jumps, &told);
        QCOMPARE(told, note);
        QCOMPARE(result.has_value(), !best.isEmpty());
        if (!result)
            return;
        QCOMPARE(result->bestJumpIndexes, best);
        QVERIFY(qAbs(result->meanRsi - meanRsi) < 1e-9);
        QCOMPARE(result->meanContactMs, meanContactMs);
        QCOMPARE(result->meanHeightCm, 30.65625);
    }

    void profile_data() {
        QTest::addColumn<QList<ProfileTrial>>("trials");
        QTest::addColumn<QList<double>>("bestRsi"); // per height, rising; -1 none
        QTest::addColumn<int>("optimalByRsi");
        QTest::addColumn<int>("optimalByHeight");
        QTest::addColumn<int>("advice"); // protocols::StopAdvice
        const QList<ProfileTrial> threeHeights{{20, {200, 500, 1}}, {20, {180, 480, 1}},
                                               {30, {190, 520, 1}}, {30, {210, 540, 1}},
                                               {40, {230, 550, 1}}, {40, {260, 530, 1}}};
        const double rsi20 = 0.282528 / 0.18;
        const double rsi30 = 0.331578 / 0.19;
        const double rsi40 = 0.370941 / 0.23;
        QTest::newRow("one fall: go on") << threeHeights << QList<double>{rsi20, rsi30, rsi40} << 30
                                         << 40 << int(protocols::StopAdvice::GoOn);
        QList<ProfileTrial> fourHeights = threeHeights;
        fourHeights << ProfileTrial{50, {240, 520, 1}} << ProfileTrial{50, {250, 500, 1}};
        QTest::newRow("fallen at two heights in a row")
            << fourHeights << QList<double>{rsi20, rsi30, rsi40, 0.331578 / 0.24} << 30 << 40
            << int(protocols::StopAdvice::RsiFalling);
        QList<ProfileTrial> longContacts = threeHeights;
        longContacts << ProfileTrial{50, {260, 600, 1}} << ProfileTrial{50, {270, 560, 1}};
        QTest::newRow("mean contact above 250 ms")
            << longContacts << QList<double>{rsi20, rsi30, rsi40, 0.441450 / 0.26} << 30 << 50
            << int(protocols::StopAdvice::ContactTooLong);
        QTest::newRow("equal best RSI: the lower height; an invalid trial counts no value")
            << QList<ProfileTrial>{{40, {200, 500, 1}}, {20, {200, 500, 1}}, {30, {0, 0, 1}}}
            << QList<double>{0.3065625 / 0.2, -1, 0.3065625 / 0.2} << 20 << 20
            << int(protocols::StopAdvice::GoOn);
    }
    void profile() {
        QFETCH(QList<ProfileTrial>, trials);
        QFETCH(QList<double>, bestRsi);
        QFETCH(int, optimalByRsi);
        QFETCH(int, optimalByHeight);
        QFETCH(int, advice);
        const protocols::Profile profile = protocols::dropHeightProfile(trials);
        QCOMPARE(profile.steps.size(), bestRsi.size());
        for (qsizetype i = 0; i < bestRsi.size(); ++i) {
            const auto& step = profile.steps[i];
            QVERIFY(i == 0 || step.dropHeightCm > profile.steps[i - 1].dropHeightCm);
            QCOMPARE(step.bestRsi.has_value(), bestRsi[i] >= 0);
            if (step.bestRsi)
                QVERIFY2(qAbs(*step.bestRsi - bestRsi[i]) < 1e-5,
                         qPrintable(QString::number(*step.bestRsi)));
        }
        QCOMPARE(profile.optimalByRsiCm, std::optional<int>(optimalByRsi));
        QCOMPARE(profile.optimalByHeightCm, std::optional<int>(optimalByHeight));
        QCOMPARE(int(protocols::stopAdvice(profile)), advice);
    }

    // The step of a height: its trials, the contact time of its best RSI, its mean contact.
    void profileStepValues() {
        const auto profile = protocols::dropHeightProfile(
            {{40, {230, 550, 1}}, {40, {260, 530, 2}}, {40, {-1, 530, 3}}});
        QCOMPARE(profile.steps.size(), 1);
        const auto& step = profile.steps[0];
        QCOMPARE(step.trials, 3);
        QCOMPARE(step.contactOfBestRsiMs, std::optional<double>(230));
        QCOMPARE(step.meanContactMs, std::optional<double>(245));
        QVERIFY(qAbs(*step.bestHeightCm - 37.0940625) < 1e-9);
    }

    void typicalError_data() {
        QTest::addColumn<QList<double>>("trials");
        QTest::addColumn<double>("expected"); // -1: none
        // Differences 0.2, -0.1, 0.3: SD 0.2081666, over √2.
        QTest::newRow("three pairs")
            << QList<double>{1.0, 1.2, 1.1, 1.4} << 0.2081666 / std::sqrt(2.0);
        QTest::newRow("equal differences: no noise")
            << QList<double>{1.0, 1.1, 1.2, 1.3, 1.4} << 0.0;
        QTest::newRow("two pairs: none") << QList<double>{1.0, 1.2, 1.1} << -1.0;
        QTest::newRow("nothing: none") << QList<double>{} << -1.0;
    }
    void typicalError() {
        QFETCH(QList<double>, trials);
        QFETCH(double, expected);
        QString note;
        const auto error = protocols::typicalError(trials, &note);
        QCOMPARE(error.has_value(), expected >= 0);
        QCOMPARE(note.isEmpty(), expected >= 0);
        if (error)
            QVERIFY2(qAbs(*error - expected) < 1e-6, qPrintable(QString::number(*error)));
        else
            QVERIFY(note.contains(QString::number(std::max<qsizetype>(0, trials.size() - 1))));
    }
};

QTEST_GUILESS_MAIN(TestProtocols)
#include "tst_protocols.moc"
