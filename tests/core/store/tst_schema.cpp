#include "core/base/Errors.h"
#include "core/measure/TestDay.h"
#include "core/store/Database.h"
#include "core/store/GroupRepository.h"
#include "core/store/MeasurementRepository.h"
#include "core/store/RetestRepository.h"
#include "core/store/Schema.h"
#include "support/TempDataDir.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

#include <sys/stat.h>

namespace {

// The athlete the day's start list calls next; 0 for none.
qint64 testdayNext(DataStore& store, qint64 dayId) {
    const testday::StartList list = testday::startList(store, dayId);
    return list.next ? list.places[*list.next].athleteId : 0;
}

bool hasTable(Database& db, const QString& table) {
    QSqlQuery q(db.connection());
    return q.exec(QStringLiteral("SELECT * FROM %1 LIMIT 0").arg(table));
}

QVariantList column(Database& db, const QString& statement) {
    QVariantList out;
    QSqlQuery q(db.connection());
    if (!q.exec(statement))
        return {QStringLiteral("failed: ") + statement};
    while (q.next())
        out << q.value(0).toString();
    return out;
}

// The columns of the first three tables, which a station of the previous version relies on.
QStringList oldColumns(Database& db) {
    QStringList out;
    for (const char* table : {"sportler", "units", "mr"}) {
        const QSqlRecord record = db.connection().record(QLatin1String(table));
        for (int i = 0; i < record.count(); ++i)
            out << QLatin1String(table) + QLatin1Char('.') + record.fieldName(i).toLower();
    }
    return out;
}

// Turns an opened database back into one of the format before the versions: the first three
// tables with rows in them, nothing else.
void makeOldFormat(Database& db) {
    QSqlQuery q(db.connection());
    for (const char* table : {"units_test", "sportler_test", "mr_ausschluss", "gruppen",
                              "gruppen_sportler", "units_protokoll", "profile", "units_aenderung",
                              "units_uebertragen", "testtage", "testtage_sportler", "units_testtag",
                              "units_wiederholung", "test_aenderung", "schema_version"})
        QVERIFY2(q.exec(QStringLiteral("DROP TABLE %1").arg(QLatin1String(table))), table);
    QVERIFY(q.exec("INSERT INTO sportler (ID, Name) VALUES (12, 'Wolf')"));
    QVERIFY(q.exec("INSERT INTO units (ID, Ref_ID, Datum, Nummer, FZ) VALUES "
                   "(7, 12, '2024-03-01T10:00:00', 1, 1)"));
    QVERIFY(q.exec("INSERT INTO mr VALUES (12001, 200, 500, 2.5, 1)"));
    TestStore::afterIds(db);
}

// The same database at version 1, with a test recorded for its measurement.
void makeVersion1(Database& db) {
    makeOldFormat(db);
    QCOMPARE(schema::upgrade(db, {schema::steps().constFirst()}), 1);
    QSqlQuery q(db.connection());
    QVERIFY(q.exec("INSERT INTO units_test VALUES (7, 'Drop Jump', 40)"));
}

} // namespace

class TestSchema : public QObject {
    Q_OBJECT

private slots:
    void aFreshDatabaseHasTheNewestVersion() {
        TempDataDir data;
        QCOMPARE(data.db->schemaVersion(), schema::latestVersion());
        QVERIFY(!data.db->upgradeFailure());
        QCOMPARE(schema::versionOf(*data.db), schema::latestVersion());
        QVERIFY(hasTable(*data.db, "units_test"));
        QVERIFY(hasTable(*data.db, "sportler_test"));
        QVERIFY(hasTable(*data.db, "mr_ausschluss"));
        QVERIFY(hasTable(*data.db, "gruppen"));
        QVERIFY(hasTable(*data.db, "gruppen_sportler"));
        QVERIFY(GroupRepository(*data.db).available());
        QVERIFY(hasTable(*data.db, "units_protokoll"));
        QVERIFY(hasTable(*data.db, "profile"));
        QVERIFY(MeasurementRepository(*data.db).knowsProtocols());
        for (const schema::Feature feature : schema::features())
            QVERIFY(data.db->has(feature));
        // One row for each version taken.
        QCOMPARE(column(*data.db, "SELECT Version FROM schema_version ORDER BY Version"),
                 (QVariantList{"1", "2", "3", "4", "5", "6", "7", "8", "9"}));
        // Opened again, nothing is done twice.
        Database again(data.location);
        QCOMPARE(again.schemaVersion(), schema::latestVersion());
        QCOMPARE(column(again, "SELECT COUNT(*) FROM schema_version"), QVariantList{"9"});
    }

    // A database of the format before the versions gains the new tables when it is opened;
    // what the old tables hold stays as it is, and its measurement has no test.
    void anOldDatabaseIsUpgradedWhenOpened() {
        TestStore store;
        QStringList columnsBefore;
        {
            Database db(store.location);
            makeOldFormat(db);
            QCOMPARE(schema::versionOf(db), 0);
            columnsBefore = oldColumns(db);
        }
        Database db(store.location);
        QVERIFY(!db.upgradeFailure());
        QCOMPARE(oldColumns(db), columnsBefore);
        QCOMPARE(columnsBefore.size(), 7 + 8 + 5);
        QCOMPARE(db.schemaVersion(), schema::latestVersion());
        QVERIFY(hasTable(db, "units_test"));
        QCOMPARE(column(db, "SELECT Name FROM sportler"), QVariantList{"Wolf"});
        QCOMPARE(column(db, "SELECT Nummer FROM units"), QVariantList{"1"});
        QCOMPARE(column(db, "SELECT Anzahl FROM mr"), QVariantList{"1"});
        QCOMPARE(column(db, "SELECT COUNT(*) FROM units_test"), QVariantList{"0"});
        QCOMPARE(column(db, "SELECT COUNT(*) FROM gruppen"), QVariantList{"0"});
    }

    // A database of version 1 gains the excluded jumps and the groups and keeps the tests of
    // its measurements.
    void aVersion1DatabaseGainsTheGroups() {
        TestStore store;
        {
            Database db(store.location);
            makeVersion1(db);
            QCOMPARE(schema::versionOf(db), 1);
        }
        Database db(store.location);
        QVERIFY(!db.upgradeFailure());
        QCOMPARE(db.schemaVersion(), schema::latestVersion());
        QVERIFY(hasTable(db, "mr_ausschluss"));
        QCOMPARE(column(db, "SELECT Test FROM units_test WHERE Unit_ID = 7"),
                 QVariantList{"Drop Jump"});
        GroupRepository groups(db);
        QVERIFY(groups.available());
        const qint64 group = groups.add(QStringLiteral("U19"));
        groups.setGroupsOf(12, {group});
        QCOMPARE(groups.memberIds(group), QSet<qint64>{12});
    }

    // A database whose rows of schema_version were lost holds the tables of its steps: each
    // step finds its tables with their columns, takes them as they are and completes (it once
    // failed with "table ... already exists" at every start). What they hold stays.
    void lostVersionRowsAreMadeGood_data() {
        QTest::addColumn<QString>("loss");
        QTest::newRow("all rows") << "DELETE FROM schema_version";
        QTest::newRow("the rows from version 2 on")
            << "DELETE FROM schema_version WHERE Version >= 2";
        QTest::newRow("the table") << "DROP TABLE schema_version";
    }
    void lostVersionRowsAreMadeGood() {
        QFETCH(QString, loss);
        TestStore store;
        {
            Database db(store.location);
            QSqlQuery q(db.connection());
            QVERIFY(q.exec("INSERT INTO sportler (ID, Name) VALUES (12, 'Wolf')"));
            QVERIFY(q.exec("INSERT INTO gruppen (Name) VALUES ('U19')"));
            QVERIFY(
                q.exec("INSERT INTO mr_ausschluss (Unit_ID, Anzahl, Grund) VALUES (7, 2, 'x')"));
            QVERIFY(q.exec(loss));
            QVERIFY(schema::versionOf(db) < schema::latestVersion());
        }
        Database db(store.location);
        QVERIFY2(!db.upgradeFailure(),
                 qPrintable(db.upgradeFailure().value_or(AppError("")).detail()));
        QCOMPARE(db.schemaVersion(), schema::latestVersion());
        for (const schema::Feature feature : schema::features())
            QVERIFY(db.has(feature));
        QCOMPARE(column(db, "SELECT Version FROM schema_version ORDER BY Version"),
                 (QVariantList{"1", "2", "3", "4", "5", "6", "7", "8", "9"}));
        QCOMPARE(column(db, "SELECT Name FROM gruppen"), QVariantList{"U19"});
        QCOMPARE(column(db, "SELECT Grund FROM mr_ausschluss"), QVariantList{"x"});
    }

    // The named features and what a database without each lacks, as the store tells it after
    // the step of a feature failed: that feature's text and those of the features after it.
    void aFailedStepNamesWhatIsMissing_data() {
        QTest::addColumn<int>("version");
        QTest::addColumn<QString>("inTheWay");
        QTest::newRow("tests") << 1 << "sportler_test";
        QTest::newRow("exclusions") << 2 << "mr_ausschluss";
        QTest::newRow("groups") << 3 << "gruppen_sportler";
        QTest::newRow("protocols") << 4 << "profile";
        QTest::newRow("changes") << 5 << "units_aenderung";
        // A groups' table of other columns cannot have its names folded.
        QTest::newRow("unique group names") << 6 << "gruppen";
        QTest::newRow("journal transfers") << 7 << "units_uebertragen";
        QTest::newRow("test days") << 8 << "testtage_sportler";
        QTest::newRow("retest pairs") << 9 << "test_aenderung";
    }
    void aFailedStepNamesWhatIsMissing() {
        QFETCH(int, version);
        QFETCH(QString, inTheWay);
        TestStore store;
        {
            Database db(store.location);
            QSqlQuery q(db.connection());
            QVERIFY(q.exec(
                QStringLiteral("DELETE FROM schema_version WHERE Version >= %1").arg(version)));
            QVERIFY(q.exec("DROP TABLE " + inTheWay));
            QVERIFY(q.exec("CREATE TABLE " + inTheWay + " (Notiz VARCHAR(10))"));
        }
        OpenedStore opened(store.location);
        const std::optional<AppError> failure = opened.upgradeFailure();
        QVERIFY(failure);
        QStringList lacks;
        for (const schema::Feature feature : schema::features()) {
            QCOMPARE(opened.has(feature), schema::sinceVersion(feature) < version);
            if (!opened.has(feature))
                lacks << schema::missingText(feature);
        }
        QCOMPARE(schema::sinceVersion(schema::features().at(version - 1)), version);
        QCOMPARE(failure->text(), QStringLiteral("Die Datenbank konnte nicht auf Version %1 "
                                                 "gebracht werden; sie bleibt auf Version %2. ")
                                          .arg(version)
                                          .arg(version - 1) +
                                      lacks.join(' '));
        // The engine names the table in the way, or the column of it that the step reads.
        QVERIFY2(failure->detail().contains(inTheWay) ||
                     failure->detail().contains("g.id", Qt::CaseInsensitive),
                 qPrintable(failure->detail()));
        QVERIFY(!schema::missingText(schema::features().at(version - 1)).isEmpty());
    }

    // A step that fails is taken back whole: the database stays at the version before it, the
    // user is told which version was not reached, and the station goes on working.
    void aFailedUpgradeLeavesTheDatabaseAsItWas() {
        TestStore store;
        {
            Database db(store.location);
            makeOldFormat(db);
            // A table of that name made by hand is in the way of version 1.
            QSqlQuery q(db.connection());
            QVERIFY(q.exec("CREATE TABLE sportler_test (Notiz VARCHAR(10))"));
            QVERIFY(q.exec("INSERT INTO sportler_test VALUES ('von Hand')"));
        }
        Database db(store.location);
        QVERIFY(db.upgradeFailure());
        QCOMPARE(db.upgradeFailure()->text(),
                 QStringLiteral("Die Datenbank konnte nicht auf Version 1 gebracht werden; sie "
                                "bleibt auf Version 0."));
        QVERIFY(!db.upgradeFailure()->detail().isEmpty());
        QCOMPARE(db.schemaVersion(), 0);
        QVERIFY(!hasTable(db, "units_test"));
        QVERIFY(!hasTable(db, "schema_version"));
        QCOMPARE(column(db, "SELECT Notiz FROM sportler_test"), QVariantList{"von Hand"});
        QCOMPARE(MeasurementRepository(db).ofAthlete(12).size(), 1);
    }

    // When the groups' step fails, the versions before it stay whole and the groups are not
    // offered.
    void aFailedGroupsStepKeepsTheVersionsBefore() {
        TestStore store;
        {
            Database db(store.location);
            makeVersion1(db);
            QSqlQuery q(db.connection());
            QVERIFY(q.exec("CREATE TABLE gruppen_sportler (Notiz VARCHAR(10))"));
        }
        Database db(store.location);
        QVERIFY(db.upgradeFailure());
        QCOMPARE(db.upgradeFailure()->text(),
                 QStringLiteral("Die Datenbank konnte nicht auf Version 3 gebracht werden; sie "
                                "bleibt auf Version 2."));
        QCOMPARE(db.schemaVersion(), 2);
        QVERIFY(hasTable(db, "mr_ausschluss"));
        QVERIFY(!hasTable(db, "gruppen"));
        QVERIFY(!GroupRepository(db).available());
        QCOMPARE(column(db, "SELECT Fallhoehe FROM units_test"), QVariantList{"40"});
    }

    // A database of version 3 gains the protocols and keeps its groups. When that step
    // fails, the station records as a station of version 3 does: without protocols.
    void aVersion3DatabaseGainsTheProtocols_data() {
        QTest::addColumn<bool>("inTheWay");
        QTest::newRow("upgraded") << false;
        QTest::newRow("step failed") << true;
    }
    void aVersion3DatabaseGainsTheProtocols() {
        QFETCH(bool, inTheWay);
        TestStore store;
        {
            Database db(store.location);
            makeVersion1(db);
            QCOMPARE(schema::upgrade(db, schema::steps().mid(0, 3)), 3);
            GroupRepository(db).add(QStringLiteral("U19"));
            QSqlQuery q(db.connection());
            if (inTheWay)
                QVERIFY(q.exec("CREATE TABLE profile (Notiz VARCHAR(10))"));
        }
        Database db(store.location);
        QCOMPARE(bool(db.upgradeFailure()), inTheWay);
        QCOMPARE(db.schemaVersion(), inTheWay ? 3 : schema::latestVersion());
        QCOMPARE(column(db, "SELECT Name FROM gruppen"), QVariantList{"U19"});
        MeasurementRepository repo(db);
        QCOMPARE(repo.knowsProtocols(), !inTheWay);
        const Measurement m =
            repo.recordFirstJump(12, QDateTime::currentDateTime(), {200, 500, 1.25, 1},
                                 {"Sprungserie", 30}, {Protocol::TenFive, 0});
        QCOMPARE(m.protocol.kind, inTheWay ? Protocol::None : Protocol::TenFive);
        QCOMPARE(repo.ofAthlete(12).last().protocol.kind, m.protocol.kind);
        QCOMPARE(repo.ofAthlete(12).last().test.name, QStringLiteral("Sprungserie"));
        QVERIFY(repo.profilesOfAthlete(12).isEmpty());
    }

    // A database of version 4 gains the changes and keeps its protocols. When that step
    // fails, moving and editing measurements are refused with what the database lacks, and
    // nothing changes; deleting works as on a station of version 4, without a record.
    void aVersion4DatabaseGainsTheChanges_data() {
        QTest::addColumn<bool>("inTheWay");
        QTest::newRow("upgraded") << false;
        QTest::newRow("step failed") << true;
    }
    void aVersion4DatabaseGainsTheChanges() {
        QFETCH(bool, inTheWay);
        TestStore store;
        {
            Database db(store.location);
            makeVersion1(db);
            QCOMPARE(schema::upgrade(db, schema::steps().mid(0, 4)), 4);
            QSqlQuery q(db.connection());
            QVERIFY(q.exec("INSERT INTO sportler (ID, Name) VALUES (13, 'Kern')"));
            QVERIFY(q.exec("INSERT INTO units_protokoll VALUES (7, '10/5', NULL)"));
            if (inTheWay)
                QVERIFY(q.exec("CREATE TABLE units_aenderung (Notiz VARCHAR(10))"));
            TestStore::afterIds(db);
        }
        Database db(store.location);
        QCOMPARE(bool(db.upgradeFailure()), inTheWay);
        QCOMPARE(db.schemaVersion(), inTheWay ? 4 : schema::latestVersion());
        QCOMPARE(db.has(schema::Feature::Changes), !inTheWay);
        MeasurementRepository repo(db);
        QCOMPARE(repo.ofAthlete(12).first().protocol.kind, Protocol::TenFive);
        const auto moved = failureOf([&] { repo.moveToAthlete(7, 12, 1, 13); });
        QCOMPARE(bool(moved), inTheWay);
        if (inTheWay)
            QCOMPARE(moved->text, schema::missingText(schema::Feature::Changes));
        QCOMPARE(repo.ofAthlete(13).size(), inTheWay ? 0 : 1);
        QCOMPARE(column(db, "SELECT COUNT(*) FROM mr WHERE Serie = 12001"),
                 QVariantList{inTheWay ? "1" : "0"});
        const qint64 owner = inTheWay ? 12 : 13;
        repo.remove(owner, 1);
        QVERIFY(repo.ofAthlete(owner).isEmpty());
        QCOMPARE(repo.changesOfAthlete(13).size(), inTheWay ? 0 : 2);
    }

    // Groups whose names differ only in case (made by two stations at one moment, or by hand)
    // are numbered when the database gains its index on the folded name; their members stay,
    // and from then on the database itself refuses such a name, also to an older station,
    // which goes on storing groups of other names.
    void groupsOfOneNameAreNumbered() {
        TestStore store;
        const QString longName(kGroupNameLength, QLatin1Char('x'));
        {
            Database db(store.location);
            makeVersion1(db);
            QCOMPARE(schema::upgrade(db, schema::steps().mid(0, 4)), 4);
            QSqlQuery q(db.connection());
            for (const QString& name :
                 {QStringLiteral("U19"), QStringLiteral("u19"), QStringLiteral("U19 (2)"), longName,
                  longName.toUpper(), QStringLiteral("Reha")})
                QVERIFY(
                    q.exec(QStringLiteral("INSERT INTO gruppen (Name) VALUES ('%1')").arg(name)));
            QVERIFY(q.exec("INSERT INTO gruppen_sportler SELECT ID, 12 FROM gruppen "
                           "WHERE Name = 'u19'"));
        }
        Database db(store.location);
        QVERIFY2(!db.upgradeFailure(),
                 qPrintable(db.upgradeFailure().value_or(AppError("")).detail()));
        QCOMPARE(db.schemaVersion(), schema::latestVersion());
        QVERIFY(db.has(schema::Feature::GroupNamesUnique));
        QCOMPARE(column(db, "SELECT Name FROM gruppen ORDER BY ID"),
                 (QVariantList{"U19", "u19 (3)", "U19 (2)", longName,
                               QString(kGroupNameLength - 4, QLatin1Char('X')) + " (2)", "Reha"}));
        QCOMPARE(column(db, "SELECT g.Name FROM gruppen_sportler m JOIN gruppen g "
                            "ON g.ID = m.Gruppe_ID WHERE m.Sportler_ID = 12"),
                 QVariantList{"u19 (3)"});
        QSqlQuery q(db.connection());
        QVERIFY(!q.exec("INSERT INTO gruppen (Name) VALUES ('reha')"));
        QVERIFY(!q.exec("UPDATE gruppen SET Name = 'U19 (3)' WHERE Name = 'U19'"));
        QVERIFY(q.exec("INSERT INTO gruppen (Name) VALUES ('Kader 2027')"));
        QCOMPARE(column(db, "SELECT COUNT(*) FROM gruppen"), QVariantList{"7"});
    }

    // A database of version 6 gains the record of journalled measurements brought over, and a
    // station of version 6 records on it as before. When the step fails, a journalled
    // measurement is not brought over (it waits in the journal), with what the database lacks.
    void aVersion6DatabaseGainsTheTransfers_data() {
        QTest::addColumn<bool>("inTheWay");
        QTest::newRow("upgraded") << false;
        QTest::newRow("step failed") << true;
    }
    void aVersion6DatabaseGainsTheTransfers() {
        QFETCH(bool, inTheWay);
        TestStore store;
        {
            Database db(store.location);
            makeVersion1(db);
            QCOMPARE(schema::upgrade(db, schema::steps().mid(0, 6)), 6);
            if (inTheWay) {
                QSqlQuery q(db.connection());
                QVERIFY(q.exec("CREATE TABLE units_uebertragen (Notiz VARCHAR(10))"));
            }
        }
        Database db(store.location);
        QCOMPARE(bool(db.upgradeFailure()), inTheWay);
        QCOMPARE(db.schemaVersion(), inTheWay ? 6 : schema::latestVersion());
        QCOMPARE(db.has(schema::Feature::JournalTransfers), !inTheWay);
        MeasurementRepository repo(db);
        // What a station of version 6 does: record, and read what it recorded.
        repo.recordFirstJump(12, QDateTime({2026, 12, 9}, {9, 0}), {200, 500, 2.5, 1});
        QCOMPARE(repo.ofAthlete(12).size(), 2);
        const JournalledMeasurement journalled{
            "k-7", QDateTime({2026, 12, 9}, {10, 0}), {}, {}, 0, {{210, 480, 2.29, 1}}, {}, false};
        const auto transfer = failureOf([&] {
            repo.transferJournalled(journalled, {12, 0, {}, {}, {}, -1, {}}, "S2");
        });
        QCOMPARE(bool(transfer), inTheWay);
        if (inTheWay)
            QCOMPARE(transfer->text, schema::missingText(schema::Feature::JournalTransfers));
        QCOMPARE(repo.ofAthlete(12).size(), inTheWay ? 2 : 3);
        QCOMPARE(column(db, "SELECT COUNT(*) FROM units_uebertragen"),
                 QVariantList{inTheWay ? "0" : "1"});
    }

    // A database of each earlier version is brought to the newest, keeps what it holds and
    // takes a test day with its trials.
    void eachEarlierVersionGainsTheTestDays_data() {
        QTest::addColumn<int>("from");
        for (int version = 0; version < schema::latestVersion(); ++version)
            QTest::addRow("version %d", version) << version;
    }
    void eachEarlierVersionGainsTheTestDays() {
        QFETCH(int, from);
        TestStore store;
        {
            Database db(store.location);
            makeOldFormat(db);
            QCOMPARE(schema::upgrade(db, schema::steps().mid(0, from)), from);
        }
        OpenedStore opened(store.location);
        QVERIFY(!opened.upgradeFailure());
        QVERIFY(opened.has(schema::Feature::TestDays));
        TestDay day;
        day.name = "U19";
        day.begun = QDateTime({2026, 12, 9}, {9, 0});
        const qint64 id = opened.testDays().open(day, {12});
        const Measurement m = opened.measurements().recordFirstJump(
            12, QDateTime({2026, 12, 9}, {9, 5}), {200, 500, 2.5, 1}, {}, {}, {}, id);
        QCOMPARE(opened.testDays().trialCounts(id).value(12), 1);
        QCOMPARE(opened.testDays().dayOfMeasurement(m.id), id);
        QCOMPARE(opened.measurements().ofAthlete(12).size(), 2);
    }

    // A database of version 7 gains the test days, and a station of version 7 records and
    // deletes on it as before (the trial of a day it deletes leaves the day's count). When
    // the step fails, the store offers no days and records as before.
    void aVersion7DatabaseGainsTheTestDays_data() {
        QTest::addColumn<bool>("inTheWay");
        QTest::newRow("upgraded") << false;
        QTest::newRow("step failed") << true;
    }
    void aVersion7DatabaseGainsTheTestDays() {
        QFETCH(bool, inTheWay);
        TestStore store;
        {
            Database db(store.location);
            makeVersion1(db);
            QCOMPARE(schema::upgrade(db, schema::steps().mid(0, 7)), 7);
            if (inTheWay) {
                QSqlQuery q(db.connection());
                QVERIFY(q.exec("CREATE TABLE units_testtag (Notiz VARCHAR(10))"));
            }
        }
        OpenedStore opened(store.location);
        QCOMPARE(bool(opened.upgradeFailure()), inTheWay);
        QCOMPARE(opened.has(schema::Feature::TestDays), !inTheWay);
        QCOMPARE(opened.testDays().available(), !inTheWay);
        TestDay day;
        day.name = "U19";
        const auto opening = failureOf([&] { opened.testDays().open(day, {12}); });
        QCOMPARE(bool(opening), inTheWay);
        if (inTheWay) {
            QCOMPARE(opening->text, schema::missingText(schema::Feature::TestDays));
            QVERIFY(opened.testDays().openDays().isEmpty());
            return;
        }
        const qint64 id = opened.testDays().openDays().first().id;
        opened.measurements().recordFirstJump(12, QDateTime({2026, 12, 9}, {9, 0}),
                                              {200, 500, 2.5, 1}, {}, {}, {}, id);
        // The older station: its own statements on the tables it knows.
        Database older(store.location);
        QSqlQuery q(older.connection());
        QVERIFY(q.exec("INSERT INTO units (Ref_ID, Datum, Nummer, FZ) VALUES "
                       "(12, '2026-12-09T09:10:00', 3, 1)"));
        QVERIFY(q.exec("INSERT INTO mr VALUES (12003, 210, 480, 2.29, 1)"));
        QVERIFY(q.exec("DELETE FROM mr WHERE Serie = 12002"));
        QVERIFY(q.exec("DELETE FROM units WHERE Nummer = 2"));
        QCOMPARE(opened.measurements().ofAthlete(12).size(), 2);
        QCOMPARE(opened.testDays().trialCounts(id).value(12), 0);
        QCOMPARE(testdayNext(opened, id), 12);
    }

    // A database of version 8 gains the marked test–retest pairs and the worthwhile changes set
    // for a test, and a station of version 8 records on it as before. When the step fails,
    // marking is refused with what the database lacks, and nothing is set.
    void aVersion8DatabaseGainsTheRetestPairs_data() {
        QTest::addColumn<bool>("inTheWay");
        QTest::newRow("upgraded") << false;
        QTest::newRow("step failed") << true;
    }
    void aVersion8DatabaseGainsTheRetestPairs() {
        QFETCH(bool, inTheWay);
        TestStore store;
        {
            Database db(store.location);
            makeVersion1(db);
            QCOMPARE(schema::upgrade(db, schema::steps().mid(0, 8)), 8);
            if (inTheWay) {
                QSqlQuery q(db.connection());
                QVERIFY(q.exec("CREATE TABLE units_wiederholung (Notiz VARCHAR(10))"));
            }
        }
        Database db(store.location);
        QCOMPARE(bool(db.upgradeFailure()), inTheWay);
        QCOMPARE(db.schemaVersion(), inTheWay ? 8 : schema::latestVersion());
        MeasurementRepository repo(db);
        // What a station of version 8 does: record, and read what it recorded.
        repo.recordFirstJump(12, QDateTime({2026, 12, 9}, {9, 0}), {200, 500, 2.5, 1});
        QCOMPARE(repo.ofAthlete(12).size(), 2);
        RetestRepository retests(db);
        const auto marking = failureOf([&] { retests.markRepeat(12, 2, 1); });
        QCOMPARE(bool(marking), inTheWay);
        if (inTheWay)
            QCOMPARE(marking->text, schema::missingText(schema::Feature::RetestPairs));
        QCOMPARE(retests.pairsOf(12).value(2), inTheWay ? 0 : 1);
        QVERIFY(!retests.worthwhileChange({"Drop Jump", 30}));
    }

    // Of several steps those before the failing one stay.
    void theStepsBeforeAFailedOneStay() {
        TempDataDir data;
        const QString bad = QStringLiteral("INSERT INTO keine_tabelle VALUES (1)");
        const int next = schema::latestVersion() + 1;
        QList<schema::Step> steps = schema::steps();
        steps << schema::Step{next,
                              {"CREATE TABLE zwei (A INTEGER)"},
                              {"CREATE TABLE zwei (A INTEGER)"}}
              << schema::Step{next + 1,
                              {"CREATE TABLE drei (A INTEGER)", bad},
                              {"CREATE TABLE drei (A INTEGER)", bad}};
        const auto failure = failureOf([&] { schema::upgrade(*data.db, steps); });
        QVERIFY(failure);
        QCOMPARE(failure->text, QStringLiteral("Die Datenbank konnte nicht auf Version %1 gebracht "
                                               "werden; sie bleibt auf Version %2.")
                                    .arg(next + 1)
                                    .arg(next));
        QCOMPARE(schema::versionOf(*data.db), next);
        QVERIFY(hasTable(*data.db, "zwei"));
        QVERIFY(!hasTable(*data.db, "drei"));
    }

    // A database that a later program version has upgraded is used as it is.
    void aLaterVersionIsLeftAlone() {
        TestStore store;
        {
            Database db(store.location);
            QSqlQuery q(db.connection());
            QVERIFY(q.exec("INSERT INTO schema_version (Version, Datum) VALUES (99, NULL)"));
        }
        Database db(store.location);
        QVERIFY(!db.upgradeFailure());
        QCOMPARE(db.schemaVersion(), 99);
    }

    // A read-only file of the old format is read as it is, without the new tables.
    void aReadOnlyOldFileKeepsItsVersion() {
        if (TestStore::onServerSuite())
            QSKIP("a file's permissions");
        QTemporaryDir dir;
        {
            Database db(dir.path());
            makeOldFormat(db);
        }
        const QString file = dir.filePath(StoreLocation::kFileName);
        QVERIFY(::chmod(QFile::encodeName(file).constData(), 0444) == 0);
        {
            Database db(dir.path());
            QVERIFY(!db.upgradeFailure());
            QCOMPARE(db.schemaVersion(), 0);
            QCOMPARE(MeasurementRepository(db).ofAthlete(12).size(), 1);
        }
        ::chmod(QFile::encodeName(file).constData(), 0644);
    }
};

QTEST_GUILESS_MAIN(TestSchema)
#include "tst_schema.moc"
