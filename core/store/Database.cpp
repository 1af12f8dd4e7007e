// The database on either engine: opening and creating the tables, reading and writing, the write
// probe, the check at start, and errors by cause.

#include "core/store/Database.h"

#include "core/base/Errors.h"
#include "core/store/Schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>
#include <QUuid>

#include <sqlite3.h>

#include <cerrno>
#include <cmath>
#include <optional>

namespace {

// The texts of this file that the user reads, in the translation context "Database".
struct DatabaseTexts {
    Q_DECLARE_TR_FUNCTIONS(Database)
};

} // namespace

namespace {

// The three tables and their indexes, once for each engine.
const char* const kSQLiteSchema[] = {
    "CREATE TABLE sportler ("
    " ID INTEGER PRIMARY KEY AUTOINCREMENT,"
    " Name VARCHAR(50),"
    " Vorname VARCHAR(50),"
    " Geb DATE,"
    " Geschl INTEGER,"
    " Bemerkung1 VARCHAR(100),"
    " Bemerkun2 VARCHAR(100))",
    "CREATE TABLE units ("
    " ID INTEGER PRIMARY KEY AUTOINCREMENT,"
    " Ref_ID INTEGER,"
    " Datum TIMESTAMP,"
    " Nummer INTEGER,"
    " SZ INTEGER,"
    " FZ INTEGER,"
    " Eff DOUBLE,"
    " Bem VARCHAR(100))",
    "CREATE TABLE mr ("
    " Serie DOUBLE,"
    " SZ DOUBLE,"
    " FZ DOUBLE,"
    " Eff DOUBLE,"
    " Anzahl DOUBLE)",
    "CREATE INDEX units_ref_id ON units (Ref_ID)",
    "CREATE INDEX mr_serie ON mr (Serie)",
    "CREATE UNIQUE INDEX units_athlete_number ON units (Ref_ID, Nummer)",
};

// The same columns on a server: keys from sequences. Created where missing, so that a
// database set up by hand is used as it is.
const char* const kPostgreSQLSchema[] = {
    "CREATE TABLE IF NOT EXISTS sportler ("
    " ID BIGSERIAL PRIMARY KEY,"
    " Name VARCHAR(50),"
    " Vorname VARCHAR(50),"
    " Geb DATE,"
    " Geschl INTEGER,"
    " Bemerkung1 VARCHAR(100),"
    " Bemerkun2 VARCHAR(100))",
    "CREATE TABLE IF NOT EXISTS units ("
    " ID BIGSERIAL PRIMARY KEY,"
    " Ref_ID BIGINT,"
    " Datum TIMESTAMP,"
    " Nummer BIGINT,"
    " SZ INTEGER,"
    " FZ INTEGER,"
    " Eff DOUBLE PRECISION,"
    " Bem VARCHAR(100))",
    "CREATE TABLE IF NOT EXISTS mr ("
    " Serie DOUBLE PRECISION,"
    " SZ DOUBLE PRECISION,"
    " FZ DOUBLE PRECISION,"
    " Eff DOUBLE PRECISION,"
    " Anzahl DOUBLE PRECISION)",
    "CREATE INDEX IF NOT EXISTS units_ref_id ON units (Ref_ID)",
    "CREATE INDEX IF NOT EXISTS mr_serie ON mr (Serie)",
};

bool hasWriteBits(const QFileInfo& info) {
    const auto p = info.permissions();
    return p & (QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther);
}

QString newConnectionName() {
    return QStringLiteral("kalvero-") + QUuid::createUuid().toString(QUuid::Id128);
}

} // namespace

Database::Database(const QString& directory) : Database(StoreLocation::embedded(directory)) {}

Database::Database(const StoreLocation& location)
    : location_(location), connectionName_(newConnectionName()) {
    try {
        if (location_.kind == StoreLocation::Kind::Server)
            openServer();
        else
            openFile();
    } catch (...) {
        QSqlDatabase::removeDatabase(connectionName_);
        throw;
    }
}

void Database::openFile() {
    const QString directory = location_.directory;
    const QString path = filePath();
    // An empty file (left, say, by a copy that failed) is set up like a missing one.
    const QFileInfo file(path);
    // What the engine would only call "unable to open database file" is said here, with the
    // path.
    if (file.isDir())
        throw AppError(DatabaseTexts::tr("An der Stelle der Datenbankdatei \"%1\" steht ein "
                                         "Verzeichnis. Es muss umbenannt oder entfernt werden.")
                           .arg(QDir::toNativeSeparators(path)));
    const bool exists = file.exists() && file.size() > 0;
    if (!exists && !QDir().mkpath(directory))
        throw AppError(DatabaseTexts::tr("Das Datenverzeichnis \"%1\" kann nicht angelegt werden")
                           .arg(QDir::toNativeSeparators(directory)));
    if (exists && !file.isReadable())
        throw AppError(DatabaseTexts::tr("Die Datenbankdatei \"%1\" darf nicht gelesen werden: "
                                         "Es fehlt die Leseberechtigung.")
                           .arg(QDir::toNativeSeparators(path)));
    if (!exists && (!QFileInfo(directory).isWritable() || !hasWriteBits(QFileInfo(directory)))) {
        throw AppError(DatabaseTexts::tr("Im Datenverzeichnis \"%1\" kann die Datenbank nicht "
                                         "angelegt werden: Es fehlt die Schreibberechtigung.")
                           .arg(QDir::toNativeSeparators(directory)));
    }

    // A database file or directory without write permission is opened read-only, also for a
    // user (such as root) whom the system would let write anyway.
    if (exists)
        readOnly_ = !hasWriteBits(file) || !hasWriteBits(QFileInfo(directory));

    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName_);
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000");
    if (readOnly_) {
        // Read as it stands: a database that keeps its latest changes in a write-ahead log
        // cannot be opened otherwise where its index files cannot be created.
        db.setDatabaseName(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded) +
                           QStringLiteral("?immutable=1"));
        options += QStringLiteral(";QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI");
    } else {
        db.setDatabaseName(path);
    }
    db.setConnectOptions(options);
    if (!db.open())
        throw failure(db.lastError());

    try {
        // A committed transaction reaches the disk before it returns, with one sync: the
        // write-ahead log with full synchronisation keeps it through a crash or a power cut.
        if (!readOnly_) {
            execute(QStringLiteral("PRAGMA journal_mode=WAL"), {});
            execute(QStringLiteral("PRAGMA synchronous=FULL"), {});
            if (sqlite3* engine = engineHandle())
                sqlite3_wal_hook(engine, &Database::afterCommit, this);
        }
        if (exists) {
            checkTables();
            return;
        }
    } catch (const AppError&) {
        // A damaged file stays open for what can still be read; every change is refused.
        if (damaged_)
            return;
        throw;
    }
    {
        try {
            createSchema();
        } catch (...) {
            // Leave no empty database behind.
            db.close();
            for (const char* suffix : {"", "-wal", "-shm"})
                QFile::remove(path + QLatin1String(suffix));
            throw;
        }
        upgradeSchema();
        return;
    }
}

void Database::connectServer() {
    QSqlDatabase db = QSqlDatabase::database(connectionName_, false);
    if (!db.isValid()) {
        db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connectionName_);
        if (!db.isValid())
            throw AppError(DatabaseTexts::tr("Der Treiber für PostgreSQL-Datenbanken fehlt."));
        db.setHostName(location_.host);
        db.setPort(location_.port);
        db.setUserName(location_.user);
        db.setDatabaseName(location_.database);
        db.setConnectOptions(QStringLiteral("connect_timeout=5"));
    }
    db.close();
    if (!db.open())
        throw AppError(DatabaseTexts::tr("Der Datenbankserver %1 ist nicht erreichbar.")
                           .arg(location_.serverName()),
                       errorText(db.lastError()));
    // A lock held by another station is waited for as long as on the file, then reported;
    // the server's notices (a table that is there already) are no news to anyone.
    QSqlQuery settings(db);
    settings.exec(QStringLiteral("SET lock_timeout = '5s'"));
    settings.exec(QStringLiteral("SET client_min_messages = warning"));
    reconnect_ = false;
}

void Database::openServer() {
    connectServer();
    // A station that may only read (no right to write, or a database that takes read-only
    // transactions only) finds the tables as they are.
    readOnly_ = probeWriteAccess().access == WriteAccess::ReadOnly;
    if (readOnly_) {
        checkTables();
        return;
    }
    // The set-up takes locks on the tables that would make a station wait for, or deadlock
    // with, another that is recording; a database that has everything is left alone.
    QSqlQuery present = read(QStringLiteral(
        "SELECT to_regclass('sportler') IS NOT NULL AND to_regclass('units') IS NOT NULL AND "
        "to_regclass('mr') IS NOT NULL AND to_regclass('units_ref_id') IS NOT NULL AND "
        "to_regclass('mr_serie') IS NOT NULL"));
    const bool complete = present.next() && present.value(0).toBool();
    present.finish();
    if (complete) {
        checkTables();
        return;
    }
    // Stations that start at once set the tables up one after the other.
    Transaction t(*this);
    read(QStringLiteral("SELECT pg_advisory_xact_lock(2401013)"));
    for (const char* statement : kPostgreSQLSchema)
        write(QString::fromLatin1(statement));
    t.commit();
    checkTables();
}

void Database::checkTables() {
    // A table that is missing is reported now, with the engine's text, rather than by the
    // first action that needs it.
    for (const char* table : {"sportler", "units", "mr"})
        read(QStringLiteral("SELECT * FROM %1 LIMIT 0").arg(QLatin1String(table)));
    if (!readOnly_)
        ensureUniqueNumbers();
    upgradeSchema();
}

void Database::upgradeSchema() {
    // A damaged file is only read: it keeps the version it has.
    if (!readOnly_ && !damaged_) {
        try {
            schemaVersion_ = schema::upgrade(*this);
            return;
        } catch (const AppError& e) {
            upgradeFailure_ = e;
        }
    }
    schemaVersion_ = schema::versionOf(*this);
}

void Database::ensureUniqueNumbers() {
    QSqlQuery index = read(
        dialect() == Dialect::SQLite
            ? QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'index' "
                             "AND name = 'units_athlete_number'")
            : QStringLiteral("SELECT 1 FROM pg_indexes WHERE indexname = 'units_athlete_number'"));
    if (index.next())
        return;
    index.finish();
    QSqlQuery twice = read(QStringLiteral("SELECT Ref_ID, Nummer, COUNT(*) FROM units "
                                          "WHERE Ref_ID IS NOT NULL AND Nummer IS NOT NULL "
                                          "GROUP BY Ref_ID, Nummer HAVING COUNT(*) > 1 "
                                          "ORDER BY Ref_ID, Nummer"));
    while (twice.next())
        duplicateNumbers_ << DuplicateNumber{integerOf(twice.value(0)), integerOf(twice.value(1)),
                                             static_cast<int>(integerOf(twice.value(2)))};
    twice.finish();
    // Measurements that share a number are kept as they are; only a table without them
    // gets the index.
    if (duplicateNumbers_.isEmpty())
        write(QStringLiteral("CREATE UNIQUE INDEX units_athlete_number ON units (Ref_ID, Nummer)"));
}

Database::~Database() {
    stopWorker_ = true;
    if (worker_.joinable())
        worker_.join();
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName_, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(connectionName_);
}

QSqlDatabase Database::connection() const {
    return QSqlDatabase::database(connectionName_, false);
}

Database::Dialect Database::dialect() const {
    return location_.kind == StoreLocation::Kind::Server ? Dialect::PostgreSQL : Dialect::SQLite;
}

QString Database::rowOrder(const QString& table) const {
    const QString column =
        dialect() == Dialect::SQLite ? QStringLiteral("rowid") : QStringLiteral("ctid");
    return table.isEmpty() ? column : table + QLatin1Char('.') + column;
}

QString Database::order(const QString& column) const {
    // SQLite puts empty values first of itself.
    return dialect() == Dialect::SQLite ? column : QStringLiteral("%1 NULLS FIRST").arg(column);
}

QString Database::textOrder(const QString& column) const {
    // SQLite compares texts by their characters' codes of itself.
    return dialect() == Dialect::SQLite
               ? column
               : QStringLiteral("%1 COLLATE \"C\" NULLS FIRST").arg(column);
}

QString Database::errorText(const QSqlError& error) {
    const QString text = error.text().trimmed();
    return text.isEmpty() ? DatabaseTexts::tr("Unbekannter Datenbankfehler") : text;
}

namespace {

enum class Cause { Other, Locked, ReadOnly, Damaged, Full, ConnectionLost, CannotOpen };

// The error number of the operating system behind the engine's last failure, 0 when there is
// none.
int systemErrorOf(const QSqlDatabase& connection) {
    if (!connection.isValid() || connection.driver() == nullptr)
        return 0;
    const QVariant handle = connection.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return 0;
    sqlite3* engine = *static_cast<sqlite3* const*>(handle.constData());
    return engine != nullptr ? sqlite3_system_errno(engine) : 0;
}

Cause causeOfSQLite(const QSqlError& error, int systemError) {
    // The engine's result code; its low byte names the cause.
    bool numbered = false;
    const int code = error.nativeErrorCode().toInt(&numbered);
    if (!numbered)
        return Cause::Other;
    switch (code & 0xFF) {
    case 10: // SQLITE_IOERR: a write that found no room is a full disk
        return systemError == ENOSPC || systemError == EDQUOT ? Cause::Full : Cause::Other;
    case 14: // SQLITE_CANTOPEN
        return Cause::CannotOpen;
    case 5: // SQLITE_BUSY
    case 6: // SQLITE_LOCKED
        return Cause::Locked;
    case 8: // SQLITE_READONLY
        return Cause::ReadOnly;
    case 11: // SQLITE_CORRUPT
    case 26: // SQLITE_NOTADB
        return Cause::Damaged;
    case 13: // SQLITE_FULL
        return Cause::Full;
    default:
        return Cause::Other;
    }
}

Cause causeOfPostgreSQL(const QSqlError& error) {
    // The SQLSTATE; libpq's own failures (a server that went away) carry none.
    const QString state = error.nativeErrorCode();
    if (state.isEmpty() || state.startsWith(QLatin1String("08")) ||
        state.startsWith(QLatin1String("57P")))
        return Cause::ConnectionLost;
    if (state == QLatin1String("53100"))
        return Cause::Full;
    if (state == QLatin1String("25006") || state == QLatin1String("42501"))
        return Cause::ReadOnly;
    if (state == QLatin1String("55P03") || state == QLatin1String("40P01") ||
        state == QLatin1String("40001"))
        return Cause::Locked;
    if (state.startsWith(QLatin1String("XX0")))
        return Cause::Damaged;
    return Cause::Other;
}

// The server's own words without its severity and the lines of context after them:
// "ERROR:  value too long\nCONTEXT: ..." becomes "value too long".
QString primaryMessageOf(const QSqlError& error) {
    QString text = error.databaseText().section(QLatin1Char('\n'), 0, 0).trimmed();
    const qsizetype colon = text.indexOf(QLatin1String(":  "));
    if (colon > 0 && colon < 10)
        text = text.mid(colon + 3).trimmed();
    return text;
}

} // namespace

AppError Database::failure(const QSqlError& error) {
    const QString engine = errorText(error);
    const Cause cause = dialect() == Dialect::SQLite
                            ? causeOfSQLite(error, systemErrorOf(connection()))
                            : causeOfPostgreSQL(error);
    const QString directory = QDir::toNativeSeparators(location_.directory);
    switch (cause) {
    case Cause::Locked:
        return AppError(DatabaseTexts::tr("Die Datenbank ist gesperrt, weil ein anderes Programm "
                                          "gerade in sie schreibt."),
                        engine);
    case Cause::ReadOnly:
        return AppError(DatabaseTexts::tr("Die Datenbank ist schreibgeschützt."), engine);
    case Cause::Damaged:
        if (dialect() == Dialect::SQLite) {
            damaged_ = true;
            return AppError(damagedText(), engine);
        }
        return AppError(DatabaseTexts::tr("Die Datenbank ist beschädigt."), engine);
    case Cause::Full:
        if (dialect() == Dialect::SQLite)
            return AppError(
                DatabaseTexts::tr("Der Datenträger ist voll: Im Datenverzeichnis \"%1\" ist kein "
                                  "Platz mehr frei.")
                    .arg(directory),
                engine);
        return AppError(DatabaseTexts::tr("Der Datenträger ist voll."), engine);
    case Cause::CannotOpen:
        return AppError(DatabaseTexts::tr("Die Datenbankdatei \"%1\" kann nicht geöffnet werden.")
                            .arg(QDir::toNativeSeparators(filePath())),
                        engine);
    case Cause::ConnectionLost:
        // The next statement connects anew: when the server is back, it works again.
        reconnect_ = true;
        return AppError(DatabaseTexts::tr("Die Verbindung zum Datenbankserver %1 ist unterbrochen.")
                            .arg(location_.serverName()),
                        engine);
    case Cause::Other:
        break;
    }
    if (dialect() == Dialect::PostgreSQL) {
        const QString primary = primaryMessageOf(error);
        if (!primary.isEmpty())
            return AppError(primary, engine);
    }
    return AppError(engine);
}

QString Database::filePath() const {
    return location_.filePath();
}

sqlite3* Database::engineHandle() const {
    if (dialect() != Dialect::SQLite)
        return nullptr;
    const QSqlDatabase db = connection();
    if (!db.isValid() || db.driver() == nullptr)
        return nullptr;
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.constData());
}

int Database::afterCommit(void* database, sqlite3* engine, const char* name, int frames) {
    auto* self = static_cast<Database*>(database);
    self->logFrames_ = frames;
    // What SQLite's own hook does, at a longer log: the session copies it before, after a
    // shown jump.
    if (frames >= kLongestLogFrames) {
        int logged = 0;
        int copied = 0;
        if (sqlite3_wal_checkpoint_v2(engine, name, SQLITE_CHECKPOINT_PASSIVE, &logged, &copied) ==
                SQLITE_OK &&
            logged == copied)
            self->logFrames_ = 0;
    }
    return SQLITE_OK;
}

void Database::checkpointIfDue() {
    if (logFrames_ < kCheckpointFrames || transactionDepth_ > 0 || readOnly_ || damaged_)
        return;
    sqlite3* engine = engineHandle();
    if (engine == nullptr)
        return;
    int logged = 0;
    int copied = 0;
    const int result =
        sqlite3_wal_checkpoint_v2(engine, "main", SQLITE_CHECKPOINT_PASSIVE, &logged, &copied);
    if (result != SQLITE_OK) {
        qWarning("kalvero: %s: %s", qUtf8Printable(filePath()), sqlite3_errmsg(engine));
        return;
    }
    // A reader that holds an older state keeps the rest for the next time.
    if (logged == copied)
        logFrames_ = 0;
}

namespace {

// A row of a statement the engine steps through. Each value is taken from the row once
// (sqlite3_column_value) and read from there: every sqlite3_column_* call locks the
// connection, which for the many small figures of a ranking took as long as the engine's
// reading of them.
class EngineRow : public Database::RowValues {
public:
    explicit EngineRow(sqlite3_stmt* statement) : statement_(statement) {}
    bool isNull(int column) const override {
        return sqlite3_value_type(value(column)) == SQLITE_NULL;
    }
    qint64 integer(int column) const override {
        sqlite3_value* v = value(column);
        switch (sqlite3_value_type(v)) {
        case SQLITE_INTEGER:
            return sqlite3_value_int64(v);
        case SQLITE_FLOAT:
            return integerOf(sqlite3_value_double(v));
        case SQLITE_NULL:
            return 0;
        default:
            return integerOf(textOf(v));
        }
    }
    double number(int column) const override {
        sqlite3_value* v = value(column);
        switch (sqlite3_value_type(v)) {
        case SQLITE_INTEGER:
        case SQLITE_FLOAT:
            return sqlite3_value_double(v);
        case SQLITE_NULL:
            return 0;
        default:
            return numberOf(textOf(v));
        }
    }
    QString text(int column) const override { return textOf(value(column)); }
    QDateTime moment(int column) const override {
        sqlite3_value* v = value(column);
        return sqlite3_value_type(v) == SQLITE_NULL ? QDateTime() : momentOf(textOf(v));
    }
    std::optional<double> numberIfAny(int column) const override {
        sqlite3_value* v = value(column);
        switch (sqlite3_value_type(v)) {
        case SQLITE_INTEGER:
        case SQLITE_FLOAT:
            return sqlite3_value_double(v);
        case SQLITE_NULL:
            return std::nullopt;
        default: {
            bool ok = false;
            const double d = QVariant(textOf(v)).toDouble(&ok);
            return ok ? std::optional(d) : std::nullopt;
        }
        }
    }

private:
    // The row's value as the engine holds it, valid until the next step, on this thread.
    sqlite3_value* value(int column) const { return sqlite3_column_value(statement_, column); }
    static QString textOf(sqlite3_value* v) {
        // As the engine keeps it (UTF-8): its own conversion would take a copy more.
        const auto* bytes = reinterpret_cast<const char*>(sqlite3_value_text(v));
        return bytes == nullptr ? QString() : QString::fromUtf8(bytes, sqlite3_value_bytes(v));
    }

    sqlite3_stmt* statement_;
};

// A row of a query that QSqlQuery reads.
class QueryRow : public Database::RowValues {
public:
    explicit QueryRow(const QSqlQuery& query) : query_(query) {}
    bool isNull(int column) const override { return query_.isNull(column); }
    qint64 integer(int column) const override { return integerOf(query_.value(column)); }
    double number(int column) const override { return numberOf(query_.value(column)); }
    QString text(int column) const override { return query_.value(column).toString(); }
    QDateTime moment(int column) const override { return momentOf(query_.value(column)); }
    std::optional<double> numberIfAny(int column) const override {
        const QVariant v = query_.value(column);
        bool ok = false;
        const double d = v.isNull() ? 0 : v.toDouble(&ok);
        return ok ? std::optional(d) : std::nullopt;
    }

private:
    const QSqlQuery& query_;
};

// Binds a value as QSQLite binds it: numbers as numbers, anything else as its text.
int bindValue(sqlite3_stmt* statement, int index, const QVariant& value) {
    if (value.isNull())
        return sqlite3_bind_null(statement, index);
    switch (value.metaType().id()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
        return sqlite3_bind_int64(statement, index, value.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return sqlite3_bind_double(statement, index, value.toDouble());
    default: {
        const QString text = value.toString();
        return sqlite3_bind_text16(statement, index, text.utf16(),
                                   static_cast<int>(text.size() * 2), SQLITE_TRANSIENT);
    }
    }
}

} // namespace

void Database::forEachRow(const QString& statement, const QVariantList& values,
                          const std::function<void(const RowValues&)>& take) {
    forEachRowUntil(statement, values, [&take](const RowValues& row) {
        take(row);
        return true;
    });
}

bool Database::forEachRowUntil(const QString& statement, const QVariantList& values,
                               const std::function<bool(const RowValues&)>& take) {
    sqlite3* engine = engineHandle();
    if (engine == nullptr) {
        QSqlQuery q = read(statement, values);
        const QueryRow row(q);
        while (q.next())
            if (!take(row))
                return false;
        return true;
    }
    const auto failed = [this, engine] {
        return failure(QSqlError(QString(), QString::fromUtf8(sqlite3_errmsg(engine)),
                                 QSqlError::StatementError,
                                 QString::number(sqlite3_extended_errcode(engine))));
    };
    sqlite3_stmt* prepared = nullptr;
    if (sqlite3_prepare16_v2(engine, statement.utf16(), static_cast<int>(statement.size() * 2),
                             &prepared, nullptr) != SQLITE_OK) {
        sqlite3_finalize(prepared);
        throw failed();
    }
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> owned(prepared, &sqlite3_finalize);
    for (int i = 0; i < values.size(); ++i)
        if (bindValue(prepared, i + 1, values[i]) != SQLITE_OK)
            throw failed();
    const EngineRow row(prepared);
    for (;;) {
        const int stepped = sqlite3_step(prepared);
        if (stepped == SQLITE_DONE)
            return true;
        if (stepped != SQLITE_ROW)
            throw failed();
        if (!take(row))
            return false;
    }
}

QSqlQuery Database::execute(const QString& statement, const QVariantList& values) {
    if (reconnect_) {
        if (transactionDepth_ > 0)
            throw AppError(DatabaseTexts::tr("Die Verbindung zum Datenbankserver %1 ist "
                                             "unterbrochen.")
                               .arg(location_.serverName()));
        connectServer();
    }
    QSqlQuery q(connection());
    q.setForwardOnly(true);
    // A statement without values goes to the engine as it is: the server cannot prepare
    // statements such as BEGIN.
    if (values.isEmpty()) {
        if (!q.exec(statement))
            throw failure(q.lastError());
        return q;
    }
    if (!q.prepare(statement))
        throw failure(q.lastError());
    for (const QVariant& value : values)
        q.addBindValue(value);
    if (!q.exec())
        throw failure(q.lastError());
    return q;
}

QSqlQuery Database::read(const QString& statement, const QVariantList& values) {
    // A damaged file is read as far as it can be; a read that meets the damage fails.
    return execute(statement, values);
}

int Database::write(const QString& statement, const QVariantList& values) {
    refuseChangesIfDamaged();
    return execute(statement, values).numRowsAffected();
}

qint64 Database::insert(const QString& statement, const QVariantList& values) {
    refuseChangesIfDamaged();
    QSqlQuery q = execute(statement, values);
    return q.next() ? integerOf(q.value(0)) : 0;
}

bool Database::has(schema::Feature feature) const {
    return schemaVersion_ >= schema::sinceVersion(feature);
}

QStringList Database::columnsOf(const QString& table) const {
    const QSqlRecord record = connection().record(table);
    QStringList out;
    for (int i = 0; i < record.count(); ++i)
        out << record.fieldName(i);
    return out;
}

QString Database::damagedText() const {
    return DatabaseTexts::tr("Die Datenbank \"%1\" ist beschädigt und wird nur noch gelesen: "
                             "Messungen und Änderungen sind nicht möglich. Beim nächsten Start "
                             "bietet Kalvero an, die neueste Sicherung aus \"%2\" "
                             "wiederherzustellen; \"kalvero --restore DATEI\" stellt eine "
                             "bestimmte wieder her. Die beschädigte Datei bleibt erhalten.")
        .arg(QDir::toNativeSeparators(filePath()),
             QDir::toNativeSeparators(backup::folder(location_.directory)));
}

void Database::refuseChangesIfDamaged() {
    awaitCheck();
    if (damaged_)
        throw AppError(damagedText());
}

void Database::awaitCheck() {
    if (!verdict_.valid())
        return;
    const backup::Check verdict = verdict_.get();
    verdict_ = {};
    if (!verdict.sound && !verdict.stopped) {
        if (!damaged_)
            qWarning("kalvero: %s: %s", qUtf8Printable(filePath()),
                     qUtf8Printable(verdict.problem));
        damaged_ = true;
    }
}

void Database::finishBackgroundWork() {
    if (worker_.joinable())
        worker_.join();
    awaitCheck();
}

void Database::checkInBackground(const QDate& today, int backupsKept, QObject* context,
                                 std::function<void(bool damaged)> answered,
                                 std::function<void(const QString& failure)> backupFailed) {
    if (dialect() != Dialect::SQLite || worker_.joinable() || verdict_.valid())
        return;
    auto promise = std::make_shared<std::promise<backup::Check>>();
    verdict_ = promise->get_future().share();
    const QString path = filePath();
    const QString directory = location_.directory;
    const bool backUp = !readOnly_ && !damaged_ && backupsKept > 0;
    std::weak_ptr<int> alive = alive_;
    // The answer goes through an object of the database's own, on this thread: the context
    // (a window) may be gone before the check is done, and only this thread may ask whether
    // it is.
    if (!answers_)
        answers_ = std::make_unique<QObject>();
    QObject* answers = answers_.get();
    const QPointer<QObject> asked(context);
    worker_ = std::thread([=, this] {
        const backup::Check verdict = backup::check(path, backup::Depth::Quick, &stopWorker_);
        promise->set_value(verdict);
        if (context != nullptr && answered)
            QMetaObject::invokeMethod(
                answers,
                [this, alive, answered, asked] {
                    if (alive.expired() || asked.isNull())
                        return;
                    awaitCheck();
                    answered(damaged_);
                },
                Qt::QueuedConnection);
        if (!backUp || !verdict.sound)
            return;
        const auto failed =
            failureOf([&] { backup::makeDaily(directory, today, backupsKept, &stopWorker_); });
        // A backup stopped by the program's end is made at the next start of the day.
        if (!failed || stopWorker_)
            return;
        const QString failure = failed->detail.isEmpty()
                                    ? failed->text
                                    : failed->text + QLatin1Char(' ') + failed->detail;
        qWarning("kalvero: %s", qUtf8Printable(failure));
        if (context != nullptr && backupFailed)
            QMetaObject::invokeMethod(
                answers,
                [alive, backupFailed, asked, failure] {
                    if (!alive.expired() && !asked.isNull())
                        backupFailed(failure);
                },
                Qt::QueuedConnection);
    });
}

void Database::createSchema() {
    Transaction t(*this);
    for (const char* statement : kSQLiteSchema)
        write(QString::fromLatin1(statement));
    t.commit();
}

WriteProbe Database::probeWriteAccess() {
    awaitCheck();
    if (damaged_)
        return {WriteAccess::ReadOnly, damagedText()};
    if (dialect() == Dialect::PostgreSQL) {
        // Asked of the server, so that no key of a sequence is used up.
        try {
            QSqlQuery q = read(QStringLiteral("SELECT has_table_privilege('units', 'INSERT') AND "
                                              "has_table_privilege('mr', 'INSERT') AND "
                                              "current_setting('transaction_read_only') = 'off'"));
            if (q.next() && q.value(0).toBool())
                return {};
            return {WriteAccess::ReadOnly, QStringLiteral("no right to write")};
        } catch (const AppError& e) {
            return {WriteAccess::Failed, e.detail().isEmpty() ? e.text() : e.detail()};
        }
    }
    QSqlQuery q(connection());
    if (!q.exec(QStringLiteral("BEGIN IMMEDIATE")) ||
        !q.exec(QStringLiteral("INSERT INTO units DEFAULT VALUES"))) {
        const QSqlError error = q.lastError();
        QSqlQuery(connection()).exec(QStringLiteral("ROLLBACK"));
        // SQLITE_READONLY and its extended codes (8, 264, 520, ...) all end in 8.
        const bool readOnly = (error.nativeErrorCode().toInt() & 0xFF) == 8;
        return {readOnly ? WriteAccess::ReadOnly : WriteAccess::Failed, errorText(error)};
    }
    q.exec(QStringLiteral("ROLLBACK"));
    return {};
}

Database::Transaction::Transaction(Database& db) : db_(db) {
    db_.refuseChangesIfDamaged();
    db_.execute(db_.dialect() == Dialect::SQLite ? QStringLiteral("BEGIN IMMEDIATE")
                                                 : QStringLiteral("BEGIN"),
                {});
    ++db_.transactionDepth_;
}

Database::Transaction::~Transaction() {
    if (!done_) {
        --db_.transactionDepth_;
        QSqlQuery q(db_.connection());
        q.exec(QStringLiteral("ROLLBACK"));
    }
}

void Database::Transaction::commit() {
    db_.execute(QStringLiteral("COMMIT"), {});
    --db_.transactionDepth_;
    done_ = true;
}
