// The measurement session: a run from its start through the polls and the decoding of each jump
// to its stop, the decision to record, and what it reports to its observer.

#pragma once

#include "core/base/Errors.h"
#include "core/measure/Limits.h"
#include "core/measure/MeasurementTest.h"
#include "core/measure/TrialKind.h"
#include "core/store/AthleteRepository.h"
#include "core/store/MeasurementRepository.h"

#include <QDateTime>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <optional>

class DataStore;
class Journal;
namespace decoding {
struct ContactPart;
}
class TimingLink;

enum class MeasurementMode { Single, Multiple };

// The phases of a run: idle between runs; starting while the unit is opened and the start
// handshake runs; running between polls; decoding while one result is read; stopping while
// the user's stop is carried out.
enum class RunPhase { Idle, Starting, Running, Decoding, Stopping };

// The four result fields of the window.
enum class ResultField { ContactTime, FlightTime, Efficiency, Height };

// How a run ended.
enum class RunEnd {
    StartFailed,  // the unit did not answer the start command
    UserStop,     // stopped by the user
    Ended,        // ended by the unit, after a single jump, by a violation or a failure
    LimitReached, // a series ended by itself: its jumps were recorded or its time was up
};

// How a series ends by itself, besides the user's stop and the unit's end marker: never,
// after a number of recorded jumps (1 to 999) or after a number of seconds from its first
// contact (1 to 600). Single measurements end after their jump as ever.
struct AutoEnd {
    enum class Kind { None, AfterJumps, AfterSeconds };
    static constexpr int kMaxJumps = 999;
    static constexpr int kMaxSeconds = 600;

    Kind kind = Kind::None;
    int limit = 0;

    // The limit kept within its bounds.
    static AutoEnd afterJumps(int jumps);
    static AutoEnd afterSeconds(int seconds);
};

// A run under a protocol: the mode it records in, whatever the operating mode, and the mark
// its measurement is stored with.
struct ProtocolOfRun {
    MeasurementMode mode = MeasurementMode::Single;
    MeasurementProtocol protocol;
};

// The test a run stores: the one chosen, without a drop height under a protocol of jumps that
// start from the floor (the 10/5); a drop-height profile's drop jumps keep theirs.
MeasurementTest testOfRun(const MeasurementTest& test,
                          const std::optional<ProtocolOfRun>& protocol);

// The measurement that the first recorded jump of a run created, with that jump.
struct NewMeasurement {
    qint64 measurementNumber = 0;
    QDateTime moment;
    bool series = false; // recorded in multiple mode
    qint32 contactMs = 0;
    qint32 flightMs = 0;
    MeasurementTest test;         // as stored with the measurement
    MeasurementProtocol protocol; // as stored with the measurement
};

// What a run reports, in the order it happens. The window shows it.
class SessionObserver {
public:
    virtual ~SessionObserver() = default;
    // The unit is open and the run begins: the window locks the data panel and clears the
    // contact time, flight time and efficiency fields.
    virtual void runStarting() = 0;
    // The start handshake was answered; the run goes on.
    virtual void runStarted() = 0;
    // The user's stop begins.
    virtual void runStopping() = 0;
    virtual void runEnded(RunEnd end) = 0;
    // A result field shows a new text.
    virtual void showField(ResultField field, const QString& text) = 0;
    // A plain message box ("Kalvero", "OK") or an error box ("Fehler").
    virtual void showMessage(const QString& text) = 0;
    virtual void showError(const QString& text) = 0;
    // The first recorded jump of a run created a measurement: a new history entry.
    virtual void measurementCreated(const NewMeasurement& measurement) = 0;
    // A jump was stored under the series key of the run's measurement.
    virtual void jumpRecorded(qint64 seriesKey) = 0;
    // A poll failed (the run is over).
    virtual void pollFailed(const Failure& failure) = 0;
    // The server is away: the jump with that index was kept in the station's journal, as the
    // run's further jumps will be; it is not on the server yet.
    virtual void jumpJournalled(int jumpIndex) { (void)jumpIndex; }
    // A jump was decoded and shown, but the limits kept it from being stored.
    virtual void jumpRejected() {}
};

// The state of one run; reset at every start.
struct RunState {
    qint32 contactMs = 0; // of the result being decoded; -1 = not measured
    qint32 flightMs = 0;
    bool contactValid = false;    // a contact time was accepted during this run
    bool flightValid = false;     // a flight time was accepted during this run
    bool contactInLimits = false; // the current result's contact time passed (or was not
                                  // measured); false at the start of every poll
    bool flightInLimits = false;
    bool endMarkerSeen = false;      // the current result is the closing contact of a series
    bool contactNotMeasured = false; // the current result's contact time was not measured
    // What the last recorded result was: a failed trial is stored excluded, a closing
    // contact is no jump.
    trial::Kind lastRecorded = trial::Kind::Jump;
    bool firstJumpPending = true;
    qint32 jumpCount = 0; // rows recorded in this run, a closing contact among them
    qint64 measurementId = 0;
    qint64 measurementNumber = 0; // of the run's measurement
    qint64 journalEntry = 0;      // the journal's entry once the server was away; 0 before
    // The row the last recorded result was stored as (in the store or the journal).
    Jump lastJump;
};

// The bytes of a result read so far, while the rest is awaited.
struct PendingResult {
    QByteArray bytes;
    bool contactDone = false;    // its contact part was taken
    qsizetype contactLength = 0; // the bytes of its contact part
    quint32 lastByteAt = 0;      // tick of the last byte, or of the start of the result
};

// A measurement run on the timing unit: start and stop, the 100 ms poll that decodes each
// result, the plausibility test, and the decision to record a jump, which it stores under the
// athlete and the measurement the run started with.
class MeasurementSession : public QObject {
    Q_OBJECT
public:
    static constexpr int kPollIntervalMs = 100;
    // While the rest of a result is awaited, the unit is looked at this often.
    static constexpr int kWaitIntervalMs = 10;
    // The most results one poll takes when they wait back to back.
    static constexpr int kResultsPerPoll = 20;

    MeasurementSession(TimingLink& link, DataStore& store, const plausibility::Limits& limits,
                       SessionObserver& observer, QObject* parent = nullptr);
    // A session whose observer is set later (setObserver); until then nobody is told.
    MeasurementSession(TimingLink& link, DataStore& store, const plausibility::Limits& limits,
                       QObject* parent = nullptr);

    void setObserver(SessionObserver& observer) { observer_ = &observer; }
    // The journal that takes the jumps while the store's server is away; none: a jump that
    // cannot be stored ends the run with the error, as on a file.
    void setJournal(Journal* journal) { journal_ = journal; }
    // The names of the run's athlete as the user chose him, kept with a journalled
    // measurement so that it can be shown and matched on the server; set before start().
    void describeAthlete(const Athlete& athlete);

    // The operating mode, read at every decision; it may change while a run goes on, unless
    // the run was started with a mode of its own.
    MeasurementMode mode = MeasurementMode::Single;

    // Starts a run that records for the athlete, under the test (stored with the measurement
    // as testOfRun() gives it).
    // A protocol gives its run a mode of its own, which the operating mode does not change,
    // and its mark, stored with the measurement in the transaction of its first jump. Tells
    // the user when no unit is found. Throws SilentAbort when the unit cannot be configured.
    // A test day (its ID) marks the run's measurement as its trial when it is stored.
    void start(qint64 athleteId, const MeasurementTest& test = {}, AutoEnd autoEnd = {},
               const std::optional<ProtocolOfRun>& protocol = std::nullopt, qint64 testDayId = 0);
    // The user's stop.
    void stop();
    // One poll of the unit: a result whose first byte waits is decoded as far as its bytes
    // have come, and those complete behind it (up to kResultsPerPoll); the rest is awaited by the
    // next polls, which come soon, for up to 2000 ms a byte. Nothing holds the calling thread.
    // Throws when recording fails; the run has ended then.
    void poll();

    RunPhase phase() const { return phase_; }
    // The athlete the current (or last) run records for.
    qint64 athleteId() const { return athleteId_; }
    // The test of the current (or last) run.
    const MeasurementTest& test() const { return test_; }
    const AutoEnd& autoEnd() const { return autoEnd_; }
    // The mode the current (or last) run records in: its protocol's, or the operating mode.
    MeasurementMode runMode() const { return protocol_ ? protocol_->mode : mode; }
    // The protocol of the current (or last) run; none for a run without one.
    const std::optional<ProtocolOfRun>& protocol() const { return protocol_; }
    // The test day of the current (or last) run; 0 for a run of none.
    qint64 testDayId() const { return testDayId_; }
    bool running() const { return phase_ != RunPhase::Idle; }
    const RunState& state() const { return state_; }
    const QTimer& pollTimer() const { return timer_; }
    // Whether the link tells the run when bytes come in (the timer is then only the fallback).
    bool notified() const { return notified_; }
    // A series that ends after a number of seconds counts them from its first contact: the
    // milliseconds left of them, none before that contact or for any other run.
    std::optional<qint32> millisecondsLeft() const;

private:
    void finishStart(bool started);
    void endRun(RunEnd end = RunEnd::Ended);
    // Whether the series' time is up (only between results).
    bool timeIsUp() const;
    enum class ResultStep { Done, Waiting, RunEnded };
    ResultStep continueResult();
    // Take the decoded parts of a result; false when they ended the run.
    bool takeContact(const decoding::ContactPart& contact);
    bool takeFlight(qint32 flightMs);
    void resume(int intervalMs);
    // Applies the verdict of a decoded time; false when it ended the run.
    bool accept(const plausibility::Verdict& verdict, bool& inLimits, bool& valid);
    void evaluate();
    void recordJump();
    void storeJump(const struct RecordedJump& jump, const std::optional<Exclusion>& exclusion);
    void storeOnServer(const RecordedJump& jump, const std::optional<Exclusion>& exclusion);
    // Keeps the jump in the journal; false when there is none to take it.
    bool journalJump(const RecordedJump& jump, const std::optional<Exclusion>& exclusion);
    // The run's journal entry is complete (the run is over).
    void finishJournalEntry();
    // The current jump's efficiency, and its text in the result panel.
    double efficiency() const;
    QString efficiencyText() const;
    void pollFromTimer();
    // Bytes came in: the result is decoded at once, not at the next look of the timer.
    void bytesArrived();
    void stopNotifications();

    TimingLink& link_;
    DataStore& store_;
    const plausibility::Limits& limits_;
    SessionObserver* observer_;
    Journal* journal_ = nullptr;
    JournalledAthlete journalAthlete_;
    QDateTime runMoment_; // when the run's first jump was taken
    QTimer timer_;
    RunPhase phase_ = RunPhase::Idle;
    RunState state_;
    std::optional<PendingResult> pending_;
    qint64 athleteId_ = 0;
    MeasurementTest test_;
    AutoEnd autoEnd_;
    std::optional<ProtocolOfRun> protocol_;
    // The tick at which the athlete first touched the mat in this run: the arrival of the
    // first result, less its contact time; none before it.
    std::optional<quint32> firstContactAt_;
    qint64 testDayId_ = 0;
    bool notified_ = false;
};
