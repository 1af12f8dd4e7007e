#include "core/analysis/Ranking.h"
#include "core/base/Texts.h"
#include "core/store/GroupRepository.h"
#include "core/store/MeasurementRepository.h"
#include "core/store/SeriesKey.h"
#include "support/TempDataDir.h"

#include <QtTest>

Q_DECLARE_METATYPE(std::optional<double>)
Q_DECLARE_METATYPE(QList<ranking::DayJumps>)
Q_DECLARE_METATYPE(ranking::RankedTest)

using ranking::Period;

namespace {

// The period of the tests: 2 to 31 March 2026; the one before it 31 January to 1 March.
const Period kMarch{QDate(2026, 3, 2), QDate(2026, 3, 31)};

QDateTime at(int month, int day, QTime time = QTime(10, 0)) {
    return QDateTime(QDate(2026, month, day), time);
}

Athlete athlete(qint64 id, const QString& name, const QString& firstName) {
    Athlete a;
    a.id = id;
    a.name = name;
    a.firstName = firstName;
    return a;
}

ranking::DayJumps measurement(const QDateTime& moment, const QList<analysis::StoredJump>& jumps) {
    return {moment.date(), jumps, {}};
}

// The measurements without a test, as squad() has them.
const ranking::RankedTest kWithoutTest;

// Jumps of one measurement from their contact and flight times, numbered from 1.
QList<analysis::StoredJump> jumps(const QList<std::pair<double, double>>& times) {
    QList<analysis::StoredJump> out;
    for (const auto& [contact, flight] : times)
        out << analysis::StoredJump{contact, flight, static_cast<int>(out.size()) + 1};
    return out;
}

// A group whose athletes ran several tests in March. A jump of 200/500 ms has the RSI
// 0.3065625 / 0.2 = 1.5328125, one of 100/500 ms 3.065625, one of 250/500 ms 1.22625. Adler's
// 10/5 has one jump of 100/500, four of 200/500 and five of 250/500 ms: its result is the mean
// of the best five, (3.065625 + 4 * 1.5328125) / 5 = 1.839375, with their mean contact of
// 180 ms, although its best jump has 3.07.
QList<ranking::AthleteData> mixedSquad() {
    const MeasurementTest dj30{"Drop Jump", 30}, dj40{"Drop Jump", 40}, series{"Sprungserie", {}};
    QList<std::pair<double, double>> tenFive{{100, 500}};
    for (int i = 0; i < 4; ++i)
        tenFive << std::pair{200.0, 500.0};
    for (int i = 0; i < 5; ++i)
        tenFive << std::pair{250.0, 500.0};
    const auto m = [](int day, const QList<std::pair<double, double>>& times,
                      const MeasurementTest& test, Protocol protocol = Protocol::None) {
        return ranking::DayJumps{QDate(2026, 3, day), jumps(times), test, protocol};
    };
    return {
        {athlete(1, "Adler", "Anna"),
         {m(5, {{250, 500}}, dj30), m(6, {{100, 500}, {250, 500}}, series),
          m(7, tenFive, series, Protocol::TenFive),
          m(8, {{100, 500}}, dj30, Protocol::DropHeightProfile),
          m(8, {{200, 500}}, dj30, Protocol::DropHeightProfile),
          m(8, {{250, 500}}, dj40, Protocol::DropHeightProfile)}},
        {athlete(2, "Berg", "Ben"),
         {m(5, {{200, 500}}, dj30), m(12, {{250, 500}}, dj30),
          m(7, tenFive.mid(0, 9), series, Protocol::TenFive)}},
        {athlete(3, "Christ", "Cara"), {m(6, {{200, 500}}, series)}},
    };
}

// Heights and RSI by hand: flight 500 ms: 9.81 * 0.5² / 8 = 0.3065625 m, flight 800 ms:
// 0.7848 m, flight 400 ms: 0.1962 m.
QList<ranking::AthleteData> squad() {
    return {
        // Two measurements with valid jumps on the first day, one without on the last day's
        // last second; the day before the period a worse jump.
        {athlete(1, "Adler", "Anna"),
         {measurement(at(3, 2, QTime(0, 0)), {{200, 500, 1}, {400, 800, 2}}),
          measurement(at(3, 31, QTime(23, 59, 59)), {{250, 0, 1}}),
          measurement(at(3, 1), {{200, 400, 1}})}},
        // The same best RSI as Adler; unchanged; a better jump the day after the period.
        {athlete(2, "Berg", "Ben"),
         {measurement(at(3, 10), {{400, 800, 1}}), measurement(at(1, 31), {{400, 800, 1}}),
          measurement(at(4, 1), {{100, 900, 1}})}},
        // Nothing in the period, a jump in the one before.
        {athlete(3, "Christ", "Cara"), {measurement(at(2, 15), {{200, 500, 1}})}},
        // Nothing before the period.
        {athlete(4, "Dorn", "Dana"), {measurement(at(3, 20), {{200, 500, 1}})}},
    };
}

} // namespace

// The ranking of a group: its figures against values computed by hand, the places of ties, the
// bounds of a period and the mark of a change beyond the typical error.
class TestRanking : public QObject {
    Q_OBJECT

private slots:
    void init() { texts::setLocale(QLocale(QLocale::German, QLocale::Germany)); }

    void periodBounds_data() {
        QTest::addColumn<QDateTime>("moment");
        QTest::addColumn<bool>("inside");
        QTest::addColumn<bool>("insidePrevious");
        QTest::newRow("first day's start") << at(3, 2, QTime(0, 0)) << true << false;
        QTest::newRow("last day's end") << at(3, 31, QTime(23, 59, 59)) << true << false;
        QTest::newRow("the day before") << at(3, 1, QTime(23, 59, 59)) << false << true;
        QTest::newRow("first day before") << at(1, 31, QTime(0, 0)) << false << true;
        QTest::newRow("a day earlier still") << at(1, 30, QTime(23, 59, 59)) << false << false;
        QTest::newRow("the day after") << at(4, 1, QTime(0, 0)) << false << false;
        QTest::newRow("no moment") << QDateTime() << false << false;
    }
    void periodBounds() {
        QFETCH(QDateTime, moment);
        QFETCH(bool, inside);
        QFETCH(bool, insidePrevious);
        QCOMPARE(kMarch.days(), 30);
        QCOMPARE(kMarch.contains(moment), inside);
        QCOMPARE(kMarch.previous().contains(moment), insidePrevious);
        QCOMPARE(kMarch.previous().days(), 30);
    }

    void lastThirtyDaysEndToday() {
        const Period last = Period::lastDays(QDate(2026, 3, 31));
        QCOMPARE(last.from, kMarch.from);
        QCOMPARE(last.to, kMarch.to);
        const Period reversed{QDate(2026, 3, 31), QDate(2026, 3, 2)};
        QVERIFY(!reversed.isValid());
        QVERIFY(!reversed.contains(at(3, 10)));
        QCOMPARE(reversed.days(), 0);
    }

    void figuresByHand() {
        const QList<ranking::Row> rows = ranking::rank(squad(), kMarch, kWithoutTest, {});
        QCOMPARE(rows.size(), 4);
        QStringList order;
        for (const ranking::Row& row : rows)
            order << QStringLiteral("%1 %2").arg(row.place).arg(row.athlete.name);
        // Adler and Berg share the first place; the next is the third.
        QCOMPARE(order, (QStringList{"1 Adler", "1 Berg", "3 Dorn", "0 Christ"}));

        const ranking::Row& adler = rows[0];
        QCOMPARE(adler.measurementCount, 2); // also the one without a valid jump
        QCOMPARE(*adler.bestHeightCm, 78.48);
        QCOMPARE(*adler.bestRsi, 0.7848 / 0.4);
        QCOMPARE(*adler.meanContactMs, 300.0); // (200 + 400) / 2; the invalid jump left out
        QCOMPARE(*adler.previousBestRsi, 0.1962 / 0.2);
        QCOMPARE(*adler.rsiChange, 0.7848 / 0.4 - 0.1962 / 0.2);

        const ranking::Row& berg = rows[1];
        QCOMPARE(berg.measurementCount, 1);
        QCOMPARE(*berg.bestRsi, *adler.bestRsi);
        QCOMPARE(*berg.rsiChange, 0.0);

        const ranking::Row& dorn = rows[2];
        QCOMPARE(*dorn.bestHeightCm, 30.65625);
        QCOMPARE(*dorn.bestRsi, 0.3065625 / 0.2);
        QVERIFY(!dorn.previousBestRsi);
        QVERIFY(!dorn.rsiChange);

        const ranking::Row& christ = rows[3];
        QCOMPARE(christ.measurementCount, 0);
        QVERIFY(!christ.bestHeightCm && !christ.bestRsi && !christ.meanContactMs);
        QVERIFY(!christ.rsiChange);
        QCOMPARE(ranking::texts(christ), (QStringList{"", "Christ", "Cara", "", "", "", "0", ""}));
    }

    // The typical error of the best RSI from the athlete's own trials. Each trial is one jump
    // with a flight of 400 ms, so that its RSI is 9.81 * 0.4² / 8 / contact = 0.1962 s / contact:
    // 0.981 at 200 ms, 1.962 at 100 ms, 1.308 at 150 ms, 0.654 at 300 ms. Four trials of 200,
    // 100, 200, 150 ms differ by +0.981, -0.981, +0.327 (mean 0.109): SD √(1.996008 / 2) =
    // 0.99900, over √2: 0.70640. With a fifth of 100 ms (+0.654): 0.60811.
    void typicalErrorOfTheAthletesOwnTrials_data() {
        QTest::addColumn<QList<ranking::DayJumps>>("measurements");
        QTest::addColumn<std::optional<double>>("expected");
        const MeasurementTest dj30{"Drop Jump", 30};
        const auto trial = [](int month, int day, double contactMs, const MeasurementTest& test) {
            return ranking::DayJumps{QDate(2026, month, day), {{contactMs, 400, 1}}, test};
        };
        const QList<ranking::DayJumps> four{trial(2, 10, 200, dj30), trial(2, 20, 100, dj30),
                                            trial(3, 5, 200, dj30), trial(3, 10, 150, dj30)};
        const std::optional<double> none;
        QTest::newRow("four trials, three pairs") << four << std::optional(0.70640073612645);
        QTest::newRow("five trials")
            << (four + QList{trial(3, 20, 100, dj30)}) << std::optional(0.60810864572048);
        QTest::newRow("another drop height is no trial")
            << (four + QList{trial(3, 7, 300, {"Drop Jump", 40})})
            << std::optional(0.70640073612645);
        QTest::newRow("another test is no trial")
            << (four + QList{trial(3, 7, 300, {"Sprungserie", 30})})
            << std::optional(0.70640073612645);
        QTest::newRow("without a valid jump, no trial")
            << (four + QList{ranking::DayJumps{QDate(2026, 3, 7), {{250, 0, 1}}, dj30},
                             ranking::DayJumps{QDate(2026, 3, 8), {{100, 400, 1, true}}, dj30}})
            << std::optional(0.70640073612645);
        QTest::newRow("a trial before both periods")
            << (QList{trial(1, 30, 200, dj30)} + four.mid(1)) << none;
        QTest::newRow("two pairs") << four.mid(1) << none;
        QTest::newRow("a better trial of another test")
            << (four + QList{trial(3, 7, 100, {"Countermovement Jump", {}})})
            << std::optional(0.70640073612645);
        QTest::newRow("nothing in the period") << four.mid(0, 2) << none;
    }
    void typicalErrorOfTheAthletesOwnTrials() {
        QFETCH(QList<ranking::DayJumps>, measurements);
        QFETCH(std::optional<double>, expected);
        const auto error =
            ranking::typicalRsiError(measurements, kMarch, {{"Drop Jump", 30}, Protocol::None});
        QCOMPARE(error.has_value(), expected.has_value());
        if (expected)
            QVERIFY2(std::abs(error->value - *expected) < 1e-9,
                     qPrintable(QString::number(error->value)));
    }

    // Each athlete's change is marked where it is real: beyond his own typical error and the
    // smallest worthwhile change, in the table's texts and in the copied text.
    void changeMarkedWhereReal_data() {
        QTest::addColumn<double>("worthwhile"); // -1: the group's
        QTest::addColumn<QString>("erb");
        QTest::newRow("the group's: 0.2 × SD of 1.962 and 1.308 = 0.0925") << -1.0 << "+0,98 *";
        QTest::newRow("smaller than the change") << 0.5 << "+0,98 *";
        QTest::newRow("as large as the change shown") << 0.98 << "+0,98";
    }
    void changeMarkedWhereReal() {
        QFETCH(double, worthwhile);
        QFETCH(QString, erb);
        const MeasurementTest dj30{"Drop Jump", 30};
        const auto trial = [&dj30](int month, int day, double contactMs) {
            return ranking::DayJumps{QDate(2026, month, day), {{contactMs, 400, 1}}, dj30};
        };
        // Erb: 0.981, 0.981, 1.962, 1.962: typical error 0.40049, change +0.981: marked.
        // Falk: 0.981, 1.962, 0.981, 1.308: typical error 0.70640, change -0.654: not marked.
        QList<ranking::AthleteData> athletes = squad();
        athletes << ranking::AthleteData{athlete(5, "Erb", "Eva"),
                                         {trial(2, 10, 200), trial(2, 20, 200), trial(3, 5, 100),
                                          trial(3, 10, 100)}}
                 << ranking::AthleteData{athlete(6, "Falk", "Finn"),
                                         {trial(2, 10, 200), trial(2, 20, 100), trial(3, 5, 200),
                                          trial(3, 10, 150)}};
        const ranking::RankedTest ranked{dj30, Protocol::None};
        const std::optional<realchange::Worthwhile> group =
            ranking::worthwhileRsi(athletes, kMarch, ranked);
        QVERIFY(std::abs(group->value - 0.0924896) < 1e-6);
        const std::optional<realchange::Worthwhile> judged =
            worthwhile >= 0 ? realchange::Worthwhile{worthwhile} : group;
        QHash<QString, ranking::Row> byName;
        for (const ranking::Row& row : ranking::rank(athletes, kMarch, ranked, judged))
            byName.insert(row.athlete.name, row);
        for (const ranking::Row& row : ranking::rank(athletes, kMarch, kWithoutTest, judged))
            if (row.athlete.name == "Adler")
                byName.insert(row.athlete.name, row);
        QVERIFY(std::abs(byName["Erb"].typicalRsiError->value - 0.40049157294505) < 1e-9);
        QCOMPARE(ranking::texts(byName["Erb"])[ranking::Change], erb);
        QCOMPARE(ranking::clipboardText({byName["Erb"]}, {}).contains("\t" + erb + "\n"), true);
        QVERIFY(std::abs(byName["Falk"].typicalRsiError->value - 0.70640073612645) < 1e-9);
        QCOMPARE(ranking::texts(byName["Falk"])[ranking::Change], "-0,65");
        // Adler's measurements have no test: his change of +0.98 is not marked.
        QVERIFY(!byName["Adler"].typicalRsiError);
        QCOMPARE(ranking::texts(byName["Adler"])[ranking::Change], "+0,98");
    }

    void clipboardInTheOrderShown() {
        QList<ranking::Row> rows = ranking::rank(squad(), kMarch, kWithoutTest, {});
        std::reverse(rows.begin(), rows.end());
        const QStringList lines =
            ranking::clipboardText(rows.mid(2), ranking::headingLines(kWithoutTest, kMarch))
                .split('\n');
        QCOMPARE(lines, (QStringList{"Test: Ohne Test", "Fallhöhe: –",
                                     "Zeitraum: 02.03.2026 bis 31.03.2026 (30 Tage)", "",
                                     "Platz\tName\tVorname\tBeste Höhe (cm)\tBester RSI\t"
                                     "Mittl. Stützzeit (ms)\tMessungen\tVeränderung RSI",
                                     "1\tBerg\tBen\t78,48\t1,96\t400\t1\t0,00",
                                     "1\tAdler\tAnna\t78,48\t1,96\t300\t2\t+0,98", ""}));
    }

    // The tests the group ran, the most run first: by athletes' days, so that a profile's
    // trials of a day count once; equal ones by name, protocol and drop height.
    void testsRunMostOftenFirst() {
        QStringList names;
        for (const ranking::RankedTest& test : ranking::testsRun(mixedSquad(), kMarch))
            names << ranking::testName(test) + " " + ranking::dropHeightName(test);
        QCOMPARE(names, (QStringList{"Drop Jump 30 cm", "Sprungserie ohne Angabe",
                                     "Sprungserie (10/5) ohne Angabe",
                                     "Drop Jump (Fallhöhen-Profil) 30 cm",
                                     "Drop Jump (Fallhöhen-Profil) 40 cm"}));
        QVERIFY(ranking::testsRun(mixedSquad(), {QDate(2026, 4, 1), QDate(2026, 4, 30)}).isEmpty());
        QCOMPARE(ranking::dropHeightName({{"Squat Jump", {}}, Protocol::None}), QString("–"));
    }

    // Each athlete's best trial of the chosen test only: place, name, best height, best RSI,
    // mean contact and count as the table shows them.
    void rankingPerTest_data() {
        QTest::addColumn<ranking::RankedTest>("test");
        QTest::addColumn<QStringList>("rows");
        const MeasurementTest series{"Sprungserie", {}};
        QTest::newRow("drop jump 30 cm, not the profile's trials")
            << ranking::RankedTest{{"Drop Jump", 30}, Protocol::None}
            << QStringList{"1 Berg 30,66 1,53 225 2", "2 Adler 30,66 1,23 250 1", " Christ    0"};
        QTest::newRow("series, not the 10/5")
            << ranking::RankedTest{series, Protocol::None}
            << QStringList{"1 Adler 30,66 3,07 175 1", "2 Christ 30,66 1,53 200 1", " Berg    0"};
        QTest::newRow("10/5 by its result; nine jumps give none")
            << ranking::RankedTest{series, Protocol::TenFive}
            << QStringList{"1 Adler 30,66 1,84 180 1", " Berg    1", " Christ    0"};
        QTest::newRow("profile trials at 30 cm")
            << ranking::RankedTest{{"Drop Jump", 30}, Protocol::DropHeightProfile}
            << QStringList{"1 Adler 30,66 3,07 150 2", " Berg    0", " Christ    0"};
    }
    void rankingPerTest() {
        QFETCH(ranking::RankedTest, test);
        QFETCH(QStringList, rows);
        QStringList shown;
        for (const ranking::Row& row : ranking::rank(mixedSquad(), kMarch, test, {})) {
            const QStringList t = ranking::texts(row);
            shown << QStringList{t[ranking::Place],       t[ranking::Name],
                                 t[ranking::BestHeight],  t[ranking::BestRsi],
                                 t[ranking::MeanContact], t[ranking::Count]}
                         .join(' ');
        }
        QCOMPARE(shown, rows);
    }

    // The window, the copied text and the team report name the test, its drop height and
    // the period alike; a 10/5 says what its values are.
    void headingNamesTestHeightAndPeriod() {
        QCOMPARE(
            ranking::headingLines(ranking::RankedTest{{"Drop Jump", 30}, Protocol::None}, kMarch),
            (QStringList{"Test: Drop Jump", "Fallhöhe: 30 cm",
                         "Zeitraum: 02.03.2026 bis 31.03.2026 (30 Tage)"}));
        QCOMPARE(ranking::headingLines(ranking::RankedTest{{"Sprungserie", {}}, Protocol::TenFive},
                                       kMarch),
                 (QStringList{"Test: Sprungserie (10/5)", "Fallhöhe: ohne Angabe",
                              "Zeitraum: 02.03.2026 bis 31.03.2026 (30 Tage)",
                              "Werte des Protokolls 10/5: Mittel der besten fünf Sprünge."}));
        QCOMPARE(ranking::headingLines(std::nullopt, kMarch),
                 QStringList{"Zeitraum: 02.03.2026 bis 31.03.2026 (30 Tage)"});
    }

    // Read from a store: the group's members only, with the measurements of the period and
    // the one before; an athlete of the group without any measurement has a row.
    void readFromTheStore() {
        TempDataDir data;
        AthleteRepository athletes(*data.db);
        GroupRepository groups(*data.db);
        MeasurementRepository measurements(*data.db);
        const auto add = [&](const QString& name) {
            Athlete a;
            a.name = name;
            a.firstName = QStringLiteral("X");
            return athletes.add(a);
        };
        const qint64 adler = add("Adler"), berg = add("Berg"), other = add("Fremd");
        const qint64 group = groups.add("U19");
        groups.setGroupsOf(adler, {group});
        groups.setGroupsOf(berg, {group});
        measurements.recordFirstJump(adler, at(3, 5), {200, 500, 1.25, 1}, {"Drop Jump", 30});
        const Measurement series =
            measurements.recordFirstJump(adler, at(2, 20), {200, 400, 0.8, 1});
        measurements.recordJump(series.id, {200, 450, 1.0, 2});
        measurements.recordJump(series.id, {200, 480, 1.1, 3});
        measurements.exclude(seriesKey(adler, series.measurementNumber), 3,
                             {"Doppelkontakt", "t", at(3, 1)});
        measurements.recordFirstJump(adler, at(1, 2), {100, 900, 8.1, 1});
        measurements.recordFirstJump(other, at(3, 5), {100, 900, 8.1, 1});
        // A measurement whose jumps are gone counts, without jumps.
        QVERIFY(data.run(QStringLiteral("INSERT INTO units (Ref_ID, Datum, Nummer, FZ) VALUES "
                                        "(%1, '2026-03-06T10:00:00', 9, 1)")
                             .arg(adler)));
        measurements.recordFirstJump(adler, at(3, 7), {200, 500, 1.25, 1}, {"Sprungserie", {}},
                                     {Protocol::TenFive, 0});

        const QList<ranking::AthleteData> read = ranking::read(athletes, groups, group, kMarch);
        QCOMPARE(read.size(), 2);
        QCOMPARE(read[0].athlete.id, adler);
        QCOMPARE(read[0].measurements.size(), 4); // not the one of January
        QCOMPARE(read[0].measurements[0].test, (MeasurementTest{"Drop Jump", 30}));
        QVERIFY(read[0].measurements[1].test.isEmpty());
        QCOMPARE(read[0].measurements[1].jumps.size(), 3);
        int excluded = 0;
        for (const analysis::StoredJump& jump : read[0].measurements[1].jumps)
            excluded += jump.excluded ? jump.jumpIndex : 0;
        QCOMPARE(excluded, 3);
        QVERIFY(read[0].measurements[2].jumps.isEmpty());
        QCOMPARE(read[1].athlete.id, berg);
        QVERIFY(read[1].measurements.isEmpty());
        QCOMPARE(read[0].measurements[3].protocol, Protocol::TenFive);
        QCOMPARE(read[0].measurements[0].protocol, Protocol::None);
        // The excluded jump of 480 ms is not the best of the period before: that of 450 ms is.
        const QList<ranking::Row> before = ranking::rank(read, kMarch.previous(), kWithoutTest, {});
        QCOMPARE(*before[0].bestRsi, 9.81 * 0.45 * 0.45 / 8 / 0.2);
        const QList<ranking::Row> rows = ranking::rank(read, kMarch, kWithoutTest, {});
        QCOMPARE(rows[0].measurementCount, 1); // the one without jumps
        QCOMPARE(rows[1].measurementCount, 0);
    }
};

QTEST_GUILESS_MAIN(TestRanking)
#include "tst_ranking.moc"
