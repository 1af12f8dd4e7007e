#include "core/base/Errors.h"
#include "core/store/DataStore.h"
#include "core/store/Database.h"
#include "core/store/MeasurementRepository.h"
#include "support/TempDataDir.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

#include <sys/stat.h>

class TestDatabase : public QObject {
    Q_OBJECT

private slots:
    void firstRunCreatesTheTables_data() {
        QTest::addColumn<bool>("emptyFile");
        QTest::newRow("no file") << false;
        QTest::newRow("an empty file") << true;
    }
    void firstRunCreatesTheTables() {
        QFETCH(bool, emptyFile);
        QTemporaryDir dir;
        const QString sub = dir.path() + QStringLiteral("/Morvek/QRV/");
        if (emptyFile) {
            QVERIFY(QDir().mkpath(sub));
            QFile file(sub + QStringLiteral("qrv.sqlite"));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
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
            QVERIFY(q.exec("INSERT INTO units (Ref_ID, Nummer) VALUES (1, 1)"));
        }
        // A second start opens the same file and keeps what it holds.
        Database again(sub);
        QCOMPARE(MeasurementRepository(again).ofAthlete(1).size(), 1);
    }

    void missingTableIsReportedWhenOpening() {
        QTemporaryDir dir;
        {
            QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "raw");
            raw.setDatabaseName(dir.filePath(QStringLiteral("qrv.sqlite")));
            QVERIFY(raw.open());
            QSqlQuery(raw).exec(QStringLiteral("CREATE TABLE sportler (ID INTEGER PRIMARY KEY)"));
            raw.close();
        }
        QSqlDatabase::removeDatabase("raw");
        try {
            Database db(dir.path());
            QFAIL("a database without its tables must not open");
        } catch (const AppError& e) {
            QVERIFY2(e.text().startsWith(QStringLiteral("no such table: units")),
                     qPrintable(e.text()));
        }
        // The file is left as it was.
        QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "again");
        raw.setDatabaseName(dir.filePath(QStringLiteral("qrv.sqlite")));
        QVERIFY(raw.open());
        QCOMPARE(raw.tables(), QStringList{"sportler"});
        raw.close();
        raw = QSqlDatabase();
        QSqlDatabase::removeDatabase("again");
    }

    // Stored values read back as the program wrote them; empty values read as 0, whole
    // numbers stored as floating point compare equal to the program's integers.
    void storedValues() {
        TempDataDir data;
        QVERIFY(data.run("INSERT INTO mr VALUES (12003.0, 200, 500, 1.25, 1)"));
        QVERIFY(data.run("INSERT INTO units (Ref_ID, Nummer, Datum) VALUES (5, 1, "
                         "'2024-02-29T23:59:59')"));
        MeasurementRepository measurements(*data.db);
        QCOMPARE(measurements.jumpsOf(12003).size(), 1);
        QVERIFY(measurements.jumpsOf(0).isEmpty());
        const Measurement m = measurements.ofAthlete(5).first();
        QCOMPARE(m.jumpCount, 0);
        QCOMPARE(m.moment, QDateTime(QDate(2024, 2, 29), QTime(23, 59, 59)));
        QCOMPARE(momentOf(QVariant("2024-02-29")), QDate(2024, 2, 29).startOfDay());
        QVERIFY(!momentOf(QVariant("kein Datum")).isValid());
        QVERIFY(!momentOf(QVariant(":990-02-01")).isValid());
        QVERIFY(!momentOf(QVariant("-001-02-01T10:00:00")).isValid());
        QVERIFY(!momentOf(QVariant()).isValid());
        QCOMPARE(integerOf(QVariant(12.6)), 13);
        QCOMPARE(integerOf(QVariant()), 0);
        // What a damaged or foreign file may hold.
        QCOMPARE(integerOf(QVariant("inf")), 0);
        QCOMPARE(integerOf(QVariant("-1e300")), 0);
        QCOMPARE(integerOf(QVariant("nan")), 0);
        QCOMPARE(integerOf(QVariant(qlonglong(9007199254740993))), 9007199254740993);
    }

    // Rows read straight from the engine hold what QSqlQuery reads, also where a file holds
    // a text in a number's column; a statement that fails throws.
    void rowsReadWithoutQueries() {
        TempDataDir data;
        QVERIFY(data.run("INSERT INTO units (Ref_ID, Datum, Nummer, SZ, FZ, Eff, Bem) VALUES "
                         "(5, '2024-02-29T23:59:59', 1, NULL, 7, 1.25, 'Bemerkung ä'), "
                         "(5, NULL, 2, -3, 0, -1e300, NULL), (6, NULL, 1, 1, 1, 1, 'x')"));
        if (!data.onServer())
            QVERIFY(data.run("INSERT INTO units (Ref_ID, Nummer, SZ, Eff, Bem) VALUES "
                             "(5, 2.6, '12abc', 'kein Wert', 3)"));
        const QString statement =
            QStringLiteral("SELECT Ref_ID, Datum, Nummer, SZ, FZ, Eff, Bem FROM units "
                           "WHERE Ref_ID = ? AND (Bem IS NULL OR Bem <> ?) ORDER BY ID");
        const QVariantList values{qint64(5), QStringLiteral("x")};
        // A server holds one result at a time: the query's rows first.
        QList<QVariantList> expected;
        QSqlQuery q = data.db->read(statement, values);
        while (q.next()) {
            expected.append(QVariantList());
            for (int c = 0; c < 7; ++c)
                expected.last() << q.value(c);
        }
        q.finish();
        QCOMPARE(expected.size(), data.onServer() ? 2 : 3);
        qsizetype rows = 0;
        data.db->forEachRow(statement, values, [&](const Database::RowValues& row) {
            QVERIFY(rows < expected.size());
            const QVariantList& read = expected[rows++];
            for (int c = 0; c < 7; ++c) {
                QCOMPARE(row.isNull(c), read[c].isNull());
                QCOMPARE(row.integer(c), integerOf(read[c]));
                if (c != 1)
                    QCOMPARE(row.number(c), numberOf(read[c]));
            }
            QCOMPARE(momentOf(row.text(1)), momentOf(read[1]));
            QCOMPARE(row.text(6), read[6].toString());
        });
        QCOMPARE(rows, expected.size());
        QVERIFY_THROWS_EXCEPTION(AppError, data.db->forEachRow("SELECT * FROM keine_tabelle", {},
                                                               [](const Database::RowValues&) {}));
    }

    // A file of an earlier version gets the unique numbers' index when none of its
    // measurements break it; those that do are reported and kept.
    void uniqueNumbers_data() {
        QTest::addColumn<QString>("rows");
        QTest::addColumn<int>("duplicates");
        QTest::newRow("all numbers apart")
            << "(12, 1), (12, 2), (13, 1), (NULL, NULL), (NULL, NULL)" << 0;
        QTest::newRow("one number twice") << "(12, 1), (12, 2), (12, 2), (13, 1)" << 1;
    }
    void uniqueNumbers() {
        QFETCH(QString, rows);
        QFETCH(int, duplicates);
        QTemporaryDir dir;
        {
            Database db(dir.path());
            QSqlQuery q(db.connection());
            QVERIFY(q.exec("DROP INDEX units_athlete_number"));
            QVERIFY(q.exec("INSERT INTO units (Ref_ID, Nummer) VALUES " + rows));
        }
        Database db(dir.path());
        QCOMPARE(db.duplicateNumbers().size(), duplicates);
        if (duplicates > 0) {
            QCOMPARE(db.duplicateNumbers()[0].athleteId, 12);
            QCOMPARE(db.duplicateNumbers()[0].measurementNumber, 2);
            QCOMPARE(db.duplicateNumbers()[0].count, 2);
        }
        QSqlQuery q(db.connection());
        QCOMPARE(q.exec("INSERT INTO units (Ref_ID, Nummer) VALUES (13, 1)"), duplicates > 0);
    }

    // The probe writes a row and takes it back: it tells a read-only database apart from
    // other failures and leaves no trace.
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
        const QString file = dir.filePath(StoreLocation::kFileName);
        if (readOnly == "file")
            QVERIFY(::chmod(QFile::encodeName(file).constData(), 0444) == 0);
        if (readOnly == "dir")
            QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0555) == 0);
        {
            Database db(dir.path());
            const WriteProbe probe = db.probeWriteAccess();
            QCOMPARE(probe.access,
                     readOnly.isEmpty() ? WriteAccess::Writable : WriteAccess::ReadOnly);
            QCOMPARE(probe.error.isEmpty(), readOnly.isEmpty());
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

    // A server that is away at start, or that drops the connection, is named in a German
    // message; the next action works again once it is back, without a restart.
    void aServerAwayAndBack() {
        if (!TestStore::onServerSuite())
            QSKIP("needs the private server");
        TestStore server;
        StoreLocation later = server.location;
        later.database += QStringLiteral("_later"); // not made yet: as good as a server away
        auto store = std::make_unique<DataStore>();
        const QString away =
            QStringLiteral("Der Datenbankserver %1 ist nicht erreichbar.").arg(later.serverName());
        const auto atStart = failureOf([&] { store->open(later); });
        QVERIFY(atStart);
        QCOMPARE(atStart->text, away);
        QVERIFY(!atStart->detail.isEmpty());
        QCOMPARE(failureOf([&] { store->athletes().all(); })->text, away);

        server.maintenance(QStringLiteral("CREATE DATABASE %1").arg(later.database));
        QVERIFY(!failureOf([&] { store->athletes().all(); }));
        QVERIFY(store->isOpen());

        // The server ends the connection, as when it restarts.
        server.maintenance(QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
                                          "WHERE datname = '%1'")
                               .arg(later.database));
        const auto dropped = failureOf([&] { store->athletes().all(); });
        QVERIFY(dropped);
        QCOMPARE(dropped->text, QStringLiteral("Die Verbindung zum Datenbankserver %1 ist "
                                               "unterbrochen.")
                                    .arg(later.serverName()));
        QVERIFY(!failureOf([&] { store->athletes().all(); }));
        store.reset();
        server.maintenance(QStringLiteral("DROP DATABASE %1 WITH (FORCE)").arg(later.database));
    }
};

QTEST_GUILESS_MAIN(TestDatabase)
#include "tst_database.moc"
