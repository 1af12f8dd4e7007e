// The statements on the measurement table and those beside it: reading measurements, recording a
// run's jumps, tests, protocols and profiles, exclusions, deletion and carried-over measurements.

#include "core/store/MeasurementRepository.h"

#include "core/base/Errors.h"
#include "core/base/StationIdentity.h"
#include "core/store/Database.h"
#include "core/store/SeriesKey.h"
#include "core/store/TestDayRepository.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
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

// Marks a jump of a measurement excluded, in place of any mark before.
void putExclusion(Database& db, qint64 measurementId, int jumpIndex, const Exclusion& exclusion) {
    db.write(QStringLiteral("DELETE FROM mr_ausschluss WHERE Unit_ID = ? AND Anzahl = ?"),
             {measurementId, static_cast<double>(jumpIndex)});
    db.write(QStringLiteral("INSERT INTO mr_ausschluss (Unit_ID, Anzahl, Grund, Benutzer, Datum) "
                            "VALUES (?, ?, ?, ?, ?)"),
             {measurementId, static_cast<double>(jumpIndex), exclusion.reason, exclusion.user,
              engineMoment(exclusion.moment)});
}

} // namespace

QString storedHeightsText(const QList<int>& heightsCm) {
    QStringList parts;
    for (const int height : heightsCm)
        parts << QString::number(height);
    return parts.join(QLatin1Char(','));
}

QList<int> storedHeights(const QString& text) {
    QList<int> out;
    for (const QString& part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int height = part.trimmed().toInt(&ok);
        if (ok)
            out << height;
    }
    return out;
}

namespace {

ProfilePlan planOf(const QSqlQuery& q) {
    return {integerOf(q.value(0)), integerOf(q.value(1)), momentOf(q.value(2)),
            storedHeights(q.value(3).toString()), static_cast<int>(integerOf(q.value(4)))};
}

} // namespace

QVariant storedProtocolCode(Protocol protocol) {
    switch (protocol) {
    case Protocol::TenFive:
        return kTenFiveCode;
    case Protocol::DropHeightProfile:
        return kProfileCode;
    case Protocol::None:
        break;
    }
    return {};
}

MeasurementProtocol storedProtocol(const QVariant& code, const QVariant& profileId) {
    const QString text = code.toString();
    if (text == kTenFiveCode)
        return {Protocol::TenFive, 0};
    if (text == kProfileCode)
        return {Protocol::DropHeightProfile, profileId.isNull() ? 0 : integerOf(profileId)};
    return {}; // none, or one that a later version knows
}

// ---- changes afterwards ----

namespace {

// How a change's kind is stored in units_aenderung.Art.
struct KindCode {
    ChangeKind kind;
    const char* code;
};
constexpr KindCode kKindCodes[] = {
    {ChangeKind::Moved, "verschoben"},        {ChangeKind::TestChanged, "Test"},
    {ChangeKind::Excluded, "ausgeschlossen"}, {ChangeKind::ExclusionTakenBack, "zurueckgenommen"},
    {ChangeKind::Deleted, "geloescht"},       {ChangeKind::Restored, "wiederhergestellt"},
};

QString codeOf(ChangeKind kind) {
    for (const KindCode& k : kKindCodes)
        if (k.kind == kind)
            return QLatin1String(k.code);
    return {};
}

std::optional<ChangeKind> kindOf(const QString& code) {
    for (const KindCode& k : kKindCodes)
        if (code == QLatin1String(k.code))
            return k.kind;
    return std::nullopt; // one that a later version knows
}

QString momentJson(const QDateTime& moment) {
    return moment.isValid() ? moment.toString(Qt::ISODateWithMs) : QString();
}

QDateTime momentFromJson(const QJsonValue& value) {
    return QDateTime::fromString(value.toString(), Qt::ISODateWithMs);
}

QJsonValue jsonOf(const QVariant& value) {
    if (value.isNull())
        return QJsonValue::Null;
    bool ok = false;
    const double number = value.toDouble(&ok);
    return ok ? QJsonValue(number) : QJsonValue(value.toString());
}

QVariant variantOf(const QJsonValue& value) {
    if (value.isNull() || value.isUndefined())
        return {};
    return value.isDouble() ? QVariant(value.toDouble()) : QVariant(value.toString());
}

QJsonObject testJson(const MeasurementTest& test) {
    return {
        {QStringLiteral("Test"), test.name.isEmpty() ? QJsonValue::Null : QJsonValue(test.name)},
        {QStringLiteral("Fallhoehe"),
         test.dropHeightCm ? QJsonValue(*test.dropHeightCm) : QJsonValue::Null}};
}

MeasurementTest testFromJson(const QJsonObject& o) {
    MeasurementTest test;
    test.name = o.value(QStringLiteral("Test")).toString();
    if (o.value(QStringLiteral("Fallhoehe")).isDouble())
        test.dropHeightCm = o.value(QStringLiteral("Fallhoehe")).toInt();
    return test;
}

QString jsonText(const QJsonObject& o) {
    return QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact));
}

QJsonObject objectOf(const QVariant& text) {
    return QJsonDocument::fromJson(text.toString().toUtf8()).object();
}

QString notStoredAsShownText() {
    return MeasurementRepositoryTexts::tr(
        "Die Messung ist nicht mehr so gespeichert, wie sie angezeigt wird: eine andere Station "
        "hat sie inzwischen verschoben, geändert oder gelöscht. Es wurde nichts geändert; bitte "
        "die Liste aktualisieren (F9).");
}

} // namespace

struct MeasurementRepository::ChangeRow {
    ChangeKind kind;
    qint64 measurementId = 0;
    qint64 athleteId = 0;
    qint64 measurementNumber = 0;
    qint64 previousAthleteId = 0;
    qint64 previousNumber = 0;
    QJsonObject before;
    QJsonObject after;
};

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
        {athleteId, engineMoment(moment), storedHeightsText(heightsCm), trialsPerHeight});
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
            out.last().protocol = storedProtocol(q.value(column), q.value(column + 1));
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
        db_.read(QStringLiteral("SELECT ID, Ref_ID, Nummer, Datum FROM units WHERE %1 = ?")
                     .arg(seriesKeyExpression(QStringLiteral("Ref_ID"), QStringLiteral("Nummer"))),
                 {seriesKey});
    if (!q.next())
        throw AppError(QCoreApplication::translate("MeasurementRepository",
                                                   "Die Messung ist nicht mehr gespeichert."));
    const qint64 measurementId = integerOf(q.value(0));
    const qint64 athleteId = integerOf(q.value(1));
    const qint64 measurementNumber = integerOf(q.value(2));
    const QDateTime moment = momentOf(q.value(3));
    q.finish();
    if (knowsChanges()) {
        QSqlQuery was = db_.read(QStringLiteral("SELECT Grund FROM mr_ausschluss WHERE Unit_ID = ? "
                                                "AND Anzahl = ?"),
                                 {measurementId, static_cast<double>(jumpIndex)});
        QJsonObject before{{QStringLiteral("Datum"), momentJson(moment)}};
        if (was.next())
            before.insert(QStringLiteral("Grund"), was.value(0).toString());
        was.finish();
        keepChange(
            {ChangeKind::Excluded,
             measurementId,
             athleteId,
             measurementNumber,
             athleteId,
             measurementNumber,
             before,
             {{QStringLiteral("Anzahl"), jumpIndex}, {QStringLiteral("Grund"), exclusion.reason}}});
    }
    putExclusion(db_, measurementId, jumpIndex, exclusion);
    transaction.commit();
}

void MeasurementRepository::restore(qint64 seriesKey, int jumpIndex) {
    if (!knowsExclusions())
        return;
    Database::Transaction transaction(db_);
    if (knowsChanges()) {
        QSqlQuery q = db_.read(
            QStringLiteral("SELECT u.ID, u.Ref_ID, u.Nummer, u.Datum, a.Grund FROM units u JOIN "
                           "mr_ausschluss a ON a.Unit_ID = u.ID AND a.Anzahl = ? WHERE %1 = ?")
                .arg(seriesKeyExpression(QStringLiteral("u.Ref_ID"), QStringLiteral("u.Nummer"))),
            {static_cast<double>(jumpIndex), seriesKey});
        if (q.next()) {
            const qint64 athleteId = integerOf(q.value(1));
            const qint64 measurementNumber = integerOf(q.value(2));
            keepChange({ChangeKind::ExclusionTakenBack,
                        integerOf(q.value(0)),
                        athleteId,
                        measurementNumber,
                        athleteId,
                        measurementNumber,
                        {{QStringLiteral("Datum"), momentJson(momentOf(q.value(3)))},
                         {QStringLiteral("Anzahl"), jumpIndex},
                         {QStringLiteral("Grund"), q.value(4).toString()}},
                        {}});
        }
    }
    db_.write(QStringLiteral("DELETE FROM mr_ausschluss WHERE Anzahl = ? AND Unit_ID IN "
                             "(SELECT ID FROM units WHERE %1 = ?)")
                  .arg(seriesKeyExpression(QStringLiteral("Ref_ID"), QStringLiteral("Nummer"))),
              {static_cast<double>(jumpIndex), seriesKey});
    transaction.commit();
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
                                                   const MeasurementProtocol& protocol,
                                                   const std::optional<Exclusion>& exclusion,
                                                   qint64 testDayId) {
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
    if (exclusion && knowsExclusions())
        putExclusion(db_, id, jump.jumpIndex, *exclusion);
    const bool withTest = storesTests() && !test.isEmpty();
    if (withTest) {
        putTest(db_, QStringLiteral("units_test"), QStringLiteral("Unit_ID"), id, test);
        putTest(db_, QStringLiteral("sportler_test"), QStringLiteral("Ref_ID"), athleteId, test);
    }
    const bool withProtocol = knowsProtocols() && protocol.kind != Protocol::None;
    if (withProtocol)
        putProtocol(db_, id, protocol);
    if (testDayId != 0 && db_.has(schema::Feature::TestDays))
        TestDayRepository::markTrial(db_, id, testDayId);
    transaction.commit();
    return {id,
            athleteId,
            moment,
            measurementNumber,
            jump.jumpIndex,
            withTest ? test : MeasurementTest{},
            withProtocol ? protocol : MeasurementProtocol{}};
}

void MeasurementRepository::recordJump(qint64 measurementId, const RecordedJump& jump,
                                       const std::optional<Exclusion>& exclusion) {
    Database::Transaction transaction(db_);
    // On a server the row is locked, so that a move at another station waits for the jump
    // or the jump for the move: its key is always the measurement's.
    QSqlQuery found =
        db_.read(db_.dialect() == Database::Dialect::PostgreSQL
                     ? QStringLiteral("SELECT Ref_ID, Nummer FROM units WHERE ID = ? FOR UPDATE")
                     : QStringLiteral("SELECT Ref_ID, Nummer FROM units WHERE ID = ?"),
                 {measurementId});
    if (!found.next())
        throw AppError(MeasurementRepositoryTexts::tr("Die Messung %1 ist nicht mehr gespeichert")
                           .arg(measurementId));
    const qint64 key = seriesKey(integerOf(found.value(0)), integerOf(found.value(1)));
    found.finish();
    insertJump(db_, key, jump);
    if (exclusion && knowsExclusions())
        putExclusion(db_, measurementId, jump.jumpIndex, *exclusion);
    db_.write(QStringLiteral("UPDATE units SET FZ = ? WHERE ID = ?"),
              {jump.jumpIndex, measurementId});
    transaction.commit();
}

void MeasurementRepository::remove(qint64 athleteId, qint64 measurementNumber) {
    Database::Transaction transaction(db_);
    // The measurement as it was, with its jumps, kept with the record of its deletion.
    std::optional<ChangeRow> deletion;
    if (knowsChanges()) {
        QString sql = QStringLiteral("SELECT ID, Datum, FZ FROM units WHERE Nummer = ? AND "
                                     "Ref_ID = ?");
        if (db_.dialect() == Database::Dialect::PostgreSQL)
            sql += QStringLiteral(" FOR UPDATE");
        QSqlQuery row = db_.read(sql, {measurementNumber, athleteId});
        if (row.next()) {
            const qint64 id = integerOf(row.value(0));
            QJsonObject before{{QStringLiteral("Datum"), momentJson(momentOf(row.value(1)))},
                               {QStringLiteral("FZ"), jsonOf(row.value(2))}};
            row.finish();
            QJsonArray jumps;
            QSqlQuery j = db_.read(QStringLiteral("SELECT SZ, FZ, Eff, Anzahl FROM mr WHERE "
                                                  "Serie = ? ORDER BY %1, %2")
                                       .arg(db_.order(QStringLiteral("Anzahl")), db_.rowOrder()),
                                   {static_cast<double>(seriesKey(athleteId, measurementNumber))});
            while (j.next())
                jumps.append(QJsonObject{{QStringLiteral("SZ"), jsonOf(j.value(0))},
                                         {QStringLiteral("FZ"), jsonOf(j.value(1))},
                                         {QStringLiteral("Eff"), jsonOf(j.value(2))},
                                         {QStringLiteral("Anzahl"), jsonOf(j.value(3))}});
            j.finish();
            before.insert(QStringLiteral("Spruenge"), jumps);
            if (storesTests()) {
                QSqlQuery t = db_.read(
                    QStringLiteral("SELECT Test, Fallhoehe FROM units_test WHERE Unit_ID = ?"),
                    {id});
                if (t.next()) {
                    const QJsonObject test = testJson(testOf(t.value(0), t.value(1)));
                    for (auto it = test.constBegin(); it != test.constEnd(); ++it)
                        before.insert(it.key(), it.value());
                }
            }
            if (knowsProtocols()) {
                QSqlQuery p = db_.read(QStringLiteral("SELECT Protokoll, Profil_ID FROM "
                                                      "units_protokoll WHERE Unit_ID = ?"),
                                       {id});
                if (p.next()) {
                    before.insert(QStringLiteral("Protokoll"), p.value(0).toString());
                    before.insert(QStringLiteral("Profil_ID"), jsonOf(p.value(1)));
                }
            }
            if (knowsExclusions()) {
                QJsonArray marks;
                QSqlQuery e = db_.read(QStringLiteral("SELECT Anzahl, Grund, Benutzer, Datum FROM "
                                                      "mr_ausschluss WHERE Unit_ID = ?"),
                                       {id});
                while (e.next())
                    marks.append(
                        QJsonObject{{QStringLiteral("Anzahl"), jsonOf(e.value(0))},
                                    {QStringLiteral("Grund"), e.value(1).toString()},
                                    {QStringLiteral("Benutzer"), e.value(2).toString()},
                                    {QStringLiteral("Datum"), momentJson(momentOf(e.value(3)))}});
                before.insert(QStringLiteral("Ausschluesse"), marks);
            }
            deletion =
                ChangeRow{ChangeKind::Deleted, id,     athleteId, measurementNumber, athleteId,
                          measurementNumber,   before, {}};
        }
    }
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
    if (deletion)
        keepChange(*deletion);
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

bool MeasurementRepository::knowsChanges() const {
    return db_.has(schema::Feature::Changes);
}

void MeasurementRepository::requireChanges() const {
    if (!knowsChanges())
        throw AppError(schema::missingText(schema::Feature::Changes));
}

void MeasurementRepository::keepChange(const ChangeRow& c) {
    db_.write(QStringLiteral("INSERT INTO units_aenderung (Datum, Benutzer, Station, Art, Unit_ID, "
                             "Ref_ID, Nummer, Vorher_Ref_ID, Vorher_Nummer, Vorher, Nachher) "
                             "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
              {engineMoment(QDateTime::currentDateTime()), station::userName(),
               station::computerName(), codeOf(c.kind), c.measurementId, c.athleteId,
               c.measurementNumber, c.previousAthleteId, c.previousNumber, jsonText(c.before),
               jsonText(c.after)});
}

QDateTime MeasurementRepository::lockMeasurement(qint64 measurementId, qint64 athleteId,
                                                 qint64 measurementNumber) {
    QString sql = QStringLiteral("SELECT Ref_ID, Nummer, Datum FROM units WHERE ID = ?");
    if (db_.dialect() == Database::Dialect::PostgreSQL)
        sql += QStringLiteral(" FOR UPDATE");
    QSqlQuery q = db_.read(sql, {measurementId});
    if (!q.next() || integerOf(q.value(0)) != athleteId ||
        integerOf(q.value(1)) != measurementNumber)
        throw AppError(notStoredAsShownText());
    return momentOf(q.value(2));
}

void MeasurementRepository::lockAthlete(qint64 athleteId) {
    QString sql = QStringLiteral("SELECT ID FROM sportler WHERE ID = ?");
    if (db_.dialect() == Database::Dialect::PostgreSQL)
        sql += QStringLiteral(" FOR UPDATE");
    QSqlQuery q = db_.read(sql, {athleteId});
    if (!q.next())
        throw AppError(MeasurementRepositoryTexts::tr(
            "Der Sportler ist nicht mehr gespeichert: eine andere Station hat ihn inzwischen "
            "gelöscht. Es wurde nichts geändert; bitte die Liste aktualisieren (F9)."));
}

qint64 MeasurementRepository::freeNumber(qint64 athleteId, qint64 wanted) {
    for (qint64 number = wanted;; ++number) {
        QSqlQuery taken = db_.read(
            QStringLiteral("SELECT (SELECT COUNT(*) FROM units WHERE Ref_ID = ? AND Nummer = ?) + "
                           "(SELECT COUNT(*) FROM mr WHERE Serie = ?)"),
            {athleteId, number, static_cast<double>(seriesKey(athleteId, number))});
        if (taken.next() && integerOf(taken.value(0)) == 0)
            return number;
    }
}

Measurement MeasurementRepository::moveToAthlete(qint64 measurementId, qint64 athleteId,
                                                 qint64 measurementNumber, qint64 newAthleteId) {
    requireChanges();
    Database::Transaction transaction(db_);
    // The new athlete first, as recording locks him: his numbers are taken one after the
    // other.
    lockAthlete(newAthleteId);
    const QDateTime moment = lockMeasurement(measurementId, athleteId, measurementNumber);
    if (newAthleteId == athleteId)
        throw AppError(MeasurementRepositoryTexts::tr(
            "Die Messung gehört schon diesem Sportler; es wurde nichts geändert."));
    QSqlQuery last =
        db_.read(QStringLiteral("SELECT COALESCE(MAX(Nummer), 0) FROM units WHERE Ref_ID = ?"),
                 {newAthleteId});
    const qint64 highest = last.next() ? integerOf(last.value(0)) : 0;
    last.finish();
    const qint64 number = freeNumber(newAthleteId, highest + 1);
    db_.write(QStringLiteral("UPDATE mr SET Serie = ? WHERE Serie = ?"),
              {static_cast<double>(seriesKey(newAthleteId, number)),
               static_cast<double>(seriesKey(athleteId, measurementNumber))});
    db_.write(QStringLiteral("UPDATE units SET Ref_ID = ?, Nummer = ? WHERE ID = ?"),
              {newAthleteId, number, measurementId});
    keepChange({ChangeKind::Moved,
                measurementId,
                newAthleteId,
                number,
                athleteId,
                measurementNumber,
                {{QStringLiteral("Datum"), momentJson(moment)}},
                {}});
    transaction.commit();
    for (const Measurement& m : ofAthlete(newAthleteId))
        if (m.id == measurementId)
            return m;
    throw AppError(notStoredAsShownText());
}

void MeasurementRepository::changeTest(qint64 measurementId, qint64 athleteId,
                                       qint64 measurementNumber, const MeasurementTest& wanted) {
    requireChanges();
    if (!storesTests())
        throw AppError(schema::missingText(schema::Feature::Tests));
    // The checks of a run's start.
    const MeasurementTest test =
        measurementtest::chosen(wanted.name, measurementtest::dropHeightText(wanted.dropHeightCm));
    Database::Transaction transaction(db_);
    const QDateTime moment = lockMeasurement(measurementId, athleteId, measurementNumber);
    QSqlQuery q =
        db_.read(QStringLiteral("SELECT Test, Fallhoehe FROM units_test WHERE Unit_ID = ?"),
                 {measurementId});
    const MeasurementTest before = q.next() ? testOf(q.value(0), q.value(1)) : MeasurementTest{};
    q.finish();
    if (before == test)
        return;
    if (test.isEmpty())
        db_.write(QStringLiteral("DELETE FROM units_test WHERE Unit_ID = ?"), {measurementId});
    else
        putTest(db_, QStringLiteral("units_test"), QStringLiteral("Unit_ID"), measurementId, test);
    QJsonObject previous = testJson(before);
    previous.insert(QStringLiteral("Datum"), momentJson(moment));
    keepChange({ChangeKind::TestChanged, measurementId, athleteId, measurementNumber, athleteId,
                measurementNumber, previous, testJson(test)});
    transaction.commit();
}

QList<MeasurementChange> MeasurementRepository::changesOfAthlete(qint64 athleteId) {
    if (!knowsChanges())
        return {};
    QSqlQuery q = db_.read(
        QStringLiteral("SELECT ID, Datum, Benutzer, Station, Art, Unit_ID, Ref_ID, Nummer, "
                       "Vorher_Ref_ID, Vorher_Nummer, Vorher, Nachher, Wiederhergestellt "
                       "FROM units_aenderung WHERE Ref_ID = ? OR Vorher_Ref_ID = ? "
                       "ORDER BY ID DESC"),
        {athleteId, athleteId});
    QList<MeasurementChange> out;
    while (q.next()) {
        const std::optional<ChangeKind> kind = kindOf(q.value(4).toString());
        if (!kind)
            continue;
        MeasurementChange c;
        c.id = integerOf(q.value(0));
        c.moment = momentOf(q.value(1));
        c.user = q.value(2).toString();
        c.station = q.value(3).toString();
        c.kind = *kind;
        c.measurementId = integerOf(q.value(5));
        c.athleteId = integerOf(q.value(6));
        c.measurementNumber = integerOf(q.value(7));
        c.previousAthleteId = integerOf(q.value(8));
        c.previousNumber = integerOf(q.value(9));
        const QJsonObject before = objectOf(q.value(10));
        const QJsonObject after = objectOf(q.value(11));
        c.restored = q.value(12).isNull() ? QDateTime() : momentOf(q.value(12));
        c.measurementMoment = momentFromJson(before.value(QStringLiteral("Datum")));
        c.previousTest = testFromJson(before);
        c.test = testFromJson(after);
        c.jumpIndex = after.contains(QStringLiteral("Anzahl"))
                          ? after.value(QStringLiteral("Anzahl")).toInt()
                          : before.value(QStringLiteral("Anzahl")).toInt();
        c.previousReason = before.value(QStringLiteral("Grund")).toString();
        c.reason = after.value(QStringLiteral("Grund")).toString();
        c.jumpCount = before.value(QStringLiteral("Spruenge")).toArray().size();
        out << c;
    }
    return out;
}

Measurement MeasurementRepository::restoreDeleted(qint64 changeId) {
    requireChanges();
    Database::Transaction transaction(db_);
    QString sql = QStringLiteral("SELECT Art, Ref_ID, Nummer, Vorher, Wiederhergestellt FROM "
                                 "units_aenderung WHERE ID = ?");
    if (db_.dialect() == Database::Dialect::PostgreSQL)
        sql += QStringLiteral(" FOR UPDATE");
    QSqlQuery q = db_.read(sql, {changeId});
    if (!q.next() || kindOf(q.value(0).toString()) != ChangeKind::Deleted)
        throw AppError(MeasurementRepositoryTexts::tr("Diese Änderung ist keine Löschung."));
    if (!q.value(4).isNull())
        throw AppError(MeasurementRepositoryTexts::tr(
            "Die Messung wurde schon wiederhergestellt (vielleicht an einer anderen Station); "
            "bitte die Liste aktualisieren."));
    const qint64 athleteId = integerOf(q.value(1));
    const qint64 oldNumber = integerOf(q.value(2));
    const QJsonObject before = objectOf(q.value(3));
    q.finish();
    lockAthlete(athleteId);
    const qint64 number = freeNumber(athleteId, oldNumber);
    const QDateTime moment = momentFromJson(before.value(QStringLiteral("Datum")));
    const QJsonArray jumps = before.value(QStringLiteral("Spruenge")).toArray();
    const qint64 id = db_.insert(
        QStringLiteral("INSERT INTO units (Ref_ID, Datum, Nummer, FZ) VALUES (?, ?, ?, ?) "
                       "RETURNING ID"),
        {athleteId, moment.isValid() ? engineMoment(moment) : QVariant(), number,
         variantOf(before.value(QStringLiteral("FZ")))});
    const double key = static_cast<double>(seriesKey(athleteId, number));
    for (const QJsonValue& value : jumps) {
        const QJsonObject j = value.toObject();
        db_.write(QStringLiteral("INSERT INTO mr (%1) VALUES (?, ?, ?, ?, ?)").arg(kJumpColumns),
                  {key, variantOf(j.value(QStringLiteral("SZ"))),
                   variantOf(j.value(QStringLiteral("FZ"))),
                   variantOf(j.value(QStringLiteral("Eff"))),
                   variantOf(j.value(QStringLiteral("Anzahl")))});
    }
    const MeasurementTest test = testFromJson(before);
    if (!test.isEmpty() && storesTests())
        putTest(db_, QStringLiteral("units_test"), QStringLiteral("Unit_ID"), id, test);
    const MeasurementProtocol protocol =
        storedProtocol(before.value(QStringLiteral("Protokoll")).toVariant(),
                       before.value(QStringLiteral("Profil_ID")).toVariant());
    if (protocol.kind != Protocol::None && knowsProtocols())
        putProtocol(db_, id, protocol);
    if (knowsExclusions())
        for (const QJsonValue& value : before.value(QStringLiteral("Ausschluesse")).toArray()) {
            const QJsonObject e = value.toObject();
            putExclusion(db_, id, e.value(QStringLiteral("Anzahl")).toInt(),
                         {e.value(QStringLiteral("Grund")).toString(),
                          e.value(QStringLiteral("Benutzer")).toString(),
                          momentFromJson(e.value(QStringLiteral("Datum")))});
        }
    db_.write(QStringLiteral("UPDATE units_aenderung SET Wiederhergestellt = ? WHERE ID = ?"),
              {engineMoment(QDateTime::currentDateTime()), changeId});
    keepChange({ChangeKind::Restored,
                id,
                athleteId,
                number,
                athleteId,
                oldNumber,
                {{QStringLiteral("Datum"), momentJson(moment)}},
                {{QStringLiteral("Aenderung"), changeId}}});
    transaction.commit();
    for (const Measurement& m : ofAthlete(athleteId))
        if (m.id == id)
            return m;
    throw AppError(notStoredAsShownText());
}

// ---- measurements from a station's journal ----

namespace {

// Stations that bring journalled measurements over at once match and create athletes one
// after the other, so that an athlete created at two stations is stored once.
constexpr int kTransferLock = 2401015;

} // namespace

qint64 MeasurementRepository::athleteOfJournalled(const JournalledAthlete& athlete, bool* created) {
    for (const qint64 known : {athlete.chosenId, athlete.serverId}) {
        if (known == 0)
            continue;
        QSqlQuery q = db_.read(QStringLiteral("SELECT ID FROM sportler WHERE ID = ?"), {known});
        if (q.next())
            return known;
        // Deleted meanwhile: the user decides where the measurement goes.
        return 0;
    }
    const QVariant birth = engineDate(athlete.birthDate);
    // A server's date column has no empty text to compare with.
    QSqlQuery q =
        db_.read(birth.isNull()
                     ? QStringLiteral("SELECT ID FROM sportler WHERE Name = ? AND Vorname = ? AND "
                                      "%1 ORDER BY ID")
                           .arg(db_.dialect() == Database::Dialect::PostgreSQL
                                    ? QStringLiteral("Geb IS NULL")
                                    : QStringLiteral("(Geb IS NULL OR Geb = '')"))
                     : QStringLiteral("SELECT ID FROM sportler WHERE Name = ? AND Vorname = ? AND "
                                      "Geb = ? ORDER BY ID"),
                 birth.isNull() ? QVariantList{athlete.name, athlete.firstName}
                                : QVariantList{athlete.name, athlete.firstName, birth});
    QList<qint64> found;
    while (q.next())
        found << integerOf(q.value(0));
    q.finish();
    if (found.size() == 1)
        return found.constFirst();
    if (!found.isEmpty())
        return 0;
    // Created at the station and unknown here: he is stored as the station knew him.
    if (created != nullptr)
        *created = true;
    return db_.insert(QStringLiteral("INSERT INTO sportler (Name, Vorname, Geb, Geschl, "
                                     "Bemerkung1) VALUES (?, ?, ?, ?, ?) RETURNING ID"),
                      {athlete.name, athlete.firstName, birth, athlete.sex, athlete.remark});
}

JournalTransfer MeasurementRepository::transferJournalled(const JournalledMeasurement& measurement,
                                                          const JournalledAthlete& athlete,
                                                          const QString& station) {
    if (!db_.has(schema::Feature::JournalTransfers))
        throw AppError(schema::missingText(schema::Feature::JournalTransfers));
    Database::Transaction transaction(db_);
    const bool server = db_.dialect() == Database::Dialect::PostgreSQL;
    if (server)
        db_.read(QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(kTransferLock));
    JournalTransfer done;
    {
        QSqlQuery before =
            db_.read(QStringLiteral("SELECT t.Unit_ID, u.Ref_ID, u.Nummer FROM units_uebertragen t "
                                    "LEFT JOIN units u ON u.ID = t.Unit_ID WHERE t.Kennung = ?"),
                     {measurement.identity});
        if (before.next()) {
            done.outcome = JournalTransfer::Outcome::AlreadyThere;
            done.measurementId = integerOf(before.value(0));
            done.athleteId = before.value(1).isNull() ? 0 : integerOf(before.value(1));
            done.measurementNumber = before.value(2).isNull() ? 0 : integerOf(before.value(2));
            return done;
        }
    }
    // A continued series whose measurement is still stored takes the jumps after its own.
    qint64 continued = 0;
    qint64 key = 0;
    int storedJumps = 0;
    if (measurement.continuesMeasurementId != 0) {
        QSqlQuery row = db_.read(
            server ? QStringLiteral("SELECT Ref_ID, Nummer FROM units WHERE ID = ? FOR UPDATE")
                   : QStringLiteral("SELECT Ref_ID, Nummer FROM units WHERE ID = ?"),
            {measurement.continuesMeasurementId});
        if (row.next()) {
            continued = measurement.continuesMeasurementId;
            done.athleteId = integerOf(row.value(0));
            done.measurementNumber = integerOf(row.value(1));
            key = seriesKey(done.athleteId, done.measurementNumber);
            row.finish();
            QSqlQuery count =
                db_.read(QStringLiteral("SELECT COALESCE(MAX(Anzahl), 0) FROM mr WHERE Serie = ?"),
                         {static_cast<double>(key)});
            storedJumps = count.next() ? static_cast<int>(integerOf(count.value(0))) : 0;
        }
    }
    QList<RecordedJump> jumps = measurement.jumps;
    QHash<int, Exclusion> exclusions = measurement.exclusions;
    if (continued == 0) {
        done.athleteId = athleteOfJournalled(athlete, &done.athleteCreated);
        if (done.athleteId == 0) {
            done.outcome = JournalTransfer::Outcome::AthleteUndecided;
            return done;
        }
        if (measurement.fromFile && !done.athleteCreated) {
            // Carried over before (by an older take-over): it is marked as this one, so
            // that the next look finds it by its identity.
            QSqlQuery same = db_.read(
                QStringLiteral("SELECT ID, Nummer FROM units WHERE Ref_ID = ? AND Datum = ? "
                               "ORDER BY ID"),
                {done.athleteId, engineMoment(measurement.moment)});
            if (same.next()) {
                done.outcome = JournalTransfer::Outcome::AlreadyThere;
                done.measurementId = integerOf(same.value(0));
                done.measurementNumber = integerOf(same.value(1));
                same.finish();
                db_.write(QStringLiteral("INSERT INTO units_uebertragen (Kennung, Unit_ID, "
                                         "Station, Datum) VALUES (?, ?, ?, ?)"),
                          {measurement.identity, done.measurementId, station,
                           engineMoment(QDateTime::currentDateTime())});
                transaction.commit();
                return done;
            }
        }
        if (server)
            db_.read(QStringLiteral("SELECT ID FROM sportler WHERE ID = ? FOR UPDATE"),
                     {done.athleteId});
        QSqlQuery last =
            db_.read(QStringLiteral("SELECT COALESCE(MAX(Nummer), 0) FROM units WHERE Ref_ID = ?"),
                     {done.athleteId});
        done.measurementNumber = (last.next() ? integerOf(last.value(0)) : 0) + 1;
        last.finish();
        key = seriesKey(done.athleteId, done.measurementNumber);
        // The rest of a series whose measurement was deleted meanwhile is a measurement of its
        // own, its jumps counted from 1.
        if (measurement.continuesMeasurementId != 0 && !jumps.isEmpty()) {
            const int shift = jumps.constFirst().jumpIndex - 1;
            exclusions.clear();
            for (RecordedJump& jump : jumps) {
                if (measurement.exclusions.contains(jump.jumpIndex))
                    exclusions.insert(jump.jumpIndex - shift,
                                      measurement.exclusions.value(jump.jumpIndex));
                jump.jumpIndex -= shift;
            }
        }
        const qint64 count = jumps.isEmpty() ? 0 : jumps.constLast().jumpIndex;
        done.measurementId = db_.insert(
            QStringLiteral("INSERT INTO units (Ref_ID, Datum, Nummer, FZ) VALUES (?, ?, ?, ?) "
                           "RETURNING ID"),
            {done.athleteId, engineMoment(measurement.moment), done.measurementNumber, count});
        if (storesTests() && !measurement.test.isEmpty()) {
            putTest(db_, QStringLiteral("units_test"), QStringLiteral("Unit_ID"),
                    done.measurementId, measurement.test);
            putTest(db_, QStringLiteral("sportler_test"), QStringLiteral("Ref_ID"), done.athleteId,
                    measurement.test);
        }
        if (knowsProtocols() && measurement.protocol.kind != Protocol::None)
            putProtocol(db_, done.measurementId, measurement.protocol);
    } else {
        done.measurementId = continued;
    }
    int highest = storedJumps;
    for (const RecordedJump& jump : jumps) {
        if (jump.jumpIndex <= storedJumps)
            continue;
        insertJump(db_, key, jump);
        if (exclusions.contains(jump.jumpIndex) && knowsExclusions())
            putExclusion(db_, done.measurementId, jump.jumpIndex, exclusions.value(jump.jumpIndex));
        highest = std::max(highest, jump.jumpIndex);
    }
    if (continued != 0)
        db_.write(QStringLiteral("UPDATE units SET FZ = ? WHERE ID = ?"), {highest, continued});
    db_.write(QStringLiteral("INSERT INTO units_uebertragen (Kennung, Unit_ID, Station, Datum) "
                             "VALUES (?, ?, ?, ?)"),
              {measurement.identity, done.measurementId, station,
               engineMoment(QDateTime::currentDateTime())});
    transaction.commit();
    return done;
}
