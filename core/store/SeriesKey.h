#pragma once

#include <QtGlobal>

// The key under which the jumps of a measurement are stored (column Serie of mr): the
// athlete's ID × 1000 + the measurement's number, for numbers up to 999. From number 1000
// on that formula would give another athlete's keys, so larger numbers get negative keys,
// -(ID × 1 000 000 + number), which no measurement numbered below 1000 can have. Every
// place that stores, shows, deletes or exports jumps uses this one function.
qint64 seriesKey(qint64 athleteId, qint64 nummer);

// The largest measurement number an athlete can have.
inline constexpr qint64 kMaxNummer = 999999;
