#pragma once

#include "core/store/Database.h"

#include <QFile>
#include <QSqlQuery>

// Database files damaged where the program's data does not lie, so that what is stored can
// still be read while the file counts as damaged. Every connection must be closed before.
namespace damagedfile {

// Overwrites a page of the file with bytes no page holds.
inline bool overwritePage(const QString& path, qint64 page) {
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite) || page < 1 || page * 4096 > file.size())
        return false;
    file.seek((page - 1) * 4096);
    return file.write(QByteArray(4096, '\x5a')) == 4096;
}

// A table of ballast written last, and a page of it damaged: the check at start finds the
// damage; the athletes, measurements and jumps read as before.
inline bool damageBallast(const StoreLocation& location) {
    {
        Database db(location);
        db.write(QStringLiteral("CREATE TABLE ballast (x BLOB)"));
        db.write(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                                "WHERE i < 100) INSERT INTO ballast SELECT zeroblob(2000) FROM n"));
    }
    QFile file(location.filePath());
    return overwritePage(location.filePath(), file.size() / 4096 - 1);
}

// The page of the table schema_version damaged: every program that opens the file finds the
// damage at once (its version cannot be read) and only reads it from then on.
inline bool damageVersionTable(const StoreLocation& location) {
    qint64 page = 0;
    {
        Database db(location);
        QSqlQuery q = db.read(
            QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = 'schema_version'"));
        page = q.next() ? q.value(0).toLongLong() : 0;
    }
    return overwritePage(location.filePath(), page);
}

} // namespace damagedfile
