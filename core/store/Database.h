#pragma once

#include <QProcessEnvironment>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

#include <functional>
#include <map>

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
    bool openedReadOnly() const { return readOnly_; }

    // The text of an engine error as the user sees it.
    static QString errorText(const QSqlError& error);

    // Runs one statement outside any result set; throws AppError on failure.
    void exec(const QString& statement);

    // Called before anything is written: result sets still reading rows from the engine
    // pause (and later resume where they stopped), so that no unfinished read keeps a write
    // from being committed at once.
    void prepareWrite();
    int addWriteListener(std::function<void()> pause);
    void removeWriteListener(int id);

    // True when a row can really be written to `table`: a write that is rolled back again.
    bool canWriteTable(const QString& table);

    // All or nothing: statements between begin() and commit() take effect together; a
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
    std::map<int, std::function<void()>> writeListeners_;
    int nextListener_ = 0;
};
