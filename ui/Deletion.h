#pragma once

#include <QStringList>

#include <functional>

class TForm1;

// The statements that delete measurements and athletes, and the frame that makes each
// deletion all or nothing. The statements take numbers only, so no text typed by a user
// can reach them.
namespace deletion {

// The measurement rows of one athlete.
QStringList measurementsOf(qint64 athleteId);
// Executed: all jump rows of one measurement.
QStringList deleteJumps(qint64 seriesKey);
// Executed: all measurement rows of one athlete.
QStringList deleteMeasurementsOf(qint64 athleteId);
// Executed: one measurement row, bound to its athlete.
QStringList deleteMeasurement(qint64 nummer, qint64 athleteId);
// All rows of units and of mr, as the result sets hold them after a deletion.
QStringList allMeasurements();
QStringList allJumps();

// Runs the statements of one deletion in one transaction of the form's database. When
// anything fails, nothing of it is kept: the transaction is rolled back, the measurement and
// jump result sets are opened again over their whole tables (as after a deletion) and the
// error goes on to the caller.
void allOrNothing(TForm1& form, const std::function<void()>& statements);

} // namespace deletion
