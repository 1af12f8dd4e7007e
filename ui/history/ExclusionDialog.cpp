// The dialog that asks why a jump is excluded.

#include "ui/history/ExclusionDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

ExclusionDialog::ExclusionDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("exclusionDialog"));
    setWindowTitle(tr("Sprung ausschließen"));
    reasonField_ = new QComboBox(this);
    reasonField_->setObjectName(QStringLiteral("reasonField"));
    reasonField_->setEditable(true);
    reasonField_->setInsertPolicy(QComboBox::NoInsert);
    reasonField_->addItems({tr("Doppelkontakt"), tr("Fehlversuch"), tr("Messfehler")});
    reasonField_->lineEdit()->setMaxLength(kReasonLength);
    reasonField_->setMinimumContentsLength(24);
    auto* label = new QLabel(tr("&Grund:"), this);
    label->setObjectName(QStringLiteral("reasonLabel"));
    label->setBuddy(reasonField_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("Ausschließen"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("Abbrechen"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // No reason, no exclusion.
    connect(reasonField_, &QComboBox::currentTextChanged, this, [buttons](const QString& text) {
        buttons->button(QDialogButtonBox::Ok)->setEnabled(!text.trimmed().isEmpty());
    });

    auto* form = new QFormLayout;
    form->addRow(label, reasonField_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

QString ExclusionDialog::reason() const {
    return reasonField_->currentText().simplified();
}

std::optional<QString> ExclusionDialog::ask(QWidget* parent, int jumpIndex) {
    ExclusionDialog dialog(parent);
    dialog.setWindowTitle(tr("Sprung %1 ausschließen").arg(jumpIndex));
    if (dialog.exec() != QDialog::Accepted || dialog.reason().isEmpty())
        return std::nullopt;
    return dialog.reason();
}
