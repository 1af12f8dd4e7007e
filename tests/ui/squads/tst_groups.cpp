#include "support/AthleteWindow.h"
#include "support/WindowParts.h"

#include "ui/athletes/AthleteEditorDialog.h"
#include "ui/athletes/AthleteSearchDialog.h"
#include "ui/squads/GroupDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

using namespace athletewindow;

namespace {

// Seven athletes; "U19" holds 2, 4 and 6 (Meier, Meier, Zorn), "Kader" holds 3.
const QStringList kSquad{
    "INSERT INTO sportler (ID, Name, Vorname) VALUES (1, 'Meier', 'Hans'), (2, 'Meier', 'Anna'),"
    " (3, 'Berg', 'Ben'), (4, 'Meyer', 'Udo'), (5, 'Zorn', 'Eva'), (6, 'Zorn', 'Ida'),"
    " (7, 'Adler', 'Tim')",
    "INSERT INTO gruppen (Name) VALUES ('U19'), ('Kader')",
    "INSERT INTO gruppen_sportler (Gruppe_ID, Sportler_ID) SELECT g.ID, s.ID FROM gruppen g, "
    "sportler s WHERE (g.Name = 'U19' AND s.ID IN (2, 4, 6)) OR (g.Name = 'Kader' AND s.ID = 3)",
};

QStringList ids(MainWindow& w) {
    return gridColumn(athleteGrid(w), 0);
}

QComboBox* groupChooser(MainWindow& w) {
    return part<QComboBox>(w, QStringLiteral("groupChooser"));
}

void choose(MainWindow& w, const QString& group) {
    QComboBox* chooser = groupChooser(w);
    chooser->setCurrentIndex(chooser->findText(group));
}

QStringList chooserTexts(MainWindow& w) {
    QStringList out;
    for (int i = 0; i < groupChooser(w)->count(); ++i)
        out << groupChooser(w)->itemText(i);
    return out;
}

} // namespace

// The group chooser above the athlete grid, the search and the editor within a group, the
// group dialog, and the keyboard step through a group's athletes.
class TestGroupsWindow : public QObject {
    Q_OBJECT

private slots:
    void chooserFiltersTheGridAndTheSearch() {
        MainWindowFixture f;
        seed(f, kSquad);
        MainWindow& w = open(f);
        QCOMPARE(chooserTexts(w), (QStringList{"Alle Sportler", "Kader", "U19"}));
        QCOMPARE(ids(w), (QStringList{"1", "2", "3", "4", "5", "6", "7"}));

        choose(w, "U19");
        QCOMPARE(ids(w), (QStringList{"2", "4", "6"}));
        QCOMPARE(selectedAthleteId(w), 2);

        // The search finds within the group: "Mei…" is Meier and Meyer there, not Hans Meier.
        whenShown(athleteSearch(w), [&] {
            part<QLineEdit>(*athleteSearch(w), "surnameField")->setText("mei");
            part<QLineEdit>(*athleteSearch(w), "surnameField")->setFocus();
            QFocusEvent focusIn(QEvent::FocusIn, Qt::OtherFocusReason);
            QCoreApplication::sendEvent(part<QLineEdit>(*athleteSearch(w), "surnameField"),
                                        &focusIn);
            part<QPushButton>(*athleteSearch(w), "searchButton")->click();
        });
        action(w, "searchAction")->trigger();
        QCOMPARE(ids(w), (QStringList{"2"}));
        // "Alle zeigen" shows the whole group again.
        action(w, "showAllAction")->trigger();
        QCOMPARE(ids(w), (QStringList{"2", "4", "6"}));

        // A new athlete joins the group listed.
        bool leftOpen = false;
        whenShown(
            athleteEditor(w),
            [&] {
                AthleteEditorDialog* e = athleteEditor(w);
                QCOMPARE(part<QListWidget>(*e, "groupsField")->count(), 2);
                QCOMPARE(part<QListWidget>(*e, "groupsField")->item(1)->text(), QString("U19"));
                QCOMPARE(part<QListWidget>(*e, "groupsField")->item(1)->checkState(), Qt::Checked);
                QCOMPARE(part<QListWidget>(*e, "groupsField")->item(0)->checkState(),
                         Qt::Unchecked);
                part<QLineEdit>(*e, "nameField")->setText("Neu");
                part<QLineEdit>(*e, "firstNameField")->setText("Nora");
                part<QPushButton>(*e, "okButton")->click();
            },
            &leftOpen);
        action(w, "newAthleteAction")->trigger();
        QVERIFY(!leftOpen);
        QCOMPARE(ids(w), (QStringList{"2", "4", "6", "8"}));
        QCOMPARE(selectedAthleteId(w), 8);

        // Taken out of the group in the editor, he leaves the list.
        whenShown(athleteEditor(w), [&] {
            part<QListWidget>(*athleteEditor(w), "groupsField")
                ->item(1)
                ->setCheckState(Qt::Unchecked);
            part<QListWidget>(*athleteEditor(w), "groupsField")
                ->item(0)
                ->setCheckState(Qt::Checked);
            part<QPushButton>(*athleteEditor(w), "okButton")->click();
        });
        action(w, "changeAthleteAction")->trigger();
        QCOMPARE(ids(w), (QStringList{"2", "4", "6"}));
        choose(w, "Kader");
        QCOMPARE(ids(w), (QStringList{"3", "8"}));
        choose(w, "Alle Sportler");
        QCOMPARE(ids(w).size(), 8);
        QVERIFY(f.messages.boxes.isEmpty());
    }

    // Groups made, renamed and deleted in the dialog reach the chooser; deleting the group
    // listed lists all athletes again, and none of them is deleted.
    void dialogChangesTheGroups() {
        MainWindowFixture f;
        seed(f, kSquad);
        MainWindow& w = open(f);
        choose(w, "U19");
        f.messages.answers.enqueue(0); // "Ja" to the deletion
        bool shown = false;
        QTimer::singleShot(0, &w, [&] {
            auto* dialog = qobject_cast<GroupDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            shown = true;
            part<QLineEdit>(*dialog, "groupNameField")->setText("Reha");
            part<QPushButton>(*dialog, "newGroupButton")->click();
            part<QLineEdit>(*dialog, "groupNameField")->setText("kader");
            part<QPushButton>(*dialog, "newGroupButton")->click(); // refused: "Kader" is there
            const auto item = [dialog](const QString& name) {
                const auto items =
                    part<QListWidget>(*dialog, "groupList")->findItems(name, Qt::MatchExactly);
                return items.isEmpty() ? nullptr : items.first();
            };
            part<QListWidget>(*dialog, "groupList")->setCurrentItem(item("U19"));
            part<QPushButton>(*dialog, "deleteGroupButton")->click();
            part<QListWidget>(*dialog, "groupList")->setCurrentItem(item("Reha"));
            part<QLineEdit>(*dialog, "groupNameField")->setText("Reha 2027");
            part<QPushButton>(*dialog, "renameGroupButton")->click();
            part<QPushButton>(*dialog, "closeButton")->click();
        });
        action(w, "groupsAction")->trigger();
        QVERIFY(shown);
        QVERIFY(!part<GroupDialog>(w, "groupDialog")->isVisible());
        QCOMPARE(chooserTexts(w), (QStringList{"Alle Sportler", "Kader", "Reha 2027"}));
        QCOMPARE(groupChooser(w)->currentText(), QString("Alle Sportler"));
        QCOMPARE(ids(w).size(), 7);
        QCOMPARE(f.messages.boxes.size(), 2);
        QCOMPARE(f.messages.boxes[0].text, QString("Eine Gruppe „Kader“ gibt es schon."));
        QCOMPARE(f.messages.boxes[1].text, QString("Soll die Gruppe „U19“ gelöscht werden? Ihre "
                                                   "Sportler bleiben gespeichert."));
    }

    // Ctrl+Down selects the next athlete of the group, wherever the focus is; at the last one
    // it stays.
    void nextAthleteByKey() {
        MainWindowFixture f;
        seed(f, kSquad);
        MainWindow& w = open(f);
        choose(w, "U19");
        QCOMPARE(selectedAthleteId(w), 2);
        QTest::keyClick(athleteGrid(w), Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(selectedAthleteId(w), 4);
        QCOMPARE(gridSelectedRow(athleteGrid(w)), 1);
        historyList(w)->setFocus();
        QTest::keyClick(historyList(w), Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(selectedAthleteId(w), 6);
        QTest::keyClick(historyList(w), Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(selectedAthleteId(w), 6);
        QCOMPARE(action(w, "nextAthleteAction")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Down));
        QVERIFY(f.messages.boxes.isEmpty());
    }
};

QTEST_MAIN(TestGroupsWindow)
#include "tst_groups.moc"
