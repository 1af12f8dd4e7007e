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
