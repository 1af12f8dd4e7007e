#include "core/base/Texts.h"
#include "core/export/ExportFormat.h"
#include "support/AthleteWindow.h"
#include "support/FileSizeLimit.h"
#include "support/WindowParts.h"
#include "ui/athletes/AthleteTableModel.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>

using namespace athletewindow;

namespace {

// Three athletes; the second has a single measurement, the third a series of two jumps.
const QStringList kData{
    "INSERT INTO sportler (ID, Name, Vorname) VALUES (1, 'Adler', 'Ada'), (2, 'Müller', "
    "'Jörg'), (3, 'Zorn', 'Zora')",
    "INSERT INTO units (Ref_ID, Datum, Nummer, FZ) VALUES (2, '2026-12-06T19:05:09', 1, 1), "
    "(3, '2026-12-07T08:00:00', 1, 2)",
    "INSERT INTO mr VALUES (2001, 200, 500, 1.25, 1), (3001, 180, 450, 1.13, 1), "
    "(3001, 150, 600, 2.4, 2)"};

const QString kHeaderLine = exportfile::kHeader + QStringLiteral("\r\n");

} // namespace

// The two export actions in the window: the save dialog, the clipboard, the messages and
// the athlete selected afterwards (the one picked before). The file's content is the
// exporter's own test.
class TestExportActions : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { texts::setLocale(QLocale(QLocale::German, QLocale::Germany)); }

    void actions_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("target"); // "" cancelled, "@" the test's directory
        QTest::addColumn<bool>("cancelInProgress");
        QTest::addColumn<int>("lines"); // of the file; -1 none
        QTest::addColumn<bool>("clipboard");
        QTest::addColumn<bool>("message");
        QTest::newRow("one athlete") << "exportOneAction"
                                     << "@/a.txt" << false << 2 << true << false;
        QTest::newRow("one athlete, cancelled") << "exportOneAction"
                                                << "" << false << -1 << false << false;
        QTest::newRow("one athlete, cannot be written")
            << "exportOneAction"
            << "@/missing/a.txt" << false << -1 << false << true;
        QTest::newRow("all athletes") << "exportAllAction"
                                      << "@/a.txt" << false << 4 << false << false;
        QTest::newRow("all athletes, cancelled") << "exportAllAction"
                                                 << "" << false << -1 << false << false;
        QTest::newRow("all athletes, cancelled while it runs: the earlier file stays")
            << "exportAllAction"
            << "@/old.txt" << true << 0 << false << false;
        QTest::newRow("all athletes, cannot be written")
            << "exportAllAction"
            << "@/missing/a.txt" << false << -1 << false << true;
    }
    void actions() {
        QFETCH(QString, action);
        QFETCH(QString, target);
        QFETCH(bool, cancelInProgress);
        QFETCH(int, lines);
        QFETCH(bool, clipboard);
        QFETCH(bool, message);
        texts::setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
        MainWindowFixture f;
        seed(f, kData);
        MainWindow& w = open(f);
        clickRow(athleteGrid(w), 1);
        target.replace('@', f.dir.path());
        f.messages.fileNames << target;
        f.messages.clipboard = QStringLiteral("before");
        {
            QFile old(f.dir.filePath("old.txt"));
            QVERIFY(old.open(QIODevice::WriteOnly));
        }
        if (cancelInProgress)
            f.messages.cancelAfter = 1;

        part<QAction>(w, action)->trigger();

        const bool one = action == "exportOneAction";
        QCOMPARE(f.messages.saveRequests.size(), 1);
        QCOMPARE(f.messages.saveRequests[0].title,
                 one ? QStringLiteral("einzelnen Sportler exportieren")
                     : QStringLiteral("alle Sportler exportieren"));
        QCOMPARE(f.messages.saveRequests[0].filter, QStringLiteral("Textdatei|*.txt"));
        QCOMPARE(f.messages.saveRequests[0].defaultSuffix, QStringLiteral("txt"));
        const QString today = QDate::currentDate().toString(Qt::ISODate);
        QCOMPARE(f.messages.saveRequests[0].suggestedName,
                 one ? "Müller_Jörg_" + today + ".txt" : "Sportler_" + today + ".txt");
        QFile file(target);
        QCOMPARE(file.open(QIODevice::ReadOnly), lines >= 0);
        if (lines >= 0)
            QCOMPARE(file.readAll().count("\r\n"), lines);
        QCOMPARE(f.messages.clipboardWrites, clipboard ? 1 : 0);
        if (clipboard)
            QCOMPARE(f.messages.clipboard,
                     kHeaderLine + QStringLiteral("Müller;Jörg;06.12.2026;19:05:09;200,000;"
                                                  "500,000;1,250;30,700\r\n"));
        QCOMPARE(f.messages.boxes.size(), message ? 1 : 0);
        if (!one && !target.isEmpty())
            QVERIFY(
                f.messages.progressLabels.first().startsWith(QStringLiteral("Export läuft … ")));
        if (message) {
            QCOMPARE(f.messages.boxes[0].title, QStringLiteral("Kalvero"));
            QVERIFY(f.messages.boxes[0].text.startsWith(QStringLiteral("Datei \"%1\" kann nicht "
                                                                       "erstellt werden. ")
                                                            .arg(target)));
        }
        // The window shows numbers as before, the hourglass is gone, and the athlete picked
        // before stays selected with his history: the next run records for him.
        QCOMPARE(texts::decimalSeparator(), QLatin1Char('.'));
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QCOMPARE(selectedAthleteId(w), qint64(2));
        QCOMPARE(gridSelectedRow(athleteGrid(w)), 1);
        QCOMPARE(historyList(w)->topLevelItemCount(), 1);
    }

    // The table and the workbook for analysis tools: the choice between the selected athlete
    // and those listed, the save dialog, and the rows of the athletes chosen.
    void tables_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("answer"); // the button of the choice
        QTest::addColumn<QString>("suggested");
        QTest::addColumn<int>("jumps");  // rows of the file; -1 none written
        QTest::addColumn<bool>("group"); // Müller and Zorn in the group "U19", chosen
        QTest::newRow("table, selected athlete")
            << "exportTableAction" << 0 << "Müller_Jörg_@.csv" << 1 << false;
        QTest::newRow("table, listed athletes")
            << "exportTableAction" << 1 << "Sportler_@.csv" << 3 << false;
        QTest::newRow("table, choice cancelled") << "exportTableAction" << 2 << "" << -1 << false;
        QTest::newRow("workbook, listed athletes")
            << "exportWorkbookAction" << 1 << "Sportler_@.xlsx" << 3 << false;
        QTest::newRow("table, the chosen group")
            << "exportTableAction" << 1 << "U19_@.csv" << 3 << true;
    }
    void tables() {
        QFETCH(QString, action);
        QFETCH(int, answer);
        QFETCH(QString, suggested);
        QFETCH(int, jumps);
        QFETCH(bool, group);
        MainWindowFixture f;
        seed(f, kData);
        if (group)
            seed(f, {"INSERT INTO gruppen (ID, Name) VALUES (1, 'U19')",
                     "INSERT INTO gruppen_sportler VALUES (1, 2), (1, 3)"});
        MainWindow& w = open(f);
        if (group)
            part<QComboBox>(w, "groupChooser")->setCurrentText("U19");
        clickRow(athleteGrid(w), group ? 0 : 1);
        const bool csv = action == "exportTableAction";
        const QString path = f.dir.filePath(csv ? "t.csv" : "t.xlsx");
        f.messages.answers << answer;
        f.messages.fileNames << path;

        part<QAction>(w, action)->trigger();

        QCOMPARE(f.messages.boxes.size(), 1);
        QCOMPARE(
            f.messages.boxes[0].buttons,
            (QStringList{"&Ausgewählter Sportler",
                         group ? "&Gruppe \"U19\"" : "Alle an&gezeigten Sportler", "Abbrechen"}));
        QCOMPARE(f.messages.saveRequests.size(), jumps >= 0 ? 1 : 0);
        QCOMPARE(QFileInfo::exists(path), jumps >= 0);
        if (jumps < 0)
            return;
        QCOMPARE(f.messages.saveRequests[0].suggestedName,
                 QString(suggested).replace('@', QDate::currentDate().toString(Qt::ISODate)));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        if (csv)
            QCOMPARE(file.readAll().count("\r\n"), 1 + jumps);
        else
            QVERIFY(file.read(2) == "PK");
        QCOMPARE(selectedAthleteId(w), qint64(2));
    }

    // Before: "Alle Exportieren" and the table onto a disk that filled left a 0-byte file
    // without a word. Now every writer of the window, the disk filling at its first, a middle
    // or its last write, tells the file and the cause in a box and leaves the files written
    // before as they were.
    void writesOnAFullDisk_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("at"); // 0: first write, 1: a middle one, 2: the last
        for (const auto& [action, name] :
             {std::pair{"exportOneAction", "einer.txt"}, std::pair{"exportAllAction", "alle.txt"},
              std::pair{"exportTableAction", "alle.csv"},
              std::pair{"exportWorkbookAction", "alle.xlsx"},
              std::pair{"reportAction", "bericht.pdf"}})
            for (int at = 0; at < 3; ++at)
                QTest::addRow("%s, write %d", action, at) << action << name << at;
    }
    void writesOnAFullDisk() {
        QFETCH(QString, action);
        QFETCH(QString, name);
        QFETCH(int, at);
        MainWindowFixture f;
        seed(f, kData);
        MainWindow& w = open(f);
        clickRow(athleteGrid(w), 1);
        QVERIFY(QDir(f.dir.path()).mkdir("out"));
        const QString folder = f.dir.filePath("out");
        const QString path = folder + '/' + name;
        const auto filesOut = [&folder] {
            QMap<QString, QByteArray> files;
            for (const QString& n : QDir(folder).entryList(QDir::Files | QDir::Hidden)) {
                QFile file(folder + '/' + n);
                files.insert(n, file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
            }
            return files;
        };
        f.messages.answers << 1 << 1; // the listed athletes, where asked
        f.messages.fileNames << path << path;
        part<QAction>(w, action)->trigger();
        QCOMPARE(f.messages.boxes.size(),
                 action == "exportTableAction" || action == "exportWorkbookAction" ? 1 : 0);
        const QMap<QString, QByteArray> earlier = filesOut();
        const qint64 size = QFileInfo(path).size();
        QVERIFY(size > 0);
        const qsizetype boxesBefore = f.messages.boxes.size();
        {
            const FileSizeLimit full(static_cast<rlim_t>(at == 0   ? 0
                                                         : at == 1 ? size / 2
                                                                   : size - 1));
            part<QAction>(w, action)->trigger();
        }
        QVERIFY(f.messages.boxes.size() > boxesBefore);
        // The cause as the system tells it; a workbook whose last bytes the library lost
        // without a word is found incomplete.
        const QString told = f.messages.boxes.last().text;
        QVERIFY2(told.startsWith(QStringLiteral("Datei \"%1\" kann nicht erstellt werden. ")
                                     .arg(QDir::toNativeSeparators(path))) &&
                     (told.contains("Die Datei wird zu groß für den Datenträger.") ||
                      (action == "exportWorkbookAction" &&
                       told.contains("Die Arbeitsmappe ist unvollständig geblieben"))),
                 qPrintable(told));
        QCOMPARE(filesOut(), earlier);
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }
};

QTEST_MAIN(TestExportActions)
#include "tst_export.moc"
