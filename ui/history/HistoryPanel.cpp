// The history list beside the jump grid, with its two layouts.

#include "ui/history/HistoryPanel.h"

#include "core/base/Texts.h"
#include "core/measure/MeasurementTest.h"
#include "core/measure/Metrics.h"
#include "ui/common/GridView.h"
#include "ui/common/Widgets.h"
#include "ui/history/JumpTableModel.h"

#include <QAction>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QSplitter>
#include <QTableView>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// The measurement's number stays in the hidden column it always had; the test follows it.
constexpr int kMeasurementNumberColumn = 7;
constexpr int kTestColumn = 8;
// The best height and RSI follow the drop height.
constexpr int kBestHeightColumn = 10;
constexpr int kColumns = 12;
// The jump grid's columns up to the RSI; the reason of an exclusion follows them.
constexpr int kJumpGridShownColumns = 6;

// A text per column of the best values, however many the entry brings.
QStringList bestColumns(const QStringList& best) {
    return {best.value(0), best.value(1)};
}

// A list entry that orders itself newest first by the moment its texts show.
class EntryItem : public QTreeWidgetItem {
public:
    explicit EntryItem(history::Entry entry)
        : QTreeWidgetItem(QStringList{entry.isJournalled() ? QStringLiteral("–")
                                                           : QString::number(entry.position),
                                      entry.dateText, entry.timeText}
                          << entry.values << QString::number(entry.measurementNumber)
                          << entry.testText << entry.dropHeightText << bestColumns(entry.best)),
          entry_(std::move(entry)) {
        // A test of the user's own may be longer than its column.
        setToolTip(kTestColumn, entry_.testText);
        // A measurement not yet on the server is set in italics and says why in every column.
        if (entry_.isJournalled()) {
            for (int column = 0; column < kColumns; ++column) {
                QFont font = this->font(column);
                font.setItalic(true);
                setFont(column, font);
                setToolTip(column, entry_.notOnServerText);
            }
        }
    }
    bool operator<(const QTreeWidgetItem& other) const override {
        return history::goesBefore(entry_, static_cast<const EntryItem&>(other).entry_);
    }
    const history::Entry& entry() const { return entry_; }
    void setBest(const QStringList& best) {
        entry_.best = bestColumns(best);
        for (int i = 0; i < entry_.best.size(); ++i)
            setText(kBestHeightColumn + i, entry_.best[i]);
    }

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

} // namespace

HistoryPanel::HistoryPanel(DataStore& store, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("historyPanel"));
    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("historyList"));
    list_->setAccessibleName(tr("Messungen"));
    list_->setColumnCount(kColumns);
    list_->setHeaderLabels({tr("Nr."), tr("Datum"), tr("Uhrzeit"), tr("Stützzeit(ms)"),
                            tr("Flugzeit(ms)"), tr("Effizienz"), tr("Höhe(cm)"), QString(),
                            tr("Test"), tr("Fallhöhe(cm)"), tr("Beste Höhe"), tr("Bester RSI")});
    list_->setColumnHidden(kMeasurementNumberColumn, true);
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setAllColumnsShowFocus(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setItemDelegate(new widgets::GridLinesDelegate(list_));
    list_->header()->setSectionsMovable(false);

    jumpModel_ = new JumpTableModel(store, this);
    jumpGrid_ = gridview::create(QStringLiteral("jumpGrid"), jumpModel_, this);
    jumpGrid_->setAccessibleName(tr("Sprünge"));

    // Entries that a run adds later show today's date and a time of day; the widest values
    // are a series' number, four-digit times and two decimals.
    const QString widestDecimal = metrics::fixedText(999.99, 2);
    const QString widestTime = texts::general(9999);
    gridview::fitColumns(
        list_, list_->header(),
        {{QStringLiteral("9999")},
         {texts::dateText(QDate(2000, 12, 28)), texts::dateText(QDate::currentDate())},
         {texts::timeText(QTime(23, 59, 59))},
         {widestTime},
         {widestTime},
         {widestDecimal},
         {widestDecimal},
         {},
         measurementtest::offeredNames(),
         {QStringLiteral("150")},
         {widestDecimal},
         {widestDecimal}},
        kBestHeightColumn);
    gridview::fitColumns(jumpGrid_, jumpGrid_->horizontalHeader(),
                         {{QStringLiteral("999")},
                          {widestTime},
                          {widestTime},
                          {widestDecimal},
                          {widestDecimal},
                          {widestDecimal},
                          {tr("Doppelkontakt")}},
                         // The reason of an exclusion takes what is left (and shows whole in
                         // its tip): the window keeps its smallest size with the RSI column.
                         kJumpGridShownColumns);

    // A jump of the series shown is excluded from every statistic, or taken back, from the
    // grid's context menu (or its keys).
    excludeAction_ = new QAction(tr("Sprung &ausschließen …"), jumpGrid_);
    excludeAction_->setObjectName(QStringLiteral("excludeJumpAction"));
    excludeAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    excludeAction_->setShortcutContext(Qt::WidgetShortcut);
    restoreAction_ = new QAction(tr("Ausschluss &zurücknehmen"), jumpGrid_);
    restoreAction_->setObjectName(QStringLiteral("restoreJumpAction"));
    restoreAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Plus));
    restoreAction_->setShortcutContext(Qt::WidgetShortcut);
    failedTrialAction_ = new QAction(tr("Als &Fehlversuch markieren"), jumpGrid_);
    failedTrialAction_->setObjectName(QStringLiteral("failedTrialAction"));
    jumpGrid_->addAction(excludeAction_);
    jumpGrid_->addAction(failedTrialAction_);
    jumpGrid_->addAction(restoreAction_);
    jumpGrid_->setContextMenuPolicy(Qt::ActionsContextMenu);
    const auto chosenJump = [this] {
        return jumpModel_->jumpIndex(jumpGrid_->currentIndex().row());
    };
    connect(excludeAction_, &QAction::triggered, this, [this, chosenJump] {
        if (const auto index = chosenJump())
            emit excludeRequested(*index);
    });
    connect(failedTrialAction_, &QAction::triggered, this, [this, chosenJump] {
        if (const auto index = chosenJump())
            emit failedTrialRequested(*index);
    });
    connect(restoreAction_, &QAction::triggered, this, [this, chosenJump] {
        if (const auto index = chosenJump())
            emit restoreRequested(*index);
    });
    const auto updateActions = [this, chosenJump] {
        const int row = jumpGrid_->currentIndex().row();
        const bool jump = exclusionsOffered_ && chosenJump().has_value();
        excludeAction_->setEnabled(jump && !jumpModel_->isExcluded(row));
        failedTrialAction_->setEnabled(jump && !jumpModel_->isExcluded(row));
        restoreAction_->setEnabled(jump && jumpModel_->isExcluded(row));
    };
    connect(jumpGrid_->selectionModel(), &QItemSelectionModel::currentChanged, this, updateActions);
    connect(jumpModel_, &QAbstractItemModel::modelReset, this, updateActions);
    updateActions();

    splitter_ = new QSplitter(Qt::Horizontal, this);
    splitter_->setObjectName(QStringLiteral("historySplitter"));
    splitter_->setChildrenCollapsible(false);
    splitter_->addWidget(list_);
    splitter_->addWidget(jumpGrid_);
    splitter_->setStretchFactor(0, 3);
    splitter_->setStretchFactor(1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter_);
    journalLegend_ = new QLabel(history::notOnServerLegend(), this);
    journalLegend_->setObjectName(QStringLiteral("journalLegend"));
    journalLegend_->setVisible(false);
    layout->addWidget(journalLegend_);

    connect(list_, &QTreeWidget::itemSelectionChanged, this, &HistoryPanel::entryChosen);
}

void HistoryPanel::setEntries(const QList<history::Entry>& entries) {
    UpdateBracket bracket(list_);
    list_->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(entries.size());
    bool journalled = false;
    for (const history::Entry& entry : entries) {
        items << new EntryItem(entry);
        journalled = journalled || entry.isJournalled();
    }
    list_->addTopLevelItems(items);
    journalLegend_->setVisible(journalled);
}

void HistoryPanel::addEntry(const history::Entry& entry) {
    UpdateBracket bracket(list_);
    list_->addTopLevelItem(new EntryItem(entry));
}

void HistoryPanel::sort() {
    UpdateBracket bracket(list_);
    list_->sortItems(0, Qt::AscendingOrder);
}

int HistoryPanel::entryCount() const {
    return list_->topLevelItemCount();
}

std::optional<history::Entry> HistoryPanel::entryAt(int position) const {
    const QTreeWidgetItem* item = list_->topLevelItem(position);
    if (!item)
        return std::nullopt;
    return entryOf(item);
}

std::optional<history::Entry> HistoryPanel::chosenEntry() const {
    const auto selected = list_->selectedItems();
    if (selected.isEmpty())
        return std::nullopt;
    return entryOf(selected.first());
}

void HistoryPanel::chooseAt(int position) {
    QTreeWidgetItem* item = list_->topLevelItem(position);
    if (!item)
        return;
    if (item->isSelected()) {
        list_->setCurrentItem(item);
        emit entryChosen();
        return;
    }
    list_->setCurrentItem(item);
    item->setSelected(true);
}

bool HistoryPanel::chooseMeasurement(qint64 measurementNumber) {
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        if (entryOf(list_->topLevelItem(i)).measurementNumber == measurementNumber) {
            chooseAt(i);
            return true;
        }
    }
    return false;
}

void HistoryPanel::clearChoice() {
    UpdateBracket bracket(list_);
    list_->selectionModel()->clear();
}

void HistoryPanel::removeChosen() {
    const auto selected = list_->selectedItems();
    if (selected.isEmpty())
        return;
    // Without a current entry the list does not select a neighbour of the removed one.
    clearChoice();
    delete selected.first();
}

void HistoryPanel::showBestOfChosen(const QStringList& best) {
    const auto selected = list_->selectedItems();
    if (!selected.isEmpty())
        static_cast<EntryItem*>(selected.first())->setBest(best);
}

void HistoryPanel::showSingleLayout() {
    jumpGrid_->hide();
    // The window's smallest size follows at once, also before it first shows.
    splitter_->updateGeometry();
}

void HistoryPanel::showSeriesLayout() {
    jumpGrid_->show();
    splitter_->updateGeometry();
}

bool HistoryPanel::seriesLayout() const {
    return !jumpGrid_->isHidden();
}

bool HistoryPanel::listHasFocus() const {
    return list_->hasFocus();
}

void HistoryPanel::focusList() {
    if (list_->isEnabled())
        list_->setFocus();
}

QByteArray HistoryPanel::dividerState() const {
    return splitter_->saveState();
}

void HistoryPanel::offerExclusions(bool offered) {
    exclusionsOffered_ = offered;
    for (QAction* action : {excludeAction_, failedTrialAction_, restoreAction_}) {
        action->setVisible(offered);
        if (!offered)
            action->setEnabled(false);
    }
}

void HistoryPanel::offerListActions(const QList<QAction*>& actions) {
    list_->addActions(actions);
    list_->setContextMenuPolicy(Qt::ActionsContextMenu);
}

void HistoryPanel::restoreDivider(const QByteArray& state) {
    // The stored state does not decide which layout shows.
    const bool series = seriesLayout();
    splitter_->restoreState(state);
    jumpGrid_->setVisible(series);
}
