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
// Object names: the controls as below; the labels "Vorname:", "oder" and "Nachname:" are
// Label1, Label2 and Label3.
class TForm5 : public QDialog {
public:
    explicit TForm5(QWidget* parent = nullptr);

    // What the last showing ended with: SearchBy::None unless "Suchen" was pressed.
    athletes::SearchBy answer() const { return answer_; }
    // The text of the field the answer names; empty without an answer.
    QString searchText() const;
    // The search statement for the answer; empty without an answer.
    QStringList statement() const;

    QLabel* Label1;
    QLabel* Label3;
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QPushButton* BitBtn1;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Edit1Enter();
    void Edit2Enter();
    void BitBtn1Click();

    athletes::SearchBy pending_ = athletes::SearchBy::FirstName; // what "Suchen" answers
    athletes::SearchBy answer_ = athletes::SearchBy::None;
};
