#pragma once

#include "core/store/DataStore.h"
#include "core/store/Database.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUuid>
#include <QVariant>

#include <memory>

// The store a test works on, removed again afterwards: a fresh SQLite file in a temporary
// folder, or, when the suite runs against its private PostgreSQL server (KALVERO_TEST_POSTGRES
// names the file holding the server's connection text), a fresh database on that server.
struct TestStore {
    QTemporaryDir dir;
    StoreLocation location;
    QString serverDatabase; // the database made on the server for this test

    TestStore() {
        const QString connection = serverConnection();
        if (connection.isEmpty()) {
            location = StoreLocation::embedded(dir.path());
            return;
        }
        location = *StoreLocation::fromConnectionText(connection);
        serverDatabase = QStringLiteral("kt_") + QUuid::createUuid().toString(QUuid::Id128);
        maintenance(QStringLiteral("CREATE DATABASE %1").arg(serverDatabase));
        location.database = serverDatabase;
    }
    ~TestStore() {
        if (!serverDatabase.isEmpty())
            maintenance(
                QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(serverDatabase));
    }
    TestStore(const TestStore&) = delete;
    TestStore& operator=(const TestStore&) = delete;

    bool onServer() const { return !serverDatabase.isEmpty(); }
    // Whether the suite runs against the private server.
    static bool onServerSuite() { return !serverConnection().isEmpty(); }

    // The connection text of the private server, empty when the suite runs on files.
    static QString serverConnection() {
        QFile file(qEnvironmentVariable("KALVERO_TEST_POSTGRES"));
        if (file.fileName().isEmpty() || !file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).trimmed();
    }

    // Runs a statement on a connection of its own to the server's "postgres" database.
    void maintenance(const QString& statement) const {
        const StoreLocation server = *StoreLocation::fromConnectionText(serverConnection());
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), "maintenance");
            db.setHostName(server.host);
            db.setPort(server.port);
            db.setUserName(server.user);
            db.setDatabaseName(server.database);
            if (!db.open())
                qFatal("test server: %s", qPrintable(db.lastError().text()));
            QSqlQuery q(db);
            if (!q.exec(statement))
                qFatal("test server: %s: %s", qPrintable(statement),
                       qPrintable(q.lastError().text()));
        }
        QSqlDatabase::removeDatabase("maintenance");
    }

    // After rows were written with IDs of their own: the server's sequences go on after them.
    static void afterIds(Database& db) {
        if (db.dialect() != Database::Dialect::PostgreSQL)
            return;
        for (const char* table : {"sportler", "units"}) {
            QSqlQuery q(db.connection());
            q.exec(QStringLiteral("SELECT setval(pg_get_serial_sequence('%1', 'id'), "
                                  "COALESCE((SELECT MAX(ID) FROM %1), 0) + 1, false)")
                       .arg(QLatin1String(table)));
        }
    }

    // A trigger that refuses `event` ("INSERT", "UPDATE", "DELETE") on a table with the
    // message "gesperrt", when `condition` (on NEW or OLD) holds; dropped by allow().
    static bool refuse(Database& db, const QString& event, const QString& table,
                       const QString& condition = QStringLiteral("TRUE")) {
        QSqlQuery q(db.connection());
        const QString name = QStringLiteral("refuse_%1_%2").arg(event.toLower(), table);
        if (db.dialect() == Database::Dialect::SQLite)
            return q.exec(
                QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON %3 WHEN %4 BEGIN "
                               "SELECT RAISE(ABORT, 'gesperrt'); END")
                    .arg(name, event, table,
                         condition == QLatin1String("TRUE") ? QStringLiteral("1") : condition));
        return q.exec(QStringLiteral("CREATE OR REPLACE FUNCTION %1() RETURNS trigger AS $$ "
                                     "BEGIN RAISE EXCEPTION 'gesperrt'; END $$ LANGUAGE plpgsql")
                          .arg(name)) &&
               q.exec(QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON %3 FOR EACH ROW WHEN (%4) "
                                     "EXECUTE FUNCTION %1()")
                          .arg(name, event, table, condition));
    }
    static bool allow(Database& db, const QString& event, const QString& table) {
        QSqlQuery q(db.connection());
        const QString name = QStringLiteral("refuse_%1_%2").arg(event.toLower(), table);
        return q.exec(db.dialect() == Database::Dialect::SQLite
                          ? QStringLiteral("DROP TRIGGER %1").arg(name)
                          : QStringLiteral("DROP TRIGGER %1 ON %2").arg(name, table));
    }
};

// The database under a store, for a test that rigs it (a trigger, a page limit) or reads
// it as it is.
struct StoreInternals {
    static Database& database(DataStore& store) { return store.database(); }
};

// A store opened on a location as the program opens it: the surface the windows and the
// command line see.
struct OpenedStore : DataStore {
    explicit OpenedStore(const StoreLocation& location) { open(location); }
};

// A test's store, opened.
struct TempDataDir : TestStore {
    std::unique_ptr<Database> db;

    TempDataDir() : db(std::make_unique<Database>(location)) {}

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
        const bool done = q.exec(statement);
        TestStore::afterIds(*db);
        return done;
    }
};
