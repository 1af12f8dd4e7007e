// The window "Rangliste": the period, the ranking table, the clipboard and the team report.

#include "ui/squads/RankingWindow.h"

#include "core/base/Texts.h"
#include "core/measure/Metrics.h"
#include "core/store/DataStore.h"
#include "core/store/GroupRepository.h"
#include "ui/common/GridView.h"
#include "ui/common/MessageService.h"
#include "ui/common/Widgets.h"
#include "ui/common/WriteCheck.h"
#include "ui/report/TeamReportPdf.h"
#include "ui/squads/WorthwhileDialog.h"

#include <QAbstractTableModel>
#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QFont>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

// The ranking's rows as a table; Qt::UserRole holds what a column sorts by.
class RankingTableModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setRows(QList<ranking::Row> rows) {
        beginResetModel();
        rows_ = std::move(rows);
        texts_.clear();
        for (const ranking::Row& row : rows_)
            texts_ << ranking::texts(row);
        endResetModel();
    }
    const ranking::Row& row(int r) const { return rows_[r]; }

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(rows_.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : ranking::ColumnCount;
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
            return ranking::header().value(section);
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid())
            return {};
        const int c = index.column();
        const ranking::Row& row = rows_[index.row()];
        switch (role) {
        case Qt::DisplayRole:
            return texts_[index.row()][c];
        case Qt::UserRole:
            // Athletes without a place come after those with one.
            if (c == ranking::Place && row.place == 0)
                return std::numeric_limits<int>::max();
            return ranking::sortValue(row, c);
        case Qt::TextAlignmentRole:
            return c == ranking::Name || c == ranking::FirstName
                       ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                       : QVariant(Qt::AlignRight | Qt::AlignVCenter);
        case Qt::ToolTipRole:
            if (c == ranking::Change)
                return ranking::typicalErrorText(row);
            return {};
        case Qt::FontRole:
            if (c == ranking::Change && row.changeIsReal) {
                QFont bold;
                bold.setBold(true);
                return bold;
            }
            return {};
        default:
            return {};
        }
    }

private:
    QList<ranking::Row> rows_;
    QList<QStringList> texts_;
};

namespace {

// Sorts by the columns' values; an empty value counts as the smallest.
class RankingSort : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override {
        const QVariant a = left.data(Qt::UserRole);
        const QVariant b = right.data(Qt::UserRole);
        if (!a.isValid() || !b.isValid())
            return !a.isValid() && b.isValid();
        if (a.typeId() == QMetaType::QString)
            return QString::localeAwareCompare(a.toString(), b.toString()) < 0;
        return a.toDouble() < b.toDouble();
    }
};

QDateEdit* dateField(const QString& name, const QDate& date, QWidget* parent) {
    auto* field = new QDateEdit(date, parent);
    field->setObjectName(name);
    field->setCalendarPopup(true);
    // With the year in four digits, as every date of the program.
    field->setDisplayFormat(texts::shortDateFormat());
    return field;
}

} // namespace

RankingWindow::RankingWindow(DataStore& store, MessageService& messages, QWidget* parent)
    : QWidget(parent, Qt::Window), store_(store), messages_(messages) {
    setObjectName(QStringLiteral("rankingWindow"));
    setWindowTitle(tr("Rangliste"));
    resize(900, 560);

    groupChooser_ = new QComboBox(this);
    groupChooser_->setObjectName(QStringLiteral("rankingGroupChooser"));
    groupChooser_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    groupChooser_->setMinimumContentsLength(16);
    testChooser_ = new QComboBox(this);
    testChooser_->setObjectName(QStringLiteral("rankingTestChooser"));
    testChooser_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    testChooser_->setMinimumContentsLength(16);
    heightChooser_ = new QComboBox(this);
    heightChooser_->setObjectName(QStringLiteral("rankingHeightChooser"));
    heightChooser_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    heightChooser_->setMinimumContentsLength(6);
    const ranking::Period last = ranking::Period::lastDays(QDate::currentDate());
    fromField_ = dateField(QStringLiteral("fromField"), last.from, this);
    toField_ = dateField(QStringLiteral("toField"), last.to, this);

    model_ = new RankingTableModel(this);
    sorted_ = new RankingSort(this);
    sorted_->setSourceModel(model_);
    rankingTable_ = gridview::create(QStringLiteral("rankingTable"), sorted_, this);
    rankingTable_->setAccessibleName(tr("Rangliste"));
    // Sorted first: every title keeps its room beside the sort arrow.
    rankingTable_->setSortingEnabled(true);
    rankingTable_->sortByColumn(ranking::Place, Qt::AscendingOrder);
    gridview::fitColumns(rankingTable_, rankingTable_->horizontalHeader(),
                         {{QStringLiteral("999")},
                          {QStringLiteral("Schmidt-Müller")},
                          {QStringLiteral("Maximiliane")},
                          {QStringLiteral("199,99")},
                          {QStringLiteral("19,99")},
                          {QStringLiteral("1999")},
                          {QStringLiteral("9999")},
                          {QStringLiteral("+19,99 *")}});

    noteLabel_ = new QLabel(this);
    noteLabel_->setObjectName(QStringLiteral("noteLabel"));
    noteLabel_->setWordWrap(true);

    auto* copyButton = new QPushButton(tr("&Kopieren"), this);
    copyButton->setObjectName(QStringLiteral("copyButton"));
    auto* reportButton = new QPushButton(tr("Teambericht als &PDF …"), this);
    reportButton->setObjectName(QStringLiteral("reportButton"));
    worthwhileButton_ = new QPushButton(tr("Bedeutsame Ä&nderung …"), this);
    worthwhileButton_->setObjectName(QStringLiteral("worthwhileButton"));
    worthwhileButton_->setToolTip(tr("Die kleinste bedeutsame Änderung des besten RSI für "
                                     "diesen Test festlegen"));
    worthwhileButton_->setEnabled(false);
    auto* closeButton = new QPushButton(tr("Schließen"), this);
    closeButton->setObjectName(QStringLiteral("closeButton"));

    // The group and period on one line, the test and its drop height on the next.
    auto* choice = new QVBoxLayout;
    const std::pair<QString, QWidget*> fields[] = {{tr("&Gruppe:"), groupChooser_},
                                                   {tr("&Von:"), fromField_},
                                                   {tr("&Bis:"), toField_},
                                                   {tr("&Test:"), testChooser_},
                                                   {tr("&Fallhöhe:"), heightChooser_}};
    QHBoxLayout* line = nullptr;
    for (const auto& [text, field] : fields) {
        if (line == nullptr || field == testChooser_) {
            if (line != nullptr)
                line->addStretch(1);
            line = new QHBoxLayout;
            choice->addLayout(line);
        }
        auto* label = new QLabel(text, this);
        label->setObjectName(field->objectName() + QStringLiteral("Label"));
        label->setBuddy(field);
        line->addWidget(label);
        line->addWidget(field);
        line->addSpacing(12);
    }
    line->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(copyButton);
    buttons->addWidget(reportButton);
    buttons->addWidget(worthwhileButton_);
    buttons->addStretch(1);
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choice);
    layout->addWidget(rankingTable_, 1);
    layout->addWidget(noteLabel_);
    layout->addLayout(buttons);

    auto* copyAction = new QAction(this);
    copyAction->setShortcut(QKeySequence::Copy);
    copyAction->setShortcutContext(Qt::WindowShortcut);
    addAction(copyAction);
    connect(copyAction, &QAction::triggered, this, [this] { guarded([this] { copyRanking(); }); });
    connect(copyButton, &QPushButton::clicked, this,
            [this] { guarded([this] { copyRanking(); }); });
    connect(reportButton, &QPushButton::clicked, this,
            [this] { guarded([this] { saveTeamReport(); }); });
    connect(worthwhileButton_, &QPushButton::clicked, this,
            [this] { guarded([this] { setWorthwhile(); }); });
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    const auto changed = [this] {
        if (!loading_)
            guarded([this] { refresh(); });
    };
    connect(groupChooser_, &QComboBox::currentIndexChanged, this, changed);
    connect(fromField_, &QDateEdit::dateChanged, this, changed);
    connect(toField_, &QDateEdit::dateChanged, this, changed);
    connect(testChooser_, &QComboBox::currentIndexChanged, this, [this] {
        if (!loading_)
            guarded([this] {
                fillHeights(std::nullopt);
                rankChosen();
            });
    });
    connect(heightChooser_, &QComboBox::currentIndexChanged, this, [this] {
        if (!loading_)
            guarded([this] { rankChosen(); });
    });
}

void RankingWindow::guarded(const std::function<void()>& handler) {
    runGuarded(messages_, handler);
}

void RankingWindow::showGroup(qint64 groupId) {
    loading_ = true;
    groupChooser_->clear();
    for (const Group& group : store_.groups().all())
        groupChooser_->addItem(group.name, group.id);
    const int index = groupChooser_->findData(groupId);
    groupChooser_->setCurrentIndex(index >= 0 ? index : (groupChooser_->count() > 0 ? 0 : -1));
    loading_ = false;
    refresh();
}

qint64 RankingWindow::chosenGroupId() const {
    return groupChooser_->currentIndex() < 0 ? 0 : groupChooser_->currentData().toLongLong();
}

ranking::Period RankingWindow::period() const {
    return {fromField_->date(), toField_->date()};
}

void RankingWindow::setPeriod(const ranking::Period& period) {
    loading_ = true;
    fromField_->setDate(period.from);
    toField_->setDate(period.to);
    loading_ = false;
    refresh();
}

void RankingWindow::refresh() {
    const qint64 groupId = chosenGroupId();
    const ranking::Period chosen = period();
    const std::optional<ranking::RankedTest> wanted = chosenTest();
    read_.clear();
    testsRun_.clear();
    readPeriod_ = chosen;
    if (groupId != 0 && chosen.isValid()) {
        widgets::BusyCursor busy;
        GroupRepository& groups = store_.groups();
        read_ = ranking::read(store_.athletes(), groups, groupId, chosen);
        testsRun_ = ranking::testsRun(read_, chosen);
    }
    fillTests(wanted);
    rankChosen();
}

void RankingWindow::fillTests(const std::optional<ranking::RankedTest>& wanted) {
    loading_ = true;
    testChooser_->clear();
    // One entry per test and protocol; its data is the most run of its drop heights.
    QList<ranking::RankedTest> kinds;
    for (qsizetype i = 0; i < testsRun_.size(); ++i) {
        ranking::RankedTest kind = testsRun_[i];
        kind.test.dropHeightCm.reset();
        if (kinds.contains(kind))
            continue;
        kinds << kind;
        testChooser_->addItem(ranking::testName(testsRun_[i]), static_cast<int>(i));
    }
    int index = 0;
    if (wanted) {
        ranking::RankedTest kind = *wanted;
        kind.test.dropHeightCm.reset();
        index = std::max(0, static_cast<int>(kinds.indexOf(kind)));
    }
    testChooser_->setCurrentIndex(testChooser_->count() > 0 ? index : -1);
    testChooser_->setEnabled(testChooser_->count() > 0);
    loading_ = false;
    fillHeights(wanted);
}

void RankingWindow::fillHeights(const std::optional<ranking::RankedTest>& wanted) {
    loading_ = true;
    heightChooser_->clear();
    if (testChooser_->currentIndex() >= 0) {
        const ranking::RankedTest& first = testsRun_[testChooser_->currentData().toInt()];
        QList<qsizetype> ofKind;
        for (qsizetype i = 0; i < testsRun_.size(); ++i)
            if (testsRun_[i].test.name == first.test.name &&
                testsRun_[i].protocol == first.protocol)
                ofKind << i;
        // Rising heights; the one given none first.
        std::stable_sort(ofKind.begin(), ofKind.end(), [this](qsizetype a, qsizetype b) {
            return testsRun_[a].test.dropHeightCm < testsRun_[b].test.dropHeightCm;
        });
        int index = 0;
        for (qsizetype i : ofKind) {
            if (testsRun_[i] == (wanted ? *wanted : first))
                index = heightChooser_->count();
            heightChooser_->addItem(ranking::dropHeightName(testsRun_[i]), static_cast<int>(i));
        }
        heightChooser_->setCurrentIndex(index);
    }
    // A test without drop heights has nothing to choose.
    heightChooser_->setEnabled(heightChooser_->count() > 1);
    loading_ = false;
}

std::optional<ranking::RankedTest> RankingWindow::chosenTest() const {
    if (heightChooser_->currentIndex() < 0)
        return std::nullopt;
    return testsRun_.value(heightChooser_->currentData().toInt());
}

void RankingWindow::chooseTest(const ranking::RankedTest& test) {
    if (!testsRun_.contains(test))
        return;
    fillTests(test);
    rankChosen();
}

bool RankingWindow::worthwhileCanBeSet() {
    const std::optional<ranking::RankedTest> test = chosenTest();
    return test && test->protocol == Protocol::None && !test->test.isEmpty() &&
           store_.retests().available();
}

void RankingWindow::setWorthwhile() {
    if (!worthwhileCanBeSet() || !checkWritable(store_, messages_))
        return;
    const MeasurementTest test = chosenTest()->test;
    RetestRepository& retests = store_.retests();
    const std::optional<std::optional<double>> value = WorthwhileDialog::ask(
        this, measurementtest::description(test), retests.worthwhileChange(test));
    if (!value)
        return;
    retests.setWorthwhileChange(test, *value);
    rankChosen();
}

void RankingWindow::rankChosen() {
    worthwhileButton_->setEnabled(worthwhileCanBeSet());
    const qint64 groupId = chosenGroupId();
    const ranking::Period chosen = readPeriod_;
    if (groupId == 0) {
        model_->setRows({});
        noteLabel_->setText(tr("Es gibt noch keine Gruppe. Gruppen werden unter „Daten“ ▸ "
                               "„Gruppen …“ angelegt."));
        return;
    }
    if (!chosen.isValid()) {
        model_->setRows({});
        noteLabel_->setText(tr("Der Beginn des Zeitraums liegt nach seinem Ende."));
        return;
    }
    const std::optional<ranking::RankedTest> test = chosenTest();
    const ranking::RankedTest ranked = test.value_or(ranking::RankedTest{});
    const std::optional<realchange::Worthwhile> worthwhile = ranking::worthwhileRsi(
        read_, chosen, ranked, ranking::setWorthwhile(store_.retests(), ranked));
    QList<ranking::Row> rows = ranking::rank(read_, chosen, ranked, worthwhile);
    const bool changes = std::any_of(rows.cbegin(), rows.cend(),
                                     [](const ranking::Row& row) { return row.rsiChange; });
    model_->setRows(std::move(rows));
    if (!test) {
        noteLabel_->setText(tr("Die Gruppe hat im Zeitraum keine Messung."));
        return;
    }
    const ranking::Period before = chosen.previous();
    QString note = tr("Veränderung RSI: bester RSI gegenüber dem Zeitraum %1 bis %2.")
                       .arg(texts::dateText(before.from), texts::dateText(before.to));
    if (test->protocol == Protocol::TenFive)
        note += QLatin1Char(' ') + ranking::tenFiveNote();
    if (changes)
        note += QLatin1Char(' ') + ranking::changeMarkNote(worthwhile);
    noteLabel_->setText(note);
}

QList<ranking::Row> RankingWindow::rowsShown() const {
    QList<ranking::Row> rows;
    for (int r = 0; r < sorted_->rowCount(); ++r)
        rows << model_->row(sorted_->mapToSource(sorted_->index(r, 0)).row());
    return rows;
}

void RankingWindow::copyRanking() {
    if (model_->rowCount() == 0)
        return;
    messages_.setClipboardText(
        ranking::clipboardText(rowsShown(), ranking::headingLines(chosenTest(), readPeriod_)));
}

void RankingWindow::saveTeamReport() {
    const qint64 groupId = chosenGroupId();
    if (groupId == 0 || !readPeriod_.isValid())
        return;
    reportpdf::saveTeam(messages_, store_, {groupId, groupChooser_->currentText()}, readPeriod_,
                        chosenTest());
}
