// The station's journal file: its tables, the durable writing of every jump, and the reading of
// what waits for the server.

#include "core/store/Journal.h"

#include "core/base/Errors.h"
#include "core/base/StationIdentity.h"
#include "core/store/StoredValues.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include <sqlite3.h>

#include <atomic>
#include <cerrno>

namespace {

// The texts of this file that the user reads, in the translation context "Journal".
struct JournalTexts {
    Q_DECLARE_TR_FUNCTIONS(Journal)
};

const char* const kTables[] = {
    "CREATE TABLE IF NOT EXISTS journal_sportler ("
    " ID INTEGER PRIMARY KEY,"
    " Server_ID INTEGER NOT NULL DEFAULT 0,"
    " Gewaehlt_ID INTEGER NOT NULL DEFAULT 0,"
    " Name TEXT,"
    " Vorname TEXT,"
    " Geb TEXT)",
    "CREATE TABLE IF NOT EXISTS journal_messung ("
    " ID INTEGER PRIMARY KEY,"
    " Kennung TEXT NOT NULL UNIQUE,"
    " Sportler INTEGER NOT NULL,"
    " Datum TEXT,"
    " Test TEXT,"
    " Fallhoehe INTEGER,"
    " Protokoll INTEGER NOT NULL DEFAULT 0,"
    " Profil_ID INTEGER NOT NULL DEFAULT 0,"
    " Fortsetzung INTEGER NOT NULL DEFAULT 0,"
    " Station TEXT,"
    " Benutzer TEXT,"
    " Offen INTEGER NOT NULL DEFAULT 1,"
    " Wartet INTEGER NOT NULL DEFAULT 0,"
    " Server_Unit_ID INTEGER NOT NULL DEFAULT 0,"
    " Server_Nummer INTEGER NOT NULL DEFAULT 0,"
    " Uebertragen TEXT)",
    "CREATE TABLE IF NOT EXISTS journal_sprung ("
    " Messung INTEGER NOT NULL,"
    " Anzahl INTEGER NOT NULL,"
    " SZ INTEGER,"
    " FZ INTEGER,"
    " Eff REAL,"
    " Grund TEXT,"
    " Benutzer TEXT,"
    " Datum TEXT,"
    " PRIMARY KEY (Messung, Anzahl))",
};

std::atomic<int> journalsOpened{0};

QString momentText(const QDateTime& moment) {
    return moment.toString(Qt::ISODateWithMs);
}

QDateTime momentFrom(const QVariant& value) {
    return QDateTime::fromString(value.toString(), Qt::ISODateWithMs);
}

} // namespace

struct Journal::Connection {
    QString name;
    QSqlDatabase db() const { return QSqlDatabase::database(name, false); }

    // The error in the user's words: a full disk names the place, any other cause the file.
    AppError failure(const QSqlError& error, const QString& path) const {
        const QString engine = error.text();
        int systemError = 0;
        const QSqlDatabase connection = db();
        if (connection.isValid() && connection.driver() != nullptr) {
            const QVariant handle = connection.driver()->handle();
            if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0) {
                sqlite3* engineHandle = *static_cast<sqlite3* const*>(handle.constData());
                if (engineHandle != nullptr)
                    systemError = sqlite3_system_errno(engineHandle);
            }
        }
        bool numbered = false;
        const int code = error.nativeErrorCode().toInt(&numbered) & 0xFF;
        const bool full =
            numbered && (code == SQLITE_FULL || (code == SQLITE_IOERR &&
                                                 (systemError == ENOSPC || systemError == EDQUOT)));
        if (full)
            return AppError(JournalTexts::tr("Der Datenträger ist voll: Der Zwischenspeicher "
                                             "\"%1\" auf diesem Rechner kann nichts mehr "
                                             "aufnehmen.")
                                .arg(QDir::toNativeSeparators(path)),
                            engine);
        return AppError(JournalTexts::tr("Der Zwischenspeicher \"%1\" auf diesem Rechner kann "
                                         "nicht geschrieben werden.")
                            .arg(QDir::toNativeSeparators(path)),
                        engine);
    }
};

Journal::Journal(const QString& directory)
    : directory_(directory),
      connectionName_(QStringLiteral("journal-%1").arg(journalsOpened.fetch_add(1))) {}

Journal::~Journal() {
    if (connection_) {
        connection_.reset();
        QSqlDatabase::database(connectionName_, false).close();
    }
    QSqlDatabase::removeDatabase(connectionName_);
}

QString Journal::filePath() const {
    return QDir(directory_).filePath(kFileName);
}

bool Journal::exists() const {
    return QFileInfo::exists(filePath());
}

namespace {

// Runs one statement with its values; throws the journal's failure.
QSqlQuery run(const QSqlDatabase& db, const QString& statement, const QVariantList& values,
              const std::function<AppError(const QSqlError&)>& failed) {
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (values.isEmpty()) {
        if (!q.exec(statement))
            throw failed(q.lastError());
        return q;
    }
    if (!q.prepare(statement))
        throw failed(q.lastError());
    for (const QVariant& value : values)
        q.addBindValue(value);
    if (!q.exec())
        throw failed(q.lastError());
    return q;
}

} // namespace

void Journal::openFile() {
    auto made = std::make_unique<Connection>();
    made->name = connectionName_;
    QSqlDatabase db = QSqlDatabase::database(connectionName_, false);
    if (!db.isValid())
        db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName_);
    db.setDatabaseName(filePath());
    const auto failed = [&](const QSqlError& error) {
        return made->failure(error, filePath());
    };
    if (!QDir().mkpath(directory_) || !db.open())
        throw failed(db.lastError());
    try {
        // Every commit reaches the disk before the jump counts as kept.
        run(db, QStringLiteral("PRAGMA journal_mode = WAL"), {}, failed);
        run(db, QStringLiteral("PRAGMA synchronous = FULL"), {}, failed);
        run(db, QStringLiteral("PRAGMA busy_timeout = 5000"), {}, failed);
        for (const char* statement : kTables)
            run(db, QString::fromLatin1(statement), {}, failed);
    } catch (...) {
        db.close();
        throw;
    }
    connection_ = std::move(made);
}

Journal::Connection& Journal::connection() {
    if (!connection_)
        openFile();
    return *connection_;
}

namespace {

// One transaction on the journal: rolled back unless committed.
class JournalTransaction {
public:
    JournalTransaction(const QSqlDatabase& db, std::function<AppError(const QSqlError&)> failed)
        : db_(db), failed_(std::move(failed)) {
        run(db_, QStringLiteral("BEGIN IMMEDIATE"), {}, failed_);
    }
    ~JournalTransaction() {
        if (!done_) {
            QSqlQuery q(db_);
            q.exec(QStringLiteral("ROLLBACK"));
        }
    }
    JournalTransaction(const JournalTransaction&) = delete;
    JournalTransaction& operator=(const JournalTransaction&) = delete;
    QSqlQuery exec(const QString& statement, const QVariantList& values = {}) {
        return run(db_, statement, values, failed_);
    }
    void commit() {
        run(db_, QStringLiteral("COMMIT"), {}, failed_);
        done_ = true;
    }

private:
    QSqlDatabase db_;
    std::function<AppError(const QSqlError&)> failed_;
    bool done_ = false;
};

void putJump(JournalTransaction& t, qint64 entryId, const RecordedJump& jump,
             const std::optional<Exclusion>& exclusion) {
    t.exec(QStringLiteral("INSERT INTO journal_sprung (Messung, Anzahl, SZ, FZ, Eff, Grund, "
                          "Benutzer, Datum) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
           {entryId, jump.jumpIndex, jump.contactMs, jump.flightMs, jump.efficiency,
            exclusion ? QVariant(exclusion->reason) : QVariant(),
            exclusion ? QVariant(exclusion->user) : QVariant(),
            exclusion ? QVariant(momentText(exclusion->moment)) : QVariant()});
}

qint64 journalAthlete(JournalTransaction& t, const JournalledAthlete& athlete) {
    // A server's athlete is one journal athlete however many measurements he gets here.
    qint64 athleteId = 0;
    if (athlete.serverId != 0) {
        QSqlQuery known =
            t.exec(QStringLiteral("SELECT ID FROM journal_sportler WHERE Server_ID = ?"),
                   {athlete.serverId});
        if (known.next())
            athleteId = known.value(0).toLongLong();
    } else {
        QSqlQuery known =
            t.exec(QStringLiteral("SELECT ID FROM journal_sportler WHERE "
                                  "Server_ID = 0 AND Name = ? AND Vorname = ? AND "
                                  "COALESCE(Geb, '') = ?"),
                   {athlete.name, athlete.firstName, athlete.birthDate.toString(Qt::ISODate)});
        if (known.next())
            athleteId = known.value(0).toLongLong();
    }
    if (athleteId == 0) {
        t.exec(QStringLiteral("INSERT INTO journal_sportler (Server_ID, Name, Vorname, Geb) "
                              "VALUES (?, ?, ?, ?)"),
               {athlete.serverId, athlete.name, athlete.firstName,
                athlete.birthDate.isValid() ? QVariant(athlete.birthDate.toString(Qt::ISODate))
                                            : QVariant()});
        QSqlQuery id = t.exec(QStringLiteral("SELECT last_insert_rowid()"));
        athleteId = id.next() ? id.value(0).toLongLong() : 0;
    }
    return athleteId;
}

} // namespace

qint64 Journal::begin(const JournalledAthlete& athlete, const QDateTime& moment,
                      const MeasurementTest& test, const MeasurementProtocol& protocol,
                      qint64 continuesMeasurementId, const RecordedJump& jump,
                      const std::optional<Exclusion>& exclusion) {
    Connection& c = connection();
    JournalTransaction t(c.db(), [&](const QSqlError& e) { return c.failure(e, filePath()); });
    const qint64 athleteId = journalAthlete(t, athlete);
    t.exec(QStringLiteral("INSERT INTO journal_messung (Kennung, Sportler, Datum, Test, "
                          "Fallhoehe, Protokoll, Profil_ID, Fortsetzung, Station, Benutzer) "
                          "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
           {QUuid::createUuid().toString(QUuid::WithoutBraces), athleteId, momentText(moment),
            test.name.isEmpty() ? QVariant() : QVariant(test.name),
            test.dropHeightCm ? QVariant(*test.dropHeightCm) : QVariant(),
            static_cast<int>(protocol.kind), protocol.profileId, continuesMeasurementId,
            station::computerName(), station::userName()});
    QSqlQuery id = t.exec(QStringLiteral("SELECT last_insert_rowid()"));
    const qint64 entryId = id.next() ? id.value(0).toLongLong() : 0;
    id.finish();
    putJump(t, entryId, jump, exclusion);
    t.commit();
    return entryId;
}

void Journal::add(qint64 entryId, const RecordedJump& jump,
                  const std::optional<Exclusion>& exclusion) {
    Connection& c = connection();
    JournalTransaction t(c.db(), [&](const QSqlError& e) { return c.failure(e, filePath()); });
    putJump(t, entryId, jump, exclusion);
    t.commit();
}

void Journal::finish(qint64 entryId) {
    if (!unfinished_.contains(entryId))
        unfinished_ << entryId;
    Connection& c = connection();
    JournalTransaction t(c.db(), [&](const QSqlError& e) { return c.failure(e, filePath()); });
    t.exec(QStringLiteral("UPDATE journal_messung SET Offen = 0 WHERE ID = ?"), {entryId});
    t.commit();
    unfinished_.removeAll(entryId);
}

void Journal::finishAll() {
    if (!exists())
        return;
    Connection& c = connection();
    JournalTransaction t(c.db(), [&](const QSqlError& e) { return c.failure(e, filePath()); });
    t.exec(QStringLiteral("UPDATE journal_messung SET Offen = 0 WHERE Offen <> 0"));
    t.commit();
}

QList<JournalEntry> Journal::entriesWhere(const QString& condition, const QVariantList& values) {
    if (!connection_ && !exists())
        return {};
    Connection& c = connection();
    const auto failed = [&](const QSqlError& e) {
        return c.failure(e, filePath());
    };
    QSqlQuery q = run(c.db(),
                      QStringLiteral("SELECT m.ID, m.Kennung, m.Datum, m.Test, m.Fallhoehe, "
                                     "m.Protokoll, m.Profil_ID, m.Fortsetzung, m.Offen, "
                                     "m.Wartet, m.Server_Unit_ID, m.Server_Nummer, "
                                     "m.Uebertragen IS NOT NULL, s.ID, s.Server_ID, "
                                     "s.Gewaehlt_ID, s.Name, s.Vorname, s.Geb "
                                     "FROM journal_messung m JOIN journal_sportler s ON "
                                     "s.ID = m.Sportler WHERE %1 ORDER BY m.ID")
                          .arg(condition),
                      values, failed);
    QList<JournalEntry> out;
    while (q.next()) {
        JournalEntry e;
        e.id = q.value(0).toLongLong();
        e.measurement.identity = q.value(1).toString();
        e.measurement.moment = momentFrom(q.value(2));
        e.measurement.test.name = q.value(3).toString();
        if (!q.value(4).isNull())
            e.measurement.test.dropHeightCm = q.value(4).toInt();
        e.measurement.protocol = {static_cast<Protocol>(q.value(5).toInt()),
                                  q.value(6).toLongLong()};
        e.measurement.continuesMeasurementId = q.value(7).toLongLong();
        // A measurement taken from another station's file has an identity of 40 characters
        // (a recorded one's has 36): it is the same as one of its athlete at its moment.
        e.measurement.fromFile = e.measurement.identity.size() == 40;
        e.open = q.value(8).toInt() != 0;
        e.undecided = q.value(9).toInt() != 0;
        e.serverMeasurementId = q.value(10).toLongLong();
        e.serverMeasurementNumber = q.value(11).toLongLong();
        e.transferred = q.value(12).toBool();
        e.journalAthleteId = q.value(13).toLongLong();
        e.athlete.serverId = q.value(14).toLongLong();
        e.athlete.chosenId = q.value(15).toLongLong();
        e.athlete.name = q.value(16).toString();
        e.athlete.firstName = q.value(17).toString();
        e.athlete.birthDate = QDate::fromString(q.value(18).toString(), Qt::ISODate);
        out << e;
    }
    q.finish();
    for (JournalEntry& e : out) {
        QSqlQuery jumps = run(c.db(),
                              QStringLiteral("SELECT Anzahl, SZ, FZ, Eff, Grund, Benutzer, Datum "
                                             "FROM journal_sprung WHERE Messung = ? ORDER BY "
                                             "Anzahl"),
                              {e.id}, failed);
        while (jumps.next()) {
            const RecordedJump jump{jumps.value(1).toInt(), jumps.value(2).toInt(),
                                    jumps.value(3).toDouble(), jumps.value(0).toInt()};
            e.measurement.jumps << jump;
            if (!jumps.value(4).isNull())
                e.measurement.exclusions.insert(jump.jumpIndex, {jumps.value(4).toString(),
                                                                 jumps.value(5).toString(),
                                                                 momentFrom(jumps.value(6))});
        }
    }
    return out;
}

QList<JournalEntry> Journal::waiting() {
    for (const qint64 entryId : QList<qint64>(unfinished_))
        (void)failureOf([&] { finish(entryId); });
    return entriesWhere(QStringLiteral("m.Uebertragen IS NULL AND m.Offen = 0"), {});
}

int Journal::waitingCount() {
    if (!connection_ && !exists())
        return 0;
    Connection& c = connection();
    QSqlQuery q = run(c.db(),
                      QStringLiteral("SELECT COUNT(*) FROM journal_messung WHERE Uebertragen IS "
                                     "NULL"),
                      {}, [&](const QSqlError& e) { return c.failure(e, filePath()); });
    return q.next() ? q.value(0).toInt() : 0;
}

QList<JournalEntry> Journal::waitingOf(qint64 serverAthleteId) {
    return entriesWhere(QStringLiteral("m.Uebertragen IS NULL AND (s.Server_ID = ? OR "
                                       "s.Gewaehlt_ID = ?)"),
                        {serverAthleteId, serverAthleteId});
}

bool Journal::keepUndecided(const JournalledAthlete& athlete,
                            const JournalledMeasurement& measurement) {
    Connection& c = connection();
    JournalTransaction t(c.db(), [&](const QSqlError& e) { return c.failure(e, filePath()); });
    QSqlQuery known = t.exec(QStringLiteral("SELECT ID FROM journal_messung WHERE Kennung = ?"),
                             {measurement.identity});
    if (known.next())
        return false;
    known.finish();
    const qint64 athleteId = journalAthlete(t, athlete);
    t.exec(QStringLiteral("INSERT INTO journal_messung (Kennung, Sportler, Datum, Test, "
                          "Fallhoehe, Protokoll, Profil_ID, Fortsetzung, Station, Benutzer, "
                          "Offen, Wartet) VALUES (?, ?, ?, ?, ?, 0, 0, 0, ?, ?, 0, 1)"),
           {measurement.identity, athleteId, momentText(measurement.moment),
            measurement.test.name.isEmpty() ? QVariant() : QVariant(measurement.test.name),
            measurement.test.dropHeightCm ? QVariant(*measurement.test.dropHeightCm) : QVariant(),
            station::computerName(), station::userName()});
    QSqlQuery id = t.exec(QStringLiteral("SELECT last_insert_rowid()"));
    const qint64 entryId = id.next() ? id.value(0).toLongLong() : 0;
    id.finish();
    for (const RecordedJump& jump : measurement.jumps) {
        const auto exclusion = measurement.exclusions.constFind(jump.jumpIndex);
        putJump(t, entryId, jump,
                exclusion == measurement.exclusions.cend() ? std::nullopt
                                                           : std::optional<Exclusion>(*exclusion));
    }
    t.commit();
    return true;
}

void Journal::markTransferred(qint64 entryId, const JournalTransfer& transfer) {
    Connection& c = connection();
    JournalTransaction t(c.db(), [&](const QSqlError& e) { return c.failure(e, filePath()); });
    t.exec(QStringLiteral("UPDATE journal_messung SET Uebertragen = ?, Wartet = 0, "
                          "Server_Unit_ID = ?, Server_Nummer = ? WHERE ID = ?"),
           {momentText(QDateTime::currentDateTime()), transfer.measurementId,
            transfer.measurementNumber, entryId});
    // An athlete created here is the server's from now on.
    t.exec(QStringLiteral("UPDATE journal_sportler SET Server_ID = ? WHERE Server_ID = 0 AND "
                          "ID = (SELECT Sportler FROM journal_messung WHERE ID = ?)"),
           {transfer.athleteId, entryId});
    t.commit();
}

void Journal::markUndecided(qint64 entryId) {
    Connection& c = connection();
    JournalTransaction t(c.db(), [&](const QSqlError& e) { return c.failure(e, filePath()); });
    t.exec(QStringLiteral("UPDATE journal_messung SET Wartet = 1 WHERE ID = ?"), {entryId});
    t.commit();
}

void Journal::chooseAthlete(qint64 journalAthleteId, qint64 serverAthleteId) {
    Connection& c = connection();
    JournalTransaction t(c.db(), [&](const QSqlError& e) { return c.failure(e, filePath()); });
    t.exec(QStringLiteral("UPDATE journal_sportler SET Gewaehlt_ID = ? WHERE ID = ?"),
           {serverAthleteId, journalAthleteId});
    t.exec(QStringLiteral("UPDATE journal_messung SET Wartet = 0 WHERE Sportler = ?"),
           {journalAthleteId});
    t.commit();
}
