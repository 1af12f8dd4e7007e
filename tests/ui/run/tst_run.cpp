#include "core/base/Texts.h"
#include "core/store/Database.h"
#include "support/AthleteWindow.h"
#include "support/MainWindowFixture.h"
#include "support/WindowParts.h"
#include "ui/common/WriteCheck.h"
#include "ui/history/JumpTableModel.h"
#include "ui/run/AthleteDisplay.h"
#include "ui/run/LiveChart.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChartView>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QSqlQuery>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

// How the main window shows a measurement run; what a run decodes and stores is the
// session's own test.
class TestRun : public QObject {
    Q_OBJECT

    // An athlete with ID 12 whose last measurement has number `lastMeasurementNumber` (none for 0).
    static void seedAthlete(MainWindowFixture& f, int lastMeasurementNumber = 0) {
        Database db(f.location());
        QSqlQuery q(db.connection());
        QVERIFY(q.exec("INSERT INTO sportler (ID, Name, Vorname) VALUES (12, 'Meier', 'Anna')"));
        for (int n = 1; n <= lastMeasurementNumber; ++n)
            QVERIFY(q.exec(QStringLiteral("INSERT INTO units (Ref_ID, Datum, Nummer, FZ) VALUES "
                                          "(12, '2026-01-0%1T10:00:00', %1, 1)")
                               .arg(n)));
    }

    static int count(MainWindowFixture& f, const QString& tableAndWhere) {
        QSqlQuery q(StoreInternals::database(f.station->store()).connection());
        q.exec(QStringLiteral("SELECT COUNT(*) FROM ") + tableAndWhere);
        return q.next() ? q.value(0).toInt() : -1;
    }

    // Polls as the 100 ms timer would until the run ends (or a limit of polls).
    static void pollUntilIdle(MainWindowFixture& f, int limit = 200) {
        for (int i = 0; i < limit && f.station->session().running(); ++i) {
            f.clock.advance(100);
            f.station->session().poll();
        }
    }

    static QStringList entry(QTreeWidgetItem* item) {
        QStringList out;
        for (int c = 0; c < 8; ++c)
            out << item->text(c);
        return out;
    }

    static bool idle(MainWindowFixture& f, MainWindow& w) {
        return startButton(w)->text() == QStringLiteral("Messung starten") &&
               startButton(w)->palette().color(QPalette::Active, QPalette::ButtonText) ==
                   QColor(0, 128, 0) &&
               startButton(w)->isEnabled() && action(w, "startAction")->isEnabled() &&
               dataGroup(w)->isEnabled() && historyList(w)->isEnabled() &&
               !f.station->session().pollTimer().isActive();
    }

private slots:
    void init() { texts::setLocale(QLocale(QLocale::German, QLocale::Germany)); }

    // While a run goes on the data panel is locked and the button stops; afterwards the
    // result stays in the fields and the new measurement is the selected history entry.
    void aSingleJumpInTheWindow() {
        MainWindowFixture f;
        seedAthlete(f, 4);
        f.playScript("500: 0 200 1 244\n");
        MainWindow& w = f.start();
        resultField(w, "heightField")->setText("12,00");
        w.toggleRun();
        QVERIFY(f.station->session().running());
        QCOMPARE(startButton(w)->text(), QStringLiteral("Messung abbrechen"));
        QCOMPARE(startButton(w)->palette().color(QPalette::Active, QPalette::ButtonText),
                 QColor(255, 0, 0));
        QVERIFY(!dataGroup(w)->isEnabled() && !historyList(w)->isEnabled());
        QVERIFY(f.station->session().pollTimer().isActive());
        // The start empties the height with the other three: nothing of the last jump stays.
        QCOMPARE(resultField(w, "heightField")->text(), QString());
        pollUntilIdle(f);

        QVERIFY(f.messages.boxes.isEmpty());
        QVERIFY(idle(f, w));
        QCOMPARE(QStringList({resultField(w, "contactTimeField")->text(),
                              resultField(w, "flightTimeField")->text(),
                              resultField(w, "efficiencyField")->text(),
                              resultField(w, "heightField")->text()}),
                 (QStringList{"200", "500", "1,25", "30,66"}));
        QCOMPARE(historyList(w)->topLevelItemCount(), 5);
        QTreeWidgetItem* newest = historyList(w)->topLevelItem(0);
        QCOMPARE(entry(newest).mid(3), (QStringList{"200", "500", "1,25", "30,66", "5"}));
        QCOMPARE(newest->text(0), QStringLiteral("5"));
        QVERIFY(newest->isSelected());
        f.finish();
    }

    // A series shows its jumps beside the history list, in jump order, while it runs and
    // after it ended.
    void aSeriesInTheWindow() {
        MainWindowFixture f;
        seedAthlete(f, 1);
        {
            Database db(f.location());
            QSqlQuery q(db.connection());
            QVERIFY(q.exec("UPDATE units SET FZ = 2"));
            QVERIFY(q.exec("INSERT INTO mr VALUES (12001, 200, 500, 1.25, 1), "
                           "(12001, 210, 510, 1.24, 2)"));
        }
        f.store("Betriebsart", "2");
        f.playScript("300: 0 200 1 244\n300: 0 150 2 88\n300: 254 1 200\n300: 253 0 180\n");
        MainWindow& w = f.start();
        QVERIFY(jumpGrid(w)->isVisible());
        QCOMPARE(jumpGrid(w)->model()->rowCount(), 2);
        w.toggleRun();
        QCOMPARE(jumpGrid(w)->model()->rowCount(), 0); // a start empties the grid
        for (int i = 0; i < 8; ++i) {
            f.clock.advance(100);
            f.station->session().poll();
        }
        QCOMPARE(jumpGrid(w)->model()->rowCount(), 2);
        QCOMPARE(jumpGrid(w)->model()->index(1, 0).data().toString(), QStringLiteral("2"));
        // The running measurement is the chosen entry, and the panel counts its jumps.
        QCOMPARE(historyList(w)->topLevelItem(0)->text(7), QStringLiteral("2"));
        QVERIFY(historyList(w)->topLevelItem(0)->isSelected());
        QCOMPARE(label(w, "runStatusLabel")->text(), QStringLiteral("Meier, Anna – Sprung 2"));
        pollUntilIdle(f);
        QVERIFY(f.messages.boxes.isEmpty());
        QCOMPARE(entry(historyList(w)->topLevelItem(0)).mid(3),
                 (QStringList{"...", "...", "...", "...", "2"}));
        QVERIFY(jumpGrid(w)->isVisible());
        QCOMPARE(jumpGrid(w)->model()->rowCount(), 4);
        // The closing contact is shown as such, without flight time, height or efficiency.
        QCOMPARE(jumpGrid(w)->model()->index(3, 6).data().toString(), QStringLiteral("Abschluss"));
        QCOMPARE(jumpGrid(w)->model()->index(3, 6).data(Qt::ToolTipRole).toString(),
                 QStringLiteral("Abschlusskontakt"));
        for (const int column : {0, 2, 3, 4, 5})
            QCOMPARE(jumpGrid(w)->model()->index(3, column).data().toString(), QString());
        // Each jump's RSI, and the series' best height and RSI in its entry (150/600 ms).
        QCOMPARE(jumpGrid(w)->model()->index(0, 5).data().toString(), QStringLiteral("1,53"));
        QCOMPARE(QStringList({historyList(w)->topLevelItem(0)->text(10),
                              historyList(w)->topLevelItem(0)->text(11)}),
                 (QStringList{"44,15", "2,94"}));
        f.finish();
    }

    // A jump that the limits keep from the store is told until the next jump.
    void aRejectedJumpIsTold() {
        MainWindowFixture f;
        seedAthlete(f);
        f.store("Betriebsart", "2");
        f.playScript("300: 0 50 1 244\n600: 0 200 1 244\n");
        MainWindow& w = f.start();
        w.toggleRun();
        QCOMPARE(label(w, "runStatusLabel")->text(), QStringLiteral("Meier, Anna"));
        pollUntilIdle(f, 5);
        QCOMPARE(label(w, "runStatusLabel")->text(),
                 QStringLiteral("außerhalb der Grenzen, nicht gespeichert"));
        QCOMPARE(count(f, "units"), 0);
        pollUntilIdle(f, 6);
        QCOMPARE(count(f, "mr"), 1);
        QCOMPARE(label(w, "runStatusLabel")->text(), QStringLiteral("Meier, Anna – Sprung 1"));
        QVERIFY(f.messages.boxes.isEmpty());
        w.toggleRun();
        f.finish();
    }

    // A jump the limits kept from the store stands in the chart between the stored jumps
    // without a number: the bars marked as the best five carry the numbers of the result line
    // and the grid.
    void aRejectedJumpTakesNoNumber() {
        MainWindowFixture f;
        seedAthlete(f);
        QByteArray script;
        for (const int contact : {200, 150, 180, 50, 160, 210, 170, 220, 155, 230, 240, 100})
            script += QByteArray("300: 0 ") + QByteArray::number(contact) + " 1 244\n";
        f.playScript(script);
        MainWindow& w = f.start();
        part<QComboBox>(w, "protocolChoice")->setCurrentText("10/5");
        w.toggleRun();
        pollUntilIdle(f);
        QVERIFY(label(w, "protocolResultLabel")->text().endsWith("Sprünge 2, 3, 4, 6, 8"));
        auto* view = part<QChartView>(w, "liveChartView");
        auto* axis = qobject_cast<QBarCategoryAxis*>(view->chart()->axes(Qt::Horizontal).value(0));
        QVERIFY(axis);
        QStringList labels = axis->categories();
        for (QString& text : labels)
            text.remove(QChar(0x200B));
        QCOMPARE(labels.mid(0, 5), (QStringList{"1", "2", "3", "×", "4"}));
        QStringList marked;
        for (const int place : part<LiveChart>(w, "liveChart")->markedPlaces())
            marked << labels.value(place);
        QCOMPARE(marked, (QStringList{"2", "3", "4", "6", "8"}));
        f.finish();
    }

    // Whatever ends a run, the window is idle again and shows what the run said, in order.
    void endsOfARun_data() {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<bool>("refuseJumps");
        QTest::addColumn<QStringList>("boxes"); // title: text
        QTest::newRow("unit silent after 251") << QByteArray("start-answer: none\n") << false
                                               << QStringList{"Fehler: Kommunikationsfehler"};
        QTest::newRow("byte missing in a result")
            << QByteArray("300: 0 200 1\n") << false << QStringList{"Fehler: Kommunikationsfehler"};
        QTest::newRow("recording refused: the general error box")
            << QByteArray("300: 0 90 1 244\n") << true
            << QStringList{"Kalvero: gesperrt Unable to fetch row."};
        QTest::newRow("no device: nothing starts")
            << QByteArray("devices: 0\n") << false
            << QStringList{"Kalvero: Kommunikationsfehler! Kein Gerät erkannt."};
    }
    void endsOfARun() {
        QFETCH(QByteArray, script);
        QFETCH(bool, refuseJumps);
        QFETCH(QStringList, boxes);
        MainWindowFixture f;
        seedAthlete(f);
        f.store("Betriebsart", "2");
        f.playScript(script);
        MainWindow& w = f.start();
        if (refuseJumps)
            QVERIFY(
                TestStore::refuse(StoreInternals::database(f.station->store()), "INSERT", "mr"));
        // Polls come from the session's timer, as in the program; the clock moves on quickly.
        f.clock.setStep(100);
        w.toggleRun();
        QTRY_VERIFY_WITH_TIMEOUT(!f.station->session().running(), 20000);
        QStringList shown;
        for (const MessageBox& box : f.messages.boxes)
            shown << box.title + ": " + box.text;
        if (f.onServer()) // the server's words for the refusal
            boxes.replaceInStrings("gesperrt Unable to fetch row.",
                                   "gesperrt. Der Sprung 1 wurde nicht gespeichert.");
        QCOMPARE(shown, boxes);
        QVERIFY(idle(f, w));
        QCOMPARE(count(f, "mr"), 0);
        f.finish();
    }

    // The server goes away during a series: the run goes on into the station's journal,
    // without a box; the window says where the jumps are, and the status bar how many
    // measurements are not yet on the server. Once the server is back, the next check brings
    // them there, and the status bar says so.
    void aServerThatGoesAwayDuringASeries() {
        MainWindowFixture f;
        if (!f.onServer())
            QSKIP("needs the private server");
        seedAthlete(f);
        f.store("Betriebsart", "2");
        // The second jump waits for the virtual clock to be put forward once the server is
        // away, however often the window reads the clock meanwhile.
        f.playScript("300: 0 200 1 244\n3600000: 0 210 1 250\n300: 0 220 1 255\n");
        MainWindow& w = f.start();
        auto* status = w.findChild<QLabel*>("storeStatus");
        QVERIFY(status);
        QCOMPARE(status->text(), QStringLiteral("Alle Messungen sind auf dem Server."));
        f.clock.setStep(100);
        w.toggleRun();
        QTRY_COMPARE_WITH_TIMEOUT(jumpGrid(w)->model()->rowCount(), 1, 20000);
        const QString database = f.testStore.serverDatabase;
        const auto allow = [&](bool allowed) {
            f.testStore.maintenance(QStringLiteral("ALTER DATABASE %1 ALLOW_CONNECTIONS %2")
                                        .arg(database, allowed ? "true" : "false"));
        };
        allow(false);
        f.testStore.maintenance(QStringLiteral("SELECT pg_terminate_backend(pid) FROM "
                                               "pg_stat_activity WHERE datname = '%1'")
                                    .arg(database));
        f.clock.advance(3600000);
        QTRY_COMPARE_WITH_TIMEOUT(f.station->session().state().jumpCount, 3, 20000);
        QVERIFY(f.station->session().running());
        QVERIFY(f.messages.boxes.isEmpty());
        w.toggleRun();
        QVERIFY(idle(f, w));
        QTRY_COMPARE_WITH_TIMEOUT(status->text(),
                                  QStringLiteral("Server nicht erreichbar – Sprünge werden auf "
                                                 "diesem Rechner zwischengespeichert. Messungen "
                                                 "im Zwischenspeicher: 1"),
                                  5000);
        // Nothing pretends the jumps are on the server.
        QCOMPARE(f.station->store().serverAway(), true);
        allow(true);
        QTRY_COMPARE_WITH_TIMEOUT(status->text(),
                                  QStringLiteral("Alle Messungen sind auf dem Server."), 10000);
        QVERIFY(f.messages.boxes.isEmpty());
        QCOMPARE(f.station->store().measurements().ofAthlete(12).constFirst().jumpCount, 3);
        f.finish();
    }

    // While a run goes on, the actions that change athletes or measurements are disabled and
    // their short-cuts do nothing; whatever the grid selects, the run records for the athlete
    // and measurement it started with.
    void nothingChangesUnderARun() {
        MainWindowFixture f;
        seedAthlete(f);
        {
            Database db(f.location());
            QSqlQuery q(db.connection());
            QVERIFY(q.exec("INSERT INTO sportler (ID, Name, Vorname) VALUES (13, 'Zorn', 'Zora')"));
        }
        f.store("Betriebsart", "2");
        f.playScript("300: 0 200 1 244\n300: 0 210 1 250\n");
        MainWindow& w = f.start();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.toggleRun();
        for (int i = 0; i < 4; ++i) {
            f.clock.advance(100);
            f.station->session().poll();
        }
        QCOMPARE(count(f, "mr"), 1);
        for (QAction* a : {action(w, "newAthleteAction"), action(w, "changeAthleteAction"),
                           action(w, "deleteAthleteAction"), action(w, "searchAction"),
                           action(w, "showAllAction"), action(w, "exportOneAction"),
                           action(w, "exportAllAction"), action(w, "refreshAction"),
                           action(w, "takeOverAction")})
            QVERIFY2(!a->isEnabled(), qPrintable(a->objectName()));
        bool opened = false;
        QTimer::singleShot(0, &w, [&] {
            for (QWidget* dialog : QApplication::topLevelWidgets())
                if (dialog != &w && dialog->isVisible()) {
                    opened = true;
                    dialog->close();
                }
        });
        for (const char* keys : {"Ctrl+N", "Ctrl+A", "Ctrl+L", "Ctrl+F", "Ctrl+Z", "Ctrl+E"})
            QTest::keySequence(&w, QKeySequence(QLatin1String(keys)));
        QCoreApplication::processEvents();
        QVERIFY(!opened);
        QVERIFY(f.messages.boxes.isEmpty() && f.messages.saveRequests.isEmpty());

        selectAthleteRow(w, 1); // another athlete in the grid
        for (int i = 0; i < 4; ++i) {
            f.clock.advance(100);
            f.station->session().poll();
        }
        w.toggleRun();
        QVERIFY(f.messages.boxes.isEmpty());
        QCOMPARE(count(f, "units WHERE Ref_ID = 12 AND FZ = 2"), 1);
        QCOMPARE(count(f, "units WHERE Ref_ID = 13"), 0);
        QCOMPARE(count(f, "mr WHERE Serie = 12001"), 2);
        QVERIFY(action(w, "newAthleteAction")->isEnabled() &&
                action(w, "exportAllAction")->isEnabled());
        f.finish();
    }

    // A running measurement can always be stopped; a start needs the write check.
    void stoppingDoesNotDependOnTheWriteCheck() {
        MainWindowFixture f;
        seedAthlete(f);
        f.store("Betriebsart", "2");
        f.playScript("300: 0 200 1 244\n");
        MainWindow& w = f.start();
        w.toggleRun();
        pollUntilIdle(f, 5);
        QVERIFY(f.station->session().running());
        // From now on nothing can be written.
        if (f.onServer())
            QVERIFY(StoreInternals::database(f.station->store())
                        .read("SET default_transaction_read_only = on")
                        .isActive());
        else
            QVERIFY(
                TestStore::refuse(StoreInternals::database(f.station->store()), "INSERT", "units"));
        QVERIFY(!checkWritable(f.station->store(), f.messages));
        f.messages.clear();
        w.toggleRun();
        QVERIFY(!f.station->session().running());
        QVERIFY(f.messages.boxes.isEmpty());
        QCOMPARE(count(f, "units WHERE FZ = 1"), 1);
        QVERIFY(historyList(w)->topLevelItem(0)->isSelected());
        w.toggleRun();
        QVERIFY(!f.station->session().running());
        // The server's refusal is named; a refusal of unknown cause is not guessed at.
        const QString refused = QStringLiteral(
            "Messung nicht möglich , da nicht auf Datenbanken geschrieben werden kann.");
        QCOMPARE(f.messages.texts(),
                 QStringList{f.onServer()
                                 ? refused + QStringLiteral("\n\nAuf dem Datenbankserver %1 darf "
                                                            "diese Station nur lesen.")
                                                 .arg(f.testStore.location.serverName())
                                 : refused});
        f.finish();
    }

    void closingTheWindowEndsTheRun() {
        MainWindowFixture f;
        seedAthlete(f);
        f.store("Betriebsart", "2");
        f.playScript("300: 0 200 1 244\n300: 0 210 1 250\n");
        MainWindow& w = f.start();
        w.toggleRun();
        pollUntilIdle(f, 10);
        QVERIFY(f.station->session().running());
        SimulatedDevice& unit = f.timingUnit();
        f.finish();
        QVERIFY(unit.sent.endsWith('\xfa'));
        QVERIFY(!unit.isOpen);
        Database db(f.location());
        QSqlQuery q(db.connection());
        QVERIFY(q.exec("SELECT Nummer, FZ FROM units") && q.next());
        QCOMPARE(q.value(1).toInt(), 2);
    }

    void keysAndButtonToggleTheRun() {
        MainWindowFixture f;
        seedAthlete(f);
        f.store("Betriebsart", "2");
        MainWindow& w = f.start();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));

        athleteGrid(w)->setFocus();
        QTest::keyClick(athleteGrid(w), Qt::Key_Return);
        QVERIFY(f.station->session().running());
        resultField(w, "heightField")->setFocus();
        QTest::keyClick(resultField(w, "heightField"), Qt::Key_Enter);
        QVERIFY(!f.station->session().running());

        QTest::keyClick(&w, Qt::Key_F5);
        QVERIFY(f.station->session().running());
        // The hint tells what a click and F5 do now.
        QCOMPARE(startButton(w)->toolTip(), QStringLiteral("Messung abbrechen (F5)"));
        QCOMPARE(action(w, "startAction")->toolTip(), QStringLiteral("Messung abbrechen (F5)"));
        QTest::mouseClick(startButton(w), Qt::LeftButton);
        QVERIFY(!f.station->session().running());
        QCOMPARE(startButton(w)->toolTip(), QStringLiteral("Messung starten (F5)"));
        QCOMPARE(action(w, "startAction")->toolTip(), QStringLiteral("Messung starten (F5)"));
        QVERIFY(f.messages.boxes.isEmpty());
        f.finish();
    }

    // After a start by Enter in the athlete grid the data panel is locked; Enter and F5, as
    // the window system delivers them to wherever the focus went, end the series.
    void enterAndF5EndASeriesFromAnywhere_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Enter on the number block") << int(Qt::Key_Enter);
        QTest::newRow("F5") << int(Qt::Key_F5);
    }
    void enterAndF5EndASeriesFromAnywhere() {
        QFETCH(int, key);
        MainWindowFixture f;
        seedAthlete(f);
        f.store("Betriebsart", "2");
        MainWindow& w = f.start();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        athleteGrid(w)->setFocus();
        QTest::keyClick(w.windowHandle(), Qt::Key_Return);
        QVERIFY(f.station->session().running());
        QVERIFY(!dataGroup(w)->isEnabled());
        QTest::keyClick(w.windowHandle(), Qt::Key(key));
        QVERIFY(!f.station->session().running());
        QVERIFY(f.messages.boxes.isEmpty());
        f.finish();
    }

    // A screen reader reads what the labels of a run show (who jumps, the jump count, a
    // protocol's result and guide), not what they are; every choice is named by its label.
    void aScreenReaderReadsTheChangingTexts() {
        MainWindowFixture f;
        seedAthlete(f);
        f.store("Betriebsart", "2");
        f.playScript("300: 0 200 1 244\n300: 0 190 1 240\n");
        MainWindow& w = f.start();
        w.toggleRun();
        pollUntilIdle(f, 8);
        const auto spoken = [](QWidget* widget) {
            QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
            return face ? face->text(QAccessible::Name) : QStringLiteral("(none)");
        };
        QCOMPARE(spoken(label(w, "runStatusLabel")), QStringLiteral("Meier, Anna – Sprung 2"));
        for (const char* name : {"protocolResultLabel", "profilePositionLabel",
                                 "profileHeightResultLabel", "profileAdviceLabel"}) {
            label(w, name)->setText(QStringLiteral("Text von %1").arg(name));
            QCOMPARE(spoken(label(w, name)), QStringLiteral("Text von %1").arg(name));
        }
        const QList<QComboBox*> choices = w.findChildren<QComboBox*>();
        QVERIFY(choices.size() >= 5);
        for (QComboBox* choice : choices)
            QVERIFY2(!spoken(choice).isEmpty(), qPrintable(choice->objectName()));
        f.finish();
    }

    // Once another athlete is chosen the result panel shows nothing of the last one's run:
    // not his values, his line or his chart.
    void anotherAthleteLeavesNothingOfTheLastRun() {
        MainWindowFixture f;
        seedAthlete(f);
        {
            Database db(f.location());
            QSqlQuery q(db.connection());
            QVERIFY(
                q.exec("INSERT INTO sportler (ID, Name, Vorname) VALUES (13, 'Zander', 'Uwe')"));
        }
        f.store("Betriebsart", "2");
        f.playScript("300: 0 200 1 244\n300: 0 190 1 240\n300: 253 0 180\n");
        MainWindow& w = f.start();
        selectAthleteRow(w, 0);
        QCOMPARE(selectedAthleteId(w), 12);
        w.toggleRun();
        pollUntilIdle(f);
        QVERIFY(part<QWidget>(w, "liveChart")->isVisible());
        QVERIFY(!label(w, "runStatusLabel")->text().isEmpty());
        action(w, "nextAthleteAction")->trigger();
        QCOMPARE(selectedAthleteId(w), 13);
        QCOMPARE(label(w, "runStatusLabel")->text(), QString());
        for (const char* field : {"contactTimeField", "flightTimeField", "heightField"})
            QCOMPARE(resultField(w, field)->text(), QString());
        QVERIFY(!part<QWidget>(w, "liveChart")->isVisible());
        QVERIFY(part<LiveChart>(w, "liveChart")->places().isEmpty());
        f.finish();
    }

    // F11 opens the display for the athlete with the run the window shows; it follows the
    // next run jump by jump, counts a timed series down from its first contact, and shows
    // nobody once another athlete is chosen. F11 closes it again.
    void theDisplayForTheAthlete() {
        MainWindowFixture f;
        seedAthlete(f);
        {
            Database db(f.location());
            QSqlQuery q(db.connection());
            QVERIFY(
                q.exec("INSERT INTO sportler (ID, Name, Vorname) VALUES (13, 'Zander', 'Uwe')"));
        }
        f.store("Betriebsart", "2");
        f.playScript("300: 0 200 1 244\n300: 0 190 1 240\n300: 0 45 1 240\n300: 0 160 1 224\n");
        MainWindow& w = f.start();
        selectAthleteRow(w, 0);
        auto* end = part<QComboBox>(w, "endChoice");
        end->setCurrentIndex(end->findText("nach Sekunden"));
        part<QSpinBox>(w, "endLimit")->setValue(90);
        w.toggleRun();
        pollUntilIdle(f, 4); // the first jump
        action(w, "athleteDisplayAction")->trigger();
        auto* display = w.findChild<AthleteDisplay*>();
        QVERIFY(display && display->isVisible());
        QCOMPARE(display->nameText(), QStringLiteral("Meier, Anna"));
        QCOMPARE(display->valueText(), QStringLiteral("30,66")); // 200/500 ms
        // 90 s from the first contact, 200 ms before its result: a little over 89 s left.
        QCOMPARE(display->countdownText(), QStringLiteral("1:30"));
        pollUntilIdle(f, 6); // two more: the second lower, the third kept from the store
        QCOMPARE(display->valueText(), QStringLiteral("–"));
        QCOMPARE(display->bestText(), QStringLiteral("Bester: 30,66 cm"));
        QCOMPARE(display->board().series().size(), 3);
        w.toggleRun();
        action(w, "nextAthleteAction")->trigger();
        QCOMPARE(display->nameText(), QString());
        QCOMPARE(display->valueText(), QString());
        action(w, "athleteDisplayAction")->trigger();
        QVERIFY(!display->isVisible());
        f.finish();
    }

    // With nobody listed the button is off, but F5 and Enter say why nothing starts.
    void withoutAnAthleteNothingStarts() {
        MainWindowFixture f;
        f.playScript("100: 0 200 1 244\n");
        MainWindow& w = f.start();
        QVERIFY(!startButton(w)->isEnabled());
        QVERIFY(action(w, "startAction")->isEnabled());
        action(w, "startAction")->trigger(); // F5
        w.toggleRun();                       // as Enter calls it
        QVERIFY(!f.station->session().running());
        QVERIFY(f.timingUnit().sent.isEmpty());
        QCOMPARE(count(f, "units"), 0);
        QCOMPARE(f.messages.texts(),
                 (QStringList{"Kein Sportler ausgewählt.", "Kein Sportler ausgewählt."}));
        f.finish();
    }

    // Runs one after the other are numbered on; the list read anew from the tables shows
    // them all.
    void historyNumbersRunsNewestFirst() {
        MainWindowFixture f;
        seedAthlete(f);
        f.playScript("100: 0 200 1 244\n");
        MainWindow& w = f.start();
        for (int run = 0; run < 3; ++run) {
            w.toggleRun();
            pollUntilIdle(f);
            f.clock.advance(1000);
        }
        QCOMPARE(historyList(w)->topLevelItemCount(), 3);
        action(w, "showAllAction")->trigger();
        QStringList measurementNumbers;
        for (int i = 0; i < 3; ++i)
            measurementNumbers << historyList(w)->topLevelItem(i)->text(7);
        QCOMPARE(QSet<QString>(measurementNumbers.begin(), measurementNumbers.end()),
                 (QSet<QString>{"1", "2", "3"}));
        QCOMPARE(historyList(w)->topLevelItem(0)->text(3), QStringLiteral("200"));
        QCOMPARE(count(f, "units WHERE Ref_ID = 12 AND FZ = 1"), 3);
        f.finish();
    }

    // The test chosen in the result panel goes with the run's measurement into the history,
    // and the athlete's next measurement is offered the same; a drop height out of bounds
    // starts nothing and says why.
    void theTestOfARun() {
        MainWindowFixture f;
        seedAthlete(f, 1);
        f.playScript("500: 0 200 1 244\n");
        MainWindow& w = f.start();
        auto* test = part<QComboBox>(w, "testChoice");
        auto* dropHeight = part<QLineEdit>(w, "dropHeightField");
        // An athlete without a test of his own is offered Drop Jump without a height.
        QCOMPARE(test->currentText(), QStringLiteral("Drop Jump"));
        QVERIFY(dropHeight->text().isEmpty() && dropHeight->isEnabled());
        QCOMPARE(historyList(w)->topLevelItem(0)->text(8), QString());

        dropHeight->setText("200"); // typed past the field's own check
        action(w, "startAction")->trigger();
        QVERIFY(!f.station->session().running());
        QCOMPARE(f.messages.texts(),
                 QStringList{"Die Fallhöhe muss eine ganze Zahl von 0 bis 150 cm sein."});
        f.messages.boxes.clear();

        dropHeight->setText("45");
        w.toggleRun();
        QVERIFY(!test->isEnabled() && !dropHeight->isEnabled());
        pollUntilIdle(f);
        QVERIFY(test->isEnabled() && dropHeight->isEnabled());
        QTreeWidgetItem* newest = historyList(w)->topLevelItem(0);
        QCOMPARE(QStringList({newest->text(8), newest->text(9)}), (QStringList{"Drop Jump", "45"}));
        // The measurement stored before has none.
        QCOMPARE(QStringList({historyList(w)->topLevelItem(1)->text(8),
                              historyList(w)->topLevelItem(1)->text(9)}),
                 (QStringList{"", ""}));

        // A test without a drop height takes none; a refresh keeps what the user set.
        test->setCurrentText("Squat Jump");
        QVERIFY(!dropHeight->isEnabled() && dropHeight->text().isEmpty());
        action(w, "refreshAction")->trigger();
        QCOMPARE(test->currentText(), QStringLiteral("Squat Jump"));

        // Another athlete, whose last test was a profile's 60 cm, changes neither.
        test->setCurrentText("Drop Jump");
        dropHeight->setText("30");
        {
            Database db(f.location());
            QSqlQuery q(db.connection());
            QVERIFY(
                q.exec("INSERT INTO sportler (ID, Name, Vorname) VALUES (13, 'Zander', 'Jan')"));
            QVERIFY(q.exec("INSERT INTO sportler_test (Ref_ID, Test, Fallhoehe) VALUES "
                           "(13, 'Drop Jump', 60)"));
        }
        action(w, "refreshAction")->trigger();
        action(w, "nextAthleteAction")->trigger();
        QCOMPARE(selectedAthleteId(w), 13);
        QCOMPARE(test->currentText(), QStringLiteral("Drop Jump"));
        QCOMPARE(dropHeight->text(), QStringLiteral("30"));

        // A 10/5 starts from the floor: no drop height while it is chosen, the user's after.
        auto* protocol = part<QComboBox>(w, "protocolChoice");
        protocol->setCurrentIndex(protocol->findText("10/5"));
        QVERIFY(!dropHeight->isEnabled() && dropHeight->text().isEmpty());
        protocol->setCurrentIndex(protocol->findText("keines"));
        QCOMPARE(dropHeight->text(), QStringLiteral("30"));
        QVERIFY(f.messages.boxes.isEmpty());
        f.finish();
    }

    // A series deleted from the history leaves the result panel with it: its values, chart
    // and line go, and the jump grid shows none of its jumps.
    void aDeletedSeriesLeavesTheResultPanel() {
        MainWindowFixture f;
        seedAthlete(f);
        f.store("Betriebsart", "2");
        f.playScript("300: 0 200 1 244\n300: 0 210 1 250\n300: 253 0 180\n");
        MainWindow& w = f.start();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.toggleRun();
        pollUntilIdle(f);
        auto* chart = part<LiveChart>(w, "liveChart");
        const QStringList fields{"contactTimeField", "flightTimeField", "efficiencyField",
                                 "heightField"};
        QVERIFY(chart->isVisible());
        QVERIFY(!chart->places().isEmpty());
        QVERIFY(!resultField(w, "contactTimeField")->text().isEmpty());
        QVERIFY(jumpGrid(w)->model()->rowCount() > 0);
        historyList(w)->setFocus();
        QTest::keyClick(historyList(w), Qt::Key_Delete);
        QCOMPARE(count(f, "units"), 0);
        QVERIFY(!chart->isVisible());
        QVERIFY(chart->places().isEmpty());
        for (const QString& field : fields)
            QVERIFY2(resultField(w, field)->text().isEmpty(), qPrintable(field));
        QVERIFY(label(w, "runStatusLabel")->text().isEmpty());
        QCOMPARE(jumpGrid(w)->model()->rowCount(), 0);
        QCOMPARE(f.messages.texts().size(), 1);
        QVERIFY(f.messages.texts()[0].startsWith("Möchten Sie diese Messreihe wirklich löschen?"));
        f.finish();
    }

    // Beside the values a series grows its chart: a bar a jump, an empty place for one the
    // limits kept from the store and for the closing contact, the best bar marked; it stays
    // after the run and goes with the next single start.
    void theChartOfASeries() {
        MainWindowFixture f;
        seedAthlete(f);
        f.store("Betriebsart", "2");
        f.playScript("300: 0 200 1 244\n300: 0 45 1 244\n300: 0 150 2 88\n300: 253 0 180\n");
        MainWindow& w = f.start();
        auto* chart = part<QWidget>(w, "liveChart");
        QVERIFY(!chart->isVisible());
        // A series can be told when to end; a single measurement ends after its jump.
        auto* end = part<QComboBox>(w, "endChoice");
        QVERIFY(end->isEnabled());
        w.toggleRun();
        QVERIFY(chart->isVisible());
        pollUntilIdle(f);
        QVERIFY(!f.station->session().running());
        QVERIFY(chart->isVisible());
        const auto bars = [&w] {
            QBarSet* set = nullptr;
            for (QAbstractSeries* s : part<QChartView>(w, "liveChartView")->chart()->series())
                if (auto* series = qobject_cast<QBarSeries*>(s))
                    set = series->barSets().first();
            return set;
        };
        QVERIFY(bars());
        QCOMPARE(bars()->count(), 4);
        QCOMPARE(bars()->at(1), 0.0); // kept from the store
        QCOMPARE(bars()->at(3), 0.0); // the closing contact
        QStringList marked;
        for (int i = 0; i < bars()->count(); ++i)
            if (bars()->isBarSelected(i))
                marked << QString::number(i + 1);
        QCOMPARE(marked, QStringList{"3"});
        QCOMPARE(bars()->label(), QStringLiteral("Höhe (cm)"));

        // The bars show the RSI when the user says so.
        auto* choice = part<QComboBox>(w, "chartValueChoice");
        choice->setCurrentIndex(1);
        emit choice->activated(1);
        QCOMPARE(bars()->label(), QStringLiteral("RSI (m/s)"));
        QCOMPARE(bars()->count(), 4);

        action(w, "singleModeAction")->trigger();
        QVERIFY(!end->isEnabled());
        w.toggleRun();
        QVERIFY(!chart->isVisible());
        f.finish();
    }

    // A 10/5 runs as a series whatever the operating mode and ends after its ten recorded
    // jumps; the panel then shows its result, and its best five are marked in the jump grid
    // and in the chart.
    void aTenFiveRun() {
        MainWindowFixture f;
        seedAthlete(f);
        QByteArray script;
        for (const int contact : {200, 150, 180, 160, 210, 170, 220, 155, 230, 240, 100})
            script += QByteArray("300: 0 ") + QByteArray::number(contact) + " 1 244\n";
        f.playScript(script);
        MainWindow& w = f.start();
        part<QComboBox>(w, "protocolChoice")->setCurrentText("10/5");
        QCOMPARE(part<QComboBox>(w, "testChoice")->currentText(), QStringLiteral("Sprungserie"));
        w.toggleRun();
        pollUntilIdle(f);
        QVERIFY(f.messages.boxes.isEmpty());
        QCOMPARE(count(f, "mr"), 10);
        QCOMPARE(count(f, "units_protokoll WHERE Protokoll = '10/5'"), 1);
        QCOMPARE(label(w, "protocolResultLabel")->text(),
                 QStringLiteral("RSI (beste 5 von 10): 1,89 · Stützzeit 163 ms · Höhe 30,66 cm · "
                                "Sprünge 2, 3, 4, 6, 8"));
        QVERIFY(label(w, "protocolResultLabel")->isVisible());
        auto* jumps = static_cast<JumpTableModel*>(jumpGrid(w)->model());
        QCOMPARE(jumps->rowCount(), 10);
        QCOMPARE(jumps->markedJumps(), (QList<int>{2, 3, 4, 6, 8}));
        QCOMPARE(part<LiveChart>(w, "liveChart")->markedPlaces(), (QList<int>{1, 2, 3, 5, 7}));

        // An excluded jump counts in no result and leaves its place in the chart empty.
        QTableView* grid = jumpGrid(w);
        grid->setCurrentIndex(grid->model()->index(1, 0)); // jump 2
        athletewindow::answerReason(QStringLiteral("Doppelkontakt"));
        action(w, "excludeJumpAction")->trigger();
        QCOMPARE(label(w, "protocolResultLabel")->text(),
                 QStringLiteral("Kein Ergebnis: nur 9 von 10 Sprüngen gültig."));
        QVERIFY(jumps->markedJumps().isEmpty());
        QVERIFY(part<LiveChart>(w, "liveChart")->markedPlaces().isEmpty());
        QVERIFY(part<LiveChart>(w, "liveChart")->places()[1]->excluded);
        grid->setCurrentIndex(grid->model()->index(1, 0));
        action(w, "restoreJumpAction")->trigger();
        QCOMPARE(jumps->markedJumps(), (QList<int>{2, 3, 4, 6, 8}));
        QVERIFY(label(w, "protocolResultLabel")->text().startsWith("RSI (beste 5 von 10): 1,89"));
        f.finish();
    }

    // The profile guides its single drop jumps height by height, shows what a finished
    // height gave and the advice to end, never ends by itself, and shows its result when the
    // user ends it.
    void aDropHeightProfile_data() {
        QTest::addColumn<int>("contactMs");
        QTest::addColumn<QString>("finished20");
        QTest::addColumn<QString>("advice");
        QTest::newRow("short contacts")
            << 200 << "20 cm: bester RSI 1,53 · beste Höhe 30,66 cm · mittlere Stützzeit 200 ms"
            << QString();
        QTest::newRow("long contacts")
            << 260 << "20 cm: bester RSI 1,18 · beste Höhe 30,66 cm · mittlere Stützzeit 260 ms"
            << "Die mittlere Stützzeit liegt über 250 ms: das Profil kann enden.";
    }
    void aDropHeightProfile() {
        QFETCH(int, contactMs);
        QFETCH(QString, finished20);
        QFETCH(QString, advice);
        MainWindowFixture f;
        seedAthlete(f);
        f.store("Betriebsart", "2"); // the profile's trials are single jumps all the same
        f.playScript("500: " + QByteArray::number(contactMs / 256) + " " +
                     QByteArray::number(contactMs % 256) + " 1 244\n");
        MainWindow& w = f.start();
        part<QComboBox>(w, "protocolChoice")->setCurrentText("Fallhöhen-Profil");
        auto* heights = part<QLineEdit>(w, "profileHeightsField");
        QCOMPARE(heights->text(), QStringLiteral("20, 30, 40, 50, 60"));
        QCOMPARE(part<QSpinBox>(w, "trialsPerHeightField")->value(), 3);
        QLabel* position = label(w, "profilePositionLabel");
        QLabel* finished = label(w, "profileHeightResultLabel");
        QLabel* told = label(w, "profileAdviceLabel");
        QCOMPARE(position->text(), QStringLiteral("20 cm, Versuch 1 von 3"));

        heights->setText("20, 40, 30");
        // Heights that cannot be taken say why at once, and start nothing.
        QCOMPARE(told->text(),
                 QStringLiteral("Die Fallhöhen müssen ansteigen: auf 40 cm folgt 30 cm."));
        QVERIFY(told->isVisible() && position->text().isEmpty());
        action(w, "startAction")->trigger();
        QVERIFY(!f.station->session().running());
        QCOMPARE(f.messages.texts(),
                 QStringList{"Die Fallhöhen müssen ansteigen: auf 40 cm folgt 30 cm."});
        f.messages.boxes.clear();

        heights->setText("20, 30");
        part<QSpinBox>(w, "trialsPerHeightField")->setValue(2);
        {
            // Another athlete, who may not jump while the profile of the first goes on.
            Database db(f.location());
            QSqlQuery q(db.connection());
            QVERIFY(q.exec("INSERT INTO sportler (ID, Name, Vorname) VALUES (13, 'Zorn', 'Ben')"));
        }
        action(w, "refreshAction")->trigger();
        const QStringList expected{"20 cm, Versuch 2 von 2", "30 cm, Versuch 1 von 2",
                                   "30 cm, Versuch 2 von 2",
                                   "Alle Versuche gemessen: „Profil beenden“ zeigt das Ergebnis."};
        for (const QString& next : expected) {
            if (next == expected[1]) {
                selectAthleteRow(w, 1);
                action(w, "startAction")->trigger();
                QVERIFY(!f.station->session().running());
                QCOMPARE(f.messages.texts(),
                         QStringList{"Das Fallhöhen-Profil von Meier, Anna ist noch nicht beendet. "
                                     "Wählen Sie Meier, Anna für den nächsten Versuch, oder "
                                     "beenden Sie das Profil mit „Profil beenden“."});
                f.messages.boxes.clear();
                selectAthleteRow(w, 0);
            }
            w.toggleRun();
            QVERIFY(f.station->session().running());
            // Each trial counts its own jump, none yet; the heights are kept while the
            // profile goes on.
            QCOMPARE(label(w, "runStatusLabel")->text(), QStringLiteral("Meier, Anna"));
            QVERIFY(!heights->isEnabled());
            pollUntilIdle(f);
            QVERIFY2(f.messages.boxes.isEmpty(), qPrintable(f.messages.texts().join('\n')));
            QCOMPARE(position->text(), next);
            QVERIFY(!heights->isEnabled());
            if (next.startsWith("30 cm, Versuch 1")) {
                QCOMPARE(finished->text(), finished20);
                QCOMPARE(told->text(), advice);
            }
        }
        // Each trial is a single drop jump from its height, stored as one of the profile.
        QCOMPARE(count(f, "units WHERE FZ = 1"), 4);
        QCOMPARE(count(f, "units_test WHERE Test = 'Drop Jump' AND Fallhoehe = 30"), 2);
        QCOMPARE(count(f, "units_protokoll WHERE Protokoll = 'Profil' AND Profil_ID = "
                          "(SELECT MAX(ID) FROM profile)"),
                 4);
        // Nothing more to jump: the program says so and starts nothing.
        action(w, "startAction")->trigger();
        QVERIFY(!f.station->session().running());
        QCOMPARE(f.messages.texts(), QStringList{expected.last()});

        auto* end = part<QPushButton>(w, "endProfileButton");
        QVERIFY(end->isVisible());
        end->click();
        auto* result = qobject_cast<QDialog*>([] {
            for (QWidget* top : QApplication::topLevelWidgets())
                if (top->objectName() == "profileResultDialog" && top->isVisible())
                    return top;
            return static_cast<QWidget*>(nullptr);
        }());
        QVERIFY(result);
        QCOMPARE(part<QLabel>(*result, "optimalByRsiLabel")->text(),
                 QStringLiteral("Optimale Fallhöhe nach RSI: 20 cm"));
        QCOMPARE(part<QTableWidget>(*result, "profileTable")->rowCount(), 2);
        QVERIFY(heights->isEnabled() && !end->isVisible());
        QCOMPARE(position->text(), QStringLiteral("20 cm, Versuch 1 von 2"));
        result->close();
        f.finish();
    }
};

QTEST_MAIN(TestRun)
#include "tst_run.moc"
