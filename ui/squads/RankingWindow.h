#pragma once

#include "core/analysis/Ranking.h"

#include <QWidget>

#include <functional>

class DataStore;
class MessageService;
class QComboBox;
class QDateEdit;
class QLabel;
class QSortFilterProxyModel;
class QTableView;
class RankingTableModel;

// The window "Rangliste": the ranking of a group over a period (from, to; at first the last
// 30 days), one row per athlete, sorted by a click on a column's header. Ctrl+C and
// "Kopieren" put it on the clipboard as tab-separated text in the order shown; "Teambericht
// als PDF …" writes the team report of the same group and period. Closing it only hides it.
//
// Object names: rankingGroupChooser, fromField and toField with their labels (the name and
// "Label"), rankingTable, noteLabel (below the table), copyButton, reportButton and
// closeButton.
class RankingWindow : public QWidget {
    Q_OBJECT
public:
    RankingWindow(DataStore& store, MessageService& messages, QWidget* parent);

    // Reads the groups anew and chooses this one (the first when 0 or gone), then the ranking.
    void showGroup(qint64 groupId);
    // Reads the ranking of the chosen group and period anew.
    void refresh();
    void copyRanking();
    void saveTeamReport();

    qint64 chosenGroupId() const;
    ranking::Period period() const;
    // Sets the period ("Von", "Bis") and reads the ranking anew.
    void setPeriod(const ranking::Period& period);
    // The rows in the order shown.
    QList<ranking::Row> rowsShown() const;

private:
    void guarded(const std::function<void()>& handler);

    DataStore& store_;
    MessageService& messages_;
    RankingTableModel* model_ = nullptr;
    QSortFilterProxyModel* sorted_ = nullptr;
    bool loading_ = false;
    QComboBox* groupChooser_ = nullptr;
    QDateEdit* fromField_ = nullptr;
    QDateEdit* toField_ = nullptr;
    QTableView* rankingTable_ = nullptr;
    QLabel* noteLabel_ = nullptr;
};
