#pragma once

#include "core/store/AthleteSearch.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// Search dialog "Suchen nach": a first name or a surname to search for. The field that last
// held the focus decides which one "Suchen" searches by. Created once; the two texts stay
// from one search to the next.
//
// Object names: the fields firstNameField and surnameField, the button searchButton; the
// labels "Vorname:", "oder" and "Nachname:" are firstNameLabel, orLabel and surnameLabel.
class AthleteSearchDialog : public QDialog {
    Q_OBJECT
public:
    explicit AthleteSearchDialog(QWidget* parent = nullptr);

    // What the last showing ended with: SearchBy::None unless "Suchen" was pressed.
    athletes::SearchBy answer() const { return answer_; }
    // The text of the field the answer names; empty without an answer.
    QString searchText() const;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void chooseFirstName();
    void chooseSurname();
    void search();

    athletes::SearchBy pending_ = athletes::SearchBy::FirstName; // what "Suchen" answers
    athletes::SearchBy answer_ = athletes::SearchBy::None;
    QLabel* firstNameLabel_ = nullptr;
    QLabel* surnameLabel_ = nullptr;
    QLineEdit* firstNameField_ = nullptr;
    QLineEdit* surnameField_ = nullptr;
    QPushButton* searchButton_ = nullptr;
};
