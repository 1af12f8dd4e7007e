#include "support/AthleteWindow.h"
#include "support/WindowParts.h"
#include "ui/history/AthleteChooserDialog.h"
#include "ui/history/ChangesDialog.h"
#include "ui/history/RepeatDialog.h"
#include "ui/history/TestEditDialog.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>

using namespace athletewindow;

namespace {

// Meier (12) has a single measurement 1 and a series 2 of three jumps; Zorn (13) has a
// measurement numbered 4.
const QStringList kData{
    "INSERT INTO sportler (ID, Name, Vorname) VALUES (12, 'Meier', 'Anna'), (13, 'Zorn', "
    "'Zora'), (14, 'Adler', 'Ada')",
    "INSERT INTO units (Ref_ID, Datum, Nummer, FZ) VALUES "
    "(12, '2024-01-01T10:00:00', 1, 1), (12, '2024-01-02T10:00:00', 2, 3),"
    "(13, '2024-01-04T10:00:00', 4, 1)",
    "INSERT INTO mr (Serie, SZ, FZ, Eff, Anzahl) VALUES "
    "(12001, 200, 500, 2.5, 1), (12002, 210, 480, 2.29, 1), (12002, 220, 470, 2.14, 2), "
    "(12002, 230, 0, 0, 3), (13004, 250, 440, 1.76, 1)"};

template <typename Dialog> void answer(std::function<void(Dialog*)> act) {
    QTimer::singleShot(0, [act] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget()))
            act(dialog);
    });
}

} // namespace

// The corrections of a measurement from the history list's context menu: the entries, the
// move to another athlete found by the search, the change of test and drop height (a height
// out of bounds is said and changes nothing), and the changes listed, from which the deleted
// measurement is restored.
class TestCorrections : public QObject {
    Q_OBJECT

private slots:
    // The chosen measurement marked as the repeat of another of the same test (the dialog
    // offers those), then the mark taken away.
    void repeatMarkedFromTheList() {
        MainWindowFixture f;
        seed(f, kData);
        MainWindow& w = open(f);
        clickRow(athleteGrid(w), 0);
        chooseHistoryEntry(w, 0);
        QCOMPARE(chosenMeasurementNumber(w), 2);
        for (const qint64 first : {1, 0}) {
            QStringList offered;
            answer<RepeatDialog>([&offered, first](RepeatDialog* dialog) {
                auto* field = dialog->findChild<QComboBox*>("repeatOfField");
                for (int i = 0; i < field->count(); ++i)
                    offered << field->itemData(i).toString();
                field->setCurrentIndex(field->findData(first));
                dialog->accept();
            });
            action(w, "markRepeatAction")->trigger();
            QCOMPARE(offered, (QStringList{"0", "1"}));
            QCOMPARE(count(f, "units_wiederholung"), first == 0 ? 0 : 1);
        }
    }

    void contextMenuOfTheHistoryList() {
        MainWindowFixture f;
        seed(f, kData);
        f.store("Betriebsart", "2");
        MainWindow& w = open(f);
        clickRow(athleteGrid(w), 0);
        QCOMPARE(selectedAthleteId(w), 12);
        QTreeWidget* list = historyList(w);
        QCOMPARE(list->contextMenuPolicy(), Qt::ActionsContextMenu);
        QStringList entries;
        for (const QAction* a : list->actions())
            entries << a->text();
        QCOMPARE(entries, (QStringList{"&Messung einem anderen Sportler zuordnen …",
                                       "&Test und Fallhöhe ändern …", "Als &Fehlversuch markieren",
                                       "Als &Wiederholung markieren …", "Messung &löschen …",
                                       "Änd&erungen …"}));
        // The same entries in "Daten".
        for (const char* name : {"moveMeasurementAction", "editTestAction", "changesAction"})
            QVERIFY(menu(w, "dataMenu")->actions().contains(action(w, name)));

        // The series: its closing contact is shown as such, never with a height of 0.
        chooseHistoryEntry(w, 0);
        QCOMPARE(chosenMeasurementNumber(w), 2);
        QCOMPARE(gridColumn(jumpGrid(w), 0), (QStringList{"1", "2", ""}));
        QCOMPARE(gridColumn(jumpGrid(w), 4).last(), QString());
        QCOMPARE(gridColumn(jumpGrid(w), 6).last(), QStringLiteral("Abschluss"));

        // Given to Zorn, found by the search: his next number, its jumps under his key.
        answer<AthleteChooserDialog>([](AthleteChooserDialog* dialog) {
            dialog->findChild<QLineEdit*>("athleteSearchField")->setText("zor");
            QCOMPARE(dialog->chosenId(), 13);
            dialog->accept();
        });
        action(w, "moveMeasurementAction")->trigger();
        QCOMPARE(f.messages.texts(),
                 QStringList{"Die Messung gehört jetzt zu Zorn, Zora und hat dort die Nummer 5."});
        QCOMPARE(column(f, "SELECT Nummer FROM units WHERE Ref_ID = 13 ORDER BY Nummer"),
                 (QStringList{"4", "5"}));
        QCOMPARE(count(f, "mr WHERE Serie = 13005"), 3);
        QCOMPARE(count(f, "mr WHERE Serie = 12002"), 0);
        QCOMPARE(historyColumn(list, 7), QStringList{"1"});

        // Test and drop height: 200 cm is refused in the dialog, 45 cm is stored.
        chooseHistoryEntry(w, 0);
        bool refused = false;
        answer<TestEditDialog>([&refused](TestEditDialog* dialog) {
            dialog->findChild<QComboBox*>("testField")->setCurrentText("Drop Jump");
            auto* height = dialog->findChild<QLineEdit*>("dropHeightField");
            height->setText("200");
            auto* ok = dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
            ok->click();
            auto* problem = dialog->findChild<QLabel*>("problemLabel");
            refused = dialog->isVisible() && !problem->isHidden() &&
                      problem->text() == "Die Fallhöhe muss eine ganze Zahl von 0 bis 150 cm sein.";
            height->setText("45");
            ok->click();
        });
        action(w, "editTestAction")->trigger();
        QVERIFY(refused);
        QCOMPARE(column(f, "SELECT Test || '/' || Fallhoehe FROM units_test"),
                 QStringList{"Drop Jump/45"});
        QCOMPARE(historyColumn(list, 9), QStringList{"45"});

        // The single measurement's jump marked as a failed trial from the list.
        chooseHistoryEntry(w, 0);
        action(w, "markSingleFailedAction")->trigger();
        QCOMPARE(column(f, "SELECT Grund FROM mr_ausschluss"), QStringList{"Fehlversuch"});

        // Deleted, then restored from the changes under its old number.
        chooseHistoryEntry(w, 0);
        f.messages.answers.enqueue(0);
        action(w, "deleteMeasurementAction")->trigger();
        QCOMPARE(count(f, "units WHERE Ref_ID = 12"), 0);
        QStringList listed;
        answer<ChangesDialog>([&listed](ChangesDialog* dialog) {
            auto* table = dialog->findChild<QTableWidget*>("changesTable");
            for (int row = 0; row < table->rowCount(); ++row)
                listed << table->item(row, 4)->text();
            auto* restore = dialog->findChild<QPushButton*>("restoreMeasurementButton");
            table->selectRow(0);
            if (restore->isEnabled())
                restore->click();
            dialog->reject();
        });
        action(w, "changesAction")->trigger();
        QCOMPARE(listed.size(), 4);
        QVERIFY(listed[0].startsWith("Gelöscht (1 Sprung)"));
        QCOMPARE(listed[1], "Sprung 1 ausgeschlossen: Fehlversuch");
        QCOMPARE(listed[2], "Test geändert: kein Test → Drop Jump, Fallhöhe 45 cm");
        QCOMPARE(listed[3], "Von Meier, Anna (Nr. 2) zu Zorn, Zora (Nr. 5) verschoben");
        QCOMPARE(column(f, "SELECT Nummer FROM units WHERE Ref_ID = 12"), QStringList{"1"});
        QCOMPARE(column(f, "SELECT Test || '/' || Fallhoehe FROM units_test"),
                 QStringList{"Drop Jump/45"});
        QCOMPARE(historyColumn(list, 7), QStringList{"1"});
        QCOMPARE(column(f, "SELECT Grund FROM mr_ausschluss"), QStringList{"Fehlversuch"});
        f.finish();
    }
};

QTEST_MAIN(TestCorrections)
#include "tst_corrections.moc"
