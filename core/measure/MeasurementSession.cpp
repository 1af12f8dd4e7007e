#include "core/measure/MeasurementSession.h"

#include "core/base/Errors.h"
#include "core/link/DeviceFileProblem.h"
#include "core/link/TimingLink.h"
#include "core/link/TimingUnitProtocol.h"
#include "core/measure/Metrics.h"
#include "core/measure/ResultDecoder.h"
#include "core/store/DataStore.h"
#include "core/store/SeriesKey.h"

namespace {

// A wait inside a result ran out: the run ends with the communication-failure message.
struct ResultTimedOut {};

} // namespace

MeasurementSession::MeasurementSession(TimingLink& link, DataStore& store,
                                       const plausibility::Limits& limits,
                                       SessionObserver& observer, QObject* parent)
    : QObject(parent), link_(link), store_(store), limits_(limits), observer_(observer) {
    timer_.setInterval(kPollIntervalMs);
    connect(&timer_, &QTimer::timeout, this, &MeasurementSession::pollFromTimer);
}

void MeasurementSession::start(qint64 athleteId, qint64 lastNummer) {
    if (link_.open() != TimingLink::OpenResult::Opened) {
        observer_.showMessage(noDeviceMessage(link_.openProblem));
        return;
    }
    phase_ = RunPhase::Starting;
    athleteId_ = athleteId;
    lastNummer_ = lastNummer;
    bool started = false;
    try {
        observer_.runStarting();
        observer_.showField(ResultField::ContactTime, QString());
        observer_.showField(ResultField::FlightTime, QString());
        observer_.showField(ResultField::Efficiency, QString());
        state_ = RunState{};
        link_.replyTimedOut = false;
        if (link_.startHandshake(limits_.configurationByte())) {
            timer_.start();
            phase_ = RunPhase::Running;
            started = true;
        }
    } catch (...) {
        finishStart(started);
        throw;
    }
    finishStart(started);
}

void MeasurementSession::finishStart(bool started) {
    if (started) {
        observer_.runStarted();
        return;
    }
    if (link_.replyTimedOut)
        observer_.showError(QStringLiteral("Kommunikationsfehler"));
    link_.close();
    phase_ = RunPhase::Idle;
    observer_.runEnded(RunEnd::StartFailed);
}

void MeasurementSession::stop() {
    timer_.stop();
    phase_ = RunPhase::Stopping;
    observer_.runStopping();
    link_.stopByUser();
    phase_ = RunPhase::Idle;
    observer_.runEnded(RunEnd::UserStop);
}

void MeasurementSession::endRun() {
    timer_.stop();
    if (link_.replyTimedOut)
        observer_.showError(QStringLiteral("Kommunikationsfehler"));
    link_.stopWithoutAnswer();
    phase_ = RunPhase::Idle;
    observer_.runEnded(RunEnd::Ended);
}

void MeasurementSession::pollFromTimer() {
    if (const auto failure = failureOf([this] { poll(); }))
        observer_.pollFailed(*failure);
}

void MeasurementSession::poll() {
    if (phase_ != RunPhase::Running)
        return;
    timer_.stop();
    phase_ = RunPhase::Decoding;
    state_.contactInLimits = false;
    state_.flightInLimits = false;
    state_.endMarkerSeen = false;

    try {
        if (!link_.byteWaiting()) {
            phase_ = RunPhase::Running;
            timer_.start();
            return;
        }
        if (decodeResult()) {
            phase_ = RunPhase::Running;
            timer_.start();
        }
    } catch (const ResultTimedOut&) {
        endRun();
    } catch (...) {
        // A failure of the line, while decoding or recording ends the run; the caller
        // reports it.
        if (phase_ != RunPhase::Idle)
            endRun();
        throw;
    }
}

bool MeasurementSession::decodeResult() {
    const auto contact = decoding::readContactPart(link_.receiveByte(), link_);
    if (!contact)
        throw ResultTimedOut{};
    if (contact->unitEnded) {
        observer_.showField(ResultField::ContactTime, QString());
        endRun();
        return false;
    }
    state_.endMarkerSeen = contact->endMarker;
    state_.contactMs = contact->contactMs;
    if (contact->notMeasured) {
        state_.contactInLimits = true;
    } else if (!accept(plausibility::testContactTime(limits_, state_.contactMs),
                       state_.contactInLimits, state_.contactValid)) {
        return false;
    }
    if (state_.contactValid)
        observer_.showField(ResultField::ContactTime, QString::number(state_.contactMs));
    if (contact->notMeasured)
        observer_.showField(ResultField::ContactTime, QStringLiteral("0"));

    if (state_.endMarkerSeen) {
        state_.flightMs = 0;
        evaluate();
        endRun();
        return false;
    }

    const auto flight = decoding::readFlightTime(link_);
    if (!flight)
        throw ResultTimedOut{};
    state_.flightMs = *flight;
    if (state_.flightMs != timingunit::kTimeNotMeasured &&
        !accept(plausibility::testFlightTime(limits_, state_.flightMs), state_.flightInLimits,
                state_.flightValid))
        return false;

    if (state_.flightValid) {
        observer_.showField(ResultField::FlightTime, QString::number(state_.flightMs));
        observer_.showField(ResultField::Height,
                            metrics::metricText(metrics::heightCm(state_.flightMs)));
        if (!state_.contactValid && mode == MeasurementMode::Single) {
            state_.contactMs = 0;
            evaluate();
            endRun();
            return false;
        }
    }
    if (state_.flightValid && state_.contactValid) {
        observer_.showField(ResultField::Efficiency, metrics::metricText(efficiency()));
        evaluate();
        if (mode == MeasurementMode::Single) {
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
            observer_.showMessage(message);
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

void MeasurementSession::evaluate() {
    if (state_.flightValid)
        observer_.showField(ResultField::FlightTime, QString::number(state_.flightMs));
    if (state_.endMarkerSeen)
        observer_.showField(ResultField::FlightTime, QStringLiteral("0"));
    const bool allInLimits = state_.contactValid && state_.contactInLimits && state_.flightValid &&
                             state_.flightInLimits;
    observer_.showField(ResultField::Efficiency,
                        allInLimits ? metrics::metricText(efficiency()) : QStringLiteral("0"));
    if ((state_.contactInLimits && state_.flightInLimits) || state_.endMarkerSeen)
        recordJump();
}

void MeasurementSession::recordJump() {
    const RecordedJump jump{state_.contactMs, state_.flightMs, metrics::metricValue(efficiency()),
                            state_.jumpCount + 1};
    MeasurementRepository& measurements = store_.measurements();
    if (state_.firstJumpPending) {
        const QDateTime moment = QDateTime::currentDateTime();
        const qint64 nummer = lastNummer_ + 1;
        state_.measurementId = measurements.recordFirstJump(athleteId_, nummer, moment, jump);
        state_.nummer = nummer;
        state_.firstJumpPending = false;
        state_.jumpCount = jump.number;
        observer_.measurementCreated({nummer, moment, mode == MeasurementMode::Multiple,
                                      state_.contactMs, state_.flightMs, efficiency()});
    } else {
        measurements.recordJump(state_.measurementId, jump);
        state_.jumpCount = jump.number;
    }
    observer_.jumpRecorded(seriesKey(athleteId_, state_.nummer));
}
