// The CSV file for analysis tools, one row per jump, and its .json description.

#include "core/export/TidyExport.h"

#include "core/analysis/JumpAnalysis.h"
#include "core/base/Errors.h"
#include "core/base/FileOutput.h"
#include "core/export/ExportFormat.h"
#include "core/measure/MeasurementTest.h"
#include "core/measure/Metrics.h"
#include "core/store/DataStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <charconv>
#include <cmath>
#include <string>

namespace tidyexport {
namespace {

constexpr std::size_t kWriteBlock = 1 << 16;

// The texts of this file that the user reads, in the translation context "tidyexport".
struct TextsOfTidyexport {
    Q_DECLARE_TR_FUNCTIONS(tidyexport)
};

// A stored time: empty for a value that is no number or the unit's "not measured".
std::optional<double> timeOf(bool isNumber, double ms) {
    if (!isNumber || !std::isfinite(ms) || ms < 0)
        return std::nullopt;
    return ms;
}

// The shortest text that reads back as the value, appended.
void appendNumber(std::string& out, double value) {
    if (!std::isfinite(value))
        return;
    if (value == 0) {
        out += '0'; // never "-0"
        return;
    }
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, static_cast<std::size_t>(result.ptr - buffer));
}

void appendNumber(std::string& out, const std::optional<double>& value) {
    if (value)
        appendNumber(out, *value);
}

void appendInteger(std::string& out, qint64 value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, static_cast<std::size_t>(result.ptr - buffer));
}

void appendText(std::string& out, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    out.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// A stored text (a name, a test, a reason) as a field, kept from running as a formula.
void appendQuoted(std::string& out, const QString& text) {
    QByteArray field;
    appendField(field, exportfile::inert(text));
    out.append(field.constData(), static_cast<std::size_t>(field.size()));
}

// The protocol of a measurement as the column "protocol" gives it.
QString protocolText(const QString& storedCode, qint64 profileId) {
    if (storedCode == QLatin1String("10/5"))
        return storedCode;
    if (storedCode == QLatin1String("Profil"))
        return QStringLiteral("profile %1").arg(profileId);
    return {};
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
        QStringLiteral("protocol"),
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

const QStringList& measurementColumns() {
    static const QStringList columns{
        QStringLiteral("athlete_id"),
        QStringLiteral("surname"),
        QStringLiteral("first_name"),
        QStringLiteral("measurement_id"),
        QStringLiteral("measurement_number"),
        QStringLiteral("date_time"),
        QStringLiteral("test"),
        QStringLiteral("drop_height_cm"),
        QStringLiteral("mode"),
        QStringLiteral("protocol"),
        QStringLiteral("jumps"),
        QStringLiteral("valid_jumps"),
        QStringLiteral("best_height_cm"),
        QStringLiteral("mean_height_cm"),
        QStringLiteral("height_sd_cm"),
        QStringLiteral("height_cv_percent"),
        QStringLiteral("mean_contact_ms"),
        QStringLiteral("mean_flight_ms"),
        QStringLiteral("best_rsi"),
        QStringLiteral("mean_rsi"),
        QStringLiteral("fatigue_percent"),
    };
    return columns;
}

bool TidyReader::forEachRow(const QList<qint64>& athleteIds,
                            const std::function<void(const Row&)>& row, const Progress& progress) {
    QHash<qint64, AthletePart> athletes; // by place
    const QHash<qint64, Athlete> listed = store_.athletes().listed(athleteIds);
    for (auto it = listed.cbegin(); it != listed.cend(); ++it) {
        AthletePart athlete;
        athlete.id = it->id;
        athlete.surname = it->name;
        athlete.firstName = it->firstName;
        athlete.birthDate = it->birthDate;
        athlete.sex = it->sex == 0   ? QStringLiteral("male")
                      : it->sex == 1 ? QStringLiteral("female")
                                     : QString();
        athletes.insert(it.key(), athlete);
    }
    const AthletePart* athlete = nullptr;
    MeasurementPart measurement;
    JumpPart jump;
    return store_.jumps().forEachListed(
        athleteIds, {true, true, true},
        [&](const ListedJump& j) {
            if (j.newAthlete) {
                const auto found = athletes.constFind(j.place);
                athlete = found == athletes.cend() ? nullptr : &*found;
            }
            if (athlete == nullptr)
                return; // deleted meanwhile by another station
            if (j.newMeasurement) {
                const ListedMeasurement& m = j.measurement;
                measurement.id = m.id;
                measurement.measurementNumber = m.measurementNumber;
                measurement.moment = m.moment;
                measurement.jumpCount = m.jumpCount;
                measurement.series = m.jumpCount > 1;
                measurement.test = measurementtest::exportKey(m.test.name);
                measurement.dropHeightCm = m.test.dropHeightCm;
                measurement.protocol = protocolText(m.protocolCode, m.profileId);
            }
            jump.jumpIndex = j.jump.jumpIndex;
            jump.contactMs = timeOf(j.contactIsNumber, j.jump.contactMs);
            jump.flightMs = timeOf(j.flightIsNumber, j.jump.flightMs);
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
            jump.excluded = j.jump.excluded;
            jump.exclusionReason = j.jump.excluded ? j.jump.exclusionReason : QString();
            row({*athlete, measurement, jump, j.newAthlete, j.newMeasurement});
        },
        progress);
}

QByteArray numberText(double value) {
    std::string text;
    appendNumber(text, value);
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

QString momentText(const QDateTime& moment) {
    return moment.isValid() ? moment.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) : QString();
}

void appendField(QByteArray& out, const QString& text) {
    QByteArray bytes = text.toUtf8();
    // A NUL byte stored in a name ends the field for many readers: a blank instead.
    bytes.replace('\0', ' ');
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
        {QStringLiteral("measurement_columns"), QJsonArray::fromStringList(measurementColumns())},
        {QStringLiteral("formulas"), formulas},
        {QStringLiteral("valid_jump"),
         analysis::validJumpRule() +
             QStringLiteral("; the statistics, the ranking, the protocols and valid_jumps of "
                            "the workbook's measurements take this rule")},
        {QStringLiteral("limits"), limitsObject},
        {QStringLiteral("limits_meaning"),
         QStringLiteral("the plausibility limits set when the file was written; they keep a jump "
                        "outside them from being stored while measuring, but do not judge the "
                        "jumps stored: a stored jump counts by the rule of valid_jump whatever "
                        "its times and these limits")},
        {QStringLiteral("missing"),
         QStringLiteral("an empty field: a time the unit did not measure, a value derived from "
                        "it, a measurement without test or drop height")},
        {QStringLiteral("excluded"),
         QStringLiteral("1: excluded from every statistic (by the user, or as a failed trial "
                        "whose contact or flight time the unit did not measure); 0 otherwise")},
        {QStringLiteral("test"),
         QStringLiteral("the test of the measurement: drop_jump, jump_series, "
                        "countermovement_jump or squat_jump for the program's tests, a test of "
                        "the user's own by its text, or empty for none")},
        {QStringLiteral("protocol"),
         QStringLiteral("the protocol of the measurement: 10/5, profile <ID> for a trial of "
                        "the drop-height profile with that ID, or empty for none")},
        {QStringLiteral("texts"),
         QStringLiteral("a stored text that begins with =, +, -, @, a tab or a carriage return "
                        "is written with a leading apostrophe ('), so that a spreadsheet shows "
                        "it as text and does not run it as a formula")},
    };
    return QJsonDocument(description).toJson(QJsonDocument::Indented);
}

Result writeCsv(DataStore& store, const QString& path, const QList<qint64>& athleteIds,
                const plausibility::Limits& limits, const Progress& progress) {
    fileoutput::AtomicFile file(path);
    if (!file.open())
        return {Exporter::Outcome::Failed, file.message(), {}};
    std::string buffer = jumpColumns().join(QLatin1Char(',')).toStdString() + "\r\n";
    buffer.reserve(kWriteBlock + 4096);
    bool written = true;
    const auto flush = [&] {
        written = written && file.write(buffer.data(), static_cast<qint64>(buffer.size()));
        buffer.clear(); // keeps its room
    };
    std::string limitsFields;
    for (const qint32 limit :
         {limits.contactMinMs, limits.contactMaxMs, limits.flightMinMs, limits.flightMaxMs}) {
        limitsFields += ',';
        appendInteger(limitsFields, limit);
    }
    limitsFields += "\r\n";
    std::string athleteFields;
    std::string measurementFields;
    Written count;
    bool complete = false;
    const auto failure = failureOf([&] {
        complete = TidyReader(store).forEachRow(
            athleteIds,
            [&](const Row& r) {
                if (r.newAthlete) {
                    ++count.athletes;
                    athleteFields.clear();
                    appendInteger(athleteFields, r.athlete.id);
                    athleteFields += ',';
                    appendQuoted(athleteFields, r.athlete.surname);
                    athleteFields += ',';
                    appendQuoted(athleteFields, r.athlete.firstName);
                    athleteFields += ',';
                    appendText(athleteFields, r.athlete.birthDate.toString(Qt::ISODate));
                    athleteFields += ',';
                    appendText(athleteFields, r.athlete.sex);
                    athleteFields += ',';
                }
                if (r.newMeasurement) {
                    const MeasurementPart& m = r.measurement;
                    measurementFields.clear();
                    appendInteger(measurementFields, m.id);
                    measurementFields += ',';
                    appendInteger(measurementFields, m.measurementNumber);
                    measurementFields += ',';
                    appendText(measurementFields, momentText(m.moment));
                    measurementFields += ',';
                    appendQuoted(measurementFields, m.test);
                    measurementFields += ',';
                    if (m.dropHeightCm)
                        appendInteger(measurementFields, *m.dropHeightCm);
                    measurementFields += m.series ? ",series," : ",single,";
                    appendQuoted(measurementFields, m.protocol);
                    measurementFields += ',';
                }
                ++count.jumps;
                const JumpPart& j = r.jump;
                buffer += athleteFields;
                buffer += measurementFields;
                appendNumber(buffer, j.jumpIndex);
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
                if (!j.exclusionReason.isEmpty())
                    appendQuoted(buffer, j.exclusionReason);
                buffer += limitsFields;
                if (buffer.size() >= kWriteBlock)
                    flush();
            },
            [&](int done) { return written && (!progress || progress(done)); });
    });
    if (failure)
        return {Exporter::Outcome::Failed, failure->text, {}};
    if (!written)
        return {Exporter::Outcome::Failed, file.message(), {}};
    if (!complete) {
        file.cancel();
        return {Exporter::Outcome::Cancelled, {}, {}};
    }
    flush();
    if (!written || !file.finish())
        return {Exporter::Outcome::Failed, file.message(), {}};
    // The description is written before either file is put in place: both or neither.
    fileoutput::AtomicFile side(descriptionPath(path));
    if (!side.open() || !side.write(descriptionText(limits, QDateTime::currentDateTime())) ||
        !side.finish())
        return {Exporter::Outcome::Failed, side.message(), {}};
    if (!file.commit())
        return {Exporter::Outcome::Failed, file.message(), {}};
    if (!side.commit())
        return {Exporter::Outcome::Failed, side.message(), {}};
    return {Exporter::Outcome::Written, {}, count};
}

QList<qint64> athletesToExport(DataStore& store, const QString& groupName) {
    QList<Athlete> athletes = store.athletes().all();
    if (!groupName.isNull()) {
        GroupRepository& groups = store.groups();
        std::optional<qint64> groupId;
        if (groups.available())
            for (const Group& group : groups.all())
                if (group.name.compare(groupName.trimmed(), Qt::CaseInsensitive) == 0)
                    groupId = group.id;
        if (!groupId)
            throw AppError(
                TextsOfTidyexport::tr("Die Gruppe \"%1\" gibt es nicht.").arg(groupName));
        athletes = onlyMembers(athletes, groups.memberIds(*groupId));
    }
    QList<qint64> ids;
    ids.reserve(athletes.size());
    for (const Athlete& athlete : athletes)
        ids << athlete.id;
    return ids;
}

} // namespace tidyexport
