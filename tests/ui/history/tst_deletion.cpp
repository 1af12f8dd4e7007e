#include "support/AthleteWindow.h"
#include "support/WindowParts.h"

#include <QAction>
#include <QFile>
#include <QToolButton>

using namespace athletewindow;

namespace {

const QString kDeleteMeasurement = QStringLiteral("Möchten Sie diese Messreihe wirklich löschen?");
const QString kDeleteAthleteKey = QStringLiteral("Möchten Sie diesen Patienten wirklich löschen?");
const QString kDeleteAthleteMenu = QStringLiteral("Soll der aktuelle Datensatz gelöscht werden?");

// Adler (11) has one measurement. Meier (12) has a single measurement 1, a series 2 of three
// jumps and a single measurement 3, the newest. Zorn (13) has a measurement numbered 2 as well.
const QStringList kData{
    "INSERT INTO sportler (ID, Name, Vorname) VALUES (11, 'Adler', 'Ada'), (12, 'Meier', "
    "'Anna'), (13, 'Zorn', 'Zora')",
    "INSERT INTO units (Ref_ID, Datum, Nummer, FZ) VALUES "
    "(11, '2024-01-05T08:00:00', 1, 1),"
    "(12, '2024-01-01T10:00:00', 1, 1), (12, '2024-01-02T10:00:00', 2, 3),"
    "(12, '2024-01-03T10:00:00', 3, 1), (13, '2024-01-04T10:00:00', 2, 1)",
    "INSERT INTO mr (Serie, SZ, FZ, Eff, Anzahl) VALUES "
    "(11001, 190, 520, 2.74, 1), (12001, 200, 500, 2.5, 1), (12002, 210, 480, 2.29, 1),"
    "(12002, 220, 470, 2.14, 2), (12002, 230, 460, 2, 3), (12003, 240, 450, 1.88, 1),"
    "(13002, 250, 440, 1.76, 1)"};

// Everything stored, to see that nothing changed.
QStringList everything(MainWindowFixture& f) {
    return column(f, "SELECT ID || '|' || Name FROM sportler ORDER BY ID") +
           column(f, "SELECT Ref_ID || '/' || Nummer FROM units ORDER BY ID") +
           column(f, "SELECT Serie || '/' || Anzahl FROM mr ORDER BY " +
                         StoreInternals::database(f.station->store()).rowOrder());
}

QStringList measurementNumbersOf(MainWindowFixture& f, int athlete) {
    return column(
        f,
        QStringLiteral("SELECT Nummer FROM units WHERE Ref_ID = %1 ORDER BY Nummer").arg(athlete));
}

void selectEntry(MainWindow& w, qint64 measurementNumber) {
    QTreeWidgetItem* item = historyEntry(historyList(w), measurementNumber);
    QVERIFY(item);
    historyList(w)->setCurrentItem(item);
    historyList(w)->setFocus();
}

void pressDelete(QWidget* control) {
    control->setFocus();
    QTest::keyClick(control, Qt::Key_Delete);
}

void lock(MainWindowFixture& f, const QString& table) {
    QVERIFY(TestStore::refuse(StoreInternals::database(f.station->store()), "DELETE", table));
}

void unlock(MainWindowFixture& f, const QString& table) {
    QVERIFY(TestStore::allow(StoreInternals::database(f.station->store()), "DELETE", table));
}

// The engine's words for a cause, as SQLite gives them, in the words of the server when the
// test runs on one.
QString engineWords(const MainWindowFixture& f, const QString& expected) {
    if (!f.onServer())
        return expected;
    QString words = expected;
    words.replace("attempt to write a readonly database", "read-only transaction");
    words.replace("database is locked", "lock timeout");
    return words;
}

// The general error box; `expected` is "text start" or "text start|engine's words".
void checkGeneralError(const RecordingMessageService& messages, int index,
                       const QString& expected) {
    QVERIFY(messages.boxes.size() > index);
    const MessageBox& box = messages.boxes[index];
    QCOMPARE(box.title, QStringLiteral("Kalvero"));
    QCOMPARE(box.icon, BoxIcon::Error);
    QVERIFY2(box.text.startsWith(expected.section('|', 0, 0)), qPrintable(box.text));
    QVERIFY(box.text.endsWith('.'));
    QVERIFY2(box.detail.contains(expected.section('|', 1)), qPrintable(box.detail));
}

} // namespace

class TestDeletion : public QObject {
    Q_OBJECT

private slots:
    void init() { texts::setLocale(QLocale(QLocale::German, QLocale::Germany)); }

    // ---- one measurement ----------------------------------------------------------------

    void deleteMeasurement_data() {
        QTest::addColumn<int>("measurementNumber");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("measurementNumbers"); // the list afterwards, top to bottom
        QTest::addColumn<QStringList>("captions");           // its "Nr." texts
        QTest::addColumn<QString>("named"); // how the question names the measurement
        QTest::newRow("newest single")
            << 3 << 1 << 0 << QStringList{"2", "1"} << QStringList{"2", "1"}
            << "Messung Nr. 3 vom 03.01.2024 10:00:00, kein Test, 1 Sprung";
        QTest::newRow("series of three")
            << 2 << 2 << 0 << QStringList{"3", "1"} << QStringList{"3", "1"}
            << "Messung Nr. 2 vom 02.01.2024 10:00:00, kein Test, 3 Sprünge";
        QTest::newRow("oldest single")
            << 1 << 1 << 0 << QStringList{"3", "2"} << QStringList{"3", "2"}
            << "Messung Nr. 1 vom 01.01.2024 10:00:00, kein Test, 1 Sprung";
        QTest::newRow("series, single layout")
            << 2 << 1 << 0 << QStringList{"3", "1"} << QStringList{"3", "1"}
            << "Messung Nr. 2 vom 02.01.2024 10:00:00, kein Test, 3 Sprünge";
        QTest::newRow("Abbrechen")
            << 2 << 2 << 1 << QStringList{"3", "2", "1"} << QStringList{"3", "2", "1"}
            << "Messung Nr. 2 vom 02.01.2024 10:00:00, kein Test, 3 Sprünge";
    }
    void deleteMeasurement() {
        QFETCH(int, measurementNumber);
        QFETCH(int, mode);
        QFETCH(int, answer);
        QFETCH(QStringList, measurementNumbers);
        QFETCH(QStringList, captions);
        QFETCH(QString, named);
        const bool deleted = answer == 0;

        MainWindowFixture f;
        seed(f, kData);
        MainWindow& w = open(f);
        clickRow(athleteGrid(w), 1);
        QCOMPARE(selectedAthleteId(w), 12);
        QCOMPARE(historyColumn(historyList(w), 7), (QStringList{"3", "2", "1"}));
        if (mode == 2)
            action(w, "multipleModeAction")->trigger();
        const QStringList before = everything(f);
        selectEntry(w, measurementNumber);
        f.messages.answers.enqueue(answer);
        pressDelete(historyList(w));

        QCOMPARE(f.messages.boxes.size(), 1);
        QCOMPARE(f.messages.boxes[0].title, QStringLiteral("Bestätigen"));
        QCOMPARE(f.messages.boxes[0].icon, BoxIcon::Question);
        // The question names the measurement, and where it can be restored from.
        const QStringList parts = f.messages.boxes[0].text.split("\n\n");
        QCOMPARE(parts.size(), 3);
        QCOMPARE(parts[0], kDeleteMeasurement);
        QCOMPARE(parts[1], named);
        QVERIFY(parts[2].contains("„Änderungen …“"));
        QCOMPARE(f.messages.boxes[0].buttons, (QStringList{"OK", "Abbrechen"}));
        QCOMPARE(historyColumn(historyList(w), 7), measurementNumbers);
        QCOMPARE(historyColumn(historyList(w), 0), captions);
        if (!deleted) {
            QCOMPARE(everything(f), before);
            return;
        }

        // Every jump of the measurement and its row are gone, nothing else.
        QCOMPARE(count(f, QStringLiteral("mr WHERE Serie = %1").arg(12000 + measurementNumber)), 0);
        QStringList left{"1", "2", "3"};
        left.removeAll(QString::number(measurementNumber));
        QCOMPARE(measurementNumbersOf(f, 12), left);
        QCOMPARE(measurementNumbersOf(f, 13), QStringList{"2"});
        QCOMPARE(measurementNumbersOf(f, 11), QStringList{"1"});
        QCOMPARE(count(f, "mr"), 7 - (measurementNumber == 2 ? 3 : 1));
        QCOMPARE(count(f, "mr WHERE Serie = 13002"), 1);

        QVERIFY(historyList(w)->selectedItems().isEmpty());
        // No measurement is chosen: the jump grid shows none, and none of another athlete.
        QCOMPARE(jumpGrid(w)->model()->rowCount(), 0);

        // Picking the athlete again lists what is left.
        clickRow(athleteGrid(w), 2);
        clickRow(athleteGrid(w), 1);
        QCOMPARE(historyColumn(historyList(w), 7), measurementNumbers);
        QCOMPARE(f.messages.boxes.size(), 1);
    }

    // The jump grid shows the chosen measurement's jumps or none, never another athlete's:
    // at the start with an athlete without measurements listed first, and after an athlete's
    // deletion chose him again.
    void theJumpGridShowsNoOtherAthletesJumps() {
        MainWindowFixture f;
        seed(f, QStringList{"INSERT INTO sportler (ID, Name, Vorname) VALUES (10, 'Abel', 'Udo')"} +
                    kData);
        f.store("Betriebsart", "2");
        MainWindow& w = open(f);
        QCOMPARE(selectedAthleteId(w), 10);
        QCOMPARE(jumpGrid(w)->model()->rowCount(), 0);
        clickRow(athleteGrid(w), 2);
        selectEntry(w, 2);
        QCOMPARE(gridColumn(jumpGrid(w), 1), (QStringList{"210", "220", "230"}));
        pressDelete(athleteGrid(w));
        QCOMPARE(selectedAthleteId(w), 10);
        QCOMPARE(jumpGrid(w)->model()->rowCount(), 0);
        action(w, "singleModeAction")->trigger();
        action(w, "multipleModeAction")->trigger();
        QCOMPARE(jumpGrid(w)->model()->rowCount(), 0);
    }

    void deleteKeyWithoutSelectionDeletesNothing() {
        MainWindowFixture f;
        seed(f, kData);
        MainWindow& w = open(f);
        clickRow(athleteGrid(w), 1);
        const QStringList before = everything(f);
        historyList(w)->clearSelection();
        pressDelete(historyList(w));
        // Without a chosen measurement there is nothing to name: nothing is asked.
        QVERIFY(f.messages.texts().isEmpty());
        QCOMPARE(everything(f), before);
        QCOMPARE(historyList(w)->topLevelItemCount(), 3);
    }

    // The number of a new measurement comes from what the database holds: after the newest
    // was deleted, its number is given again, with none of the old jumps under its key.
    void aNewMeasurementAfterDeletingTheNewestTakesItsNumber() {
        MainWindowFixture f;
        seed(f, kData);
        f.playScript("100: 0 200 1 244\n");
        MainWindow& w = open(f);
        clickRow(athleteGrid(w), 1);
        selectEntry(w, 3);
        pressDelete(historyList(w));
        QCOMPARE(measurementNumbersOf(f, 12), (QStringList{"1", "2"}));

        w.toggleRun();
        for (int i = 0; i < 10 && f.station->session().running(); ++i) {
            f.clock.advance(100);
            f.station->session().poll();
        }
        QCOMPARE(measurementNumbersOf(f, 12), (QStringList{"1", "2", "3"}));
        QCOMPARE(column(f, "SELECT SZ FROM mr WHERE Serie = 12003"), QStringList{"200"});
        QVERIFY(f.messages.boxes.size() == 1);
    }

    // ---- a deletion that fails ----------------------------------------------------------

    void failedMeasurementDeletionKeepsEverything_data() {
        QTest::addColumn<QString>("locked"); // table with a failing delete; "" = read-only
        QTest::addColumn<QString>("error");
        QTest::newRow("jumps cannot be deleted") << "mr"
                                                 << "gesperrt";
        QTest::newRow("measurement row cannot be deleted") << "units"
                                                           << "gesperrt";
        QTest::newRow("read-only database")
            << ""
            << "Die Datenbank ist schreibgeschützt.|attempt to write a readonly database";
    }
    void failedMeasurementDeletionKeepsEverything() {
        QFETCH(QString, locked);
        QFETCH(QString, error);
        MainWindowFixture f;
        seed(f, kData);
        if (locked.isEmpty())
            QVERIFY(f.makeReadOnly());
        MainWindow& w = open(f);
        if (!locked.isEmpty())
            lock(f, locked);
        clickRow(athleteGrid(w), 1);
        action(w, "multipleModeAction")->trigger();
        const QStringList before = everything(f);
        selectEntry(w, 2);
        pressDelete(historyList(w));

        QCOMPARE(f.messages.boxes.size(), 2);
        checkGeneralError(f.messages, 1, engineWords(f, error));
        QCOMPARE(everything(f), before);
        QCOMPARE(count(f, "mr WHERE Serie = 12002"), 3);
        QCOMPARE(historyColumn(historyList(w), 7), (QStringList{"3", "2", "1"}));
        QCOMPARE(historyList(w)->selectedItems().size(), 1);
        // The program goes on working.
        clickRow(athleteGrid(w), 2);
        QCOMPARE(historyColumn(historyList(w), 7), QStringList{"2"});
        clickRow(athleteGrid(w), 1);
        QCOMPARE(historyColumn(historyList(w), 7), (QStringList{"3", "2", "1"}));

        if (locked.isEmpty())
            return;
        unlock(f, locked);
        selectEntry(w, 2);
        pressDelete(historyList(w));
        QCOMPARE(f.messages.boxes.size(), 3);
        QCOMPARE(measurementNumbersOf(f, 12), (QStringList{"1", "3"}));
        QCOMPARE(count(f, "mr WHERE Serie = 12002"), 0);
        QCOMPARE(historyColumn(historyList(w), 7), (QStringList{"3", "1"}));
    }

    // ---- an athlete with all his measurements -------------------------------------------

    void deleteAthlete_data() {
        QTest::addColumn<bool>("byMenu");
        QTest::addColumn<int>("answer");
        QTest::newRow("menu, Ja") << true << 0;
        QTest::newRow("menu, Abbrechen") << true << 1;
        QTest::newRow("key, OK") << false << 0;
        QTest::newRow("key, Abbrechen") << false << 1;
    }
    void deleteAthlete() {
        QFETCH(bool, byMenu);
        QFETCH(int, answer);
        MainWindowFixture f;
        seed(f, kData);
        MainWindow& w = open(f);
        clickRow(athleteGrid(w), 1);
        const QStringList before = everything(f);
        f.messages.answers.enqueue(answer);
        if (byMenu)
            action(w, "deleteAthleteAction")->trigger();
        else
            pressDelete(athleteGrid(w));

        QCOMPARE(f.messages.boxes.size(), 1);
        QCOMPARE(f.messages.boxes[0].title, QStringLiteral("Bestätigen"));
        QCOMPARE(f.messages.boxes[0].icon, BoxIcon::Question);
        // The question names the athlete with what goes with him.
        QCOMPARE(f.messages.boxes[0].text,
                 (byMenu ? kDeleteAthleteMenu : kDeleteAthleteKey) +
                     "\n\n„Meier, Anna“ wird mit allen Messungen gelöscht: 3 Messungen, 5 "
                     "Sprünge.");
        QCOMPARE(f.messages.boxes[0].buttons,
                 byMenu ? (QStringList{"&Ja", "&Abbrechen"}) : (QStringList{"OK", "Abbrechen"}));
        // Enter keeps the athlete: the default button is the one that deletes nothing.
        QCOMPARE(f.messages.boxes[0].defaultButton, 1);
        if (answer != 0) {
            QCOMPARE(everything(f), before);
            QCOMPARE(selectedAthleteId(w), 12);
            QCOMPARE(historyColumn(historyList(w), 7), (QStringList{"3", "2", "1"}));
            return;
        }

        QCOMPARE(column(f, "SELECT ID FROM sportler ORDER BY ID"), (QStringList{"11", "13"}));
        QCOMPARE(count(f, "units WHERE Ref_ID = 12"), 0);
        QCOMPARE(count(f, "mr WHERE Serie BETWEEN 12000 AND 12999"), 0);
        QCOMPARE(measurementNumbersOf(f, 11), QStringList{"1"});
        QCOMPARE(measurementNumbersOf(f, 13), QStringList{"2"});
        QCOMPARE(count(f, "mr"), 2);
        // The first athlete is selected with his history.
        QCOMPARE(gridColumn(athleteGrid(w), 0), (QStringList{"11", "13"}));
        QCOMPARE(selectedAthleteId(w), 11);
        QCOMPARE(gridSelectedRow(athleteGrid(w)), 0);
        QCOMPARE(historyColumn(historyList(w), 7), QStringList{"1"});
        QVERIFY(startButton(w)->isEnabled());
    }

    void deleteTheLastAthlete() {
        MainWindowFixture f;
        seed(f, {"INSERT INTO sportler (ID, Name, Vorname) VALUES (12, 'Meier', 'Anna')", kData[1],
                 kData[2]});
        MainWindow& w = open(f);
        QCOMPARE(gridColumn(athleteGrid(w), 0), QStringList{"12"});
        QCOMPARE(historyList(w)->topLevelItemCount(), 3);
        pressDelete(athleteGrid(w));

        QCOMPARE(count(f, "sportler"), 0);
        QCOMPARE(count(f, "units WHERE Ref_ID = 12"), 0);
        QCOMPARE(count(f, "mr WHERE Serie BETWEEN 12000 AND 12999"), 0);
        QCOMPARE(athleteGrid(w)->model()->rowCount(), 0);
        QCOMPARE(historyList(w)->topLevelItemCount(), 0);
        QVERIFY(!startButton(w)->isEnabled());
        QCOMPARE(f.messages.texts(),
                 QStringList{kDeleteAthleteKey +
                             "\n\n„Meier, Anna“ wird mit allen Messungen gelöscht: 3 "
                             "Messungen, 5 Sprünge."});

        // Nothing left to delete: the key asks nothing, the menu deletes nothing.
        pressDelete(athleteGrid(w));
        QCOMPARE(f.messages.boxes.size(), 1);
        action(w, "deleteAthleteAction")->trigger();
        QCOMPARE(f.messages.texts().mid(1), QStringList{kDeleteAthleteMenu});
        QCOMPARE(count(f, "units"), 2);
    }

    void failedAthleteDeletionKeepsEverything_data() {
        QTest::addColumn<QString>("locked"); // "" = read-only, "writer" = another writes
        QTest::addColumn<QString>("error");
        QTest::newRow("jumps cannot be deleted") << "mr"
                                                 << "gesperrt";
        QTest::newRow("measurements cannot be deleted") << "units"
                                                        << "gesperrt";
        QTest::newRow("athlete cannot be deleted") << "sportler"
                                                   << "gesperrt";
        QTest::newRow("read-only database")
            << ""
            << "Die Datenbank ist schreibgeschützt.|attempt to write a readonly database";
        QTest::newRow("another program is writing")
            << "writer"
            << "Die Datenbank ist gesperrt, weil ein anderes Programm gerade in sie "
               "schreibt.|database is locked";
    }
    void failedAthleteDeletionKeepsEverything() {
        QFETCH(QString, locked);
        QFETCH(QString, error);
        MainWindowFixture f;
        seed(f, kData);
        if (locked.isEmpty())
            QVERIFY(f.makeReadOnly());
        MainWindow& w = open(f);
        std::unique_ptr<Database> other;
        std::unique_ptr<QSqlQuery> writing;
        if (locked == "writer") {
            // Another program holds the database for writing: the deletion cannot begin.
            other = std::make_unique<Database>(f.location());
            writing = std::make_unique<QSqlQuery>(other->connection());
            if (f.onServer())
                QVERIFY(writing->exec("BEGIN") &&
                        writing->exec("LOCK TABLE sportler, units, mr IN EXCLUSIVE MODE"));
            else
                QVERIFY(writing->exec("BEGIN IMMEDIATE"));
        } else if (!locked.isEmpty()) {
            lock(f, locked);
        }
        clickRow(athleteGrid(w), 1);
        const QStringList before = everything(f);
        pressDelete(athleteGrid(w));
        writing.reset();
        other.reset();

        QCOMPARE(f.messages.boxes.size(), 2);
        checkGeneralError(f.messages, 1, engineWords(f, error));
        QCOMPARE(everything(f), before);
        QCOMPARE(gridColumn(athleteGrid(w), 0), (QStringList{"11", "12", "13"}));
        QCOMPARE(selectedAthleteId(w), 12);
        QCOMPARE(gridSelectedRow(athleteGrid(w)), 1);
        QCOMPARE(historyColumn(historyList(w), 7), (QStringList{"3", "2", "1"}));
        clickRow(athleteGrid(w), 2);
        QCOMPARE(historyColumn(historyList(w), 7), QStringList{"2"});
        QCOMPARE(f.messages.boxes.size(), 2);
    }
};

QTEST_MAIN(TestDeletion)
#include "tst_deletion.moc"
