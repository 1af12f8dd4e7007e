#pragma once

#include "core/analysis/JumpAnalysis.h"

class MeasurementRepository;
struct Jump;
struct Measurement;

// The stored jumps in the form the analysis takes them, read through the measurement
// repository under each measurement's series key.
namespace analysis {

QList<StoredJump> storedJumps(const QList<Jump>& rows);

// One measurement of an athlete with its jumps.
MeasurementJumps storedMeasurement(MeasurementRepository& measurements, qint64 athleteId,
                                   const Measurement& measurement);

// Every measurement of an athlete with its jumps, in the order they were recorded; none for
// athlete 0.
QList<MeasurementJumps> storedMeasurements(MeasurementRepository& measurements, qint64 athleteId);

} // namespace analysis
