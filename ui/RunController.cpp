#include "ui/RunController.h"

#include "core/base/Errors.h"
#include "core/history/History.h"
#include "ui/AthleteController.h"
#include "ui/HistoryController.h"
#include "ui/JumpTableModel.h"
#include "ui/MainWindow.h"
#include "ui/MessageService.h"

#include <QAction>
#include <QGroupBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTableView>
#include <QToolButton>
#include <QTreeWidget>

namespace {

const QString kStartCaption = QStringLiteral("Messung starten");
const QString kStopCaption = QStringLiteral("Messung abbrechen");
const QColor kIdleColour(0, 128, 0);
const QColor kRunningColour(255, 0, 0);

void setCaptionColour(QWidget* button, const QColor& colour) {
    QPalette pal = button->palette();
    pal.setColor(QPalette::Active, QPalette::ButtonText, colour);
    pal.setColor(QPalette::Inactive, QPalette::ButtonText, colour);
    button->setPalette(pal);
}

} // namespace

RunController::RunController(MainWindow& window)
    : window_(window), session_(window.timingLink(), window.store(), window.limits(), *this),
      zoom_(window) {
    showIdle(true);
}

void RunController::showIdle(bool idle) {
    window_.startButton->setText(idle ? kStartCaption : kStopCaption);
    setCaptionColour(window_.startButton, idle ? kIdleColour : kRunningColour);
    window_.startAction->setText(window_.startButton->text());
}

void RunController::setStartEnabled(bool enabled) {
    window_.startButton->setEnabled(enabled);
    window_.startAction->setEnabled(enabled);
}

void RunController::lockChanges(bool locked) {
    // While a run goes on, nothing may change the athletes or measurements it records for.
    for (QAction* action :
         {window_.showAllAction, window_.refreshAction, window_.searchAction,
          window_.newAthleteAction, window_.changeAthleteAction, window_.deleteAthleteAction,
          window_.exportOneAction, window_.exportAllAction, window_.takeOverAction})
        action->setEnabled(!locked);
}

void RunController::runStarting() {
    lockChanges(true);
    window_.dataGroup->setEnabled(false);
    showIdle(false);
    setStartEnabled(false);
    window_.historyList->setEnabled(false);
    if (session_.mode == MeasurementMode::Single)
        window_.history().showSingleLayout();
    else
        window_.history().showSeriesLayout();
    window_.jumpModel->showNothing();
    zoom_.setActive(true);
}

void RunController::runStarted() {
    window_.history().sort();
    setStartEnabled(true);
}

void RunController::runStopping() {
    setStartEnabled(false);
}

void RunController::runEnded(RunEnd end) {
    zoom_.setActive(false);
    lockChanges(false);
    showIdle(true);
    window_.dataGroup->setEnabled(true);
    window_.historyList->setEnabled(true);
    if (end != RunEnd::StartFailed)
        window_.athleteGrid->setFocus();
    window_.history().sort();
    setStartEnabled(true);
    if (end == RunEnd::StartFailed)
        return;
    QTreeWidget* list = window_.historyList;
    if (list->topLevelItemCount() > 0) {
        // Not through the list's own handler, which would show a failure to read the series
        // in a box of its own: it goes with the run's end, which tells the user once.
        {
            const QSignalBlocker quiet(list);
            window_.history().selectEntry(list->topLevelItem(0));
        }
        window_.history().tellSelectionChanged();
    }
    if (list->isEnabled())
        list->setFocus();
}

void RunController::showField(ResultField field, const QString& text) {
    switch (field) {
    case ResultField::ContactTime:
        window_.contactTimeField->setText(text);
        break;
    case ResultField::FlightTime:
        window_.flightTimeField->setText(text);
        break;
    case ResultField::Efficiency:
        window_.efficiencyField->setText(text);
        break;
    case ResultField::Height:
        window_.heightField->setText(text);
        break;
    }
}

void RunController::showMessage(const QString& text) {
    boxes::plain(window_.context().ui, text);
}

void RunController::showError(const QString& text) {
    boxes::error(window_.context().ui, text);
}

void RunController::measurementCreated(const NewMeasurement& m) {
    const QStringList values =
        m.series ? history::seriesTexts()
                 : history::recordedJumpTexts(m.contactMs, m.flightMs, m.efficiency);
    window_.history().addEntry(history::makeEntry(window_.historyList->topLevelItemCount() + 1,
                                                  m.moment, values, m.nummer));
}

void RunController::jumpRecorded(qint64 seriesKey) {
    window_.jumpModel->showSeries(seriesKey);
}

void RunController::pollFailed(const Failure& failure) {
    boxes::generalError(window_.context().ui, errorReportText(failure.text), failure.detail);
}
