#pragma once

#include <QString>

// The key under which the jumps of a measurement are stored (column Serie of mr): the
// athlete's ID × 1000 + the measurement's number, for numbers up to 999. From number 1000
// on that formula would give another athlete's keys, so larger numbers get negative keys,
// -(ID × 1 000 000 + number), which no measurement numbered below 1000 can have. Every
// place that stores, shows, deletes or exports jumps uses this one function.
qint64 seriesKey(qint64 athleteId, qint64 measurementNumber);

// The same key as an SQL expression over two columns, for statements that join a
// measurement with its jumps. Kept beside the function, which it must equal.
QString seriesKeyExpression(const QString& athleteIdColumn, const QString& measurementNumberColumn);

// The largest measurement number an athlete can have.
inline constexpr qint64 kMaxMeasurementNumber = 999999;
