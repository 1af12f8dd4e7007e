#include "core/base/Texts.h"
#include "core/store/Database.h"
#include "support/MainWindowFixture.h"
#include "support/WindowParts.h"
#include "ui/athletes/AthleteTableModel.h"
#include "ui/settings/LimitsDialog.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
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

    // The underlined letters of a menu's visible entries that more than one entry shares.
    static QStringList sharedLetters(const QList<QAction*>& actions) {
        QMap<QString, int> count;
        for (const QAction* a : actions) {
            if (!a->isVisible() || a->isSeparator())
                continue;
            const QString text = a->text();
            const qsizetype at = text.indexOf(QLatin1Char('&'));
            if (at >= 0 && at + 1 < text.size())
                ++count[text.mid(at + 1, 1).toCaseFolded()];
        }
        QStringList shared;
        for (auto it = count.begin(); it != count.end(); ++it)
            if (it.value() > 1)
                shared << it.key();
        return shared;
    }

private slots:
    // Alt and a letter reach one entry in every menu: no two entries share a letter.
    void noMenuSharesAnAccessKey() {
        MainWindowFixture f(QStringList{"debug"});
        MainWindow& w = f.start();
        QVERIFY(sharedLetters(w.menuBar()->actions()).isEmpty());
        const auto menus = w.findChildren<QMenu*>();
        QVERIFY(menus.size() >= 5);
        for (const QMenu* m : menus)
            QVERIFY2(sharedLetters(m->actions()).isEmpty(),
                     qPrintable(m->title() + ": " + sharedLetters(m->actions()).join(", ")));
        QCOMPARE(action(w, "exitAction")->text(), QStringLiteral("&Beenden"));
    }

    // A screen reader names each result field by its label.
    void resultFieldsAreNamed() {
        MainWindowFixture f;
        MainWindow& w = f.start();
        const QList<std::pair<const char*, QString>> fields{{"contactTimeField", "Stützzeit in ms"},
                                                            {"flightTimeField", "Flugzeit in ms"},
                                                            {"heightField", "Höhe in cm"},
                                                            {"efficiencyField", "Effizienz"}};
        for (const auto& [name, spoken] : fields) {
            QAccessibleInterface* field =
                QAccessible::queryAccessibleInterface(resultField(w, name));
            QVERIFY(field);
            QCOMPARE(field->text(QAccessible::Name), spoken);
        }
        QCOMPARE(label(w, "heightLabel")->buddy(), resultField(w, "heightField"));
    }

    void menusToolBarAndShortcuts() {
        MainWindowFixture f;
        MainWindow& w = f.start();
        QStringList top;
        for (QAction* a : w.menuBar()->actions())
            if (a->isVisible())
                top << a->text();
        QCOMPARE(top, (QStringList{"&Datei", "&Betriebsart", "&Optionen", "D&aten", "A&nsicht",
                                   "&Info"}));
        QCOMPARE(entries(menu(w, "viewMenu")), QStringList{"Anzeige für Sportler"});
        QCOMPARE(entries(menu(w, "fileMenu")),
                 (QStringList{"-", "&Beenden", "&Exportieren", "Bericht als &PDF …",
                              "Daten &übernehmen …", "Daten einer anderen &Station übernehmen …",
                              "Offene &Zuordnungen …"}));
        QCOMPARE(entries(menu(w, "exportMenu")),
                 (QStringList{"&Export", "&Alle Exportieren", "-", "&Tabelle (CSV, UTF-8) …",
                              "Arbeits&mappe (Excel) …"}));
        QCOMPARE(entries(menu(w, "modeMenu")), (QStringList{"&Einzelmessung", "&Mehrfachmessung"}));
        QCOMPARE(entries(menu(w, "optionsMenu")), (QStringList{"S&ettings"}));
        QCOMPARE(entries(menu(w, "dataMenu")),
                 (QStringList{"Alle &zeigen",
                              "&Suchen",
                              "&Aktualisieren",
                              "Nä&chster Sportler",
                              "&Voriger Sportler",
                              "-",
                              "Testtag …",
                              "Testtag &beenden",
                              "-",
                              "&Neuer Sportler",
                              "&Daten ändern",
                              "Sportler &löschen",
                              "-",
                              "&Messung einem anderen Sportler zuordnen …",
                              "&Test und Fallhöhe ändern …",
                              "Änd&erungen …",
                              "-",
                              "&Gruppen …",
                              "&Rangliste …",
                              "-",
                              "Aus&wertung …"}));

        const QList<std::pair<const char*, QKeySequence>> shortcuts{
            {"exportOneAction", QKeySequence("Ctrl+E")},
            {"exportAllAction", QKeySequence("Ctrl+Alt+E")},
            {"showAllAction", QKeySequence("Ctrl+Z")},
            {"searchAction", QKeySequence("Ctrl+F")},
            {"refreshAction", QKeySequence("F9")},
            {"newAthleteAction", QKeySequence("Ctrl+N")},
            {"changeAthleteAction", QKeySequence("Ctrl+A")},
            {"deleteAthleteAction", QKeySequence("Ctrl+L")},
            {"startAction", QKeySequence("F5")},
            {"analysisAction", QKeySequence("F6")},
            {"reportAction", QKeySequence("Ctrl+P")},
            {"nextAthleteAction", QKeySequence("Ctrl+Down")},
            {"athleteDisplayAction", QKeySequence("F11")},
            {"previousAthleteAction", QKeySequence("Ctrl+Up")}};
        for (const auto& [name, keys] : shortcuts)
            QCOMPARE(action(w, name)->shortcut(), keys);

        QStringList hints;
        for (QAction* a : part<QToolBar>(w, "toolBar")->actions()) {
            QVERIFY(!a->icon().isNull());
            hints << a->toolTip();
        }
        QCOMPARE(hints,
                 (QStringList{"Sportler suchen", "Alle zeigen", "Neuer Sportler", "Daten ändern",
                              "Testtag: Test, Fallhöhe und Protokoll einmal für die Gruppe"}));
        QCOMPARE(action(w, "startAction")->toolTip(), QStringLiteral("Messung starten (F5)"));
        QCOMPARE(action(w, "exitAction")->toolTip(), QStringLiteral("Programm beenden"));
        // Icons that can be told apart.
        QList<QImage> pictures;
        for (QAction* a : part<QToolBar>(w, "toolBar")->actions())
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
        MainWindow& w = f.start();
        QCOMPARE(action(w, "debugAction")->isVisible(), visible);
        QCOMPARE(action(w, "debugAction")->text(), QStringLiteral("Debug"));
    }

    void modesSwitchCaptionAndChecks() {
        MainWindowFixture f;
        MainWindow& w = f.start();
        QCOMPARE(w.windowTitle(), QStringLiteral("Kalvero (Einzelmessung)"));
        QVERIFY(action(w, "singleModeAction")->isChecked() &&
                !action(w, "multipleModeAction")->isChecked());
        QVERIFY(!jumpGrid(w)->isVisible());

        action(w, "multipleModeAction")->trigger();
        QCOMPARE(f.station->session().mode, MeasurementMode::Multiple);
        QCOMPARE(w.windowTitle(), QStringLiteral("Kalvero (Mehrfachmessung)"));
        QVERIFY(!action(w, "singleModeAction")->isChecked() &&
                action(w, "multipleModeAction")->isChecked());

        action(w, "singleModeAction")->trigger();
        QCOMPARE(f.station->session().mode, MeasurementMode::Single);
        QCOMPARE(w.windowTitle(), QStringLiteral("Kalvero (Einzelmessung)"));
        QVERIFY(action(w, "singleModeAction")->isChecked() &&
                !action(w, "multipleModeAction")->isChecked());
        QVERIFY(f.messages.boxes.isEmpty());
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
        MainWindow& w = f.start();
        QCOMPARE(w.windowTitle(), caption);
        f.finish();

        const QMap<QString, QString> defaults{
            {"ComPort", "1"},  {"ComSet", "1"},    {"Mask", "0"},
            {"Delete", "1"},   {"PSZmin", "60"},   {"PSZmax", "330"},
            {"PFZmin", "200"}, {"PFZmax", "1000"}, {"Betriebsart", "1"}};
        const QSettings s = f.settings();
        QCOMPARE(s.childGroups(), (QStringList{"Einstellungen", "Fenster"}));
        QSettings settings(f.settingsPath, QSettings::IniFormat);
        settings.beginGroup("Einstellungen");
        QCOMPARE(settings.allKeys().size(), 9);
        for (auto it = defaults.begin(); it != defaults.end(); ++it) {
            const QString expected = it.key() == name ? written : it.value();
            QCOMPARE(f.stored(it.key()), expected);
        }
    }

    void limitsEditedInTheDialogSurviveARestart() {
        MainWindowFixture f;
        MainWindow& w = f.start();
        QTimer::singleShot(0, [&] {
            auto* edit =
                part<LimitsDialog>(w, "limitsDialog")->findChild<QLineEdit*>("contactMinField");
            QVERIFY(edit);
            edit->setText("80");
            part<LimitsDialog>(w, "limitsDialog")->findChild<QPushButton*>("okButton")->click();
        });
        action(w, "limitsAction")->trigger();
        QCOMPARE(f.station->limits().contactMinMs, 80);
        QCOMPARE(part<LimitsDialog>(w, "limitsDialog")->windowTitle(),
                 QStringLiteral("Triggerflanke"));
        f.finish();
        QCOMPARE(f.stored("PSZmin"), QStringLiteral("80"));
        f.start();
        QCOMPARE(f.station->limits().contactMinMs, 80);
        QVERIFY(f.station->limits().triggerEdge1 && f.station->limits().triggerEdge2);
        QVERIFY(!f.station->limits().abortOnViolation);
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
        MainWindow& w = f.start();
        QVERIFY(f.onServer() || QFile::exists(f.dataDirectory() + "qrv.sqlite"));
        QVERIFY(f.station->store().isOpen());
        QCOMPARE(athleteGrid(w)->model()->rowCount(), 0);
        QVERIFY(!startButton(w)->isEnabled()); // no athlete yet
        QVERIFY(f.messages.boxes.isEmpty());
        f.finish();
    }

    void aMissingTableIsReportedAtStart() {
        MainWindowFixture f;
        {
            Database db(f.location());
            QSqlQuery q(db.connection());
            QVERIFY(q.exec("DROP TABLE units"));
        }
        MainWindow& w = f.start();
        if (f.onServer()) {
            // The server's tables are set up at every start; a missing one is made anew.
            QVERIFY(f.messages.boxes.isEmpty());
            QVERIFY(f.station->store().isOpen());
            return;
        }
        QCOMPARE(f.messages.boxes.size(), 1);
        QCOMPARE(f.messages.boxes[0].title, QStringLiteral("Kalvero"));
        QCOMPARE(f.messages.boxes[0].icon, BoxIcon::Error);
        QVERIFY2(f.messages.boxes[0].text.startsWith("no such table: units"),
                 qPrintable(f.messages.boxes[0].text));
        QVERIFY(f.messages.boxes[0].text.endsWith('.'));
        QVERIFY(!f.station->store().isOpen());
        QVERIFY(w.isVisible()); // the program keeps running
        f.finish();
    }

    // A database that cannot be brought to the program's version is used as it is; the user
    // is told once what it lacks, and the window offers nothing that would not be stored.
    void aFailedUpgradeIsReportedAndTheStationWorksOn_data() {
        QTest::addColumn<int>("version"); // the version whose step fails
        QTest::addColumn<QString>("inTheWay");
        QTest::addColumn<QString>("lacks");
        QTest::newRow("tests") << 1 << "units_test"
                               << "Test und Fallhöhe der Messungen werden nicht gespeichert. "
                                  "Sprünge können nicht ausgeschlossen werden.";
        QTest::newRow("exclusions") << 2 << "mr_ausschluss"
                                    << "Sprünge können nicht ausgeschlossen werden. Es gibt "
                                       "keine Gruppen.";
        QTest::newRow("protocols") << 4 << "units_protokoll"
                                   << "Die Protokolle 10/5 und Fallhöhen-Profil werden nicht "
                                      "angeboten, weil sie nicht gespeichert werden können.";
    }
    void aFailedUpgradeIsReportedAndTheStationWorksOn() {
        QFETCH(int, version);
        QFETCH(QString, inTheWay);
        QFETCH(QString, lacks);
        MainWindowFixture f;
        {
            Database db(f.location());
            QSqlQuery q(db.connection());
            QVERIFY(q.exec(
                QStringLiteral("DELETE FROM schema_version WHERE Version >= %1").arg(version)));
            QVERIFY(q.exec("DROP TABLE " + inTheWay));
            // A table of the same name, made by hand, stands in the way.
            QVERIFY(q.exec("CREATE TABLE " + inTheWay + " (Notiz VARCHAR(10))"));
            QVERIFY(
                q.exec("INSERT INTO sportler (ID, Name, Vorname) VALUES (12, 'Meier', 'Anna')"));
            QVERIFY(q.exec("INSERT INTO units (Ref_ID, Datum, Nummer, FZ) VALUES "
                           "(12, '2026-01-01T10:00:00', 1, 2)"));
            QVERIFY(q.exec("INSERT INTO mr VALUES (12001, 200, 500, 1.25, 1), "
                           "(12001, 210, 490, 1.14, 2)"));
        }
        f.store("Betriebsart", "2");
        MainWindow& w = f.start();
        QCOMPARE(f.messages.boxes.size(), 1);
        const QString text = f.messages.boxes[0].text;
        QVERIFY2(
            text.startsWith(QStringLiteral("Die Datenbank konnte nicht auf Version %1 gebracht "
                                           "werden; sie bleibt auf Version %2. ")
                                .arg(version)
                                .arg(version - 1) +
                            lacks),
            qPrintable(text));
        QVERIFY(!f.messages.boxes[0].detail.isEmpty());
        DataStore& store = f.station->store();
        QVERIFY(store.isOpen());
        for (const schema::Feature feature : schema::features())
            QCOMPARE(store.has(feature), schema::sinceVersion(feature) < version);
        QCOMPARE(athleteGrid(w)->model()->rowCount(), 1);
        // "Protokoll:" offers the protocols only where they are stored, the jump grid the
        // exclusion of a jump only where it is kept.
        auto* protocols = part<QComboBox>(w, "protocolChoice");
        QCOMPARE(protocols->count(), store.has(schema::Feature::Protocols) ? 3 : 1);
        QCOMPARE(protocols->currentText(), QStringLiteral("keines"));
        jumpGrid(w)->setCurrentIndex(jumpGrid(w)->model()->index(0, 0));
        QCOMPARE(jumpGrid(w)->model()->rowCount(), 2);
        auto* exclude = part<QAction>(w, "excludeJumpAction");
        QCOMPARE(exclude->isVisible(), store.has(schema::Feature::Exclusions));
        QCOMPARE(exclude->isEnabled(), store.has(schema::Feature::Exclusions));
        f.finish();
    }

    void aDamagedDatabaseIsReportedAndNothingCrashes() {
        MainWindowFixture f;
        if (f.onServer())
            QSKIP("a damaged database file");
        QVERIFY(QDir().mkpath(f.dataDirectory()));
        {
            QFile file(f.dataDirectory() + "qrv.sqlite");
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(4096, '\x5a'));
        }
        MainWindow& w = f.start();
        QCOMPARE(f.messages.boxes.size(), 1);
        QVERIFY2(f.messages.boxes[0].text.startsWith(
                     QStringLiteral("Die Datenbank \"%1\" ist beschädigt und wird nur noch "
                                    "gelesen")
                         .arg(QDir::toNativeSeparators(f.dataDirectory() + "qrv.sqlite"))),
                 qPrintable(f.messages.boxes[0].text));
        QVERIFY2(f.messages.boxes[0].detail.contains("not a database"),
                 qPrintable(f.messages.boxes[0].detail));
        QVERIFY(w.isVisible());
        // Every action that needs the tables says so instead of failing silently or crashing.
        f.messages.clear();
        for (QAction* a :
             {action(w, "showAllAction"), action(w, "newAthleteAction"),
              action(w, "changeAthleteAction"), action(w, "deleteAthleteAction"),
              action(w, "exportOneAction"), action(w, "exportAllAction"), action(w, "startAction")})
            a->trigger();
        QVERIFY(!f.station->session().running());
        for (const MessageBox& box : f.messages.boxes)
            QCOMPARE(box.title, QStringLiteral("Kalvero"));
        QVERIFY(!f.messages.texts().isEmpty());
        for (const QString& text : f.messages.texts())
            QVERIFY2(text.contains("beschädigt"), qPrintable(text));
        // The file is left as it was for the user to recover.
        QFile file(f.dataDirectory() + "qrv.sqlite");
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray(4096, '\x5a'));
        f.finish();
    }

    void athletesShowInTheGrid() {
        MainWindowFixture f;
        {
            Database db(f.location());
            QSqlQuery q(db.connection());
            QVERIFY(q.exec("INSERT INTO sportler (Name, Vorname, Geb, Geschl, Bemerkung1) "
                           "VALUES ('Meier', 'Anna', '1990-02-01', 1, 'Sprint')"));
        }
        texts::setLocale(QLocale(QLocale::German, QLocale::Germany));
        MainWindow& w = f.start();
        QCOMPARE(athleteGrid(w)->model()->rowCount(), 1);
        const auto cell = [&](int c) {
            return athleteGrid(w)->model()->index(0, c).data().toString();
        };
        QCOMPARE(cell(0), QStringLiteral("1"));
        QCOMPARE(cell(1), QStringLiteral("Anna"));
        QCOMPARE(cell(2), QStringLiteral("Meier"));
        QCOMPARE(cell(3), QStringLiteral("01.02.1990"));
        QCOMPARE(cell(4), QStringLiteral("Sprint"));
        QVERIFY(startButton(w)->isEnabled());
        f.finish();
    }

    void pickingAnAthleteShowsHisHistory() {
        MainWindowFixture f;
        {
            Database db(f.location());
            QSqlQuery q(db.connection());
            QVERIFY(q.exec("INSERT INTO sportler (Name, Vorname) VALUES ('Meier', 'Anna')"));
            QVERIFY(q.exec("INSERT INTO sportler (Name, Vorname) VALUES ('Schulz', 'Jonas')"));
            QVERIFY(q.exec("INSERT INTO units (Ref_ID, Datum, Nummer, FZ) VALUES (2, "
                           "'2026-03-01T09:00:00', 1, 1)"));
            QVERIFY(q.exec("INSERT INTO units (Ref_ID, Datum, Nummer, FZ) VALUES (2, "
                           "'2026-03-02T09:00:00', 2, 1)"));
            QVERIFY(q.exec("INSERT INTO mr VALUES (2002, 180, 400, 0.89, 1)"));
        }
        MainWindow& w = f.start();
        QCOMPARE(historyList(w)->topLevelItemCount(), 0);
        const QRect row = athleteGrid(w)->visualRect(athleteGrid(w)->model()->index(1, 1));
        QTest::mouseClick(athleteGrid(w)->viewport(), Qt::LeftButton, {}, row.center());
        QCOMPARE(athleteGrid(w)->model()->index(selectedAthleteRow(w), 1).data().toString(),
                 QStringLiteral("Jonas"));
        QCOMPARE(historyList(w)->topLevelItemCount(), 2);
        // Newest first; a missing jump row shows zeros.
        QCOMPARE(historyList(w)->topLevelItem(0)->text(3), QStringLiteral("180"));
        QCOMPARE(historyList(w)->topLevelItem(1)->text(3), QStringLiteral("0"));
        QVERIFY(historyList(w)->topLevelItem(0)->isSelected());
        // Back to the first athlete: the list follows.
        selectAthleteRow(w, 0);
        QCOMPARE(historyList(w)->topLevelItemCount(), 0);
        QCOMPARE(athleteGrid(w)->selectionModel()->currentIndex().row(), 0);
        f.finish();
    }

    void resizingStretchesTheDataPanel() {
        MainWindowFixture f;
        MainWindow& w = f.start();
        const QRect data = dataGroup(w)->geometry();
        const QRect athletes = athleteGrid(w)->geometry();
        const QRect history = historyList(w)->geometry();
        const QRect results = resultPanel(w)->geometry();
        w.resize(w.width() + 100, w.height() + 50);
        QCoreApplication::processEvents();
        // The lists take the room; the result panel only grows wider.
        QCOMPARE(dataGroup(w)->width(), data.width() + 100);
        QCOMPARE(dataGroup(w)->height(), data.height() + 50);
        QCOMPARE(resultPanel(w)->height(), results.height());
        QCOMPARE(athleteGrid(w)->width(), athletes.width() + 100);
        QCOMPARE(athleteGrid(w)->height() + historyList(w)->height(),
                 athletes.height() + history.height() + 50);
        // The start button keeps a sensible width.
        QVERIFY(startButton(w)->width() <= 320);
        f.finish();
    }

    void infoShowsTheVersionOfTheProgramFile() {
        MainWindowFixture f;
        MainWindow& w = f.start();
        QCOMPARE(action(w, "infoAction")->text(), QStringLiteral("&Info"));
        action(w, "infoAction")->trigger();
        QCOMPARE(f.messages.boxes.size(), 1);
        const MessageBox& box = f.messages.boxes.first();
        QCOMPARE(box.title, QStringLiteral("Kalvero"));
        QCOMPARE(box.icon, BoxIcon::None);
        QCOMPARE(box.text, QStringLiteral("Version:  2. 4. 0.13"));
        QCOMPARE(box.buttons, QStringList{QStringLiteral("OK")});
    }

    void deleteKeyAsksNothingWhenThereIsNothing() {
        MainWindowFixture f;
        MainWindow& w = f.start();
        w.activateWindow();
        athleteGrid(w)->setFocus();
        w.handleKey(Qt::Key_Delete);
        historyList(w)->setFocus();
        w.handleKey(Qt::Key_Delete);
        QVERIFY(f.messages.boxes.isEmpty());
        f.finish();
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
