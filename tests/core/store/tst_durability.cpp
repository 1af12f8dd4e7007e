#include "core/store/Database.h"
#include "core/store/MeasurementRepository.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cstdio>
#include <sys/stat.h>

namespace {

constexpr char kChildVariable[] = "KALVERO_RECORDING_CHILD";

// The child: records one series in the given data directory, jump after jump, and says
// after every commit how many jumps it holds, until it is killed.
int recordUntilKilled(const QString& directory) {
    Database db(directory);
    MeasurementRepository measurements(db);
    const qint64 id =
        measurements.recordFirstJump(12, QDateTime::currentDateTime(), {200, 500, 1.25, 1}).id;
    std::printf("1\n");
    std::fflush(stdout);
    for (qint32 jumpIndex = 2;; ++jumpIndex) {
        measurements.recordJump(id, {200, 500, 1.25, jumpIndex});
        std::printf("%d\n", jumpIndex);
        std::fflush(stdout);
    }
}

QVariant scalar(const QString& path, const QString& statement) {
    QVariant value;
    {
        QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "check");
        raw.setDatabaseName(path);
        if (raw.open()) {
            QSqlQuery q(raw);
            if (q.exec(statement) && q.next())
                value = q.value(0);
        }
    }
    QSqlDatabase::removeDatabase("check");
    return value;
}

} // namespace

// What is committed stays committed: through a kill of the program in the middle of a series,
// and from a database file of the earlier version that kept a rollback journal.
class TestDurability : public QObject {
    Q_OBJECT
private slots:
    void aKilledSeriesKeepsEveryRecordedJump() {
        QTemporaryDir dir;
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QLatin1String(kChildVariable), dir.path());
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(child.waitForStarted());
        int reported = 0;
        while (reported < 40 && child.waitForReadyRead(10000))
            while (child.canReadLine())
                reported = child.readLine().trimmed().toInt();
        QVERIFY2(reported >= 40, "the child recorded too few jumps");
        child.kill(); // SIGKILL: no clean-up of any kind
        QVERIFY(child.waitForFinished());

        const QString path = dir.filePath(StoreLocation::kFileName);
        const int stored = scalar(path, "SELECT COUNT(*) FROM mr WHERE Serie = 12001").toInt();
        QVERIFY2(stored >= reported,
                 qPrintable(QStringLiteral("%1 < %2").arg(stored).arg(reported)));
        QCOMPARE(scalar(path, "SELECT FZ FROM units WHERE Nummer = 1").toInt(), stored);
        QCOMPARE(scalar(path, "SELECT MAX(Anzahl) FROM mr").toInt(), stored);
    }

    // Copied into the file after the jumps, the log starts again from its beginning: over a
    // long series it stays as long as SQLite keeps it of itself (it would grow to twice that
    // before a commit copies it), and every jump stays stored.
    void theLogStaysShortOverALongSeries() {
        QTemporaryDir dir;
        const QString path = QDir(dir.path()).filePath(StoreLocation::kFileName);
        qint64 longest = 0;
        {
            Database db(dir.path());
            MeasurementRepository measurements(db);
            const qint64 id =
                measurements.recordFirstJump(12, QDateTime::currentDateTime(), {200, 500, 1.25, 1})
                    .id;
            for (qint32 jumpIndex = 2; jumpIndex <= 700; ++jumpIndex) {
                measurements.recordJump(id, {200, 500, 1.25, jumpIndex});
                db.checkpointIfDue();
                longest = std::max(longest, QFileInfo(path + "-wal").size());
            }
        }
        // A page of 4096 bytes with its frame's header of 24, a few pages a commit.
        const qint64 page = 4096 + 24;
        QVERIFY2(longest > 0 && longest <= 32 + (Database::kCheckpointFrames + 8) * page,
                 qPrintable(QString::number(longest)));
        QCOMPARE(scalar(path, "SELECT COUNT(*) FROM mr WHERE Serie = 12001").toInt(), 700);
        QCOMPARE(scalar(path, "SELECT FZ FROM units WHERE Ref_ID = 12").toInt(), 700);
    }

    void aDatabaseOfTheEarlierVersionWorksUnchanged() {
        QTemporaryDir dir;
        const QString path = dir.filePath(StoreLocation::kFileName);
        {
            // The file as the earlier version wrote it: the same tables, a rollback journal.
            QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "old");
            raw.setDatabaseName(path);
            QVERIFY(raw.open());
            QSqlQuery q(raw);
            for (const char* statement :
                 {"PRAGMA journal_mode=DELETE",
                  "CREATE TABLE sportler (ID INTEGER PRIMARY KEY AUTOINCREMENT, Name VARCHAR(50),"
                  " Vorname VARCHAR(50), Geb DATE, Geschl INTEGER, Bemerkung1 VARCHAR(100),"
                  " Bemerkun2 VARCHAR(100))",
                  "CREATE TABLE units (ID INTEGER PRIMARY KEY AUTOINCREMENT, Ref_ID INTEGER,"
                  " Datum TIMESTAMP, Nummer INTEGER, SZ INTEGER, FZ INTEGER, Eff DOUBLE,"
                  " Bem VARCHAR(100))",
                  "CREATE TABLE mr (Serie DOUBLE, SZ DOUBLE, FZ DOUBLE, Eff DOUBLE, Anzahl DOUBLE)",
                  "CREATE INDEX units_ref_id ON units (Ref_ID)",
                  "CREATE INDEX mr_serie ON mr (Serie)",
                  "INSERT INTO sportler (Name, Vorname) VALUES ('Meier', 'Anna')",
                  "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300)"
                  " INSERT INTO units (Ref_ID, Datum, Nummer, FZ) SELECT 1,"
                  " '2025-01-01T10:00:00', i, 10 FROM n",
                  "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 2999)"
                  " INSERT INTO mr SELECT 1001 + i / 10, 200, 500, 1.25, 1 + i % 10 FROM n"})
                QVERIFY2(q.exec(QLatin1String(statement)), statement);
            raw.close();
        }
        QSqlDatabase::removeDatabase("old");
        {
            Database db(path.section('/', 0, -2));
            MeasurementRepository measurements(db);
            QCOMPARE(measurements.ofAthlete(1).size(), 300);
            QCOMPARE(measurements.jumpsOf(1300).size(), 10);
            QCOMPARE(
                measurements.recordFirstJump(1, QDateTime::currentDateTime(), {200, 500, 1.25, 1})
                    .measurementNumber,
                301);
        }
        QCOMPARE(scalar(path, "SELECT COUNT(*) FROM mr").toInt(), 3001);
        QCOMPARE(scalar(path, "PRAGMA journal_mode").toString(), QStringLiteral("wal"));

        // Read-only, as a user without write access sees it, it still shows every row.
        QVERIFY(::chmod(QFile::encodeName(path).constData(), 0444) == 0);
        QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0555) == 0);
        {
            Database db(dir.path());
            QCOMPARE(MeasurementRepository(db).ofAthlete(1).size(), 301);
            QCOMPARE(db.probeWriteAccess().access, WriteAccess::ReadOnly);
        }
        ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
    }
};

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsSet(kChildVariable))
        return recordUntilKilled(qEnvironmentVariable(kChildVariable));
    TestDurability test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_durability.moc"
