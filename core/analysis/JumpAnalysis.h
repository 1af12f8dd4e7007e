#pragma once

#include "core/measure/MeasurementTest.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <optional>

// Evaluation of the stored jumps: statistics over the jumps of one measurement, the progress
// over all measurements of one athlete and the texts in which the window and the clipboard
// show them. Pure functions on plain values; reading the tables is the caller's part.
namespace analysis {

// One row of the jump table (mr): SZ, FZ and Anzahl. The times hold whole ms; -1 means the
// unit did not measure the time, and the closing contact of a series has the flight time 0.
struct StoredJump {
    double contactMs = 0;
    double flightMs = 0;
    int jumpIndex = 0; // 1, 2, 3 ... within the measurement
    // Marked "ausgeschlossen" by the user: it stays stored but counts nowhere.
    bool excluded = false;
    QString exclusionReason = {};
};

// One measurement (units row) with its jumps.
struct MeasurementJumps {
    QDateTime moment;
    qint64 measurementNumber = 0;
    QList<StoredJump> jumps;
    MeasurementTest test = {}; // empty for a measurement stored without one
    bool series = false;       // more than one jump recorded
};

// A jump counts when both times are measured, finite and above 0 and the user has not
// excluded it; this leaves out the "not measured" -1, the closing contact and damaged rows.
bool isValidJump(const StoredJump& jump);
// That rule in words, as the description of an export states it (in English, as the rest of
// that file).
QString validJumpRule();
// The number a stored jump is shown with in every place (the grid, the charts, the result
// line, the report): its own stored number. The closing contact of a series is no jump and has
// none.
QString jumpNumberText(const StoredJump& jump);
// The labels under the places of a running series, in the order the jumps came: a stored jump
// its number (jumpNumberText), a jump the limits kept from the store (none) the mark "×",
// between the stored jumps but without a number of its own.
QStringList seriesPlaceLabels(const QList<std::optional<StoredJump>>& places);
// Jump height in cm from the flight time (g·TF²/8).
double jumpHeightCm(const StoredJump& jump);
// Reactive strength index in m/s: height in m over contact time in s, i.e. 1.22625 times the
// stored efficiency index FZ²/SZ/1000. Meaningful for valid jumps only; 0 for a contact time
// that is not above 0.
double jumpRsi(const StoredJump& jump);

// Statistics over the valid jumps of one measurement. Everything but the count is empty
// without a valid jump; the spread, its coefficient of variation and the fatigue are empty
// with fewer than two. A value that cannot be formed (a zero divisor) stays empty, too.
struct JumpStatistics {
    int jumpCount = 0;
    std::optional<double> bestHeightCm;
    std::optional<double> meanHeightCm;
    std::optional<double> heightSdCm; // sample standard deviation (n - 1)
    std::optional<double> heightCvPercent;
    std::optional<double> meanContactMs;
    std::optional<double> meanFlightMs;
    std::optional<double> bestRsi;
    std::optional<double> meanRsi;
    // (1 - mean RSI of the last k / mean RSI of the first k) × 100, k = max(1, count / 3),
    // the jumps taken in the order of their numbers.
    std::optional<double> fatiguePercent;
};

JumpStatistics jumpStatistics(const QList<StoredJump>& jumps);

// Names of the statistics fields in the order of statisticsTexts().
QStringList statisticsNames();
// The fields as shown: the count as integer, the heights as metrics::heightText, the other
// values with two decimals and the process-wide decimal separator, empty fields as empty
// texts.
QStringList statisticsTexts(const JumpStatistics& statistics);
// Clipboard form: the names line and the values line, tab-separated, each ended with "\n".
QString statisticsClipboardText(const JumpStatistics& statistics);

// One point of an athlete's progress; the values are empty for a measurement without a valid
// jump.
struct ProgressPoint {
    QDateTime moment;
    qint64 measurementNumber = 0;
    std::optional<double> bestHeightCm;
    std::optional<double> bestRsi;
    std::optional<double> meanContactMs;
};

// One point per measurement, oldest first; measurements of the same moment keep their order,
// and those without a valid moment (damaged date) come first.
QList<ProgressPoint> athleteProgress(const QList<MeasurementJumps>& measurements);

} // namespace analysis
