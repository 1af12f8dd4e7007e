// The athletes the grid lists, as a table model.

#include "ui/athletes/AthleteTableModel.h"

#include "core/base/Texts.h"

#include <QFont>

namespace {

enum Column {
    IdColumn,
    FirstNameColumn,
    NameColumn,
    BirthDateColumn,
    RemarkColumn,
    StartListColumn,
    ColumnCount
};

const char* const kTitles[ColumnCount] = {QT_TRANSLATE_NOOP("AthleteTableModel", "ID"),
                                          QT_TRANSLATE_NOOP("AthleteTableModel", "Vorname"),
                                          QT_TRANSLATE_NOOP("AthleteTableModel", "Name"),
                                          QT_TRANSLATE_NOOP("AthleteTableModel", "Geb. am"),
                                          QT_TRANSLATE_NOOP("AthleteTableModel", "Bemerkung"),
                                          QT_TRANSLATE_NOOP("AthleteTableModel", "Testtag")};

static_assert(StartListColumn == AthleteTableModel::kStartListColumn);

} // namespace

void AthleteTableModel::setStartList(QHash<qint64, QString> texts, qint64 nextId) {
    startList_ = std::move(texts);
    nextId_ = nextId;
    if (!athletes_.isEmpty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

void AthleteTableModel::setAthletes(QList<Athlete> athletes) {
    beginResetModel();
    athletes_ = std::move(athletes);
    endResetModel();
}

void AthleteTableModel::replace(int row, const Athlete& athlete) {
    athletes_[row] = athlete;
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

void AthleteTableModel::remove(int row) {
    beginRemoveRows({}, row, row);
    athletes_.removeAt(row);
    endRemoveRows();
}

int AthleteTableModel::rowOf(qint64 athleteId) const {
    for (int row = 0; row < athletes_.size(); ++row)
        if (athletes_[row].id == athleteId)
            return row;
    return -1;
}

int AthleteTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(athletes_.size());
}

int AthleteTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant AthleteTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= athletes_.size())
        return {};
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    const Athlete& a = athletes_[index.row()];
    // The next athlete of a test day stands out in his whole row.
    if (role == Qt::FontRole && nextId_ != 0 && a.id == nextId_) {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case IdColumn:
        return QString::number(a.id);
    case FirstNameColumn:
        return a.firstName;
    case NameColumn:
        return a.name;
    case BirthDateColumn:
        return texts::dateText(a.birthDate);
    case RemarkColumn:
        return a.remark;
    case StartListColumn:
        return startList_.value(a.id);
    }
    return {};
}

QVariant AthleteTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return {};
    if (role == Qt::DisplayRole)
        return tr(kTitles[section]);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    return {};
}
