#pragma once

#include <QAbstractTableModel>
#include <QPointer>

#include <functional>

class ResultSet;

// Shows the rows of a result set in a table grid, fetching further rows only as the grid
// scrolls to them. The grid's columns name fields of the result set.
class ResultSetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum class Format { Plain, Integer, Number, Date };
    struct Column {
        QString field;
        QString title;
        Format format = Format::Plain;
        Qt::Alignment titleAlignment = Qt::AlignCenter;
    };

    ResultSetModel(QList<Column> columns, QObject* parent = nullptr);

    // Binds the grid to a result set, or detaches it (nullptr): a detached grid shows
    // nothing and is not redrawn while the result set changes.
    void setResultSet(ResultSet* rs);
    ResultSet* resultSet() const { return rs_; }
    const QList<Column>& columns() const { return columns_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

    // The text a cell shows for a stored value.
    static QString displayText(const QVariant& value, Format format);

private:
    void rebind();

    QList<Column> columns_;
    QList<int> fieldOf_; // column -> field index in the result set, -1 when missing
    QPointer<ResultSet> rs_;
    QList<QMetaObject::Connection> connections_;
    int rows_ = 0;
};
