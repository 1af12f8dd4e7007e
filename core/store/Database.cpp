#include "core/store/Database.h"

#include "core/base/Errors.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace {

const char* const kSchema[] = {
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
};

bool hasWriteBits(const QFileInfo& info) {
    const auto p = info.permissions();
    return p & (QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther);
}

} // namespace

QString Database::dataDirectory(const QProcessEnvironment& env) {
    QString dir = env.value(QStringLiteral("KALVERO_DATA_DIR"));
    if (dir.isEmpty()) {
#ifdef Q_OS_WIN
        QString common = env.value(QStringLiteral("ProgramData"));
        if (common.isEmpty())
            common = QStringLiteral("C:/ProgramData");
        dir = common + QStringLiteral("/Morvek/QRV/");
#else
        QString base = env.value(QStringLiteral("XDG_DATA_HOME"));
        if (base.isEmpty())
            base = env.value(QStringLiteral("HOME"), QDir::homePath()) +
                   QStringLiteral("/.local/share");
        dir = base + QStringLiteral("/Morvek/QRV/");
#endif
    }
    dir = QDir::cleanPath(dir);
    return QDir::toNativeSeparators(dir + QLatin1Char('/'));
}

Database::Database(const QString& directory)
    : directory_(directory),
      connectionName_(QStringLiteral("kalvero-") + QUuid::createUuid().toString(QUuid::Id128)) {
    const QString path = filePath();
    const bool exists = QFileInfo::exists(path);
    if (!exists && !QDir().mkpath(directory))
        throw AppError(QStringLiteral("Das Datenverzeichnis \"%1\" kann nicht angelegt werden")
                           .arg(QDir::toNativeSeparators(directory)));

    // A database file or directory without write permission is opened read-only, also for a
    // user (such as root) whom the system would let write anyway.
    if (exists)
        readOnly_ = !hasWriteBits(QFileInfo(path)) || !hasWriteBits(QFileInfo(directory));

    try {
        openConnection(exists);
    } catch (...) {
        QSqlDatabase::removeDatabase(connectionName_);
        throw;
    }
}

void Database::openConnection(bool exists) {
    const QString path = filePath();
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName_);
    db.setDatabaseName(path);
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000");
    if (readOnly_)
        options += QStringLiteral(";QSQLITE_OPEN_READONLY");
    db.setConnectOptions(options);
    if (!db.open())
        throw AppError(errorText(db.lastError()));

    // Every statement is its own transaction and reaches the disk before it returns: the
    // rollback journal with full synchronisation keeps a committed row through a crash or a
    // power cut.
    if (!readOnly_) {
        exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
        exec(QStringLiteral("PRAGMA synchronous=FULL"));
    }
    if (!exists) {
        try {
            createSchema();
        } catch (...) {
            // Leave no empty database behind that would fail every later start.
            db.close();
            QFile::remove(path);
            throw;
        }
    }
}

Database::~Database() {
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

QString Database::errorText(const QSqlError& error) {
    const QString text = error.text().trimmed();
    return text.isEmpty() ? QStringLiteral("Unbekannter Datenbankfehler") : text;
}

QString Database::filePath() const {
    return QDir(directory_).filePath(kFileName);
}

void Database::prepareWrite() {
    for (auto& [id, pause] : writeListeners_)
        pause();
}

int Database::addWriteListener(std::function<void()> pause) {
    writeListeners_[++nextListener_] = std::move(pause);
    return nextListener_;
}

void Database::removeWriteListener(int id) {
    writeListeners_.erase(id);
}

void Database::exec(const QString& statement) {
    prepareWrite();
    QSqlQuery q(connection());
    if (!q.exec(statement))
        throw AppError(errorText(q.lastError()));
}

void Database::createSchema() {
    Transaction t(*this);
    for (const char* statement : kSchema)
        exec(QString::fromLatin1(statement));
    t.commit();
}

bool Database::canWriteTable(const QString& table) {
    prepareWrite();
    QSqlQuery q(connection());
    if (!q.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return false;
    const bool written = q.exec(QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table));
    q.exec(QStringLiteral("ROLLBACK"));
    return written;
}

Database::Transaction::Transaction(Database& db) : db_(db) {
    db_.exec(QStringLiteral("BEGIN IMMEDIATE"));
}

Database::Transaction::~Transaction() {
    if (!done_) {
        QSqlQuery q(db_.connection());
        q.exec(QStringLiteral("ROLLBACK"));
    }
}

void Database::Transaction::commit() {
    db_.exec(QStringLiteral("COMMIT"));
    done_ = true;
}
