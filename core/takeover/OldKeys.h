#pragma once

#include "core/measure/MeasurementTest.h"
#include "core/takeover/OldData.h"

#include <QList>

#include <optional>

// Which old jumps belong to which old measurement. The old program stored a measurement's jumps
// under the key athlete ID × 1000 + Nummer; from Nummer 1000 on, keys of different
// measurements can be equal, and the jumps under such a key cannot be told apart.
namespace takeover {

qint64 oldSeriesKey(qint64 athleteId, qint64 measurementNumber);

struct TakeoverMeasurement {
    OldMeasurement measurement;
    std::optional<qint64> oldKey; // none when the measurement has no Nummer
    QList<OldJump> jumps;         // ordered by Anzahl, jumps without one last
    // Another measurement has the same old key: the jumps under it were left out.
    bool jumpsDropped = false;
    MeasurementTest test; // of a measurement moved from a station's database; none from old data
};

struct TakeoverAthlete {
    OldAthlete athlete;
    QList<TakeoverMeasurement> measurements; // in the order of the table
};

// What was found and what was left out. Every jump found is either in a measurement or counted
// in exactly one of the jump counts below.
struct TakeoverCounts {
    int athletes = 0;
    int measurements = 0;
    int jumps = 0;
    int measurementsWithoutAthlete = 0;        // Ref_ID empty or not in sportler: left out
    int jumpsOfMeasurementsWithoutAthlete = 0; // left out with their measurement
    int orphanedJumps = 0;                     // their Serie is the old key of no measurement
    int collidingJumps = 0; // their Serie is the old key of two or more measurements
};

struct Takeover {
    QList<TakeoverAthlete> athletes; // in the order of the table
    TakeoverCounts counts;
};

Takeover assignOldKeys(const OldData& data);

} // namespace takeover
