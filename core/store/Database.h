#pragma once

#include "core/base/Errors.h"
#include "core/store/Backup.h"
#include "core/store/Schema.h"
#include "core/store/StoreHealth.h"
#include "core/store/StoreLocation.h"
#include "core/store/StoredValues.h"

#include <QList>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <atomic>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <thread>

class QObject;
struct sqlite3;

// The program's database: the tables sportler, units and mr, either in the SQLite file
// qrv.sqlite in the data directory or in a PostgreSQL database that several stations share.
// Missing tables are created (this stands in for the installation); existing ones are used as
// they are. The few pieces of SQL in which the engines differ come from here.
class Database {
public:
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

    // Whether the connection to the server was lost and not made again since: the next
    // statement tries to connect anew.
    bool connectionLost() const { return reconnect_; }

    // The engine's own text of an error.
    static QString errorText(const QSqlError& error);
    // The error for the user: a German text for the causes a user can act on (a damaged,
    // full, locked or read-only database, a server that went away) with the engine's text as
    // its detail; the engine's text alone for any other. After a lost connection the next
    // statement connects anew.
    AppError failure(const QSqlError& error);

    // Reading and writing are calls of their own, so that a damaged file refuses exactly the
    // writes. Each runs one statement with its values bound in order and throws AppError with
    // the engine's text on failure.
    //
    // A statement that only reads (SELECT, WITH ... SELECT, a lock taken inside a
    // transaction). The query is positioned before its first row.
    QSqlQuery read(const QString& statement, const QVariantList& values = {});
    // A statement that changes rows, tables or indexes; refused with damagedText() on a
    // damaged file. Returns the number of rows it changed.
    int write(const QString& statement, const QVariantList& values = {});
    // An INSERT ... RETURNING ID, refused as write() is; returns the new row's ID.
    qint64 insert(const QString& statement, const QVariantList& values = {});

    // One row of a statement read with forEachRow, its values by column, read as integerOf,
    // numberOf, QVariant::toString and momentOf read them.
    class RowValues {
    public:
        virtual ~RowValues() = default;
        virtual bool isNull(int column) const = 0;
        virtual qint64 integer(int column) const = 0;
        virtual double number(int column) const = 0;
        virtual QString text(int column) const = 0;
        virtual QDateTime moment(int column) const = 0;
        // The value when it is a number (a text that reads as one too); none for an empty
        // value or other text.
        virtual std::optional<double> numberIfAny(int column) const = 0;
    };
    // Runs a statement that reads and hands its rows to `take` one after the other; throws
    // AppError as read() does. On a file the rows come from the engine without QSqlQuery,
    // which takes several times as long for the many small values of the figures over many
    // measurements; on a server through QSqlQuery.
    void forEachRow(const QString& statement, const QVariantList& values,
                    const std::function<void(const RowValues&)>& take);
    // The same until `take` returns false; returns false when it did.
    bool forEachRowUntil(const QString& statement, const QVariantList& values,
                         const std::function<bool(const RowValues&)>& take);

    // Whether rows can be written: a row written to `units` and rolled back at once.
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

    // Measurements of one athlete that share a number, found when the database was opened.
    const QList<DuplicateNumber>& duplicateNumbers() const { return duplicateNumbers_; }

    // The version of the tables beside the first three (see schema::upgrade), reached when the
    // database was opened; a read-only database keeps the one it has.
    int schemaVersion() const { return schemaVersion_; }
    // Whether the database holds the tables of a feature (it reached the feature's version).
    bool has(schema::Feature feature) const;
    // The names of a table's columns as the engine reports them; none for a table that is not
    // there.
    QStringList columnsOf(const QString& table) const;
    // Why the database could not be brought to the program's version; it stays at the version
    // it had and works as before, without what the newer tables hold.
    const std::optional<AppError>& upgradeFailure() const { return upgradeFailure_; }
    // A database file found damaged, by the check at start or by any read, is only read from
    // then on: the athletes, the history and the export work, every change is refused with
    // damagedText(), which names the file and the way out.
    bool damaged() const { return damaged_; }
    // Whether the database was opened only to read: a file or directory without write
    // permission, a read-only medium, or a server on which this station may not write.
    bool readOnly() const { return readOnly_; }
    QString damagedText() const;
    // Throws AppError(damagedText()) when the database is damaged; waits for the check at
    // start first. Every change passes here.
    void refuseChangesIfDamaged();

    // The check at start of the database file (PRAGMA quick_check) on a thread and a
    // connection of its own, so that the window is not held; `answered` runs on `context`'s
    // thread with its verdict (true: damaged). A sound file not opened read-only is then
    // copied to the day's backup (backup::makeDaily), unless there is one; the oldest beyond
    // `backupsKept` are removed; a backup that fails is told to `backupFailed` on `context`'s
    // thread, with its cause. Changes wait for the verdict. Nothing for a server.
    void checkInBackground(const QDate& today, int backupsKept, QObject* context,
                           std::function<void(bool damaged)> answered,
                           std::function<void(const QString& failure)> backupFailed = {});
    // Waits for the verdict of the check at start, when there is one to come.
    void awaitCheck();
    // Waits until the check and the day's backup are done. Without this, closing the database
    // stops a backup that is still going (the next start of the day makes it).
    void finishBackgroundWork();

    // Copies what the write-ahead log holds into the file once the log holds
    // kCheckpointFrames pages (about 4 MB, where SQLite would copy it within the commit that
    // got there). Called after a recorded jump has been shown, so that the copy and its two
    // syncs never fall into a jump's way to the disk. Commits copy the log themselves only
    // when it holds kLongestLogFrames pages (other writers, such as a take-over). A failed
    // copy is left to the next one: the log keeps everything. Nothing on a server or a file
    // that is only read.
    void checkpointIfDue();
    static constexpr int kCheckpointFrames = 1000;
    static constexpr int kLongestLogFrames = 2000;

private:
    // Runs a statement as read() and write() do, without asking what it does.
    QSqlQuery execute(const QString& statement, const QVariantList& values);
    void openFile();
    void openServer();
    void connectServer();
    void checkTables();
    void createSchema();
    void ensureUniqueNumbers();
    void upgradeSchema();
    sqlite3* engineHandle() const;
    static int afterCommit(void* database, sqlite3* engine, const char* name, int frames);

    StoreLocation location_;
    QString connectionName_;
    bool readOnly_ = false;
    bool reconnect_ = false;
    int transactionDepth_ = 0;
    QList<DuplicateNumber> duplicateNumbers_;
    int schemaVersion_ = 0;
    std::optional<AppError> upgradeFailure_;
    bool damaged_ = false;
    int logFrames_ = 0; // pages in the write-ahead log, as its last commit left it
    std::shared_future<backup::Check> verdict_;
    std::atomic<bool> stopWorker_{false};
    std::thread worker_;
    std::unique_ptr<QObject> answers_; // receives the check's answer on the opening thread
    // Held while the object lives; the answer of the check is dropped when it has gone.
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};
