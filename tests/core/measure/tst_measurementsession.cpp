#include "core/base/Clock.h"
#include "core/base/Errors.h"
#include "core/base/Texts.h"
#include "core/link/SimulatedUnit.h"
#include "core/link/TimingLink.h"
#include "core/measure/MeasurementSession.h"
#include "core/store/DataStore.h"

#include <QDir>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <functional>

#include "support/TempDataDir.h"
#include <QtTest>

namespace {

// A session on a simulated timing unit that plays a script, with a virtual clock, a fresh
// database holding athlete 12, and an observer that writes down what the window would show.
struct Rig : SessionObserver {
    TestStore testStore;
    VirtualClock clock{1000, 1};
    std::unique_ptr<SimulatedUnit> unit;
    DeviceLink device;
    TimingLink link;
    DataStore store;
    plausibility::Limits limits;
    MeasurementSession session;

    QStringList boxes;   // "Kalvero: text" or "Fehler: text", in order
    QStringList details; // the details of failures
    QStringList entries; // "measurementNumber: kind contact flight" of every new history entry
    QStringList events;  // starting, started, stopping, ended ...
    QString fields[4];   // contact time, flight time, efficiency, height
    int rejections = 0;  // jumps shown but kept from the store by the limits

    explicit Rig(const QByteArray& script)
        : unit(scripted(clock, script)), device(*unit), link(device, clock),
          session(link, store, limits, *this) {
        store.open(testStore.location);
        run("INSERT INTO sportler (ID, Name, Vorname) VALUES (12, 'Meier', 'Anna')");
    }

    static std::unique_ptr<SimulatedUnit> scripted(Clock& clock, const QByteArray& script) {
        QString error;
        const auto parsed = parseUnitScript(script, QStringLiteral("test"), &error);
        if (!parsed)
            qFatal("bad test script: %s", qPrintable(error));
        return createScriptedUnit(clock, *parsed);
    }

    void run(const QString& statement) {
        QSqlQuery q(StoreInternals::database(store).connection());
        if (!q.exec(statement))
            qFatal("statement failed: %s", qPrintable(statement));
        TestStore::afterIds(StoreInternals::database(store));
    }
    // Read through the store, which connects anew to a server that dropped the connection.
    QStringList column(const QString& statement) {
        QSqlQuery q = StoreInternals::database(store).read(statement);
        QStringList out;
        while (q.next())
            out << q.value(0).toString();
        return out;
    }
    QStringList jumps() {
        QSqlQuery q = StoreInternals::database(store).read(
            "SELECT Serie, SZ, FZ, Eff, Anzahl FROM mr ORDER BY " +
            StoreInternals::database(store).rowOrder());
        QStringList out;
        while (q.next()) {
            QStringList values;
            for (int c = 0; c < 5; ++c)
                values << QString::number(q.value(c).toDouble(), 'g', 15);
            out << values.join('/');
        }
        return out;
    }
    QStringList measurements() {
        return column("SELECT Nummer || '/' || FZ FROM units ORDER BY ID");
    }

    // Polls as the 100 ms timer would, `count` times or until the run ends; a failure of a
    // poll is written down as the window's general error would show it.
    void poll(int count = 100, bool untilIdle = true) {
        for (int i = 0; i < count && (!untilIdle || session.running()); ++i) {
            clock.advance(100);
            if (const auto failure = failureOf([this] { session.poll(); })) {
                boxes << QStringLiteral("Kalvero: ") + errorReportText(failure->text);
                details << failure->detail;
            }
        }
    }

    void runStarting() override { events << "starting"; }
    void runStarted() override { events << "started"; }
    void runStopping() override { events << "stopping"; }
    void runEnded(RunEnd end) override {
        events << (end == RunEnd::StartFailed    ? "start failed"
                   : end == RunEnd::UserStop     ? "stopped"
                   : end == RunEnd::LimitReached ? "limit reached"
                                                 : "ended");
        if (whenEnded)
            whenEnded();
    }
    // What the window does at a run's end, such as reading the series again.
    std::function<void()> whenEnded;
    void showField(ResultField field, const QString& text) override {
        fields[static_cast<int>(field)] = text;
    }
    void showMessage(const QString& text) override { boxes << "Kalvero: " + text; }
    void showError(const QString& text) override { boxes << "Fehler: " + text; }
    void measurementCreated(const NewMeasurement& m) override {
        entries << QStringLiteral("%1: %2 %3 %4")
                       .arg(m.measurementNumber)
                       .arg(m.series ? "series" : "single")
                       .arg(m.contactMs)
                       .arg(m.flightMs);
    }
    void jumpRecorded(qint64 seriesKey) override {
        events << QStringLiteral("jump %1").arg(seriesKey);
    }
    void pollFailed(const Failure& failure) override { boxes << "poll failed: " + failure.text; }
    void jumpRejected() override { ++rejections; }
};

} // namespace

class TestMeasurementSession : public QObject {
    Q_OBJECT
private slots:
    void init() { texts::setLocale(QLocale(QLocale::German, QLocale::Germany)); }

    // One run on a script: what it shows, says and stores, and how it ends.
    void runs_data() {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<int>("mode");       // 1 single, 2 multiple
        QTest::addColumn<QString>("limits"); // "" defaults, "abort", "abort crossed"
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QStringList>("jumps");        // Serie/SZ/FZ/Eff/Anzahl
        QTest::addColumn<QStringList>("measurements"); // Nummer/FZ
        QTest::addColumn<QString>("fields"); // contact|flight|efficiency|height at the end
        QTest::addColumn<QString>("end");    // the last event, or "running"

        QTest::newRow("single jump: recorded, second result never read")
            << QByteArray("500: 0 200 1 244\n800: 0 190 1 200\n") << 1 << "" << QStringList{}
            << QStringList{"12001/200/500/1.25/1"} << QStringList{"1/1"} << "200|500|1,25|30,66"
            << "ended";
        QTest::newRow("series up to the closing contact")
            << QByteArray("300: 0 200 1 244\n300: 0 150 2 88\n300: 254 1 200\n300: 253 0 180\n")
            << 2 << "" << QStringList{}
            << QStringList{"12001/200/500/1.25/1", "12001/150/600/2.4/2", "12001/-1/456/-208/3",
                           "12001/180/0/0/4"}
            << QStringList{"1/4"} << "180|||"
            << "ended";
        QTest::newRow("end byte 250 before any jump")
            << QByteArray("300: 250\n") << 2 << "" << QStringList{} << QStringList{}
            << QStringList{} << "|||"
            << "ended";
        QTest::newRow("end byte 252 after a jump")
            << QByteArray("300: 0 200 1 244\n300: 252\n") << 2 << "" << QStringList{}
            << QStringList{"12001/200/500/1.25/1"} << QStringList{"1/1"} << "|500|1,25|30,66"
            << "ended";
        QTest::newRow("end byte 255 in single mode")
            << QByteArray("300: 255\n") << 1 << "" << QStringList{} << QStringList{}
            << QStringList{} << "|||"
            << "ended";
        QTest::newRow("byte missing in a result") << QByteArray("300: 0 200 1\n") << 1 << ""
                                                  << QStringList{"Fehler: Kommunikationsfehler"}
                                                  << QStringList{} << QStringList{} << "200|||"
                                                  << "ended";
        QTest::newRow("closing contact without its low byte")
            << QByteArray("300: 253 0\n") << 2 << "" << QStringList{"Fehler: Kommunikationsfehler"}
            << QStringList{} << QStringList{} << "|||"
            << "ended";
        QTest::newRow("single: no contact time, flight time accepted")
            << QByteArray("300: 254 1 244\n") << 1 << "" << QStringList{}
            << QStringList{"12001/0/500/0/1"} << QStringList{"1/1"} << "0|500|0|30,66"
            << "ended";
        QTest::newRow("closing contact not measured")
            << QByteArray("300: 253 254\n") << 2 << "" << QStringList{}
            << QStringList{"12001/-1/0/0/1"} << QStringList{"1/1"} << "0|||"
            << "ended";
        QTest::newRow("253 after the marker is a high byte")
            << QByteArray("300: 253 253 0\n") << 2 << "" << QStringList{}
            << QStringList{"12001/64768/0/0/1"} << QStringList{"1/1"} << "64768|||"
            << "ended";
        QTest::newRow("single: flight not measured is shown, not recorded, the run goes on")
            << QByteArray("300: 0 200 253\n300: 0 210 1 244\n") << 1 << "" << QStringList{}
            << QStringList{"12001/210/500/1.19/1"} << QStringList{"1/1"} << "210|500|1,19|30,66"
            << "ended";
        QTest::newRow("contact below, abort on")
            << QByteArray("300: 0 45 1 244\n") << 2 << "abort"
            << QStringList{"Kalvero: Untere Stützzeit-Plausibilätsgrenze verletzt: 45ms < 60ms"}
            << QStringList{} << QStringList{} << "|||"
            << "ended";
        QTest::newRow("flight above, abort on")
            << QByteArray("300: 0 200 3 233\n") << 2 << "abort"
            << QStringList{"Kalvero: Obere  Flugzeit-Plausibilätsgrenze verletzt: 1001ms > 1000ms"}
            << QStringList{} << QStringList{} << "200|||"
            << "ended";
        QTest::newRow("contact equal to the upper limit, abort on")
            << QByteArray("300: 1 74 1 244\n") << 2 << "abort"
            << QStringList{"Kalvero: Obere  Stützzeit-Plausibilätsgrenze verletzt: 330ms >= 330ms"}
            << QStringList{} << QStringList{} << "|||"
            << "ended";
        QTest::newRow("crossed limits: the lower message first")
            << QByteArray("300: 0 200 1 244\n") << 2 << "abort crossed"
            << QStringList{"Kalvero: Untere Stützzeit-Plausibilätsgrenze verletzt: 200ms < 300ms",
                           "Kalvero: Obere  Stützzeit-Plausibilätsgrenze verletzt: 200ms > 100ms"}
            << QStringList{} << QStringList{} << "|||"
            << "ended";
        QTest::newRow("contact below, abort off: shown, not recorded, the series goes on")
            << QByteArray("300: 0 45 1 244\n") << 2 << "" << QStringList{} << QStringList{}
            << QStringList{} << "45|500|0|30,66"
            << "running";
        QTest::newRow("contact below, abort off: a single run ends")
            << QByteArray("300: 0 45 1 244\n") << 1 << "" << QStringList{} << QStringList{}
            << QStringList{} << "45|500|0|30,66"
            << "ended";
        QTest::newRow("no device")
            << QByteArray("devices: 0\n") << 1 << ""
            << QStringList{"Kalvero: Kommunikationsfehler! Kein Gerät erkannt."} << QStringList{}
            << QStringList{} << "|||"
            << "none";
        QTest::newRow("another description")
            << QByteArray("description: USB Serial\n") << 1 << ""
            << QStringList{"Kalvero: Kommunikationsfehler! Kein Gerät erkannt."} << QStringList{}
            << QStringList{} << "|||"
            << "none";
        QTest::newRow("silence after 251") << QByteArray("start-answer: none\n") << 1 << ""
                                           << QStringList{"Fehler: Kommunikationsfehler"}
                                           << QStringList{} << QStringList{} << "|||"
                                           << "start failed";
    }
    void runs() {
        QFETCH(QByteArray, script);
        QFETCH(int, mode);
        QFETCH(QString, limits);
        QFETCH(QStringList, boxes);
        QFETCH(QStringList, jumps);
        QFETCH(QStringList, measurements);
        QFETCH(QString, fields);
        QFETCH(QString, end);

        Rig rig(script);
        rig.session.mode = mode == 1 ? MeasurementMode::Single : MeasurementMode::Multiple;
        rig.limits.abortOnViolation = limits.startsWith("abort");
        if (limits.endsWith("crossed")) {
            rig.limits.contactMinMs = 300;
            rig.limits.contactMaxMs = 100;
        }
        rig.session.start(12);
        rig.poll(30, false);

        QCOMPARE(rig.boxes, boxes);
        QCOMPARE(rig.jumps(), jumps);
        QCOMPARE(rig.measurements(), measurements);
        QCOMPARE(QStringList(std::begin(rig.fields), std::end(rig.fields)).join('|'), fields);
        QCOMPARE(rig.session.running(), end == "running");
        QCOMPARE(rig.events.isEmpty() ? QString("none") : rig.events.last(),
                 end == "running" ? rig.events.last() : end);
        if (end != "none") {
            // Every run ends with the stop command, and the link is closed.
            QVERIFY(rig.unit->device(0).sent.startsWith('\xfb'));
            if (end != "running")
                QCOMPARE(rig.link.linkState, TimingLink::kLinkClosedByRun);
            if (end == "ended")
                QVERIFY(rig.unit->device(0).sent.endsWith('\xfa'));
        }
    }

    // A trial whose contact or flight time the unit did not measure is stored as ever and
    // excluded at once as "Fehlversuch"; a measured jump and the closing contact are not.
    void failedTrialsAreStoredExcluded_data() {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QStringList>("jumps");    // Serie/SZ/FZ/Eff/Anzahl
        QTest::addColumn<QStringList>("excluded"); // Anzahl:Grund
        QTest::addColumn<QString>("lastKind");     // of the last recorded result
        QTest::newRow("single: contact not measured")
            << QByteArray("300: 254 1 244\n") << 1 << QStringList{"12001/0/500/0/1"}
            << QStringList{"1:Fehlversuch"} << "failed";
        QTest::newRow("single: measured jump")
            << QByteArray("300: 0 200 1 244\n") << 1 << QStringList{"12001/200/500/1.25/1"}
            << QStringList{} << "jump";
        QTest::newRow("series: contact not measured between measured jumps")
            << QByteArray("300: 0 200 1 244\n300: 254 1 200\n300: 0 150 2 88\n") << 2
            << QStringList{"12001/200/500/1.25/1", "12001/-1/456/-208/2", "12001/150/600/2.4/3"}
            << QStringList{"2:Fehlversuch"} << "jump";
        QTest::newRow("series: the closing contact is no failed trial")
            << QByteArray("300: 0 200 1 244\n300: 253 0 180\n") << 2
            << QStringList{"12001/200/500/1.25/1", "12001/180/0/0/2"} << QStringList{} << "closing";
        QTest::newRow("series: closing contact not measured")
            << QByteArray("300: 0 200 1 244\n300: 253 254\n") << 2
            << QStringList{"12001/200/500/1.25/1", "12001/-1/0/0/2"} << QStringList{} << "closing";
        QTest::newRow("series: flight not measured is not stored")
            << QByteArray("300: 0 200 1 244\n300: 0 210 253\n") << 2
            << QStringList{"12001/200/500/1.25/1"} << QStringList{} << "jump";
    }
    void failedTrialsAreStoredExcluded() {
        QFETCH(QByteArray, script);
        QFETCH(int, mode);
        QFETCH(QStringList, jumps);
        QFETCH(QStringList, excluded);
        QFETCH(QString, lastKind);
        Rig rig(script);
        rig.session.mode = mode == 1 ? MeasurementMode::Single : MeasurementMode::Multiple;
        rig.session.start(12);
        rig.poll(30, false);
        QCOMPARE(rig.jumps(), jumps);
        QCOMPARE(rig.column("SELECT CAST(Anzahl AS INTEGER) || ':' || Grund FROM mr_ausschluss "
                            "ORDER BY Anzahl"),
                 excluded);
        const trial::Kind kind = rig.session.state().lastRecorded;
        QCOMPARE(kind == trial::Kind::FailedTrial      ? QString("failed")
                 : kind == trial::Kind::ClosingContact ? QString("closing")
                                                       : QString("jump"),
                 lastKind);
        // What the store reads of the series carries the same marks.
        int excludedRead = 0;
        for (const Jump& jump : rig.store.jumps().ofSeries(12001))
            excludedRead += jump.excluded && jump.exclusionReason == "Fehlversuch";
        QCOMPARE(excludedRead, excluded.size());
        if (rig.session.running())
            rig.session.stop();
    }

    // A start empties all four result fields, the height too; a jump that the limits keep
    // from the store is told, one that is stored is not.
    void startEmptiesTheFieldsAndRejectionsAreTold() {
        Rig rig("300: 0 45 1 244\n300: 0 200 1 244\n");
        rig.session.mode = MeasurementMode::Multiple;
        for (QString& field : rig.fields)
            field = QStringLiteral("old");
        rig.session.start(12);
        QCOMPARE(QStringList(std::begin(rig.fields), std::end(rig.fields)).join('|'), "|||");
        for (int i = 0; i < 20 && rig.session.state().jumpCount == 0; ++i)
            rig.poll(1, false);
        QCOMPARE(rig.rejections, 1);
        QCOMPARE(rig.jumps(), (QStringList{"12001/200/500/1.25/1"}));
        rig.session.stop();
    }

    // A start resets the run state; every poll resets the verdicts of the result before;
    // accepted times stay accepted until the next start.
    void runStateIsResetAtStartAndAtEveryPoll() {
        Rig rig("300: 0 200 1 244\n");
        rig.session.mode = MeasurementMode::Multiple;
        const RunState& state = rig.session.state();
        rig.run("INSERT INTO units (Ref_ID, Nummer, FZ) VALUES (12, 4, 1)");
        for (const qint64 lastMeasurementNumber : {4, 5}) {
            rig.session.start(12);
            QCOMPARE(rig.session.phase(), RunPhase::Running);
            QVERIFY(rig.session.pollTimer().isActive());
            QVERIFY(!state.contactValid && !state.flightValid && state.firstJumpPending);
            QCOMPARE(state.contactMs, 0);
            QCOMPARE(state.jumpCount, 0);
            for (int i = 0; i < 10 && state.jumpCount == 0; ++i)
                rig.poll(1, false);
            QVERIFY(state.contactInLimits && state.flightInLimits);
            rig.session.poll(); // nothing waits
            QVERIFY(!state.contactInLimits && !state.flightInLimits && !state.endMarkerSeen);
            QVERIFY(state.contactValid && state.flightValid);
            QCOMPARE(state.jumpCount, 1);
            QCOMPARE(state.measurementNumber, lastMeasurementNumber + 1);
            rig.session.stop();
        }
        QCOMPARE(rig.jumps(), (QStringList{"12005/200/500/1.25/1", "12006/200/500/1.25/1"}));
        QCOMPARE(rig.entries, (QStringList{"5: series 200 500", "6: series 200 500"}));
    }

    // The rest of a result is awaited without holding the caller: a poll returns at once with
    // what has come (the contact time shows), the next polls come soon, and the result is
    // taken when its bytes are there, or the run ends 2000 ms after the last byte.
    void theRestOfAResultIsAwaitedWithoutWaiting_data() {
        QTest::addColumn<int>("gapMs"); // until the flight time's bytes come; -1 never
        QTest::addColumn<QStringList>("jumps");
        QTest::addColumn<QStringList>("boxes");
        QTest::newRow("after 500 ms")
            << 500 << QStringList{"12001/200/500/1.25/1"} << QStringList{};
        QTest::newRow("after 1900 ms")
            << 1900 << QStringList{"12001/200/500/1.25/1"} << QStringList{};
        QTest::newRow("never") << -1 << QStringList{}
                               << QStringList{"Fehler: Kommunikationsfehler"};
    }
    void theRestOfAResultIsAwaitedWithoutWaiting() {
        QFETCH(int, gapMs);
        QFETCH(QStringList, jumps);
        QFETCH(QStringList, boxes);
        QByteArray script = "300: 0 200\n";
        if (gapMs >= 0)
            script += QByteArray::number(gapMs) + ": 1 244\n";
        Rig rig(script);
        rig.session.mode = MeasurementMode::Multiple;
        rig.session.start(12);
        rig.clock.advance(400);
        const quint32 before = rig.clock.peek();
        rig.session.poll();
        QVERIFY(rig.clock.peek() - before < 50); // no waiting inside the poll
        QCOMPARE(rig.fields[0], QStringLiteral("200"));
        QVERIFY(rig.session.running());
        QCOMPARE(rig.session.pollTimer().interval(), MeasurementSession::kWaitIntervalMs);
        for (int i = 0; i < 300 && rig.session.running() && rig.jumps().isEmpty(); ++i) {
            rig.clock.advance(10);
            rig.session.poll();
        }
        QCOMPARE(rig.jumps(), jumps);
        QCOMPARE(rig.boxes, boxes);
        QCOMPARE(rig.session.running(), gapMs >= 0);
        if (gapMs >= 0)
            QCOMPARE(rig.session.pollTimer().interval(), MeasurementSession::kPollIntervalMs);
    }

    // The user's stop ends a series; every jump recorded before is stored with its count.
    void userStop() {
        Rig rig("300: 0 200 1 244\n300: 0 210 1 250\n");
        rig.session.mode = MeasurementMode::Multiple;
        rig.session.start(12);
        rig.poll(10, false);
        QVERIFY(rig.session.running());
        QCOMPARE(rig.measurements(), QStringList{"1/2"}); // the count follows every jump
        rig.session.stop();
        QVERIFY(!rig.session.running());
        QCOMPARE(rig.events.mid(rig.events.size() - 2), (QStringList{"stopping", "stopped"}));
        QVERIFY(rig.boxes.isEmpty());
        QCOMPARE(rig.measurements(), QStringList{"1/2"});
        QVERIFY(rig.unit->device(0).sent.endsWith('\xfa'));
        QCOMPARE(rig.link.linkState, TimingLink::kLinkClosedByRun);
        QVERIFY(!rig.session.pollTimer().isActive());
    }

    // A recording the store refuses ends the run first; the failure is then reported with
    // the engine's text, and no jump count claims a jump that is not stored.
    void refusedRecording() {
        Rig rig("300: 0 200 1 244\n300: 0 210 1 250\n");
        rig.session.mode = MeasurementMode::Multiple;
        rig.session.start(12);
        rig.poll(4, false);
        QVERIFY(TestStore::refuse(StoreInternals::database(rig.store), "INSERT", "mr"));
        rig.poll(10, false);
        QVERIFY(!rig.session.running());
        QCOMPARE(rig.boxes.size(), 1);
        QVERIFY2(rig.boxes[0].startsWith("Kalvero: ") && rig.boxes[0].contains("gesperrt"),
                 qPrintable(rig.boxes[0]));
        QCOMPARE(rig.events.mid(rig.events.size() - 1), QStringList{"ended"});
        QCOMPARE(rig.jumps().size(), 1);
        QCOMPARE(rig.measurements(), QStringList{"1/1"});
    }

    // A disk that fills up in the middle of a series: the run ends, the user is told in German
    // which jump was lost (the engine's words as the detail), and the measurement's count is
    // the number of jumps stored.
    void aDiskThatFillsUp() {
        if (TestStore::onServerSuite())
            QSKIP("a full disk is made through the file's page limit");
        QByteArray script;
        for (int i = 0; i < 400; ++i)
            script += "100: 0 200 1 244\n";
        Rig rig(script);
        rig.session.mode = MeasurementMode::Multiple;
        rig.session.start(12);
        rig.poll(3, false);
        QVERIFY(!rig.jumps().isEmpty());
        // No page beyond those the database has now: the first jump that needs one fails.
        const QString pages = rig.column("PRAGMA page_count").value(0);
        rig.column("PRAGMA max_page_count = " + pages);
        rig.poll(500);
        QVERIFY(!rig.session.running());
        const int stored = rig.jumps().size();
        QVERIFY(stored > 3 && stored < 400);
        QCOMPARE(rig.boxes,
                 QStringList{QStringLiteral("Kalvero: Der Datenträger ist voll: Im "
                                            "Datenverzeichnis \"%1\" ist kein Platz mehr frei. "
                                            "Der Sprung %2 wurde nicht gespeichert.")
                                 .arg(QDir::toNativeSeparators(rig.testStore.location.directory))
                                 .arg(stored + 1)});
        QCOMPARE(rig.details, QStringList{"database or disk is full Unable to fetch row"});
        QCOMPARE(rig.measurements(), QStringList{QStringLiteral("1/%1").arg(stored)});
    }

    // The server drops the connection during a series: the run ends, the user is told which
    // jump was lost and that the server is away; the next run works without a restart.
    void aServerThatGoesAwayDuringASeries() {
        if (!TestStore::onServerSuite())
            QSKIP("needs the private server");
        Rig rig("300: 0 200 1 244\n300: 0 210 1 250\n300: 0 220 1 255\n");
        rig.session.mode = MeasurementMode::Multiple;
        rig.session.start(12);
        rig.poll(4, false);
        QCOMPARE(rig.jumps().size(), 1);
        rig.testStore.maintenance(
            QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
                           "WHERE datname = '%1'")
                .arg(rig.testStore.serverDatabase));
        rig.poll(4, false);
        QVERIFY(!rig.session.running());
        QCOMPARE(rig.boxes,
                 QStringList{QStringLiteral("Kalvero: Die Verbindung zum Datenbankserver %1 ist "
                                            "unterbrochen. Der Sprung 2 wurde nicht gespeichert.")
                                 .arg(rig.testStore.location.serverName())});
        QCOMPARE(rig.measurements(), QStringList{"1/1"});
        rig.boxes.clear();
        rig.session.start(12);
        rig.poll(4, false);
        QVERIFY(rig.boxes.isEmpty());
        QCOMPARE(rig.measurements(), (QStringList{"1/1", "2/1"}));
    }

    // The server goes away during a series and stays away: the run's end, which reads the
    // series again, fails as well, but the user reads the first failure, which names the jump
    // that was lost; the later one goes to the log. Once the server is back, the next action
    // works.
    void aServerThatStaysAwayDuringASeries() {
        if (!TestStore::onServerSuite())
            QSKIP("needs the private server");
        Rig rig("300: 0 200 1 244\n300: 0 210 1 250\n300: 0 220 1 255\n");
        rig.session.mode = MeasurementMode::Multiple;
        rig.session.start(12);
        rig.poll(4, false);
        QCOMPARE(rig.jumps().size(), 1);
        rig.whenEnded = [&rig] {
            rig.jumps();
        };
        const QString database = rig.testStore.serverDatabase;
        rig.testStore.maintenance(
            QStringLiteral("ALTER DATABASE %1 ALLOW_CONNECTIONS false").arg(database));
        rig.testStore.maintenance(
            QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
                           "WHERE datname = '%1'")
                .arg(database));
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression("^kalvero: beim Ende der Messung: Der "
                                                "Datenbankserver .* ist nicht erreichbar\\."));
        rig.poll(4, false);
        QVERIFY(!rig.session.running());
        QCOMPARE(rig.boxes,
                 QStringList{QStringLiteral("Kalvero: Die Verbindung zum Datenbankserver %1 ist "
                                            "unterbrochen. Der Sprung 2 wurde nicht gespeichert.")
                                 .arg(rig.testStore.location.serverName())});
        rig.whenEnded = nullptr;
        rig.testStore.maintenance(
            QStringLiteral("ALTER DATABASE %1 ALLOW_CONNECTIONS true").arg(database));
        QCOMPARE(rig.measurements(), QStringList{"1/1"});
        QCOMPARE(rig.jumps().size(), 1);
    }

    // The run records for the athlete it started with, under the number after his highest,
    // from number 1000 on under a key of its own.
    void keysOfTheRun_data() {
        QTest::addColumn<qint64>("lastMeasurementNumber");
        QTest::addColumn<QString>("jump");
        QTest::newRow("first") << qint64(0) << "12001/200/500/1.25/1";
        QTest::newRow("after 998") << qint64(998) << "12999/200/500/1.25/1";
        QTest::newRow("the thousandth") << qint64(999) << "-12001000/200/500/1.25/1";
    }
    void keysOfTheRun() {
        QFETCH(qint64, lastMeasurementNumber);
        QFETCH(QString, jump);
        Rig rig("100: 0 200 1 244\n");
        if (lastMeasurementNumber > 0)
            rig.run(QStringLiteral("INSERT INTO units (Ref_ID, Nummer, FZ) VALUES (12, %1, 1)")
                        .arg(lastMeasurementNumber));
        rig.session.start(12);
        rig.poll();
        QCOMPARE(rig.jumps(), QStringList{jump});
        QCOMPARE(rig.measurements().last(), QStringLiteral("%1/1").arg(lastMeasurementNumber + 1));
    }

    // A series ends by itself after its number of recorded jumps or its time on the clock;
    // the unit's end marker ends it earlier, and a single measurement ends after its jump as
    // ever. The run's test is stored with its measurement.
    void automaticEnd_data() {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("runMode");  // the run's own mode; 0 = the operating mode
        QTest::addColumn<QString>("rule"); // "jumps N" or "seconds N"
        QTest::addColumn<QStringList>("measurements");
        QTest::addColumn<QString>("end");
        const QByteArray fourJumps("300: 0 200 1 244\n300: 0 190 1 200\n300: 0 180 1 180\n"
                                   "300: 0 170 1 160\n");
        QTest::newRow("after 2 jumps")
            << fourJumps << 2 << 0 << "jumps 2" << QStringList{"1/2"} << "limit reached";
        QTest::newRow("a rejected jump does not count")
            << QByteArray("300: 0 45 1 244\n300: 0 190 1 200\n300: 0 180 1 180\n") << 2 << 0
            << "jumps 2" << QStringList{"1/2"} << "limit reached";
        QTest::newRow("after 1 second: three jumps came in time")
            << fourJumps << 2 << 0 << "seconds 1" << QStringList{"1/3"} << "limit reached";
        // The first result came one and a half seconds after the start; its contact began
        // 200 ms before it, and the second from there ends the series after three jumps.
        QTest::newRow("after 1 second from the first contact, however late it came")
            << QByteArray("1500: 0 200 1 244\n300: 0 190 1 200\n300: 0 180 1 180\n"
                          "300: 0 170 1 160\n")
            << 2 << 0 << "seconds 1" << QStringList{"1/3"} << "limit reached";
        QTest::newRow("the end marker comes first")
            << QByteArray("300: 0 200 1 244\n300: 253 0 180\n") << 2 << 0 << "jumps 10"
            << QStringList{"1/2"} << "ended";
        QTest::newRow("no limit reached yet")
            << fourJumps << 2 << 0 << "seconds 600" << QStringList{"1/4"} << "running";
        QTest::newRow("single mode ends after its jump")
            << fourJumps << 1 << 0 << "jumps 3" << QStringList{"1/1"} << "ended";
        QTest::newRow("a 10/5 series in single mode")
            << fourJumps << 1 << 2 << "jumps 3" << QStringList{"1/3"} << "limit reached";
        QTest::newRow("a profile's drop jump in series mode")
            << fourJumps << 2 << 1 << "jumps 3" << QStringList{"1/1"} << "ended";
    }
    void automaticEnd() {
        QFETCH(QByteArray, script);
        QFETCH(int, mode);
        QFETCH(int, runMode);
        QFETCH(QString, rule);
        QFETCH(QStringList, measurements);
        QFETCH(QString, end);
        Rig rig(script);
        const auto modeOf = [](int m) {
            return m == 1 ? MeasurementMode::Single : MeasurementMode::Multiple;
        };
        rig.session.mode = modeOf(mode);
        const int limit = rule.section(' ', 1).toInt();
        const AutoEnd autoEnd =
            rule.startsWith("jumps") ? AutoEnd::afterJumps(limit) : AutoEnd::afterSeconds(limit);
        std::optional<ProtocolOfRun> protocol;
        qint64 profileId = 0;
        if (runMode == 1) {
            profileId = rig.store.measurements().createProfile(12, QDateTime::currentDateTime(),
                                                               {30, 40}, 2);
            protocol =
                ProtocolOfRun{MeasurementMode::Single, {Protocol::DropHeightProfile, profileId}};
        } else if (runMode == 2) {
            protocol = ProtocolOfRun{MeasurementMode::Multiple, {Protocol::TenFive, 0}};
        }
        rig.session.start(12, {"Drop Jump", 30}, autoEnd, protocol);
        // A change of the operating mode during the run does not change a protocol's mode.
        if (runMode != 0)
            rig.session.mode = modeOf(3 - runMode);
        rig.poll(30, false);
        QVERIFY2(rig.boxes.isEmpty(), qPrintable(rig.boxes.join('\n')));
        QCOMPARE(rig.measurements(), measurements);
        // The history entry is a series or a single jump as the run recorded it.
        QCOMPARE(rig.entries.size(), 1);
        QVERIFY(rig.entries.first().contains((runMode != 0 ? runMode : mode) == 2 ? " series "
                                                                                  : " single "));
        QCOMPARE(rig.session.running(), end == "running");
        if (end != "running") {
            QCOMPARE(rig.events.last(), end);
            // The unit is told to stop, and the link is closed.
            QVERIFY(rig.unit->device(0).sent.endsWith('\xfa'));
            QCOMPARE(rig.link.linkState, TimingLink::kLinkClosedByRun);
        }
        // A 10/5 starts from the floor: it stores no drop height, whatever the set-up held.
        QCOMPARE(rig.column("SELECT Test || '/' || COALESCE(CAST(Fallhoehe AS TEXT), '-') "
                            "FROM units_test"),
                 QStringList{runMode == 2 ? "Drop Jump/-" : "Drop Jump/30"});
        // The protocol's mark came with the measurement.
        const QList<Measurement> stored = rig.store.measurements().ofAthlete(12);
        QCOMPARE(stored.size(), 1);
        const MeasurementProtocol expected =
            runMode == 1   ? MeasurementProtocol{Protocol::DropHeightProfile, profileId}
            : runMode == 2 ? MeasurementProtocol{Protocol::TenFive, 0}
                           : MeasurementProtocol{};
        QVERIFY(stored.first().protocol == expected);
    }

    // What a countdown shows: nothing before the first contact, then the seconds left from
    // it; nothing for a series without a time or for a single measurement.
    void millisecondsLeft_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("rule");
        QTest::addColumn<int>("leftBefore"); // -1: none
        QTest::addColumn<int>("leftAfterMost");
        QTest::addColumn<int>("leftAfterLeast");
        // The result arrives at 3000 ms, its contact of 200 ms began at 2800 ms.
        QTest::newRow("a timed series") << 2 << "seconds 5" << -1 << 4900 << 4600;
        QTest::newRow("a series ended by its jumps") << 2 << "jumps 5" << -1 << -1 << -1;
        QTest::newRow("a single measurement") << 1 << "seconds 5" << -1 << -1 << -1;
    }
    void millisecondsLeft() {
        QFETCH(int, mode);
        QFETCH(QString, rule);
        QFETCH(int, leftBefore);
        QFETCH(int, leftAfterMost);
        QFETCH(int, leftAfterLeast);
        Rig rig("3000: 0 200 1 244\n5000: 0 190 1 200\n");
        rig.session.mode = mode == 1 ? MeasurementMode::Single : MeasurementMode::Multiple;
        const int limit = rule.section(' ', 1).toInt();
        rig.session.start(12, {},
                          rule.startsWith("jumps") ? AutoEnd::afterJumps(limit)
                                                   : AutoEnd::afterSeconds(limit));
        rig.poll(20, false);
        QCOMPARE(rig.session.millisecondsLeft().value_or(-1), leftBefore);
        rig.poll(11, false);
        QCOMPARE(rig.entries.size(), 1);
        const int left = rig.session.millisecondsLeft().value_or(-1);
        QVERIFY2(left <= leftAfterMost && left >= leftAfterLeast,
                 qPrintable(QString::number(left)));
    }

    void automaticEndBounds() {
        QCOMPARE(AutoEnd::afterJumps(0).limit, 1);
        QCOMPARE(AutoEnd::afterJumps(999).limit, 999);
        QCOMPARE(AutoEnd::afterJumps(1000).limit, 999);
        QCOMPARE(AutoEnd::afterSeconds(0).limit, 1);
        QCOMPARE(AutoEnd::afterSeconds(601).limit, 600);
        QCOMPARE(AutoEnd::afterSeconds(600).kind, AutoEnd::Kind::AfterSeconds);
    }

    // A unit that tells when its bytes arrive has each result decoded and recorded at once,
    // without a look of the timer; once the run is over it tells nobody any more.
    void resultsAtOnce() {
        Rig rig("300: 0 200 1 244\n300: 0 190 1 200\n300: 250\n");
        rig.unit->setArrivalSignals(true);
        rig.session.mode = MeasurementMode::Multiple;
        rig.session.start(12);
        QVERIFY(rig.session.notified());
        rig.clock.advance(300);
        rig.unit->checkArrivals();
        QCOMPARE(rig.measurements(), QStringList{"1/1"});
        QCOMPARE(rig.fields[0], QStringLiteral("200"));
        rig.clock.advance(300);
        rig.unit->checkArrivals();
        QCOMPARE(rig.measurements(), QStringList{"1/2"});
        rig.clock.advance(300);
        rig.unit->checkArrivals();
        QVERIFY(!rig.session.running());
        QVERIFY(!rig.session.notified());
        QCOMPARE(rig.events.last(), QStringLiteral("ended"));
        QVERIFY(rig.boxes.isEmpty());

        // A unit that cannot tell leaves the run to the timer.
        Rig silent("300: 0 200 1 244\n");
        silent.session.mode = MeasurementMode::Multiple;
        silent.session.start(12);
        QVERIFY(!silent.session.notified());
        silent.clock.advance(300);
        silent.unit->checkArrivals();
        QVERIFY(silent.measurements().isEmpty());
        silent.poll(1, false);
        QCOMPARE(silent.measurements(), QStringList{"1/1"});
    }
};

QTEST_GUILESS_MAIN(TestMeasurementSession)
#include "tst_measurementsession.moc"
