#include "ui/RunController.h"

#include "core/base/Errors.h"
#include "core/history/History.h"
#include "core/station/Station.h"
#include "core/store/AthleteText.h"
#include "ui/HistoryController.h"
#include "ui/LiveChart.h"
#include "ui/MessageService.h"
#include "ui/ResultPanel.h"

RunController::RunController(Station& station, ResultPanel& panel, HistoryController& history,
                             MessageService& ui)
    : station_(station), panel_(panel), history_(history), ui_(ui) {
    station_.session().setObserver(*this);
    showIdle(true);
}

RunController::~RunController() = default;

MeasurementSession& RunController::session() {
    return station_.session();
}

void RunController::start(const Athlete& athlete) {
    const MeasurementTest test =
        measurementtest::chosen(panel_.testName(), panel_.dropHeightText());
    athleteName_ = QStringLiteral("%1, %2").arg(athlete.name, athlete.firstName);
    station_.session().start(athlete.id, test, panel_.autoEnd());
}

void RunController::offerTestOf(qint64 athleteId) {
    std::optional<MeasurementTest> last;
    // A store that cannot be read says so where the history is read.
    if (athleteId != 0 && station_.store().isOpen()) {
        try {
            last = station_.store().measurements().lastTestOf(athleteId);
        } catch (const AppError&) {
        }
    }
    panel_.showTest(last.value_or(MeasurementTest{}));
}

void RunController::showIdle(bool idle) {
    panel_.showRunning(!idle);
    emit startCaptionChanged(panel_.startCaption());
}

void RunController::setStartEnabled(bool enabled) {
    panel_.setStartEnabled(enabled);
    emit startEnabledChanged(enabled);
}

void RunController::showRunStatus() {
    const qint32 jumps = session().state().jumpCount;
    panel_.showStatus(jumps == 0 ? athleteName_
                                 : tr("%1 – Sprung %2").arg(athleteName_).arg(jumps));
}

void RunController::runStarting() {
    emit lockChanges(true);
    showIdle(false);
    setStartEnabled(false);
    if (session().mode == MeasurementMode::Single)
        history_.showSingleLayout();
    else
        history_.showSeriesLayout();
    history_.showNoJumps();
    panel_.setRunChoicesEnabled(false);
    // A series grows its chart from nothing; the chart of the last one goes.
    const bool series = session().mode == MeasurementMode::Multiple;
    panel_.liveChart().clear();
    panel_.showLiveChart(series);
    panel_.setEnlarged(true);
    showRunStatus();
}

void RunController::runStarted() {
    setStartEnabled(true);
}

void RunController::runStopping() {
    setStartEnabled(false);
}

void RunController::runEnded(RunEnd end) {
    panel_.setEnlarged(false);
    panel_.setRunChoicesEnabled(true);
    emit lockChanges(false);
    showIdle(true);
    setStartEnabled(true);
    if (end == RunEnd::StartFailed) {
        panel_.showStatus(QString());
        return;
    }
    // The newest measurement is the chosen one, with its layout and jumps. A failure to read
    // it goes with the run's end, which tells the user once.
    history_.chooseNewest();
}

void RunController::showField(ResultField field, const QString& text) {
    panel_.showField(field, text);
    // A new jump replaces the note on the one before.
    if (field == ResultField::ContactTime && !text.isEmpty() && session().running())
        showRunStatus();
}

void RunController::showMessage(const QString& text) {
    boxes::plain(ui_, text);
}

void RunController::showError(const QString& text) {
    boxes::error(ui_, text);
}

void RunController::measurementCreated(const NewMeasurement& m) {
    const QStringList values =
        m.series ? history::seriesTexts() : history::jumpTexts(m.contactMs, m.flightMs);
    // The newest entry's number follows the entries listed so far.
    history_.addRecorded(history::makeEntry(history_.entryCount() + 1, m.moment, values, m.nummer,
                                            QString(), m.test));
}

void RunController::jumpRecorded(qint64 seriesKey) {
    const RunState& state = session().state();
    panel_.liveChart().addJump({static_cast<double>(state.contactMs),
                                static_cast<double>(state.flightMs), state.jumpCount});
    history_.showJumpsOfSeries(seriesKey);
    showRunStatus();
}

void RunController::jumpRejected() {
    panel_.liveChart().addRejected();
    panel_.showStatus(tr("außerhalb der Grenzen, nicht gespeichert"), true);
}

void RunController::pollFailed(const Failure& failure) {
    boxes::generalError(ui_, errorReportText(failure.text), failure.detail);
}
