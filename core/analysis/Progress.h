#pragma once

#include "core/analysis/JumpAnalysis.h"
#include "core/analysis/RealChange.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>

#include <optional>

// An athlete's progress as the analysis window and the report draw it: one line per test and
// drop height, the noise band of the typical error around each previous value with the changes
// that exceed it, and the places of the measurements on the date axis.
namespace progress {

// What one progress line follows: a test with its drop height, and whether single jumps or
// series (measurements stored before the program knew tests differ only in that).
struct Line {
    MeasurementTest test;
    bool series = false;
    bool operator==(const Line&) const = default;
};
Line lineOf(const analysis::MeasurementJumps& measurement);

// The lines of an athlete's measurements, each once, ordered by the test's name as shown, the
// drop height and single jumps before series; measurements without a test come last.
QList<Line> linesOf(const QList<analysis::MeasurementJumps>& measurements);
// The line as the chooser names it: "Drop Jump, Fallhöhe 30 cm"; with its kind where the test
// alone does not tell the lines apart: "Ohne Test, Serien".
QString lineText(const Line& line, const QList<Line>& all);
// The line shown first: that of the selected measurement if there is one, otherwise that of
// the newest measurement; none without measurements.
std::optional<Line> defaultLine(const QList<analysis::MeasurementJumps>& measurements,
                                std::optional<qint64> selectedMeasurementNumber);

// The progress points of the measurements of one line, oldest first.
QList<analysis::ProgressPoint> pointsOf(const QList<analysis::MeasurementJumps>& measurements,
                                        const Line& line);
// The points that can be drawn: a valid moment and a value, oldest first.
QList<analysis::ProgressPoint> drawable(const QList<analysis::ProgressPoint>& points);

// The measure the band is drawn for.
enum class Measure { BestHeight, BestRsi };
std::optional<double> valueOf(const analysis::ProgressPoint& point, Measure measure);

// The noise of a measure over the points of one test and drop height: the typical error
// (realchange::typicalError: from the repetitions of a day and the pairs the user marked, by
// measurement numbers in `repeats` (a repeat's number to the number it repeats), or else from
// consecutive measurements), the smallest worthwhile change when one is known, and the measurements
// whose change against the previous value is real (realchange::isReal). Without a typical error,
// `note` says why; without either nothing is marked.
struct Noise {
    std::optional<double> typicalError; // as its text shows it: the band's half width
    std::optional<realchange::TypicalError> error;
    std::optional<realchange::Worthwhile> worthwhile;
    QString note;
    QList<qint64> exceeding; // the number of each marked measurement, oldest first
};
Noise noise(const QList<analysis::ProgressPoint>& points, Measure measure,
            const std::optional<realchange::Worthwhile>& worthwhile = std::nullopt,
            const QHash<qint64, qint64>& repeats = {});
// The line under the chart: the band's width and where it comes from, the smallest worthwhile
// change, and how many changes exceed both; or why there is no band.
QString noiseText(const Noise& noise, Measure measure);

// The date axis of a progress chart. The measurements are spread evenly over their day, the
// days follow one another in equal steps, and each day is labelled once; with too many days to
// label, neighbouring days share a label; days of one year are labelled without it and the
// title names the year. When all measurements are from one day the axis shows their times
// instead.
struct AxisLabel {
    double end = 0; // the label covers the axis up to here from the previous end (or 0)
    QString text;
};
struct DateAxis {
    QList<double> places; // one per moment, in the order given
    QList<AxisLabel> labels;
    double end = 0; // the axis runs from 0 to here
    QString title;
};
inline constexpr int kMostDateLabels = 8;
// `moments` must be valid and in ascending order.
DateAxis dateAxis(const QList<QDateTime>& moments);

} // namespace progress
