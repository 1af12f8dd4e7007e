#include "core/store/Schema.h"

#include "core/base/Errors.h"
#include "core/store/Database.h"

#include <QCoreApplication>
#include <QDateTime>

namespace schema {

namespace {

// Version 1: the test of a measurement (its kind and the drop height), and the test an
// athlete did last, offered for his next measurement. A row of units_test belongs to the
// units row with the same ID; a measurement without a row has no test. No foreign keys: a
// station of version 0 deletes measurements and athletes without knowing these tables, and
// the keys of units and sportler are never given twice.
const Step kTestOfMeasurement{
    1,
    {
        QStringLiteral("CREATE TABLE units_test ("
                       " Unit_ID INTEGER PRIMARY KEY,"
                       " Test VARCHAR(40),"
                       " Fallhoehe INTEGER)"),
        QStringLiteral("CREATE TABLE sportler_test ("
                       " Ref_ID INTEGER PRIMARY KEY,"
                       " Test VARCHAR(40),"
                       " Fallhoehe INTEGER)"),
    },
    {
        QStringLiteral("CREATE TABLE units_test ("
                       " Unit_ID BIGINT PRIMARY KEY,"
                       " Test VARCHAR(40),"
                       " Fallhoehe INTEGER)"),
        QStringLiteral("CREATE TABLE sportler_test ("
                       " Ref_ID BIGINT PRIMARY KEY,"
                       " Test VARCHAR(40),"
                       " Fallhoehe INTEGER)"),
    },
};

// Version 2: jumps that the user excluded from every statistic, with the reason, who and
// when. A jump is its measurement's units ID and its number (mr has no key of its own; a
// measurement's ID is never given twice, where its number can be after a deletion); the jump
// row itself stays as it is, so that the export and older stations see every stored jump.
const Step kExcludedJumps{
    2,
    {
        QStringLiteral("CREATE TABLE mr_ausschluss ("
                       " Unit_ID INTEGER NOT NULL,"
                       " Anzahl DOUBLE NOT NULL,"
                       " Grund VARCHAR(100),"
                       " Benutzer VARCHAR(100),"
                       " Datum TIMESTAMP,"
                       " PRIMARY KEY (Unit_ID, Anzahl))"),
    },
    {
        QStringLiteral("CREATE TABLE mr_ausschluss ("
                       " Unit_ID BIGINT NOT NULL,"
                       " Anzahl DOUBLE PRECISION NOT NULL,"
                       " Grund VARCHAR(100),"
                       " Benutzer VARCHAR(100),"
                       " Datum TIMESTAMP,"
                       " PRIMARY KEY (Unit_ID, Anzahl))"),
    },
};

// Version 3: groups of athletes ("U19", "Kader 2027"). A group has a name of its own; an
// athlete belongs to any number of groups, one row of gruppen_sportler each. As with version
// 1 there are no foreign keys: a station of an earlier version deletes athletes without
// knowing these tables, so a membership can outlive its athlete; every reading joins sportler.
const Step kGroups{
    3,
    {
        QStringLiteral("CREATE TABLE gruppen ("
                       " ID INTEGER PRIMARY KEY AUTOINCREMENT,"
                       " Name VARCHAR(50) NOT NULL UNIQUE)"),
        QStringLiteral("CREATE TABLE gruppen_sportler ("
                       " Gruppe_ID INTEGER NOT NULL,"
                       " Sportler_ID INTEGER NOT NULL,"
                       " PRIMARY KEY (Gruppe_ID, Sportler_ID))"),
        QStringLiteral("CREATE INDEX gruppen_sportler_sportler ON gruppen_sportler (Sportler_ID)"),
    },
    {
        QStringLiteral("CREATE TABLE gruppen ("
                       " ID BIGSERIAL PRIMARY KEY,"
                       " Name VARCHAR(50) NOT NULL UNIQUE)"),
        QStringLiteral("CREATE TABLE gruppen_sportler ("
                       " Gruppe_ID BIGINT NOT NULL,"
                       " Sportler_ID BIGINT NOT NULL,"
                       " PRIMARY KEY (Gruppe_ID, Sportler_ID))"),
        QStringLiteral("CREATE INDEX gruppen_sportler_sportler ON gruppen_sportler (Sportler_ID)"),
    },
};

// Version 4: the protocol a measurement was run under ("10/5", or one trial of a drop-height
// profile), and the profiles themselves: an athlete's run of single drop jumps from rising
// box heights, a few trials each, kept so that it can be shown again as one. A row of
// units_protokoll belongs to the units row with the same ID; a measurement without one was
// run under no protocol. No foreign keys, as with version 1.
const Step kProtocols{
    4,
    {
        QStringLiteral("CREATE TABLE profile ("
                       " ID INTEGER PRIMARY KEY AUTOINCREMENT,"
                       " Ref_ID INTEGER NOT NULL,"
                       " Datum TIMESTAMP,"
                       " Hoehen VARCHAR(200) NOT NULL,"
                       " Versuche INTEGER NOT NULL)"),
        QStringLiteral("CREATE INDEX profile_sportler ON profile (Ref_ID)"),
        QStringLiteral("CREATE TABLE units_protokoll ("
                       " Unit_ID INTEGER PRIMARY KEY,"
                       " Protokoll VARCHAR(20) NOT NULL,"
                       " Profil_ID INTEGER)"),
        QStringLiteral("CREATE INDEX units_protokoll_profil ON units_protokoll (Profil_ID)"),
    },
    {
        QStringLiteral("CREATE TABLE profile ("
                       " ID BIGSERIAL PRIMARY KEY,"
                       " Ref_ID BIGINT NOT NULL,"
                       " Datum TIMESTAMP,"
                       " Hoehen VARCHAR(200) NOT NULL,"
                       " Versuche INTEGER NOT NULL)"),
        QStringLiteral("CREATE INDEX profile_sportler ON profile (Ref_ID)"),
        QStringLiteral("CREATE TABLE units_protokoll ("
                       " Unit_ID BIGINT PRIMARY KEY,"
                       " Protokoll VARCHAR(20) NOT NULL,"
                       " Profil_ID BIGINT)"),
        QStringLiteral("CREATE INDEX units_protokoll_profil ON units_protokoll (Profil_ID)"),
    },
};

// Stations that open a shared database at once upgrade it one after the other.
constexpr int kUpgradeLock = 2401014;

bool hasVersionTable(Database& db) {
    QSqlQuery q = db.run(db.dialect() == Database::Dialect::SQLite
                             ? QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' "
                                              "AND name = 'schema_version'")
                             : QStringLiteral("SELECT to_regclass('schema_version') IS NOT NULL"));
    return q.next() && q.value(0).toBool();
}

} // namespace

const QList<Step>& steps() {
    static const QList<Step> all{kTestOfMeasurement, kExcludedJumps, kGroups, kProtocols};
    return all;
}

int latestVersion() {
    return steps().isEmpty() ? 0 : steps().constLast().version;
}

int versionOf(Database& db) {
    if (!hasVersionTable(db))
        return 0;
    QSqlQuery q = db.run(QStringLiteral("SELECT COALESCE(MAX(Version), 0) FROM schema_version"));
    return q.next() ? static_cast<int>(integerOf(q.value(0))) : 0;
}

int upgrade(Database& db) {
    return upgrade(db, steps());
}

int upgrade(Database& db, const QList<Step>& steps) {
    int version = versionOf(db);
    for (const Step& step : steps) {
        if (step.version <= version)
            continue;
        try {
            Database::Transaction transaction(db);
            const bool sqlite = db.dialect() == Database::Dialect::SQLite;
            if (!sqlite)
                db.run(QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(kUpgradeLock));
            // Another station may have taken the step while this one waited.
            version = versionOf(db);
            if (step.version <= version)
                continue;
            db.run(QStringLiteral("CREATE TABLE IF NOT EXISTS schema_version ("
                                  " Version INTEGER PRIMARY KEY,"
                                  " Datum TIMESTAMP)"));
            for (const QString& statement : sqlite ? step.sqlite : step.postgresql)
                db.run(statement);
            db.write(QStringLiteral("INSERT INTO schema_version (Version, Datum) VALUES (?, ?)"),
                     {step.version, engineMoment(QDateTime::currentDateTime())});
            transaction.commit();
            version = step.version;
        } catch (const AppError& e) {
            throw AppError(QCoreApplication::translate(
                               "Database", "Die Datenbank konnte nicht auf Version %1 "
                                           "gebracht werden; sie bleibt auf Version %2.")
                               .arg(step.version)
                               .arg(version),
                           e.detail().isEmpty() ? e.text() : e.detail());
        }
    }
    return version;
}

} // namespace schema
