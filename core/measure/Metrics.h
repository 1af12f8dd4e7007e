#pragma once

#include <QString>
#include <QtGlobal>

// Jump height and efficiency derived from the contact time (SZ) and the flight time (FZ)
// that the timing unit reports in whole milliseconds; the "metric text" to which the jump
// table rounds a stored efficiency and the export a height; and the texts in which the
// program shows a height and an efficiency (heightText, efficiencyText).
namespace metrics {

// Height of a jump in metres for the flight time in seconds: half the flight time rising,
// take-off speed from g = 9.81 m/s², so the result equals 9.81 * T² / 8.
double heightMetres(double flightSeconds);

// Height in centimetres for a flight time in ms.
double heightCm(qint32 flightMs);
double heightCm(double flightMs);

// Efficiency index FZ² / SZ / 1000 (FZ, SZ in ms), evaluated as FZ·FZ / SZ / 10 / 100 with
// FZ·FZ formed as a 64-bit integer; 0 when SZ is 0. SZ = -1 (not measured) yields -FZ²/1000.
double efficiency(qint32 flightMs, qint32 contactMs);
// The same for times read back as floating point: whole ones within 32 bits give exactly
// the value above; others (damaged rows) are computed in floating point.
double efficiency(double flightMs, double contactMs);

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

// The texts of a jump's values wherever the program shows them: the result panel, the
// history list, the jump grid, the analysis and the report. Both have two decimals rounded
// from the exact value and the process-wide decimal separator.
// A height in cm: "32,02" for the 511 ms flight time's 32.0199 cm, "43,85" for 598 ms.
QString heightText(double heightCm);
// The efficiency of a jump, computed from its times (flight and contact time in ms, whole
// numbers as the unit reports them) rather than taken from the rounded value the jump table
// stores, so that a jump reads the same when it is recorded and when it is read back: "1,00"
// for 500 and 250 ms, "12,46" for 900 and 65 ms (stored as 12.5).
QString efficiencyText(double flightMs, double contactMs);

// Value of the computed height column of a jump row: the height in cm of the row's flight
// time (ms; an empty flight time counts as 0) as metric text with three decimals, parsed
// back: 30.7 for 500 ms, 1000 for 2855 ms, 1960 for 4000 ms.
double heightFieldValue(double flightMs);

} // namespace metrics
