#include "support/AthleteWindow.h"
#include "support/ParadoxTables.h"
#include "support/WindowParts.h"

#include <QAction>
#include <QDir>

using namespace athletewindow;
using namespace paradoxtables;

// "Datei" ▸ "Daten übernehmen …" in the main window.
class TestTakeover : public QObject {
    Q_OBJECT

private slots:
    void takeOver_data() {
        QTest::addColumn<QString>("trouble"); // "", "again", "cancel", "no units", "read-only"
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<int>("measurements"); // stored afterwards
        const QString found =
            "2 Sportler, 2 Messungen, 4 Sprünge gefunden; %1 Messungen sind schon vorhanden. "
            "Übernehmen?";
        QTest::newRow("taken over")
            << ""
            << QStringList{found.arg(0), "Übernommen: 2 Sportler, 2 Messungen, 3 Sprünge.\n"
                                         "Ausgelassen: 1 Sprung ohne Messung."}
            << 2;
        QTest::newRow("a second time adds nothing")
            << "again"
            << QStringList{found.arg(2), "Übernommen: 0 Sportler, 0 Messungen, 0 Sprünge.\n"
                                         "2 Messungen waren schon vorhanden.\n"
                                         "Ausgelassen: 1 Sprung ohne Messung."}
            << 2;
        QTest::newRow("not wanted") << "cancel" << QStringList{found.arg(0)} << 0;
        QTest::newRow("a table missing") << "no units" << QStringList{"units.db"} << 0;
        QTest::newRow("a database that cannot be written")
            << "read-only" << QStringList{"wird nur gelesen", "In die Datenbank"} << 0;
    }
    void takeOver() {
        QFETCH(QString, trouble);
        QFETCH(QStringList, texts);
        QFETCH(int, measurements);
        MainWindowFixture f;
        if (trouble == "read-only") {
            seed(f, {});
            QVERIFY(f.makeReadOnly());
        }
        const QString folder = f.dir.filePath("alt");
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(writeSmallFolder(folder));
        if (trouble == "no units")
            QVERIFY(QFile::remove(folder + "/units.db"));
        MainWindow& w = open(f);
        QVERIFY(f.messages.folders.isEmpty());
        if (trouble == "again") {
            f.messages.folders << folder;
            action(w, "takeOverAction")->trigger();
            f.messages.clear();
        }
        f.messages.folders << folder;
        if (trouble == "cancel")
            f.messages.answers << 1;
        action(w, "takeOverAction")->trigger();

        QCOMPARE(f.messages.boxes.size(), texts.size());
        for (int i = 0; i < texts.size(); ++i)
            QVERIFY2(f.messages.boxes[i].text.contains(texts[i]),
                     qPrintable(f.messages.boxes[i].text));
        QCOMPARE(count(f, "units"), measurements);
        QCOMPARE(count(f, "sportler"), measurements > 0 ? 2 : 0);
        if (measurements > 0) {
            // The grid lists the athletes taken over, the history the selected one's.
            QCOMPARE(gridColumn(athleteGrid(w), 2), (QStringList{"Müller", "Weiß"}));
            QCOMPARE(historyColumn(historyList(w), 7), (QStringList{"2", "1"}));
            QCOMPARE(f.messages.progressLabels.last(), "Übernahme läuft … 2 von 2 Sportlern");
        }
    }

    // Without a folder chosen nothing is read or asked.
    void noFolderChosen() {
        MainWindowFixture f;
        MainWindow& w = open(f);
        action(w, "takeOverAction")->trigger();
        QCOMPARE(f.messages.folderRequests, QStringList{"Ordner mit den alten Daten wählen"});
        QVERIFY(f.messages.boxes.isEmpty());
    }
};

QTEST_MAIN(TestTakeover)
#include "tst_takeover.moc"
