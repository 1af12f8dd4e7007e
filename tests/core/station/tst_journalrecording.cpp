// Recording while the shared server is away, and the transfer of the journal once it is back:
// the server's connections are cut and restored at the moments a fault can come.

#include "core/base/Clock.h"
#include "core/base/Errors.h"
#include "core/base/Texts.h"
#include "core/link/SimulatedUnit.h"
#include "core/link/TimingLink.h"
#include "core/measure/MeasurementSession.h"
#include "core/station/JournalReplay.h"
#include "core/store/DataStore.h"
#include "core/store/Journal.h"

#include <QSqlQuery>
#include <QTemporaryDir>

#include "support/FullDiskVfs.h"
#include "support/TempDataDir.h"
#include <QtTest>

namespace {

const QByteArray kThreeJumps = "400: 0 200 1 244\n400: 0 210 1 250\n400: 0 220 1 255\n";

// A station on a simulated unit against the test's store, with a journal in a folder of its
// own; the observer writes down the boxes and the jumps that went to the journal.
struct Station : SessionObserver {
    TestStore& testStore;
    QTemporaryDir dataDir;
    VirtualClock clock{1000, 1};
    std::unique_ptr<SimulatedUnit> unit;
    DeviceLink device;
    TimingLink link;
    DataStore store;
    plausibility::Limits limits;
    MeasurementSession session;
    Journal journal{dataDir.path()};
    JournalReplay replay{store, journal};
    QStringList boxes;
    QList<int> journalled;

    Station(TestStore& test, const QByteArray& script)
        : testStore(test), unit(scripted(clock, script)), device(*unit), link(device, clock),
          session(link, store, limits, *this) {
        store.open(test.location);
        session.setJournal(&journal);
        session.mode = MeasurementMode::Multiple;
    }

    static std::unique_ptr<SimulatedUnit> scripted(Clock& clock, const QByteArray& script) {
        QString error;
        const auto parsed = parseUnitScript(script, QStringLiteral("test"), &error);
        if (!parsed)
            qFatal("bad test script: %s", qPrintable(error));
        return createScriptedUnit(clock, *parsed);
    }

    // Polls as the timer would: about one result of the script each four polls.
    void poll(int count) {
        for (int i = 0; i < count && session.running(); ++i) {
            clock.advance(100);
            if (const auto failure = failureOf([this] { session.poll(); }))
                boxes << failure->text;
        }
    }
    // A series of `jumps` results of the script, the server cut before the jump `cutBefore`
    // (0: never). The run is stopped by the user afterwards.
    void series(int jumps, int cutBefore) {
        session.start(12);
        for (int jump = 1; jump <= jumps; ++jump) {
            if (jump == cutBefore)
                cut(true);
            poll(4);
        }
        session.stop();
    }
    // Cuts the server's connections and keeps new ones out, or lets them in again.
    void cut(bool away) {
        const QString database = testStore.serverDatabase;
        testStore.maintenance(QStringLiteral("ALTER DATABASE %1 ALLOW_CONNECTIONS %2")
                                  .arg(database, away ? "false" : "true"));
        if (away)
            testStore.maintenance(QStringLiteral("SELECT pg_terminate_backend(pid) FROM "
                                                 "pg_stat_activity WHERE datname = '%1'")
                                      .arg(database));
    }
    // "Nummer/FZ/jumps stored" of every measurement on the server, in the order stored.
    QStringList measurements() {
        QSqlQuery q = StoreInternals::database(store).read(
            "SELECT u.Nummer, u.FZ, (SELECT COUNT(*) FROM mr WHERE mr.Serie = u.Ref_ID * 1000 + "
            "u.Nummer) FROM units u ORDER BY u.ID");
        QStringList out;
        while (q.next())
            out << QStringLiteral("%1/%2/%3")
                       .arg(q.value(0).toLongLong())
                       .arg(q.value(1).toLongLong())
                       .arg(q.value(2).toLongLong());
        return out;
    }

    void runStarting() override {}
    void runStarted() override {}
    void runStopping() override {}
    void runEnded(RunEnd) override {}
    void showField(ResultField, const QString&) override {}
    void showMessage(const QString& text) override { boxes << text; }
    void showError(const QString& text) override { boxes << text; }
    void measurementCreated(const NewMeasurement&) override {}
    void jumpRecorded(qint64) override {}
    void pollFailed(const Failure& failure) override { boxes << failure.text; }
    void jumpJournalled(int jumpIndex) override { journalled << jumpIndex; }
};

void addAthlete(TestStore& test, qint64 id, const QString& name, const QString& firstName,
                const QString& birth) {
    OpenedStore store(test.location);
    QSqlQuery q(StoreInternals::database(store).connection());
    q.prepare("INSERT INTO sportler (ID, Name, Vorname, Geb) VALUES (?, ?, ?, ?)");
    q.addBindValue(id);
    q.addBindValue(name);
    q.addBindValue(firstName);
    q.addBindValue(birth.isEmpty() ? QVariant() : QVariant(birth));
    QVERIFY2(q.exec(), qPrintable(q.lastError().text()));
    TestStore::afterIds(StoreInternals::database(store));
}

} // namespace

class TestJournalRecording : public QObject {
    Q_OBJECT
private slots:
    void init() {
        texts::setLocale(QLocale(QLocale::German, QLocale::Germany));
        if (!TestStore::onServerSuite())
            QSKIP("needs the private server");
    }

    // The server goes away at a moment of a test day and comes back: every jump arrives on
    // the server once, a series the server lost mid-way as one measurement, and nothing in
    // between tells the user of a lost jump.
    void everyJumpArrivesOnce_data() {
        QTest::addColumn<int>("cutBefore"); // the jump of the first series; 0: after it
        QTest::addColumn<bool>("cutMidTransfer");
        QTest::addColumn<QList<int>>("journalled");
        QTest::addColumn<QStringList>("onServer");
        QTest::newRow("before the first jump")
            << 1 << false << QList<int>{1, 2, 3, 1, 2, 3} << QStringList{"1/3/3", "2/3/3"};
        QTest::newRow("mid-series")
            << 2 << false << QList<int>{2, 3, 1, 2, 3} << QStringList{"1/3/3", "2/3/3"};
        QTest::newRow("at the end")
            << 0 << false << QList<int>{1, 2, 3} << QStringList{"1/3/3", "2/3/3"};
        QTest::newRow("mid-transfer")
            << 1 << true << QList<int>{1, 2, 3, 1, 2, 3} << QStringList{"1/3/3", "2/3/3"};
    }
    void everyJumpArrivesOnce() {
        QFETCH(int, cutBefore);
        QFETCH(bool, cutMidTransfer);
        QFETCH(QList<int>, journalled);
        QFETCH(QStringList, onServer);
        TestStore test;
        addAthlete(test, 12, "Meier", "Anna", "");
        Station station(test, kThreeJumps + kThreeJumps);
        station.series(3, cutBefore);
        if (cutBefore == 0)
            station.cut(true);
        station.series(3, 0);
        QCOMPARE(station.boxes, QStringList());
        QCOMPARE(station.journalled, journalled);
        QCOMPARE(station.replay.status().place, StorePlace::Journalling);
        QVERIFY(station.replay.transfer().failure);

        station.cut(false);
        int brought = 0;
        const TransferRound first = station.replay.transfer([&] {
            if (cutMidTransfer && ++brought == 1)
                station.cut(true);
        });
        if (cutMidTransfer) {
            QCOMPARE(first.transferred, 1);
            QVERIFY(first.failure);
            station.cut(false);
            QCOMPARE(station.replay.transfer().transferred, 1);
        }
        QCOMPARE(station.replay.transfer().transferred, 0);
        QCOMPARE(station.measurements(), onServer);
        QCOMPARE(station.replay.status().place, StorePlace::OnServer);
        QCOMPARE(station.journal.waitingCount(), 0);
    }

    // What a kill of the station leaves: a run cut off in the journal is finished with its
    // jumps at the next start, and a transfer committed on the server but not noted in the
    // journal is found there and not written again.
    void whatAKillLeavesIsMadeGood() {
        TestStore test;
        addAthlete(test, 12, "Meier", "Anna", "");
        Station station(test, kThreeJumps);
        station.cut(true);
        station.session.start(12);
        station.poll(8); // two jumps, and the station dies mid-run
        station.cut(false);
        QCOMPARE(station.journal.waitingCount(), 1);
        QCOMPARE(station.replay.transfer().transferred, 0); // still open: not brought over
        Journal restarted(station.dataDir.path());
        restarted.finishAll();
        const QList<JournalEntry> waiting = restarted.waiting();
        QCOMPARE(waiting.size(), 1);
        QCOMPARE(waiting.first().measurement.jumps.size(), 2);
        // The server took the measurement, the journal did not learn it.
        const JournalTransfer done = station.store.measurements().transferJournalled(
            waiting.first().measurement, waiting.first().athlete, "andere");
        QCOMPARE(done.outcome, JournalTransfer::Outcome::Stored);
        JournalReplay again(station.store, restarted);
        const TransferRound round = again.transfer();
        QCOMPARE(round.transferred, 1);
        QVERIFY(!round.failure);
        QCOMPARE(station.measurements(), QStringList{"1/2/2"});
        QCOMPARE(restarted.waitingCount(), 0);
    }

    // Two stations offline at once recording for one athlete: both series arrive, numbered
    // apart, whichever comes first.
    void twoStationsOfflineForOneAthlete() {
        TestStore test;
        addAthlete(test, 12, "Meier", "Anna", "");
        Station first(test, kThreeJumps);
        Station second(test, "400: 0 230 1 250\n400: 0 240 1 240\n");
        first.cut(true);
        first.series(3, 0);
        second.series(2, 0);
        QCOMPARE(first.journalled, (QList<int>{1, 2, 3}));
        QCOMPARE(second.journalled, (QList<int>{1, 2}));
        first.cut(false);
        QCOMPARE(second.replay.transfer().transferred, 1);
        QCOMPARE(first.replay.transfer().transferred, 1);
        QCOMPARE(first.measurements(), (QStringList{"1/2/2", "2/3/3"}));
    }

    // The journal's disk is full while the server is away: the jump that could not be kept
    // is named, the run ends, and the journal holds what it held.
    void aFullDiskOfTheJournal() {
        TestStore test;
        addAthlete(test, 12, "Meier", "Anna", "");
        fulldisk::install();
        Station station(test, kThreeJumps);
        station.cut(true);
        station.session.start(12);
        station.poll(4);
        QCOMPARE(station.journalled, QList<int>{1});
        fulldisk::full = true;
        station.poll(4);
        fulldisk::full = false;
        QVERIFY(!station.session.running());
        QCOMPARE(station.boxes.size(), 1);
        QVERIFY2(station.boxes.first().startsWith("Der Datenträger ist voll: Der "
                                                  "Zwischenspeicher"),
                 qPrintable(station.boxes.first()));
        QVERIFY(station.boxes.first().endsWith(" Der Sprung 2 wurde nicht gespeichert."));
        station.cut(false);
        QCOMPARE(station.replay.transfer().transferred, 1);
        QCOMPARE(station.measurements(), QStringList{"1/1/1"});
    }
};

// The matching of a journalled measurement's athlete on the server, on either engine.
class TestJournalTransfer : public QObject {
    Q_OBJECT
private slots:
    void athletesAreMatched_data() {
        QTest::addColumn<qint64>("serverId");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("birth");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<qint64>("athleteId"); // the measurement's athlete; -1: a new one
        using O = JournalTransfer::Outcome;
        QTest::newRow("the server's athlete") << qint64(12) << "Meier"
                                              << "" << int(O::Stored) << qint64(12);
        QTest::newRow("one of his name and birth") << qint64(0) << "Kern"
                                                   << "2001-05-04" << int(O::Stored) << qint64(13);
        QTest::newRow("another birth: a new athlete")
            << qint64(0) << "Kern"
            << "2001-05-05" << int(O::Stored) << qint64(-1);
        QTest::newRow("two of his name and birth")
            << qint64(0) << "Wolf"
            << "1999-01-01" << int(O::AthleteUndecided) << qint64(0);
        QTest::newRow("one of his name, neither with a birth date")
            << qint64(0) << "Lenz"
            << "" << int(O::Stored) << qint64(16);
        QTest::newRow("deleted on the server meanwhile")
            << qint64(77) << "Kern"
            << "2001-05-04" << int(O::AthleteUndecided) << qint64(0);
    }
    void athletesAreMatched() {
        QFETCH(qint64, serverId);
        QFETCH(QString, name);
        QFETCH(QString, birth);
        QFETCH(int, outcome);
        QFETCH(qint64, athleteId);
        TestStore test;
        addAthlete(test, 12, "Meier", "Anna", "");
        addAthlete(test, 13, "Kern", "Jan", "2001-05-04");
        addAthlete(test, 14, "Wolf", "Jan", "1999-01-01");
        addAthlete(test, 15, "Wolf", "Jan", "1999-01-01");
        addAthlete(test, 16, "Lenz", "Jan", "");
        OpenedStore store(test.location);
        JournalledMeasurement m{"k-1",
                                QDateTime({2026, 12, 9}, {10, 0}),
                                {"Drop Jump", 40},
                                {},
                                0,
                                {{200, 500, 2.5, 1}, {210, 480, 2.29, 2}},
                                {},
                                false};
        const JournalledAthlete athlete{
            serverId, 0, name, "Jan", QDate::fromString(birth, Qt::ISODate), -1, {}};
        const JournalTransfer done =
            store.measurements().transferJournalled(m, athlete, "Station 2");
        QCOMPARE(int(done.outcome), outcome);
        if (athleteId > 0)
            QCOMPARE(done.athleteId, athleteId);
        if (athleteId < 0)
            QVERIFY(done.athleteId > 15);
        if (athleteId == 0) {
            QCOMPARE(store.measurements().keysOfAll().size(), 0);
            return;
        }
        const QList<Measurement> stored = store.measurements().ofAthlete(done.athleteId);
        QCOMPARE(stored.size(), 1);
        QCOMPARE(stored.first().jumpCount, 2);
        QCOMPARE(stored.first().test.name, QStringLiteral("Drop Jump"));
        QCOMPARE(stored.first().moment, m.moment);
        // Brought over once: the same identity again writes nothing.
        const JournalTransfer again =
            store.measurements().transferJournalled(m, athlete, "Station 2");
        QCOMPARE(again.outcome, JournalTransfer::Outcome::AlreadyThere);
        QCOMPARE(again.measurementId, done.measurementId);
        QCOMPARE(store.measurements().keysOfAll().size(), 1);
    }

    // The user chooses the athlete of a measurement that waits: it goes to him.
    void aChosenAthleteTakesTheWaitingMeasurement() {
        TestStore test;
        addAthlete(test, 14, "Wolf", "Jan", "1999-01-01");
        addAthlete(test, 15, "Wolf", "Jan", "1999-01-01");
        addAthlete(test, 16, "Lenz", "Jan", "");
        OpenedStore store(test.location);
        QTemporaryDir dir;
        Journal journal(dir.path());
        const qint64 entry = journal.begin({0, 0, "Wolf", "Jan", QDate(1999, 1, 1), -1, {}},
                                           QDateTime::currentDateTime(), {}, {}, 0,
                                           {200, 500, 2.5, 1}, std::nullopt);
        journal.finish(entry);
        JournalReplay replay(store, journal);
        QCOMPARE(replay.transfer().undecided, 1);
        const QList<JournalEntry> undecided = replay.undecided();
        QCOMPARE(undecided.size(), 1);
        QCOMPARE(undecided.first().athlete.name, QStringLiteral("Wolf"));
        replay.choose(undecided.first().journalAthleteId, 15);
        QCOMPARE(replay.transfer().transferred, 1);
        QCOMPARE(store.measurements().ofAthlete(15).size(), 1);
        QCOMPARE(store.measurements().ofAthlete(14).size(), 0);
    }
};

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    TestJournalRecording recording;
    TestJournalTransfer transfer;
    return QTest::qExec(&recording, argc, argv) | QTest::qExec(&transfer, argc, argv);
}

#include "tst_journalrecording.moc"
