#include "core/base/Errors.h"
#include "core/store/Journal.h"
#include "core/store/SeriesKey.h"
#include "core/store/StationFile.h"
#include "core/takeover/StationMerge.h"
#include "support/TempDataDir.h"

#include <QtTest>

using namespace takeover;

namespace {

// A station's own file: Müller with a single jump and a series with a test and an excluded
// jump, and a measurement whose athlete is gone.
QString makeStationFile(const QString& directory) {
    Database db(directory);
    QSqlQuery q(db.connection());
    const QStringList statements{
        "INSERT INTO sportler (ID, Name, Vorname, Geb, Geschl) VALUES "
        "(5, 'Müller', 'Jörg', '1980-05-17', 0)",
        "INSERT INTO units (ID, Ref_ID, Datum, Nummer, FZ) VALUES "
        "(1, 5, '2026-12-01T10:00:00', 1, 1), (2, 5, '2026-12-01T11:00:00', 2, 3), "
        "(3, 99, '2026-12-01T12:00:00', 1, 1)",
        QStringLiteral("INSERT INTO mr VALUES (%1, 200, 500, 1.25, 1), (%2, 210, 510, 1.2, 1), "
                       "(%2, 220, 520, 1.2, 2), (%2, 230, 530, 1.2, 3), (99001, 1, 1, 1, 1)")
            .arg(seriesKey(5, 1))
            .arg(seriesKey(5, 2)),
        "INSERT INTO units_test (Unit_ID, Test, Fallhoehe) VALUES (2, 'DJ', 40)",
        "INSERT INTO mr_ausschluss (Unit_ID, Anzahl, Grund) VALUES (2, 2, 'Doppelkontakt')",
    };
    for (const QString& statement : statements)
        if (!q.exec(statement))
            qFatal("%s: %s", qPrintable(statement), qPrintable(q.lastError().text()));
    return QDir(directory).filePath(QStringLiteral("qrv.sqlite"));
}

QStringList rows(TempDataDir& data) {
    QStringList out;
    QSqlQuery q(data.db->connection());
    q.exec("SELECT s.Name || '/' || u.Nummer || '/' || u.FZ FROM units u JOIN sportler s "
           "ON s.ID = u.Ref_ID ORDER BY u.ID");
    while (q.next())
        out << q.value(0).toString();
    return out;
}

} // namespace

class TestStationMerge : public QObject {
    Q_OBJECT
private slots:
    // The file's athlete matched as a journal's: the one of his name and birth date, a new one
    // where there is none, the user's choice where there are several; a measurement there
    // already (by identity, or at the same moment of the same athlete) is not taken twice.
    void matching_data() {
        QTest::addColumn<int>("namesakes");        // athletes of his name there
        QTest::addColumn<bool>("copiedBefore");    // his single jump is there already
        QTest::addColumn<QStringList>("expected"); // rows afterwards
        QTest::addColumn<int>("created");
        QTest::addColumn<int>("alreadyThere");
        QTest::addColumn<int>("undecided");
        QTest::newRow("exact match")
            << 1 << false << QStringList{"Müller/1/1", "Müller/2/3"} << 0 << 0 << 0;
        QTest::newRow("new athlete")
            << 0 << false << QStringList{"Müller/1/1", "Müller/2/3"} << 1 << 0 << 0;
        QTest::newRow("ambiguous waits") << 2 << false << QStringList{} << 0 << 0 << 2;
        QTest::newRow("copied before at the same moment")
            << 1 << true << QStringList{"Müller/8/3"} << 0 << 1 << 0;
    }
    void matching() {
        QFETCH(int, namesakes);
        QFETCH(bool, copiedBefore);
        QFETCH(QStringList, expected);
        QFETCH(int, created);
        QFETCH(int, alreadyThere);
        QFETCH(int, undecided);
        QTemporaryDir sourceDir;
        QTemporaryDir journalDir;
        const QString file = makeStationFile(sourceDir.path());
        TempDataDir data;
        for (int i = 0; i < namesakes; ++i)
            QVERIFY(data.run(QStringLiteral("INSERT INTO sportler (ID, Name, Vorname, Geb) VALUES "
                                            "(%1, 'Müller', 'Jörg', '1980-05-17')")
                                 .arg(40 + i)));
        if (copiedBefore)
            QVERIFY(data.run("INSERT INTO units (ID, Ref_ID, Datum, Nummer, FZ) VALUES "
                             "(70, 40, '2026-12-01T10:00:00', 7, 1)"));
        OpenedStore target(data.location);
        Journal journal(journalDir.path());

        const MergeSummary first = mergeStationFile(file, target, journal, "Halle");
        QCOMPARE(first.found, 3);
        QCOMPARE(first.withoutAthlete, 1);
        QCOMPARE(first.athletesCreated, created);
        QCOMPARE(first.alreadyThere, alreadyThere);
        QCOMPARE(first.undecided, undecided);
        QCOMPARE(first.taken, 2 - alreadyThere - undecided);
        QStringList after = rows(data);
        if (copiedBefore)
            after.removeFirst(); // the one there before
        QCOMPARE(after, expected);
        QCOMPARE(journal.waiting().size(), undecided);

        // Taken over again (as from a backup of the same file): nothing twice.
        const MergeSummary second = mergeStationFile(file, target, journal, "Halle");
        QCOMPARE(second.taken, 0);
        QCOMPARE(second.athletesCreated, 0);
        QCOMPARE(second.alreadyThere, 2 - undecided);
        QCOMPARE(rows(data).size(), after.size() + (copiedBefore ? 1 : 0));
        QCOMPARE(journal.waiting().size(), undecided);
        if (undecided == 0) {
            // Test, jumps and the exclusion came along.
            QCOMPARE(data.scalar("SELECT t.Test FROM units_test t JOIN units u ON u.ID = "
                                 "t.Unit_ID WHERE u.FZ = 3")
                         .toString(),
                     QStringLiteral("DJ"));
            QCOMPARE(data.scalar("SELECT COUNT(*) FROM mr_ausschluss").toInt(), 1);
            QCOMPARE(data.scalar("SELECT COUNT(*) FROM mr").toInt(), copiedBefore ? 3 : 4);
        } else {
            // Chosen by the user, they go with the journal's next transfer.
            const QList<JournalEntry> waiting = journal.waiting();
            QVERIFY(waiting.constFirst().undecided && waiting.constFirst().measurement.fromFile);
            journal.chooseAthlete(waiting.constFirst().journalAthleteId, 41);
            for (const JournalEntry& entry : journal.waiting()) {
                JournalledAthlete athlete = entry.athlete;
                const JournalTransfer done =
                    target.measurements().transferJournalled(entry.measurement, athlete, "Halle");
                QCOMPARE(done.outcome, JournalTransfer::Outcome::Stored);
                QCOMPARE(done.athleteId, 41);
                journal.markTransferred(entry.id, done);
            }
            QCOMPARE(rows(data), (QStringList{"Müller/1/1", "Müller/2/3"}));
            QCOMPARE(mergeStationFile(file, target, journal, "Halle").alreadyThere, 2);
        }
    }

    // A file that is not a station's database gives a clear message and writes nothing.
    void unreadableFiles_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("message");
        QTest::newRow("no database") << QByteArray("just some text, no database at all\n")
                                     << "kann nicht als Datenbank einer Station gelesen werden";
        QByteArray damaged(8192, '\x5a');
        damaged.replace(0, 16, QByteArray("SQLite format 3\0", 16));
        QTest::newRow("damaged") << damaged
                                 << "kann nicht als Datenbank einer Station gelesen werden";
        QTest::newRow("missing") << QByteArray() << "gibt es nicht";
    }
    void unreadableFiles() {
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString file = dir.filePath("fremd.sqlite");
        if (!content.isEmpty()) {
            QFile out(file);
            QVERIFY(out.open(QIODevice::WriteOnly) && out.write(content) == content.size());
        }
        TempDataDir data;
        OpenedStore target(data.location);
        Journal journal(dir.filePath("journal"));
        try {
            mergeStationFile(file, target, journal, "Halle");
            QFAIL("taken over");
        } catch (const AppError& e) {
            QVERIFY2(e.text().contains(message), qPrintable(e.text()));
            QVERIFY(e.text().contains(QStringLiteral("fremd.sqlite")));
        }
        QCOMPARE(rows(data), QStringList());
    }

    // A database without the station's tables is named as such.
    void notAStationsFile() {
        QTemporaryDir dir;
        const QString file = dir.filePath("andere.sqlite");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "other");
            db.setDatabaseName(file);
            QVERIFY(db.open());
            QSqlQuery(db).exec("CREATE TABLE kunden (ID INTEGER)");
            db.close();
        }
        QSqlDatabase::removeDatabase("other");
        try {
            StationFile source(file);
            QFAIL("opened");
        } catch (const AppError& e) {
            QVERIFY2(e.text().contains(QStringLiteral("„sportler“")), qPrintable(e.text()));
        }
    }

    // The file is read in chunks: every measurement once, whatever the chunk's size.
    void readsInChunks() {
        QTemporaryDir dir;
        {
            Database db(dir.path());
            QSqlQuery q(db.connection());
            q.exec("INSERT INTO sportler (ID, Name, Vorname) VALUES (1, 'A', 'B')");
            const int count = StationFile::kChunk * 2 + 7;
            db.connection().transaction();
            for (int i = 1; i <= count; ++i)
                q.exec(QStringLiteral("INSERT INTO units (ID, Ref_ID, Datum, Nummer, FZ) VALUES "
                                      "(%1, 1, '2026-01-01T10:00:00', %1, 1)")
                           .arg(i));
            db.connection().commit();
        }
        StationFile source(QDir(dir.path()).filePath("qrv.sqlite"));
        QSet<QString> identities;
        int chunks = 0;
        for (auto chunk = source.next(); !chunk.isEmpty(); chunk = source.next()) {
            QVERIFY(chunk.size() <= StationFile::kChunk);
            ++chunks;
            for (const StationFileMeasurement& m : chunk)
                identities.insert(m.measurement.identity);
        }
        QCOMPARE(chunks, 3);
        QCOMPARE(identities.size(), StationFile::kChunk * 2 + 7);
        QCOMPARE(source.measurementCount(), StationFile::kChunk * 2 + 7);
    }
};

QTEST_GUILESS_MAIN(TestStationMerge)
#include "tst_stationmerge.moc"
