#include "core/base/Errors.h"
#include "core/base/Texts.h"
#include "core/link/D2XXUnit.h"
#include "core/link/TimingLink.h"
#include "core/store/Database.h"
#include "core/store/SeriesKey.h"
#include "support/MainWindowFixture.h"

#include <QAction>
#include <QGroupBox>
#include <QLineEdit>
#include <QSqlQuery>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

namespace {

struct Jump {
    double serie, sz, fz, eff, anzahl;
};

// One stored jump row, compared as the table holds it.
bool operator==(const Jump& a, const Jump& b) {
    return a.serie == b.serie && a.sz == b.sz && a.fz == b.fz && a.eff == b.eff &&
           a.anzahl == b.anzahl;
}

char* toString(const Jump& j) {
    return qstrdup(QStringLiteral("(%1, %2, %3, %4, %5)")
                       .arg(j.serie)
                       .arg(j.sz)
                       .arg(j.fz)
                       .arg(j.eff)
                       .arg(j.anzahl)
                       .toUtf8()
                       .constData());
}

} // namespace

Q_DECLARE_METATYPE(Jump)

class TestRun : public QObject {
    Q_OBJECT

    // An athlete with ID 12 whose last measurement has number `lastNummer` (none for 0).
    static void seedAthlete(MainWindowFixture& f, int lastNummer = 0) {
        Database db(f.dataDirectory());
        QSqlQuery q(db.connection());
        QVERIFY(q.exec("INSERT INTO sportler (ID, Name, Vorname) VALUES (12, 'Meier', 'Anna')"));
        for (int n = 1; n <= lastNummer; ++n)
            QVERIFY(q.exec(QStringLiteral("INSERT INTO units (Ref_ID, Datum, Nummer, FZ) VALUES "
                                          "(12, '2026-01-0%1T10:00:00', %1, 1)")
                               .arg(n)));
    }

    static QList<Jump> jumps(MainWindowFixture& f) {
        Database db(f.dataDirectory());
        QSqlQuery q(db.connection());
        q.exec("SELECT Serie, SZ, FZ, Eff, Anzahl FROM mr ORDER BY rowid");
        QList<Jump> out;
        while (q.next())
            out << Jump{q.value(0).toDouble(), q.value(1).toDouble(), q.value(2).toDouble(),
                        q.value(3).toDouble(), q.value(4).toDouble()};
        return out;
    }

    // (Nummer, FZ, Ref_ID) of every measurement row.
    static QList<QList<qint64>> measurements(MainWindowFixture& f) {
        Database db(f.dataDirectory());
        QSqlQuery q(db.connection());
        q.exec("SELECT Nummer, FZ, Ref_ID FROM units ORDER BY ID");
        QList<QList<qint64>> out;
        while (q.next())
            out << QList<qint64>{q.value(0).toLongLong(), q.value(1).toLongLong(),
                                 q.value(2).toLongLong()};
        return out;
    }

    // Polls as the 100 ms timer would until the run ends (or a limit of polls).
    static void pollUntilIdle(MainWindowFixture& f, TForm1& w, int limit = 200) {
        for (int i = 0; i < limit && w.running(); ++i) {
            f.clock.advance(100);
            w.Timer1Timer();
        }
    }

    // Polls `count` times, 100 ms apart, whatever happens.
    static void poll(MainWindowFixture& f, TForm1& w, int count) {
        for (int i = 0; i < count; ++i) {
            f.clock.advance(100);
            w.Timer1Timer();
        }
    }

    // A series run of athlete 12 on `script`, started and polled `polls` times.
    static TForm1& runSeries(MainWindowFixture& f, const QByteArray& script, int polls) {
        seedAthlete(f);
        f.store("Betriebsart", "2");
        f.playScript(script);
        TForm1& w = f.start();
        w.Start1Execute();
        poll(f, w, polls);
        return w;
    }

    static QStringList entry(QTreeWidgetItem* item) {
        QStringList out;
        for (int c = 0; c < 8; ++c)
            out << item->text(c);
        return out;
    }

private slots:
    void init() { texts::setLocale(QLocale(QLocale::German, QLocale::Germany)); }

    void singleJumpIsRecordedAndShown() {
        MainWindowFixture f;
        seedAthlete(f, 4);
        f.playScript("500: 0 200 1 244\n800: 0 190 1 200\n");
        TForm1& w = f.start();
        QCOMPARE(w.LastNummer, 4);
        w.Start1Execute();
        QVERIFY(w.running());
        QCOMPARE(w.SpeedButton4->text(), QStringLiteral("Messung abbrechen"));
        QVERIFY(!w.GroupBox3->isEnabled());
        QVERIFY(w.Timer1->isActive());
        pollUntilIdle(f, w);

        QVERIFY(f.ui.boxes.isEmpty());
        QCOMPARE(w.SpeedButton4->text(), QStringLiteral("Messung starten"));
        QCOMPARE(w.SpeedButton4->palette().color(QPalette::Active, QPalette::ButtonText),
                 QColor(0, 128, 0));
        QVERIFY(w.GroupBox3->isEnabled() && w.ListView2->isEnabled() && !w.Timer1->isActive());
        QCOMPARE(w.Edit1->text(), QStringLiteral("200"));
        QCOMPARE(w.Edit2->text(), QStringLiteral("500"));
        QCOMPARE(w.Edit3->text(), QStringLiteral("1,25"));
        QCOMPARE(w.Edit4->text(), QStringLiteral("30,70"));
        QCOMPARE(jumps(f), (QList<Jump>{{12005, 200, 500, 1.25, 1}}));
        QCOMPARE(measurements(f).last(), (QList<qint64>{5, 1, 12}));
        QCOMPARE(w.LastNummer, 5);
        // The second result is never read: one jump per single measurement.
        QCOMPARE(f.timingUnit().sent, QByteArray("\xfb\x03\xfa"));
        QCOMPARE(w.Link().LinkState, 4);

        QCOMPARE(w.ListView2->topLevelItemCount(), 5);
        QTreeWidgetItem* newest = w.ListView2->topLevelItem(0);
        QCOMPARE(entry(newest).mid(3), (QStringList{"200", "500", "1,25", "30,70", "5"}));
        QCOMPARE(newest->text(0), QStringLiteral("5"));
        QVERIFY(newest->isSelected());
        f.finish();
    }

    void seriesEndsWithTheEndMarker() {
        MainWindowFixture f;
        seedAthlete(f, 4);
        f.playScript("300: 0 200 1 244\n300: 0 150 2 88\n300: 254 1 200\n300: 253 0 180\n");
        TForm1& w = f.create();
        w.Betriebsart = 2;
        f.store("Betriebsart", "2");
        w.show();
        w.Start1Execute();
        pollUntilIdle(f, w);
        QVERIFY(f.ui.boxes.isEmpty());
        // The third result has no contact time: shown as 0, not recorded with the efficiency
        // of -1, but its flight time counts as accepted and it is recorded.
        QCOMPARE(jumps(f), (QList<Jump>{{12005, 200, 500, 1.25, 1},
                                        {12005, 150, 600, 2.4, 2},
                                        {12005, -1, 456, -208, 3},
                                        {12005, 180, 0, 0, 4}}));
        QCOMPARE(measurements(f).last(), (QList<qint64>{5, 4, 12}));
        QCOMPARE(w.Edit1->text(), QStringLiteral("180"));
        QCOMPARE(w.Edit2->text(), QStringLiteral("0"));
        QCOMPARE(w.Edit3->text(), QStringLiteral("0"));
        QCOMPARE(entry(w.ListView2->topLevelItem(0)).mid(3),
                 (QStringList{"...", "...", "...", "...", "5"}));
        // The series grid beside the list shows the four jumps in jump order.
        QVERIFY(w.DBGrid3->isVisible());
        QCOMPARE(w.DBGrid3->model()->rowCount(), 4);
        QCOMPARE(w.DBGrid3->model()->index(3, 0).data().toString(), QStringLiteral("4"));
        QCOMPARE(w.DBGrid3->model()->index(0, 4).data().toString(), QStringLiteral("30,7"));
        f.finish();
    }

    void endsOfARun_data() {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<int>("recorded");
        QTest::addColumn<QString>("edit1");

        QTest::newRow("end byte 250") << QByteArray("300: 250\n") << 2 << QStringList{} << 0 << "";
        QTest::newRow("end byte 251") << QByteArray("300: 251\n") << 2 << QStringList{} << 0 << "";
        QTest::newRow("end byte 252 after a jump")
            << QByteArray("300: 0 200 1 244\n300: 252\n") << 2 << QStringList{} << 1 << "";
        QTest::newRow("end byte 255") << QByteArray("300: 255\n") << 1 << QStringList{} << 0 << "";
        QTest::newRow("byte missing in a result")
            << QByteArray("300: 0 200 1\n") << 1 << QStringList{"Kommunikationsfehler"} << 0
            << "200";
        QTest::newRow("end marker without its low byte")
            << QByteArray("300: 253 0\n") << 2 << QStringList{"Kommunikationsfehler"} << 0 << "";
        QTest::newRow("single: no contact time, flight time accepted")
            << QByteArray("300: 254 1 244\n") << 1 << QStringList{} << 1 << "0";
        QTest::newRow("end marker with no contact time")
            << QByteArray("300: 253 254\n") << 2 << QStringList{} << 1 << "0";
        QTest::newRow("end marker then 253 as a high byte")
            << QByteArray("300: 253 253 0\n") << 2 << QStringList{} << 1 << "64768";
    }
    void endsOfARun() {
        QFETCH(QByteArray, script);
        QFETCH(int, mode);
        QFETCH(QStringList, messages);
        QFETCH(int, recorded);
        QFETCH(QString, edit1);
        MainWindowFixture f;
        seedAthlete(f);
        f.store("Betriebsart", QString::number(mode));
        f.playScript(script);
        TForm1& w = f.start();
        w.Start1Execute();
        pollUntilIdle(f, w);
        QVERIFY(!w.running());
        QCOMPARE(f.ui.texts(), messages);
        for (const MessageBox& box : f.ui.boxes)
            QCOMPARE(box.title, QStringLiteral("Fehler"));
        QCOMPARE(jumps(f).size(), recorded);
        QCOMPARE(measurements(f).size(), recorded > 0 ? 1 : 0);
        if (recorded > 0)
            QCOMPARE(measurements(f).first()[1], recorded);
        QCOMPARE(w.Edit1->text(), edit1);
        QVERIFY(f.timingUnit().sent.endsWith('\xfa'));
        QCOMPARE(w.Link().LinkState, 4);
        QVERIFY(w.GroupBox3->isEnabled() && w.SpeedButton4->isEnabled());
        f.finish();
    }

    void singleModeFlightTimeNotMeasuredGoesOn() {
        MainWindowFixture f;
        seedAthlete(f);
        f.playScript("300: 0 200 253\n300: 0 210 1 244\n");
        TForm1& w = f.start();
        w.Start1Execute();
        f.clock.advance(400);
        w.Timer1Timer();
        QVERIFY(w.running()); // shown, not recorded, the run goes on
        QCOMPARE(w.Edit1->text(), QStringLiteral("200"));
        QCOMPARE(w.Edit2->text(), QString());
        QVERIFY(jumps(f).isEmpty());
        pollUntilIdle(f, w);
        QCOMPARE(jumps(f), (QList<Jump>{{12001, 210, 500, 1.19, 1}}));
        f.finish();
    }

    void startFailures_data() {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QByteArray>("sent");
        QTest::newRow("no device")
            << QByteArray("devices: 0\n") << "Kommunikationsfehler! Kein Gerät erkannt."
            << "Kalvero" << QByteArray();
        QTest::newRow("another description") << QByteArray("description: USB Serial\n")
                                             << "Kommunikationsfehler! Kein Gerät erkannt."
                                             << "Kalvero" << QByteArray();
        QTest::newRow("silence after 251")
            << QByteArray("start-answer: none\n") << "Kommunikationsfehler"
            << "Fehler" << QByteArray("\xfb");
    }
    void startFailures() {
        QFETCH(QByteArray, script);
        QFETCH(QString, message);
        QFETCH(QString, title);
        QFETCH(QByteArray, sent);
        MainWindowFixture f;
        seedAthlete(f);
        f.playScript(script);
        TForm1& w = f.start();
        w.Start1Execute();
        QVERIFY(!w.running());
        QCOMPARE(f.ui.texts(), QStringList{message});
        QCOMPARE(f.ui.boxes[0].title, title);
        if (f.unit->deviceCount() > 0)
            QCOMPARE(f.timingUnit().sent, sent);
        QCOMPARE(w.SpeedButton4->text(), QStringLiteral("Messung starten"));
        QVERIFY(w.GroupBox3->isEnabled() && w.ListView2->isEnabled() &&
                w.SpeedButton4->isEnabled());
        QVERIFY(!w.Timer1->isActive());
        f.finish();
    }

    void plausibilityLimits_data() {
        QTest::addColumn<bool>("abort");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<int>("recorded");
        QTest::addColumn<bool>("stillRunning");
        QTest::newRow("contact below, abort on")
            << true << 2 << QByteArray("300: 0 45 1 244\n")
            << QStringList{"Untere Stützzeit-Plausibilätsgrenze verletzt: 45ms < 60ms"} << 0
            << false;
        QTest::newRow("flight above, abort on")
            << true << 2 << QByteArray("300: 0 200 3 233\n")
            << QStringList{"Obere  Flugzeit-Plausibilätsgrenze verletzt: 1001ms > 1000ms"} << 0
            << false;
        QTest::newRow("contact equal to the upper limit, abort on")
            << true << 2 << QByteArray("300: 1 74 1 244\n")
            << QStringList{"Obere  Stützzeit-Plausibilätsgrenze verletzt: 330ms >= 330ms"} << 0
            << false;
        QTest::newRow("contact below, abort off, series goes on")
            << false << 2 << QByteArray("300: 0 45 1 244\n") << QStringList{} << 0 << true;
        QTest::newRow("contact below, abort off, single ends")
            << false << 1 << QByteArray("300: 0 45 1 244\n") << QStringList{} << 0 << false;
    }
    void plausibilityLimits() {
        QFETCH(bool, abort);
        QFETCH(int, mode);
        QFETCH(QByteArray, script);
        QFETCH(QStringList, messages);
        QFETCH(int, recorded);
        QFETCH(bool, stillRunning);
        MainWindowFixture f;
        seedAthlete(f);
        f.store("Betriebsart", QString::number(mode));
        f.playScript(script);
        TForm1& w = f.start();
        w.Limits.abortOnViolation = abort;
        w.Start1Execute();
        poll(f, w, 10);
        QCOMPARE(f.ui.texts(), messages);
        for (const MessageBox& box : f.ui.boxes)
            QCOMPARE(box.title, QStringLiteral("Kalvero"));
        QCOMPARE(jumps(f).size(), recorded);
        QCOMPARE(w.running(), stillRunning);
        if (!abort) {
            // Shown but not recorded; the efficiency shows 0.
            QCOMPARE(w.Edit1->text(), QStringLiteral("45"));
            QCOMPARE(w.Edit2->text(), QStringLiteral("500"));
            QCOMPARE(w.Edit3->text(), QStringLiteral("0"));
        }
        f.finish();
    }

    // Several boxes of one handler come in a fixed order: crossed limits give the lower
    // message before the upper one; a failed recording ends the run first and is then shown
    // by the general error handling.
    void orderOfBoxes_data() {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<bool>("refuseJumps");
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("crossed contact limits")
            << QByteArray("300: 0 200 1 244\n") << false << QStringList{"Kalvero", "Kalvero"}
            << QStringList{"Untere Stützzeit-Plausibilätsgrenze verletzt: 200ms < 300ms",
                           "Obere  Stützzeit-Plausibilätsgrenze verletzt: 200ms > 100ms"};
        QTest::newRow("recording refused")
            << QByteArray("300: 0 90 1 244\n") << true << QStringList{"Kalvero"}
            << QStringList{"gesperrt Unable to fetch row."};
    }
    void orderOfBoxes() {
        QFETCH(QByteArray, script);
        QFETCH(bool, refuseJumps);
        QFETCH(QStringList, titles);
        QFETCH(QStringList, messages);
        MainWindowFixture f;
        seedAthlete(f);
        f.store("Betriebsart", "2");
        f.playScript(script);
        TForm1& w = f.start();
        w.Limits.abortOnViolation = true;
        w.Limits.PSZmin = 300;
        w.Limits.PSZmax = 100;
        if (refuseJumps) {
            w.Limits.PSZmin = 60;
            QSqlQuery q(w.Query2().database().connection());
            QVERIFY(q.exec("CREATE TRIGGER refuse BEFORE INSERT ON mr BEGIN "
                           "SELECT RAISE(ABORT, 'gesperrt'); END"));
        }
        w.Start1Execute();
        for (int i = 0; i < 10; ++i) {
            f.clock.advance(100);
            runGuarded(f.ui, [&w] { w.Timer1Timer(); }); // as the timer runs it
        }
        QVERIFY(!w.running());
        QCOMPARE(f.ui.texts(), messages);
        QStringList shownTitles;
        for (const MessageBox& box : f.ui.boxes)
            shownTitles << box.title;
        QCOMPARE(shownTitles, titles);
        QVERIFY(f.timingUnit().sent.endsWith('\xfa'));
        QVERIFY(jumps(f).isEmpty());
        f.finish();
    }

    // The start resets the run state; every poll resets the verdicts of the result before.
    void runStateIsResetAtStartAndAtEveryPoll() {
        MainWindowFixture f;
        seedAthlete(f);
        f.store("Betriebsart", "2");
        f.playScript("300: 0 200 1 244\n");
        TForm1& w = f.start();
        w.SZValid = w.FZValid = true;
        w.CurrentSZ = w.CurrentFZ = 77;
        w.JumpCount = 5;
        w.FirstJumpPending = false;
        w.Start1Execute();
        QVERIFY(w.running());
        QVERIFY(!w.SZValid && !w.FZValid && w.FirstJumpPending);
        QCOMPARE(w.CurrentSZ, 0);
        QCOMPARE(w.CurrentFZ, 0);
        QCOMPARE(w.JumpCount, 0);
        w.SZInLimits = w.FZInLimits = w.EndMarkerSeen = true;
        w.Timer1Timer(); // nothing waits yet
        QVERIFY(!w.SZInLimits && !w.FZInLimits && !w.EndMarkerSeen);
        poll(f, w, 5);
        QCOMPARE(jumps(f).size(), 1);
        // Accepted times stay accepted until the next start.
        QVERIFY(w.SZValid && w.FZValid);
        f.finish();
    }

    // A start empties the jump grid beside the history list.
    void theJumpGridIsEmptyAfterAStart() {
        MainWindowFixture f;
        seedAthlete(f, 1);
        {
            Database db(f.dataDirectory());
            QSqlQuery q(db.connection());
            QVERIFY(q.exec("UPDATE units SET FZ = 2"));
            QVERIFY(q.exec("INSERT INTO mr VALUES (12001, 200, 500, 1.25, 1), "
                           "(12001, 210, 510, 1.24, 2)"));
        }
        f.store("Betriebsart", "2");
        f.playScript("start-answer: 251\n");
        TForm1& w = f.start();
        QVERIFY(w.DBGrid3->isVisible());
        QCOMPARE(w.DBGrid3->model()->rowCount(), 2);
        w.Start1Execute();
        QVERIFY(w.running());
        QCOMPARE(w.DBGrid3->model()->rowCount(), 0);
        f.finish();
    }

    void userStopWritesTheJumpCount() {
        MainWindowFixture f;
        TForm1& w = runSeries(f, "300: 0 200 1 244\n300: 0 210 1 250\n", 10);
        QVERIFY(w.running());
        QCOMPARE(jumps(f).size(), 2);
        w.Start1Execute(); // the same toggle stops
        QVERIFY(!w.running());
        QVERIFY(f.ui.boxes.isEmpty());
        QCOMPARE(measurements(f), (QList<QList<qint64>>{{1, 2, 12}}));
        QVERIFY(f.timingUnit().sent.endsWith('\xfa'));
        QCOMPARE(w.Link().LinkState, 4);
        QVERIFY(w.ListView2->topLevelItem(0)->isSelected());
        f.finish();
    }

    void theJumpCountIsStoredAfterEveryJump() {
        MainWindowFixture f;
        seedAthlete(f);
        f.store("Betriebsart", "2");
        f.playScript("300: 0 200 1 244\n300: 0 210 1 250\n300: 0 220 1 240\n");
        TForm1& w = f.start();
        w.Start1Execute();
        QList<qint64> counts;
        for (int i = 0; i < 12; ++i) {
            f.clock.advance(100);
            w.Timer1Timer();
            const auto rows = measurements(f);
            if (!rows.isEmpty() && (counts.isEmpty() || counts.last() != rows.first()[1]))
                counts << rows.first()[1];
        }
        // While the run still goes on, the row already tells how many jumps it holds.
        QVERIFY(w.running());
        QCOMPARE(counts, (QList<qint64>{1, 2, 3}));
        f.finish();
    }

    void stoppingDoesNotDependOnTheWriteCheck() {
        MainWindowFixture f;
        seedAthlete(f);
        f.store("Betriebsart", "2");
        f.playScript("300: 0 200 1 244\n");
        TForm1& w = f.start();
        w.Start1Execute();
        pollUntilIdle(f, w, 5);
        QVERIFY(w.running());
        {
            // From now on every new measurement row is refused.
            QSqlQuery q(w.Query2().database().connection());
            QVERIFY(q.exec("CREATE TRIGGER refuse BEFORE INSERT ON units BEGIN "
                           "SELECT RAISE(ABORT, 'gesperrt'); END"));
        }
        QVERIFY(!w.CanWrite());
        f.ui.clear();
        w.Start1Execute();
        QVERIFY(!w.running());
        QVERIFY(f.ui.boxes.isEmpty());
        QCOMPARE(measurements(f), (QList<QList<qint64>>{{1, 1, 12}}));
        // A start, though, still needs the write check.
        w.Start1Execute();
        QVERIFY(!w.running());
        QCOMPARE(f.ui.texts(),
                 QStringList{
                     "Messung nicht möglich , da nicht auf Datenbanken geschrieben werden kann."});
        f.finish();
    }

    void closingTheWindowEndsTheRun() {
        MainWindowFixture f;
        TForm1& w = runSeries(f, "300: 0 200 1 244\n300: 0 210 1 250\n", 10);
        QVERIFY(w.running());
        SimulatedDevice& unit = f.timingUnit();
        f.finish();
        QVERIFY(unit.sent.endsWith('\xfa'));
        QVERIFY(!unit.isOpen);
        QCOMPARE(measurements(f), (QList<QList<qint64>>{{1, 2, 12}}));
    }

    void keysAndButtonToggleTheRun() {
        MainWindowFixture f;
        seedAthlete(f);
        f.store("Betriebsart", "2");
        TForm1& w = f.start();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));

        w.DBGrid1->setFocus();
        QTest::keyClick(w.DBGrid1, Qt::Key_Return);
        QVERIFY(w.running());
        w.Edit4->setFocus();
        QTest::keyClick(w.Edit4, Qt::Key_Enter);
        QVERIFY(!w.running());

        QTest::keyClick(&w, Qt::Key_F5);
        QVERIFY(w.running());
        QTest::mouseClick(w.SpeedButton4, Qt::LeftButton);
        QVERIFY(!w.running());
        QVERIFY(f.ui.boxes.isEmpty());
        f.finish();
    }

    void withoutAnAthleteNothingStarts() {
        MainWindowFixture f;
        f.playScript("100: 0 200 1 244\n");
        TForm1& w = f.start();
        QVERIFY(!w.SpeedButton4->isEnabled() && !w.Start1->isEnabled());
        w.Start1Execute(); // as Enter calls it, whatever the button's state
        QVERIFY(!w.running());
        QVERIFY(f.timingUnit().sent.isEmpty());
        QVERIFY(measurements(f).isEmpty());
        QVERIFY(f.ui.boxes.isEmpty());
        f.finish();
    }

    void historyNumbersRunsNewestFirst() {
        MainWindowFixture f;
        seedAthlete(f);
        f.playScript("100: 0 200 1 244\n");
        TForm1& w = f.start();
        for (int run = 0; run < 3; ++run) {
            w.Start1Execute();
            pollUntilIdle(f, w);
            f.clock.advance(1000);
        }
        QCOMPARE(w.LastNummer, 3);
        QCOMPARE(w.ListView2->topLevelItemCount(), 3);
        // A rebuild from the tables lists them the same way: numbers 3, 2, 1 from the top.
        w.Action6->trigger();
        w.Query1().first();
        QStringList numbers;
        for (int i = 0; i < 3; ++i)
            numbers << w.ListView2->topLevelItem(i)->text(7);
        QCOMPARE(numbers.size(), 3);
        QCOMPARE(QSet<QString>(numbers.begin(), numbers.end()), (QSet<QString>{"1", "2", "3"}));
        QCOMPARE(w.ListView2->topLevelItem(0)->text(3), QStringLiteral("200"));
        QCOMPARE(measurements(f), (QList<QList<qint64>>{{1, 1, 12}, {2, 1, 12}, {3, 1, 12}}));
        f.finish();
    }

    void seriesKeysStayDistinct_data() {
        QTest::addColumn<qint64>("athlete");
        QTest::addColumn<qint64>("nummer");
        QTest::addColumn<qint64>("key");
        QTest::newRow("first") << qint64(7) << qint64(1) << qint64(7001);
        QTest::newRow("999") << qint64(12) << qint64(999) << qint64(12999);
        QTest::newRow("1000") << qint64(1) << qint64(1000) << qint64(-1001000);
        QTest::newRow("1001") << qint64(1) << qint64(1001) << qint64(-1001001);
    }
    void seriesKeysStayDistinct() {
        QFETCH(qint64, athlete);
        QFETCH(qint64, nummer);
        QFETCH(qint64, key);
        QCOMPARE(seriesKey(athlete, nummer), key);
    }

    void keysNeverCollideAcrossAthletes() {
        QSet<qint64> keys;
        for (qint64 athlete = 1; athlete <= 30; ++athlete)
            for (qint64 nummer = 1; nummer <= 3000; ++nummer)
                keys.insert(seriesKey(athlete, nummer));
        QCOMPARE(keys.size(), 30 * 3000);
        QVERIFY(!keys.contains(0));
    }

    void theThousandthMeasurementGetsItsOwnKey() {
        MainWindowFixture f;
        {
            Database db(f.dataDirectory());
            QSqlQuery q(db.connection());
            QVERIFY(q.exec("INSERT INTO sportler (ID, Name, Vorname) VALUES (1, 'A', 'A')"));
            QVERIFY(q.exec("INSERT INTO sportler (ID, Name, Vorname) VALUES (2, 'B', 'B')"));
            QVERIFY(q.exec("INSERT INTO units (Ref_ID, Datum, Nummer, FZ) VALUES (1, "
                           "'2026-01-01T10:00:00', 999, 1)"));
            QVERIFY(q.exec("INSERT INTO units (Ref_ID, Datum, Nummer, FZ) VALUES (2, "
                           "'2026-01-01T10:00:00', 1, 1)"));
            QVERIFY(q.exec("INSERT INTO mr VALUES (2001, 180, 400, 0.89, 1)"));
        }
        f.playScript("100: 0 200 1 244\n");
        TForm1& w = f.start();
        QCOMPARE(w.LastNummer, 999);
        w.Start1Execute();
        pollUntilIdle(f, w);
        QCOMPARE(jumps(f).last(), (Jump{-1001000, 200, 500, 1.25, 1}));
        // The other athlete's jump stays his own.
        w.Query1().next();
        QCOMPARE(w.ListView2->topLevelItem(0)->text(3), QStringLiteral("180"));
        w.Query1().first();
        QCOMPARE(w.ListView2->topLevelItem(0)->text(3), QStringLiteral("200"));
        f.finish();
    }
};

QTEST_MAIN(TestRun)
#include "tst_run.moc"
