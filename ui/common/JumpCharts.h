#pragma once

#include "core/analysis/JumpAnalysis.h"
#include "core/analysis/Progress.h"
#include "core/analysis/Protocols.h"
#include "core/analysis/Ranking.h"
#include "core/analysis/RunningSeries.h"

#include <QString>

#include <optional>

class QChart;
class QPainter;
class QRectF;
class QSizeF;

// The charts of the jump analysis, for the analysis window and the report alike: the chart of
// one measurement and the chart of an athlete's progress. A chart without anything to show
// says so in its title.
namespace jumpcharts {

// One bar per valid jump for its height (cm, left axis) and a line through the contact times
// (ms, right axis), the jumps by their number. `title` heads a chart with jumps.
QChart* measurementChart(const QList<analysis::StoredJump>& jumps, const QString& title);

// What the bars of a series show: the height (cm) or the reactive strength index (m/s).
using BarValue = analysis::SeriesValue;
// The chart of a series as it grows: one place per result in the order they came, its bar the
// chosen value, the best bar in the selection colour, and the contact times as a line on a
// second axis; a result the limits kept from the store, or one that is no valid jump (the
// closing contact), leaves its place empty. `fontScale` enlarges the labels.
QChart* seriesChart(const analysis::RunningSeries& series, BarValue value, double fontScale = 1.0);
// Adds the places of the series that a chart seriesChart() made of its first places lacks,
// all at once, without touching the others; false when the chart must be made anew instead
// (its labels no longer fit).
bool appendToSeriesChart(QChart* chart, const analysis::RunningSeries& series, BarValue value);
// The best height (left axis) and the best RSI (right axis) of the measurements of one
// progress line with a valid jump, over the date axis of progress::dateAxis, headed "Verlauf"
// and the line's name. Around each previous best RSI a band of the typical error, when known;
// the measurements whose change exceeds it marked.
QChart* progressChart(const QList<analysis::ProgressPoint>& points, const progress::Noise& noise,
                      const QString& lineName);

// Two measurements in one chart: the heights of their valid jumps as bars side by side and
// their contact times as two lines, the jumps by their place in each series.
QChart* comparisonChart(const QList<analysis::StoredJump>& first, const QString& firstName,
                        const QList<analysis::StoredJump>& second, const QString& secondName);

// A drop-height profile: the best height (left axis) and the best RSI (right axis) of every
// drop height with a valid trial, over the drop height; the optimal height by RSI and the one
// by jump height marked on their lines.
QChart* profileChart(const protocols::Profile& profile);

// One horizontal bar per athlete of a ranking with a best RSI, the best at the top, named
// "Name, Vorname".
QChart* bestRsiChart(const QList<ranking::Row>& rows);

// An empty chart that only says why it is empty.
QChart* noteChart(const QString& note);
// The notes of an empty chart.
QString noMeasurementText();
QString noValidJumpText();
QString noProgressText();

// The number of ticks, near four, that puts every tick of an axis from `min` to `max` on a
// multiple of `step` (the finest value its labels show): 0 to 2 in whole numbers takes 3
// ticks (0, 1, 2), never 4 (0, 0.67, 1.33, 2, shown as 0, 1, 1, 2).
int exactTickCount(double min, double max, double step);

// Draws a chart, laid out at `layoutSize`, scaled into `target`: as vectors on a vector device
// such as a PDF writer. Takes the chart over; it must not belong to a view.
void draw(QChart* chart, QPainter& painter, const QRectF& target, const QSizeF& layoutSize);

} // namespace jumpcharts
