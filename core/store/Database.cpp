#include "core/store/Database.h"

#include "core/base/Errors.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QUuid>

#include <cmath>
#include <optional>

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
        throw AppError(errorText(db.lastError()));

    // A committed transaction reaches the disk before it returns, with one sync: the
    // write-ahead log with full synchronisation keeps it through a crash or a power cut.
    if (!readOnly_) {
        run(QStringLiteral("PRAGMA journal_mode=WAL"));
        run(QStringLiteral("PRAGMA synchronous=FULL"));
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
        return;
    }
    // A table that is missing is reported now, with the engine's text, rather than by the
    // first action that needs it.
    for (const char* table : {"sportler", "units", "mr"})
        run(QStringLiteral("SELECT * FROM %1 LIMIT 0").arg(QLatin1String(table)));
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

QSqlQuery Database::run(const QString& statement, const QVariantList& values) {
    QSqlQuery q(connection());
    q.setForwardOnly(true);
    if (!q.prepare(statement))
        throw AppError(errorText(q.lastError()));
    for (const QVariant& value : values)
        q.addBindValue(value);
    if (!q.exec())
        throw AppError(errorText(q.lastError()));
    return q;
}

int Database::write(const QString& statement, const QVariantList& values) {
    return run(statement, values).numRowsAffected();
}

void Database::createSchema() {
    Transaction t(*this);
    for (const char* statement : kSchema)
        run(QString::fromLatin1(statement));
    t.commit();
}

Database::WriteProbe Database::probeWriteAccess() {
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
    db_.run(QStringLiteral("BEGIN IMMEDIATE"));
}

Database::Transaction::~Transaction() {
    if (!done_) {
        QSqlQuery q(db_.connection());
        q.exec(QStringLiteral("ROLLBACK"));
    }
}

void Database::Transaction::commit() {
    db_.run(QStringLiteral("COMMIT"));
    done_ = true;
}

QVariant engineDate(const QDate& date) {
    return date.isValid() ? QVariant(date.toString(QStringLiteral("yyyy-MM-dd"))) : QVariant();
}

QVariant engineMoment(const QDateTime& moment) {
    return moment.isValid() ? QVariant(moment.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")))
                            : QVariant();
}

namespace {

// "yyyy-MM-ddTHH:mm:ss" and "yyyy-MM-dd", the forms the program stores, read without the
// general parser.
std::optional<QDateTime> storedForm(const QString& text) {
    const bool dateOnly = text.size() == 10;
    if ((text.size() != 19 && !dateOnly) || text[4] != QLatin1Char('-') ||
        text[7] != QLatin1Char('-'))
        return std::nullopt;
    if (!dateOnly && ((text[10] != QLatin1Char('T') && text[10] != QLatin1Char(' ')) ||
                      text[13] != QLatin1Char(':') || text[16] != QLatin1Char(':')))
        return std::nullopt;
    const auto number = [&text](int from, int length) {
        int value = 0;
        for (int i = from; i < from + length; ++i) {
            const char16_t c = text[i].unicode();
            if (c < u'0' || c > u'9')
                return -1;
            value = value * 10 + (c - u'0');
        }
        return value;
    };
    const int year = number(0, 4);
    const int month = number(5, 2);
    const int day = number(8, 2);
    // -1 marks a field that is not all digits; as a year it would be a valid one (1 BC).
    if (year < 0 || month < 0 || day < 0)
        return std::nullopt;
    const QDate date(year, month, day);
    if (dateOnly)
        return date.isValid() ? std::optional(date.startOfDay()) : std::nullopt;
    const QTime time(number(11, 2), number(14, 2), number(17, 2));
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return QDateTime(date, time);
}

} // namespace

QDateTime momentOf(const QVariant& v) {
    if (v.isNull())
        return {};
    if (v.metaType().id() == QMetaType::QDateTime)
        return v.toDateTime();
    if (v.metaType().id() == QMetaType::QDate)
        return v.toDate().startOfDay();
    QString text = v.toString().trimmed();
    if (const auto stored = storedForm(text))
        return *stored;
    if (text.size() == 10) {
        const QDate d = QDate::fromString(text, Qt::ISODate);
        return d.isValid() ? d.startOfDay() : QDateTime();
    }
    text.replace(QLatin1Char(' '), QLatin1Char('T'));
    return QDateTime::fromString(text, Qt::ISODate);
}

qint64 integerOf(const QVariant& v) {
    if (v.isNull())
        return 0;
    if (v.metaType().id() == QMetaType::LongLong)
        return v.toLongLong();
    bool ok = false;
    const double d = v.toDouble(&ok);
    // No number, or one no integer holds ("inf", "1e300" in a damaged file): 0, as empty. The
    // rounding of such a value is not defined.
    if (!ok || !std::isfinite(d) || std::fabs(d) >= 0x1p63)
        return 0;
    return static_cast<qint64>(std::llround(d));
}

double numberOf(const QVariant& v) {
    return v.isNull() ? 0.0 : v.toDouble();
}
