#pragma once

#include "core/store/MeasurementRepository.h"

#include <QAbstractTableModel>

#include <optional>

class DataStore;

// The jump grid beside the history list: Anzahl, Stützzeit(ms), Flugzeit(ms), and the
// efficiency, height and RSI made from the times as everywhere else (metrics::efficiencyText,
// metrics::heightText, two decimals). It shows nothing or the jumps of one series in jump order,
// never those of several athletes. An excluded jump is greyed, its reason in the column
// "Ausschluss". In a series run as 10/5 the best five by RSI are marked.
class JumpTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit JumpTableModel(DataStore& store, QObject* parent = nullptr);

    void showNothing();
    // `tenFive`: the series was run as 10/5, and its best five are marked.
    void showSeries(qint64 seriesKey, bool tenFive = false);
    // A jump just stored: added below the jumps of its series when they are shown (the others
    // are not read again), or shown with its series read from the store.
    void addRecorded(const Jump& jump);
    // The jumps of a measurement not yet on the server: shown, but not to be excluded.
    void showJournalled(const QList<Jump>& jumps) { show(jumps, false); }

    // The number of the jump in a row of a series shown; none for another row or list.
    std::optional<int> jumpIndex(int row) const;
    bool isExcluded(int row) const;
    // The jumps shown, in their order.
    const QList<Jump>& shownJumps() const { return jumps_; }
    // The jumps marked as the best five of a 10/5, by their number.
    const QList<int>& markedJumps() const { return marked_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void show(QList<Jump> jumps, bool series, bool tenFive = false);
    bool isMarked(const Jump& jump) const;

    DataStore& store_;
    QList<Jump> jumps_;
    bool showsSeries_ = false; // the jumps of one series, which can be excluded
    QList<int> marked_;
};
