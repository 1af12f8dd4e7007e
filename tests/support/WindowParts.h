#pragma once

// The main window's widgets, found by their object names as a test (or a screen reader) finds
// them.

#include "ui/main/MainWindow.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include <optional>

template <typename T = QWidget> T* part(const QWidget& window, const QString& name) {
    T* found = window.findChild<T*>(name);
    if (!found)
        qFatal("no %s named %s", T::staticMetaObject.className(), qPrintable(name));
    return found;
}

inline QTableView* athleteGrid(const QWidget& w) {
    return part<QTableView>(w, QStringLiteral("athleteGrid"));
}
inline QTreeWidget* historyList(const QWidget& w) {
    return part<QTreeWidget>(w, QStringLiteral("historyList"));
}
inline QTableView* jumpGrid(const QWidget& w) {
    return part<QTableView>(w, QStringLiteral("jumpGrid"));
}
inline QToolButton* startButton(const QWidget& w) {
    return part<QToolButton>(w, QStringLiteral("startButton"));
}
inline QGroupBox* resultPanel(const QWidget& w) {
    return part<QGroupBox>(w, QStringLiteral("resultPanel"));
}
inline QGroupBox* dataGroup(const QWidget& w) {
    return part<QGroupBox>(w, QStringLiteral("dataGroup"));
}
// A result field: "contactTimeField", "flightTimeField", "heightField" or "efficiencyField".
inline QLineEdit* resultField(const QWidget& w, const QString& name) {
    return part<QLineEdit>(w, name);
}
inline QLabel* label(const QWidget& w, const QString& name) {
    return part<QLabel>(w, name);
}
inline QMenu* menu(const QWidget& w, const QString& name) {
    return part<QMenu>(w, name);
}
inline QAction* action(const QWidget& w, const QString& name) {
    return part<QAction>(w, name);
}

// The row of the athlete grid that is selected (the selected athlete's); -1 for none.
inline int selectedAthleteRow(const QWidget& w) {
    const auto rows = athleteGrid(w)->selectionModel()->selectedRows();
    return rows.size() == 1 ? rows.first().row() : -1;
}
// The ID of the selected athlete (the grid's first column); 0 for none.
inline qint64 selectedAthleteId(const QWidget& w) {
    const int row = selectedAthleteRow(w);
    return row < 0 ? 0 : athleteGrid(w)->model()->index(row, 0).data().toLongLong();
}
// Selects a row of the athlete grid as the user does with the keys.
inline void selectAthleteRow(const QWidget& w, int row) {
    QTableView* grid = athleteGrid(w);
    grid->setCurrentIndex(grid->model()->index(row, 0));
}
// Chooses the entry at that place of the history list (0 = the newest) as the user does.
inline void chooseHistoryEntry(const QWidget& w, int position) {
    QTreeWidget* list = historyList(w);
    list->setCurrentItem(list->topLevelItem(position));
}
// The number of the measurement chosen in the history list (its hidden column 7); none
// while no entry is chosen.
inline std::optional<qint64> chosenMeasurementNumber(const QWidget& w) {
    const QList<QTreeWidgetItem*> chosen = historyList(w)->selectedItems();
    if (chosen.size() != 1)
        return std::nullopt;
    return chosen.first()->text(7).toLongLong();
}
