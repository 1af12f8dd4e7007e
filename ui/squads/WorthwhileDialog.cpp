// The dialog that sets the smallest worthwhile change of a test's best RSI.

#include "ui/squads/WorthwhileDialog.h"

#include "core/analysis/RealChange.h"
#include "core/base/Errors.h"
#include "core/measure/Metrics.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

WorthwhileDialog::WorthwhileDialog(const QString& testText, std::optional<double> current,
                                   QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("worthwhileDialog"));
    setWindowTitle(tr("Kleinste bedeutsame Änderung"));
    auto* testLabel = new QLabel(testText, this);
    testLabel->setObjectName(QStringLiteral("testLabel"));
    testLabel->setWordWrap(true);
    auto* explanation = new QLabel(tr("Eine Änderung des besten RSI wird als echt markiert, wenn "
                                      "sie größer ist als dieser Wert und als der typische "
                                      "Fehler des Sportlers. Leer: 0,2 × Streuung der besten "
                                      "Werte der Gruppe."),
                                   this);
    explanation->setWordWrap(true);

    valueField_ = new QLineEdit(
        current ? metrics::fixedText(*current, realchange::kShownDecimals) : QString(), this);
    valueField_->setObjectName(QStringLiteral("worthwhileField"));
    valueField_->setMaxLength(8);
    auto* valueLabel = new QLabel(tr("&Kleinste bedeutsame Änderung (m/s):"), this);
    valueLabel->setBuddy(valueField_);

    problemLabel_ = new QLabel(this);
    problemLabel_->setObjectName(QStringLiteral("problemLabel"));
    problemLabel_->setWordWrap(true);
    problemLabel_->setStyleSheet(QStringLiteral("color: #b00000"));
    problemLabel_->hide();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("Übernehmen"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("Abbrechen"));
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (const auto failure = failureOf([this] { enteredValue(); })) {
            problemLabel_->setText(failure->text);
            problemLabel_->show();
            valueField_->setFocus();
            return;
        }
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* form = new QFormLayout;
    form->addRow(valueLabel, valueField_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(testLabel);
    layout->addWidget(explanation);
    layout->addLayout(form);
    layout->addWidget(problemLabel_);
    layout->addWidget(buttons);
}

std::optional<double> WorthwhileDialog::enteredValue() const {
    return realchange::parseWorthwhile(valueField_->text());
}

std::optional<std::optional<double>> WorthwhileDialog::ask(QWidget* parent, const QString& testText,
                                                           std::optional<double> current) {
    WorthwhileDialog dialog(testText, current, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.enteredValue();
}
