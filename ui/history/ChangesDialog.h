// The dialog "Änderungen": the changes made to an athlete's measurements, newest first, from
// which a deleted measurement is restored.

#pragma once

#include <QDialog>
#include <QList>

#include <functional>

class QLabel;
class QPushButton;
class QTableWidget;

// One change as the dialog lists it.
struct ChangeLine {
    qint64 changeId = 0;
    QString moment;
    QString user;
    QString station;
    QString measurement;
    QString text;
    bool restorable = false; // a deletion not restored yet
};

class ChangesDialog : public QDialog {
    Q_OBJECT
public:
    // `read` gives the lines (again after a restoration); `restore` restores the deletion of
    // a line. Neither throws: each tells the user of its own failure.
    ChangesDialog(const QString& athleteName, std::function<QList<ChangeLine>()> read,
                  std::function<void(qint64 changeId)> restore, QWidget* parent = nullptr);

private:
    void showLines();
    void restoreChosen();
    void followChoice();

    std::function<QList<ChangeLine>()> read_;
    std::function<void(qint64)> restore_;
    QList<ChangeLine> lines_;
    QTableWidget* table_ = nullptr;
    QLabel* emptyLabel_ = nullptr;
    QPushButton* restoreButton_ = nullptr;
};
