#include "core/store/Database.h"
#include "support/AthleteWindow.h"
#include "support/WindowParts.h"

#include <QtTest>

using namespace athletewindow;

// A jump of a series excluded from the jump grid and taken back: the row stays, greyed with
// its reason, and the mark is stored with who and when.
class TestExclusion : public QObject {
    Q_OBJECT

private slots:
    void roundTripThroughTheJumpGrid() {
        MainWindowFixture f;
        seed(f, {"INSERT INTO sportler (ID, Name, Vorname) VALUES (1, 'Meier', 'Anna')",
                 "INSERT INTO units (Ref_ID, Datum, Nummer, FZ) VALUES "
                 "(1, '2026-12-07T09:15:03', 1, 3)",
                 "INSERT INTO mr VALUES (1001, 200, 500, 1.25, 1), (1001, 90, 300, 1.0, 2), "
                 "(1001, 210, 510, 1.24, 3)"});
        f.store("Betriebsart", "2");
        MainWindow& w = open(f);
        QTableView* grid = jumpGrid(w);
        QCOMPARE(grid->model()->rowCount(), 3);
        QAction* exclude = action(w, "excludeJumpAction");
        QAction* restore = action(w, "restoreJumpAction");
        grid->setCurrentIndex(grid->model()->index(1, 0));
        QVERIFY(exclude->isEnabled() && !restore->isEnabled());

        answerReason(QString()); // cancelled: nothing changes
        exclude->trigger();
        QCOMPARE(count(f, "mr_ausschluss"), 0);

        answerReason(QStringLiteral("Doppelkontakt"));
        exclude->trigger();
        QVERIFY(f.messages.boxes.isEmpty());
        QCOMPARE(count(f, "mr_ausschluss"), 1);
        QCOMPARE(column(f, "SELECT Grund FROM mr_ausschluss"), QStringList{"Doppelkontakt"});
        QVERIFY(!column(f, "SELECT Benutzer FROM mr_ausschluss").first().isEmpty());
        QCOMPARE(count(f, "mr"), 3);
        QCOMPARE(gridColumn(grid, 6), (QStringList{"", "Doppelkontakt", ""}));
        QVERIFY(grid->model()->index(1, 2).data(Qt::ForegroundRole).isValid());
        QVERIFY(!grid->model()->index(0, 2).data(Qt::ForegroundRole).isValid());

        grid->setCurrentIndex(grid->model()->index(1, 0));
        QVERIFY(!exclude->isEnabled() && restore->isEnabled());
        restore->trigger();
        QCOMPARE(count(f, "mr_ausschluss"), 0);
        QCOMPARE(gridColumn(grid, 6), (QStringList{"", "", ""}));
        QVERIFY(f.messages.boxes.isEmpty());
        f.finish();
    }
};

QTEST_MAIN(TestExclusion)
#include "tst_exclusion.moc"
