#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class Database;

// The versions of the database beyond its first three tables. Every version adds tables of
// its own beside sportler, units and mr and never changes those, so that a station of an
// earlier version keeps working on a shared database that a later one has upgraded: it reads
// and writes the tables it knows and leaves the others alone.
//
// The table schema_version records the versions reached, one row each (Version, Datum); a
// database without it is at version 0. When the database is opened, every step from its
// version to the newest runs in a transaction of its own that also records the version, so
// a step takes effect whole or not at all.
namespace schema {

// What the versions add, in the user's terms. The program asks whether a database has a
// feature rather than which version it is at, and offers nothing it would not store.
enum class Feature {
    Tests,            // the test and drop height of a measurement, an athlete's last test
    Exclusions,       // jumps excluded from every statistic
    Groups,           // groups of athletes
    Protocols,        // the protocol a measurement was run under, the drop-height profiles
    Changes,          // the changes of measurements afterwards: moved, test changed, excluded,
                      // deleted (and restored from there)
    GroupNamesUnique, // no two groups whose names differ only in case, kept by the database
    JournalTransfers, // measurements a station journalled while the server was away, each
                      // brought to the server once
    TestDays,         // test days: one set-up for a squad, its start list and its trials
    RetestPairs,      // test–retest pairs the user marks, a smallest worthwhile change the
                      // user sets for a test
};

// The program's features in the order of their versions.
const QList<Feature>& features();
// The version from which a database has the feature.
int sinceVersion(Feature feature);
// What a database without the feature lacks, one sentence for the user: "Sprünge können
// nicht ausgeschlossen werden."
QString missingText(Feature feature);
// What a database at `version` lacks of the program's features, their sentences one after
// the other; empty when it lacks nothing.
QString missingAt(int version);

// One step from the version before to `version`: statements for either engine, each creating
// a table (CREATE TABLE name (columns ...)) or an index (CREATE [UNIQUE] INDEX IF NOT EXISTS).
// `prepare`, when given, runs first in the step's transaction and makes the rows fit what the
// statements demand.
struct Step {
    int version = 0;
    QStringList sqlite;
    QStringList postgresql;
    std::function<void(Database&)> prepare = {};
};

// The program's steps, in order: version 1, 2, ...
const QList<Step>& steps();
// The newest version the program knows.
int latestVersion();

// The name and columns of the table that a CREATE TABLE statement makes; nothing for any other
// statement.
struct Table {
    QString name;
    QStringList columns;
};
std::optional<Table> createdTable(const QString& statement);

// The version of the database: the highest recorded, 0 when none is.
int versionOf(Database& db);

// Brings the database from its version to the last of `steps` (the program's own when not
// given), one transaction a step. A database of a later version is left as it is. A table a
// step would create that is there already with the step's columns is taken as it is (a
// database whose rows of schema_version were lost); one with other columns fails the step.
// When a step fails, it is rolled back, the versions before it stay, and AppError says which
// version could not be reached, with the engine's text. Returns the version the database is
// at.
int upgrade(Database& db);
int upgrade(Database& db, const QList<Step>& steps);

} // namespace schema
