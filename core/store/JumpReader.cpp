// The statements that read the jump table and attach the excluded jumps.

#include "core/store/JumpReader.h"

#include "core/store/AthleteRepository.h"
#include "core/store/Database.h"
#include "core/store/SeriesKey.h"

#include <QSet>
#include <QStringList>

#include <cmath>

namespace {

const QString kJumpColumns = QStringLiteral("Serie, SZ, FZ, Eff, Anzahl");

// The largest athlete ID whose series keys a double holds exactly.
constexpr qint64 kMaxAthleteIdOfKeys = 9'000'000'000;

// A jump's index as a whole number; none for one with a fraction or beyond any jump's.
std::optional<qint64> wholeNumber(double number) {
    if (!std::isfinite(number) || number != std::floor(number) || std::fabs(number) > 0x1p52)
        return std::nullopt;
    return static_cast<qint64>(number);
}

// The series key of a stored measurement; none for a measurement number that has none.
std::optional<qint64> keyOf(qint64 athleteId, qint64 measurementNumber) {
    if (measurementNumber > kMaxMeasurementNumber)
        return std::nullopt;
    return seriesKey(athleteId, measurementNumber);
}

// The athlete a series key belongs to (see seriesKey()).
qint64 athleteOfKey(qint64 key) {
    return key >= 0 ? key / 1000 : -key / 1000000;
}

} // namespace

void JumpReader::mark(const Marks& marks, qint64 seriesKey, Jump& jump) {
    const auto series = marks.constFind(seriesKey);
    if (series == marks.cend())
        return;
    const std::optional<qint64> index = wholeNumber(jump.jumpIndex);
    if (!index)
        return;
    const auto found = series->constFind(*index);
    if (found == series->cend())
        return;
    jump.excluded = true;
    jump.exclusionReason = found->reason;
}

JumpReader::Marks JumpReader::marksOf(const Scope& scope) {
    Marks marks;
    if (!db_.has(schema::Feature::Exclusions))
        return marks;
    QString statement =
        scope.with + QStringLiteral("SELECT u.Ref_ID, u.Nummer, e.Anzahl, e.Grund, e.Benutzer, "
                                    "e.Datum FROM %1 JOIN mr_ausschluss e ON e.Unit_ID = u.ID")
                         .arg(scope.from);
    if (!scope.where.isEmpty())
        statement += QStringLiteral(" WHERE ") + scope.where;
    db_.forEachRow(statement, scope.values, [&marks](const Database::RowValues& row) {
        const std::optional<qint64> key = keyOf(row.integer(0), row.integer(1));
        const std::optional<qint64> index = wholeNumber(row.number(2));
        if (key && index)
            marks[*key].insert(*index, {row.text(3), row.text(4), row.moment(5)});
    });
    return marks;
}

void JumpReader::forEachSeriesRow(const QString& condition, const QVariantList& values,
                                  const QString& order,
                                  const std::function<void(const Jump&)>& take) {
    db_.forEachRow(QStringLiteral("SELECT %1 FROM mr WHERE %2 ORDER BY %3")
                       .arg(kJumpColumns, condition, order),
                   values, [&take](const Database::RowValues& row) {
                       Jump jump;
                       jump.seriesKey = row.number(0);
                       jump.contactMs = row.number(1);
                       jump.flightMs = row.number(2);
                       jump.efficiency = row.number(3);
                       jump.jumpIndex = row.number(4);
                       take(jump);
                   });
}

QList<Jump> JumpReader::ofSeries(qint64 seriesKey) {
    QList<Jump> jumps;
    forEachSeriesRow(QStringLiteral("Serie = ?"), {seriesKey},
                     db_.order(QStringLiteral("Anzahl")) + QStringLiteral(", ") + db_.rowOrder(),
                     [&jumps](const Jump& jump) { jumps << jump; });
    if (jumps.isEmpty())
        return jumps;
    // The marks of the athlete's measurements under this key, found through his index.
    const Marks marks = marksOf(
        {{},
         QStringLiteral("units u"),
         QStringLiteral("u.Ref_ID = ? AND %1 = ?")
             .arg(seriesKeyExpression(QStringLiteral("u.Ref_ID"), QStringLiteral("u.Nummer"))),
         {athleteOfKey(seriesKey), seriesKey}});
    for (Jump& jump : jumps)
        mark(marks, seriesKey, jump);
    return jumps;
}

QHash<int, Exclusion> JumpReader::exclusionsOf(qint64 seriesKey) {
    const Marks marks = marksOf(
        {{},
         QStringLiteral("units u"),
         QStringLiteral("u.Ref_ID = ? AND %1 = ?")
             .arg(seriesKeyExpression(QStringLiteral("u.Ref_ID"), QStringLiteral("u.Nummer"))),
         {athleteOfKey(seriesKey), seriesKey}});
    QHash<int, Exclusion> out;
    const QHash<qint64, Exclusion> series = marks.value(seriesKey);
    for (auto it = series.cbegin(); it != series.cend(); ++it)
        out.insert(static_cast<int>(it.key()), it.value());
    return out;
}

std::optional<std::pair<QString, QVariantList>> JumpReader::keysOfAthlete(qint64 athleteId) {
    if (athleteId <= 0 || athleteId > kMaxAthleteIdOfKeys)
        return std::nullopt;
    // Two ranges (see seriesKey()): numbers up to 999, and the negative keys of the larger
    // ones.
    return std::pair{QStringLiteral("(Serie BETWEEN ? AND ? OR Serie BETWEEN ? AND ?)"),
                     QVariantList{static_cast<double>(seriesKey(athleteId, 1)),
                                  static_cast<double>(seriesKey(athleteId, 999)),
                                  static_cast<double>(seriesKey(athleteId, kMaxMeasurementNumber)),
                                  static_cast<double>(seriesKey(athleteId, 1000))}};
}

bool JumpReader::inRangesOf(qint64 athleteId, qint64 key) {
    const qint64 firstSmall = seriesKey(athleteId, 1);
    const qint64 lastLarge = seriesKey(athleteId, 1000);
    return (key >= firstSmall && key <= firstSmall + 998) ||
           (key <= lastLarge && key >= seriesKey(athleteId, kMaxMeasurementNumber));
}

QHash<qint64, Jump> JumpReader::firstOf(qint64 athleteId, const QList<qint64>& seriesKeys) {
    QHash<qint64, Jump> out;
    if (seriesKeys.isEmpty())
        return out;
    const QSet<qint64> wanted(seriesKeys.cbegin(), seriesKeys.cend());
    const auto first = [&out, &wanted](const Jump& jump) {
        const auto key = static_cast<qint64>(jump.seriesKey);
        if (jump.seriesKey == std::floor(jump.seriesKey) && wanted.contains(key) &&
            !out.contains(key))
            out.insert(key, jump);
    };
    QList<qint64> others = seriesKeys;
    if (const auto keys = keysOfAthlete(athleteId)) {
        forEachSeriesRow(keys->first, keys->second, db_.rowOrder(), first);
        // The keys of his numbers from 1 on are all read now.
        others.removeIf([athleteId](qint64 key) { return inRangesOf(athleteId, key); });
    }
    // Keys outside his ranges (a number below 1 in a damaged row): by themselves, written into
    // the statement in blocks as the numbers the program computed that they are.
    constexpr int kBlock = 500;
    for (qsizetype from = 0; from < others.size(); from += kBlock) {
        QStringList keys;
        for (const qint64 key : others.mid(from, kBlock))
            keys << QString::number(key);
        forEachSeriesRow(QStringLiteral("Serie IN (%1)").arg(keys.join(QLatin1Char(','))), {},
                         db_.rowOrder(), first);
    }
    return out;
}

QHash<qint64, Jump> JumpReader::firstOf(qint64 athleteId, const QList<qint64>& seriesKeys,
                                        const QHash<qint64, QList<Jump>>& read) {
    QHash<qint64, Jump> out;
    out.reserve(seriesKeys.size());
    QList<qint64> unknown;
    const bool rangesRead = keysOfAthlete(athleteId).has_value();
    for (const qint64 key : seriesKeys) {
        const auto found = read.constFind(key);
        if (found != read.cend() && found->size() == 1) {
            // As the statement gives it: without its mark.
            Jump jump = found->constFirst();
            jump.excluded = false;
            jump.exclusionReason.clear();
            out.insert(key, jump);
        } else if (found != read.cend() || !rangesRead || !inRangesOf(athleteId, key)) {
            // Which of several rows was stored first, the rows read do not tell.
            unknown << key;
        }
    }
    if (!unknown.isEmpty())
        out.insert(firstOf(athleteId, unknown));
    return out;
}

QHash<qint64, QList<Jump>> JumpReader::ofAthlete(qint64 athleteId) {
    QHash<qint64, QList<Jump>> out;
    const auto keys = keysOfAthlete(athleteId);
    if (!keys)
        return out;
    forEachSeriesRow(keys->first, keys->second,
                     db_.order(QStringLiteral("Anzahl")) + QStringLiteral(", ") + db_.rowOrder(),
                     [&out](const Jump& jump) {
                         // A key with a fraction (a damaged row) is no measurement's.
                         if (jump.seriesKey == std::floor(jump.seriesKey))
                             out[static_cast<qint64>(jump.seriesKey)] << jump;
                     });
    if (out.isEmpty())
        return out;
    const Marks marks =
        marksOf({{}, QStringLiteral("units u"), QStringLiteral("u.Ref_ID = ?"), {athleteId}});
    if (marks.isEmpty())
        return out;
    for (auto series = out.begin(); series != out.end(); ++series)
        for (Jump& jump : *series)
            mark(marks, series.key(), jump);
    return out;
}

qint64 JumpReader::countListed(const QList<qint64>& athleteIds) {
    if (athleteIds.isEmpty())
        return 0;
    QSqlQuery q = db_.read(
        AthleteRepository::listedClause(athleteIds) +
        QStringLiteral("SELECT COUNT(*) FROM listed JOIN units u ON u.Ref_ID = listed.id "
                       "JOIN mr m ON m.Serie = %1")
            .arg(seriesKeyExpression(QStringLiteral("u.Ref_ID"), QStringLiteral("u.Nummer"))));
    return q.next() ? q.value(0).toLongLong() : 0;
}

bool JumpReader::forEachListed(const QList<qint64>& athleteIds, const ListedParts& parts,
                               const std::function<void(const ListedJump&)>& take,
                               const std::function<bool(int athletesDone)>& progress) {
    if (athleteIds.isEmpty())
        return !progress || progress(0);
    const QString listed = AthleteRepository::listedClause(athleteIds);
    // The tables beside the first three exist from their features' versions on; without them
    // every measurement has no test and no jump is excluded.
    const bool tests = parts.tests && db_.has(schema::Feature::Tests);
    const bool protocols = parts.protocols && db_.has(schema::Feature::Protocols);
    const Marks marks = parts.exclusions ? marksOf({listed,
                                                    QStringLiteral("listed JOIN units u ON "
                                                                   "u.Ref_ID = listed.id"),
                                                    {},
                                                    {}})
                                         : Marks();
    // A row carries no text but the moment and the test, each read once for its measurement,
    // so that reading it converts little.
    const QString statement =
        listed +
        QStringLiteral("SELECT listed.place, u.ID, u.Nummer, u.Datum, u.FZ, %1, m.Anzahl, m.SZ, "
                       "m.FZ, m.Eff, %6 FROM listed "
                       "JOIN units u ON u.Ref_ID = listed.id "
                       "JOIN mr m ON m.Serie = %2 %3 %7 "
                       "ORDER BY listed.place, u.ID, %4, %5")
            .arg(tests ? QStringLiteral("t.Test, t.Fallhoehe") : QStringLiteral("NULL, NULL"),
                 seriesKeyExpression(QStringLiteral("u.Ref_ID"), QStringLiteral("u.Nummer")),
                 tests ? QStringLiteral("LEFT JOIN units_test t ON t.Unit_ID = u.ID") : QString(),
                 db_.order(QStringLiteral("m.Anzahl")), db_.rowOrder(QStringLiteral("m")),
                 protocols ? QStringLiteral("p.Protokoll, p.Profil_ID")
                           : QStringLiteral("NULL, NULL"),
                 protocols ? QStringLiteral("LEFT JOIN units_protokoll p ON p.Unit_ID = u.ID")
                           : QString());
    ListedJump row;
    row.place = -1;
    std::optional<qint64> key; // of the measurement being read
    const bool complete = db_.forEachRowUntil(statement, {}, [&](const Database::RowValues& r) {
        const qint64 place = r.integer(0);
        row.newAthlete = place != row.place;
        if (row.newAthlete) {
            if (progress && !progress(static_cast<int>(place)))
                return false;
            row.place = place;
        }
        const qint64 measurementId = r.integer(1);
        row.newMeasurement = row.newAthlete || measurementId != row.measurement.id;
        if (row.newMeasurement) {
            ListedMeasurement& m = row.measurement;
            m.id = measurementId;
            m.measurementNumber = r.integer(2);
            m.moment = r.moment(3);
            m.jumpCount = r.integer(4);
            m.test.name = r.text(5);
            m.test.dropHeightCm.reset();
            if (!r.isNull(6))
                m.test.dropHeightCm = static_cast<int>(r.integer(6));
            m.protocolCode = r.isNull(11) ? QString() : r.text(11);
            m.profileId = r.isNull(12) ? 0 : r.integer(12);
            key = place >= 0 && place < athleteIds.size()
                      ? keyOf(athleteIds[place], m.measurementNumber)
                      : std::nullopt;
        }
        Jump& jump = row.jump;
        jump.jumpIndex = r.number(7);
        const std::optional<double> contact = r.numberIfAny(8);
        const std::optional<double> flight = r.numberIfAny(9);
        row.contactIsNumber = contact.has_value();
        row.flightIsNumber = flight.has_value();
        jump.contactMs = contact.value_or(0);
        jump.flightMs = flight.value_or(0);
        jump.efficiency = r.number(10);
        jump.excluded = false;
        if (!jump.exclusionReason.isEmpty())
            jump.exclusionReason.clear();
        if (key && !marks.isEmpty()) {
            jump.seriesKey = static_cast<double>(*key);
            mark(marks, *key, jump);
        }
        take(row);
        return true;
    });
    if (!complete)
        return false;
    return !progress || progress(static_cast<int>(athleteIds.size()));
}

JumpReader::Scope JumpReader::membersInPeriod(qint64 groupId, const QDate& from,
                                              const QDate& to) const {
    // On a file the moment is compared as the text it is: the column's numeric affinity would
    // have the engine try each moment as a number first, twice a row.
    const QString moment = db_.dialect() == Database::Dialect::SQLite ? QStringLiteral("+u.Datum")
                                                                      : QStringLiteral("u.Datum");
    return {{},
            QStringLiteral("units u JOIN gruppen_sportler m ON m.Sportler_ID = u.Ref_ID "
                           "JOIN sportler s ON s.ID = u.Ref_ID"),
            QStringLiteral("m.Gruppe_ID = ? AND %1 >= ? AND %1 < ?").arg(moment),
            {groupId, engineDate(from), engineDate(to.addDays(1))}};
}

void JumpReader::forEachOfMeasurements(
    const QList<std::pair<qint64, qint64>>& measurements, const QList<qint64>& withMarks,
    const std::function<void(qint64 seriesKey, const Jump&)>& take) {
    // The lowest and highest key of each athlete's two kinds of number, and the keys asked for.
    QHash<std::pair<qint64, bool>, std::pair<qint64, qint64>> ranges;
    QSet<qint64> wanted;
    wanted.reserve(measurements.size());
    for (const auto& [athleteId, number] : measurements) {
        if (number < 1 || number > kMaxMeasurementNumber)
            continue;
        const qint64 key = seriesKey(athleteId, number);
        wanted.insert(key);
        const auto found = ranges.find({athleteId, number <= 999});
        if (found == ranges.end())
            ranges.insert({athleteId, number <= 999}, {key, key});
        else
            *found = {std::min(found->first, key), std::max(found->second, key)};
    }
    if (wanted.isEmpty())
        return;
    // The marks of the measurements that have them, their units rows named in blocks.
    constexpr qsizetype kBlock = 500;
    Marks marks;
    for (qsizetype first = 0; first < withMarks.size(); first += kBlock) {
        QStringList ids;
        for (const qint64 id : withMarks.mid(first, kBlock))
            ids << QString::number(id);
        const Marks block = marksOf({{},
                                     QStringLiteral("units u"),
                                     QStringLiteral("u.ID IN (%1)").arg(ids.join(QLatin1Char(','))),
                                     {}});
        for (auto series = block.cbegin(); series != block.cend(); ++series)
            marks[series.key()].insert(*series);
    }
    QStringList rows;
    rows.reserve(ranges.size());
    for (const auto& [low, high] : std::as_const(ranges))
        rows << QStringLiteral("(%1, %2)").arg(low).arg(high);
    std::sort(rows.begin(), rows.end());
    Jump jump;
    // The ranges written into the statement as the numbers the program computed, in blocks.
    for (qsizetype first = 0; first < rows.size(); first += kBlock) {
        db_.forEachRow(
            QStringLiteral("WITH r (Low, High) AS (VALUES %1) SELECT j.Serie, j.SZ, j.FZ, "
                           "j.Anzahl FROM r JOIN mr j ON j.Serie BETWEEN r.Low AND r.High")
                .arg(rows.mid(first, kBlock).join(QLatin1Char(','))),
            {}, [&](const Database::RowValues& row) {
                const double stored = row.number(0);
                // A key with a fraction (a damaged row) is no measurement's.
                if (stored != std::floor(stored))
                    return;
                const auto key = static_cast<qint64>(stored);
                if (!wanted.contains(key))
                    return;
                jump.contactMs = row.number(1);
                jump.flightMs = row.number(2);
                jump.jumpIndex = row.number(3);
                jump.excluded = false;
                if (!jump.exclusionReason.isEmpty())
                    jump.exclusionReason.clear();
                if (!marks.isEmpty())
                    mark(marks, key, jump);
                take(key, jump);
            });
    }
}
