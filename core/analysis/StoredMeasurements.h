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
// The same for the athlete's measurements read before (MeasurementRepository::ofAthlete), in
// their order; the jumps of all of them are read at once.
QList<MeasurementJumps> storedMeasurements(MeasurementRepository& measurements, qint64 athleteId,
                                           const QList<Measurement>& rows);

} // namespace analysis
