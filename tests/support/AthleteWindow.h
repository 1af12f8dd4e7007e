#pragma once

// Helpers for tests that drive the athlete and measurement handlers of the real main window.

#include "core/base/Texts.h"
#include "core/store/Database.h"
#include "support/MainWindowFixture.h"
#include "support/WindowParts.h"
#include "ui/athletes/AthleteEditorDialog.h"
#include "ui/athletes/AthleteSearchDialog.h"
#include "ui/history/ExclusionDialog.h"

#include <QApplication>
#include <QComboBox>

#include <QDialog>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableView>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

namespace athletewindow {

// The window's athlete editor ("Sportler -") and search dialog ("Suchen nach").
inline AthleteEditorDialog* athleteEditor(const QWidget& w) {
    return part<AthleteEditorDialog>(w, QStringLiteral("athleteEditor"));
}
inline AthleteSearchDialog* athleteSearch(const QWidget& w) {
    return part<AthleteSearchDialog>(w, QStringLiteral("athleteSearch"));
}

// Runs statements on the fixture's database before the window opens it.
inline void seed(MainWindowFixture& f, const QStringList& statements) {
    Database db(f.location());
    for (const QString& s : statements) {
        QSqlQuery q(db.connection());
        if (!q.exec(s))
            qFatal("seed failed: %s: %s", qPrintable(s), qPrintable(q.lastError().text()));
    }
    TestStore::afterIds(db);
}

// Shows the main window active.
inline MainWindow& open(MainWindowFixture& f) {
    MainWindow& w = f.start();
    w.activateWindow();
    if (!QTest::qWaitForWindowActive(&w))
        qWarning("main window not active");
    return w;
}

// First column of the first row of a query on the window's own connection.
inline QVariant scalar(MainWindowFixture& f, const QString& statement) {
    QSqlQuery q(StoreInternals::database(f.station->store()).connection());
    if (!q.exec(statement) || !q.next())
        return {};
    return q.value(0);
}

inline int count(MainWindowFixture& f, const QString& tableAndWhere) {
    return scalar(f, QStringLiteral("SELECT COUNT(*) FROM ") + tableAndWhere).toInt();
}

// One column of a query, all rows, as texts.
inline QStringList column(MainWindowFixture& f, const QString& statement) {
    QSqlQuery q(StoreInternals::database(f.station->store()).connection());
    QStringList out;
    if (q.exec(statement))
        while (q.next())
            out << q.value(0).toString();
    return out;
}

// The texts of one grid column, top to bottom.
inline QStringList gridColumn(const QTableView* grid, int c) {
    QStringList out;
    for (int r = 0; r < grid->model()->rowCount(); ++r)
        out << grid->model()->index(r, c).data().toString();
    return out;
}

inline int gridSelectedRow(const QTableView* grid) {
    const auto rows = grid->selectionModel()->selectedRows();
    return rows.size() == 1 ? rows.first().row() : -1;
}

// One column of the history list, top to bottom (0 = "Nr.", 7 = the measurement's number).
inline QStringList historyColumn(const QTreeWidget* list, int c) {
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        out << list->topLevelItem(i)->text(c);
    return out;
}

inline QTreeWidgetItem* historyEntry(const QTreeWidget* list, qint64 measurementNumber) {
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        if (list->topLevelItem(i)->text(7) == QString::number(measurementNumber))
            return list->topLevelItem(i);
    return nullptr;
}

// Clicks a row of a grid as the user does.
inline void clickRow(QTableView* grid, int row) {
    const QRect cell = grid->visualRect(grid->model()->index(row, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

// Does `act` once the modal dialog is up. A dialog still open afterwards is closed and
// reported through `leftOpen`, so that a test never hangs on it.
inline void whenShown(QDialog* dialog, std::function<void()> act, bool* leftOpen = nullptr) {
    QTimer::singleShot(0, dialog, [dialog, act = std::move(act), leftOpen] {
        act();
        if (dialog->isVisible()) {
            if (leftOpen)
                *leftOpen = true;
            dialog->reject();
        }
    });
}

// Answers the dialog that asks why a jump is excluded once it is up: `reason`, or a cancel
// for an empty one.
inline void answerReason(const QString& reason) {
    QTimer::singleShot(0, [reason] {
        auto* dialog = qobject_cast<ExclusionDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        if (reason.isEmpty()) {
            dialog->reject();
            return;
        }
        dialog->findChild<QComboBox*>("reasonField")->setCurrentText(reason);
        dialog->accept();
    });
}

} // namespace athletewindow
