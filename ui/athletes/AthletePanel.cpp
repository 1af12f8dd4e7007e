// The athlete grid with the group chooser above it.

#include "ui/athletes/AthletePanel.h"

#include "core/base/Texts.h"
#include "ui/athletes/AthleteTableModel.h"
#include "ui/common/GridView.h"

#include <QComboBox>
#include <QDate>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

AthletePanel::AthletePanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("athletePanel"));
    model_ = new AthleteTableModel(this);
    grid_ = gridview::create(QStringLiteral("athleteGrid"), model_, this);
    grid_->setAccessibleName(tr("Sportler"));
    groupChooser_ = new QComboBox(this);
    groupChooser_->setObjectName(QStringLiteral("groupChooser"));
    groupChooser_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    groupChooser_->setMinimumContentsLength(16);
    groupLabel_ = new QLabel(tr("&Gruppe:"), this);
    groupLabel_->setObjectName(QStringLiteral("groupLabel"));
    groupLabel_->setBuddy(groupChooser_);
    setGroups({});
    auto* chooserRow = new QHBoxLayout;
    chooserRow->addWidget(groupLabel_);
    chooserRow->addWidget(groupChooser_);
    chooserRow->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(chooserRow);
    layout->addWidget(grid_);

    // The widest values the columns show: a long ID, long names, a date of birth in the
    // form of the language (with month names it is wider than with digits).
    QStringList birthDates;
    for (int month = 1; month <= 12; ++month)
        birthDates << texts::dateText(QDate(2000, month, 28));
    gridview::fitColumns(grid_, grid_->horizontalHeader(),
                         {{QStringLiteral("99999")},
                          {QStringLiteral("Maximiliane")},
                          {QStringLiteral("Schmidt-Müller")},
                          birthDates,
                          {QStringLiteral("Sprint und Sprungkraft")},
                          {QStringLiteral("beendet nach 10")}});
    grid_->setColumnHidden(AthleteTableModel::kStartListColumn, true);

    connect(groupChooser_, &QComboBox::currentIndexChanged, this, [this] {
        if (!choosing_)
            emit groupChosen(chosenGroupId());
    });
    connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& index) {
                if (!marking_ && index.isValid())
                    emit rowChosen(index.row());
            });
}

void AthletePanel::setAthletes(QList<Athlete> athletes) {
    marking_ = true;
    model_->setAthletes(std::move(athletes));
    marking_ = false;
}

const QList<Athlete>& AthletePanel::athletes() const {
    return model_->athletes();
}

int AthletePanel::rowCount() const {
    return model_->rowCount();
}

const Athlete& AthletePanel::athlete(int row) const {
    return model_->athlete(row);
}

int AthletePanel::rowOf(qint64 athleteId) const {
    return model_->rowOf(athleteId);
}

void AthletePanel::replace(int row, const Athlete& athlete) {
    model_->replace(row, athlete);
}

void AthletePanel::remove(int row) {
    marking_ = true;
    model_->remove(row);
    marking_ = false;
}

void AthletePanel::markRow(int row) {
    marking_ = true;
    QItemSelectionModel* selection = grid_->selectionModel();
    if (row < 0) {
        selection->clearSelection();
        selection->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    } else {
        const QModelIndex index = model_->index(row, 0);
        selection->setCurrentIndex(index,
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        grid_->scrollTo(index);
    }
    marking_ = false;
}

bool AthletePanel::gridHasFocus() const {
    return grid_->hasFocus();
}

void AthletePanel::focusGrid() {
    grid_->setFocus();
}

void AthletePanel::setGroups(const QList<Group>& groups) {
    const qint64 chosen = chosenGroupId();
    choosing_ = true;
    groupChooser_->clear();
    groupChooser_->addItem(tr("Alle Sportler"), qint64(0));
    for (const Group& group : groups)
        groupChooser_->addItem(group.name, group.id);
    const int index = groupChooser_->findData(chosen);
    groupChooser_->setCurrentIndex(index >= 0 ? index : 0);
    choosing_ = false;
}

void AthletePanel::setGroupsAvailable(bool available) {
    groupLabel_->setVisible(available);
    groupChooser_->setVisible(available);
}

qint64 AthletePanel::chosenGroupId() const {
    return groupChooser_->currentIndex() < 0 ? 0 : groupChooser_->currentData().toLongLong();
}

void AthletePanel::chooseGroup(qint64 groupId) {
    choosing_ = true;
    const int index = groupChooser_->findData(groupId);
    groupChooser_->setCurrentIndex(index >= 0 ? index : 0);
    choosing_ = false;
}

void AthletePanel::showStartList(bool shown, const QHash<qint64, QString>& texts, qint64 nextId) {
    model_->setStartList(shown ? texts : QHash<qint64, QString>(), shown ? nextId : 0);
    grid_->setColumnHidden(AthleteTableModel::kStartListColumn, !shown);
    groupChooser_->setEnabled(!shown);
}
