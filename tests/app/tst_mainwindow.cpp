#include "core/base/Texts.h"
#include "core/store/Database.h"
#include "core/store/ResultSet.h"
#include "support/MainWindowFixture.h"
#include "ui/trig.h"

#include <QAction>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

class TestMainWindow : public QObject {
    Q_OBJECT

    static QStringList entries(QMenu* menu) {
        QStringList out;
        for (QAction* a : menu->actions())
            out << (a->isSeparator() ? QStringLiteral("-") : a->text());
        return out;
    }

private slots:
    void menusToolBarAndShortcuts() {
        MainWindowFixture f;
        TForm1& w = f.start();
        QStringList top;
        for (QAction* a : w.menuBar()->actions())
            if (a->isVisible())
                top << a->text();
        QCOMPARE(top, (QStringList{"&Datei", "&Betriebsart", "&Optionen", "D&aten", "&Info"}));
        QCOMPARE(entries(w.DateiMenu), (QStringList{"-", "&Beenden", "&Exportieren"}));
        QCOMPARE(entries(w.ExportMenu), (QStringList{"&Export", "&Alle Exportieren"}));
        QCOMPARE(entries(w.BetriebsartMenu), (QStringList{"&Einzelmessung", "&Mehrfachmessung"}));
        QCOMPARE(entries(w.OptionenMenu), (QStringList{"S&ettings"}));
        QCOMPARE(entries(w.DatenMenu),
                 (QStringList{"Alle &zeigen", "&Suchen", "-", "&Neuer Sportler", "&Daten ändern",
                              "Sportler &löschen"}));

        const QList<std::pair<const char*, QKeySequence>> shortcuts{
            {"SingleExport", QKeySequence("Ctrl+E")}, {"AllExport", QKeySequence("Ctrl+Alt+E")},
            {"Action6", QKeySequence("Ctrl+Z")},      {"Action1", QKeySequence("Ctrl+F")},
            {"Action2", QKeySequence("Ctrl+N")},      {"SAendern", QKeySequence("Ctrl+A")},
            {"Action4", QKeySequence("Ctrl+L")},      {"Start1", QKeySequence("F5")}};
        for (const auto& [name, keys] : shortcuts)
            QCOMPARE(w.action(name)->shortcut(), keys);

        QStringList hints;
        for (QAction* a : w.ActionToolBar1->actions()) {
            QVERIFY(!a->icon().isNull());
            hints << a->toolTip();
        }
        QCOMPARE(hints,
                 (QStringList{"Sportler suchen", "Alle zeigen", "Neuer Sportler", "Daten ändern"}));
        QCOMPARE(w.Start1->toolTip(), QStringLiteral("Messung starten (F5)"));
        QCOMPARE(w.close1->toolTip(), QStringLiteral("Programm beenden"));
        // Icons that can be told apart.
        QList<QImage> pictures;
        for (QAction* a : w.ActionToolBar1->actions())
            pictures << a->icon().pixmap(16, 16).toImage();
        for (int i = 0; i < pictures.size(); ++i)
            for (int j = i + 1; j < pictures.size(); ++j)
                QVERIFY(pictures[i] != pictures[j]);
    }

    void debugSwitch_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("visible");
        QTest::newRow("none") << QStringList{} << false;
        QTest::newRow("debug") << QStringList{"debug"} << true;
        QTest::newRow("debug and more") << QStringList{"debug", "x"} << true;
        QTest::newRow("other case") << QStringList{"Debug"} << false;
        QTest::newRow("second argument") << QStringList{"x", "debug"} << false;
    }
    void debugSwitch() {
        QFETCH(QStringList, arguments);
        QFETCH(bool, visible);
        MainWindowFixture f(arguments);
        TForm1& w = f.start();
        QCOMPARE(w.BugBee->isVisible(), visible);
        QCOMPARE(w.BugBee->text(), QStringLiteral("Debug"));
    }

    void modesSwitchCaptionAndChecks() {
        MainWindowFixture f;
        TForm1& w = f.start();
        QCOMPARE(w.windowTitle(), QStringLiteral("Kalvero (Einzelmessung)"));
        QVERIFY(w.Action13->isChecked() && !w.Action14->isChecked());
        QVERIFY(!w.DBGrid3->isVisible());

        w.Action14->trigger();
        QCOMPARE(w.Betriebsart, 2);
        QCOMPARE(w.windowTitle(), QStringLiteral("Kalvero (Mehrfachmessung)"));
        QVERIFY(!w.Action13->isChecked() && w.Action14->isChecked());

        w.Action13->trigger();
        QCOMPARE(w.Betriebsart, 1);
        QCOMPARE(w.windowTitle(), QStringLiteral("Kalvero (Einzelmessung)"));
        QVERIFY(w.Action13->isChecked() && !w.Action14->isChecked());
        QVERIFY(f.ui.boxes.isEmpty());
    }

    void settingsAreReadAtShowAndWrittenAtExit_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("caption");
        QTest::newRow("first run") << ""
                                   << ""
                                   << ""
                                   << "Kalvero (Einzelmessung)";
        QTest::newRow("limit not a number") << "PSZmin"
                                            << "abc"
                                            << "60"
                                            << "Kalvero (Einzelmessung)";
        QTest::newRow("limit kept") << "PFZmax"
                                    << "1200"
                                    << "1200"
                                    << "Kalvero (Einzelmessung)";
        QTest::newRow("flag 2 is true") << "Delete"
                                        << "2"
                                        << "1"
                                        << "Kalvero (Einzelmessung)";
        QTest::newRow("flag 0") << "Delete"
                                << "0"
                                << "0"
                                << "Kalvero (Einzelmessung)";
        QTest::newRow("mask on") << "Mask"
                                 << "7"
                                 << "1"
                                 << "Kalvero (Einzelmessung)";
        QTest::newRow("mode 257 is single") << "Betriebsart"
                                            << "257"
                                            << "1"
                                            << "Kalvero (Einzelmessung)";
        QTest::newRow("mode 0 is multiple") << "Betriebsart"
                                            << "0"
                                            << "2"
                                            << "Kalvero (Mehrfachmessung)";
        QTest::newRow("mode 3 is multiple") << "Betriebsart"
                                            << "3"
                                            << "2"
                                            << "Kalvero (Mehrfachmessung)";
        QTest::newRow("mode 2") << "Betriebsart"
                                << "2"
                                << "2"
                                << "Kalvero (Mehrfachmessung)";
    }
    void settingsAreReadAtShowAndWrittenAtExit() {
        QFETCH(QString, name);
        QFETCH(QString, stored);
        QFETCH(QString, written);
        QFETCH(QString, caption);
        MainWindowFixture f;
        if (!name.isEmpty())
            f.store(name, stored);
        TForm1& w = f.start();
        QCOMPARE(w.windowTitle(), caption);
        f.finish();

        const QMap<QString, QString> defaults{
            {"ComPort", "1"},  {"ComSet", "1"},    {"Mask", "0"},
            {"Delete", "1"},   {"PSZmin", "60"},   {"PSZmax", "330"},
            {"PFZmin", "200"}, {"PFZmax", "1000"}, {"Betriebsart", "1"}};
        const QSettings s = f.settings();
        QCOMPARE(s.childGroups(), QStringList{"Einstellungen"});
        QCOMPARE(f.settings().allKeys().size(), 9);
        for (auto it = defaults.begin(); it != defaults.end(); ++it) {
            const QString expected = it.key() == name ? written : it.value();
            QCOMPARE(f.stored(it.key()), expected);
        }
    }

    void limitsEditedInTheDialogSurviveARestart() {
        MainWindowFixture f;
        TForm1& w = f.start();
        QTimer::singleShot(0, [&] {
            auto* edit = w.Form4->findChild<QLineEdit*>("Edit1");
            QVERIFY(edit);
            edit->setText("80");
            w.Form4->findChild<QPushButton*>("BitBtn1")->click();
        });
        w.Action8->trigger();
        QCOMPARE(w.Limits.PSZmin, 80);
        QCOMPARE(w.Form4->windowTitle(), QStringLiteral("Triggerflanke"));
        f.finish();
        QCOMPARE(f.stored("PSZmin"), QStringLiteral("80"));
        TForm1& again = f.start();
        QCOMPARE(again.Limits.PSZmin, 80);
        QVERIFY(again.Limits.TriggerEdge1 && again.Limits.TriggerEdge2);
        QVERIFY(!again.Limits.abortOnViolation);
        f.finish();
    }

    void aStartWithoutAShowWritesNothing() {
        MainWindowFixture f;
        f.create();
        f.finish();
        QVERIFY(!QFile::exists(f.settingsPath));
    }

    void firstStartCreatesTheDatabase() {
        MainWindowFixture f;
        TForm1& w = f.start();
        QVERIFY(QFile::exists(f.dataDirectory() + "qrv.sqlite"));
        QVERIFY(w.tablesOpen());
        QVERIFY(w.Query1().isOpen() && w.Query2().isOpen() && w.Query3().isOpen());
        QCOMPARE(w.Query1().sql(), QStringList{"SELECT * FROM sportler;"});
        QVERIFY(!w.SpeedButton4->isEnabled()); // no athlete yet
        QVERIFY(f.ui.boxes.isEmpty());
        f.finish();
    }

    void aMissingTableIsReportedAtStart() {
        MainWindowFixture f;
        {
            Database db(f.dataDirectory());
            QSqlQuery q(db.connection());
            QVERIFY(q.exec("DROP TABLE units"));
        }
        TForm1& w = f.start();
        QCOMPARE(f.ui.boxes.size(), 1);
        QCOMPARE(f.ui.boxes[0].title, QStringLiteral("Kalvero"));
        QCOMPARE(f.ui.boxes[0].icon, BoxIcon::Error);
        QVERIFY2(f.ui.boxes[0].text.startsWith("no such table: units"),
                 qPrintable(f.ui.boxes[0].text));
        QVERIFY(f.ui.boxes[0].text.endsWith('.'));
        QVERIFY(w.Query1().isOpen());
        QVERIFY(!w.Query2().isOpen() && !w.Query3().isOpen());
        QVERIFY(w.isVisible()); // the program keeps running
        f.finish();
    }

    void aDamagedDatabaseIsReportedAndNothingCrashes() {
        MainWindowFixture f;
        QVERIFY(QDir().mkpath(f.dataDirectory()));
        {
            QFile file(f.dataDirectory() + "qrv.sqlite");
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(4096, '\x5a'));
        }
        TForm1& w = f.start();
        QCOMPARE(f.ui.boxes.size(), 1);
        QVERIFY2(f.ui.boxes[0].text.contains("not a database"), qPrintable(f.ui.boxes[0].text));
        QVERIFY(!w.tablesOpen());
        QVERIFY(w.isVisible());
        // Every action that needs the tables says so instead of failing silently or crashing.
        f.ui.clear();
        for (QAction* a :
             {w.Action6, w.Action2, w.SAendern, w.Action4, w.SingleExport, w.AllExport, w.Start1})
            a->trigger();
        QVERIFY(!w.running());
        for (const MessageBox& box : f.ui.boxes)
            QCOMPARE(box.title, QStringLiteral("Kalvero"));
        QVERIFY(f.ui.texts().contains("Die Datenbank ist nicht geöffnet."));
        // The file is left as it was for the user to recover.
        QFile file(f.dataDirectory() + "qrv.sqlite");
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray(4096, '\x5a'));
        f.finish();
    }

    void athletesShowInTheGrid() {
        MainWindowFixture f;
        {
            Database db(f.dataDirectory());
            QSqlQuery q(db.connection());
            QVERIFY(q.exec("INSERT INTO sportler (Name, Vorname, Geb, Geschl, Bemerkung1) "
                           "VALUES ('Meier', 'Anna', '1990-02-01', 1, 'Sprint')"));
        }
        texts::setLocale(QLocale(QLocale::German, QLocale::Germany));
        TForm1& w = f.start();
        QCOMPARE(w.DBGrid1->model()->rowCount(), 1);
        const auto cell = [&](int c) {
            return w.DBGrid1->model()->index(0, c).data().toString();
        };
        QCOMPARE(cell(0), QStringLiteral("1"));
        QCOMPARE(cell(1), QStringLiteral("Anna"));
        QCOMPARE(cell(2), QStringLiteral("Meier"));
        QCOMPARE(cell(3), QStringLiteral("01.02.1990"));
        QCOMPARE(cell(4), QStringLiteral("Sprint"));
        QVERIFY(w.SpeedButton4->isEnabled());
        f.finish();
    }

    void pickingAnAthleteShowsHisHistory() {
        MainWindowFixture f;
        {
            Database db(f.dataDirectory());
            QSqlQuery q(db.connection());
            QVERIFY(q.exec("INSERT INTO sportler (Name, Vorname) VALUES ('Meier', 'Anna')"));
            QVERIFY(q.exec("INSERT INTO sportler (Name, Vorname) VALUES ('Schulz', 'Jonas')"));
            QVERIFY(q.exec("INSERT INTO units (Ref_ID, Datum, Nummer, FZ) VALUES (2, "
                           "'2026-03-01T09:00:00', 1, 1)"));
            QVERIFY(q.exec("INSERT INTO units (Ref_ID, Datum, Nummer, FZ) VALUES (2, "
                           "'2026-03-02T09:00:00', 2, 1)"));
            QVERIFY(q.exec("INSERT INTO mr VALUES (2002, 180, 400, 0.89, 1)"));
        }
        TForm1& w = f.start();
        QCOMPARE(w.ListView2->topLevelItemCount(), 0);
        QCOMPARE(w.LastNummer, 0);
        const QRect row = w.DBGrid1->visualRect(w.DBGrid1->model()->index(1, 1));
        QTest::mouseClick(w.DBGrid1->viewport(), Qt::LeftButton, {}, row.center());
        QCOMPARE(w.Query1().asText("Vorname"), QStringLiteral("Jonas"));
        QCOMPARE(w.ListView2->topLevelItemCount(), 2);
        QCOMPARE(w.LastNummer, 2);
        // Newest first; a missing jump row shows zeros.
        QCOMPARE(w.ListView2->topLevelItem(0)->text(3), QStringLiteral("180"));
        QCOMPARE(w.ListView2->topLevelItem(1)->text(3), QStringLiteral("0"));
        QVERIFY(w.ListView2->topLevelItem(0)->isSelected());
        // Back to the first athlete: the list follows.
        w.Query1().first();
        QCOMPARE(w.ListView2->topLevelItemCount(), 0);
        QCOMPARE(w.DBGrid1->selectionModel()->currentIndex().row(), 0);
        f.finish();
    }

    void resizingStretchesTheDataPanel() {
        MainWindowFixture f;
        TForm1& w = f.start();
        const QRect data = w.GroupBox3->geometry();
        const QRect athletes = w.DBGrid1->geometry();
        const QRect history = w.ListView2->geometry();
        w.resize(w.width() + 100, w.height() + 50);
        QCoreApplication::processEvents();
        QCOMPARE(w.GroupBox3->width(), data.width() + 100);
        QCOMPARE(w.GroupBox3->height(), data.height() + 50);
        QCOMPARE(w.DBGrid1->width(), athletes.width() + 100);
        QCOMPARE(w.DBGrid1->height(), athletes.height());
        QCOMPARE(w.ListView2->height(), history.height() + 50);
        QVERIFY(w.RelayoutPending);
        QVERIFY(w.minimumWidth() == 600 && w.minimumHeight() == 640);
        f.finish();
    }

    void deleteKeyAsksNothingWhenThereIsNothing() {
        MainWindowFixture f;
        TForm1& w = f.start();
        w.activateWindow();
        w.DBGrid1->setFocus();
        w.FormKeyDown(Qt::Key_Delete);
        w.ListView2->setFocus();
        w.FormKeyDown(Qt::Key_Delete);
        QVERIFY(f.ui.boxes.isEmpty());
        f.finish();
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
