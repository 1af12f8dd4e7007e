// The change of a stored measurement's test and drop height.

#include "ui/history/TestEditDialog.h"

#include "core/base/Errors.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TestEditDialog::TestEditDialog(const MeasurementTest& test, const QString& measurementText,
                               QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("testEditDialog"));
    setWindowTitle(tr("Test und Fallhöhe ändern"));
    auto* measurementLabel = new QLabel(tr("Messung %1").arg(measurementText), this);
    measurementLabel->setObjectName(QStringLiteral("measurementLabel"));
    measurementLabel->setWordWrap(true);

    testChoice_ = new QComboBox(this);
    testChoice_->setObjectName(QStringLiteral("testField"));
    testChoice_->setEditable(true);
    testChoice_->setInsertPolicy(QComboBox::NoInsert);
    for (const QString& name : measurementtest::offeredNames())
        testChoice_->addItem(measurementtest::shownName(name), name);
    testChoice_->setCurrentText(measurementtest::shownName(test.name));
    auto* testLabel = new QLabel(tr("&Test:"), this);
    testLabel->setObjectName(QStringLiteral("testLabel"));
    testLabel->setBuddy(testChoice_);

    dropHeightField_ = new QLineEdit(measurementtest::dropHeightText(test.dropHeightCm), this);
    dropHeightField_->setObjectName(QStringLiteral("dropHeightField"));
    dropHeightField_->setMaxLength(4);
    auto* dropHeightLabel = new QLabel(tr("&Fallhöhe (cm):"), this);
    dropHeightLabel->setObjectName(QStringLiteral("dropHeightLabel"));
    dropHeightLabel->setBuddy(dropHeightField_);

    problemLabel_ = new QLabel(this);
    problemLabel_->setObjectName(QStringLiteral("problemLabel"));
    problemLabel_->setWordWrap(true);
    problemLabel_->setStyleSheet(QStringLiteral("color: #b00000"));
    problemLabel_->hide();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("Ändern"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("Abbrechen"));
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        // The dialog closes only with a test that passes the checks.
        if (const auto failure = failureOf([this] { enteredTest(); })) {
            problemLabel_->setText(failure->text);
            problemLabel_->show();
            dropHeightField_->setFocus();
            return;
        }
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(testChoice_, &QComboBox::currentTextChanged, this, &TestEditDialog::followTest);

    auto* form = new QFormLayout;
    form->addRow(testLabel, testChoice_);
    form->addRow(dropHeightLabel, dropHeightField_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(measurementLabel);
    layout->addLayout(form);
    layout->addWidget(problemLabel_);
    layout->addWidget(buttons);
    followTest();
}

QString TestEditDialog::testName() const {
    // An offered test as it is stored, whatever the language shows.
    const int index = testChoice_->findText(testChoice_->currentText());
    return index >= 0 ? testChoice_->itemData(index).toString() : testChoice_->currentText();
}

void TestEditDialog::followTest() {
    dropHeightField_->setEnabled(measurementtest::takesDropHeight(testName()));
}

MeasurementTest TestEditDialog::enteredTest() const {
    return measurementtest::chosen(testName(), dropHeightField_->text());
}

std::optional<MeasurementTest> TestEditDialog::ask(QWidget* parent, const MeasurementTest& test,
                                                   const QString& measurementText) {
    TestEditDialog dialog(test, measurementText, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.enteredTest();
}
