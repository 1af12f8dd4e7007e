#include "core/base/Errors.h"
#include "core/base/Texts.h"
#include "core/measure/TestDay.h"
#include "core/store/DataStore.h"

#include <QSqlQuery>

#include "support/TempDataDir.h"
#include <QtTest>

// The rules of a test day: the rotation of its start list, the set-up each trial is stored
// with, a profile in rotation, and the start list read anew from the store (after a restart,
// at a second station).
namespace {

const QDateTime kMorning({2026, 12, 9}, {9, 0});

// A store with athletes 12, 13 and 14.
struct Squad {
    TestStore testStore;
    OpenedStore store{testStore.location};

    Squad() {
        for (const char* row :
             {"(12, 'Meier', 'Anna')", "(13, 'Zander', 'Jan')", "(14, 'Wolf', 'Eva')"})
            run(QStringLiteral("INSERT INTO sportler (ID, Name, Vorname) VALUES %1")
                    .arg(QLatin1String(row)));
    }
    void run(const QString& statement) {
        QSqlQuery q(StoreInternals::database(store).connection());
        if (!q.exec(statement))
            qFatal("statement failed: %s", qPrintable(statement));
        TestStore::afterIds(StoreInternals::database(store));
    }
    qint64 open(const TestDay& day, const QList<qint64>& athletes = {12, 13, 14}) {
        return store.testDays().open(day, athletes);
    }
    // Records the next trial of the athlete as the station would: one jump with the trial's
    // test, protocol and day.
    static Measurement record(DataStore& at, qint64 dayId, qint64 athleteId,
                              qint32 flightMs = 500) {
        const testday::StartList list = testday::startList(at, dayId);
        const testday::Trial trial = testday::nextTrial(at, list, athleteId, "A", kMorning);
        return at.measurements().recordFirstJump(athleteId, kMorning, {200, flightMs, 2.5, 1},
                                                 trial.test, trial.protocol.protocol, {}, dayId);
    }
    // The athletes in the order the start list calls them until every one is done.
    static QList<qint64> order(DataStore& at, qint64 dayId, int atMost = 20) {
        QList<qint64> out;
        for (int i = 0; i < atMost; ++i) {
            const testday::StartList list = testday::startList(at, dayId);
            if (!list.next)
                break;
            out << list.places[*list.next].athleteId;
            record(at, dayId, out.last());
        }
        return out;
    }
};

TestDay dropJumpDay(int trials = 1) {
    TestDay day;
    day.name = "U19 – Drop Jump 30 cm";
    day.test = {"Drop Jump", 30};
    day.trialsPerAthlete = trials;
    day.begun = kMorning;
    return day;
}

} // namespace

class TestTestDay : public QObject {
    Q_OBJECT

private slots:
    void init() { texts::setLocale(QLocale(QLocale::German, QLocale::Germany)); }

    // The next place: the first among those with the fewest trials, passing over the done.
    void rotation_data() {
        QTest::addColumn<QList<int>>("done"); // trials done per place; -1: stopped
        QTest::addColumn<int>("planned");
        QTest::addColumn<int>("next"); // -1: none
        QTest::newRow("nobody began") << QList<int>{0, 0, 0} << 2 << 0;
        QTest::newRow("round 1 goes on") << QList<int>{1, 0, 0} << 2 << 1;
        QTest::newRow("round 2 begins") << QList<int>{1, 1, 1} << 2 << 0;
        QTest::newRow("a trial more elsewhere waits") << QList<int>{1, 2, 1} << 3 << 0;
        QTest::newRow("a stopped athlete is passed over") << QList<int>{1, -1, 0} << 2 << 2;
        QTest::newRow("the done are passed over") << QList<int>{2, 1, 2} << 2 << 1;
        QTest::newRow("everybody done") << QList<int>{2, 2, -1} << 2 << -1;
        QTest::newRow("nobody listed") << QList<int>{} << 2 << -1;
    }
    void rotation() {
        QFETCH(QList<int>, done);
        QFETCH(int, planned);
        QFETCH(int, next);
        QList<testday::Place> places;
        for (const int d : done)
            places << testday::Place{places.size() + 1, std::max(d, 0), planned, d < 0};
        QCOMPARE(testday::nextPlace(places).value_or(-1), next);
    }

    // Each athlete's trial 1, then each one's trial 2, read from the store each time; a
    // restart (the store opened anew) and a second station on the same database go on where
    // the list stands, and a trial of either counts for both.
    void theStartListRotatesFromWhatIsStored() {
        Squad squad;
        const qint64 day = squad.open(dropJumpDay(2));
        QCOMPARE(Squad::order(squad.store, day, 2), (QList<qint64>{12, 13}));
        OpenedStore restarted(squad.testStore.location);
        OpenedStore second(squad.testStore.location);
        Squad::record(second, day, 14);
        QCOMPARE(Squad::order(restarted, day), (QList<qint64>{12, 13, 14}));
        const testday::StartList list = testday::startList(second, day);
        QVERIFY(!list.next);
        for (const testday::Place& place : list.places)
            QCOMPARE(place.trialsDone, 2);
        // Each trial stored with the day's test, whoever recorded it.
        for (const qint64 athlete : {12, 13, 14})
            for (const Measurement& m : squad.store.measurements().ofAthlete(athlete))
                QCOMPARE(m.test, (MeasurementTest{"Drop Jump", 30}));
    }

    // The set-up of each trial as the run starts it, whatever the athlete did before.
    void eachTrialHasTheDaysSetUp_data() {
        QTest::addColumn<int>("protocol");
        QTest::addColumn<QString>("test");
        QTest::addColumn<int>("height"); // -1: none
        QTest::addColumn<bool>("series");
        QTest::addColumn<int>("endKind");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("mode"); // 1 single, 2 series
        QTest::addColumn<QString>("end");
        QTest::newRow("single drop jumps")
            << 0 << "Drop Jump" << 30 << false << 0 << "Drop Jump 30" << 1 << "0 0";
        QTest::newRow("a series after 8 jumps")
            << 0 << "Sprungserie" << 40 << true << 1 << "Sprungserie 40" << 2 << "1 8";
        QTest::newRow("after seconds")
            << 0 << "Squat Jump" << -1 << true << 2 << "Squat Jump -" << 2 << "2 8";
        QTest::newRow("a test without a height takes none")
            << 0 << "Countermovement Jump" << 30 << false << 0 << "Countermovement Jump -" << 1
            << "0 0";
        QTest::newRow("a 10/5 from the floor")
            << 1 << "Drop Jump" << 30 << false << 0 << "Sprungserie -" << 2 << "1 10";
    }
    void eachTrialHasTheDaysSetUp() {
        QFETCH(int, protocol);
        QFETCH(QString, test);
        QFETCH(int, height);
        QFETCH(bool, series);
        QFETCH(int, endKind);
        QFETCH(QString, stored);
        QFETCH(int, mode);
        QFETCH(QString, end);
        Squad squad;
        // The athlete's last test was another: the day's holds.
        squad.store.measurements().recordFirstJump(12, kMorning, {200, 500, 2.5, 1},
                                                   {"Drop Jump", 60});
        TestDay day = dropJumpDay();
        day.protocol = protocol == 1 ? Protocol::TenFive : Protocol::None;
        day.test = {test, height < 0 ? std::nullopt : std::optional<int>(height)};
        day.series = series;
        day.endKind = endKind;
        day.endLimit = 8;
        const qint64 id = squad.open(day);
        const testday::StartList list = testday::startList(squad.store, id);
        QCOMPARE(list.day.name, day.name);
        const testday::Trial trial = testday::nextTrial(squad.store, list, 12, "A", kMorning);
        QCOMPARE(QStringLiteral("%1 %2").arg(trial.test.name,
                                             trial.test.dropHeightCm
                                                 ? QString::number(*trial.test.dropHeightCm)
                                                 : QStringLiteral("-")),
                 stored);
        QCOMPARE(trial.protocol.mode == MeasurementMode::Single ? 1 : 2, mode);
        QCOMPARE(QStringLiteral("%1 %2")
                     .arg(static_cast<int>(trial.autoEnd.kind))
                     .arg(trial.autoEnd.limit),
                 end);
        QVERIFY(trial.protocol.protocol.kind == day.protocol);
        const Measurement m = Squad::record(squad.store, id, 12);
        QCOMPARE(m.test, trial.test);
        QCOMPARE(squad.store.testDays().dayOfMeasurement(m.id), id);
        // The measurement before the day is none of its trials.
        QCOMPARE(testday::startList(squad.store, id).places.first().trialsDone, 1);
    }

    // A drop-height profile for the squad: every athlete at 20 cm, then every one at 30 cm,
    // each on a profile of his own; an athlete who stops is passed over, and one whose jump
    // had no valid times tries that height again.
    void aProfileInRotation() {
        Squad squad;
        TestDay day = dropJumpDay();
        day.protocol = Protocol::DropHeightProfile;
        day.profileHeightsCm = {20, 30, 40};
        day.trialsPerHeight = 1;
        const qint64 id = squad.open(day, {12, 13});
        QStringList course;
        const auto take = [&](DataStore& at, qint32 flightMs = 500) {
            const testday::StartList list = testday::startList(at, id);
            if (!list.next)
                return false;
            const qint64 athlete = list.places[*list.next].athleteId;
            const Measurement m = Squad::record(at, id, athlete, flightMs);
            course << QStringLiteral("%1@%2").arg(athlete).arg(*m.test.dropHeightCm);
            return true;
        };
        QVERIFY(take(squad.store));
        QVERIFY(take(squad.store, 0)); // no valid times: 13 jumps at 20 cm again
        OpenedStore restarted(squad.testStore.location);
        QVERIFY(take(restarted));
        QVERIFY(take(restarted));
        restarted.testDays().stopAthlete(id, 12, kMorning);
        while (take(restarted)) {
        }
        QCOMPARE(course, (QStringList{"12@20", "13@20", "13@20", "12@30", "13@30", "13@40"}));
        // One profile each, all his trials in it.
        for (const qint64 athlete : {12, 13}) {
            const QList<ProfilePlan> profiles =
                squad.store.measurements().profilesOfAthlete(athlete);
            QCOMPARE(profiles.size(), 1);
            QCOMPARE(squad.store.measurements().ofProfile(profiles.first().id).size(),
                     athlete == 12 ? 2 : 4);
        }
        const testday::StartList list = testday::startList(squad.store, id);
        QCOMPARE(testday::placeText(list.places[0]), QStringLiteral("beendet nach 2"));
        QCOMPARE(testday::placeText(list.places[1]), QStringLiteral("fertig"));
        const auto refused = failureOf([&] { Squad::record(squad.store, id, 12); });
        QVERIFY(refused);
        QCOMPARE(refused->text, QStringLiteral("A hat den Testtag beendet."));
    }

    // What cannot be a day, or a trial of it, says why and stores nothing.
    void badInput_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("trials");
        QTest::addColumn<QList<qint64>>("athletes");
        QTest::addColumn<QString>("message");
        QTest::newRow("no athletes")
            << "U19" << 1 << QList<qint64>{} << "Ein Testtag braucht mindestens einen Sportler.";
        QTest::newRow("only athletes deleted since")
            << "U19" << 1 << QList<qint64>{99} << "Ein Testtag braucht mindestens einen Sportler.";
        QTest::newRow("no name") << "  " << 1 << QList<qint64>{12}
                                 << "Bitte geben Sie dem Testtag einen Namen.";
        QTest::newRow("a name too long")
            << QString(101, 'x') << 1 << QList<qint64>{12} << "höchstens 100 Zeichen";
        QTest::newRow("no trials") << "U19" << 0 << QList<qint64>{12} << "von 1 bis 10";
        QTest::newRow("too many trials") << "U19" << 11 << QList<qint64>{12} << "von 1 bis 10";
    }
    void badInput() {
        QFETCH(QString, name);
        QFETCH(int, trials);
        QFETCH(QList<qint64>, athletes);
        QFETCH(QString, message);
        Squad squad;
        TestDay day = dropJumpDay(trials);
        day.name = name;
        const auto failure = failureOf([&] { squad.open(day, athletes); });
        QVERIFY(failure);
        QVERIFY2(failure->text.contains(message), qPrintable(failure->text));
        QVERIFY(squad.store.testDays().openDays().isEmpty());
    }

    // An athlete deleted during the day leaves the start list, his trials with him; one who is
    // not on the list is told so, and the day ends once, whichever station ends it.
    void athletesLeavingAndTheEnd() {
        Squad squad;
        const qint64 id = squad.open(dropJumpDay(1), {12, 13, 14, 12});
        Squad::record(squad.store, id, 12);
        squad.store.athletes().remove(12);
        const testday::StartList list = testday::startList(squad.store, id);
        QCOMPARE(list.places.size(), 2);
        QCOMPARE(list.places[*list.next].athleteId, 13);
        squad.run("INSERT INTO sportler (ID, Name, Vorname) VALUES (15, 'Neu', 'Tom')");
        const auto outside =
            failureOf([&] { testday::nextTrial(squad.store, list, 15, "Neu, Tom", kMorning); });
        QVERIFY(outside);
        QVERIFY2(outside->text.startsWith("Neu, Tom gehört nicht zum Testtag „U19 – Drop Jump "
                                          "30 cm“"),
                 qPrintable(outside->text));
        QCOMPARE(squad.store.testDays().openDays().size(), 1);
        squad.store.testDays().close(id, kMorning.addSecs(3600));
        squad.store.testDays().close(id, kMorning.addSecs(7200));
        QVERIFY(squad.store.testDays().openDays().isEmpty());
        QCOMPARE(squad.store.testDays().byId(id)->ended, kMorning.addSecs(3600));
    }

    void names_data() {
        QTest::addColumn<QString>("group");
        QTest::addColumn<int>("protocol");
        QTest::addColumn<QString>("name");
        QTest::newRow("drop jump") << "U19" << 0 << "U19 – Drop Jump 30 cm";
        QTest::newRow("without a group") << "" << 0 << "Drop Jump 30 cm";
        QTest::newRow("10/5") << "U19" << 1 << "U19 – 10/5";
        QTest::newRow("profile") << "Kader" << 2 << "Kader – Fallhöhen-Profil";
    }
    void names() {
        QFETCH(QString, group);
        QFETCH(int, protocol);
        QFETCH(QString, name);
        TestDay day = dropJumpDay();
        day.protocol = static_cast<Protocol>(protocol);
        QCOMPARE(testday::suggestedName(group, day), name);
    }
};

QTEST_GUILESS_MAIN(TestTestDay)
#include "tst_testday.moc"
