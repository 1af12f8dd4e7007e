#pragma once

#include "core/history/History.h"

#include <functional>
#include <optional>

class MainWindow;
class QTreeWidgetItem;

// The measurement history of the selected athlete in the history list, newest first, and the
// jump grid beside it. Two layouts: the list alone across the panel (single measurements) or
// the list beside the jump grid, which shows the jumps of the selected series.
class HistoryController {
public:
    explicit HistoryController(MainWindow& window);

    // Lists the measurements of an athlete (none for 0) and selects the newest.
    void showAthlete(qint64 athleteId);
    // Adds the entry of a measurement a run just recorded; it is placed by the next sort.
    void addEntry(const history::Entry& entry);
    // Orders the list newest first.
    void sort();

    QTreeWidgetItem* selectedEntry() const;
    // The athlete whose history the list shows; 0 for none.
    qint64 athleteId() const { return athleteId_; }
    // The number of the selected measurement; none while no entry is selected.
    std::optional<qint64> selectedNummer() const;
    // `listener` is told after every change of the listed athlete or of the selected entry.
    void whenSelectionChanges(std::function<void()> listener) {
        selectionListeners_.append(std::move(listener));
    }
    // Makes an entry the current and selected one, with its layout and jumps.
    void selectEntry(QTreeWidgetItem* item);
    // Selects the entry of the measurement with that number, if it is listed.
    void selectNummer(qint64 nummer);
    // The reaction to a selected entry: a series shows the series layout with its jumps, a
    // single measurement the single layout.
    void entrySelected(QTreeWidgetItem* item);

    void showSingleLayout();
    void showSeriesLayout();
    // The jump grid shows the jumps of the selected series.
    void showJumpsOfSelectedEntry();

    // Deletes the selected measurement with its jumps; the other entries keep their numbers.
    void deleteSelectedMeasurement();

    // A resize happened: the series layout is laid out anew when it is next shown.
    bool relayoutPending = false;

    // Tells the listeners that the selection changed (throws what they throw).
    void tellSelectionChanged();

private:
    MainWindow& window_;
    qint64 athleteId_ = 0;
    QList<std::function<void()>> selectionListeners_;
};
