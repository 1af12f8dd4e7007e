#include "core/export/TidyExport.h"

#include "core/base/Errors.h"
#include "core/measure/Metrics.h"
#include "core/store/AthleteRepository.h"
#include "core/store/Database.h"
#include "core/store/GroupRepository.h"
#include "core/store/SeriesKey.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <charconv>
#include <cmath>

namespace tidyexport {
namespace {

constexpr qsizetype kWriteBlock = 1 << 16;

QString tr(const char* text) {
    return QCoreApplication::translate("TidyExport", text);
}

QString cannotCreate(const QString& path, const QString& reason) {
    return tr("Datei \"%1\" kann nicht erstellt werden. %2")
        .arg(QDir::toNativeSeparators(path), reason);
}

QString readStatement(const Database& db, const QList<qint64>& athleteIds) {
    QStringList listed;
    listed.reserve(athleteIds.size());
    for (qsizetype i = 0; i < athleteIds.size(); ++i)
        listed << QStringLiteral("(%1, %2)").arg(i).arg(athleteIds[i]);
    // The tables beside the first three exist from their schema version on; without them every
    // measurement has no test and no jump is excluded.
    const bool tests = db.schemaVersion() >= 1;
    const bool exclusions = db.schemaVersion() >= 2;
    return QStringLiteral(
               "WITH listed(place, id) AS (VALUES %1) "
               "SELECT listed.place, s.ID, s.Name, s.Vorname, s.Geb, s.Geschl, u.ID, u.Nummer, "
               "u.Datum, u.FZ, %2, m.Anzahl, m.SZ, m.FZ, %3 FROM listed "
               "JOIN sportler s ON s.ID = listed.id "
               "JOIN units u ON u.Ref_ID = listed.id "
               "JOIN mr m ON m.Serie = %4 %5 %6 "
               "ORDER BY listed.place, u.ID, %7, %8")
        .arg(listed.join(QLatin1Char(',')),
             tests ? QStringLiteral("t.Test, t.Fallhoehe") : QStringLiteral("NULL, NULL"),
             exclusions ? QStringLiteral("x.Unit_ID, x.Grund") : QStringLiteral("NULL, NULL"),
             seriesKeyExpression(QStringLiteral("u.Ref_ID"), QStringLiteral("u.Nummer")),
             tests ? QStringLiteral("LEFT JOIN units_test t ON t.Unit_ID = u.ID") : QString(),
             exclusions ? QStringLiteral("LEFT JOIN mr_ausschluss x ON x.Unit_ID = u.ID "
                                         "AND x.Anzahl = m.Anzahl")
                        : QString(),
             db.order(QStringLiteral("m.Anzahl")), db.rowOrder(QStringLiteral("m")));
}

// A stored time: empty for a value that is no number or the unit's "not measured".
std::optional<double> timeOf(const QVariant& value) {
    if (value.isNull())
        return std::nullopt;
    bool ok = false;
    const double ms = value.toDouble(&ok);
    if (!ok || !std::isfinite(ms) || ms < 0)
        return std::nullopt;
    return ms;
}

QString textOf(const QVariant& value) {
    return value.isNull() ? QString() : value.toString();
}

void appendNumber(QByteArray& out, const std::optional<double>& value) {
    if (value)
        out += numberText(*value);
}

} // namespace

const QStringList& jumpColumns() {
    static const QStringList columns{
        QStringLiteral("athlete_id"),
        QStringLiteral("surname"),
        QStringLiteral("first_name"),
        QStringLiteral("birth_date"),
        QStringLiteral("sex"),
        QStringLiteral("measurement_id"),
        QStringLiteral("measurement_number"),
        QStringLiteral("date_time"),
        QStringLiteral("test"),
        QStringLiteral("drop_height_cm"),
        QStringLiteral("mode"),
        QStringLiteral("jump_number"),
        QStringLiteral("contact_ms"),
        QStringLiteral("flight_ms"),
        QStringLiteral("height_cm"),
        QStringLiteral("rsi"),
        QStringLiteral("efficiency"),
        QStringLiteral("excluded"),
        QStringLiteral("exclusion_reason"),
        QStringLiteral("limits_min_contact_ms"),
        QStringLiteral("limits_max_contact_ms"),
        QStringLiteral("limits_min_flight_ms"),
        QStringLiteral("limits_max_flight_ms"),
    };
    return columns;
}

bool TidyReader::forEachRow(const QList<qint64>& athleteIds,
                            const std::function<void(const Row&)>& row, const Progress& progress) {
    if (athleteIds.isEmpty())
        return !progress || progress(0);
    QSqlQuery q = db_.run(readStatement(db_, athleteIds));
    qint64 place = -1;
    AthletePart athlete;
    MeasurementPart measurement;
    JumpPart jump;
    while (q.next()) {
        const qint64 rowPlace = q.value(0).toLongLong();
        const bool newAthlete = rowPlace != place;
        if (newAthlete) {
            if (progress && !progress(static_cast<int>(rowPlace)))
                return false;
            place = rowPlace;
            measurement.id = -1;
            athlete.id = integerOf(q.value(1));
            athlete.surname = textOf(q.value(2));
            athlete.firstName = textOf(q.value(3));
            athlete.birthDate = momentOf(q.value(4)).date();
            const QVariant sex = q.value(5);
            athlete.sex = sex.isNull()          ? QString()
                          : integerOf(sex) == 0 ? QStringLiteral("male")
                          : integerOf(sex) == 1 ? QStringLiteral("female")
                                                : QString();
        }
        const qint64 measurementId = integerOf(q.value(6));
        const bool newMeasurement = newAthlete || measurementId != measurement.id;
        if (newMeasurement) {
            measurement.id = measurementId;
            measurement.number = integerOf(q.value(7));
            measurement.moment = momentOf(q.value(8));
            measurement.jumpCount = integerOf(q.value(9));
            measurement.series = measurement.jumpCount > 1;
            measurement.test = textOf(q.value(10));
            measurement.dropHeightCm.reset();
            if (!q.value(11).isNull())
                measurement.dropHeightCm = static_cast<int>(integerOf(q.value(11)));
        }
        jump.number = numberOf(q.value(12));
        jump.contactMs = timeOf(q.value(13));
        jump.flightMs = timeOf(q.value(14));
        const bool flight = jump.flightMs && *jump.flightMs > 0;
        const bool contact = jump.contactMs && *jump.contactMs > 0;
        jump.heightCm.reset();
        jump.rsi.reset();
        jump.efficiency.reset();
        if (flight)
            jump.heightCm = metrics::heightCm(*jump.flightMs);
        if (flight && contact) {
            jump.rsi = (*jump.heightCm / 100) / (*jump.contactMs / 1000);
            jump.efficiency = *jump.flightMs * *jump.flightMs / *jump.contactMs / 1000;
        }
        jump.excluded = !q.value(15).isNull();
        jump.exclusionReason = jump.excluded ? textOf(q.value(16)) : QString();
        row({athlete, measurement, jump, newAthlete, newMeasurement});
    }
    return !progress || progress(static_cast<int>(athleteIds.size()));
}

QByteArray numberText(double value) {
    if (!std::isfinite(value))
        return {};
    if (value == 0)
        return QByteArrayLiteral("0"); // never "-0"
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QByteArray(buffer, static_cast<qsizetype>(result.ptr - buffer));
}

QString momentText(const QDateTime& moment) {
    return moment.isValid() ? moment.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) : QString();
}

void appendField(QByteArray& out, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    const bool quoted = bytes.contains(',') || bytes.contains('"') || bytes.contains('\n') ||
                        bytes.contains('\r') ||
                        (!bytes.isEmpty() && (bytes.front() == ' ' || bytes.back() == ' '));
    if (!quoted) {
        out += bytes;
        return;
    }
    out += '"';
    for (const char c : bytes) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

QString descriptionPath(const QString& path) {
    const QFileInfo file(path);
    const QString suffix = file.suffix();
    const QString base =
        suffix.isEmpty() || suffix.compare(QLatin1String("json"), Qt::CaseInsensitive) == 0
            ? path
            : path.left(path.size() - suffix.size() - 1);
    return base + QStringLiteral(".json");
}

QByteArray descriptionText(const plausibility::Limits& limits, const QDateTime& written) {
    QJsonObject formulas{
        {QStringLiteral("height_cm"),
         QStringLiteral("9.81 * (flight_ms / 1000)^2 / 8 * 100: the height of the centre of "
                        "mass from the flight time")},
        {QStringLiteral("rsi"), QStringLiteral("(height_cm / 100) / (contact_ms / 1000): the "
                                               "reactive strength index in m/s")},
        {QStringLiteral("efficiency"), QStringLiteral("flight_ms^2 / contact_ms / 1000")},
    };
    QJsonObject limitsObject{
        {QStringLiteral("limits_min_contact_ms"), limits.contactMinMs},
        {QStringLiteral("limits_max_contact_ms"), limits.contactMaxMs},
        {QStringLiteral("limits_min_flight_ms"), limits.flightMinMs},
        {QStringLiteral("limits_max_flight_ms"), limits.flightMaxMs},
    };
    const QJsonObject description{
        {QStringLiteral("program"), QStringLiteral("Kalvero")},
        {QStringLiteral("version"), QStringLiteral("%1.%2.%3.%4")
                                        .arg(KALVERO_VERSION_MAJOR)
                                        .arg(KALVERO_VERSION_MINOR)
                                        .arg(KALVERO_VERSION_PATCH)
                                        .arg(KALVERO_VERSION_TWEAK)},
        {QStringLiteral("written"), momentText(written)},
        {QStringLiteral("encoding"), QStringLiteral("UTF-8, RFC 4180, one row per jump")},
        {QStringLiteral("columns"), QJsonArray::fromStringList(jumpColumns())},
        {QStringLiteral("formulas"), formulas},
        {QStringLiteral("limits"), limitsObject},
        {QStringLiteral("missing"),
         QStringLiteral("an empty field: a time the unit did not measure, a value derived from "
                        "it, a measurement without test or drop height")},
        {QStringLiteral("excluded"),
         QStringLiteral("1: excluded by the user from every statistic; 0 otherwise")},
    };
    return QJsonDocument(description).toJson(QJsonDocument::Indented);
}

Result writeCsv(Database& db, const QString& path, const QList<qint64>& athleteIds,
                const plausibility::Limits& limits, const Progress& progress) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {Exporter::Outcome::Failed, cannotCreate(path, file.errorString()), {}};
    QByteArray buffer = jumpColumns().join(QLatin1Char(',')).toUtf8() + "\r\n";
    buffer.reserve(kWriteBlock + 4096);
    bool written = true;
    const auto flush = [&] {
        written = written && file.write(buffer) == buffer.size();
        buffer.clear();
    };
    const QByteArray limitsFields = "," + QByteArray::number(limits.contactMinMs) + "," +
                                    QByteArray::number(limits.contactMaxMs) + "," +
                                    QByteArray::number(limits.flightMinMs) + "," +
                                    QByteArray::number(limits.flightMaxMs) + "\r\n";
    QByteArray athleteFields;
    QByteArray measurementFields;
    Written count;
    bool complete = false;
    const auto failure = failureOf([&] {
        complete = TidyReader(db).forEachRow(
            athleteIds,
            [&](const Row& r) {
                if (r.newAthlete) {
                    ++count.athletes;
                    athleteFields = QByteArray::number(r.athlete.id) + ',';
                    appendField(athleteFields, r.athlete.surname);
                    athleteFields += ',';
                    appendField(athleteFields, r.athlete.firstName);
                    athleteFields += ',' + r.athlete.birthDate.toString(Qt::ISODate).toUtf8() +
                                     ',' + r.athlete.sex.toUtf8() + ',';
                }
                if (r.newMeasurement) {
                    const MeasurementPart& m = r.measurement;
                    measurementFields = QByteArray::number(m.id) + ',' +
                                        QByteArray::number(m.number) + ',' +
                                        momentText(m.moment).toUtf8() + ',';
                    appendField(measurementFields, m.test);
                    measurementFields += ',';
                    if (m.dropHeightCm)
                        measurementFields += QByteArray::number(*m.dropHeightCm);
                    measurementFields += m.series ? ",series," : ",single,";
                }
                ++count.jumps;
                const JumpPart& j = r.jump;
                buffer += athleteFields;
                buffer += measurementFields;
                buffer += numberText(j.number);
                buffer += ',';
                appendNumber(buffer, j.contactMs);
                buffer += ',';
                appendNumber(buffer, j.flightMs);
                buffer += ',';
                appendNumber(buffer, j.heightCm);
                buffer += ',';
                appendNumber(buffer, j.rsi);
                buffer += ',';
                appendNumber(buffer, j.efficiency);
                buffer += j.excluded ? ",1," : ",0,";
                appendField(buffer, j.exclusionReason);
                buffer += limitsFields;
                if (buffer.size() >= kWriteBlock)
                    flush();
            },
            progress);
    });
    if (failure) {
        file.cancelWriting();
        return {Exporter::Outcome::Failed, failure->text, {}};
    }
    if (!complete) {
        file.cancelWriting();
        return {Exporter::Outcome::Cancelled, {}, {}};
    }
    flush();
    if (!written || !file.commit())
        return {Exporter::Outcome::Failed, cannotCreate(path, file.errorString()), {}};
    const QString sidePath = descriptionPath(path);
    QSaveFile side(sidePath);
    const QByteArray description = descriptionText(limits, QDateTime::currentDateTime());
    if (!side.open(QIODevice::WriteOnly) || side.write(description) != description.size() ||
        !side.commit())
        return {Exporter::Outcome::Failed, cannotCreate(sidePath, side.errorString()), count};
    return {Exporter::Outcome::Written, {}, count};
}

QList<qint64> athletesToExport(Database& db, const QString& groupName) {
    QList<Athlete> athletes = AthleteRepository(db).all();
    if (!groupName.isNull()) {
        GroupRepository groups(db);
        std::optional<qint64> groupId;
        if (groups.available())
            for (const Group& group : groups.all())
                if (group.name.compare(groupName.trimmed(), Qt::CaseInsensitive) == 0)
                    groupId = group.id;
        if (!groupId)
            throw AppError(tr("Die Gruppe \"%1\" gibt es nicht.").arg(groupName));
        athletes = onlyMembers(athletes, groups.memberIds(*groupId));
    }
    QList<qint64> ids;
    ids.reserve(athletes.size());
    for (const Athlete& athlete : athletes)
        ids << athlete.id;
    return ids;
}

} // namespace tidyexport
