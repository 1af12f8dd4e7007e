#pragma once

#include "core/store/GroupRepository.h"

#include <QDialog>

class DataStore;
class MessageService;
class QLineEdit;
class QListWidget;
class QPushButton;

// The dialog "Gruppen": the groups of the database in a list, and a name field with which a
// group is created ("Neu") or the chosen one renamed ("Umbenennen"); "Löschen" deletes the
// chosen group after a question, never an athlete. Every change is stored at once.
//
// Object names: groupList and groupListLabel, groupNameField and groupNameLabel,
// newGroupButton, renameGroupButton, deleteGroupButton and closeButton.
class GroupDialog : public QDialog {
    Q_OBJECT
public:
    GroupDialog(DataStore& store, MessageService& messages, QWidget* parent = nullptr);

    // Reads the groups anew; chooses the group with this ID when it is there.
    void reload(qint64 chosenId = 0);
    // Whether the groups changed since the dialog was last shown.
    bool changed() const { return changed_; }

    void createGroup();
    void renameGroup();
    void deleteGroup();

protected:
    void showEvent(QShowEvent* event) override;

private:
    qint64 chosenId() const;
    void updateButtons();

    DataStore& store_;
    MessageService& messages_;
    bool changed_ = false;
    QListWidget* groupList_ = nullptr;
    QLineEdit* nameField_ = nullptr;
    QPushButton* newButton_ = nullptr;
    QPushButton* renameButton_ = nullptr;
    QPushButton* deleteButton_ = nullptr;
};
