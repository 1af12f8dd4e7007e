// "Offene Zuordnungen": the measurements that wait for the user to choose their athlete, and
// the choice.

#pragma once

#include "core/store/Journal.h"

#include <QDialog>

class JournalReplay;
class MessageService;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

// Lists the waiting measurements (athlete as recorded, date of birth, moment, jumps) and, for
// the one chosen, the athletes of the database it may belong to and a new athlete of its
// name; "Zuordnen" gives the journal's athlete (with all his waiting measurements) to the
// choice. `assigned` is told after each choice, so that the transfer runs at once.
class AssignmentsDialog : public QDialog {
    Q_OBJECT
public:
    AssignmentsDialog(JournalReplay& replay, MessageService& messages, QWidget* parent);

    // Reads the waiting measurements anew.
    void showWaiting();
    // Gives the chosen measurement's athlete to the choice in "Zuordnen zu:".
    void assignChosen();

signals:
    void assigned();

private:
    void followChoice();

    JournalReplay& replay_;
    MessageService& messages_;
    QList<JournalEntry> entries_;
    QTableWidget* table_ = nullptr;
    QLabel* emptyLabel_ = nullptr;
    QComboBox* targetChooser_ = nullptr;
    QPushButton* assignButton_ = nullptr;
};
