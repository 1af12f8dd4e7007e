#pragma once

#include "core/store/AthleteRepository.h"
#include "core/store/GroupRepository.h"

#include <QWidget>

class AthleteTableModel;
class QComboBox;
class QLabel;
class QTableView;

// The athlete grid: ID, Vorname, Name, Geb. am and Bemerkung of the listed athletes, one of
// them the selected one; above it the group chooser ("Gruppe:"), "Alle Sportler" or one
// group, whose athletes the grid lists.
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

    // The groups the chooser offers after "Alle Sportler". The chosen group stays chosen while
    // it is offered; otherwise "Alle Sportler" is. Nothing is told.
    void setGroups(const QList<Group>& groups);
    // Without groups (a database that has none) the chooser is hidden.
    void setGroupsAvailable(bool available);
    // The chosen group's ID, 0 for "Alle Sportler".
    qint64 chosenGroupId() const;
    // Chooses a group (0: "Alle Sportler") without telling.
    void chooseGroup(qint64 groupId);
    // A test day's start list beside the athletes (each one's trials, the next one in bold),
    // while `shown`; the group chooser is locked meanwhile.
    void showStartList(bool shown, const QHash<qint64, QString>& texts = {}, qint64 nextId = 0);

signals:
    // The user picked another row, with the mouse or the keys.
    void rowChosen(int row);
    // The user chose another group (0: "Alle Sportler").
    void groupChosen(qint64 groupId);

private:
    AthleteTableModel* model_ = nullptr;
    QTableView* grid_ = nullptr;
    QLabel* groupLabel_ = nullptr;
    QComboBox* groupChooser_ = nullptr;
    bool choosing_ = false;
    bool marking_ = false;
};
