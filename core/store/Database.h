#pragma once

#include <QProcessEnvironment>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

// The program's SQLite database: one file qrv.sqlite in the data directory with the tables
// sportler, units and mr. A missing file is created with the three tables (this stands in
// for the installation); an existing file is used as it is.
class Database {
public:
    static inline const QString kFileName = QStringLiteral("qrv.sqlite");

    // Data directory: $KALVERO_DATA_DIR when set; otherwise on Windows the common
    // application-data folder followed by "Morvek\QRV\", elsewhere
    // $XDG_DATA_HOME/Morvek/QRV/ (default ~/.local/share/Morvek/QRV/). Always ends with a
    // separator.
    static QString dataDirectory(const QProcessEnvironment& env);

    // Opens (creating when missing) the database in `directory`. Throws AppError with the
    // engine's text when that fails.
    explicit Database(const QString& directory);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    QSqlDatabase connection() const;
    QString directory() const { return directory_; }
    QString filePath() const;

    // The text of an engine error as the user sees it.
    static QString errorText(const QSqlError& error);

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

private:
    void openConnection(bool exists);
    void createSchema();

    QString directory_;
    QString connectionName_;
    bool readOnly_ = false;
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
