#include "support/AthleteWindow.h"
#include "support/WindowParts.h"

#include "core/store/AthleteText.h"
#include "core/store/BirthDate.h"
#include "core/store/MeasurementRepository.h"
#include "ui/athletes/AthleteEditorDialog.h"
#include "ui/athletes/AthleteSearchDialog.h"
#include "ui/athletes/RemarkEdit.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

using namespace athletewindow;

namespace {

const QString kRequired =
    QStringLiteral("Bitte füllen Sie alle mit * gekennzeichneten Felder aus!");
const QString kWriteCheck =
    QStringLiteral("Messung nicht möglich , da nicht auf Datenbanken geschrieben werden kann.");

// Seven athletes; Anna Meier (1) has a single measurement and a series of three jumps, the
// other Anna Meier (6) one single measurement and a series of four jumps.
const QStringList kAthletes{
    "INSERT INTO sportler (ID, Name, Vorname, Geb, Geschl, Bemerkung1) VALUES "
    "(1, 'Meier', 'Anna', '1990-02-01', 1, 'Sprint'),"
    "(2, 'O''Hara', 'Seán', '1985-07-12', 0, ''),"
    "(3, 'Müller', 'Jörg', NULL, -1, NULL),"
    "(4, 'Meier', 'Zoe', '1992-03-03', 1, NULL),"
    "(5, 'Adler', 'Anna', '1980-01-01', 1, NULL),"
    "(6, 'Meier', 'Anna', '1970-06-06', 1, NULL),"
    "(7, 'Meiser', 'Ben', NULL, 0, NULL)",
    "INSERT INTO units (Ref_ID, Datum, Nummer, FZ) VALUES "
    "(1, '2024-03-01T10:00:00', 1, 1), (1, '2024-03-02T10:00:00', 2, 3),"
    "(6, '2024-03-03T09:00:00', 1, 1), (6, '2024-03-04T09:00:00', 2, 4)",
    "INSERT INTO mr (Serie, SZ, FZ, Eff, Anzahl) VALUES "
    "(1001, 200, 500, 2.5, 1), (1002, 210, 480, 2.29, 1), (1002, 220, 470, 2.14, 2),"
    "(1002, 230, 460, 2, 3), (6001, 250, 450, 1.8, 1), (6002, 200, 400, 2, 1),"
    "(6002, 200, 410, 2.05, 2), (6002, 200, 420, 2.1, 3), (6002, 200, 430, 2.15, 4)"};

QStringList ids(const MainWindow& w) {
    return gridColumn(athleteGrid(w), 0);
}

// Everything stored about the athletes and their measurements, to see that nothing changed.
QStringList everything(MainWindowFixture& f) {
    return column(f, "SELECT ID || '|' || COALESCE(Name,'') || '|' || COALESCE(Vorname,'') || '|' "
                     "|| COALESCE(CAST(Geb AS TEXT),'') || '|' || COALESCE(CAST(Geschl AS "
                     "TEXT),'') || '|' || "
                     "COALESCE(Bemerkung1,'') FROM sportler ORDER BY ID") +
           column(f, "SELECT Ref_ID || '/' || Nummer || '/' || FZ FROM units ORDER BY ID") +
           column(f, "SELECT Serie || '/' || Anzahl || '/' || FZ FROM mr ORDER BY " +
                         StoreInternals::database(f.station->store()).rowOrder());
}

QString row(MainWindowFixture& f, qint64 id) {
    return scalar(
               f,
               QStringLiteral(
                   "SELECT COALESCE(Name,'<null>') || '|' || "
                   "COALESCE(Vorname,'<null>') || '|' || COALESCE(CAST(Geb AS TEXT),'<null>') || "
                   "'|' || COALESCE(CAST(Geschl AS TEXT),'<null>') || '|' || "
                   "COALESCE(Bemerkung1,'<null>') FROM sportler WHERE ID = %1")
                   .arg(id))
        .toString();
}

void fillEditor(AthleteEditorDialog* e, int sex, const QString& name, const QString& firstName,
                const QString& born, const QString& remark) {
    part<QComboBox>(*e, "sexField")->setCurrentIndex(sex);
    part<QLineEdit>(*e, "nameField")->setText(name);
    part<QLineEdit>(*e, "firstNameField")->setText(firstName);
    part<QLineEdit>(*e, "birthDateField")->setText(born);
    part<RemarkEdit>(*e, "remarkField")->setText(remark);
}

// Puts the focus into a field of the search dialog; the dialog reacts to the field's entry
// even before its window is active.
void enter(QLineEdit* field) {
    field->setFocus();
    QFocusEvent focusIn(QEvent::FocusIn, Qt::OtherFocusReason);
    QCoreApplication::sendEvent(field, &focusIn);
}

QStringList marks(const AthleteEditorDialog* e) {
    return {part<QLabel>(*e, "sexMark")->text(), part<QLabel>(*e, "nameMark")->text(),
            part<QLabel>(*e, "firstNameMark")->text(), part<QLabel>(*e, "birthDateMark")->text()};
}

} // namespace

class TestAthletes : public QObject {
    Q_OBJECT

private slots:
    void init() { texts::setLocale(QLocale(QLocale::German, QLocale::Germany)); }

    // ---- grid and actions ---------------------------------------------------------------

    void gridAndActions() {
        MainWindowFixture f;
        seed(f, kAthletes);
        MainWindow& w = open(f);
        const QList<std::tuple<QAction*, QString, QString>> actions{
            {action(w, "showAllAction"), "Zeigen", "Alle &zeigen"},
            {action(w, "searchAction"), "Suchen", "&Suchen"},
            {action(w, "newAthleteAction"), "Neuer Sportler", "&Neuer Sportler"},
            {action(w, "changeAthleteAction"), "Daten ändern", "&Daten ändern"},
            {action(w, "deleteAthleteAction"), "Löschen", "Sportler &löschen"}};
        for (const auto& [action, caption, menuCaption] : actions) {
            QCOMPARE(action->iconText(), caption);
            QCOMPARE(action->text(), menuCaption);
        }

        QStringList titles;
        for (int c = 0; c < athleteGrid(w)->model()->columnCount(); ++c)
            titles << athleteGrid(w)->model()->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(titles, (QStringList{"ID", "Vorname", "Name", "Geb. am", "Bemerkung", "Testtag"}));
        // The start list of a test day shows only during one.
        QVERIFY(athleteGrid(w)->isColumnHidden(5));
        QCOMPARE(athleteGrid(w)->editTriggers(), QAbstractItemView::NoEditTriggers);
        QCOMPARE(ids(w), (QStringList{"1", "2", "3", "4", "5", "6", "7"}));
        QCOMPARE(gridColumn(athleteGrid(w), 3)[0], QStringLiteral("01.02.1990"));

        // The first athlete is selected with his history; picking another row follows.
        QCOMPARE(gridSelectedRow(athleteGrid(w)), 0);
        QCOMPARE(historyColumn(historyList(w), 7), (QStringList{"2", "1"}));
        clickRow(athleteGrid(w), 5);
        QCOMPARE(selectedAthleteId(w), 6);
        QCOMPARE(gridSelectedRow(athleteGrid(w)), 5);
        QCOMPARE(historyColumn(historyList(w), 7), (QStringList{"2", "1"}));
        athleteGrid(w)->setFocus();
        QTest::keyClick(athleteGrid(w), Qt::Key_Down);
        QCOMPARE(selectedAthleteId(w), 7);
        QCOMPARE(historyList(w)->topLevelItemCount(), 0);
        // A move of the cursor by the program shows in the grid.
        clickRow(athleteGrid(w), 0);
        action(w, "nextAthleteAction")->trigger();
        QCOMPARE(gridSelectedRow(athleteGrid(w)), 1);
        QCOMPARE(selectedAthleteId(w), 2);
        QVERIFY(f.messages.boxes.isEmpty());
    }

    // ---- new athlete --------------------------------------------------------------------

    void newAthlete_data() {
        QTest::addColumn<int>("sex");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("firstName");
        QTest::addColumn<QString>("born");
        QTest::addColumn<QString>("remark");
        QTest::addColumn<QString>("stored");
        const QString remark100 = QString(47, 'a') + " " + QString(50, QChar(0x00FC)) + " ,";
        QTest::newRow("date and sex") << 1 << "Zorn"
                                      << "Hanna"
                                      << "04.04.1995"
                                      << "Knie"
                                      << "Zorn|Hanna|1995-04-04|1|Knie";
        QTest::newRow("neither date nor sex") << -1 << "Lang"
                                              << "Tim"
                                              << ""
                                              << ""
                                              << "Lang|Tim|<null>|-1|";
        QTest::newRow("umlauts, quotes, 100-character remark")
            << 0 << "O'Brien, Müller-Lüdenscheidt"
            << "' OR 1=1 --"
            << "29.02.2000" << remark100
            << "O'Brien, Müller-Lüdenscheidt|' OR 1=1 --|2000-02-29|0|" + remark100;
    }
    void newAthlete() {
        QFETCH(int, sex);
        QFETCH(QString, name);
        QFETCH(QString, firstName);
        QFETCH(QString, born);
        QFETCH(QString, remark);
        QFETCH(QString, stored);
        QVERIFY(remark.size() <= athletes::kRemarkLength);

        MainWindowFixture f;
        seed(f, kAthletes);
        MainWindow& w = open(f);
        QStringList shownMarks;
        bool leftOpen = false;
        whenShown(
            athleteEditor(w),
            [&] {
                shownMarks = marks(athleteEditor(w));
                fillEditor(athleteEditor(w), sex, name, firstName, born, remark);
                part<QPushButton>(*athleteEditor(w), "okButton")->click();
            },
            &leftOpen);
        action(w, "newAthleteAction")->trigger();
        QVERIFY(!leftOpen);
        QCOMPARE(shownMarks, (QStringList{"", "*", "*", ""}));
        QCOMPARE(marks(athleteEditor(w)), (QStringList{"*", "*", "*", "*"}));
        QCOMPARE(athleteEditor(w)->windowTitle(), QStringLiteral("Sportler - Neu"));
        QVERIFY(f.messages.boxes.isEmpty());

        QCOMPARE(count(f, "sportler"), 8);
        QCOMPARE(row(f, 8), stored);
        // The cursor stands on the new athlete in the last row, and the history and the
        // counter are his.
        QCOMPARE(ids(w).size(), 8);
        QCOMPARE(selectedAthleteRow(w), 7);
        QCOMPARE(selectedAthleteId(w), 8);
        QCOMPARE(gridSelectedRow(athleteGrid(w)), 7);
        QCOMPARE(gridColumn(athleteGrid(w), 2).last(), name);
        QCOMPARE(gridColumn(athleteGrid(w), 4).last(), remark);
        QCOMPARE(historyList(w)->topLevelItemCount(), 0);

        // The change dialog shows him as stored.
        whenShown(athleteEditor(w), [&] {
            QCOMPARE(part<QLineEdit>(*athleteEditor(w), "nameField")->text(), name);
            QCOMPARE(part<QLineEdit>(*athleteEditor(w), "firstNameField")->text(), firstName);
            QCOMPARE(part<QLineEdit>(*athleteEditor(w), "birthDateField")->text(), born);
            QCOMPARE(part<QComboBox>(*athleteEditor(w), "sexField")->currentIndex(), sex);
            QCOMPARE(athleteEditor(w)->enteredAthlete().remark, remark);
            part<QPushButton>(*athleteEditor(w), "cancelButton")->click();
        });
        action(w, "changeAthleteAction")->trigger();
        QCOMPARE(row(f, 8), stored);
    }

    void newAthleteInAnEmptyTableAndAfterASearch() {
        MainWindowFixture f;
        MainWindow& w = open(f);
        QVERIFY(!startButton(w)->isEnabled());
        whenShown(athleteEditor(w), [&] {
            fillEditor(athleteEditor(w), -1, "Erst", "Eva", "", "");
            part<QPushButton>(*athleteEditor(w), "okButton")->click();
        });
        action(w, "newAthleteAction")->trigger();
        QCOMPARE(ids(w), QStringList{"1"});
        QCOMPARE(selectedAthleteId(w), 1);
        QCOMPARE(gridSelectedRow(athleteGrid(w)), 0);
        // The first athlete of all is selected at once: a measurement can start.
        QVERIFY(startButton(w)->isEnabled());

        // Under a search the new athlete is listed where the search puts him.
        whenShown(athleteSearch(w), [&] {
            part<QLineEdit>(*athleteSearch(w), "firstNameField")->setText("e");
            part<QPushButton>(*athleteSearch(w), "searchButton")->click();
        });
        action(w, "searchAction")->trigger();
        whenShown(athleteEditor(w), [&] {
            fillEditor(athleteEditor(w), 0, "Alt", "Emil", "", "");
            part<QPushButton>(*athleteEditor(w), "okButton")->click();
        });
        action(w, "newAthleteAction")->trigger();
        QCOMPARE(gridColumn(athleteGrid(w), 1), (QStringList{"Emil", "Eva"}));
        QCOMPARE(gridSelectedRow(athleteGrid(w)), 0);
        QVERIFY(f.messages.boxes.isEmpty());
    }

    void newAthleteCancelledOrIncomplete() {
        MainWindowFixture f;
        seed(f, kAthletes);
        MainWindow& w = open(f);
        const QStringList before = everything(f);
        whenShown(athleteEditor(w), [&] {
            fillEditor(athleteEditor(w), 1, "Weg", "Wanda", "01.01.2000", "x");
            part<QPushButton>(*athleteEditor(w), "cancelButton")->click();
        });
        action(w, "newAthleteAction")->trigger();
        QCOMPARE(everything(f), before);
        QCOMPARE(selectedAthleteRow(w), 0);

        // The change dialog after a cancelled new one shows all four marks.
        QStringList changeMarks;
        whenShown(athleteEditor(w), [&] {
            changeMarks = marks(athleteEditor(w));
            part<QPushButton>(*athleteEditor(w), "cancelButton")->click();
        });
        action(w, "changeAthleteAction")->trigger();
        QCOMPARE(changeMarks, (QStringList{"*", "*", "*", "*"}));

        // Required fields: the dialog stays open until Name and Vorname are filled.
        bool stayedOpen = false;
        whenShown(athleteEditor(w), [&] {
            fillEditor(athleteEditor(w), -1, "Neu", "", "", "");
            part<QPushButton>(*athleteEditor(w), "okButton")->click();
            stayedOpen = athleteEditor(w)->isVisible();
            QCOMPARE(count(f, "sportler"), 7);
            part<QLineEdit>(*athleteEditor(w), "firstNameField")->setText("Nora");
            part<QPushButton>(*athleteEditor(w), "okButton")->click();
        });
        action(w, "newAthleteAction")->trigger();
        QVERIFY(stayedOpen);
        QCOMPARE(f.messages.texts(), QStringList{kRequired});
        QCOMPARE(f.messages.boxes[0].title, QStringLiteral("Informationen"));
        QCOMPARE(row(f, 8), QStringLiteral("Neu|Nora|<null>|-1|"));
    }

    // ---- change athlete -----------------------------------------------------------------

    void changeAthlete_data() {
        QTest::addColumn<QString>("storedBirthDate"); // SQL literal
        QTest::addColumn<int>("storedSex");
        QTest::addColumn<QString>("shownDate");
        QTest::addColumn<bool>("marked");
        QTest::addColumn<int>("shownSex");
        QTest::addColumn<QString>("newDate");
        QTest::addColumn<QString>("expected");
        QTest::newRow("everything new")
            << "'1990-02-01'" << 1 << "01.02.1990" << false << 1 << "03.04.1991"
            << "Neu|Nina|1991-04-03|0|neu";
        QTest::newRow("date emptied: the stored one stays")
            << "'1990-02-01'" << 1 << "01.02.1990" << false << 1 << ""
            << "Neu|Nina|1990-02-01|0|neu";
        QTest::newRow("no date stored, none given") << "NULL" << 0 << "" << false << 0 << ""
                                                    << "Neu|Nina|<null>|0|neu";
        QTest::newRow("no sex stored") << "NULL" << -1 << "" << false << -1 << "17.05.1980"
                                       << "Neu|Nina|1980-05-17|0|neu";
        QTest::newRow("invalid stored date, emptied")
            << "'31.02.1980'" << 1 << "31.02.1980" << true << 1 << ""
            << "Neu|Nina|31.02.1980|0|neu";
        QTest::newRow("invalid stored date, corrected")
            << "'irgendwann'" << 1 << "irgendwann" << true << 1 << "01.05.1980"
            << "Neu|Nina|1980-05-01|0|neu";
    }
    void changeAthlete() {
        QFETCH(QString, storedBirthDate);
        QFETCH(int, storedSex);
        QFETCH(QString, shownDate);
        QFETCH(bool, marked);
        QFETCH(int, shownSex);
        if (marked && TestStore::onServerSuite())
            QSKIP("the server's date column holds valid dates only");
        QFETCH(QString, newDate);
        QFETCH(QString, expected);

        MainWindowFixture f;
        seed(f, {QStringLiteral("INSERT INTO sportler (ID, Name, Vorname, Geb, Geschl, "
                                "Bemerkung1) VALUES (1, 'Alt', 'Anton', %1, %2, 'alt'), "
                                "(2, 'Zweit', 'Zora', NULL, 1, NULL)")
                     .arg(storedBirthDate)
                     .arg(storedSex)});
        MainWindow& w = open(f);
        bool leftOpen = false;
        bool shownMarked = false;
        bool refused = false;
        whenShown(
            athleteEditor(w),
            [&] {
                QCOMPARE(athleteEditor(w)->windowTitle(), QStringLiteral("Sportler - ändern"));
                QCOMPARE(marks(athleteEditor(w)), (QStringList{"*", "*", "*", "*"}));
                QCOMPARE(part<QLineEdit>(*athleteEditor(w), "nameField")->text(),
                         QStringLiteral("Alt"));
                QCOMPARE(part<QLineEdit>(*athleteEditor(w), "firstNameField")->text(),
                         QStringLiteral("Anton"));
                QCOMPARE(part<QLineEdit>(*athleteEditor(w), "birthDateField")->text(), shownDate);
                QCOMPARE(part<QComboBox>(*athleteEditor(w), "sexField")->currentIndex(), shownSex);
                QCOMPARE(athleteEditor(w)->enteredAthlete().remark, QStringLiteral("alt"));
                shownMarked = part<QLineEdit>(*athleteEditor(w), "birthDateField")
                                  ->palette()
                                  .color(QPalette::Base) == AthleteEditorDialog::invalidDateColor();
                if (marked) {
                    // Left as it is, the text is refused with a message.
                    part<QPushButton>(*athleteEditor(w), "okButton")->click();
                    refused = athleteEditor(w)->isVisible();
                }
                fillEditor(athleteEditor(w), 0, "Neu", "Nina", newDate, "neu");
                part<QPushButton>(*athleteEditor(w), "okButton")->click();
            },
            &leftOpen);
        action(w, "changeAthleteAction")->trigger();
        QVERIFY(!leftOpen);
        QCOMPARE(shownMarked, marked);
        QCOMPARE(refused, marked);
        QCOMPARE(f.messages.boxes.size(), marked ? 1 : 0);
        if (marked)
            QVERIFY(f.messages.boxes[0].text.contains(shownDate));
        QCOMPARE(row(f, 1), expected);
        QCOMPARE(row(f, 2), QStringLiteral("Zweit|Zora|<null>|1|<null>"));
        QCOMPARE(gridColumn(athleteGrid(w), 2)[0], QStringLiteral("Neu"));
        QCOMPARE(selectedAthleteRow(w), 0);
    }

    void changeCancelledOrWithoutAthlete() {
        MainWindowFixture f;
        seed(f, kAthletes);
        MainWindow& w = open(f);
        const QStringList before = everything(f);
        whenShown(athleteEditor(w), [&] {
            fillEditor(athleteEditor(w), 0, "Neu", "Nina", "", "");
            part<QPushButton>(*athleteEditor(w), "cancelButton")->click();
        });
        action(w, "changeAthleteAction")->trigger();
        QCOMPARE(everything(f), before);
        QCOMPARE(gridColumn(athleteGrid(w), 2)[0], QStringLiteral("Meier"));

        // With no athlete there is nothing to change: no dialog, nothing written.
        MainWindowFixture empty;
        MainWindow& w2 = open(empty);
        bool shown = false;
        QTimer::singleShot(0, athleteEditor(w2), [&] {
            shown = athleteEditor(w2)->isVisible();
            athleteEditor(w2)->reject();
        });
        action(w2, "changeAthleteAction")->trigger();
        QCoreApplication::processEvents();
        QVERIFY(!shown);
        QCOMPARE(count(empty, "sportler"), 0);
        QVERIFY(empty.messages.boxes.isEmpty());
    }

    // ---- write check --------------------------------------------------------------------

    void writeCheckStopsTheAction_data() {
        QTest::addColumn<QString>("action");
        QTest::newRow("new") << "newAthleteAction";
        QTest::newRow("change") << "changeAthleteAction";
        QTest::newRow("delete by menu") << "deleteAthleteAction";
    }
    void writeCheckStopsTheAction() {
        QFETCH(QString, action);
        MainWindowFixture f;
        seed(f, kAthletes);
        QVERIFY(f.makeReadOnly());
        MainWindow& w = open(f);
        const QStringList before = everything(f);
        bool shown = false;
        QTimer::singleShot(0, athleteEditor(w), [&] {
            shown = athleteEditor(w)->isVisible();
            athleteEditor(w)->reject();
        });
        part<QAction>(w, action)->trigger();
        QCoreApplication::processEvents();
        QVERIFY(!shown);
        // The start said that the database is only read, and the check says it again.
        const QString readOnly = f.station->store().readOnlyText();
        QVERIFY2(readOnly.contains("wird nur gelesen"), qPrintable(readOnly));
        QCOMPARE(f.messages.texts(), (QStringList{readOnly, kWriteCheck + "\n\n" + readOnly}));
        QCOMPARE(f.messages.boxes[1].title, QStringLiteral("Kalvero"));
        QCOMPARE(everything(f), before);
        QCOMPARE(ids(w).size(), 7);
    }

    // ---- search -------------------------------------------------------------------------

    // The dialog's last field decides what is searched; the first athlete found is selected
    // with his history; nobody found lists all again. What a text finds is the repository's
    // own test.
    void search_data() {
        QTest::addColumn<QString>("field"); // the field that last had the focus
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("first name, ordered by surname and birth")
            << "firstNameField"
            << "anna" << QStringList{"5", "6", "1"};
        QTest::newRow("surname, ordered by first name and birth")
            << "surnameField"
            << "mei" << QStringList{"6", "1", "7", "4"};
        QTest::newRow("nobody found: all again")
            << "firstNameField"
            << "xaver" << QStringList{"1", "2", "3", "4", "5", "6", "7"};
        QTest::newRow("hostile: drop table")
            << "surnameField"
            << "'; DROP TABLE sportler; --" << QStringList{"1", "2", "3", "4", "5", "6", "7"};
        QTest::newRow("nul character")
            << "surnameField" << QString("mei") + QChar(0) + "' OR 1=1 --"
            << QStringList{"1", "2", "3", "4", "5", "6", "7"};
    }
    void search() {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QStringList, found);

        MainWindowFixture f;
        seed(f, kAthletes);
        MainWindow& w = open(f);
        clickRow(athleteGrid(w), 3);
        const QStringList before = everything(f);
        whenShown(athleteSearch(w), [&] {
            auto* edit = athleteSearch(w)->findChild<QLineEdit*>(field);
            edit->setText(text);
            enter(edit);
            part<QPushButton>(*athleteSearch(w), "searchButton")->click();
        });
        action(w, "searchAction")->trigger();

        QCOMPARE(ids(w), found);
        QCOMPARE(selectedAthleteRow(w), 0);
        QCOMPARE(gridSelectedRow(athleteGrid(w)), 0);
        const int first = found.first().toInt();
        QCOMPARE(historyList(w)->topLevelItemCount(),
                 count(f, QStringLiteral("units WHERE Ref_ID = %1").arg(first)));
        QCOMPARE(everything(f), before);
        QVERIFY(f.messages.boxes.isEmpty());
    }

    void searchFindsHostileNamesExactly() {
        MainWindowFixture f;
        seed(f, kAthletes);
        seed(f, {"INSERT INTO sportler (ID, Name, Vorname) VALUES "
                 "(8, 'x'' OR ''1''=''1', 'Eve'), (9, '''; DROP TABLE sportler; --', 'Mal')"});
        MainWindow& w = open(f);
        for (const auto& [text, id] : {std::pair{QStringLiteral("x' or '1'='1"), "8"},
                                       std::pair{QStringLiteral("'; drop table"), "9"}}) {
            whenShown(athleteSearch(w), [&] {
                part<QLineEdit>(*athleteSearch(w), "surnameField")->setText(text);
                part<QLineEdit>(*athleteSearch(w), "surnameField")->setFocus();
                enter(part<QLineEdit>(*athleteSearch(w), "surnameField"));
                part<QPushButton>(*athleteSearch(w), "searchButton")->click();
            });
            action(w, "searchAction")->trigger();
            QCOMPARE(ids(w), QStringList{id});
        }
        QCOMPARE(count(f, "sportler"), 9);
        QVERIFY(f.messages.boxes.isEmpty());
    }

    void searchClosedAndShowAll() {
        MainWindowFixture f;
        seed(f, kAthletes);
        MainWindow& w = open(f);
        whenShown(athleteSearch(w), [&] {
            part<QLineEdit>(*athleteSearch(w), "surnameField")->setText("mei");
            part<QLineEdit>(*athleteSearch(w), "surnameField")->setFocus();
            enter(part<QLineEdit>(*athleteSearch(w), "surnameField"));
            part<QPushButton>(*athleteSearch(w), "searchButton")->click();
        });
        action(w, "searchAction")->trigger();
        QCOMPARE(ids(w).size(), 4);
        clickRow(athleteGrid(w), 3);
        QCOMPARE(selectedAthleteId(w), 4);

        // Closed without searching: the list and the selection stay.
        whenShown(athleteSearch(w), [&] {
            QCOMPARE(part<QLineEdit>(*athleteSearch(w), "surnameField")->text(),
                     QStringLiteral("mei"));
            athleteSearch(w)->reject();
        });
        action(w, "searchAction")->trigger();
        QCOMPARE(ids(w), (QStringList{"6", "1", "7", "4"}));
        QCOMPARE(selectedAthleteId(w), 4);

        action(w, "showAllAction")->trigger();
        QCOMPARE(ids(w), (QStringList{"1", "2", "3", "4", "5", "6", "7"}));
        QCOMPARE(selectedAthleteId(w), 1);
        QCOMPARE(historyColumn(historyList(w), 7), (QStringList{"2", "1"}));
        QVERIFY(f.messages.boxes.isEmpty());
    }

    // A start whose listing failed (a server that was away, a table it could not read) lists
    // nobody; the next new athlete is stored once, listed and selected, with no error box.
    void aNewAthleteAfterAStartWithoutAListing() {
        MainWindowFixture f;
        seed(f, kAthletes);
        seed(f, {"ALTER TABLE sportler DROP COLUMN Bemerkung1"});
        MainWindow& w = open(f);
        QCOMPARE(f.messages.boxes.size(), 1);
        QCOMPARE(athleteGrid(w)->model()->rowCount(), 0);
        seed(f, {"ALTER TABLE sportler ADD COLUMN Bemerkung1 VARCHAR(100)"});
        f.messages.clear();
        whenShown(athleteEditor(w), [&] {
            fillEditor(athleteEditor(w), 0, "Öztürk", "Deniz", "", "");
            part<QPushButton>(*athleteEditor(w), "okButton")->click();
        });
        action(w, "newAthleteAction")->trigger();
        QVERIFY2(f.messages.boxes.isEmpty(), qPrintable(f.messages.texts().join(" | ")));
        QCOMPARE(count(f, "sportler"), 8);
        QCOMPARE(ids(w).size(), 8);
        QCOMPARE(selectedAthleteId(w), 8);
        QCOMPARE(gridColumn(athleteGrid(w), 2).last(), QStringLiteral("Öztürk"));
    }

    // What another station stored shows after "Aktualisieren" (F9); the selected athlete and
    // measurement stay selected, and the first athlete is when the selected one is gone.
    void refreshShowsWhatOtherStationsStored() {
        MainWindowFixture f;
        seed(f, kAthletes);
        MainWindow& w = open(f);
        clickRow(athleteGrid(w), ids(w).indexOf("6"));
        QTreeWidgetItem* older = historyEntry(historyList(w), 1);
        QVERIFY(older);
        historyList(w)->setCurrentItem(older);
        QCOMPARE(chosenMeasurementNumber(w), std::optional<qint64>(1));

        Database other(f.location());
        other.write("INSERT INTO sportler (Name, Vorname) VALUES ('Zander', 'Zoe')");
        MeasurementRepository(other).recordFirstJump(6, QDateTime::currentDateTime(),
                                                     {200, 500, 1.25, 1});
        QCOMPARE(ids(w).size(), 7);
        QTest::keyClick(&w, Qt::Key_F9);
        QCOMPARE(ids(w).size(), 8);
        QCOMPARE(selectedAthleteId(w), 6);
        QCOMPARE(historyColumn(historyList(w), 7), (QStringList{"3", "2", "1"}));
        QCOMPARE(chosenMeasurementNumber(w), std::optional<qint64>(1));

        AthleteRepository(other).remove(6);
        action(w, "refreshAction")->trigger();
        QVERIFY(!ids(w).contains("6"));
        QCOMPARE(gridSelectedRow(athleteGrid(w)), 0);
        QCOMPARE(selectedAthleteId(w), ids(w).first().toLongLong());
        QVERIFY(f.messages.boxes.isEmpty());
    }

    void aFailedSearchLeavesAllAthletesListed() {
        MainWindowFixture f;
        seed(f, kAthletes);
        MainWindow& w = open(f);
        // A table without the searched column: the engine refuses the search.
        QVERIFY(scalar(f, "SELECT 1").isValid());
        {
            QSqlQuery q(StoreInternals::database(f.station->store()).connection());
            QVERIFY(q.exec("ALTER TABLE sportler RENAME COLUMN Vorname TO Rufname"));
        }
        whenShown(athleteSearch(w), [&] {
            part<QLineEdit>(*athleteSearch(w), "firstNameField")->setText("anna");
            enter(part<QLineEdit>(*athleteSearch(w), "firstNameField"));
            part<QPushButton>(*athleteSearch(w), "searchButton")->click();
        });
        action(w, "searchAction")->trigger();
        QCOMPARE(f.messages.boxes.size(), 1);
        QCOMPARE(f.messages.boxes[0].icon, BoxIcon::Error);
        // The engine's words: "no such column: Vorname", or "column "vorname" does not exist".
        const QString told = f.messages.boxes[0].text;
        QVERIFY2(told.contains("column") && told.contains("Vorname", Qt::CaseInsensitive),
                 qPrintable(told));
        QCOMPARE(ids(w).size(), 7);
    }

    // ---- birth dates as people type them ------------------------------------------------

    void birthDates_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("date");
        const QLocale de(QLocale::German, QLocale::Germany);
        const QLocale us(QLocale::English, QLocale::UnitedStates);
        QTest::newRow("de two digits") << de << "01.05.1980" << QDate(1980, 5, 1);
        QTest::newRow("de one digit") << de << "1.5.1980" << QDate(1980, 5, 1);
        QTest::newRow("de mixed") << de << "01.5.1980" << QDate(1980, 5, 1);
        QTest::newRow("de blanks") << de << " 7.11.2001 " << QDate(2001, 11, 7);
        QTest::newRow("de no such day") << de << "31.2.1980" << QDate();
        QTest::newRow("de short year") << de << "1.5.80" << QDate();
        QTest::newRow("de words") << de << "gestern" << QDate();
        QTest::newRow("de empty") << de << "" << QDate();
        QTest::newRow("us one digit") << us << "5/1/1980" << QDate(1980, 5, 1);
        QTest::newRow("us two digits") << us << "05/01/1980" << QDate(1980, 5, 1);
        QTest::newRow("us day first is no date") << us << "13/1/1980" << QDate();
    }
    void birthDates() {
        QFETCH(QLocale, locale);
        QFETCH(QString, text);
        QFETCH(QDate, date);
        texts::setLocale(locale);
        QCOMPARE(athletes::parseBirthDate(text), date);
    }

    void relaxedFormats_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("relaxed");
        QTest::newRow("german") << "dd.MM.yyyy"
                                << "d.M.yyyy";
        QTest::newRow("iso") << "yyyy-MM-dd"
                             << "yyyy-M-d";
        QTest::newRow("already relaxed") << "M/d/yyyy"
                                         << "M/d/yyyy";
        QTest::newRow("names stay") << "ddd, dd. MMMM yyyy"
                                    << "ddd, d. MMMM yyyy";
        QTest::newRow("quoted text stays") << "'dd' dd.MM.yyyy"
                                           << "'dd' d.M.yyyy";
    }
    void relaxedFormats() {
        QFETCH(QString, format);
        QFETCH(QString, relaxed);
        QCOMPARE(athletes::relaxedDateFormat(format), relaxed);
    }
};

QTEST_MAIN(TestAthletes)
#include "tst_athletes.moc"
