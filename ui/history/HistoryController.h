#pragma once

#include "core/history/History.h"

#include <functional>
#include <optional>

class DataStore;
class HistoryPanel;
class MessageService;

// The measurement history of the selected athlete in the history panel, newest first, and the
// jumps of the chosen series beside it. A chosen series shows the series layout with its
// jumps, a chosen single measurement the single layout.
class HistoryController {
public:
    HistoryController(HistoryPanel& panel, DataStore& store, MessageService& messages);

    // Lists the measurements of an athlete (none for 0) and chooses the newest.
    void showAthlete(qint64 athleteId);
    // Adds the entry of a measurement a run just recorded, in its place, and chooses it.
    void addRecorded(const history::Entry& entry);
    // The athlete whose history the list shows; 0 for none.
    qint64 athleteId() const { return athleteId_; }
    // The number of the chosen measurement; none while no entry is chosen.
    std::optional<qint64> selectedMeasurementNumber() const;
    // `listener` is told after every change of the listed athlete or of the chosen entry.
    void whenSelectionChanges(std::function<void()> listener) {
        selectionListeners_.append(std::move(listener));
    }
    // Chooses the entry at that place of the list (0 = the newest).
    void chooseAt(int position);
    // Chooses the newest entry, if any, and throws what showing it throws instead of telling
    // the user itself (the end of a run tells its first failure alone).
    void chooseNewest();
    // Chooses the entry of the measurement with that number, if it is listed.
    void selectMeasurement(qint64 measurementNumber);
    // The layout of the chosen entry: the jumps of a series beside the list, or the list
    // alone.
    void showLayoutOfChosenEntry();
    void showSingleLayout();
    void showSeriesLayout();

    // The jump grid shows no jump, as at a run's start.
    void showNoJumps();
    // The jump grid shows the jumps stored under a series key (those of a running series).
    void showJumpsOfSeries(qint64 seriesKey);
    int entryCount() const;

    // Asks for the reason a jump is excluded; none when the user cancels.
    void setReasonAsker(std::function<std::optional<QString>(int jumpIndex)> ask) {
        askReason_ = std::move(ask);
    }
    // Excludes a jump of the chosen series from every statistic (after asking why), or takes
    // its exclusion back; who and when is kept with it.
    void excludeJump(int jumpIndex);
    void restoreJump(int jumpIndex);

    // Deletes the chosen measurement with its jumps; the other entries keep their numbers,
    // none is chosen and the jump grid shows nothing.
    void deleteSelectedMeasurement();
    // An athlete was deleted with all his measurements.
    void athleteDeleted(qint64 athleteId);
    // `listener` is told of every deletion: the athlete and the measurement's number, none for
    // all of the athlete's.
    void whenDeleted(
        std::function<void(qint64 athleteId, std::optional<qint64> measurementNumber)> listener) {
        deletionListeners_.append(std::move(listener));
    }

private:
    void entryChosen();
    void showJumpsOfChosenEntry();
    void tellSelectionChanged();

    HistoryPanel& panel_;
    DataStore& store_;
    MessageService& messages_;
    qint64 athleteId_ = 0;
    QList<std::function<void()>> selectionListeners_;
    QList<std::function<void(qint64, std::optional<qint64>)>> deletionListeners_;
    std::function<std::optional<QString>(int)> askReason_;
};
