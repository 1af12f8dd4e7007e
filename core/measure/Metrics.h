#pragma once

#include <QString>
#include <QtGlobal>

// Jump height and efficiency derived from the contact time (SZ) and the flight time (FZ)
// that the timing unit reports in whole milliseconds, and the one text form in which the
// program shows such a derived value (the "metric text").
namespace metrics {

// Height of a jump in metres for the flight time in seconds: half the flight time rising,
// take-off speed from g = 9.81 m/s², so the result equals 9.81 * T² / 8.
double heightMetres(double flightSeconds);

// Height in centimetres for a flight time in ms.
double heightCm(qint32 fzMs);
double heightCm(double fzMs);

// Efficiency index FZ² / SZ / 1000 (FZ, SZ in ms), evaluated as FZ·FZ / SZ / 10 / 100 with
// FZ·FZ formed as a 64-bit integer; 0 when SZ is 0. SZ = -1 (not measured) yields -FZ²/1000.
double efficiency(qint32 fz, qint32 sz);

// Metric text: the value rounded (halves away from zero) to the coarser of three significant
// digits and `decimals` decimal places, written with exactly `decimals` decimals and the
// process-wide decimal separator; "1,25", "30,70", "123,00", "-250,00", never "-0,00".
// A rounded value with more than three digits before the separator is written in exponent
// form instead: "1,96E03", "1E03" (exponent with at least max(2, decimals) digits, so
// "1E003" for three decimals). `decimals` is clamped to 0..15.
QString metricText(double value, int decimals = 2);
// The same with an explicit decimal separator.
QString metricText(double value, int decimals, QChar separator);

// Fixed text: the value rounded (halves away from zero, on the shortest decimal that reads
// back as the value) to `decimals` decimal places, written in full with exactly `decimals`
// decimals and the process-wide decimal separator: "2,68" for 2.675, "1234,57", never "-0,00".
// `decimals` is clamped to 0..15.
QString fixedText(double value, int decimals = 2);
// The same with an explicit decimal separator.
QString fixedText(double value, int decimals, QChar separator);

// The number a metric text stands for, i.e. the text parsed back: 4.08 for an efficiency of
// 4.0833, 1960 for "1,96E03". It does not depend on the decimal separator in force. This is
// the value stored for an efficiency in the jump table.
double metricValue(double value, int decimals = 2);

// Value of the computed height column of a jump row: the height in cm of the row's flight
// time (ms; an empty flight time counts as 0) as metric text with three decimals, parsed
// back: 30.7 for 500 ms, 1000 for 2855 ms, 1960 for 4000 ms.
double heightFieldValue(double fzMs);

} // namespace metrics
