#pragma once

#include "core/store/MeasurementRepository.h"

#include <QAbstractTableModel>

class DataStore;

// The jump grid beside the history list: Anzahl, Stützzeit(ms), Flugzeit(ms), and the
// efficiency and height made from the times as everywhere else (metrics::efficiencyText,
// metrics::heightText). It shows nothing, the jumps of one series in jump
// order, or every stored jump (read page by page as the grid scrolls to them).
class JumpTableModel : public QAbstractTableModel {
public:
    explicit JumpTableModel(DataStore& store, QObject* parent = nullptr);

    void showNothing();
    void showSeries(qint64 seriesKey);
    void showAllJumps();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

    static constexpr int kPageSize = 256;

private:
    void show(QList<Jump> jumps, bool more);

    DataStore& store_;
    QList<Jump> jumps_;
    bool more_ = false; // further pages of all jumps wait to be read
};
