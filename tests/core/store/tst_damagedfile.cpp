#include "core/analysis/Ranking.h"
#include "core/analysis/StoredMeasurements.h"
#include "core/base/Errors.h"
#include "core/export/Exporter.h"
#include "core/export/TidyExport.h"
#include "core/export/Workbook.h"
#include "core/history/History.h"
#include "core/report/AthleteReport.h"
#include "core/store/DataStore.h"
#include "core/store/SeriesKey.h"
#include "support/DamagedFile.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

// A database file found damaged by the check at start is only read: every reading the windows
// and the command line do works on it (the exports once began with a word the store took for a
// change and were refused), and every change is refused with the file's name and the way out.
class TestDamagedFile : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    StoreLocation location_;
    DataStore store_;
    Athlete meier_;
    qint64 group_ = 0;

    QString path(const QString& name) const { return dir_.filePath(name); }

private slots:
    // Meier in the group U19 with a single jump and a series of three, its second jump
    // excluded; then the file damaged beside them and checked.
    void initTestCase() {
        location_ = StoreLocation::embedded(dir_.path());
        {
            DataStore store;
            store.open(location_);
            meier_ = Athlete{0, "Meier", "Anna", QDate(2001, 2, 3), {}, 1, {}};
            meier_.id = store.athletes().add(meier_);
            group_ = store.groups().add("U19");
            store.groups().setGroupsOf(meier_.id, {group_});
            const QDateTime now = QDateTime::currentDateTime();
            store.measurements().recordFirstJump(meier_.id, now.addDays(-2), {200, 500, 1.25, 1},
                                                 {"Drop Jump", 40});
            const Measurement series = store.measurements().recordFirstJump(
                meier_.id, now.addDays(-1), {210, 480, 1.1, 1}, {"Sprungserie", {}});
            store.measurements().recordJump(series.id, {220, 470, 1.0, 2});
            store.measurements().recordJump(series.id, {230, 460, 0.92, 3});
            store.measurements().exclude(seriesKey(meier_.id, 2), 2, {"Fehlversuch", "t", now});
        }
        QVERIFY(damagedfile::damageBallast(location_));
        store_.open(location_);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^kalvero: .*qrv\\.sqlite: "));
        store_.checkInBackground(QDate::currentDate(), 0, nullptr, {});
        store_.finishBackgroundWork();
        QVERIFY(store_.damaged());
    }

    void everyReadingWorks_data() {
        QTest::addColumn<QString>("reading");
        for (const char* reading : {"Exportieren", "Alle Exportieren", "table (CSV)", "workbook",
                                    "the athletes of a group", "PDF report", "analysis", "ranking",
                                    "history", "jump grid"})
            QTest::newRow(reading) << QString::fromUtf8(reading);
    }
    void everyReadingWorks() {
        QFETCH(QString, reading);
        const QList<qint64> ids{meier_.id};
        if (reading == "Exportieren") {
            const QStringList lines = Exporter(store_).text(ids).split("\r\n");
            QCOMPARE(lines.size(), 6); // the header, four jumps and the rest after the last end
            QVERIFY2(lines[1].startsWith("Meier;Anna;"), qPrintable(lines[1]));
        } else if (reading == "Alle Exportieren") {
            QCOMPARE(Exporter(store_).writeFile(path("alle.txt"), ids).outcome,
                     Exporter::Outcome::Written);
            QVERIFY(QFileInfo(path("alle.txt")).size() > 100);
        } else if (reading == "table (CSV)") {
            const auto result = tidyexport::writeCsv(store_, path("t.csv"), ids, {});
            QCOMPARE(result.outcome, Exporter::Outcome::Written);
            QCOMPARE(result.written.jumps, 4);
            QFile file(path("t.csv"));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QVERIFY(file.readAll().contains(",1,Fehlversuch,"));
        } else if (reading == "workbook") {
            const auto result = workbook::write(store_, path("t.xlsx"), ids, {});
            QCOMPARE(result.outcome, Exporter::Outcome::Written);
            QCOMPARE(result.written.jumps, 4);
        } else if (reading == "the athletes of a group") {
            QCOMPARE(tidyexport::athletesToExport(store_, "u19"), ids);
        } else if (reading == "PDF report") {
            const auto report = report::read(store_.measurements(), meier_, 2);
            QVERIFY(report);
            QCOMPARE(report->lines.size(), 2);
            QVERIFY(report->selected);
        } else if (reading == "analysis") {
            const auto measurements =
                analysis::storedMeasurements(store_.measurements(), meier_.id);
            QCOMPARE(measurements.size(), 2);
            QCOMPARE(measurements[1].jumps.size(), 3);
            QVERIFY(measurements[1].jumps[1].excluded);
        } else if (reading == "ranking") {
            const ranking::Period period = ranking::Period::lastDays(QDate::currentDate());
            const auto athletes = ranking::read(store_.athletes(), store_.groups(), group_, period);
            QCOMPARE(athletes.size(), 1);
            QCOMPARE(athletes[0].measurements.size(), 2);
            const QList<ranking::RankedTest> tests = ranking::testsRun(athletes, period);
            QCOMPARE(tests.size(), 2);
            QCOMPARE(ranking::rank(athletes, period, tests.first(), {}).first().measurementCount,
                     1);
        } else if (reading == "history") {
            QCOMPARE(history::build(store_.measurements(), meier_.id).size(), 2);
        } else {
            QCOMPARE(store_.jumps().ofSeries(seriesKey(meier_.id, 2)).size(), 3);
        }
        QVERIFY(store_.damaged());
    }

    void everyChangeIsRefused_data() {
        QTest::addColumn<QString>("change");
        for (const char* change :
             {"new athlete", "new measurement", "exclusion", "new group", "deletion", "take-over"})
            QTest::newRow(change) << QString::fromUtf8(change);
    }
    void everyChangeIsRefused() {
        QFETCH(QString, change);
        const auto failure = failureOf([&] {
            if (change == "new athlete")
                store_.athletes().add(Athlete{0, "Neu", "Nina", {}, {}, -1, {}});
            else if (change == "new measurement")
                store_.measurements().recordFirstJump(meier_.id, QDateTime::currentDateTime(),
                                                      {200, 500, 1.25, 1});
            else if (change == "exclusion")
                store_.measurements().exclude(seriesKey(meier_.id, 2), 1, {"x", "t", {}});
            else if (change == "new group")
                store_.groups().add("U21");
            else if (change == "deletion")
                store_.measurements().remove(meier_.id, 1);
            else
                store_.allOrNothing([] { return true; });
        });
        QVERIFY(failure);
        QCOMPARE(failure->text, store_.damagedText());
        QVERIFY(failure->text.contains(QDir::toNativeSeparators(location_.filePath())));
        QCOMPARE(history::build(store_.measurements(), meier_.id).size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestDamagedFile)
#include "tst_damagedfile.moc"
