#include "core/analysis/StoredMeasurements.h"
#include "core/base/Errors.h"
#include "core/measure/MeasurementTest.h"
#include "core/store/AthleteRepository.h"
#include "core/store/MeasurementRepository.h"
#include "core/store/SeriesKey.h"
#include "support/TempDataDir.h"

#include <QMutex>
#include <QtTest>

#include <algorithm>
#include <functional>
#include <thread>

namespace {

QStringList numbersOf(const QList<Jump>& jumps) {
    QStringList out;
    for (const Jump& j : jumps)
        out << QStringLiteral("%1/%2").arg(j.seriesKey).arg(j.jumpIndex);
    return out;
}

} // namespace

class TestMeasurementRepository : public QObject {
    Q_OBJECT

private slots:
    // Keys stay distinct across athletes for any number a measurement can have; 0 belongs to
    // no measurement.
    void seriesKeys_data() {
        QTest::addColumn<qint64>("athlete");
        QTest::addColumn<qint64>("measurementNumber");
        QTest::addColumn<qint64>("key");
        QTest::newRow("first") << qint64(7) << qint64(1) << qint64(7001);
        QTest::newRow("999") << qint64(12) << qint64(999) << qint64(12999);
        QTest::newRow("1000") << qint64(1) << qint64(1000) << qint64(-1001000);
        QTest::newRow("1001") << qint64(1) << qint64(1001) << qint64(-1001001);
    }
    void seriesKeys() {
        QFETCH(qint64, athlete);
        QFETCH(qint64, measurementNumber);
        QFETCH(qint64, key);
        QCOMPARE(seriesKey(athlete, measurementNumber), key);
        // The statements' form of the key is the same.
        TempDataDir data;
        QCOMPARE(data.scalar("SELECT " + seriesKeyExpression(QString::number(athlete),
                                                             QString::number(measurementNumber)))
                     .toLongLong(),
                 key);
        QSet<qint64> keys;
        for (qint64 a = 1; a <= 30; ++a)
            for (qint64 n = 1; n <= 3000; ++n)
                keys.insert(seriesKey(a, n));
        QCOMPARE(keys.size(), 30 * 3000);
        QVERIFY(!keys.contains(0));
        QVERIFY_THROWS_EXCEPTION(AppError, seriesKey(1, kMaxMeasurementNumber + 1));
    }

    // A measurement is created with its first jump; every jump after it updates the count in
    // the same transaction, so a failure between the two writes leaves both as they were.
    void recordingAMeasurement_data() {
        QTest::addColumn<QString>("refuse"); // a statement that fails from the third jump on
        QTest::addColumn<QStringList>("jumps");
        QTest::addColumn<int>("count");
        QTest::newRow("all stored") << "" << QStringList{"12001/1", "12001/2", "12001/3"} << 3;
        QTest::newRow("count refused: no jump row either")
            << "UPDATE units" << QStringList{"12001/1", "12001/2"} << 2;
        QTest::newRow("jump refused: no count either")
            << "INSERT mr" << QStringList{"12001/1", "12001/2"} << 2;
    }
    void recordingAMeasurement() {
        QFETCH(QString, refuse);
        QFETCH(QStringList, jumps);
        QFETCH(int, count);
        TempDataDir data;
        MeasurementRepository repo(*data.db);
        const QDateTime moment(QDate(2026, 12, 7), QTime(9, 30, 5));
        const qint64 id = repo.recordFirstJump(12, moment, {200, 500, 1.25, 1}).id;
        repo.recordJump(id, {201, 500, 1.25, 2});
        if (!refuse.isEmpty())
            QVERIFY(
                TestStore::refuse(*data.db, refuse.section(' ', 0, 0), refuse.section(' ', 1, 1)));
        if (refuse.isEmpty())
            repo.recordJump(id, {202, 500, 1.25, 3});
        else
            QVERIFY_THROWS_EXCEPTION(AppError, repo.recordJump(id, {202, 500, 1.25, 3}));
        const Measurement m = repo.ofAthlete(12).first();
        QCOMPARE(m.id, id);
        QCOMPARE(m.measurementNumber, 1);
        QCOMPARE(m.jumpCount, count);
        QCOMPARE(m.moment, moment);
        QCOMPARE(numbersOf(repo.jumpsOf(12001)), jumps);
    }

    // A first jump that cannot be stored leaves no measurement behind; a jump of a
    // measurement deleted meanwhile is not stored.
    void recordingFailures() {
        TempDataDir data;
        MeasurementRepository repo(*data.db);
        QVERIFY(TestStore::refuse(*data.db, "INSERT", "mr"));
        QVERIFY_THROWS_EXCEPTION(
            AppError, repo.recordFirstJump(12, QDateTime::currentDateTime(), {200, 500, 1.25, 1}));
        QVERIFY(repo.ofAthlete(12).isEmpty());
        QVERIFY(TestStore::allow(*data.db, "INSERT", "mr"));

        const qint64 id =
            repo.recordFirstJump(12, QDateTime::currentDateTime(), {200, 500, 1.25, 1}).id;
        QVERIFY(data.run("DELETE FROM units"));
        try {
            repo.recordJump(id, {200, 500, 1.25, 2});
            QFAIL("a jump of a deleted measurement must not be stored");
        } catch (const AppError& e) {
            QCOMPARE(e.text(), QStringLiteral("Die Messung %1 ist nicht mehr gespeichert").arg(id));
        }
        QCOMPARE(repo.jumpsOf(12001).size(), 1);
    }

    // A measurement given to another athlete keeps its ID, moment, test, protocol, jumps and
    // their exclusions, gets the new athlete's next free number (past jumps left under a key
    // without a measurement) and its jumps follow it; the change is kept for both athletes.
    // What is no longer as shown, or an athlete gone, refuses the move with nothing changed.
    void movingAMeasurement_data() {
        QTest::addColumn<QString>("before");   // a statement run before the move, or ""
        QTest::addColumn<qint64>("target");    // the athlete it goes to
        QTest::addColumn<qint64>("shownAs");   // the number the caller shows
        QTest::addColumn<qint64>("newNumber"); // 0: refused
        QTest::addColumn<QString>("message");  // the start of the refusal
        QTest::newRow("to the next number") << "" << qint64(13) << qint64(2) << qint64(5) << "";
        QTest::newRow("past jumps without a measurement")
            << "INSERT INTO mr VALUES (13005, 1, 1, 1, 1)" << qint64(13) << qint64(2) << qint64(6)
            << "";
        QTest::newRow("to an athlete without measurements")
            << "" << qint64(14) << qint64(2) << qint64(1) << "";
        QTest::newRow("athlete deleted meanwhile")
            << "DELETE FROM sportler WHERE ID = 13" << qint64(13) << qint64(2) << qint64(0)
            << "Der Sportler ist nicht mehr gespeichert";
        QTest::newRow("moved meanwhile by another station")
            << "UPDATE units SET Nummer = 9 WHERE Ref_ID = 12 AND Nummer = 2" << qint64(13)
            << qint64(2) << qint64(0) << "Die Messung ist nicht mehr so gespeichert";
        QTest::newRow("deleted meanwhile")
            << "DELETE FROM units WHERE Ref_ID = 12 AND Nummer = 2" << qint64(13) << qint64(2)
            << qint64(0) << "Die Messung ist nicht mehr so gespeichert";
        QTest::newRow("to its own athlete") << "" << qint64(12) << qint64(2) << qint64(0)
                                            << "Die Messung gehört schon diesem Sportler";
    }
    void movingAMeasurement() {
        QFETCH(QString, before);
        QFETCH(qint64, target);
        QFETCH(qint64, shownAs);
        QFETCH(qint64, newNumber);
        QFETCH(QString, message);
        TempDataDir data;
        QVERIFY(data.run("INSERT INTO sportler (ID, Name) VALUES (12, 'Wolf'), (13, 'Lang'), "
                         "(14, 'Neu')"));
        QVERIFY(data.run("INSERT INTO units (Ref_ID, Nummer, FZ) VALUES (13, 4, 1)"));
        TestStore::afterIds(*data.db);
        MeasurementRepository repo(*data.db);
        const QDateTime moment(QDate(2026, 12, 7), QTime(9, 30, 5));
        repo.recordFirstJump(12, moment, {190, 480, 1.21, 1});
        const Measurement m = repo.recordFirstJump(12, moment, {200, 500, 1.25, 1},
                                                   {"Drop Jump", 40}, {Protocol::TenFive, 0});
        repo.recordJump(m.id, {-1, 450, -202, 2},
                        Exclusion{"Fehlversuch", "tr", QDateTime::currentDateTime()});
        if (!before.isEmpty())
            QVERIFY(data.run(before));
        const auto failure = failureOf([&] { repo.moveToAthlete(m.id, 12, shownAs, target); });
        if (newNumber == 0) {
            QVERIFY(failure);
            QVERIFY2(failure->text.startsWith(message), qPrintable(failure->text));
            QVERIFY(repo.changesOfAthlete(12).isEmpty());
            if (!before.contains("units"))
                QCOMPARE(repo.jumpsOf(12002).size(), 2);
            return;
        }
        QVERIFY2(!failure, failure ? qPrintable(failure->text) : "");
        QList<Measurement> now;
        for (const Measurement& each : repo.ofAthlete(target))
            if (each.id == m.id)
                now << each;
        QCOMPARE(now.size(), 1);
        QCOMPARE(now[0].measurementNumber, newNumber);
        QCOMPARE(now[0].moment, moment);
        QCOMPARE(now[0].test, (MeasurementTest{"Drop Jump", 40}));
        QCOMPARE(now[0].protocol.kind, Protocol::TenFive);
        QCOMPARE(repo.ofAthlete(12).size(), 1);
        QVERIFY(repo.jumpsOf(12002).isEmpty());
        const QList<Jump> jumps = repo.jumpsOf(seriesKey(target, newNumber));
        QCOMPARE(jumps.size(), 2);
        QVERIFY(!jumps[0].excluded && jumps[1].excluded);
        // The record, for the athlete it left and the one it went to.
        for (const qint64 athlete : {qint64(12), target}) {
            const QList<MeasurementChange> changes = repo.changesOfAthlete(athlete);
            QVERIFY(!changes.isEmpty());
            const MeasurementChange& c = changes.first();
            QCOMPARE(c.kind, ChangeKind::Moved);
            QCOMPARE(c.measurementId, m.id);
            QCOMPARE(c.previousAthleteId, 12);
            QCOMPARE(c.previousNumber, 2);
            QCOMPARE(c.athleteId, target);
            QCOMPARE(c.measurementNumber, newNumber);
            QCOMPARE(c.measurementMoment, moment);
            QVERIFY(!c.user.isEmpty() && !c.station.isEmpty() && c.moment.isValid());
        }
    }

    // Test and drop height are changed with the checks of a run's start, and the change keeps
    // what they were; a drop height out of bounds changes nothing.
    void changingTheTest_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("dropHeight"); // -1: none
        QTest::addColumn<QString>("stored"); // Test/Fallhoehe after, or the refusal
        QTest::newRow("another height") << "Drop Jump" << 60 << "Drop Jump/60";
        QTest::newRow("another test without height") << "Squat Jump" << 30 << "Squat Jump/";
        QTest::newRow("height 0") << "Drop Jump" << 0 << "Drop Jump/0";
        QTest::newRow("height 151")
            << "Drop Jump" << 151 << "Die Fallhöhe muss eine ganze Zahl von 0 bis 150 cm sein.";
        QTest::newRow("negative height")
            << "Drop Jump" << -5 << "Die Fallhöhe muss eine ganze Zahl von 0 bis 150 cm sein.";
        QTest::newRow("a name too long")
            << QString(41, 'x') << -1 << "Der Name des Tests darf höchstens 40 Zeichen lang sein.";
    }
    void changingTheTest() {
        QFETCH(QString, name);
        QFETCH(int, dropHeight);
        QFETCH(QString, stored);
        TempDataDir data;
        QVERIFY(data.run("INSERT INTO sportler (ID, Name) VALUES (12, 'Wolf')"));
        TestStore::afterIds(*data.db);
        MeasurementRepository repo(*data.db);
        const Measurement m = repo.recordFirstJump(12, QDateTime::currentDateTime(),
                                                   {200, 500, 1.25, 1}, {"Drop Jump", 40});
        const MeasurementTest wanted{name, dropHeight == -1 ? std::nullopt
                                                            : std::optional<int>(dropHeight)};
        const auto failure = failureOf([&] { repo.changeTest(m.id, 12, 1, wanted); });
        const Measurement now = repo.ofAthlete(12).first();
        const QList<MeasurementChange> changes = repo.changesOfAthlete(12);
        if (failure) {
            QCOMPARE(failure->text, stored);
            QCOMPARE(now.test, (MeasurementTest{"Drop Jump", 40}));
            QVERIFY(changes.isEmpty());
            return;
        }
        QCOMPARE(now.test.name + '/' + measurementtest::dropHeightText(now.test.dropHeightCm),
                 stored);
        QCOMPARE(changes.size(), 1);
        QCOMPARE(changes[0].kind, ChangeKind::TestChanged);
        QCOMPARE(changes[0].previousTest, (MeasurementTest{"Drop Jump", 40}));
        QCOMPARE(changes[0].test, now.test);
        // The athlete's test for his next measurement stays the one he did.
        QCOMPARE(repo.lastTestOf(12), (MeasurementTest{"Drop Jump", 40}));
    }

    // A deleted measurement is kept in the record with its jumps, test, protocol and
    // exclusions, and is restored under its old number where it is free, else the next; once.
    void restoringADeletedMeasurement_data() {
        QTest::addColumn<bool>("numberTaken");
        QTest::newRow("old number free") << false;
        QTest::newRow("old number taken meanwhile") << true;
    }
    void restoringADeletedMeasurement() {
        QFETCH(bool, numberTaken);
        TempDataDir data;
        QVERIFY(data.run("INSERT INTO sportler (ID, Name) VALUES (12, 'Wolf')"));
        TestStore::afterIds(*data.db);
        MeasurementRepository repo(*data.db);
        const QDateTime moment(QDate(2026, 12, 7), QTime(9, 30, 5));
        repo.recordFirstJump(12, moment, {190, 480, 1.21, 1});
        const Measurement m = repo.recordFirstJump(12, moment, {200, 500, 1.25, 1},
                                                   {"Drop Jump", 40}, {Protocol::TenFive, 0});
        repo.recordJump(m.id, {-1, 450, -202, 2},
                        Exclusion{"Fehlversuch", "tr", QDateTime::currentDateTime()});
        repo.recordJump(m.id, {180, 0, 0, 3});
        const QList<Jump> jumpsBefore = repo.jumpsOf(12002);
        repo.remove(12, 2);
        QVERIFY(repo.jumpsOf(12002).isEmpty());
        if (numberTaken)
            QVERIFY(data.run("INSERT INTO units (Ref_ID, Nummer, FZ) VALUES (12, 2, 1)"));
        const QList<MeasurementChange> changes = repo.changesOfAthlete(12);
        QCOMPARE(changes.first().kind, ChangeKind::Deleted);
        QCOMPARE(changes.first().jumpCount, 3);
        QCOMPARE(changes.first().measurementNumber, 2);
        QVERIFY(changes.first().canBeRestored());

        const Measurement back = repo.restoreDeleted(changes.first().id);
        const qint64 number = numberTaken ? 3 : 2;
        QCOMPARE(back.measurementNumber, number);
        QCOMPARE(back.moment, moment);
        QCOMPARE(back.jumpCount, 3);
        QCOMPARE(back.test, (MeasurementTest{"Drop Jump", 40}));
        QCOMPARE(back.protocol.kind, Protocol::TenFive);
        const QList<Jump> jumps = repo.jumpsOf(seriesKey(12, number));
        QCOMPARE(jumps.size(), jumpsBefore.size());
        for (int i = 0; i < jumps.size(); ++i) {
            QCOMPARE(jumps[i].contactMs, jumpsBefore[i].contactMs);
            QCOMPARE(jumps[i].flightMs, jumpsBefore[i].flightMs);
            QCOMPARE(jumps[i].efficiency, jumpsBefore[i].efficiency);
            QCOMPARE(jumps[i].excluded, jumpsBefore[i].excluded);
            QCOMPARE(jumps[i].exclusionReason, jumpsBefore[i].exclusionReason);
        }
        const QList<MeasurementChange> after = repo.changesOfAthlete(12);
        QCOMPARE(after.first().kind, ChangeKind::Restored);
        QVERIFY(!after[1].canBeRestored());
        // Not twice, as another station that still shows it might try.
        const auto again = failureOf([&] { repo.restoreDeleted(changes.first().id); });
        QVERIFY(again && again->text.startsWith("Die Messung wurde schon wiederhergestellt"));
        QCOMPARE(repo.ofAthlete(12).size(), numberTaken ? 3 : 2);
    }

    // Exclusions and their taking back are kept in the record too.
    void exclusionsAreRecorded() {
        TempDataDir data;
        MeasurementRepository repo(*data.db);
        const Measurement m =
            repo.recordFirstJump(12, QDateTime::currentDateTime(), {200, 500, 1.25, 1});
        repo.exclude(12001, 1, {"Doppelkontakt", "tr", QDateTime::currentDateTime()});
        repo.exclude(12001, 1, {"Messfehler", "tr", QDateTime::currentDateTime()});
        repo.restore(12001, 1);
        repo.restore(12001, 1); // nothing excluded: nothing recorded
        QStringList seen;
        for (const MeasurementChange& c : repo.changesOfAthlete(12))
            seen << QStringLiteral("%1 %2 %3>%4")
                        .arg(int(c.kind))
                        .arg(c.jumpIndex)
                        .arg(c.previousReason, c.reason);
        QCOMPARE(seen, (QStringList{"3 1 Messfehler>", "2 1 Doppelkontakt>Messfehler",
                                    "2 1 >Doppelkontakt"}));
        QCOMPARE(repo.changesOfAthlete(12).first().measurementId, m.id);
    }

    // Two stations on one database, one moving measurements to an athlete while the other
    // records for him, each on a thread and a connection of its own: no number is given twice,
    // and every measurement keeps exactly its own jumps.
    void stationsMoveAndRecordAtOnce() {
        TempDataDir data;
        QVERIFY(data.run("INSERT INTO sportler (ID, Name) VALUES (12, 'Zorn'), (13, 'Lang')"));
        TestStore::afterIds(*data.db);
        constexpr int kMeasurements = 6;
        constexpr int kJumps = 3;
        QList<qint64> toMove;
        {
            MeasurementRepository repo(*data.db);
            for (int m = 0; m < kMeasurements; ++m) {
                const Measurement first =
                    repo.recordFirstJump(12, QDateTime::currentDateTime(), {250, 500, 1.25, 1});
                for (qint32 n = 2; n <= kJumps; ++n)
                    repo.recordJump(first.id, {250, 500, 1.25, n});
                toMove << first.id;
            }
        }
        QStringList failures;
        QMutex failuresLock;
        const auto guard = [&](const std::function<void()>& work) {
            try {
                work();
            } catch (const AppError& e) {
                QMutexLocker locker(&failuresLock);
                failures << e.text() + ' ' + e.detail();
            }
        };
        std::thread mover([&] {
            guard([&] {
                Database db(data.location);
                MeasurementRepository repo(db);
                for (int m = 0; m < kMeasurements; ++m)
                    repo.moveToAthlete(toMove[m], 12, m + 1, 13);
            });
        });
        std::thread recorder([&] {
            guard([&] {
                Database db(data.location);
                MeasurementRepository repo(db);
                for (int m = 0; m < kMeasurements; ++m) {
                    const Measurement first =
                        repo.recordFirstJump(13, QDateTime::currentDateTime(), {300, 500, 1.25, 1});
                    for (qint32 n = 2; n <= kJumps; ++n)
                        repo.recordJump(first.id, {300, 500, 1.25, n});
                }
            });
        });
        mover.join();
        recorder.join();
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(" | ")));
        MeasurementRepository repo(*data.db);
        QVERIFY(repo.ofAthlete(12).isEmpty());
        QList<qint64> numbers;
        int moved = 0;
        for (const Measurement& m : repo.ofAthlete(13)) {
            numbers << m.measurementNumber;
            const QList<Jump> jumps = repo.jumpsOf(seriesKey(13, m.measurementNumber));
            QCOMPARE(jumps.size(), kJumps);
            for (const Jump& j : jumps)
                QCOMPARE(j.contactMs, jumps[0].contactMs);
            moved += jumps[0].contactMs == 250;
        }
        QCOMPARE(moved, kMeasurements);
        std::sort(numbers.begin(), numbers.end());
        QList<qint64> expected;
        for (qint64 n = 1; n <= 2 * kMeasurements; ++n)
            expected << n;
        QCOMPARE(numbers, expected);
        QCOMPARE(data.scalar("SELECT COUNT(*) FROM mr").toInt(), 2 * kMeasurements * kJumps);
    }

    // Two stations on one database, recording for the same athlete at the same time, each on
    // a thread and a connection of its own: every measurement gets a number of its own, and
    // the jumps of each stay under their own key.
    void stationsRecordForOneAthleteAtOnce() {
        TempDataDir data;
        QVERIFY(data.run("INSERT INTO sportler (ID, Name) VALUES (12, 'Zorn')"));
        QVERIFY(data.run("INSERT INTO units (Ref_ID, Nummer, FZ) VALUES (12, 3, 1)"));
        TestStore::afterIds(*data.db);
        constexpr int kMeasurements = 8;
        constexpr int kJumps = 3;
        QStringList failures;
        QMutex failuresLock;
        const auto station = [&](int contactMs) {
            try {
                Database db(data.location);
                MeasurementRepository repo(db);
                for (int m = 0; m < kMeasurements; ++m) {
                    const Measurement first = repo.recordFirstJump(12, QDateTime::currentDateTime(),
                                                                   {contactMs, 500, 1.25, 1});
                    for (qint32 n = 2; n <= kJumps; ++n)
                        repo.recordJump(first.id, {contactMs, 500, 1.25, n});
                }
            } catch (const AppError& e) {
                QMutexLocker locker(&failuresLock);
                failures << e.text() + ' ' + e.detail();
            }
        };
        std::thread a(station, 200);
        std::thread b(station, 300);
        a.join();
        b.join();
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(" | ")));

        MeasurementRepository repo(*data.db);
        QList<qint64> measurementNumbers;
        for (const Measurement& m : repo.ofAthlete(12)) {
            measurementNumbers << m.measurementNumber;
            if (m.measurementNumber == 3)
                continue;
            QCOMPARE(m.jumpCount, kJumps);
            const QList<Jump> jumps = repo.jumpsOf(seriesKey(12, m.measurementNumber));
            QCOMPARE(jumps.size(), kJumps);
            // One station's jumps only, in jump order.
            for (int i = 0; i < kJumps; ++i) {
                QCOMPARE(jumps[i].jumpIndex, double(i + 1));
                QCOMPARE(jumps[i].contactMs, jumps[0].contactMs);
            }
        }
        std::sort(measurementNumbers.begin(), measurementNumbers.end());
        QList<qint64> expected;
        for (qint64 n = 3; n <= 3 + 2 * kMeasurements; ++n)
            expected << n;
        QCOMPARE(measurementNumbers, expected);
        // A number given twice is refused by the database itself.
        QVERIFY(!data.run("INSERT INTO units (Ref_ID, Nummer) VALUES (12, 4)"));
    }

    // Jumps of a series come in jump order; a single measurement's jump is the first stored
    // under its key.
    void readingJumps() {
        TempDataDir data;
        QVERIFY(data.run("INSERT INTO mr VALUES (1002, 180, 450, 1.13, 2), "
                         "(1002, 150, 600, 2.4, 1), (1001, 200, 500, 1.25, 1), "
                         "(1001, 210, 510, 1.24, 1), (-5001000, 120, 700, 4.08, 1)"));
        MeasurementRepository repo(*data.db);
        QCOMPARE(numbersOf(repo.jumpsOf(1002)), (QStringList{"1002/1", "1002/2"}));
        const auto first = repo.firstJumpsOf(1, {1001, 1003, -5001000});
        QCOMPARE(first.size(), 2);
        QCOMPARE(first.value(1001).contactMs, 200.0);
        QCOMPARE(first.value(-5001000).flightMs, 700.0);
    }

    // All an athlete's jumps at once: his keys of both ranges, each series as jumpsOf reads it
    // (in jump order, with its marks); no other athlete's key, none with a fraction.
    void readingAllJumpsOfAnAthlete() {
        TempDataDir data;
        QVERIFY(data.run("INSERT INTO mr VALUES (5001, 180, 450, 1.13, 2), "
                         "(5001, 150, 600, 2.4, 1), (5999, 200, 500, 1.25, 1), "
                         "(-5001000, 120, 700, 4.08, 1), (-5999999, 120, 700, 4.08, 1), "
                         "(5000, 1, 1, 1, 1), (4999, 1, 1, 1, 1), (6001, 1, 1, 1, 1), "
                         "(-4999999, 1, 1, 1, 1), (-6001000, 1, 1, 1, 1), (5001.5, 1, 1, 1, 1)"));
        QVERIFY(data.run("INSERT INTO units (ID, Ref_ID, Nummer) VALUES (50, 5, 1), (60, 6, 1)"));
        QVERIFY(data.run("INSERT INTO mr_ausschluss (Unit_ID, Anzahl, Grund) VALUES "
                         "(50, 2, 'Doppelkontakt'), (60, 1, 'fremd')"));
        MeasurementRepository repo(*data.db);
        const QHash<qint64, QList<Jump>> all = repo.jumpsOfAthlete(5);
        QList<qint64> keys = all.keys();
        std::sort(keys.begin(), keys.end());
        QCOMPARE(keys, (QList<qint64>{-5999999, -5001000, 5001, 5999}));
        for (const qint64 key : keys) {
            const QList<Jump> one = repo.jumpsOf(key);
            QCOMPARE(numbersOf(all.value(key)), numbersOf(one));
            for (qsizetype i = 0; i < one.size(); ++i) {
                QCOMPARE(all.value(key)[i].excluded, one[i].excluded);
                QCOMPARE(all.value(key)[i].exclusionReason, one[i].exclusionReason);
                QCOMPARE(all.value(key)[i].contactMs, one[i].contactMs);
            }
        }
        QVERIFY(all.value(5001)[1].excluded);
        QVERIFY(repo.jumpsOfAthlete(7).isEmpty());
    }

    // A deletion removes the measurement and its jumps, or nothing.
    void removingAMeasurement_data() {
        QTest::addColumn<QString>("locked"); // table whose deletes fail, or ""
        QTest::newRow("deleted") << "";
        QTest::newRow("jumps cannot be deleted") << "mr";
        QTest::newRow("measurement cannot be deleted") << "units";
    }
    void removingAMeasurement() {
        QFETCH(QString, locked);
        TempDataDir data;
        MeasurementRepository repo(*data.db);
        for (int measurementNumber : {1, 2})
            QCOMPARE(repo.recordFirstJump(12, QDateTime::currentDateTime(), {200, 500, 1.25, 1})
                         .measurementNumber,
                     measurementNumber);
        QVERIFY(data.run("INSERT INTO units (Ref_ID, Nummer) VALUES (13, 1)"));
        repo.recordFirstJump(13, QDateTime::currentDateTime(), {200, 500, 1.25, 1});
        if (!locked.isEmpty())
            QVERIFY(TestStore::refuse(*data.db, "DELETE", locked));
        if (locked.isEmpty())
            repo.remove(12, 2);
        else
            QVERIFY_THROWS_EXCEPTION(AppError, repo.remove(12, 2));
        const int kept = locked.isEmpty() ? 0 : 1;
        QCOMPARE(data.scalar("SELECT COUNT(*) FROM units WHERE Ref_ID = 12").toInt(), 1 + kept);
        QCOMPARE(data.scalar("SELECT COUNT(*) FROM mr WHERE Serie = 12002").toInt(), kept);
        QCOMPARE(data.scalar("SELECT COUNT(*) FROM mr").toInt(), 2 + kept);
        QCOMPARE(repo.ofAthlete(13).size(), 2);
        // The count the report's progress starts from, without reading the measurements.
        QCOMPARE(repo.countOfAthlete(12), 1 + kept);
        QCOMPARE(repo.countOfAthlete(13), 2);
        QCOMPARE(repo.countOfAthlete(99), 0);
    }

    // An excluded jump stays stored and is marked with its reason, who and when; the reason
    // can change, the exclusion can be taken back, and it goes with its measurement. A number
    // given again after a deletion starts without the old mark.
    void excludingAJump() {
        TempDataDir data;
        MeasurementRepository repo(*data.db);
        const Measurement m =
            repo.recordFirstJump(12, QDateTime::currentDateTime(), {200, 500, 1.25, 1});
        repo.recordJump(m.id, {210, 510, 1.24, 2});
        const QDateTime when(QDate(2026, 12, 8), QTime(10, 30));
        const auto marks = [&] {
            QStringList out;
            for (const Jump& j : repo.jumpsOf(12001))
                out << QStringLiteral("%1:%2:%3")
                           .arg(j.jumpIndex)
                           .arg(j.excluded)
                           .arg(j.exclusionReason);
            return out;
        };
        repo.exclude(12001, 2, {"Doppelkontakt", "trainer", when});
        QCOMPARE(marks(), (QStringList{"1:0:", "2:1:Doppelkontakt"}));
        // Figures over many measurements (the analysis window, the report) see the mark too.
        const QList<Jump> forFigures = repo.jumpsOfAthlete(12).value(12001);
        QCOMPARE(forFigures.size(), 2);
        QVERIFY(!forFigures[0].excluded && forFigures[1].excluded);
        const Exclusion stored = repo.exclusionsOf(12001).value(2);
        QCOMPARE(stored.user, QStringLiteral("trainer"));
        QCOMPARE(stored.moment, when);
        repo.exclude(12001, 2, {"Messfehler", "trainer", when});
        QCOMPARE(marks(), (QStringList{"1:0:", "2:1:Messfehler"}));
        repo.restore(12001, 2);
        QCOMPARE(marks(), (QStringList{"1:0:", "2:0:"}));
        QCOMPARE(data.scalar("SELECT COUNT(*) FROM mr WHERE Serie = 12001").toInt(), 2);

        repo.exclude(12001, 1, {"Fehlversuch", "trainer", when});
        repo.remove(12, 1);
        QCOMPARE(data.scalar("SELECT COUNT(*) FROM mr_ausschluss").toInt(), 0);
        repo.recordFirstJump(12, QDateTime::currentDateTime(), {200, 500, 1.25, 1});
        QCOMPARE(marks(), (QStringList{"1:0:"}));
        // A station of an earlier version deletes without knowing the marks.
        repo.exclude(12001, 1, {"Fehlversuch", "trainer", when});
        QVERIFY(data.run("DELETE FROM mr WHERE Serie = 12001"));
        QVERIFY(data.run("DELETE FROM units WHERE Ref_ID = 12"));
        repo.recordFirstJump(12, QDateTime::currentDateTime(), {200, 500, 1.25, 1});
        QCOMPARE(marks(), (QStringList{"1:0:"}));
        QVERIFY_THROWS_EXCEPTION(AppError, repo.exclude(12005, 1, {"x", "trainer", when}));
    }

    // The test of a measurement is stored with it and kept per athlete as the one offered for
    // his next measurement; a measurement without a test, and one stored before tests were
    // known, shows none. Deleting a measurement or the athlete takes their tests along.
    void testsPerAthlete() {
        TempDataDir data;
        QVERIFY(data.run("INSERT INTO sportler (ID, Name) VALUES (12, 'Wolf'), (13, 'Lang')"));
        // Stored by a station that knew no tests.
        QVERIFY(data.run("INSERT INTO units (Ref_ID, Datum, Nummer, FZ) VALUES "
                         "(12, '2024-03-01T10:00:00', 1, 1)"));
        MeasurementRepository repo(*data.db);
        QVERIFY(!repo.lastTestOf(12));
        const QDateTime now = QDateTime::currentDateTime();
        const MeasurementTest dropJump{"Drop Jump", 40};
        QCOMPARE(repo.recordFirstJump(12, now, {200, 500, 1.25, 1}, dropJump).test, dropJump);
        QCOMPARE(repo.lastTestOf(12), std::optional(dropJump));
        const MeasurementTest own{"Hürdensprung über 5 Hürden", std::nullopt};
        repo.recordFirstJump(12, now, {210, 480, 1.1, 1}, own);
        repo.recordFirstJump(12, now, {220, 470, 1.0, 1}); // no test
        repo.recordFirstJump(13, now, {230, 460, 0.9, 1}, {"Squat Jump", std::nullopt});

        QList<MeasurementTest> tests;
        for (const Measurement& m : repo.ofAthlete(12))
            tests << m.test;
        QCOMPARE(tests, (QList<MeasurementTest>{{}, dropJump, own, {}}));
        // The analysis reads an athlete's measurements all at once and one by one alike.
        repo.recordJump(repo.ofAthlete(12)[2].id, {205, 490, 1.2, 2});
        const QList<Measurement> rows = repo.ofAthlete(12);
        const QList<analysis::MeasurementJumps> all = analysis::storedMeasurements(repo, 12, rows);
        QCOMPARE(all.size(), rows.size());
        for (qsizetype i = 0; i < rows.size(); ++i) {
            const analysis::MeasurementJumps one = analysis::storedMeasurement(repo, 12, rows[i]);
            QCOMPARE(all[i].test, one.test);
            QCOMPARE(all[i].series, one.series);
            QCOMPARE(all[i].jumps.size(), one.jumps.size());
        }
        QCOMPARE(all[1].test, dropJump);
        QVERIFY(all[2].series && !all[1].series);
        QCOMPARE(repo.lastTestOf(12), std::optional(own));
        QCOMPARE(repo.lastTestOf(13)->name, QStringLiteral("Squat Jump"));

        repo.remove(12, 2);
        QCOMPARE(data.scalar("SELECT COUNT(*) FROM units_test").toInt(), 2);
        AthleteRepository(*data.db).remove(12);
        QCOMPARE(data.scalar("SELECT COUNT(*) FROM units_test").toInt(), 1);
        QVERIFY(!repo.lastTestOf(12));
        QVERIFY(repo.lastTestOf(13));
    }

    // A 10/5 series and the trials of a profile carry their protocol; the profile keeps its
    // heights and trials and gives its trials back as one. Deleting a trial or the athlete
    // takes the marks and profiles along.
    void protocolsAndProfiles() {
        TempDataDir data;
        QVERIFY(data.run("INSERT INTO sportler (ID, Name) VALUES (12, 'Wolf'), (13, 'Lang')"));
        MeasurementRepository repo(*data.db);
        const QDateTime now(QDate(2026, 12, 8), QTime(9, 0));
        const Measurement tenFive =
            repo.recordFirstJump(12, now, {200, 500, 1.25, 1}, {}, {Protocol::TenFive, 0});
        QCOMPARE(tenFive.protocol.kind, Protocol::TenFive);
        const qint64 profileId = repo.createProfile(12, now, {20, 30, 45}, 2);
        QVERIFY(profileId > 0);
        const MeasurementProtocol trial{Protocol::DropHeightProfile, profileId};
        for (const int height : {20, 20, 30})
            repo.recordFirstJump(12, now, {200, 500, 1.25, 1}, {"Drop Jump", height}, trial);
        const Measurement plain = repo.recordFirstJump(12, now, {200, 500, 1.25, 1});
        repo.createProfile(13, now, {40}, 1);

        QList<Protocol> kinds;
        for (const Measurement& m : repo.ofAthlete(12))
            kinds << m.protocol.kind;
        QCOMPARE(kinds, (QList<Protocol>{Protocol::TenFive, Protocol::DropHeightProfile,
                                         Protocol::DropHeightProfile, Protocol::DropHeightProfile,
                                         Protocol::None}));
        const std::optional<ProfilePlan> plan = repo.profile(profileId);
        QVERIFY(plan);
        QCOMPARE(plan->heightsCm, (QList<int>{20, 30, 45}));
        QCOMPARE(plan->trialsPerHeight, 2);
        QCOMPARE(plan->athleteId, qint64(12));
        QCOMPARE(repo.profilesOfAthlete(12).size(), 1);
        QVERIFY(!repo.profile(profileId + 99));
        QList<int> heights;
        for (const Measurement& m : repo.ofProfile(profileId)) {
            QCOMPARE(m.protocol, trial);
            heights << *m.test.dropHeightCm;
        }
        QCOMPARE(heights, (QList<int>{20, 20, 30}));

        repo.setProtocol(plain.id, {Protocol::TenFive, 0});
        QCOMPARE(repo.ofAthlete(12).last().protocol.kind, Protocol::TenFive);
        repo.setProtocol(plain.id, {});
        QCOMPARE(repo.ofAthlete(12).last().protocol.kind, Protocol::None);
        // A protocol a later version may add reads as none.
        QVERIFY(data.run(QStringLiteral("INSERT INTO units_protokoll (Unit_ID, Protokoll) "
                                        "VALUES (%1, 'Zukunft')")
                             .arg(plain.id)));
        QCOMPARE(repo.ofAthlete(12).last().protocol.kind, Protocol::None);

        repo.remove(12, 2);
        QCOMPARE(repo.ofProfile(profileId).size(), 2);
        AthleteRepository(*data.db).remove(12);
        QCOMPARE(data.scalar("SELECT COUNT(*) FROM units_protokoll").toInt(), 0);
        QCOMPARE(data.scalar("SELECT COUNT(*) FROM profile").toInt(), 1);
        QVERIFY(repo.profilesOfAthlete(12).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestMeasurementRepository)
#include "tst_measurementrepository.moc"
