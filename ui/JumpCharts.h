#pragma once

#include "core/analysis/JumpAnalysis.h"
#include "core/analysis/Ranking.h"

#include <QString>

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
// The best height (left axis) and the best RSI (right axis) of every measurement with a
// valid jump, over the date axis.
QChart* progressChart(const QList<analysis::ProgressPoint>& points);

// One horizontal bar per athlete of a ranking with a best RSI, the best at the top, named
// "Name, Vorname".
QChart* bestRsiChart(const QList<ranking::Row>& rows);

// An empty chart that only says why it is empty.
QChart* noteChart(const QString& note);
// The notes of an empty chart.
inline const QString kNoMeasurement = QStringLiteral("Keine Messung gewählt");
inline const QString kNoValidJump = QStringLiteral("Keine gültigen Sprünge");
inline const QString kNoProgress = QStringLiteral("Keine Messung mit gültigen Sprüngen");

// Draws a chart, laid out at `layoutSize`, scaled into `target`: as vectors on a vector device
// such as a PDF writer. Takes the chart over; it must not belong to a view.
void draw(QChart* chart, QPainter& painter, const QRectF& target, const QSizeF& layoutSize);

} // namespace jumpcharts
