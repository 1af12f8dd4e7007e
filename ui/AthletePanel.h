#pragma once

#include "core/store/AthleteRepository.h"

#include <QWidget>

class AthleteTableModel;
class QTableView;

// The athlete grid: ID, Vorname, Name, Geb. am and Bemerkung of the listed athletes, one of
// them the selected one.
class AthletePanel : public QWidget {
    Q_OBJECT
public:
    explicit AthletePanel(QWidget* parent = nullptr);

    // Lists the athletes; none is selected afterwards (and nothing is told).
    void setAthletes(QList<Athlete> athletes);
    const QList<Athlete>& athletes() const;
    int rowCount() const;
    const Athlete& athlete(int row) const;
    // The row of the athlete with this ID, -1 when he is not listed.
    int rowOf(qint64 athleteId) const;
    void replace(int row, const Athlete& athlete);
    void remove(int row);
    // Marks a row as the selected one (none for -1) and scrolls to it, without telling.
    void markRow(int row);

    bool gridHasFocus() const;
    void focusGrid();

signals:
    // The user picked another row, with the mouse or the keys.
    void rowChosen(int row);

private:
    AthleteTableModel* model_ = nullptr;
    QTableView* grid_ = nullptr;
    bool marking_ = false;
};
