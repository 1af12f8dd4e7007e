// The dialog "Gruppen": create, rename and delete groups.

#include "ui/squads/GroupDialog.h"

#include "core/store/DataStore.h"
#include "ui/common/MessageService.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

GroupDialog::GroupDialog(DataStore& store, MessageService& messages, QWidget* parent)
    : QDialog(parent), store_(store), messages_(messages) {
    setObjectName(QStringLiteral("groupDialog"));
    setWindowTitle(tr("Gruppen"));
    setModal(true);

    groupList_ = new QListWidget(this);
    groupList_->setObjectName(QStringLiteral("groupList"));
    auto* listLabel = new QLabel(tr("&Gruppen:"), this);
    listLabel->setObjectName(QStringLiteral("groupListLabel"));
    listLabel->setBuddy(groupList_);
    nameField_ = new QLineEdit(this);
    nameField_->setObjectName(QStringLiteral("groupNameField"));
    nameField_->setMaxLength(kGroupNameLength);
    auto* nameLabel = new QLabel(tr("&Name:"), this);
    nameLabel->setObjectName(QStringLiteral("groupNameLabel"));
    nameLabel->setBuddy(nameField_);
    newButton_ = new QPushButton(tr("N&eu"), this);
    newButton_->setObjectName(QStringLiteral("newGroupButton"));
    renameButton_ = new QPushButton(tr("&Umbenennen"), this);
    renameButton_->setObjectName(QStringLiteral("renameGroupButton"));
    deleteButton_ = new QPushButton(tr("&Löschen"), this);
    deleteButton_->setObjectName(QStringLiteral("deleteGroupButton"));
    auto* closeButton = new QPushButton(tr("Schließen"), this);
    closeButton->setObjectName(QStringLiteral("closeButton"));

    auto* grid = new QGridLayout;
    grid->addWidget(listLabel, 0, 0, 1, 2);
    grid->addWidget(groupList_, 1, 0, 4, 1);
    grid->addWidget(deleteButton_, 1, 1);
    grid->setRowStretch(4, 1);
    grid->addWidget(nameLabel, 5, 0, 1, 2);
    grid->addWidget(nameField_, 6, 0);
    auto* nameButtons = new QVBoxLayout;
    nameButtons->addWidget(newButton_);
    nameButtons->addWidget(renameButton_);
    grid->addLayout(nameButtons, 6, 1);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(closeButton, QDialogButtonBox::RejectRole);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);

    const auto guarded = [this](void (GroupDialog::*handler)()) {
        return [this, handler] {
            runGuarded(messages_, [this, handler] { (this->*handler)(); });
        };
    };
    connect(newButton_, &QPushButton::clicked, this, guarded(&GroupDialog::createGroup));
    connect(renameButton_, &QPushButton::clicked, this, guarded(&GroupDialog::renameGroup));
    connect(deleteButton_, &QPushButton::clicked, this, guarded(&GroupDialog::deleteGroup));
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(groupList_, &QListWidget::currentRowChanged, this, [this] {
        if (const QListWidgetItem* item = groupList_->currentItem())
            nameField_->setText(item->text());
        updateButtons();
    });
    connect(nameField_, &QLineEdit::textChanged, this, &GroupDialog::updateButtons);
}

void GroupDialog::showEvent(QShowEvent* event) {
    changed_ = false;
    runGuarded(messages_, [this] { reload(chosenId()); });
    QDialog::showEvent(event);
    nameField_->setFocus();
}

void GroupDialog::reload(qint64 chosenId) {
    groupList_->clear();
    nameField_->clear();
    for (const Group& group : store_.groups().all()) {
        auto* item = new QListWidgetItem(group.name, groupList_);
        item->setData(Qt::UserRole, group.id);
        if (group.id == chosenId)
            groupList_->setCurrentItem(item);
    }
    updateButtons();
}

qint64 GroupDialog::chosenId() const {
    const QListWidgetItem* item = groupList_->currentItem();
    return item ? item->data(Qt::UserRole).toLongLong() : 0;
}

void GroupDialog::updateButtons() {
    const bool chosen = chosenId() != 0;
    const bool named = !nameField_->text().trimmed().isEmpty();
    newButton_->setEnabled(named);
    renameButton_->setEnabled(chosen && named);
    deleteButton_->setEnabled(chosen);
    newButton_->setDefault(!chosen);
    renameButton_->setDefault(chosen);
}

void GroupDialog::createGroup() {
    const qint64 id = store_.groups().add(nameField_->text());
    changed_ = true;
    reload(id);
}

void GroupDialog::renameGroup() {
    const qint64 id = chosenId();
    if (id == 0)
        return;
    store_.groups().rename(id, nameField_->text());
    changed_ = true;
    reload(id);
}

void GroupDialog::deleteGroup() {
    const QListWidgetItem* item = groupList_->currentItem();
    if (!item)
        return;
    if (!boxes::confirmDestructive(messages_,
                                   tr("Soll die Gruppe „%1“ gelöscht werden? Ihre Sportler "
                                      "bleiben gespeichert.")
                                       .arg(item->text()),
                                   {tr("&Ja"), tr("&Abbrechen")}))
        return;
    store_.groups().remove(item->data(Qt::UserRole).toLongLong());
    changed_ = true;
    reload();
}
