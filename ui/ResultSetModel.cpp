#include "ui/ResultSetModel.h"

#include "core/base/Texts.h"
#include "core/store/ResultSet.h"

ResultSetModel::ResultSetModel(QList<Column> columns, QObject* parent)
    : QAbstractTableModel(parent), columns_(std::move(columns)) {}

void ResultSetModel::setResultSet(ResultSet* rs) {
    for (const auto& c : connections_)
        disconnect(c);
    connections_.clear();
    rs_ = rs;
    if (rs_) {
        connections_ << connect(rs_, &ResultSet::opened, this, &ResultSetModel::rebind);
        connections_ << connect(rs_, &ResultSet::closed, this, &ResultSetModel::rebind);
        connections_ << connect(rs_, &ResultSet::rowsFetched, this, [this](int first, int last) {
            beginInsertRows({}, first, last);
            rows_ = last + 1;
            endInsertRows();
        });
        connections_ << connect(rs_, &ResultSet::rowInserted, this, [this](int row) {
            beginInsertRows({}, row, row);
            ++rows_;
            endInsertRows();
        });
        connections_ << connect(rs_, &ResultSet::rowRemoved, this, [this](int row) {
            beginRemoveRows({}, row, row);
            --rows_;
            endRemoveRows();
        });
        connections_ << connect(rs_, &ResultSet::rowChanged, this, [this](int row) {
            emit dataChanged(index(row, 0), index(row, columnCount() - 1));
        });
    }
    rebind();
}

void ResultSetModel::rebind() {
    beginResetModel();
    fieldOf_.clear();
    for (const auto& c : columns_)
        fieldOf_ << (rs_ ? rs_->fieldIndex(c.field) : -1);
    rows_ = rs_ && rs_->isOpen() ? rs_->fetchedCount() : 0;
    endResetModel();
}

int ResultSetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int ResultSetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QString ResultSetModel::displayText(const QVariant& value, Format format) {
    if (value.isNull())
        return {};
    switch (format) {
    case Format::Integer:
        return QString::number(value.toLongLong());
    case Format::Number:
        return texts::general(value.toDouble());
    case Format::Date:
        return texts::dateText(ResultSet::toDateTime(value).date());
    case Format::Plain:
        break;
    }
    return value.toString();
}

QVariant ResultSetModel::data(const QModelIndex& index, int role) const {
    if (!rs_ || !index.isValid() || index.row() >= rows_)
        return {};
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    if (role != Qt::DisplayRole)
        return {};
    const int field = fieldOf_.value(index.column(), -1);
    if (field < 0)
        return {};
    return displayText(rs_->cell(index.row(), field), columns_[index.column()].format);
}

QVariant ResultSetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columns_.size())
        return {};
    if (role == Qt::DisplayRole)
        return columns_[section].title;
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(columns_[section].titleAlignment | Qt::AlignVCenter);
    return {};
}

bool ResultSetModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && rs_ && rs_->isOpen() && rs_->canFetchMore();
}

void ResultSetModel::fetchMore(const QModelIndex& parent) {
    if (canFetchMore(parent))
        rs_->fetchMore(64);
}
