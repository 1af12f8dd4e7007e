#pragma once

#include "core/store/AthleteRepository.h"

#include <QAbstractTableModel>
#include <QHash>

// The athletes the grid lists: ID, Vorname, Name, Geb. am and Bemerkung, and during a test
// day the start list ("Testtag").
class AthleteTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setAthletes(QList<Athlete> athletes);
    const QList<Athlete>& athletes() const { return athletes_; }
    const Athlete& athlete(int row) const { return athletes_.at(row); }
    void replace(int row, const Athlete& athlete);
    void remove(int row);
    // The row of the athlete with this ID, -1 when he is not listed.
    int rowOf(qint64 athleteId) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The column of a test day's start list: each athlete's trials, the next one in bold.
    static constexpr int kStartListColumn = 5;
    void setStartList(QHash<qint64, QString> texts, qint64 nextId);

private:
    QList<Athlete> athletes_;
    QHash<qint64, QString> startList_;
    qint64 nextId_ = 0;
};
