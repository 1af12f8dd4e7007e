// Connects the measurement session to the result panel, the set-up and the history, and runs the
// protocols.

#include "ui/run/RunController.h"

#include "core/analysis/StoredMeasurements.h"
#include "core/base/Errors.h"
#include "core/history/History.h"
#include "core/station/Station.h"
#include "core/store/AthleteText.h"
#include "core/store/SeriesKey.h"
#include "ui/common/MessageService.h"
#include "ui/history/HistoryController.h"
#include "ui/run/LiveChart.h"
#include "ui/run/ResultPanel.h"
#include "ui/run/RunSetupPanel.h"

#include <QScopedValueRollback>

RunController::RunController(Station& station, ResultPanel& results, RunSetupPanel& setup,
                             HistoryController& history, MessageService& messages)
    : station_(station), results_(results), setup_(setup), history_(history), messages_(messages) {
    station_.session().setObserver(*this);
    showIdle(true);
    QObject::connect(&setup_, &RunSetupPanel::endProfileClicked, this,
                     [this] { runGuarded(messages_, [this] { endProfile(); }); });
    history_.whenSelectionChanges([this] {
        forgetOtherAthletesRun();
        followExclusions();
    });
    history_.whenDeleted([this](qint64 athleteId, std::optional<qint64> measurementNumber) {
        forgetDeleted(athleteId, measurementNumber);
    });
}

RunController::~RunController() = default;

MeasurementSession& RunController::session() {
    return station_.session();
}

void RunController::start(const Athlete& athlete) {
    const QString name = QStringLiteral("%1, %2").arg(athlete.name, athlete.firstName);
    // Kept with a measurement that the journal takes while the server is away.
    station_.session().describeAthlete(athlete);
    if (startList_) {
        athleteName_ = name;
        startTrialOfDay(athlete);
        return;
    }
    const Protocol protocol = setup_.protocol();
    if (protocol == Protocol::DropHeightProfile) {
        athleteName_ = name;
        startProfileTrial(athlete);
        return;
    }
    const MeasurementTest test =
        measurementtest::chosen(setup_.testName(), setup_.dropHeightText());
    athleteName_ = name;
    setup_.clearProtocolTexts();
    if (protocol == Protocol::TenFive)
        station_.session().start(athlete.id, test, protocolrun::tenFiveEnd(),
                                 ProtocolOfRun{MeasurementMode::Multiple, {Protocol::TenFive, 0}});
    else
        station_.session().start(athlete.id, test, setup_.autoEnd());
}

void RunController::openTestDay(qint64 dayId) {
    if (profile_)
        throw AppError(tr("Das Fallhöhen-Profil von %1 ist noch nicht beendet. Beenden Sie es mit "
                          "„Profil beenden“, bevor der Testtag beginnt.")
                           .arg(profileAthleteName_));
    testday::StartList list = testday::startList(station_.store(), dayId);
    startList_ = std::move(list);
    guideAthleteId_ = 0;
    setup_.clearProtocolTexts();
    setup_.showTestDay(startList_->day, testday::settingsText(startList_->day));
    setup_.setProfileActive(startList_->day.protocol == Protocol::DropHeightProfile);
}

void RunController::leaveTestDay() {
    if (!startList_)
        return;
    startList_.reset();
    trial_.reset();
    trialJump_.reset();
    guideAthleteId_ = 0;
    setup_.setProfileActive(false);
    setup_.clearTestDay();
}

void RunController::readStartList() {
    if (!startList_)
        return;
    startList_ = testday::startList(station_.store(), startList_->day.id);
    // The list moves on to the next athlete; the trial just run stays shown, named by its
    // athlete, until the next one starts or the user chooses another athlete.
    const QScopedValueRollback movingOn(followingStartList_, true);
    emit startListChanged();
}

void RunController::startTrialOfDay(const Athlete& athlete) {
    // Read anew: another station may have recorded a trial of the athlete meanwhile.
    readStartList();
    const testday::Trial trial = testday::nextTrial(station_.store(), *startList_, athlete.id,
                                                    athleteName_, QDateTime::currentDateTime());
    setup_.clearProtocolTexts();
    trial_ = trial.position;
    trialJump_.reset();
    if (trial.position)
        setup_.showProfileGuide(
            tr("%1: %2").arg(athleteName_, ProfileRun::positionText(*trial.position)), {}, {});
    station_.session().start(athlete.id, trial.test, trial.autoEnd, trial.protocol,
                             startList_->day.id);
}

void RunController::showGuideOf(qint64 athleteId, const QString& athleteName) {
    if (!startList_ || startList_->day.protocol != Protocol::DropHeightProfile ||
        session().running())
        return;
    guideAthleteId_ = athleteId;
    guideAthleteName_ = athleteName;
    const std::optional<int> at = startList_->placeOf(athleteId);
    if (!at) {
        setup_.showProfileGuide({}, {}, {});
        return;
    }
    const testday::Place& place = startList_->places[*at];
    const ProfileRun run = startList_->profiles.value(
        athleteId, ProfileRun(startList_->day.profileHeightsCm, startList_->day.trialsPerHeight));
    const auto next = run.next();
    const auto finished = run.lastFinishedHeight();
    QString position = place.stopped ? testday::placeText(place)
                       : next        ? ProfileRun::positionText(*next)
                                     : ProfileRun::finishedText();
    setup_.showProfileGuide(tr("%1: %2").arg(athleteName, position),
                            finished ? ProfileRun::heightText(*finished) : QString(),
                            place.stopped ? QString() : protocols::stopAdviceText(run.advice()));
}

void RunController::endProfileOfDay() {
    if (guideAthleteId_ == 0 || session().running())
        return;
    const std::optional<int> at = startList_->placeOf(guideAthleteId_);
    if (!at)
        return;
    const qint64 athleteId = guideAthleteId_;
    const QString name = guideAthleteName_;
    // His profile ends for the day: the start list passes him over from now on.
    station_.store().testDays().stopAthlete(startList_->day.id, athleteId,
                                            QDateTime::currentDateTime());
    const auto& athletes = station_.store().testDays().athletesOf(startList_->day.id);
    qint64 profileId = 0;
    for (const TestDayAthlete& a : athletes)
        if (a.athleteId == athleteId)
            profileId = a.profileId;
    readStartList();
    if (profileId == 0)
        return;
    const protocols::Profile result = protocols::dropHeightProfile(
        protocolrun::storedTrials(station_.store().measurements(), profileId));
    if (!result.steps.isEmpty())
        emit profileEnded(result, name);
}

void RunController::startProfileTrial(const Athlete& athlete) {
    if (!profile_) {
        // The profile begins with its first start: its plan is kept before the first trial.
        ProfileRun run(protocolrun::parseHeights(setup_.profileHeightsText()),
                       setup_.trialsPerHeight());
        profileId_ = station_.store().measurements().createProfile(
            athlete.id, QDateTime::currentDateTime(), run.heightsCm(), run.trialsPerHeight());
        profile_ = std::move(run);
        profileAthleteId_ = athlete.id;
        profileAthleteName_ = athleteName_;
        setup_.setProfileActive(true);
        showProfileGuide();
    } else if (athlete.id != profileAthleteId_) {
        throw AppError(tr("Das Fallhöhen-Profil von %1 ist noch nicht beendet. Wählen Sie %1 "
                          "für den nächsten Versuch, oder beenden Sie das Profil mit „Profil "
                          "beenden“.")
                           .arg(profileAthleteName_));
    }
    trial_ = profile_->next();
    if (!trial_) {
        boxes::plain(messages_, ProfileRun::finishedText());
        return;
    }
    trialJump_.reset();
    station_.session().start(
        athlete.id, MeasurementTest{QStringLiteral("Drop Jump"), trial_->heightCm}, {},
        ProtocolOfRun{MeasurementMode::Single, {Protocol::DropHeightProfile, profileId_}});
}

void RunController::showProfileGuide() {
    if (!profile_)
        return;
    const auto next = profile_->next();
    const auto finished = profile_->lastFinishedHeight();
    setup_.showProfileGuide(next ? ProfileRun::positionText(*next) : ProfileRun::finishedText(),
                            finished ? ProfileRun::heightText(*finished) : QString(),
                            protocols::stopAdviceText(profile_->advice()));
}

void RunController::endProfile() {
    if (startList_) {
        endProfileOfDay();
        return;
    }
    if (!profile_ || session().running())
        return;
    // The result as stored, without the jumps excluded since. A store that cannot be read
    // leaves the profile going on, to be ended again.
    const protocols::Profile result = protocols::dropHeightProfile(
        protocolrun::storedTrials(station_.store().measurements(), profileId_));
    const QString name = profileAthleteName_;
    profile_.reset();
    trial_.reset();
    trialJump_.reset();
    profileId_ = 0;
    profileAthleteId_ = 0;
    setup_.setProfileActive(false);
    if (result.steps.isEmpty()) {
        results_.showStatus(tr("Profil beendet: kein Versuch gespeichert."));
        return;
    }
    emit profileEnded(result, name);
}

void RunController::takeProfileTrial() {
    const auto protocol = session().protocol();
    if (!profile_ || !trial_ || !protocol || protocol->protocol.kind != Protocol::DropHeightProfile)
        return;
    if (trialJump_) {
        profile_->addTrial({trial_->heightCm, *trialJump_});
        if (!analysis::isValidJump(*trialJump_))
            results_.showStatus(tr("Sprung ohne gültige Zeiten: der Versuch wird wiederholt."),
                                true);
    }
    trial_.reset();
    trialJump_.reset();
    showProfileGuide();
}

void RunController::showTenFiveResult() {
    const auto protocol = session().protocol();
    if (!protocol || protocol->protocol.kind != Protocol::TenFive)
        return;
    QList<analysis::StoredJump> jumps;
    if (createdMeasurementNumber_)
        jumps = analysis::storedJumps(station_.store().measurements().jumpsOf(
            seriesKey(session().athleteId(), *createdMeasurementNumber_)));
    QString note;
    const auto result = protocols::tenFive(jumps, &note);
    setup_.showProtocolResult(result ? protocolrun::tenFiveText(*result) : note, !result);
    results_.liveChart().markJumps(result ? result->bestJumpIndexes : QList<int>());
}

void RunController::followExclusions() {
    // Only the last run's series, chosen in the history, shows in the chart.
    if (session().running() || !createdMeasurementNumber_ ||
        session().runMode() != MeasurementMode::Multiple ||
        history_.athleteId() != session().athleteId() ||
        history_.selectedMeasurementNumber() != createdMeasurementNumber_)
        return;
    QList<int> excluded;
    for (const Jump& jump : station_.store().measurements().jumpsOf(
             seriesKey(session().athleteId(), *createdMeasurementNumber_)))
        if (jump.excluded)
            excluded << static_cast<int>(jump.jumpIndex);
    results_.liveChart().setExcludedJumps(excluded);
    showTenFiveResult();
}

void RunController::forgetDeleted(qint64 athleteId, std::optional<qint64> measurementNumber) {
    if (session().running() || !createdMeasurementNumber_ || athleteId != session().athleteId() ||
        (measurementNumber && measurementNumber != createdMeasurementNumber_))
        return;
    clearShownRun();
}

void RunController::forgetOtherAthletesRun() {
    if (session().running() || followingStartList_ || shownAthleteId_ == 0 ||
        history_.athleteId() == shownAthleteId_)
        return;
    clearShownRun();
}

void RunController::clearShownRun() {
    createdMeasurementNumber_.reset();
    shownAthleteId_ = 0;
    for (const ResultField field : {ResultField::ContactTime, ResultField::FlightTime,
                                    ResultField::Efficiency, ResultField::Height})
        results_.showField(field, QString());
    results_.showStatus(QString());
    // A profile that goes on keeps its guide.
    if (!profile_)
        setup_.clearProtocolTexts();
    results_.liveChart().clear();
    results_.showLiveChart(false);
    emit shownRunCleared();
}

void RunController::showIdle(bool idle) {
    results_.showRunning(!idle);
    emit startCaptionChanged(results_.startCaption());
}

void RunController::setStartEnabled(bool enabled) {
    results_.setStartEnabled(enabled);
    emit startEnabledChanged(enabled);
}

void RunController::showRunStatus() {
    const RunState& state = session().state();
    // The count is of jumps with a flight time: the closing contact is none.
    const bool closing = state.jumpCount > 0 && state.lastRecorded == trial::Kind::ClosingContact;
    const qint32 jumps = state.jumpCount - (closing ? 1 : 0);
    if (closing)
        results_.showStatus(
            jumps == 0 ? tr("%1 – Abschlusskontakt").arg(athleteName_)
                       : tr("%1 – Sprung %2, Abschlusskontakt").arg(athleteName_).arg(jumps));
    else if (jumps > 0 && state.lastRecorded == trial::Kind::FailedTrial)
        results_.showStatus(
            tr("%1 – Sprung %2: Fehlversuch, ausgeschlossen").arg(athleteName_).arg(jumps), true);
    else
        results_.showStatus(jumps == 0 ? athleteName_
                                       : tr("%1 – Sprung %2").arg(athleteName_).arg(jumps));
}

void RunController::runStarting() {
    shownAthleteId_ = session().athleteId();
    emit lockChanges(true);
    showIdle(false);
    setStartEnabled(false);
    if (session().runMode() == MeasurementMode::Single)
        history_.showSingleLayout();
    else
        history_.showSeriesLayout();
    history_.showNoJumps();
    setup_.setRunChoicesEnabled(false);
    createdMeasurementNumber_.reset();
    // A series grows its chart from nothing; the chart of the last one goes.
    const bool series = session().runMode() == MeasurementMode::Multiple;
    results_.liveChart().clear();
    results_.showLiveChart(series);
    results_.setEnlarged(true);
    showRunStatus();
    const AutoEnd& end = session().autoEnd();
    emit runShown(athleteName_, series && end.kind == AutoEnd::Kind::AfterSeconds
                                    ? std::optional<int>(end.limit)
                                    : std::nullopt);
}

void RunController::runStarted() {
    setStartEnabled(true);
}

void RunController::runStopping() {
    setStartEnabled(false);
}

void RunController::runEnded(RunEnd end) {
    // The chart shows every jump of the run once it is over.
    results_.liveChart().showPending();
    if (end != RunEnd::StartFailed)
        emit runOver(session().runMode() == MeasurementMode::Multiple);
    results_.setEnlarged(false);
    setup_.setRunChoicesEnabled(true);
    emit lockChanges(false);
    showIdle(true);
    setStartEnabled(true);
    if (end == RunEnd::StartFailed) {
        results_.showStatus(QString());
        trial_.reset();
        return;
    }
    // A profile's trial counts before anything is read again, which may fail.
    takeProfileTrial();
    // The newest measurement is the chosen one, with its layout and jumps. A failure to read
    // it goes with the run's end, which tells the user once. A run whose jumps went to the
    // journal told the user already where they are; the list shows them from there until
    // they are on the server.
    if (session().state().journalEntry != 0) {
        history_.showJournalled();
    } else {
        history_.chooseNewest();
        showTenFiveResult();
    }
    // The day's start list counts the trial, and the window moves on to the next athlete.
    if (startList_) {
        trial_.reset();
        trialJump_.reset();
        runGuarded(messages_, [this] { readStartList(); });
    }
}

void RunController::showField(ResultField field, const QString& text) {
    results_.showField(field, text);
    // A new jump replaces the note on the one before.
    if (field == ResultField::ContactTime && !text.isEmpty() && session().running())
        showRunStatus();
}

void RunController::showMessage(const QString& text) {
    boxes::plain(messages_, text);
}

void RunController::showError(const QString& text) {
    boxes::error(messages_, text);
}

void RunController::measurementCreated(const NewMeasurement& m) {
    createdMeasurementNumber_ = m.measurementNumber;
    if (trial_)
        trialJump_ = analysis::StoredJump{static_cast<double>(m.contactMs),
                                          static_cast<double>(m.flightMs), 1};
    const QStringList values =
        m.series ? history::seriesTexts() : history::jumpTexts(m.contactMs, m.flightMs);
    // The newest entry's number follows the entries listed so far.
    history::Entry entry = history::makeEntry(history_.entryCount() + 1, m.moment, values,
                                              m.measurementNumber, QString(), m.test);
    entry.protocol = m.protocol;
    history_.addRecorded(entry);
}

void RunController::jumpRecorded(qint64 /*seriesKey*/) {
    const RunState& state = session().state();
    // A failed trial shows as excluded; the closing contact keeps an empty place.
    const bool failed = state.lastRecorded == trial::Kind::FailedTrial;
    LiveChart& chart = results_.liveChart();
    const analysis::StoredJump jump{static_cast<double>(state.contactMs),
                                    static_cast<double>(state.flightMs), state.jumpCount, failed,
                                    failed ? trial::failedTrialReason() : QString()};
    chart.addJump(jump);
    if (state.lastRecorded != trial::Kind::ClosingContact)
        emit placeRecorded(jump);
    // The jump as stored joins the grid; nothing of the series is read again.
    using analysis::SeriesValue;
    history_.showRecordedJump(state.lastJump,
                              history::bestTexts(chart.series().best(SeriesValue::Height),
                                                 chart.series().best(SeriesValue::Rsi)));
    showRunStatus();
}

void RunController::jumpJournalled(int jumpIndex) {
    const RunState& state = session().state();
    const bool failed = state.lastRecorded == trial::Kind::FailedTrial;
    const analysis::StoredJump jump{static_cast<double>(state.contactMs),
                                    static_cast<double>(state.flightMs), jumpIndex, failed,
                                    failed ? trial::failedTrialReason() : QString()};
    results_.liveChart().addJump(jump);
    if (state.lastRecorded != trial::Kind::ClosingContact)
        emit placeRecorded(jump);
    // The run goes on; the user learns where its jumps are.
    results_.showStatus(tr("Server nicht erreichbar – Sprünge werden auf diesem Rechner "
                           "zwischengespeichert"),
                        true);
}

void RunController::jumpRejected() {
    results_.liveChart().addRejected();
    emit placeRecorded(std::nullopt);
    results_.showStatus(tr("außerhalb der Grenzen, nicht gespeichert"), true);
}

void RunController::pollFailed(const Failure& failure) {
    boxes::generalError(messages_, errorReportText(failure.text), failure.detail);
}
