// Gives the old jumps to their old measurements by the old series key.

#include "core/takeover/OldKeys.h"

#include <QHash>

#include <algorithm>
#include <cmath>

namespace takeover {
namespace {

// Whole numbers up to 2^53 are exact in the double column Serie.
constexpr double kLargestExactWhole = 9007199254740992.0;

std::optional<qint64> wholeKey(const std::optional<double>& key) {
    if (!key || std::trunc(*key) != *key || std::fabs(*key) > kLargestExactWhole)
        return std::nullopt;
    return static_cast<qint64>(*key);
}

std::optional<qint64> keyOf(const OldMeasurement& m) {
    if (!m.athleteId || !m.measurementNumber)
        return std::nullopt;
    return oldSeriesKey(*m.athleteId, *m.measurementNumber);
}

bool beforeInJumpOrder(const OldJump& a, const OldJump& b) {
    return a.jumpIndex && (!b.jumpIndex || *a.jumpIndex < *b.jumpIndex);
}

} // namespace

qint64 oldSeriesKey(qint64 athleteId, qint64 measurementNumber) {
    return athleteId * 1000 + measurementNumber;
}

Takeover assignOldKeys(const OldData& data) {
    Takeover result;
    TakeoverCounts& counts = result.counts;
    counts.athletes = static_cast<int>(data.athletes.size());
    counts.measurements = static_cast<int>(data.measurements.size());
    counts.jumps = static_cast<int>(data.jumps.size());

    QHash<qint64, qsizetype> athleteIndex;
    for (const OldAthlete& athlete : data.athletes) {
        athleteIndex.insert(athlete.id, result.athletes.size());
        result.athletes.append({athlete, {}});
    }

    QHash<qint64, int> measurementsOfKey;
    for (const OldMeasurement& m : data.measurements)
        if (const std::optional<qint64> key = keyOf(m))
            ++measurementsOfKey[*key];

    QHash<qint64, QList<OldJump>> jumpsOfKey;
    for (const OldJump& jump : data.jumps) {
        const std::optional<qint64> key = wholeKey(jump.oldSeriesKey);
        const int owners = key ? measurementsOfKey.value(*key) : 0;
        if (owners == 0)
            ++counts.orphanedJumps;
        else if (owners > 1)
            ++counts.collidingJumps;
        else
            jumpsOfKey[*key].append(jump);
    }

    for (const OldMeasurement& m : data.measurements) {
        const std::optional<qint64> key = keyOf(m);
        const QList<OldJump> jumps = key ? jumpsOfKey.take(*key) : QList<OldJump>();
        const auto athlete =
            m.athleteId ? athleteIndex.constFind(*m.athleteId) : athleteIndex.constEnd();
        if (athlete == athleteIndex.constEnd()) {
            ++counts.measurementsWithoutAthlete;
            counts.jumpsOfMeasurementsWithoutAthlete += static_cast<int>(jumps.size());
            continue;
        }
        TakeoverMeasurement taken{m, key, jumps, key && measurementsOfKey.value(*key) > 1, {}};
        std::stable_sort(taken.jumps.begin(), taken.jumps.end(), beforeInJumpOrder);
        result.athletes[*athlete].measurements.append(taken);
    }
    return result;
}

} // namespace takeover
