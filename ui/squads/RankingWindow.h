#pragma once

#include "core/analysis/Ranking.h"

#include <QWidget>

#include <functional>
#include <optional>

class DataStore;
class MessageService;
class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;
class RankingTableModel;

// The window "Rangliste": the ranking of a group's test over a period (from, to; at first the
// last 30 days), one row per athlete, sorted by a click on a column's header. "Test:" and
// "Fallhöhe:" choose the test among those the group ran in the period, at first the one run
// most often. Ctrl+C and "Kopieren" put it on the clipboard as tab-separated text in the order
// shown, below the lines that name the test, drop height and period; "Teambericht als PDF …"
// writes the team report of the same group, test and period. Closing it only hides it.
//
// Object names: rankingGroupChooser, rankingTestChooser, rankingHeightChooser, fromField and
// toField with their labels (the name and "Label"), rankingTable, noteLabel (below the table),
// copyButton, reportButton, worthwhileButton ("Bedeutsame Änderung …": the smallest worthwhile
// change of the chosen test, set by the user in place of the group's spread) and closeButton.
class RankingWindow : public QWidget {
    Q_OBJECT
public:
    RankingWindow(DataStore& store, MessageService& messages, QWidget* parent);

    // Reads the groups anew and chooses this one (the first when 0 or gone), then the ranking.
    void showGroup(qint64 groupId);
    // Reads the ranking of the chosen group and period anew; the test stays chosen while the
    // group ran it in the period.
    void refresh();
    void copyRanking();
    void saveTeamReport();

    qint64 chosenGroupId() const;
    ranking::Period period() const;
    // Sets the period ("Von", "Bis") and reads the ranking anew.
    void setPeriod(const ranking::Period& period);
    // The test ranked; none while the group has no measurement in the period.
    std::optional<ranking::RankedTest> chosenTest() const;
    // Chooses the test (when the group ran it in the period) and ranks it.
    void chooseTest(const ranking::RankedTest& test);
    // The rows in the order shown.
    QList<ranking::Row> rowsShown() const;

private:
    void guarded(const std::function<void()>& handler);
    // Fills the test chooser with the tests run and chooses `wanted`, or the most run.
    void fillTests(const std::optional<ranking::RankedTest>& wanted);
    // Fills the height chooser with the heights of the chosen test and chooses `wanted`, or
    // the one run most often.
    void fillHeights(const std::optional<ranking::RankedTest>& wanted);
    // Ranks the chosen test from the measurements read.
    void rankChosen();
    // Whether the chosen test can have a smallest worthwhile change of its own (a test outside
    // a protocol, on a database that keeps it); asks for it and ranks again.
    bool worthwhileCanBeSet();
    void setWorthwhile();

    DataStore& store_;
    MessageService& messages_;
    RankingTableModel* model_ = nullptr;
    QSortFilterProxyModel* sorted_ = nullptr;
    bool loading_ = false;
    QList<ranking::AthleteData> read_;
    ranking::Period readPeriod_;
    QList<ranking::RankedTest> testsRun_; // the most run first
    QComboBox* groupChooser_ = nullptr;
    QComboBox* testChooser_ = nullptr;
    QComboBox* heightChooser_ = nullptr;
    QDateEdit* fromField_ = nullptr;
    QDateEdit* toField_ = nullptr;
    QTableView* rankingTable_ = nullptr;
    QLabel* noteLabel_ = nullptr;
    QPushButton* worthwhileButton_ = nullptr;
};
