#pragma once

#include <QList>
#include <QString>
#include <QStringList>

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

// One step from the version before to `version`: statements for either engine.
struct Step {
    int version = 0;
    QStringList sqlite;
    QStringList postgresql;
};

// The program's steps, in order: version 1, 2, ...
const QList<Step>& steps();
// The newest version the program knows.
int latestVersion();

// The version of the database: the highest recorded, 0 when none is.
int versionOf(Database& db);

// Brings the database from its version to the last of `steps` (the program's own when not
// given), one transaction a step. A database of a later version is left as it is. When a
// step fails, it is rolled back, the versions before it stay, and AppError says which version
// could not be reached, with the engine's text. Returns the version the database is at.
int upgrade(Database& db);
int upgrade(Database& db, const QList<Step>& steps);

} // namespace schema
