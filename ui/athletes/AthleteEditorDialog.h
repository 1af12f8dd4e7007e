#pragma once

#include "core/store/AthleteRepository.h"
#include "core/store/GroupRepository.h"

#include <QColor>
#include <QDate>
#include <QDialog>
#include <QString>

class MessageService;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class RemarkEdit;

// Athlete editor "Sportler -": sex, surname, first name, date of birth and a remark of one
// athlete. The main window prepares it for a new or a changed athlete, shows it modally and
// on confirmation reads the entered values back. Created once and reused.
//
// Object names: the fields sexField, nameField, firstNameField, birthDateField, remarkField
// and groupsField, the buttons okButton and cancelButton; the labels "Geschlecht:", "Name:",
// "Vorname:", "Geb. am:", "Bemerkungen:" and "Gruppen:" are sexLabel, nameLabel,
// firstNameLabel, birthDateLabel, remarkLabel and groupsLabel; the marks "*" beside the sex
// list, Name, Vorname and Geb. am are sexMark, nameMark, firstNameMark and birthDateMark.
class AthleteEditorDialog : public QDialog {
    Q_OBJECT
public:
    explicit AthleteEditorDialog(MessageService& messages, QWidget* parent = nullptr);

    // For a new athlete: caption "Sportler - Neu", only Name and Vorname marked as
    // required, every field empty, no sex chosen.
    void prepareNew();
    // After a confirmed new athlete: shows the marks that prepareNew emptied again.
    void restoreMarks();
    // For a change of an athlete: caption "Sportler - ändern", all four marks, the fields
    // filled from the athlete (a stored date of birth that is no date as it is stored, so
    // that the check marks it; a sex other than 0 or 1 shows no selection), then the
    // birth-date check.
    void prepareChange(const Athlete& athlete);

    // Birth-date check: a Geb. am text that is not empty and is no date turns the field light
    // blue, any other text gives it the normal background. Also runs while the text changes.
    void checkBirthDate();

    // The groups offered (each a check box in the list "Gruppen") and those checked. Without
    // groups in the database (`available` false) the row is hidden.
    void setGroups(bool available, const QList<Group>& groups, const QList<qint64>& checked);
    // The IDs of the checked groups.
    QList<qint64> checkedGroups() const;

    // The athlete as entered, on the ground of `shown` (his ID and what the dialog does not
    // show): name, first name, sex (-1 for none) and the remark (line breaks as "\n") as
    // they stand; the date of birth only where Geb. am held a date when OK was pressed.
    Athlete enteredAthlete(Athlete shown = {}) const;
    // Set when OK was pressed: whether Geb. am held a date.
    bool dateValid() const { return dateValid_; }

    // Background of Geb. am for a text that is no date.
    static QColor invalidDateColor() { return QColor(155, 166, 237); }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void confirm();
    void takeBirthDate();
    void clearFields();

    MessageService& messages_;
    bool dateValid_ = false;
    QDate birthDate_;
    QComboBox* sexField_ = nullptr;
    QLineEdit* nameField_ = nullptr;
    QLineEdit* firstNameField_ = nullptr;
    QLineEdit* birthDateField_ = nullptr;
    RemarkEdit* remarkField_ = nullptr;
    QListWidget* groupsField_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QLabel* sexMark_ = nullptr;
    QLabel* nameMark_ = nullptr;
    QLabel* firstNameMark_ = nullptr;
    QLabel* birthDateMark_ = nullptr;
    QLabel* groupsLabel_ = nullptr;
};
