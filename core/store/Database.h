#pragma once

#include "core/base/Errors.h"
#include "core/store/StoreLocation.h"

#include <QList>
#include <QProcessEnvironment>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include <optional>

// The program's database: the tables sportler, units and mr, either in the SQLite file
// qrv.sqlite in the data directory or in a PostgreSQL database that several stations share.
// Missing tables are created (this stands in for the installation); existing ones are used as
// they are. The few pieces of SQL in which the engines differ come from here.
class Database {
public:
    static inline const QString kFileName = QStringLiteral("qrv.sqlite");

    // Data directory: $KALVERO_DATA_DIR when set; otherwise on Windows the common
    // application-data folder followed by "Morvek\QRV\", elsewhere
    // $XDG_DATA_HOME/Morvek/QRV/ (default ~/.local/share/Morvek/QRV/). Always ends with a
    // separator.
    static QString dataDirectory(const QProcessEnvironment& env);

    // Opens (creating when missing) the database in `directory`, or the one the location
    // names. Throws AppError when that fails.
    explicit Database(const QString& directory);
    explicit Database(const StoreLocation& location);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    QSqlDatabase connection() const;
    const StoreLocation& location() const { return location_; }
    QString filePath() const;

    enum class Dialect { SQLite, PostgreSQL };
    Dialect dialect() const;
    // The order in which a table's rows were stored ("rowid", or the server's row address).
    QString rowOrder(const QString& table = QString()) const;
    // A column in ORDER BY, empty values first.
    QString order(const QString& column) const;
    // A text column in ORDER BY: by the characters' codes, empty values first.
    QString textOrder(const QString& column) const;

    // The engine's own text of an error.
    static QString errorText(const QSqlError& error);
    // The error for the user: a German text for the causes a user can act on (a damaged,
    // full, locked or read-only database, a server that went away) with the engine's text as
    // its detail; the engine's text alone for any other. After a lost connection the next
    // statement connects anew.
    AppError failure(const QSqlError& error);

    // Runs one statement with its values bound in order; throws AppError with the engine's
    // text on failure. The query is positioned before its first row.
    QSqlQuery run(const QString& statement, const QVariantList& values = {});
    // The same for a statement that writes; returns the number of rows it changed.
    int write(const QString& statement, const QVariantList& values = {});

    // Whether rows can be written: a row written to `units` and rolled back at once.
    enum class WriteAccess { Writable, ReadOnly, Failed };
    struct WriteProbe {
        WriteAccess access = WriteAccess::Writable;
        QString error; // the engine's text when not writable
    };
    WriteProbe probeWriteAccess();

    // All or nothing: statements between begin and commit() take effect together; a
    // Transaction destroyed without commit() rolls them back.
    class Transaction {
    public:
        explicit Transaction(Database& db);
        ~Transaction();
        Transaction(const Transaction&) = delete;
        Transaction& operator=(const Transaction&) = delete;
        void commit();

    private:
        Database& db_;
        bool done_ = false;
    };

    // Measurements of one athlete that share a number, found when the database was opened
    // (a file of an earlier version can hold them). They are kept as they are; only without
    // them a unique index keeps every new number apart.
    struct DuplicateNumber {
        qint64 athleteId = 0;
        qint64 nummer = 0;
        int count = 0;
    };
    const QList<DuplicateNumber>& duplicateNumbers() const { return duplicateNumbers_; }

    // The version of the tables beside the first three (see schema::upgrade), reached when the
    // database was opened; a read-only database keeps the one it has.
    int schemaVersion() const { return schemaVersion_; }
    // Why the database could not be brought to the program's version; it stays at the version
    // it had and works as before, without what the newer tables hold.
    const std::optional<AppError>& upgradeFailure() const { return upgradeFailure_; }

private:
    void openFile();
    void openServer();
    void connectServer();
    void checkTables();
    void createSchema();
    void ensureUniqueNumbers();
    void upgradeSchema();

    StoreLocation location_;
    QString connectionName_;
    bool readOnly_ = false;
    bool reconnect_ = false;
    int transactionDepth_ = 0;
    QList<DuplicateNumber> duplicateNumbers_;
    int schemaVersion_ = 0;
    std::optional<AppError> upgradeFailure_;
};

// Values for the engine: dates and moments in fixed text forms, so that they sort and read
// back the same whatever the locale; an invalid date or moment is stored as empty.
QVariant engineDate(const QDate& date);
QVariant engineMoment(const QDateTime& moment);
// A stored date or moment read back; invalid for an empty value or text that is no date.
QDateTime momentOf(const QVariant& value);
// A stored number; an empty value, text that is no number and a number beyond the 64-bit
// range read as 0, a fraction is rounded to the nearest integer.
qint64 integerOf(const QVariant& value);
double numberOf(const QVariant& value);
