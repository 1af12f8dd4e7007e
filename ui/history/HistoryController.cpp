// Lists the selected athlete's measurements and the chosen one's jumps, and deletes, excludes and
// restores.

#include "ui/history/HistoryController.h"

#include "core/store/DataStore.h"
#include "core/store/SeriesKey.h"
#include "ui/common/MessageService.h"
#include "ui/common/WriteCheck.h"
#include "ui/history/HistoryPanel.h"
#include "ui/history/JumpTableModel.h"

#include <QDateTime>
#include <QDir>
#include <QObject>
#include <QSignalBlocker>

HistoryController::HistoryController(HistoryPanel& panel, DataStore& store,
                                     MessageService& messages)
    : panel_(panel), store_(store), messages_(messages) {
    QObject::connect(&panel_, &HistoryPanel::entryChosen, &panel_,
                     [this] { runGuarded(messages_, [this] { entryChosen(); }); });
    QObject::connect(&panel_, &HistoryPanel::excludeRequested, &panel_, [this](int jumpIndex) {
        runGuarded(messages_, [this, jumpIndex] { excludeJump(jumpIndex); });
    });
    QObject::connect(&panel_, &HistoryPanel::restoreRequested, &panel_, [this](int jumpIndex) {
        runGuarded(messages_, [this, jumpIndex] { restoreJump(jumpIndex); });
    });
}

void HistoryController::entryChosen() {
    showLayoutOfChosenEntry();
    tellSelectionChanged();
}

void HistoryController::showAthlete(qint64 athleteId) {
    athleteId_ = athleteId;
    if (store_.isOpen())
        panel_.offerExclusions(store_.has(schema::Feature::Exclusions));
    const QList<history::Entry> entries =
        athleteId == 0 ? QList<history::Entry>() : history::build(store_.measurements(), athleteId);
    panel_.setEntries(entries);
    if (entries.isEmpty()) {
        showNoJumps();
        showSingleLayout();
        tellSelectionChanged();
    } else {
        panel_.chooseAt(0);
    }
}

void HistoryController::tellSelectionChanged() {
    for (const auto& listener : selectionListeners_)
        listener();
}

void HistoryController::addRecorded(const history::Entry& entry) {
    panel_.addEntry(entry);
    panel_.sort();
    panel_.chooseMeasurement(entry.measurementNumber);
}

std::optional<qint64> HistoryController::selectedMeasurementNumber() const {
    if (const auto entry = panel_.chosenEntry())
        return entry->measurementNumber;
    return std::nullopt;
}

void HistoryController::chooseAt(int position) {
    panel_.chooseAt(position);
}

void HistoryController::chooseNewest() {
    if (panel_.entryCount() == 0)
        return;
    {
        const QSignalBlocker quiet(&panel_);
        panel_.chooseAt(0);
    }
    entryChosen();
}

void HistoryController::selectMeasurement(qint64 measurementNumber) {
    panel_.chooseMeasurement(measurementNumber);
}

void HistoryController::showLayoutOfChosenEntry() {
    const auto entry = panel_.chosenEntry();
    if (!entry)
        return;
    if (entry->isSeries())
        showSeriesLayout();
    else
        showSingleLayout();
}

void HistoryController::showSingleLayout() {
    panel_.showSingleLayout();
}

void HistoryController::showSeriesLayout() {
    showJumpsOfChosenEntry();
    panel_.showSeriesLayout();
}

void HistoryController::showJumpsOfChosenEntry() {
    if (const auto entry = panel_.chosenEntry())
        panel_.jumps().showSeries(seriesKey(athleteId_, entry->measurementNumber),
                                  entry->protocol.kind == Protocol::TenFive);
    else
        showNoJumps();
}

void HistoryController::deleteSelectedMeasurement() {
    const auto entry = panel_.chosenEntry();
    if (!entry || athleteId_ == 0)
        return;
    store_.measurements().remove(athleteId_, entry->measurementNumber);
    // The other entries keep their numbers and their order; none is chosen afterwards, and
    // the jump grid shows none.
    panel_.removeChosen();
    showNoJumps();
    for (const auto& listener : deletionListeners_)
        listener(athleteId_, entry->measurementNumber);
}

void HistoryController::athleteDeleted(qint64 athleteId) {
    showNoJumps();
    for (const auto& listener : deletionListeners_)
        listener(athleteId, std::nullopt);
}

void HistoryController::showNoJumps() {
    panel_.jumps().showNothing();
}

void HistoryController::showJumpsOfSeries(qint64 seriesKey) {
    panel_.jumps().showSeries(seriesKey);
}

int HistoryController::entryCount() const {
    return panel_.entryCount();
}

namespace {

// Who excludes a jump: the user logged in at this station.
QString stationUser() {
    const QString user = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
    return user.isEmpty() ? QDir::home().dirName() : user;
}

} // namespace

void HistoryController::excludeJump(int jumpIndex) {
    const auto entry = panel_.chosenEntry();
    if (!entry || athleteId_ == 0 || !askReason_ || !checkWritable(store_, messages_))
        return;
    const std::optional<QString> reason = askReason_(jumpIndex);
    if (!reason)
        return;
    store_.measurements().exclude(seriesKey(athleteId_, entry->measurementNumber), jumpIndex,
                                  {*reason, stationUser(), QDateTime::currentDateTime()});
    showJumpsOfChosenEntry();
    tellSelectionChanged();
}

void HistoryController::restoreJump(int jumpIndex) {
    const auto entry = panel_.chosenEntry();
    if (!entry || athleteId_ == 0 || !checkWritable(store_, messages_))
        return;
    store_.measurements().restore(seriesKey(athleteId_, entry->measurementNumber), jumpIndex);
    showJumpsOfChosenEntry();
    tellSelectionChanged();
}
