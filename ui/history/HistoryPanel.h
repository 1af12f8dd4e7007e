#pragma once

#include "core/history/History.h"

#include <QWidget>

#include <optional>

class DataStore;
class QAction;
class QLabel;
class JumpTableModel;
class QSplitter;
class QTableView;
class QTreeWidget;
class QTreeWidgetItem;

// The measurement history of one athlete, newest first, and beside it the jump grid with the
// jumps of the chosen series. Two layouts: the list across the whole width (single
// measurements) or the list beside the jump grid (series).
class HistoryPanel : public QWidget {
    Q_OBJECT
public:
    explicit HistoryPanel(DataStore& store, QWidget* parent = nullptr);

    // Lists the entries (in their order) without telling anyone.
    void setEntries(const QList<history::Entry>& entries);
    // Adds an entry; it is placed by the next sort.
    void addEntry(const history::Entry& entry);
    // Orders the list newest first.
    void sort();
    int entryCount() const;
    // The entry at that place of the list, if any.
    std::optional<history::Entry> entryAt(int position) const;
    // The chosen entry, if any.
    std::optional<history::Entry> chosenEntry() const;
    // Chooses the entry at that place in the list (as the user's click does: it is told).
    void chooseAt(int position);
    // Chooses the entry of the measurement with that number, if it is listed; false if not.
    bool chooseMeasurement(qint64 measurementNumber);
    // No entry is chosen afterwards; nothing is told.
    void clearChoice();
    // Removes the chosen entry; the others keep their numbers and order. Nothing is told.
    void removeChosen();
    // Shows the best height and RSI of the chosen entry anew (history::bestTexts), after its
    // jumps changed.
    void showBestOfChosen(const QStringList& best);

    void showSingleLayout();
    void showSeriesLayout();
    bool seriesLayout() const;
    JumpTableModel& jumps() { return *jumpModel_; }
    // The actions of the history list's context menu, in their order.
    void offerListActions(const QList<QAction*>& actions);
    // Whether the jump grid offers to exclude jumps (the store keeps exclusions).
    void offerExclusions(bool offered);

    bool listHasFocus() const;
    void focusList();

    // Where the divider between the list and the jump grid stands.
    QByteArray dividerState() const;
    void restoreDivider(const QByteArray& state);

signals:
    // The chosen entry changed (or none is chosen now).
    void entryChosen();
    // The user wants a jump of the series shown excluded, or its exclusion taken back.
    void excludeRequested(int jumpIndex);
    void restoreRequested(int jumpIndex);
    // The user marks a jump of the series shown as a failed trial.
    void failedTrialRequested(int jumpIndex);

private:
    QTreeWidget* list_ = nullptr;
    QTableView* jumpGrid_ = nullptr;
    JumpTableModel* jumpModel_ = nullptr;
    QSplitter* splitter_ = nullptr;
    QLabel* journalLegend_ = nullptr; // shown while entries not yet on the server are listed
    QAction* excludeAction_ = nullptr;
    QAction* restoreAction_ = nullptr;
    QAction* failedTrialAction_ = nullptr;
    bool exclusionsOffered_ = true;
};
