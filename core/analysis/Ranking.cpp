// The ranking of a group over a period, with each athlete's change against the period before.

#include "core/analysis/Ranking.h"

#include "core/analysis/Protocols.h"
#include "core/analysis/StoredMeasurements.h"
#include "core/measure/Metrics.h"
#include "core/store/GroupRepository.h"
#include "core/store/MeasurementRepository.h"

#include <QCoreApplication>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <cmath>

namespace ranking {
namespace {

// The texts of this file that the user reads, in the translation context "Ranking".
struct RankingTexts {
    Q_DECLARE_TR_FUNCTIONS(Ranking)
};

struct Best {
    int measurements = 0;
    std::optional<double> heightCm;
    std::optional<double> rsi;
    std::optional<double> meanContactMs;
};

void takeMax(std::optional<double>& best, double value) {
    if (std::isfinite(value) && (!best || value > *best))
        best = value;
}

Best bestOf(const QList<DayJumps>& measurements, const Period& period) {
    Best best;
    double contactSum = 0;
    int contacts = 0;
    for (const DayJumps& measurement : measurements) {
        if (!period.contains(measurement.day))
            continue;
        ++best.measurements;
        for (const analysis::StoredJump& jump : measurement.jumps) {
            if (!analysis::isValidJump(jump))
                continue;
            takeMax(best.heightCm, analysis::jumpHeightCm(jump));
            takeMax(best.rsi, analysis::jumpRsi(jump));
            contactSum += jump.contactMs;
            ++contacts;
        }
    }
    if (contacts > 0 && std::isfinite(contactSum))
        best.meanContactMs = contactSum / contacts;
    return best;
}

// The best RSI of a measurement's valid jumps; none without one.
std::optional<double> bestRsiOf(const QList<analysis::StoredJump>& jumps) {
    std::optional<double> best;
    for (const analysis::StoredJump& jump : jumps)
        if (analysis::isValidJump(jump))
            takeMax(best, analysis::jumpRsi(jump));
    return best;
}

QString optionalText(const std::optional<double>& value, int decimals) {
    return value ? metrics::fixedText(*value, decimals) : QString();
}

} // namespace

Period Period::lastDays(const QDate& today, int days) {
    return {today.addDays(-(std::max(days, 1) - 1)), today};
}

bool Period::contains(const QDate& day) const {
    return day.isValid() && isValid() && day >= from && day <= to;
}

bool Period::contains(const QDateTime& moment) const {
    return moment.isValid() && contains(moment.date());
}

Period Period::previous() const {
    if (!isValid())
        return {};
    return {from.addDays(-days()), from.addDays(-1)};
}

std::optional<double> typicalRsiError(const QList<DayJumps>& measurements, const Period& period) {
    const DayJumps* ranked = nullptr;
    std::optional<double> best;
    for (const DayJumps& measurement : measurements) {
        if (!period.contains(measurement.day))
            continue;
        const std::optional<double> rsi = bestRsiOf(measurement.jumps);
        if (rsi && (!best || *rsi > *best)) {
            best = rsi;
            ranked = &measurement;
        }
    }
    if (ranked == nullptr || ranked->test.isEmpty())
        return std::nullopt;
    const Period before = period.previous();
    QList<double> trials;
    for (const DayJumps& measurement : measurements) {
        if (measurement.test != ranked->test ||
            (!period.contains(measurement.day) && !before.contains(measurement.day)))
            continue;
        if (const std::optional<double> rsi = bestRsiOf(measurement.jumps))
            trials << *rsi;
    }
    return protocols::typicalError(trials);
}

QList<Row> rank(const QList<AthleteData>& athletes, const Period& period) {
    const Period before = period.previous();
    QList<Row> rows;
    rows.reserve(athletes.size());
    for (const AthleteData& data : athletes) {
        const Best now = bestOf(data.measurements, period);
        const Best then = bestOf(data.measurements, before);
        Row row;
        row.athlete = data.athlete;
        row.measurementCount = now.measurements;
        row.bestHeightCm = now.heightCm;
        row.bestRsi = now.rsi;
        row.meanContactMs = now.meanContactMs;
        row.previousBestRsi = then.rsi;
        if (now.rsi && then.rsi) {
            row.rsiChange = *now.rsi - *then.rsi;
            row.typicalRsiError = typicalRsiError(data.measurements, period);
            row.changeBeyondTypicalError =
                row.typicalRsiError && std::abs(*row.rsiChange) > *row.typicalRsiError;
        }
        rows << row;
    }
    std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
        if (a.bestRsi.has_value() != b.bestRsi.has_value())
            return a.bestRsi.has_value();
        if (a.bestRsi && *a.bestRsi != *b.bestRsi)
            return *a.bestRsi > *b.bestRsi;
        const int name = QString::localeAwareCompare(a.athlete.name, b.athlete.name);
        if (name != 0)
            return name < 0;
        const int firstName = QString::localeAwareCompare(a.athlete.firstName, b.athlete.firstName);
        if (firstName != 0)
            return firstName < 0;
        return a.athlete.id < b.athlete.id;
    });
    for (int i = 0; i < rows.size(); ++i) {
        if (!rows[i].bestRsi)
            break;
        const bool tied = i > 0 && rows[i - 1].bestRsi == rows[i].bestRsi;
        rows[i].place = tied ? rows[i - 1].place : i + 1;
    }
    return rows;
}

QStringList header() {
    return {RankingTexts::tr("Platz"),      RankingTexts::tr("Name"),
            RankingTexts::tr("Vorname"),    RankingTexts::tr("Beste Höhe (cm)"),
            RankingTexts::tr("Bester RSI"), RankingTexts::tr("Mittl. Stützzeit (ms)"),
            RankingTexts::tr("Messungen"),  RankingTexts::tr("Veränderung RSI")};
}

QStringList texts(const Row& row) {
    QString change;
    if (row.rsiChange) {
        change = metrics::fixedText(*row.rsiChange, 2);
        if (!change.startsWith(QLatin1Char('-')) && *row.rsiChange > 0)
            change.prepend(QLatin1Char('+'));
        if (row.changeBeyondTypicalError)
            change += QStringLiteral(" *");
    }
    return {row.place > 0 ? QString::number(row.place) : QString(),
            row.athlete.name,
            row.athlete.firstName,
            row.bestHeightCm ? metrics::heightText(*row.bestHeightCm) : QString(),
            optionalText(row.bestRsi, 2),
            optionalText(row.meanContactMs, 0),
            QString::number(row.measurementCount),
            change};
}

QVariant sortValue(const Row& row, int column) {
    const auto value = [](const std::optional<double>& v) {
        return v ? QVariant(*v) : QVariant();
    };
    switch (column) {
    case Place:
        return row.place > 0 ? QVariant(row.place) : QVariant();
    case Name:
        return row.athlete.name;
    case FirstName:
        return row.athlete.firstName;
    case BestHeight:
        return value(row.bestHeightCm);
    case BestRsi:
        return value(row.bestRsi);
    case MeanContact:
        return value(row.meanContactMs);
    case Count:
        return row.measurementCount;
    case Change:
        return value(row.rsiChange);
    default:
        return {};
    }
}

QString clipboardText(const QList<Row>& rowsInOrder) {
    QString text = header().join(QLatin1Char('\t')) + QLatin1Char('\n');
    for (const Row& row : rowsInOrder)
        text += texts(row).join(QLatin1Char('\t')) + QLatin1Char('\n');
    return text;
}

QString changeMarkNote() {
    return RankingTexts::tr(
        "*: Die Veränderung ist größer als der typische Fehler des Sportlers (aus seinen "
        "Messungen desselben Tests und derselben Fallhöhe).");
}

QList<AthleteData> read(AthleteRepository& athletes, GroupRepository& groups, qint64 groupId,
                        const Period& period) {
    const QList<Athlete> members = onlyMembers(athletes.all(), groups.memberIds(groupId));
    const Period before = period.previous();
    QHash<qint64, QList<DayJumps>> byAthlete;
    byAthlete.reserve(members.size());
    QList<MemberMeasurement> found = groups.measurementsOfMembers(groupId, before.from, period.to);
    for (MemberMeasurement& m : found) {
        if (period.contains(m.day) || before.contains(m.day))
            byAthlete[m.athleteId]
                << DayJumps{m.day, analysis::storedJumps(m.jumps), std::move(m.test)};
        // Given back at once, so that the next measurement's jumps take the same memory.
        m.jumps = {};
    }
    QList<AthleteData> out;
    out.reserve(members.size());
    for (const Athlete& athlete : members)
        out << AthleteData{athlete, byAthlete.value(athlete.id)};
    return out;
}

} // namespace ranking
