#include "core/base/Errors.h"
#include "core/store/Database.h"
#include "core/store/ResultSet.h"
#include "core/store/SecurityTools.h"
#include "core/store/Tables.h"
#include "support/TempDataDir.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

#include <sys/stat.h>

class TestResultSet : public QObject {
    Q_OBJECT

    static QStringList lines(const char* a, const char* b = nullptr) {
        QStringList l{QString::fromUtf8(a)};
        if (b)
            l << QString::fromUtf8(b);
        return l;
    }

private slots:
    void firstRunCreatesTheTables() {
        QTemporaryDir dir;
        const QString sub = dir.path() + QStringLiteral("/Morvek/QRV/");
        {
            Database db(sub);
            QVERIFY(QFile::exists(sub + QStringLiteral("qrv.sqlite")));
            for (const char* table : {"sportler", "units", "mr"}) {
                QSqlQuery q(db.connection());
                QVERIFY2(q.exec(QStringLiteral("SELECT * FROM %1").arg(QLatin1String(table))),
                         table);
            }
            QSqlQuery q(db.connection());
            QVERIFY(q.exec(QStringLiteral("PRAGMA synchronous")) && q.next());
            QCOMPARE(q.value(0).toInt(), 2); // FULL
        }
        // A second start opens the same file and keeps what it holds.
        Database again(sub);
        QVERIFY(!again.openedReadOnly());
    }

    void missingTableFailsWithTheEngineText() {
        QTemporaryDir dir;
        {
            QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "raw");
            raw.setDatabaseName(dir.filePath(QStringLiteral("qrv.sqlite")));
            QVERIFY(raw.open());
            QSqlQuery(raw).exec(QStringLiteral("CREATE TABLE sportler (ID INTEGER PRIMARY KEY)"));
            raw.close();
        }
        QSqlDatabase::removeDatabase("raw");
        Database db(dir.path());
        ResultSet q2(db, "Query2", tables::unitsRows());
        q2.setSql(tables::kQuery2Start);
        try {
            q2.open();
            QFAIL("opening a missing table must fail");
        } catch (const AppError& e) {
            QVERIFY2(e.text().contains(QStringLiteral("no such table: units")),
                     qPrintable(e.text()));
        }
        QVERIFY(!q2.isOpen());
    }

    void postsGoThroughTheRowStatements() {
        TempDataDir data;
        ResultSet q1(*data.db, "Query1", tables::sportlerRows());
        q1.setSql(tables::kQuery1Start);
        q1.open();
        QVERIFY(q1.isEmpty());

        q1.insert();
        q1.setValue("Name", QStringLiteral("Müller; \"Max\""));
        q1.setValue("vorname", QStringLiteral("O'Hara"));
        q1.setValue("Geb", QDate(1990, 2, 1));
        q1.setValue("Geschl", -1);
        q1.post();
        const qint64 id = q1.asInteger("ID");
        QVERIFY(id > 0);
        QCOMPARE(data.scalar(QStringLiteral("SELECT Vorname FROM sportler WHERE ID = %1").arg(id))
                     .toString(),
                 QStringLiteral("O'Hara"));
        QCOMPARE(q1.asDateTime("geb").date(), QDate(1990, 2, 1));

        q1.edit();
        q1.setValue("Name", QStringLiteral("Meier"));
        q1.post();
        QCOMPARE(data.scalar(QStringLiteral("SELECT Name FROM sportler WHERE ID = %1").arg(id))
                     .toString(),
                 QStringLiteral("Meier"));
        QCOMPARE(data.scalar(QStringLiteral("SELECT Geschl FROM sportler WHERE ID = %1").arg(id))
                     .toInt(),
                 -1);

        q1.remove();
        QVERIFY(q1.isEmpty());
        QCOMPARE(data.scalar(QStringLiteral("SELECT COUNT(*) FROM sportler")).toInt(), 0);
    }

    void jumpRowsAreMatchedByAllFiveValues() {
        TempDataDir data;
        QVERIFY(data.run("INSERT INTO mr VALUES (12003, 200, 500, 1.25, 1)"));
        QVERIFY(data.run("INSERT INTO mr VALUES (12003, 200, 500, 1.25, 2)"));
        QVERIFY(data.run("INSERT INTO mr VALUES (12004, 200, 500, 1.25, 2)"));
        ResultSet q3(*data.db, "Query3", tables::mrRows());
        q3.setSql(lines("SELECT * from mr", "where Serie = 12003"));
        q3.open();
        QCOMPARE(q3.rowCount(), 2);
        q3.next();
        QCOMPARE(q3.asInteger("Anzahl"), 2);
        q3.remove();
        QCOMPARE(data.scalar("SELECT COUNT(*) FROM mr").toInt(), 2);
        QCOMPARE(data.scalar("SELECT COUNT(*) FROM mr WHERE Serie = 12003 AND Anzahl = 1").toInt(),
                 1);
        QCOMPARE(data.scalar("SELECT COUNT(*) FROM mr WHERE Serie = 12004").toInt(), 1);

        q3.insert();
        q3.setValue("Serie", 12003);
        q3.setValue("SZ", -1);
        q3.setValue("FZ", 480);
        q3.setValue("Eff", 0.0);
        q3.setValue("Anzahl", 3);
        q3.post();
        QCOMPARE(data.scalar("SELECT COUNT(*) FROM mr WHERE Serie = 12003 AND SZ = -1").toInt(), 1);
    }

    void statementsReadLikeTheTablesAreNamed_data() {
        QTest::addColumn<QStringList>("statement");
        QTest::addColumn<int>("rows");
        QTest::newRow("file name of the table") << QStringList{"select * from units.db"} << 3;
        QTest::newRow("upper-case column")
            << QStringList{"SELECT * FROM units", "WHERE REF_ID = 12"} << 2;
        QTest::newRow("trailing semicolon") << QStringList{"SELECT * FROM units;"} << 3;
        QTest::newRow("no row") << QStringList{"SELECT * FROM units", "WHERE Ref_ID = 99"} << 0;
    }
    void statementsReadLikeTheTablesAreNamed() {
        QFETCH(QStringList, statement);
        QFETCH(int, rows);
        TempDataDir data;
        QVERIFY(data.run("INSERT INTO units (Ref_ID, Nummer) VALUES (12, 1)"));
        QVERIFY(data.run("INSERT INTO units (Ref_ID, Nummer) VALUES (12, 2)"));
        QVERIFY(data.run("INSERT INTO units (Ref_ID, Nummer) VALUES (13, 1)"));
        ResultSet q2(*data.db, "Query2", tables::unitsRows());
        q2.setSql(statement);
        q2.open();
        QCOMPARE(q2.rowCount(), rows);
        QCOMPARE(q2.isEmpty(), rows == 0);
    }

    void floatColumnsEqualWholeNumbers() {
        TempDataDir data;
        QVERIFY(data.run("INSERT INTO mr VALUES (12003.0, 200, 500, 1.25, 1)"));
        ResultSet q3(*data.db, "Query3", tables::mrRows());
        q3.setSql(lines("SELECT * from mr", "where Serie = 12003"));
        q3.open();
        QCOMPARE(q3.rowCount(), 1);
        QCOMPARE(q3.asInteger("serie"), 12003);
        q3.setSql(lines("SELECT * from mr", "where Serie = 0"));
        q3.open();
        QVERIFY(q3.isEmpty());
        // An empty value reads as 0 or as empty text.
        QVERIFY(data.run("INSERT INTO units (Ref_ID, Nummer) VALUES (5, 1)"));
        ResultSet q2(*data.db, "Query2", tables::unitsRows());
        q2.setSql(tables::kQuery2Start);
        q2.open();
        QCOMPARE(q2.asInteger("FZ"), 0);
        QCOMPARE(q2.asText("Bem"), QString());
    }

    void afterMoveNotification() {
        TempDataDir data;
        ResultSet q1(*data.db, "Query1", tables::sportlerRows());
        int moves = 0;
        q1.setAfterScroll([&] { ++moves; });
        q1.setSql(tables::kQuery1Start);
        q1.open();
        QCOMPARE(moves, 0); // an empty result reports nothing on open
        q1.first();
        QCOMPARE(moves, 1); // but first() does, also on an empty result
        q1.insert();
        QCOMPARE(moves, 2);
        q1.setValue("Name", "A");
        q1.post();
        QCOMPARE(moves, 2); // not after post
        q1.edit();
        q1.setValue("Name", "B");
        q1.post();
        QCOMPARE(moves, 2); // nor after edit
        q1.detachAfterScroll();
        q1.insert();
        q1.setValue("Name", "C");
        q1.post();
        q1.last();
        QCOMPARE(moves, 2);
        q1.attachAfterScroll();
        q1.first();
        q1.next();
        QCOMPARE(moves, 4);
        q1.next(); // at the end: no move, no report
        QVERIFY(q1.eof());
        QCOMPARE(moves, 4);
        q1.close();
        q1.open();
        QCOMPARE(moves, 5); // an open that yields rows reports
        q1.moveTo(1);
        QCOMPARE(moves, 6);
        q1.remove();
        QCOMPARE(moves, 7);
    }

    void cancelReturnsToTheFormerRow() {
        TempDataDir data;
        QVERIFY(data.run("INSERT INTO units (Ref_ID, Nummer) VALUES (1, 1)"));
        QVERIFY(data.run("INSERT INTO units (Ref_ID, Nummer) VALUES (1, 2)"));
        ResultSet q2(*data.db, "Query2", tables::unitsRows());
        q2.setSql(tables::kQuery2Start);
        q2.open();
        q2.next();
        q2.insert();
        QCOMPARE(q2.state(), ResultSet::State::Insert);
        q2.cancel();
        QCOMPARE(q2.asInteger("Nummer"), 2);
        QCOMPARE(q2.rowCount(), 2);
        QCOMPARE(data.scalar("SELECT COUNT(*) FROM units").toInt(), 2);
        QVERIFY(q2.locate("ID", 1));
        QCOMPARE(q2.asInteger("Nummer"), 1);
        QVERIFY(!q2.locate("ID", 77));
    }

    void computedColumnsAreFilledForEveryRow() {
        TempDataDir data;
        QVERIFY(data.run("INSERT INTO mr VALUES (1001, 200, 500, 1.25, 1)"));
        QVERIFY(data.run("INSERT INTO mr (Serie, Anzahl) VALUES (1001, 2)"));
        ResultSet q3(*data.db, "Query3", tables::mrRows());
        q3.setCalcFields({QStringLiteral("hoehe")}, [](ResultSet::CalcRow& row) {
            row.setValue("hoehe", row.value("FZ").toDouble() / 10.0);
        });
        q3.setSql(lines("SELECT * from mr", "where Serie = 1001"));
        q3.open();
        QCOMPARE(q3.asFloat("Hoehe"), 50.0);
        q3.next();
        QCOMPARE(q3.asFloat("HOEHE"), 0.0);
    }

    void openingALargeTableIsLazy() {
        TempDataDir data;
        QVERIFY(data.run(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1000000) "
            "INSERT INTO mr SELECT i / 10, 200, 500, 1.25, i % 10 FROM n"));
        ResultSet q3(*data.db, "Query3", tables::mrRows());
        q3.setSql(tables::kQuery3Start);
        QElapsedTimer timer;
        timer.start();
        q3.open();
        const qint64 openMs = timer.elapsed();
        QVERIFY2(openMs < 100, qPrintable(QString::number(openMs)));
        QVERIFY(q3.fetchedCount() < 1000);
        QCOMPARE(q3.rowCount(), 1000000);
        QVERIFY(q3.fetchedCount() < 1000);
    }

    void readingPausesForWritesWhichAreDurableAtOnce() {
        TempDataDir data;
        QVERIFY(data.run(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 500) "
            "INSERT INTO mr SELECT i, 0, 0, 0, 1 FROM n"));
        ResultSet q3(*data.db, "Query3", tables::mrRows());
        q3.setSql(tables::kQuery3Start);
        q3.open();
        ResultSet q2(*data.db, "Query2", tables::unitsRows());
        q2.setSql(tables::kQuery2Start);
        q2.open();
        q2.insert();
        q2.setValue("Ref_ID", 4);
        q2.setValue("Nummer", 1);
        q2.post();

        // Another connection sees the row at once: nothing keeps the write uncommitted.
        {
            QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other");
            other.setDatabaseName(data.db->filePath());
            QVERIFY(other.open());
            QSqlQuery q(other);
            QVERIFY(q.exec("SELECT COUNT(*) FROM units") && q.next());
            QCOMPARE(q.value(0).toInt(), 1);
        }
        QSqlDatabase::removeDatabase("other");

        // The jump rows go on where they stopped, without a gap or a repeat.
        int expected = 1;
        q3.first();
        while (!q3.eof()) {
            QCOMPARE(q3.asInteger("Serie"), expected);
            ++expected;
            q3.next();
        }
        QCOMPARE(expected, 501);
    }

    void writeProbe_data() {
        QTest::addColumn<QString>("readOnly");
        QTest::newRow("writable") << "";
        QTest::newRow("read-only file") << "file";
        QTest::newRow("read-only directory") << "dir";
    }
    void writeProbe() {
        QFETCH(QString, readOnly);
        QTemporaryDir dir;
        {
            Database db(dir.path());
            QSqlQuery q(db.connection());
            QVERIFY(q.exec("INSERT INTO units (Ref_ID, Nummer) VALUES (1, 1)"));
            QVERIFY(q.exec("INSERT INTO units (Ref_ID, Nummer) VALUES (2, 1)"));
        }
        const QString file = dir.filePath(Database::kFileName);
        if (readOnly == "file")
            QVERIFY(::chmod(QFile::encodeName(file).constData(), 0444) == 0);
        if (readOnly == "dir")
            QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0555) == 0);

        {
            Database db(dir.path());
            ResultSet q2(db, "Query2", tables::unitsRows());
            q2.setSql({"SELECT * FROM units", "WHERE Ref_ID = 2"});
            q2.open();
            QCOMPARE(ProbeWriteAccess(q2), readOnly.isEmpty());
            QCOMPARE(q2.rowCount(), 2); // all measurement rows, whatever it held before
            QCOMPARE(q2.sql(), QStringList{"select * from units.db"});
            QSqlQuery q(db.connection());
            QVERIFY(q.exec("SELECT COUNT(*) FROM units") && q.next());
            QCOMPARE(q.value(0).toInt(), 2);
        }
        ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
        ::chmod(QFile::encodeName(file).constData(), 0644);
        // The probe's own row left no trace: the next measurement gets the next key.
        Database db(dir.path());
        QSqlQuery q(db.connection());
        QVERIFY(q.exec("INSERT INTO units (Ref_ID, Nummer) VALUES (3, 1)"));
        QCOMPARE(q.lastInsertId().toInt(), 3);
    }
};

QTEST_GUILESS_MAIN(TestResultSet)
#include "tst_resultset.moc"
