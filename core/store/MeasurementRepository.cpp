// The statements on the measurement table and those beside it: reading measurements, recording a
// run's jumps, tests, protocols and profiles, exclusions, deletion and carried-over measurements.

#include "core/store/MeasurementRepository.h"

#include "core/base/Errors.h"
#include "core/store/Database.h"
#include "core/store/SeriesKey.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QStringList>

#include <cmath>

namespace {

// The texts of this file that the user reads, in the translation context "MeasurementRepository".
struct MeasurementRepositoryTexts {
    Q_DECLARE_TR_FUNCTIONS(MeasurementRepository)
};

} // namespace

namespace {

const QString kJumpColumns = QStringLiteral("Serie, SZ, FZ, Eff, Anzahl");

MeasurementTest testOf(const QVariant& name, const QVariant& dropHeight) {
    MeasurementTest test;
    test.name = name.toString();
    if (!dropHeight.isNull())
        test.dropHeightCm = static_cast<int>(integerOf(dropHeight));
    return test;
}

// Stores a test under a key of its table, in place of the one there.
void putTest(Database& db, const QString& table, const QString& keyColumn, qint64 key,
             const MeasurementTest& test) {
    db.write(QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(table, keyColumn), {key});
    db.write(QStringLiteral("INSERT INTO %1 (%2, Test, Fallhoehe) VALUES (?, ?, ?)")
                 .arg(table, keyColumn),
             {key, test.name.isEmpty() ? QVariant() : QVariant(test.name),
              test.dropHeightCm ? QVariant(*test.dropHeightCm) : QVariant()});
}

// How a protocol is stored in units_protokoll.Protokoll.
const QString kTenFiveCode = QStringLiteral("10/5");
const QString kProfileCode = QStringLiteral("Profil");

MeasurementProtocol protocolOf(const QVariant& code, const QVariant& profileId) {
    const QString text = code.toString();
    if (text == kTenFiveCode)
        return {Protocol::TenFive, 0};
    if (text == kProfileCode)
        return {Protocol::DropHeightProfile, profileId.isNull() ? 0 : integerOf(profileId)};
    return {}; // none, or one that a later version knows
}

void putProtocol(Database& db, qint64 measurementId, const MeasurementProtocol& protocol) {
    db.write(QStringLiteral("DELETE FROM units_protokoll WHERE Unit_ID = ?"), {measurementId});
    if (protocol.kind == Protocol::None)
        return;
    const bool profile = protocol.kind == Protocol::DropHeightProfile;
    db.write(QStringLiteral("INSERT INTO units_protokoll (Unit_ID, Protokoll, Profil_ID) "
                            "VALUES (?, ?, ?)"),
             {measurementId, profile ? kProfileCode : kTenFiveCode,
              profile ? QVariant(protocol.profileId) : QVariant()});
}

QString heightsText(const QList<int>& heightsCm) {
    QStringList parts;
    for (const int height : heightsCm)
        parts << QString::number(height);
    return parts.join(QLatin1Char(','));
}

QList<int> heightsOf(const QString& text) {
    QList<int> out;
    for (const QString& part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int height = part.trimmed().toInt(&ok);
        if (ok)
            out << height;
    }
    return out;
}

ProfilePlan planOf(const QSqlQuery& q) {
    return {integerOf(q.value(0)), integerOf(q.value(1)), momentOf(q.value(2)),
            heightsOf(q.value(3).toString()), static_cast<int>(integerOf(q.value(4)))};
}

} // namespace

bool MeasurementRepository::knowsProtocols() const {
    return db_.has(schema::Feature::Protocols);
}

qint64 MeasurementRepository::createProfile(qint64 athleteId, const QDateTime& moment,
                                            const QList<int>& heightsCm, int trialsPerHeight) {
    if (!knowsProtocols())
        throw AppError(QCoreApplication::translate(
            "Database", "Die Datenbank kennt noch keine Protokolle; das Profil kann nicht "
                        "gespeichert werden."));
    return db_.insert(
        QStringLiteral("INSERT INTO profile (Ref_ID, Datum, Hoehen, Versuche) VALUES (?, ?, ?, ?) "
                       "RETURNING ID"),
        {athleteId, engineMoment(moment), heightsText(heightsCm), trialsPerHeight});
}

void MeasurementRepository::setProtocol(qint64 measurementId, const MeasurementProtocol& protocol) {
    if (!knowsProtocols())
        throw AppError(QCoreApplication::translate(
            "Database", "Die Datenbank kennt noch keine Protokolle; das Protokoll der Messung "
                        "kann nicht gespeichert werden."));
    Database::Transaction transaction(db_);
    putProtocol(db_, measurementId, protocol);
    transaction.commit();
}

std::optional<ProfilePlan> MeasurementRepository::profile(qint64 profileId) {
    if (!knowsProtocols())
        return std::nullopt;
    QSqlQuery q = db_.read(
        QStringLiteral("SELECT ID, Ref_ID, Datum, Hoehen, Versuche FROM profile WHERE ID = ?"),
        {profileId});
    if (!q.next())
        return std::nullopt;
    return planOf(q);
}

QList<ProfilePlan> MeasurementRepository::profilesOfAthlete(qint64 athleteId) {
    if (!knowsProtocols())
        return {};
    QSqlQuery q = db_.read(QStringLiteral("SELECT ID, Ref_ID, Datum, Hoehen, Versuche FROM "
                                          "profile WHERE Ref_ID = ? ORDER BY ID"),
                           {athleteId});
    QList<ProfilePlan> out;
    while (q.next())
        out << planOf(q);
    return out;
}

bool MeasurementRepository::storesTests() const {
    return db_.has(schema::Feature::Tests);
}

QList<Measurement> MeasurementRepository::ofAthlete(qint64 athleteId) {
    return measurementsWhere(QStringLiteral("u.Ref_ID = ?"), athleteId);
}

qint64 MeasurementRepository::countOfAthlete(qint64 athleteId) {
    QSqlQuery q =
        db_.read(QStringLiteral("SELECT COUNT(*) FROM units WHERE Ref_ID = ?"), {athleteId});
    return q.next() ? integerOf(q.value(0)) : 0;
}

QList<Measurement> MeasurementRepository::ofProfile(qint64 profileId) {
    if (!knowsProtocols())
        return {};
    return measurementsWhere(QStringLiteral("p.Profil_ID = ?"), profileId);
}

QList<Measurement> MeasurementRepository::measurementsWhere(const QString& condition,
                                                            const QVariant& value) {
    const bool tests = storesTests();
    const bool protocols = knowsProtocols();
    QString sql = QStringLiteral("SELECT u.ID, u.Ref_ID, u.Datum, u.Nummer, u.FZ");
    if (tests)
        sql += QStringLiteral(", t.Test, t.Fallhoehe");
    if (protocols)
        sql += QStringLiteral(", p.Protokoll, p.Profil_ID");
    sql += QStringLiteral(" FROM units u");
    if (tests)
        sql += QStringLiteral(" LEFT JOIN units_test t ON t.Unit_ID = u.ID");
    if (protocols)
        sql += QStringLiteral(" LEFT JOIN units_protokoll p ON p.Unit_ID = u.ID");
    sql += QStringLiteral(" WHERE %1 ORDER BY u.ID").arg(condition);
    QSqlQuery q = db_.read(sql, {value});
    QList<Measurement> out;
    while (q.next()) {
        out << Measurement{integerOf(q.value(0)),
                           integerOf(q.value(1)),
                           momentOf(q.value(2)),
                           integerOf(q.value(3)),
                           integerOf(q.value(4)),
                           {},
                           {}};
        int column = 5;
        if (tests) {
            out.last().test = testOf(q.value(column), q.value(column + 1));
            column += 2;
        }
        if (protocols)
            out.last().protocol = protocolOf(q.value(column), q.value(column + 1));
    }
    return out;
}

QList<MeasurementKey> MeasurementRepository::keysOfAll() {
    QList<MeasurementKey> out;
    db_.forEachRow(QStringLiteral("SELECT Ref_ID, Datum, Nummer FROM units"), {},
                   [&out](const Database::RowValues& row) {
                       out << MeasurementKey{row.integer(0), row.moment(1), row.integer(2)};
                   });
    return out;
}

std::optional<MeasurementTest> MeasurementRepository::lastTestOf(qint64 athleteId) {
    if (!storesTests())
        return std::nullopt;
    QSqlQuery q = db_.read(
        QStringLiteral("SELECT Test, Fallhoehe FROM sportler_test WHERE Ref_ID = ?"), {athleteId});
    if (!q.next())
        return std::nullopt;
    return testOf(q.value(0), q.value(1));
}

bool MeasurementRepository::knowsExclusions() const {
    return db_.has(schema::Feature::Exclusions);
}

void MeasurementRepository::exclude(qint64 seriesKey, int jumpIndex, const Exclusion& exclusion) {
    if (!knowsExclusions())
        throw AppError(QCoreApplication::translate(
            "MeasurementRepository",
            "Die Datenbank kennt noch keine ausgeschlossenen Sprünge: sie konnte nicht auf den "
            "neuesten Stand gebracht werden."));
    Database::Transaction transaction(db_);
    QSqlQuery q =
        db_.read(QStringLiteral("SELECT ID FROM units WHERE %1 = ?")
                     .arg(seriesKeyExpression(QStringLiteral("Ref_ID"), QStringLiteral("Nummer"))),
                 {seriesKey});
    if (!q.next())
        throw AppError(QCoreApplication::translate("MeasurementRepository",
                                                   "Die Messung ist nicht mehr gespeichert."));
    const qint64 measurementId = integerOf(q.value(0));
    db_.write(QStringLiteral("DELETE FROM mr_ausschluss WHERE Unit_ID = ? AND Anzahl = ?"),
              {measurementId, static_cast<double>(jumpIndex)});
    db_.write(QStringLiteral("INSERT INTO mr_ausschluss (Unit_ID, Anzahl, Grund, Benutzer, Datum) "
                             "VALUES (?, ?, ?, ?, ?)"),
              {measurementId, static_cast<double>(jumpIndex), exclusion.reason, exclusion.user,
               engineMoment(exclusion.moment)});
    transaction.commit();
}

void MeasurementRepository::restore(qint64 seriesKey, int jumpIndex) {
    if (!knowsExclusions())
        return;
    db_.write(QStringLiteral("DELETE FROM mr_ausschluss WHERE Anzahl = ? AND Unit_ID IN "
                             "(SELECT ID FROM units WHERE %1 = ?)")
                  .arg(seriesKeyExpression(QStringLiteral("Ref_ID"), QStringLiteral("Nummer"))),
              {static_cast<double>(jumpIndex), seriesKey});
}

namespace {

void insertJump(Database& db, qint64 seriesKey, const RecordedJump& jump) {
    db.write(QStringLiteral("INSERT INTO mr (%1) VALUES (?, ?, ?, ?, ?)").arg(kJumpColumns),
             {static_cast<double>(seriesKey), static_cast<double>(jump.contactMs),
              static_cast<double>(jump.flightMs), jump.efficiency,
              static_cast<double>(jump.jumpIndex)});
}

} // namespace

Measurement MeasurementRepository::recordFirstJump(qint64 athleteId, const QDateTime& moment,
                                                   const RecordedJump& jump,
                                                   const MeasurementTest& test,
                                                   const MeasurementProtocol& protocol) {
    Database::Transaction transaction(db_);
    // On a server, stations that record for the same athlete take their numbers one after
    // the other; the file's transaction excludes every other writer already.
    if (db_.dialect() == Database::Dialect::PostgreSQL)
        db_.read(QStringLiteral("SELECT ID FROM sportler WHERE ID = ? FOR UPDATE"), {athleteId});
    QSqlQuery last = db_.read(
        QStringLiteral("SELECT COALESCE(MAX(Nummer), 0) FROM units WHERE Ref_ID = ?"), {athleteId});
    const qint64 measurementNumber = (last.next() ? integerOf(last.value(0)) : 0) + 1;
    last.finish();
    const qint64 key = seriesKey(athleteId, measurementNumber);
    const qint64 id = db_.insert(
        QStringLiteral("INSERT INTO units (Ref_ID, Datum, Nummer, FZ) VALUES (?, ?, ?, ?) "
                       "RETURNING ID"),
        {athleteId, engineMoment(moment), measurementNumber, jump.jumpIndex});
    insertJump(db_, key, jump);
    const bool withTest = storesTests() && !test.isEmpty();
    if (withTest) {
        putTest(db_, QStringLiteral("units_test"), QStringLiteral("Unit_ID"), id, test);
        putTest(db_, QStringLiteral("sportler_test"), QStringLiteral("Ref_ID"), athleteId, test);
    }
    const bool withProtocol = knowsProtocols() && protocol.kind != Protocol::None;
    if (withProtocol)
        putProtocol(db_, id, protocol);
    transaction.commit();
    return {id,
            athleteId,
            moment,
            measurementNumber,
            jump.jumpIndex,
            withTest ? test : MeasurementTest{},
            withProtocol ? protocol : MeasurementProtocol{}};
}

void MeasurementRepository::recordJump(qint64 measurementId, const RecordedJump& jump) {
    Database::Transaction transaction(db_);
    QSqlQuery found =
        db_.read(QStringLiteral("SELECT Ref_ID, Nummer FROM units WHERE ID = ?"), {measurementId});
    if (!found.next())
        throw AppError(MeasurementRepositoryTexts::tr("Die Messung %1 ist nicht mehr gespeichert")
                           .arg(measurementId));
    const qint64 key = seriesKey(integerOf(found.value(0)), integerOf(found.value(1)));
    found.finish();
    insertJump(db_, key, jump);
    db_.write(QStringLiteral("UPDATE units SET FZ = ? WHERE ID = ?"),
              {jump.jumpIndex, measurementId});
    transaction.commit();
}

void MeasurementRepository::remove(qint64 athleteId, qint64 measurementNumber) {
    Database::Transaction transaction(db_);
    if (knowsExclusions())
        db_.write(QStringLiteral("DELETE FROM mr_ausschluss WHERE Unit_ID IN "
                                 "(SELECT ID FROM units WHERE Nummer = ? AND Ref_ID = ?)"),
                  {measurementNumber, athleteId});
    if (storesTests())
        db_.write(QStringLiteral("DELETE FROM units_test WHERE Unit_ID IN "
                                 "(SELECT ID FROM units WHERE Nummer = ? AND Ref_ID = ?)"),
                  {measurementNumber, athleteId});
    if (knowsProtocols())
        db_.write(QStringLiteral("DELETE FROM units_protokoll WHERE Unit_ID IN "
                                 "(SELECT ID FROM units WHERE Nummer = ? AND Ref_ID = ?)"),
                  {measurementNumber, athleteId});
    db_.write(QStringLiteral("DELETE FROM mr WHERE Serie = ?"),
              {seriesKey(athleteId, measurementNumber)});
    db_.write(QStringLiteral("DELETE FROM units WHERE Nummer = ? AND Ref_ID = ?"),
              {measurementNumber, athleteId});
    transaction.commit();
}

qint64 MeasurementRepository::addCarried(const CarriedMeasurement& m) {
    const qint64 id = db_.insert(
        QStringLiteral("INSERT INTO units (Ref_ID, Datum, Nummer, FZ) VALUES (?, ?, ?, ?) "
                       "RETURNING ID"),
        {m.athleteId, engineMoment(m.moment), m.measurementNumber, m.jumpCount});
    if (!m.test.isEmpty() && storesTests())
        putTest(db_, QStringLiteral("units_test"), QStringLiteral("Unit_ID"), id, m.test);
    const double key = static_cast<double>(seriesKey(m.athleteId, m.measurementNumber));
    const auto value = [](const std::optional<double>& v) {
        return v ? QVariant(*v) : QVariant();
    };
    for (const CarriedJump& j : m.jumps)
        db_.write(
            QStringLiteral("INSERT INTO mr (%1) VALUES (?, ?, ?, ?, ?)").arg(kJumpColumns),
            {key, value(j.contactMs), value(j.flightMs), value(j.efficiency), value(j.jumpIndex)});
    return id;
}
