// The jumps of the chosen series as the jump grid shows them.

#include "ui/history/JumpTableModel.h"

#include "core/analysis/JumpAnalysis.h"
#include "core/analysis/Protocols.h"
#include "core/analysis/StoredMeasurements.h"
#include "core/base/Texts.h"
#include "core/measure/Metrics.h"
#include "core/measure/TrialKind.h"
#include "core/store/DataStore.h"

#include <QBrush>
#include <QColor>

namespace {

enum Column {
    JumpIndexColumn,
    ContactColumn,
    FlightColumn,
    EfficiencyColumn,
    HeightColumn,
    RsiColumn,
    ExclusionColumn,
    Count
};

const char* const kTitles[Count] = {QT_TRANSLATE_NOOP("JumpTableModel", "Anzahl"),
                                    QT_TRANSLATE_NOOP("JumpTableModel", "Stützzeit(ms)"),
                                    QT_TRANSLATE_NOOP("JumpTableModel", "Flugzeit(ms)"),
                                    QT_TRANSLATE_NOOP("JumpTableModel", "Effizienz"),
                                    QT_TRANSLATE_NOOP("JumpTableModel", "Höhe(cm)"),
                                    QT_TRANSLATE_NOOP("JumpTableModel", "RSI"),
                                    QT_TRANSLATE_NOOP("JumpTableModel", "Ausschluss")};

} // namespace

JumpTableModel::JumpTableModel(DataStore& store, QObject* parent)
    : QAbstractTableModel(parent), store_(store) {}

void JumpTableModel::show(QList<Jump> jumps, bool series, bool tenFive) {
    beginResetModel();
    showsSeries_ = series;
    jumps_ = std::move(jumps);
    marked_.clear();
    // Without ten valid jumps (one excluded, say) there are no best five to mark.
    if (tenFive)
        if (const auto result = protocols::tenFive(analysis::storedJumps(jumps_)))
            marked_ = result->bestJumpIndexes;
    endResetModel();
}

bool JumpTableModel::isMarked(const Jump& jump) const {
    return showsSeries_ && marked_.contains(static_cast<int>(jump.jumpIndex));
}

void JumpTableModel::showNothing() {
    show({}, false);
}

void JumpTableModel::showSeries(qint64 seriesKey, bool tenFive) {
    show(store_.jumps().ofSeries(seriesKey), true, tenFive);
}

void JumpTableModel::addRecorded(const Jump& jump) {
    const bool sameSeries = showsSeries_ && marked_.isEmpty() &&
                            (jumps_.isEmpty() ? true : jumps_.first().seriesKey == jump.seriesKey);
    if (!sameSeries) {
        showSeries(static_cast<qint64>(jump.seriesKey));
        return;
    }
    // Read with its series already (its entry was chosen as it was created).
    if (!jumps_.isEmpty() && jumps_.last().jumpIndex >= jump.jumpIndex)
        return;
    const int row = static_cast<int>(jumps_.size());
    beginInsertRows({}, row, row);
    jumps_.append(jump);
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
    const Jump& jump = jumps_[index.row()];
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(index.column() == ExclusionColumn
                                                     ? Qt::AlignLeft | Qt::AlignVCenter
                                                     : Qt::AlignCenter));
    // An excluded jump is shown greyed, with its reason.
    if (role == Qt::ForegroundRole && jump.excluded)
        return QBrush(QColor(0x90, 0x90, 0x90));
    if (role == Qt::ToolTipRole && jump.excluded)
        return tr("ausgeschlossen: %1").arg(jump.exclusionReason);
    // One of the best five of a 10/5: on the colour its bar has in the series' chart.
    if (role == Qt::BackgroundRole && isMarked(jump))
        return QBrush(QColor(255, 214, 170));
    if (role == Qt::ToolTipRole && isMarked(jump))
        return tr("einer der 5 besten Sprünge nach RSI");
    // The closing contact of a series is no jump: no number, flight time, height or
    // efficiency, and its own text in the last column (short, so that the grid keeps its
    // width; the whole word in its tip).
    const bool closing = trial::isClosingContact(jump.flightMs);
    if (closing && role == Qt::ToolTipRole)
        return tr("Abschlusskontakt");
    if (role != Qt::DisplayRole)
        return {};
    if (closing) {
        switch (index.column()) {
        case ContactColumn:
            return texts::general(jump.contactMs);
        case ExclusionColumn:
            return jump.excluded ? jump.exclusionReason : tr("Abschluss");
        default:
            return QString();
        }
    }
    switch (index.column()) {
    case JumpIndexColumn:
        return texts::general(jump.jumpIndex);
    case ContactColumn:
        return texts::general(jump.contactMs);
    case FlightColumn:
        return texts::general(jump.flightMs);
    case EfficiencyColumn:
        return metrics::efficiencyText(jump.flightMs, jump.contactMs);
    case HeightColumn:
        return metrics::heightText(metrics::heightCm(jump.flightMs));
    case RsiColumn: {
        // A time the unit did not measure gives no RSI.
        const analysis::StoredJump stored{jump.contactMs, jump.flightMs};
        return analysis::isValidJump(stored) ? metrics::fixedText(analysis::jumpRsi(stored), 2)
                                             : QString();
    }
    case ExclusionColumn:
        return jump.excluded ? jump.exclusionReason : QString();
    }
    return {};
}

std::optional<int> JumpTableModel::jumpIndex(int row) const {
    if (row < 0 || row >= jumps_.size() || !showsSeries_)
        return std::nullopt;
    return static_cast<int>(jumps_[row].jumpIndex);
}

bool JumpTableModel::isExcluded(int row) const {
    return row >= 0 && row < jumps_.size() && jumps_[row].excluded;
}

QVariant JumpTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= Count)
        return {};
    if (role == Qt::DisplayRole)
        return tr(kTitles[section]);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue((section == JumpIndexColumn ? Qt::AlignLeft : Qt::AlignCenter) |
                                   Qt::AlignVCenter);
    return {};
}
