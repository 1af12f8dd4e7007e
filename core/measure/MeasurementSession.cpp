// The measurement session: start, poll, decoding, the limits, recording and the end of a run.

#include "core/measure/MeasurementSession.h"

#include "core/base/Clock.h"
#include "core/base/Errors.h"
#include "core/base/StationIdentity.h"
#include "core/link/DeviceFileProblem.h"
#include "core/link/TimingLink.h"
#include "core/link/TimingUnitProtocol.h"
#include "core/measure/Metrics.h"
#include "core/measure/ResultDecoder.h"
#include "core/store/DataStore.h"
#include "core/store/Journal.h"
#include "core/store/SeriesKey.h"

#include <QCoreApplication>

#include <algorithm>
#include <exception>

namespace {

// The texts of this file that the user reads, in the translation context "MeasurementSession".
struct MeasurementSessionTexts {
    Q_DECLARE_TR_FUNCTIONS(MeasurementSession)
};

} // namespace

namespace {

// Stands in for the observer until the window sets its own.
class UnobservedRun : public SessionObserver {
public:
    void runStarting() override {}
    void runStarted() override {}
    void runStopping() override {}
    void runEnded(RunEnd) override {}
    void showField(ResultField, const QString&) override {}
    void showMessage(const QString&) override {}
    void showError(const QString&) override {}
    void measurementCreated(const NewMeasurement&) override {}
    void jumpRecorded(qint64) override {}
    void pollFailed(const Failure&) override {}
};

UnobservedRun unobserved;

} // namespace

MeasurementSession::MeasurementSession(TimingLink& link, DataStore& store,
                                       const plausibility::Limits& limits,
                                       SessionObserver& observer, QObject* parent)
    : MeasurementSession(link, store, limits, parent) {
    observer_ = &observer;
}

MeasurementSession::MeasurementSession(TimingLink& link, DataStore& store,
                                       const plausibility::Limits& limits, QObject* parent)
    : QObject(parent), link_(link), store_(store), limits_(limits), observer_(&unobserved) {
    timer_.setInterval(kPollIntervalMs);
    connect(&timer_, &QTimer::timeout, this, &MeasurementSession::pollFromTimer);
}

MeasurementTest testOfRun(const MeasurementTest& test,
                          const std::optional<ProtocolOfRun>& protocol) {
    MeasurementTest stored = test;
    if (protocol && protocol->protocol.kind == Protocol::TenFive)
        stored.dropHeightCm.reset();
    return stored;
}

AutoEnd AutoEnd::afterJumps(int jumps) {
    return {Kind::AfterJumps, std::clamp(jumps, 1, kMaxJumps)};
}

AutoEnd AutoEnd::afterSeconds(int seconds) {
    return {Kind::AfterSeconds, std::clamp(seconds, 1, kMaxSeconds)};
}

void MeasurementSession::start(qint64 athleteId, const MeasurementTest& test, AutoEnd autoEnd,
                               const std::optional<ProtocolOfRun>& protocol, qint64 testDayId) {
    if (link_.open() != TimingLink::OpenResult::Opened) {
        observer_->showMessage(noDeviceMessage(link_.openProblem));
        return;
    }
    phase_ = RunPhase::Starting;
    // Names described for another athlete are not this one's.
    if (journalAthlete_.serverId != athleteId)
        journalAthlete_ = {athleteId, 0, {}, {}, {}, -1, {}};
    athleteId_ = athleteId;
    test_ = testOfRun(test, protocol);
    autoEnd_ = autoEnd;
    protocol_ = protocol;
    testDayId_ = testDayId;
    bool started = false;
    try {
        // The run begins with nothing recorded: what the observer reads of it now is new.
        state_ = RunState{};
        observer_->runStarting();
        observer_->showField(ResultField::ContactTime, QString());
        observer_->showField(ResultField::FlightTime, QString());
        observer_->showField(ResultField::Efficiency, QString());
        observer_->showField(ResultField::Height, QString());
        link_.replyTimedOut = false;
        if (link_.startHandshake(limits_.configurationByte())) {
            firstContactAt_.reset();
            timer_.start();
            notified_ = link_.notifyArrival([this] { bytesArrived(); });
            phase_ = RunPhase::Running;
            started = true;
        }
    } catch (...) {
        finishStart(started);
        throw;
    }
    finishStart(started);
}

void MeasurementSession::describeAthlete(const Athlete& athlete) {
    journalAthlete_ = {athlete.id,        0,           athlete.name,  athlete.firstName,
                       athlete.birthDate, athlete.sex, athlete.remark};
}

void MeasurementSession::finishStart(bool started) {
    if (started) {
        observer_->runStarted();
        return;
    }
    if (link_.replyTimedOut)
        observer_->showError(MeasurementSessionTexts::tr("Kommunikationsfehler"));
    link_.close();
    phase_ = RunPhase::Idle;
    observer_->runEnded(RunEnd::StartFailed);
}

void MeasurementSession::stop() {
    timer_.stop();
    stopNotifications();
    pending_.reset();
    phase_ = RunPhase::Stopping;
    observer_->runStopping();
    link_.stopByUser();
    finishJournalEntry();
    phase_ = RunPhase::Idle;
    observer_->runEnded(RunEnd::UserStop);
}

void MeasurementSession::endRun(RunEnd end) {
    timer_.stop();
    stopNotifications();
    pending_.reset();
    if (link_.replyTimedOut)
        observer_->showError(MeasurementSessionTexts::tr("Kommunikationsfehler"));
    link_.stopWithoutAnswer();
    finishJournalEntry();
    phase_ = RunPhase::Idle;
    observer_->runEnded(end);
}

std::optional<qint32> MeasurementSession::millisecondsLeft() const {
    if (runMode() != MeasurementMode::Multiple || autoEnd_.kind != AutoEnd::Kind::AfterSeconds ||
        !firstContactAt_)
        return std::nullopt;
    const quint32 limit = static_cast<quint32>(autoEnd_.limit) * 1000u;
    const quint32 passed = ticksSince(*firstContactAt_, link_.clock().ticks());
    return passed >= limit ? 0 : static_cast<qint32>(limit - passed);
}

bool MeasurementSession::timeIsUp() const {
    const auto left = millisecondsLeft();
    return left && *left == 0;
}

void MeasurementSession::stopNotifications() {
    if (notified_)
        link_.notifyArrival({});
    notified_ = false;
}

void MeasurementSession::bytesArrived() {
    // Between results and while the rest of one is awaited; never inside a poll.
    if (phase_ == RunPhase::Running)
        pollFromTimer();
}

void MeasurementSession::pollFromTimer() {
    if (const auto failure = failureOf([this] { poll(); }))
        observer_->pollFailed(*failure);
}

namespace {

// The bytes of the result being read: those taken before, again, then what the link has
// waiting now. Nothing when the next byte has not come yet.
class ResultBytes : public ByteSource {
public:
    ResultBytes(PendingResult& result, TimingLink& link, qsizetype from)
        : result_(result), link_(link), position_(from) {}
    std::optional<quint8> nextByte() override {
        if (position_ < result_.bytes.size())
            return static_cast<quint8>(result_.bytes[position_++]);
        if (!link_.byteWaiting())
            return std::nullopt;
        const quint8 byte = link_.receiveByte();
        result_.bytes.append(static_cast<char>(byte));
        result_.lastByteAt = link_.clock().ticks();
        ++position_;
        return byte;
    }
    qsizetype position() const { return position_; }

private:
    PendingResult& result_;
    TimingLink& link_;
    qsizetype position_;
};

} // namespace

void MeasurementSession::resume(int intervalMs) {
    phase_ = RunPhase::Running;
    timer_.start(intervalMs);
}

void MeasurementSession::poll() {
    if (phase_ != RunPhase::Running)
        return;
    timer_.stop();
    phase_ = RunPhase::Decoding;
    try {
        // A queue poll that fails (the line is gone) throws, and ends the run below. Results
        // that came back to back are taken in one go, a few at a time: the window then shows
        // them together instead of one by one, and still answers in between.
        for (int taken = 1;; ++taken) {
            if (!pending_) {
                state_.contactInLimits = false;
                state_.flightInLimits = false;
                state_.endMarkerSeen = false;
                state_.contactNotMeasured = false;
                if (timeIsUp()) {
                    endRun(RunEnd::LimitReached);
                    return;
                }
                if (!link_.byteWaiting()) {
                    resume(kPollIntervalMs);
                    return;
                }
                pending_ = PendingResult{};
                pending_->lastByteAt = link_.clock().ticks();
            }
            switch (continueResult()) {
            case ResultStep::Done:
                pending_.reset();
                if (runMode() == MeasurementMode::Multiple &&
                    autoEnd_.kind == AutoEnd::Kind::AfterJumps &&
                    state_.jumpCount >= autoEnd_.limit) {
                    endRun(RunEnd::LimitReached);
                    return;
                }
                if (taken < kResultsPerPoll && phase_ == RunPhase::Decoding && link_.byteWaiting())
                    continue;
                resume(kPollIntervalMs);
                return;
            case ResultStep::RunEnded:
                pending_.reset();
                return;
            case ResultStep::Waiting:
                // The rest of the result is awaited without holding the window: the next
                // look comes soon, and after 2000 ms without a byte the run ends.
                if (ticksSince(pending_->lastByteAt, link_.clock().ticks()) >
                    timingunit::kByteLimitMs) {
                    pending_.reset();
                    link_.replyTimedOut = true;
                    endRun();
                } else {
                    resume(kWaitIntervalMs);
                }
                return;
            }
        }
    } catch (...) {
        // A failure of the line, while decoding or recording ends the run; the caller
        // reports it. That failure is the one the user reads (it names the jump that was
        // lost): one of the run's end, such as the history read again from a server that
        // is still away, only goes to the log.
        pending_.reset();
        if (phase_ != RunPhase::Idle) {
            const std::exception_ptr first = std::current_exception();
            if (const auto later = failureOf([this] { endRun(); }))
                qWarning("kalvero: beim Ende der Messung: %s%s", qUtf8Printable(later->text),
                         qUtf8Printable(later->detail.isEmpty()
                                            ? QString()
                                            : QStringLiteral(" (%1)").arg(later->detail)));
            std::rethrow_exception(first);
        }
        throw;
    }
}

MeasurementSession::ResultStep MeasurementSession::continueResult() {
    if (!pending_->contactDone) {
        ResultBytes bytes(*pending_, link_, 0);
        const auto first = bytes.nextByte();
        if (!first)
            return ResultStep::Waiting;
        const auto contact = decoding::readContactPart(*first, bytes);
        if (!contact)
            return ResultStep::Waiting;
        pending_->contactDone = true;
        pending_->contactLength = bytes.position();
        if (!takeContact(*contact))
            return ResultStep::RunEnded;
    }
    ResultBytes bytes(*pending_, link_, pending_->contactLength);
    const auto flight = decoding::readFlightTime(bytes);
    if (!flight)
        return ResultStep::Waiting;
    return takeFlight(*flight) ? ResultStep::Done : ResultStep::RunEnded;
}

bool MeasurementSession::takeContact(const decoding::ContactPart& contact) {
    if (contact.unitEnded) {
        observer_->showField(ResultField::ContactTime, QString());
        endRun();
        return false;
    }
    state_.endMarkerSeen = contact.endMarker;
    state_.contactNotMeasured = contact.notMeasured;
    state_.contactMs = contact.contactMs;
    // The time of a series counts from the moment the athlete first touched the mat: the
    // contact that the first result reports began its contact time before the result came.
    if (!firstContactAt_)
        firstContactAt_ =
            pending_->lastByteAt -
            static_cast<quint32>(contact.notMeasured ? 0 : std::max(0, state_.contactMs));
    if (contact.notMeasured) {
        state_.contactInLimits = true;
    } else if (!accept(plausibility::testContactTime(limits_, state_.contactMs),
                       state_.contactInLimits, state_.contactValid)) {
        return false;
    }
    if (state_.contactValid)
        observer_->showField(ResultField::ContactTime, QString::number(state_.contactMs));
    if (contact.notMeasured)
        observer_->showField(ResultField::ContactTime, QStringLiteral("0"));

    if (state_.endMarkerSeen) {
        state_.flightMs = 0;
        evaluate();
        endRun();
        return false;
    }
    return true;
}

bool MeasurementSession::takeFlight(qint32 flightMs) {
    state_.flightMs = flightMs;
    if (state_.flightMs != timingunit::kTimeNotMeasured &&
        !accept(plausibility::testFlightTime(limits_, state_.flightMs), state_.flightInLimits,
                state_.flightValid))
        return false;

    if (state_.flightValid) {
        observer_->showField(ResultField::FlightTime, QString::number(state_.flightMs));
        observer_->showField(ResultField::Height,
                             metrics::heightText(metrics::heightCm(state_.flightMs)));
        if (!state_.contactValid && runMode() == MeasurementMode::Single) {
            state_.contactMs = 0;
            evaluate();
            endRun();
            return false;
        }
    }
    if (state_.flightValid && state_.contactValid) {
        observer_->showField(ResultField::Efficiency, efficiencyText());
        evaluate();
        if (runMode() == MeasurementMode::Single) {
            endRun();
            return false;
        }
    }
    return true;
}

bool MeasurementSession::accept(const plausibility::Verdict& verdict, bool& inLimits, bool& valid) {
    if (verdict.inLimits) {
        inLimits = true;
        valid = true;
    } else if (verdict.stopRun) {
        for (const QString& message : verdict.messages)
            observer_->showMessage(message);
        endRun();
        return false;
    } else {
        // Without the abort option an implausible time is shown but not recorded.
        valid = true;
    }
    return true;
}

double MeasurementSession::efficiency() const {
    return metrics::efficiency(state_.flightMs, state_.contactMs);
}

QString MeasurementSession::efficiencyText() const {
    return metrics::efficiencyText(state_.flightMs, state_.contactMs);
}

void MeasurementSession::evaluate() {
    if (state_.endMarkerSeen) {
        // The closing contact is no jump: it shows its contact time alone, never a flight
        // time, height or efficiency of 0 beside the last jump's.
        for (const ResultField field :
             {ResultField::FlightTime, ResultField::Efficiency, ResultField::Height})
            observer_->showField(field, QString());
        recordJump();
        return;
    }
    if (state_.flightValid)
        observer_->showField(ResultField::FlightTime, QString::number(state_.flightMs));
    const bool allInLimits = state_.contactValid && state_.contactInLimits && state_.flightValid &&
                             state_.flightInLimits;
    observer_->showField(ResultField::Efficiency,
                         allInLimits ? efficiencyText() : QStringLiteral("0"));
    if (state_.contactInLimits && state_.flightInLimits)
        recordJump();
    else
        observer_->jumpRejected();
}

void MeasurementSession::recordJump() {
    const RecordedJump jump{state_.contactMs, state_.flightMs, metrics::metricValue(efficiency()),
                            state_.jumpCount + 1};
    // A trial whose contact or flight time the unit did not measure is stored as ever, and
    // excluded from every statistic at once.
    const trial::Kind kind =
        trial::kindOf(!state_.contactNotMeasured, state_.flightMs != timingunit::kTimeNotMeasured,
                      state_.endMarkerSeen);
    std::optional<Exclusion> exclusion;
    if (kind == trial::Kind::FailedTrial)
        exclusion = Exclusion{trial::failedTrialReason(), station::userName(),
                              QDateTime::currentDateTime()};
    try {
        storeJump(jump, exclusion);
    } catch (const AppError& e) {
        // A cause the user can act on is told with the jump that was lost.
        if (e.detail().isEmpty())
            throw;
        QString text = e.text();
        if (!text.endsWith(QLatin1Char('.')))
            text += QLatin1Char('.');
        throw AppError(text + MeasurementSessionTexts::tr(" Der Sprung %1 wurde nicht gespeichert.")
                                  .arg(jump.jumpIndex),
                       e.detail());
    }
    state_.lastRecorded = kind;
    state_.lastJump = Jump{static_cast<double>(seriesKey(athleteId_, state_.measurementNumber)),
                           static_cast<double>(jump.contactMs),
                           static_cast<double>(jump.flightMs),
                           jump.efficiency,
                           static_cast<double>(jump.jumpIndex),
                           exclusion.has_value(),
                           exclusion ? exclusion->reason : QString()};
    if (state_.journalEntry != 0) {
        observer_->jumpJournalled(jump.jumpIndex);
        return;
    }
    observer_->jumpRecorded(seriesKey(athleteId_, state_.measurementNumber));
    // The log of the file is copied into it once the jump is shown, not on a jump's way to
    // the disk.
    QTimer::singleShot(0, this, [this] {
        if (store_.isOpen())
            store_.checkpointIfDue();
    });
}

void MeasurementSession::finishJournalEntry() {
    if (state_.journalEntry == 0 || journal_ == nullptr)
        return;
    // A journal that cannot note the end leaves the entry open until the next start, which
    // finishes it with the jumps it holds.
    (void)failureOf([&] { journal_->finish(state_.journalEntry); });
}

bool MeasurementSession::journalJump(const RecordedJump& jump,
                                     const std::optional<Exclusion>& exclusion) {
    if (journal_ == nullptr)
        return false;
    if (state_.journalEntry == 0) {
        if (state_.firstJumpPending)
            runMoment_ = QDateTime::currentDateTime();
        state_.journalEntry =
            journal_->begin(journalAthlete_, runMoment_, test_,
                            protocol_ ? protocol_->protocol : MeasurementProtocol{},
                            state_.firstJumpPending ? 0 : state_.measurementId, jump, exclusion);
    } else {
        journal_->add(state_.journalEntry, jump, exclusion);
    }
    state_.jumpCount = jump.jumpIndex;
    return true;
}

void MeasurementSession::storeJump(const RecordedJump& jump,
                                   const std::optional<Exclusion>& exclusion) {
    // Once the server was away, the run's jumps stay in the journal: a series is never split
    // across more places than the server's part and the journal's.
    if (state_.journalEntry != 0 || (journal_ != nullptr && store_.serverAway())) {
        journalJump(jump, exclusion);
        return;
    }
    try {
        storeOnServer(jump, exclusion);
    } catch (const AppError&) {
        if (journal_ == nullptr || !store_.serverAway())
            throw;
        journalJump(jump, exclusion);
    }
}

void MeasurementSession::storeOnServer(const RecordedJump& jump,
                                       const std::optional<Exclusion>& exclusion) {
    MeasurementRepository& measurements = store_.measurements();
    if (state_.firstJumpPending) {
        const Measurement created = measurements.recordFirstJump(
            athleteId_, QDateTime::currentDateTime(), jump, test_,
            protocol_ ? protocol_->protocol : MeasurementProtocol{}, exclusion, testDayId_);
        state_.measurementId = created.id;
        runMoment_ = created.moment;
        state_.measurementNumber = created.measurementNumber;
        state_.firstJumpPending = false;
        state_.jumpCount = jump.jumpIndex;
        observer_->measurementCreated({created.measurementNumber, created.moment,
                                       runMode() == MeasurementMode::Multiple, state_.contactMs,
                                       state_.flightMs, created.test, created.protocol});
    } else {
        measurements.recordJump(state_.measurementId, jump, exclusion);
        state_.jumpCount = jump.jumpIndex;
    }
}
