// The dialog that marks a measurement as the repeat of another.

#include "ui/history/RepeatDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

RepeatDialog::RepeatDialog(const QList<HistoryController::RepeatChoice>& choices, qint64 current,
                           const QString& measurementText, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("repeatDialog"));
    setWindowTitle(tr("Test–Retest-Paar"));
    auto* measurementLabel = new QLabel(tr("Messung %1").arg(measurementText), this);
    measurementLabel->setObjectName(QStringLiteral("measurementLabel"));
    measurementLabel->setWordWrap(true);
    auto* explanation = new QLabel(
        tr("Eine Wiederholung desselben Tests kurz nach dem ersten Versuch zeigt, wie sehr "
           "die Werte ohne echte Änderung schwanken: der typische Fehler wird aus solchen "
           "Paaren berechnet."),
        this);
    explanation->setWordWrap(true);

    firstChoice_ = new QComboBox(this);
    firstChoice_->setObjectName(QStringLiteral("repeatOfField"));
    firstChoice_->addItem(tr("keiner Messung"), qint64(0));
    for (const HistoryController::RepeatChoice& choice : choices)
        firstChoice_->addItem(choice.text, choice.measurementNumber);
    firstChoice_->setCurrentIndex(std::max(0, firstChoice_->findData(current)));
    auto* firstLabel = new QLabel(tr("&Wiederholung von:"), this);
    firstLabel->setBuddy(firstChoice_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("Übernehmen"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("Abbrechen"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* form = new QFormLayout;
    form->addRow(firstLabel, firstChoice_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(measurementLabel);
    layout->addWidget(explanation);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

qint64 RepeatDialog::chosenNumber() const {
    return firstChoice_->currentData().toLongLong();
}

std::optional<qint64> RepeatDialog::ask(QWidget* parent,
                                        const QList<HistoryController::RepeatChoice>& choices,
                                        qint64 current, const QString& measurementText) {
    RepeatDialog dialog(choices, current, measurementText, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.chosenNumber();
}
