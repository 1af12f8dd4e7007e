#pragma once

#include "core/store/Database.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>

#include <memory>

// A fresh data directory with a newly created database, removed again after the test.
struct TempDataDir {
    QTemporaryDir dir;
    std::unique_ptr<Database> db;

    TempDataDir() : db(std::make_unique<Database>(dir.path())) {}

    QString path() const { return dir.path(); }

    // Runs a statement straight on the connection and returns the first column of its first
    // row (or an invalid value).
    QVariant scalar(const QString& statement) const {
        QSqlQuery q(db->connection());
        if (!q.exec(statement) || !q.next())
            return {};
        return q.value(0);
    }
    bool run(const QString& statement) const {
        QSqlQuery q(db->connection());
        return q.exec(statement);
    }
};
