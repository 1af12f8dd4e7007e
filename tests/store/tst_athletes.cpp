#include "AthleteWindow.h"

#include "core/store/BirthDate.h"
#include "ui/RemarkEdit.h"
#include "ui/data.h"
#include "ui/such.h"

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

QStringList ids(const TForm1& w) {
    return gridColumn(w.DBGrid1, 0);
}

// Everything stored about the athletes and their measurements, to see that nothing changed.
QStringList everything(TForm1& w) {
    return column(w, "SELECT ID || '|' || IFNULL(Name,'') || '|' || IFNULL(Vorname,'') || '|' "
                     "|| IFNULL(Geb,'') || '|' || IFNULL(Geschl,'') || '|' || "
                     "IFNULL(Bemerkung1,'') FROM sportler ORDER BY ID") +
           column(w, "SELECT Ref_ID || '/' || Nummer || '/' || FZ FROM units ORDER BY ID") +
           column(w, "SELECT Serie || '/' || Anzahl || '/' || FZ FROM mr ORDER BY rowid");
}

QString row(TForm1& w, qint64 id) {
    return scalar(w, QStringLiteral("SELECT IFNULL(Name,'<null>') || '|' || "
                                    "IFNULL(Vorname,'<null>') || '|' || IFNULL(Geb,'<null>') || "
                                    "'|' || IFNULL(Geschl,'<null>') || '|' || "
                                    "IFNULL(Bemerkung1,'<null>') FROM sportler WHERE ID = %1")
                         .arg(id))
        .toString();
}

void fillEditor(TForm3* e, int sex, const QString& name, const QString& firstName,
                const QString& born, const QString& remark) {
    e->ComboBox1->setCurrentIndex(sex);
    e->Edit1->setText(name);
    e->Edit2->setText(firstName);
    e->Edit3->setText(born);
    e->Memo1->setText(remark);
}

// Puts the focus into a field of the search dialog; the dialog reacts to the field's entry
// even before its window is active.
void enter(QLineEdit* field) {
    field->setFocus();
    QFocusEvent focusIn(QEvent::FocusIn, Qt::OtherFocusReason);
    QCoreApplication::sendEvent(field, &focusIn);
}

QStringList marks(const TForm3* e) {
    return {e->MarkSex->text(), e->MarkName->text(), e->MarkVorname->text(), e->MarkGeb->text()};
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
        TForm1& w = open(f);
        const QList<std::tuple<QAction*, QString, QString>> actions{
            {w.Action6, "Zeigen", "Alle &zeigen"},
            {w.Action1, "Suchen", "&Suchen"},
            {w.Action2, "Neuer Sportler", "&Neuer Sportler"},
            {w.SAendern, "Daten ändern", "&Daten ändern"},
            {w.Action4, "Löschen", "Sportler &löschen"}};
        for (const auto& [action, caption, menuCaption] : actions) {
            QCOMPARE(action->iconText(), caption);
            QCOMPARE(action->text(), menuCaption);
        }

        QStringList titles;
        QList<int> widths;
        for (int c = 0; c < w.DBGrid1->model()->columnCount(); ++c) {
            titles << w.DBGrid1->model()->headerData(c, Qt::Horizontal).toString();
            widths << w.DBGrid1->columnWidth(c);
        }
        QCOMPARE(titles, (QStringList{"ID", "Vorname", "Name", "Geb. am", "Bemerkung"}));
        // The date column is as designed, or wider where the font needs it for a whole date.
        const int dateWidth = w.DBGrid1->fontMetrics().horizontalAdvance("00.00.0000");
        QCOMPARE(widths.size(), 5);
        QVERIFY(widths[3] >= 60 && widths[3] > dateWidth);
        widths[3] = 60;
        QCOMPARE(widths, (QList<int>{30, 115, 115, 60, 400}));
        QCOMPARE(w.DBGrid1->editTriggers(), QAbstractItemView::NoEditTriggers);
        QCOMPARE(ids(w), (QStringList{"1", "2", "3", "4", "5", "6", "7"}));
        QCOMPARE(gridColumn(w.DBGrid1, 3)[0], QStringLiteral("01.02.1990"));

        // The first athlete is selected with his history; picking another row follows.
        QCOMPARE(gridSelectedRow(w.DBGrid1), 0);
        QCOMPARE(historyColumn(w.ListView2, 7), (QStringList{"2", "1"}));
        QCOMPARE(w.LastNummer, 2);
        clickRow(w.DBGrid1, 5);
        QCOMPARE(w.Query1().asInteger("ID"), 6);
        QCOMPARE(gridSelectedRow(w.DBGrid1), 5);
        QCOMPARE(historyColumn(w.ListView2, 7), (QStringList{"2", "1"}));
        QCOMPARE(w.Query2().sql().join('\n'),
                 QStringLiteral("SELECT * FROM units\nWHERE Ref_ID = 6"));
        w.DBGrid1->setFocus();
        QTest::keyClick(w.DBGrid1, Qt::Key_Down);
        QCOMPARE(w.Query1().asInteger("ID"), 7);
        QCOMPARE(w.ListView2->topLevelItemCount(), 0);
        QCOMPARE(w.LastNummer, 0);
        // A move of the cursor by the program shows in the grid.
        w.Query1().first();
        QCOMPARE(gridSelectedRow(w.DBGrid1), 0);
        linkGridToCursor(w.DBGrid1, w.Query1(), f.ui); // a second link changes nothing
        QCOMPARE(w.DBGrid1->findChildren<QObject*>("CursorLink").size(), 1);
        QVERIFY(f.ui.boxes.isEmpty());
    }

    // ---- new athlete --------------------------------------------------------------------

    void newAthlete_data() {
        QTest::addColumn<int>("sex");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("firstName");
        QTest::addColumn<QString>("born");
        QTest::addColumn<QString>("remark");
        QTest::addColumn<QString>("stored");
        const QString remark100 = QString(47, 'a') + "\n" + QString(50, QChar(0x00FC)) + "\n;";
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
        QTest::newRow("umlauts, quotes, semicolons, 100-character remark")
            << 0 << "O'Brien; Müller-Lüdenscheidt"
            << "'; DROP TABLE sportler; --"
            << "29.02.2000" << remark100
            << "O'Brien; Müller-Lüdenscheidt|'; DROP TABLE sportler; --|2000-02-29|0|" + remark100;
    }
    void newAthlete() {
        QFETCH(int, sex);
        QFETCH(QString, name);
        QFETCH(QString, firstName);
        QFETCH(QString, born);
        QFETCH(QString, remark);
        QFETCH(QString, stored);
        QVERIFY(remark.size() <= TForm3::kRemarkLength);

        MainWindowFixture f;
        seed(f, kAthletes);
        TForm1& w = open(f);
        QStringList shownMarks;
        bool leftOpen = false;
        whenShown(
            w.Form3,
            [&] {
                shownMarks = marks(w.Form3);
                fillEditor(w.Form3, sex, name, firstName, born, remark);
                w.Form3->BitBtn1->click();
            },
            &leftOpen);
        w.Action2->trigger();
        QVERIFY(!leftOpen);
        QCOMPARE(shownMarks, (QStringList{"", "*", "*", ""}));
        QCOMPARE(marks(w.Form3), (QStringList{"*", "*", "*", "*"}));
        QCOMPARE(w.Form3->windowTitle(), QStringLiteral("Sportler - Neu"));
        QVERIFY(f.ui.boxes.isEmpty());

        QCOMPARE(count(w, "sportler"), 8);
        QCOMPARE(row(w, 8), stored);
        // The cursor stands on the new athlete in the last row, and the history and the
        // counter are his.
        QCOMPARE(ids(w).size(), 8);
        QCOMPARE(w.Query1().currentRow(), 7);
        QCOMPARE(w.Query1().asInteger("ID"), 8);
        QCOMPARE(gridSelectedRow(w.DBGrid1), 7);
        QCOMPARE(gridColumn(w.DBGrid1, 2).last(), name);
        QCOMPARE(gridColumn(w.DBGrid1, 4).last(), remark);
        QCOMPARE(w.ListView2->topLevelItemCount(), 0);
        QCOMPARE(w.LastNummer, 0);
        QCOMPARE(w.Query2().sql().join('\n'),
                 QStringLiteral("SELECT * FROM units\nWHERE Ref_ID = 8"));

        // The change dialog shows him as stored.
        whenShown(w.Form3, [&] {
            QCOMPARE(w.Form3->Edit1->text(), name);
            QCOMPARE(w.Form3->Edit2->text(), firstName);
            QCOMPARE(w.Form3->Edit3->text(), born);
            QCOMPARE(w.Form3->ComboBox1->currentIndex(), sex);
            QCOMPARE(w.Form3->remark(), remark);
            w.Form3->BitBtn2->click();
        });
        w.SAendern->trigger();
        QCOMPARE(row(w, 8), stored);
    }

    void newAthleteInAnEmptyTableAndAfterASearch() {
        MainWindowFixture f;
        TForm1& w = open(f);
        QVERIFY(!w.SpeedButton4->isEnabled());
        whenShown(w.Form3, [&] {
            fillEditor(w.Form3, -1, "Erst", "Eva", "", "");
            w.Form3->BitBtn1->click();
        });
        w.Action2->trigger();
        QCOMPARE(ids(w), QStringList{"1"});
        QCOMPARE(w.Query1().asInteger("ID"), 1);
        QCOMPARE(gridSelectedRow(w.DBGrid1), 0);
        // The first athlete of all is selected at once: a measurement can start.
        QVERIFY(w.SpeedButton4->isEnabled());
        QCOMPARE(w.LastNummer, 0);

        // Under a search the new athlete is listed where the search puts him.
        whenShown(w.Form5, [&] {
            w.Form5->Edit1->setText("e");
            w.Form5->BitBtn1->click();
        });
        w.Action1->trigger();
        whenShown(w.Form3, [&] {
            fillEditor(w.Form3, 0, "Alt", "Emil", "", "");
            w.Form3->BitBtn1->click();
        });
        w.Action2->trigger();
        QCOMPARE(gridColumn(w.DBGrid1, 1), (QStringList{"Emil", "Eva"}));
        QCOMPARE(w.Query1().asText("Vorname"), QStringLiteral("Emil"));
        QCOMPARE(gridSelectedRow(w.DBGrid1), 0);
        QVERIFY(f.ui.boxes.isEmpty());
    }

    void newAthleteCancelledOrIncomplete() {
        MainWindowFixture f;
        seed(f, kAthletes);
        TForm1& w = open(f);
        const QStringList before = everything(w);
        whenShown(w.Form3, [&] {
            fillEditor(w.Form3, 1, "Weg", "Wanda", "01.01.2000", "x");
            w.Form3->BitBtn2->click();
        });
        w.Action2->trigger();
        QCOMPARE(everything(w), before);
        QCOMPARE(w.Query1().currentRow(), 0);

        // The change dialog after a cancelled new one shows all four marks.
        QStringList changeMarks;
        whenShown(w.Form3, [&] {
            changeMarks = marks(w.Form3);
            w.Form3->BitBtn2->click();
        });
        w.SAendern->trigger();
        QCOMPARE(changeMarks, (QStringList{"*", "*", "*", "*"}));

        // Required fields: the dialog stays open until Name and Vorname are filled.
        bool stayedOpen = false;
        whenShown(w.Form3, [&] {
            fillEditor(w.Form3, -1, "Neu", "", "", "");
            w.Form3->BitBtn1->click();
            stayedOpen = w.Form3->isVisible();
            QCOMPARE(count(w, "sportler"), 7);
            w.Form3->Edit2->setText("Nora");
            w.Form3->BitBtn1->click();
        });
        w.Action2->trigger();
        QVERIFY(stayedOpen);
        QCOMPARE(f.ui.texts(), QStringList{kRequired});
        QCOMPARE(f.ui.boxes[0].title, QStringLiteral("Informationen"));
        QCOMPARE(row(w, 8), QStringLiteral("Neu|Nora|<null>|-1|"));
    }

    // ---- change athlete -----------------------------------------------------------------

    void changeAthlete_data() {
        QTest::addColumn<QString>("storedGeb"); // SQL literal
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
        QFETCH(QString, storedGeb);
        QFETCH(int, storedSex);
        QFETCH(QString, shownDate);
        QFETCH(bool, marked);
        QFETCH(int, shownSex);
        QFETCH(QString, newDate);
        QFETCH(QString, expected);

        MainWindowFixture f;
        seed(f, {QStringLiteral("INSERT INTO sportler (ID, Name, Vorname, Geb, Geschl, "
                                "Bemerkung1) VALUES (1, 'Alt', 'Anton', %1, %2, 'alt'), "
                                "(2, 'Zweit', 'Zora', NULL, 1, NULL)")
                     .arg(storedGeb)
                     .arg(storedSex)});
        TForm1& w = open(f);
        bool leftOpen = false;
        bool shownMarked = false;
        bool refused = false;
        whenShown(
            w.Form3,
            [&] {
                QCOMPARE(w.Form3->windowTitle(), QStringLiteral("Sportler - ändern"));
                QCOMPARE(marks(w.Form3), (QStringList{"*", "*", "*", "*"}));
                QCOMPARE(w.Form3->Edit1->text(), QStringLiteral("Alt"));
                QCOMPARE(w.Form3->Edit2->text(), QStringLiteral("Anton"));
                QCOMPARE(w.Form3->Edit3->text(), shownDate);
                QCOMPARE(w.Form3->ComboBox1->currentIndex(), shownSex);
                QCOMPARE(w.Form3->remark(), QStringLiteral("alt"));
                shownMarked =
                    w.Form3->Edit3->palette().color(QPalette::Base) == TForm3::invalidDateColor();
                if (marked) {
                    // Left as it is, the text is refused with a message.
                    w.Form3->BitBtn1->click();
                    refused = w.Form3->isVisible();
                }
                fillEditor(w.Form3, 0, "Neu", "Nina", newDate, "neu");
                w.Form3->BitBtn1->click();
            },
            &leftOpen);
        w.SAendern->trigger();
        QVERIFY(!leftOpen);
        QCOMPARE(shownMarked, marked);
        QCOMPARE(refused, marked);
        QCOMPARE(f.ui.boxes.size(), marked ? 1 : 0);
        if (marked)
            QVERIFY(f.ui.boxes[0].text.contains(shownDate));
        QCOMPARE(row(w, 1), expected);
        QCOMPARE(row(w, 2), QStringLiteral("Zweit|Zora|<null>|1|<null>"));
        QCOMPARE(gridColumn(w.DBGrid1, 2)[0], QStringLiteral("Neu"));
        QCOMPARE(w.Query1().currentRow(), 0);
    }

    void changeCancelledOrWithoutAthlete() {
        MainWindowFixture f;
        seed(f, kAthletes);
        TForm1& w = open(f);
        const QStringList before = everything(w);
        whenShown(w.Form3, [&] {
            fillEditor(w.Form3, 0, "Neu", "Nina", "", "");
            w.Form3->BitBtn2->click();
        });
        w.SAendern->trigger();
        QCOMPARE(everything(w), before);
        QCOMPARE(gridColumn(w.DBGrid1, 2)[0], QStringLiteral("Meier"));

        // With no athlete there is nothing to change: no dialog, nothing written.
        MainWindowFixture empty;
        TForm1& w2 = open(empty);
        bool shown = false;
        QTimer::singleShot(0, w2.Form3, [&] {
            shown = w2.Form3->isVisible();
            w2.Form3->reject();
        });
        w2.SAendern->trigger();
        QCoreApplication::processEvents();
        QVERIFY(!shown);
        QCOMPARE(count(w2, "sportler"), 0);
        QVERIFY(empty.ui.boxes.isEmpty());
    }

    // ---- write check --------------------------------------------------------------------

    void writeCheckStopsTheAction_data() {
        QTest::addColumn<QString>("action");
        QTest::newRow("new") << "Action2";
        QTest::newRow("change") << "SAendern";
        QTest::newRow("delete by menu") << "Action4";
    }
    void writeCheckStopsTheAction() {
        QFETCH(QString, action);
        MainWindowFixture f;
        seed(f, kAthletes);
        QVERIFY(QFile::setPermissions(f.dataDirectory() + Database::kFileName,
                                      QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        TForm1& w = open(f);
        const QStringList before = everything(w);
        bool shown = false;
        QTimer::singleShot(0, w.Form3, [&] {
            shown = w.Form3->isVisible();
            w.Form3->reject();
        });
        w.action(action)->trigger();
        QCoreApplication::processEvents();
        QVERIFY(!shown);
        QCOMPARE(f.ui.texts(), QStringList{kWriteCheck});
        QCOMPARE(f.ui.boxes[0].title, QStringLiteral("Kalvero"));
        QCOMPARE(everything(w), before);
        QCOMPARE(ids(w).size(), 7);
    }

    // ---- search -------------------------------------------------------------------------

    void search_data() {
        QTest::addColumn<QString>("field"); // the field that last had the focus
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("found");
        QTest::addColumn<QString>("where"); // the statement's condition, empty for all

        QTest::newRow("first name, ordered by surname and birth")
            << "Edit1"
            << "anna" << QStringList{"5", "6", "1"} << "WHERE UPPER(Vorname) LIKE 'ANNA%'";
        QTest::newRow("surname, ordered by first name and birth")
            << "Edit2"
            << "mei" << QStringList{"6", "1", "7", "4"} << "WHERE UPPER(Name) LIKE 'MEI%'";
        QTest::newRow("upper case")
            << "Edit2"
            << "MEIE" << QStringList{"6", "1", "4"} << "WHERE UPPER(Name) LIKE 'MEIE%'";
        QTest::newRow("quote in the name")
            << "Edit2"
            << "o'hara" << QStringList{"2"} << "WHERE UPPER(Name) LIKE 'O''HARA%'";
        QTest::newRow("umlaut as typed")
            << "Edit2"
            << "müller" << QStringList{"3"} << "WHERE UPPER(Name) LIKE 'MüLLER%'";
        QTest::newRow("umlaut inside first name")
            << "Edit1"
            << "jö" << QStringList{"3"} << "WHERE UPPER(Vorname) LIKE 'Jö%'";
        QTest::newRow("wildcard typed by the user")
            << "Edit2"
            << "_eier" << QStringList{"6", "1", "4"} << "WHERE UPPER(Name) LIKE '_EIER%'";
        QTest::newRow("empty text: every athlete in the search's order")
            << "Edit1"
            << "" << QStringList{"5", "6", "1", "4", "7", "3", "2"}
            << "WHERE UPPER(Vorname) LIKE '%'";
        QTest::newRow("nobody found: all again")
            << "Edit1"
            << "xaver" << QStringList{"1", "2", "3", "4", "5", "6", "7"} << "";
        QTest::newRow("umlaut case is not folded")
            << "Edit1"
            << "SEÁN" << QStringList{"1", "2", "3", "4", "5", "6", "7"} << "";
        QTest::newRow("hostile: always true")
            << "Edit1"
            << "x' OR '1'='1" << QStringList{"1", "2", "3", "4", "5", "6", "7"} << "";
        QTest::newRow("hostile: drop table")
            << "Edit2"
            << "'; DROP TABLE sportler; --" << QStringList{"1", "2", "3", "4", "5", "6", "7"} << "";
        QTest::newRow("nul character") << "Edit2" << QString("mei") + QChar(0) + "' OR 1=1 --"
                                       << QStringList{"1", "2", "3", "4", "5", "6", "7"} << "";
        QTest::newRow("hostile: comment")
            << "Edit2"
            << "meier' --" << QStringList{"1", "2", "3", "4", "5", "6", "7"} << "";
    }
    void search() {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QStringList, found);
        QFETCH(QString, where);

        MainWindowFixture f;
        seed(f, kAthletes);
        TForm1& w = open(f);
        clickRow(w.DBGrid1, 3);
        const QStringList before = everything(w);
        whenShown(w.Form5, [&] {
            auto* edit = w.Form5->findChild<QLineEdit*>(field);
            edit->setText(text);
            enter(edit);
            w.Form5->BitBtn1->click();
        });
        w.Action1->trigger();

        QCOMPARE(ids(w), found);
        if (where.isEmpty()) {
            QCOMPARE(w.Query1().sql(), QStringList{"SELECT * FROM sportler"});
        } else {
            QCOMPARE(w.Query1().sql().size(), 3);
            QCOMPARE(w.Query1().sql()[1], where);
        }
        // The first athlete found is selected with his history.
        QCOMPARE(w.Query1().currentRow(), 0);
        QCOMPARE(gridSelectedRow(w.DBGrid1), 0);
        const int first = found.first().toInt();
        QCOMPARE(w.ListView2->topLevelItemCount(),
                 count(w, QStringLiteral("units WHERE Ref_ID = %1").arg(first)));
        QCOMPARE(w.LastNummer, first == 1 || first == 6 ? 2 : 0);
        QCOMPARE(everything(w), before);
        QVERIFY(f.ui.boxes.isEmpty());
    }

    void searchFindsHostileNamesExactly() {
        MainWindowFixture f;
        seed(f, kAthletes);
        seed(f, {"INSERT INTO sportler (ID, Name, Vorname) VALUES "
                 "(8, 'x'' OR ''1''=''1', 'Eve'), (9, '''; DROP TABLE sportler; --', 'Mal')"});
        TForm1& w = open(f);
        for (const auto& [text, id] : {std::pair{QStringLiteral("x' or '1'='1"), "8"},
                                       std::pair{QStringLiteral("'; drop table"), "9"}}) {
            whenShown(w.Form5, [&] {
                w.Form5->Edit2->setText(text);
                w.Form5->Edit2->setFocus();
                enter(w.Form5->Edit2);
                w.Form5->BitBtn1->click();
            });
            w.Action1->trigger();
            QCOMPARE(ids(w), QStringList{id});
        }
        QCOMPARE(count(w, "sportler"), 9);
        QVERIFY(f.ui.boxes.isEmpty());
    }

    void searchClosedAndShowAll() {
        MainWindowFixture f;
        seed(f, kAthletes);
        TForm1& w = open(f);
        whenShown(w.Form5, [&] {
            w.Form5->Edit2->setText("mei");
            w.Form5->Edit2->setFocus();
            enter(w.Form5->Edit2);
            w.Form5->BitBtn1->click();
        });
        w.Action1->trigger();
        QCOMPARE(ids(w).size(), 4);
        clickRow(w.DBGrid1, 3);
        QCOMPARE(w.Query1().asInteger("ID"), 4);

        // Closed without searching: the list and the selection stay.
        whenShown(w.Form5, [&] {
            QCOMPARE(w.Form5->Edit2->text(), QStringLiteral("mei"));
            w.Form5->reject();
        });
        w.Action1->trigger();
        QCOMPARE(ids(w), (QStringList{"6", "1", "7", "4"}));
        QCOMPARE(w.Query1().asInteger("ID"), 4);

        w.Action6->trigger();
        QCOMPARE(w.Query1().sql(), QStringList{"SELECT * FROM sportler"});
        QCOMPARE(ids(w), (QStringList{"1", "2", "3", "4", "5", "6", "7"}));
        QCOMPARE(w.Query1().asInteger("ID"), 1);
        QCOMPARE(historyColumn(w.ListView2, 7), (QStringList{"2", "1"}));
        QVERIFY(f.ui.boxes.isEmpty());
    }

    void aFailedSearchLeavesAllAthletesListed() {
        MainWindowFixture f;
        seed(f, kAthletes);
        TForm1& w = open(f);
        // A table without the searched column: the engine refuses the search.
        QVERIFY(scalar(w, "SELECT 1").isValid());
        {
            QSqlQuery q(w.Query1().database().connection());
            QVERIFY(q.exec("ALTER TABLE sportler RENAME COLUMN Vorname TO Rufname"));
        }
        whenShown(w.Form5, [&] {
            w.Form5->Edit1->setText("anna");
            enter(w.Form5->Edit1);
            w.Form5->BitBtn1->click();
        });
        w.Action1->trigger();
        QCOMPARE(f.ui.boxes.size(), 1);
        QCOMPARE(f.ui.boxes[0].icon, BoxIcon::Error);
        QVERIFY2(f.ui.boxes[0].text.startsWith("no such column: Vorname"),
                 qPrintable(f.ui.boxes[0].text));
        QCOMPARE(w.Query1().sql(), QStringList{"SELECT * FROM sportler"});
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
