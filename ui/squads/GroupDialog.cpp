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

GroupDialog::GroupDialog(DataStore& store, MessageService& ui, QWidget* parent)
    : QDialog(parent), store_(store), ui_(ui) {
    setObjectName(QStringLiteral("groupDialog"));
    setWindowTitle(tr("Gruppen"));
    setModal(true);

    groupList = new QListWidget(this);
    groupList->setObjectName(QStringLiteral("groupList"));
    auto* listLabel = new QLabel(tr("&Gruppen:"), this);
    listLabel->setBuddy(groupList);
    nameField = new QLineEdit(this);
    nameField->setObjectName(QStringLiteral("groupNameField"));
    nameField->setMaxLength(kGroupNameLength);
    auto* nameLabel = new QLabel(tr("&Name:"), this);
    nameLabel->setBuddy(nameField);
    newButton = new QPushButton(tr("N&eu"), this);
    newButton->setObjectName(QStringLiteral("newGroupButton"));
    renameButton = new QPushButton(tr("&Umbenennen"), this);
    renameButton->setObjectName(QStringLiteral("renameGroupButton"));
    deleteButton = new QPushButton(tr("&Löschen"), this);
    deleteButton->setObjectName(QStringLiteral("deleteGroupButton"));
    closeButton = new QPushButton(tr("Schließen"), this);
    closeButton->setObjectName(QStringLiteral("closeButton"));

    auto* grid = new QGridLayout;
    grid->addWidget(listLabel, 0, 0, 1, 2);
    grid->addWidget(groupList, 1, 0, 4, 1);
    grid->addWidget(deleteButton, 1, 1);
    grid->setRowStretch(4, 1);
    grid->addWidget(nameLabel, 5, 0, 1, 2);
    grid->addWidget(nameField, 6, 0);
    auto* nameButtons = new QVBoxLayout;
    nameButtons->addWidget(newButton);
    nameButtons->addWidget(renameButton);
    grid->addLayout(nameButtons, 6, 1);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(closeButton, QDialogButtonBox::RejectRole);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);

    const auto guarded = [this](void (GroupDialog::*handler)()) {
        return [this, handler] {
            runGuarded(ui_, [this, handler] { (this->*handler)(); });
        };
    };
    connect(newButton, &QPushButton::clicked, this, guarded(&GroupDialog::createGroup));
    connect(renameButton, &QPushButton::clicked, this, guarded(&GroupDialog::renameGroup));
    connect(deleteButton, &QPushButton::clicked, this, guarded(&GroupDialog::deleteGroup));
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(groupList, &QListWidget::currentRowChanged, this, [this] {
        if (const QListWidgetItem* item = groupList->currentItem())
            nameField->setText(item->text());
        updateButtons();
    });
    connect(nameField, &QLineEdit::textChanged, this, &GroupDialog::updateButtons);
}

void GroupDialog::showEvent(QShowEvent* event) {
    changed_ = false;
    runGuarded(ui_, [this] { reload(chosenId()); });
    QDialog::showEvent(event);
    nameField->setFocus();
}

void GroupDialog::reload(qint64 chosenId) {
    groupList->clear();
    nameField->clear();
    for (const Group& group : store_.groups().all()) {
        auto* item = new QListWidgetItem(group.name, groupList);
        item->setData(Qt::UserRole, group.id);
        if (group.id == chosenId)
            groupList->setCurrentItem(item);
    }
    updateButtons();
}

qint64 GroupDialog::chosenId() const {
    const QListWidgetItem* item = groupList->currentItem();
    return item ? item->data(Qt::UserRole).toLongLong() : 0;
}

void GroupDialog::updateButtons() {
    const bool chosen = chosenId() != 0;
    const bool named = !nameField->text().trimmed().isEmpty();
    newButton->setEnabled(named);
    renameButton->setEnabled(chosen && named);
    deleteButton->setEnabled(chosen);
    newButton->setDefault(!chosen);
    renameButton->setDefault(chosen);
}

void GroupDialog::createGroup() {
    const qint64 id = store_.groups().add(nameField->text());
    changed_ = true;
    reload(id);
}

void GroupDialog::renameGroup() {
    const qint64 id = chosenId();
    if (id == 0)
        return;
    store_.groups().rename(id, nameField->text());
    changed_ = true;
    reload(id);
}

void GroupDialog::deleteGroup() {
    const QListWidgetItem* item = groupList->currentItem();
    if (!item)
        return;
    if (!boxes::confirmDestructive(ui_,
                                   tr("Soll die Gruppe „%1“ gelöscht werden? Ihre Sportler "
                                      "bleiben gespeichert.")
                                       .arg(item->text()),
                                   {tr("&Ja"), tr("&Abbrechen")}))
        return;
    store_.groups().remove(item->data(Qt::UserRole).toLongLong());
    changed_ = true;
    reload();
}
