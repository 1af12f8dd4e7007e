#include "core/store/Database.h"
#include "core/store/SeriesKey.h"
#include "support/MainWindowFixture.h"
#include "support/WindowParts.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableWidget>
#include <QtTest>

// Another station's file taken over from the window: the athlete it names twice in the
// database waits in "Offene Zuordnungen", reached from the status bar's text, until the user
// chooses one; the measurement goes to him then, and nothing is left waiting.
class TestStationFile : public QObject {
    Q_OBJECT
private slots:
    void anAmbiguousAthleteWaitsForTheChoice() {
        MainWindowFixture f;
        QTemporaryDir other;
        {
            Database db(other.path());
            QSqlQuery q(db.connection());
            QVERIFY(q.exec("INSERT INTO sportler (ID, Name, Vorname, Geb) VALUES "
                           "(5, 'Müller', 'Jörg', '1980-05-17')"));
            QVERIFY(q.exec("INSERT INTO units (ID, Ref_ID, Datum, Nummer, FZ) VALUES "
                           "(1, 5, '2026-12-01T10:00:00', 1, 2)"));
            QVERIFY(q.exec(QStringLiteral("INSERT INTO mr VALUES (%1, 200, 500, 1.25, 1), "
                                          "(%1, 210, 510, 1.2, 2)")
                               .arg(seriesKey(5, 1))));
        }
        {
            Database db(f.location());
            QSqlQuery q(db.connection());
            QVERIFY(q.exec("INSERT INTO sportler (ID, Name, Vorname, Geb) VALUES "
                           "(40, 'Müller', 'Jörg', '1980-05-17'), "
                           "(41, 'Müller', 'Jörg', '1980-05-17')"));
        }
        MainWindow& w = f.start();
        f.messages.openFiles << QDir(other.path()).filePath("qrv.sqlite");
        action(w, "stationTakeOverAction")->trigger();
        QVERIFY2(f.messages.texts().constLast().contains("warten auf die Wahl des Sportlers"),
                 qPrintable(f.messages.texts().join('\n')));
        auto* status = label(w, "storeStatus");
        QVERIFY(status->text().contains("1"));

        // A click on the status lists what waits.
        QTest::mouseClick(status, Qt::LeftButton);
        auto* dialog = w.findChild<QDialog*>("assignmentsDialog");
        QVERIFY(dialog && dialog->isVisible());
        auto* table = dialog->findChild<QTableWidget*>("waitingTable");
        QCOMPARE(table->rowCount(), 1);
        QCOMPARE(table->item(0, 0)->text(), QStringLiteral("Müller, Jörg"));
        auto* chooser = dialog->findChild<QComboBox*>("targetChooser");
        QCOMPARE(chooser->count(), 3); // both athletes of the name, or a new one
        chooser->setCurrentIndex(1);
        QCOMPARE(chooser->currentData().toLongLong(), 41);
        dialog->findChild<QPushButton*>("assignButton")->click();

        QCOMPARE(table->rowCount(), 0);
        Database db(f.location());
        QSqlQuery q(db.connection());
        QVERIFY(q.exec("SELECT Ref_ID, FZ FROM units"));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toLongLong(), 41);
        QCOMPARE(q.value(1).toLongLong(), 2);
        QVERIFY(!q.next());
        QVERIFY(!status->text().contains("Sportlers"));
        f.finish();
    }
};

QTEST_MAIN(TestStationFile)
#include "tst_stationfile.moc"
