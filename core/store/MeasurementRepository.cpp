#include "core/store/MeasurementRepository.h"

#include "core/base/Errors.h"
#include "core/store/Database.h"
#include "core/store/SeriesKey.h"

#include <QStringList>

namespace {

const QString kJumpColumns = QStringLiteral("Serie, SZ, FZ, Eff, Anzahl");

Jump jumpOf(const QSqlQuery& q, int from = 0) {
    return {numberOf(q.value(from)), numberOf(q.value(from + 1)), numberOf(q.value(from + 2)),
            numberOf(q.value(from + 3)), numberOf(q.value(from + 4))};
}

QList<Jump> jumpsFrom(QSqlQuery q) {
    QList<Jump> out;
    while (q.next())
        out << jumpOf(q);
    return out;
}

} // namespace

QList<Measurement> MeasurementRepository::ofAthlete(qint64 athleteId) {
    QSqlQuery q = db_.run(QStringLiteral("SELECT ID, Ref_ID, Datum, Nummer, FZ FROM units "
                                         "WHERE Ref_ID = ? ORDER BY ID"),
                          {athleteId});
    QList<Measurement> out;
    while (q.next())
        out << Measurement{integerOf(q.value(0)), integerOf(q.value(1)), momentOf(q.value(2)),
                           integerOf(q.value(3)), integerOf(q.value(4))};
    return out;
}

QList<Jump> MeasurementRepository::jumpsOf(qint64 seriesKey) {
    return jumpsFrom(
        db_.run(QStringLiteral("SELECT %1 FROM mr WHERE Serie = ? ORDER BY %2, %3")
                    .arg(kJumpColumns, db_.order(QStringLiteral("Anzahl")), db_.rowOrder()),
                {seriesKey}));
}

QHash<qint64, Jump> MeasurementRepository::firstJumpsOf(const QList<qint64>& seriesKeys) {
    QHash<qint64, Jump> out;
    // The keys are numbers the program computed, written into the statement in blocks.
    constexpr int kBlock = 500;
    for (qsizetype from = 0; from < seriesKeys.size(); from += kBlock) {
        QStringList keys;
        for (const qint64 key : seriesKeys.mid(from, kBlock))
            keys << QString::number(key);
        QSqlQuery q = db_.run(QStringLiteral("SELECT %1 FROM mr WHERE Serie IN (%2) ORDER BY %3")
                                  .arg(kJumpColumns, keys.join(QLatin1Char(',')), db_.rowOrder()));
        while (q.next()) {
            const Jump jump = jumpOf(q);
            const auto key = static_cast<qint64>(jump.seriesKey);
            if (!out.contains(key))
                out.insert(key, jump);
        }
    }
    return out;
}

QHash<qint64, QList<Jump>> MeasurementRepository::jumpsOfSeries(const QList<qint64>& seriesKeys) {
    QHash<qint64, QList<Jump>> out;
    // As in firstJumpsOf: computed numbers, written into the statement in blocks.
    constexpr int kBlock = 500;
    for (qsizetype from = 0; from < seriesKeys.size(); from += kBlock) {
        QStringList keys;
        for (const qint64 key : seriesKeys.mid(from, kBlock))
            keys << QString::number(key);
        // Unsorted, and only the times: sorting the rows of a block, or reading two more
        // columns, would take longer than reading them.
        QSqlQuery q = db_.run(QStringLiteral("SELECT Serie, SZ, FZ FROM mr WHERE Serie IN (%1)")
                                  .arg(keys.join(QLatin1Char(','))));
        while (q.next()) {
            Jump jump;
            jump.seriesKey = numberOf(q.value(0));
            jump.contactMs = numberOf(q.value(1));
            jump.flightMs = numberOf(q.value(2));
            out[static_cast<qint64>(jump.seriesKey)] << jump;
        }
    }
    return out;
}

QList<Jump> MeasurementRepository::allJumps(int offset, int limit) {
    return jumpsFrom(db_.run(QStringLiteral("SELECT %1 FROM mr ORDER BY %2 LIMIT ? OFFSET ?")
                                 .arg(kJumpColumns, db_.rowOrder()),
                             {limit, offset}));
}

namespace {

void insertJump(Database& db, qint64 seriesKey, const RecordedJump& jump) {
    db.write(QStringLiteral("INSERT INTO mr (%1) VALUES (?, ?, ?, ?, ?)").arg(kJumpColumns),
             {static_cast<double>(seriesKey), static_cast<double>(jump.contactMs),
              static_cast<double>(jump.flightMs), jump.efficiency,
              static_cast<double>(jump.number)});
}

} // namespace

Measurement MeasurementRepository::recordFirstJump(qint64 athleteId, const QDateTime& moment,
                                                   const RecordedJump& jump) {
    Database::Transaction transaction(db_);
    // On a server, stations that record for the same athlete take their numbers one after
    // the other; the file's transaction excludes every other writer already.
    if (db_.dialect() == Database::Dialect::PostgreSQL)
        db_.run(QStringLiteral("SELECT ID FROM sportler WHERE ID = ? FOR UPDATE"), {athleteId});
    QSqlQuery last = db_.run(
        QStringLiteral("SELECT COALESCE(MAX(Nummer), 0) FROM units WHERE Ref_ID = ?"), {athleteId});
    const qint64 nummer = (last.next() ? integerOf(last.value(0)) : 0) + 1;
    last.finish();
    const qint64 key = seriesKey(athleteId, nummer);
    QSqlQuery inserted =
        db_.run(QStringLiteral("INSERT INTO units (Ref_ID, Datum, Nummer, FZ) VALUES (?, ?, ?, ?) "
                               "RETURNING ID"),
                {athleteId, engineMoment(moment), nummer, jump.number});
    const qint64 id = inserted.next() ? integerOf(inserted.value(0)) : 0;
    inserted.finish();
    insertJump(db_, key, jump);
    transaction.commit();
    return {id, athleteId, moment, nummer, jump.number};
}

void MeasurementRepository::recordJump(qint64 measurementId, const RecordedJump& jump) {
    Database::Transaction transaction(db_);
    QSqlQuery found =
        db_.run(QStringLiteral("SELECT Ref_ID, Nummer FROM units WHERE ID = ?"), {measurementId});
    if (!found.next())
        throw AppError(
            QStringLiteral("Die Messung %1 ist nicht mehr gespeichert").arg(measurementId));
    const qint64 key = seriesKey(integerOf(found.value(0)), integerOf(found.value(1)));
    found.finish();
    insertJump(db_, key, jump);
    db_.write(QStringLiteral("UPDATE units SET FZ = ? WHERE ID = ?"), {jump.number, measurementId});
    transaction.commit();
}

void MeasurementRepository::remove(qint64 athleteId, qint64 nummer) {
    Database::Transaction transaction(db_);
    db_.write(QStringLiteral("DELETE FROM mr WHERE Serie = ?"), {seriesKey(athleteId, nummer)});
    db_.write(QStringLiteral("DELETE FROM units WHERE Nummer = ? AND Ref_ID = ?"),
              {nummer, athleteId});
    transaction.commit();
}
