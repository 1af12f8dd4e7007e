#include "ui/JumpTableModel.h"

#include "core/base/Texts.h"
#include "core/measure/Metrics.h"
#include "core/store/DataStore.h"

namespace {

enum Column { NumberColumn, ContactColumn, FlightColumn, EfficiencyColumn, HeightColumn, Count };

const char* const kTitles[Count] = {"Anzahl", "Stützzeit(ms)", "Flugzeit(ms)", "Effizienz",
                                    "Höhe(cm)"};

} // namespace

JumpTableModel::JumpTableModel(DataStore& store, QObject* parent)
    : QAbstractTableModel(parent), store_(store) {}

void JumpTableModel::show(QList<Jump> jumps, bool more) {
    beginResetModel();
    jumps_ = std::move(jumps);
    more_ = more;
    endResetModel();
}

void JumpTableModel::showNothing() {
    show({}, false);
}

void JumpTableModel::showSeries(qint64 seriesKey) {
    show(store_.measurements().jumpsOf(seriesKey), false);
}

void JumpTableModel::showAllJumps() {
    QList<Jump> page = store_.measurements().allJumps(0, kPageSize);
    const bool more = page.size() == kPageSize;
    show(std::move(page), more);
}

bool JumpTableModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && more_;
}

void JumpTableModel::fetchMore(const QModelIndex& parent) {
    if (!canFetchMore(parent))
        return;
    const QList<Jump> page =
        store_.measurements().allJumps(static_cast<int>(jumps_.size()), kPageSize);
    more_ = page.size() == kPageSize;
    if (page.isEmpty())
        return;
    const int first = static_cast<int>(jumps_.size());
    beginInsertRows({}, first, first + static_cast<int>(page.size()) - 1);
    jumps_ += page;
    endInsertRows();
}

int JumpTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(jumps_.size());
}

int JumpTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Count;
}

QVariant JumpTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= jumps_.size())
        return {};
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    if (role != Qt::DisplayRole)
        return {};
    const Jump& jump = jumps_[index.row()];
    switch (index.column()) {
    case NumberColumn:
        return texts::general(jump.number);
    case ContactColumn:
        return texts::general(jump.contactMs);
    case FlightColumn:
        return texts::general(jump.flightMs);
    case EfficiencyColumn:
        return metrics::efficiencyText(jump.flightMs, jump.contactMs);
    case HeightColumn:
        return metrics::heightText(metrics::heightCm(jump.flightMs));
    }
    return {};
}

QVariant JumpTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= Count)
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromUtf8(kTitles[section]);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue((section == NumberColumn ? Qt::AlignLeft : Qt::AlignCenter) |
                                   Qt::AlignVCenter);
    return {};
}
