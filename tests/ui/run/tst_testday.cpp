#include "core/base/Errors.h"
#include "core/base/Texts.h"
#include "core/store/Database.h"
#include "support/MainWindowFixture.h"
#include "support/WindowParts.h"
#include "ui/run/TestDayDialog.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSqlQuery>
#include <QTableView>
#include <QtTest>

// What only the window shows of a test day: the set-up that Return takes, and the start list
// taken up after a crash, walked by keyboard.
class TestTestDayWindow : public QObject {
    Q_OBJECT

    static QStringList column(MainWindowFixture& f, const QString& statement) {
        QSqlQuery q(StoreInternals::database(f.station->store()).connection());
        q.exec(statement);
        QStringList out;
        while (q.next())
            out << q.value(0).toString();
        return out;
    }

private slots:
    void init() { texts::setLocale(QLocale(QLocale::German, QLocale::Germany)); }

    // The dialog offers the group and the panel's set-up, so that Return begins the day with
    // them; a day the store refuses keeps the dialog open with the reason and the entries.
    void returnTakesWhatIsOffered_data() {
        QTest::addColumn<QString>("refusal");
        QTest::newRow("stored") << QString();
        QTest::newRow("refused") << QStringLiteral(
            "Ein Testtag braucht mindestens einen Sportler.");
    }
    void returnTakesWhatIsOffered() {
        QFETCH(QString, refusal);
        TestDay offered;
        offered.test = {"Drop Jump", 30};
        offered.series = true;
        offered.endKind = 1;
        offered.endLimit = 6;
        QList<TestDayChoice> opened;
        TestDayDialog dialog(offered, {{4, "Kader"}, {5, "U19"}}, 5, 3,
                             [&](const TestDayChoice& choice) {
                                 if (!refusal.isEmpty())
                                     throw AppError(refusal);
                                 opened << choice;
                             });
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* name = dialog.findChild<QLineEdit*>("testDayNameField");
        QCOMPARE(name->text(), QStringLiteral("U19 – Drop Jump 30 cm"));
        QTest::keyClick(name, Qt::Key_Return);
        auto* problem = dialog.findChild<QLabel*>("problemLabel");
        if (!refusal.isEmpty()) {
            QVERIFY(opened.isEmpty());
            QVERIFY(dialog.isVisible());
            QCOMPARE(problem->text(), refusal);
            QCOMPARE(name->text(), QStringLiteral("U19 – Drop Jump 30 cm"));
            return;
        }
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(opened.size(), 1);
        const TestDay& day = opened.first().day;
        QCOMPARE(opened.first().groupId, 5);
        QCOMPARE(day.name, QStringLiteral("U19 – Drop Jump 30 cm"));
        QCOMPARE(day.test, (MeasurementTest{"Drop Jump", 30}));
        QVERIFY(day.series && day.endKind == 1 && day.endLimit == 6);
        QCOMPARE(day.trialsPerAthlete, 1);
    }

    // A day cut off by a crash is offered at the next start and goes on where its start list
    // stands: Enter records the next athlete's trial with the day's set-up (not the panel's),
    // the list moves on to the next in rotation and keeps the keyboard, and the day ends.
    void aDayTakenUpAfterACrash() {
        MainWindowFixture f;
        qint64 dayId = 0;
        {
            OpenedStore store(f.location());
            QSqlQuery q(StoreInternals::database(store).connection());
            for (const char* row :
                 {"(12, 'Meier', 'Anna')", "(13, 'Zander', 'Jan')", "(14, 'Wolf', 'Eva')"})
                QVERIFY(q.exec(QStringLiteral("INSERT INTO sportler (ID, Name, Vorname) VALUES %1")
                                   .arg(QLatin1String(row))));
            TestStore::afterIds(StoreInternals::database(store));
            TestDay day;
            day.name = "U19 – Drop Jump 30 cm";
            day.test = {"Drop Jump", 30};
            day.trialsPerAthlete = 2;
            day.begun = QDateTime::currentDateTime();
            dayId = store.testDays().open(day, {13, 12});
            // Zander's first trial was stored before the crash.
            store.measurements().recordFirstJump(13, day.begun, {200, 500, 2.5, 1}, day.test, {},
                                                 {}, dayId);
        }
        f.playScript("300: 0 200 1 244\n");
        // Put off at the start, and taken up with "Testtag …".
        f.messages.answers.enqueue(2);
        MainWindow& w = f.start();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QCOMPARE(f.messages.boxes.size(), 1);
        QCOMPARE(f.messages.boxes.first().buttons,
                 (QStringList{"Fortsetzen", "Testtag beenden", "Später"}));
        QCOMPARE(athleteGrid(w)->model()->rowCount(), 3);
        action(w, "testDayAction")->trigger();
        QCOMPARE(f.messages.boxes.size(), 2);
        QCOMPARE(f.messages.boxes.last().buttons,
                 (QStringList{"Fortsetzen", "Neuer Testtag", "Abbrechen"}));
        // The start list: the day's athletes in its order, Meier next.
        QCOMPARE(athleteGrid(w)->model()->rowCount(), 2);
        QCOMPARE(selectedAthleteId(w), 12);
        QVERIFY(!athleteGrid(w)->isColumnHidden(5));
        QCOMPARE(athleteGrid(w)->model()->index(0, 5).data().toString(), QStringLiteral("1 von 2"));
        auto* test = w.findChild<QComboBox*>("testChoice");
        QCOMPARE(test->currentText(), QStringLiteral("Drop Jump"));
        QVERIFY(!test->isEnabled());
        QVERIFY(label(w, "testDayLabel")->text().contains("U19 – Drop Jump 30 cm"));

        athleteGrid(w)->setFocus();
        QTest::keyClick(athleteGrid(w), Qt::Key_Return);
        for (int i = 0; i < 100 && f.station->session().running(); ++i) {
            f.clock.advance(100);
            f.station->session().poll();
        }
        QCOMPARE(column(f, "SELECT u.Ref_ID || ' ' || t.Test || ' ' || t.Fallhoehe FROM units u "
                           "JOIN units_test t ON t.Unit_ID = u.ID JOIN units_testtag d ON "
                           "d.Unit_ID = u.ID ORDER BY u.ID"),
                 (QStringList{"13 Drop Jump 30", "12 Drop Jump 30"}));
        // Round 2 begins with Zander; the list keeps the keyboard, and Meier's trial stays
        // shown until the user moves on from her himself.
        QCOMPARE(selectedAthleteId(w), 13);
        QVERIFY(athleteGrid(w)->hasFocus());
        QVERIFY(label(w, "runStatusLabel")->text().contains("Meier"));
        QVERIFY(!resultField(w, "heightField")->text().isEmpty());
        QTest::keyClick(&w, Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(selectedAthleteId(w), 12);
        QTest::keyClick(&w, Qt::Key_Up, Qt::ControlModifier);
        QCOMPARE(selectedAthleteId(w), 13);
        QCOMPARE(resultField(w, "heightField")->text(), QString());

        action(w, "endTestDayAction")->trigger();
        QCOMPARE(column(f, QStringLiteral("SELECT COUNT(*) FROM testtage WHERE Ende IS NULL")),
                 QStringList{"0"});
        QCOMPARE(athleteGrid(w)->model()->rowCount(), 3);
        QVERIFY(athleteGrid(w)->isColumnHidden(5));
        QVERIFY(test->isEnabled());
        QCOMPARE(f.messages.boxes.size(), 2);
        f.finish();
    }
};

QTEST_MAIN(TestTestDayWindow)
#include "tst_testday.moc"
