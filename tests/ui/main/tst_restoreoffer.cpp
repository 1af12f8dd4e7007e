#include "core/store/AthleteRepository.h"
#include "core/store/Backup.h"
#include "core/store/Database.h"
#include "support/DamagedFile.h"
#include "support/MainWindowFixture.h"
#include "support/WindowParts.h"
#include "ui/athletes/AthleteTableModel.h"
#include "ui/common/WriteCheck.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QtTest>

// A database file found damaged by the check at start: the window offers the newest sound
// backup; the damaged file stays beside it.
class TestRestoreOffer : public QObject {
    Q_OBJECT

    // Athletes with these names and enough jumps for many pages.
    static void fill(const StoreLocation& location, const QStringList& names) {
        Database db(location);
        Database::Transaction t(db);
        for (const QString& name : names)
            db.write("INSERT INTO sportler (Name, Vorname) VALUES (?, 'Anna')", {name});
        for (int i = 0; i < 3000; ++i)
            db.write("INSERT INTO mr VALUES (?, 200, 500, 1.25, 1)", {1001 + i});
        t.commit();
    }

    static void damageAPage(const QString& path) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        file.seek((file.size() / 4096 - 2) * 4096);
        file.write(QByteArray(4096, '\x5a'));
    }

private slots:
    void theNewestSoundBackupIsOffered_data() {
        QTest::addColumn<int>("answer"); // 0 restore, 1 read only
        QTest::newRow("restored") << 0;
        QTest::newRow("read only") << 1;
    }
    void theNewestSoundBackupIsOffered() {
        QFETCH(int, answer);
        MainWindowFixture f;
        if (f.onServer())
            QSKIP("a damaged database file");
        fill(f.location(), {"Meier"});
        backup::makeDaily(f.dataDirectory(), f.clock.now().date().addDays(-1), 14);
        fill(f.location(), {"Schulz"});
        const QString path = f.dataDirectory() + "qrv.sqlite";
        damageAPage(path);
        f.messages.answers.enqueue(answer);
        MainWindow& w = f.start();
        QTRY_VERIFY_WITH_TIMEOUT(!f.messages.boxes.isEmpty(), 10000);
        const MessageBox offer = f.messages.boxes.first();
        QCOMPARE(offer.buttons, (QStringList{"Wiederherstellen", "Nur lesen"}));
        QVERIFY2(offer.text.contains(QDir::toNativeSeparators(path)), qPrintable(offer.text));
        QVERIFY2(offer.text.contains(backup::dailyName(f.clock.now().date().addDays(-1))),
                 qPrintable(offer.text));
        const QStringList aside = QDir(f.dataDirectory()).entryList({"qrv-beschaedigt-*.sqlite"});
        if (answer == 0) {
            QCOMPARE(f.messages.boxes.size(), 2);
            QCOMPARE(aside.size(), 1);
            QVERIFY2(f.messages.boxes[1].text.contains(aside.first()),
                     qPrintable(f.messages.boxes[1].text));
            QCOMPARE(athleteGrid(w)->model()->rowCount(), 1);
            QVERIFY(!f.station->store().damaged());
        } else {
            QCOMPARE(f.messages.boxes.size(), 1);
            QVERIFY(aside.isEmpty());
            QCOMPARE(athleteGrid(w)->model()->rowCount(), 2);
            QVERIFY(f.station->store().damaged());
            f.messages.clear();
            QVERIFY(!checkWritable(f.station->store(), f.messages));
            QCOMPARE(f.messages.texts(), QStringList{f.station->store().damagedText()});
        }
        f.finish();
    }

    // Kept as it is (no backup to offer), a damaged file is read by every export, the report,
    // the analysis and the ranking with its team report as a sound one is; the exports were
    // once refused as changes.
    void aDamagedFileIsStillRead_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("file"); // written; none for a window that shows
        QTest::newRow("Exportieren") << "exportOneAction"
                                     << "meier.txt";
        QTest::newRow("Alle Exportieren") << "exportAllAction"
                                          << "alle.txt";
        QTest::newRow("table (CSV)") << "exportTableAction"
                                     << "tabelle.csv";
        QTest::newRow("workbook") << "exportWorkbookAction"
                                  << "mappe.xlsx";
        QTest::newRow("PDF report") << "reportAction"
                                    << "bericht.pdf";
        QTest::newRow("team report") << "rankingAction"
                                     << "team.pdf";
        QTest::newRow("analysis") << "analysisAction"
                                  << "";
    }
    void aDamagedFileIsStillRead() {
        QFETCH(QString, name);
        QFETCH(QString, file);
        MainWindowFixture f;
        if (f.onServer())
            QSKIP("a damaged database file");
        {
            DataStore store;
            store.open(f.location());
            const qint64 meier = store.athletes().add(Athlete{0, "Meier", "Anna", {}, {}, 1, {}});
            store.groups().setGroupsOf(meier, {store.groups().add("U19")});
            const Measurement m = store.measurements().recordFirstJump(
                meier, QDateTime::currentDateTime().addDays(-1), {200, 500, 1.25, 1});
            store.measurements().recordJump(m.id, {210, 490, 1.14, 2});
        }
        QVERIFY(damagedfile::damageBallast(f.location()));
        MainWindow& w = f.start();
        QTRY_VERIFY_WITH_TIMEOUT(!f.messages.boxes.isEmpty(), 10000);
        QVERIFY(f.messages.boxes.first().text.startsWith(f.station->store().damagedText()));
        f.messages.clear();
        const QString target = f.dir.filePath(file);
        f.messages.fileNames.enqueue(target);
        action(w, name)->trigger();
        if (name == "rankingAction")
            part<QPushButton>(*w.findChild<QWidget*>("rankingWindow"), "reportButton")->click();
        QVERIFY2(f.messages.boxes.isEmpty(), qPrintable(f.messages.texts().join('\n')));
        if (!file.isEmpty())
            QVERIFY(QFileInfo(target).size() > 0);
        if (name == "exportOneAction")
            QVERIFY(f.messages.clipboard.contains("Meier;Anna;"));
        if (name == "analysisAction")
            QVERIFY(label(*w.findChild<QWidget*>("analysisWindow"), "headingLabel")
                        ->text()
                        .startsWith("Meier, Anna"));
        QVERIFY(f.station->store().damaged());
        f.finish();
    }
};

QTEST_MAIN(TestRestoreOffer)
#include "tst_restoreoffer.moc"
