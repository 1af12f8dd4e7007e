// The dialog that sets up a test day once for a squad: its name, its athletes (a group or the
// listed ones), the test, drop height, protocol, the kind and end of its runs and the trials
// per athlete.

#pragma once

#include "core/store/GroupRepository.h"
#include "core/store/TestDayRepository.h"

#include <QDialog>

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

// What the user set up: the day, and the group whose athletes it is for (0: the athletes
// listed in the grid).
struct TestDayChoice {
    TestDay day;
    qint64 groupId = 0;
};

class TestDayDialog : public QDialog {
    Q_OBJECT
public:
    // Offers `offered` (the run panel's set-up) for the groups; `groupId` is the group chosen
    // above the grid (0: the `listedCount` athletes listed), so that Return takes them all.
    // `open` stores the day and throws AppError when it cannot: the dialog then says why and
    // stays open with what was entered.
    TestDayDialog(const TestDay& offered, const QList<Group>& groups, qint64 groupId,
                  int listedCount, std::function<void(const TestDayChoice&)> open,
                  QWidget* parent = nullptr);

    // What the fields hold; throws AppError when the drop height or a profile's heights cannot
    // be taken.
    TestDayChoice entered() const;

private:
    void followChoices();
    void suggestName();
    QString testName() const;
    QString groupName() const;

    QList<Group> groups_;
    QLineEdit* nameField_ = nullptr;
    QComboBox* athletesChoice_ = nullptr;
    QComboBox* testChoice_ = nullptr;
    QLineEdit* dropHeightField_ = nullptr;
    QComboBox* protocolChoice_ = nullptr;
    QLineEdit* heightsField_ = nullptr;
    QSpinBox* trialsPerHeightField_ = nullptr;
    QComboBox* modeChoice_ = nullptr;
    QComboBox* endChoice_ = nullptr;
    QSpinBox* endLimit_ = nullptr;
    QSpinBox* trialsField_ = nullptr;
    QLabel* problemLabel_ = nullptr;
    QList<QWidget*> testRows_;    // the test's and a series' fields, and their labels
    QList<QWidget*> profileRows_; // a profile's
    bool nameEdited_ = false;
};
