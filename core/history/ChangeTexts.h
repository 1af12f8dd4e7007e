// The texts that name a measurement or an athlete before a deletion, and that tell the changes
// made to measurements afterwards.

#pragma once

#include "core/store/MeasurementRepository.h"

#include <QDateTime>
#include <QString>

#include <functional>

namespace changetexts {

// "1 Sprung", "12 Sprünge".
QString jumpsText(qint64 jumps);
// "Nr. 5 vom 07.12.2026 09:30:05"; without a moment "Nr. 5".
QString measurementText(qint64 measurementNumber, const QDateTime& moment);

// What the deletion of a measurement takes: "Messung Nr. 5 vom 07.12.2026 09:30:05, Drop
// Jump, Fallhöhe 40 cm, 12 Sprünge".
QString measurementDeletionText(qint64 measurementNumber, const QDateTime& moment,
                                const MeasurementTest& test, qint64 jumps);
// What the deletion of an athlete takes: his name with the number of his measurements and
// jumps.
QString athleteDeletionText(const QString& athleteName, qint64 measurements, qint64 jumps);

// The jumps of a measurement as the deletion texts count them: those with a flight time, the
// closing contact not among them.
qint64 countedJumps(const QList<Jump>& jumps);

// What a change did, in one line; `athleteName` gives an athlete's name by his ID.
QString changeText(const MeasurementChange& change,
                   const std::function<QString(qint64 athleteId)>& athleteName);

} // namespace changetexts
