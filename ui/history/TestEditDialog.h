// The dialog that changes the test and drop height of a stored measurement.

#pragma once

#include "core/measure/MeasurementTest.h"

#include <QDialog>

#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;

class TestEditDialog : public QDialog {
    Q_OBJECT
public:
    TestEditDialog(const MeasurementTest& test, const QString& measurementText,
                   QWidget* parent = nullptr);

    // The test as the user entered it, checked as at a run's start; throws AppError when the
    // name is too long or the drop height no whole number from 0 to 150.
    MeasurementTest enteredTest() const;

    // Asks for the new test; none when the user cancels. An entry that does not pass the
    // checks is said in the dialog, which stays open.
    static std::optional<MeasurementTest> ask(QWidget* parent, const MeasurementTest& test,
                                              const QString& measurementText);

private:
    QString testName() const;
    void followTest();

    QComboBox* testChoice_ = nullptr;
    QLineEdit* dropHeightField_ = nullptr;
    QLabel* problemLabel_ = nullptr;
};
