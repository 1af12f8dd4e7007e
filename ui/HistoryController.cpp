#include "ui/HistoryController.h"

#include "core/base/Texts.h"
#include "core/store/SeriesKey.h"
#include "ui/ColumnWidths.h"
#include "ui/JumpTableModel.h"
#include "ui/MainWindow.h"
#include "ui/MessageService.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableView>
#include <QTreeWidget>

#include <cmath>

namespace {

constexpr int kNummerColumn = 7;

// A list entry that orders itself newest first by the moment its texts show.
class EntryItem : public QTreeWidgetItem {
public:
    explicit EntryItem(history::Entry entry)
        : QTreeWidgetItem(
              QStringList{QString::number(entry.position), entry.dateText, entry.timeText}
              << entry.values << QString::number(entry.nummer)),
          entry_(std::move(entry)) {}
    bool operator<(const QTreeWidgetItem& other) const override {
        return history::goesBefore(entry_, static_cast<const EntryItem&>(other).entry_);
    }
    const history::Entry& entry() const { return entry_; }

private:
    history::Entry entry_;
};

const history::Entry& entryOf(const QTreeWidgetItem* item) {
    return static_cast<const EntryItem*>(item)->entry();
}

// Keeps a list from drawing and from reporting selection changes while it is rebuilt.
class UpdateBracket {
public:
    explicit UpdateBracket(QTreeWidget* list)
        : list_(list), signalsWereBlocked_(list->blockSignals(true)) {
        list_->setUpdatesEnabled(false);
    }
    ~UpdateBracket() {
        list_->blockSignals(signalsWereBlocked_);
        list_->setUpdatesEnabled(true);
    }
    UpdateBracket(const UpdateBracket&) = delete;
    UpdateBracket& operator=(const UpdateBracket&) = delete;

private:
    QTreeWidget* list_;
    bool signalsWereBlocked_;
};

// The columns of the list: "Nr." as wide as "Numm", the others a seventh of the list's
// width each; a column whose header or texts need more gets more, and the list scrolls.
void setValueColumns(QTreeWidget* list, int width) {
    QHeaderView* header = list->header();
    columns::setAtLeast(list, header, 0,
                        list->fontMetrics().horizontalAdvance(QStringLiteral("Numm")));
    // Entries that a run adds later show today's date and a time of day.
    const QStringList samples[7] = {{},
                                    {texts::dateText(QDate::currentDate())},
                                    {texts::timeText(QTime(23, 59, 59))},
                                    {},
                                    {},
                                    {},
                                    {}};
    for (int c = 1; c < 7; ++c)
        columns::setAtLeast(list, header, c, width / 7, samples[c]);
}

} // namespace

HistoryController::HistoryController(MainWindow& window) : window_(window) {
    QObject::connect(window_.historyList, &QTreeWidget::itemSelectionChanged, window_.historyList,
                     [this] {
                         runGuarded(window_.context().ui, [this] {
                             entrySelected(selectedEntry());
                             tellSelectionChanged();
                         });
                     });
}

void HistoryController::showAthlete(qint64 athleteId) {
    athleteId_ = athleteId;
    QTreeWidget* list = window_.historyList;
    const QList<history::Entry> entries =
        athleteId == 0 ? QList<history::Entry>()
                       : history::build(window_.store().measurements(), athleteId);
    {
        UpdateBracket bracket(list);
        list->clear();
        QList<QTreeWidgetItem*> items;
        items.reserve(entries.size());
        for (const history::Entry& entry : entries)
            items << new EntryItem(entry);
        list->addTopLevelItems(items);
    }
    if (entries.isEmpty()) {
        showSingleLayout();
    } else {
        QTreeWidgetItem* newest = list->topLevelItem(0);
        list->setCurrentItem(newest);
        newest->setSelected(true);
    }
    tellSelectionChanged();
}

void HistoryController::tellSelectionChanged() {
    for (const auto& listener : selectionListeners_)
        listener();
}

void HistoryController::addEntry(const history::Entry& entry) {
    window_.historyList->addTopLevelItem(new EntryItem(entry));
}

void HistoryController::sort() {
    window_.historyList->sortItems(0, Qt::AscendingOrder);
}

QTreeWidgetItem* HistoryController::selectedEntry() const {
    const auto selected = window_.historyList->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

std::optional<qint64> HistoryController::selectedNummer() const {
    if (const QTreeWidgetItem* selected = selectedEntry())
        return entryOf(selected).nummer;
    return std::nullopt;
}

void HistoryController::selectEntry(QTreeWidgetItem* item) {
    window_.historyList->setCurrentItem(item);
    item->setSelected(true);
    entrySelected(item);
}

void HistoryController::selectNummer(qint64 nummer) {
    QTreeWidget* list = window_.historyList;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = list->topLevelItem(i);
        if (entryOf(item).nummer != nummer)
            continue;
        // The list tells the change of selection to the layout and the listeners.
        list->setCurrentItem(item);
        item->setSelected(true);
        return;
    }
}

void HistoryController::entrySelected(QTreeWidgetItem* item) {
    if (!item)
        return;
    if (entryOf(item).isSeries())
        showSeriesLayout();
    else
        showSingleLayout();
}

void HistoryController::showSingleLayout() {
    QTreeWidget* list = window_.historyList;
    window_.jumpGrid->hide();
    list->hide();
    list->resize(window_.athleteGrid->width(), list->height());
    setValueColumns(list, list->width());
    list->show();
    if (list->isEnabled() && window_.isActiveWindow())
        list->setFocus();
}

void HistoryController::showSeriesLayout() {
    showJumpsOfSelectedEntry();
    QTableView* grid = window_.jumpGrid;
    if (grid->isVisibleTo(&window_) && !relayoutPending)
        return;
    relayoutPending = false;
    QTreeWidget* list = window_.historyList;
    const int listWidth = static_cast<int>(std::nearbyint(window_.width() * 0.55));
    grid->show();
    grid->setGeometry(list->x() + listWidth + 10, grid->y(),
                      window_.athleteGrid->width() - listWidth - 10, grid->height());
    list->hide();
    {
        UpdateBracket bracket(list);
        list->resize(listWidth, list->height());
        setValueColumns(list, listWidth);
        const int clientWidth = grid->width() - 2 * grid->frameWidth();
        const int jumpColumn = (clientWidth - 20) / 5;
        for (int c = 0; c < 5; ++c)
            columns::setAtLeast(grid, grid->horizontalHeader(), c, jumpColumn);
    }
    list->show();
    if (list->isEnabled() && window_.isActiveWindow())
        list->setFocus();
}

void HistoryController::showJumpsOfSelectedEntry() {
    if (const QTreeWidgetItem* selected = selectedEntry())
        window_.jumpModel->showSeries(seriesKey(athleteId_, entryOf(selected).nummer));
}

void HistoryController::deleteSelectedMeasurement() {
    QTreeWidgetItem* item = selectedEntry();
    if (!item || athleteId_ == 0)
        return;
    // After a deletion, whether it held or not, the jump grid lists every stored jump.
    try {
        window_.store().measurements().remove(athleteId_, entryOf(item).nummer);
    } catch (...) {
        window_.jumpModel->showAllJumps();
        throw;
    }
    window_.jumpModel->showAllJumps();
    // The other entries keep their numbers and their order; none is selected afterwards.
    // Without a current entry the list does not select a neighbour of the removed one.
    window_.historyList->selectionModel()->clear();
    delete item;
}
