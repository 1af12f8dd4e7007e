// Turns the stored jumps of an athlete's measurements into the form the analysis takes.

#include "core/analysis/StoredMeasurements.h"

#include "core/store/MeasurementRepository.h"
#include "core/store/SeriesKey.h"

#include <cmath>
#include <limits>

namespace analysis {

QList<StoredJump> storedJumps(const QList<Jump>& rows) {
    QList<StoredJump> jumps;
    jumps.reserve(rows.size());
    for (const Jump& row : rows) {
        // A number beyond an int (a damaged row) sorts last.
        const bool indexFits = std::isfinite(row.jumpIndex) && std::abs(row.jumpIndex) < 1e9;
        jumps.append({row.contactMs, row.flightMs,
                      indexFits ? static_cast<int>(row.jumpIndex) : std::numeric_limits<int>::max(),
                      row.excluded, row.exclusionReason});
    }
    return jumps;
}

MeasurementJumps storedMeasurement(MeasurementRepository& measurements, qint64 athleteId,
                                   const Measurement& measurement) {
    return {measurement.moment, measurement.measurementNumber,
            storedJumps(measurements.jumpsOf(seriesKey(athleteId, measurement.measurementNumber))),
            measurement.test, measurement.jumpCount > 1};
}

QList<MeasurementJumps> storedMeasurements(MeasurementRepository& measurements, qint64 athleteId) {
    QList<MeasurementJumps> out;
    if (athleteId == 0)
        return out;
    return storedMeasurements(measurements, athleteId, measurements.ofAthlete(athleteId));
}

QList<MeasurementJumps> storedMeasurements(MeasurementRepository& measurements, qint64 athleteId,
                                           const QList<Measurement>& rows) {
    QList<MeasurementJumps> out;
    if (athleteId == 0 || rows.isEmpty())
        return out;
    const QHash<qint64, QList<Jump>> jumps = measurements.jumpsOfAthlete(athleteId);
    out.reserve(rows.size());
    for (const Measurement& row : rows) {
        // A damaged number has no series key: the measurement is there, without jumps.
        const bool keyed =
            row.measurementNumber >= 1 && row.measurementNumber <= kMaxMeasurementNumber;
        out.append({row.moment, row.measurementNumber,
                    keyed ? storedJumps(jumps.value(seriesKey(athleteId, row.measurementNumber)))
                          : QList<StoredJump>(),
                    row.test, row.jumpCount > 1});
    }
    return out;
}

} // namespace analysis
