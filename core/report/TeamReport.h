#pragma once

#include "core/analysis/Ranking.h"
#include "core/store/GroupRepository.h"

#include <QList>
#include <QString>
#include <QStringList>

// What the report of a group over a period holds, as texts: the ranking, the best RSI of
// every athlete for the bar chart, and one line per athlete with his best values and trend.
// Laying it out on pages is the window's part (ui/report/TeamReportPdf).
namespace report {

struct TeamReport {
    Group group;
    ranking::Period period;
    QList<ranking::Row> rows; // in the ranking's order
};

TeamReport team(const Group& group, const ranking::Period& period, QList<ranking::Row> rows);

// "Teambericht: U19"
QString teamTitle(const TeamReport& report);
// "Zeitraum: 02.03.2026 bis 31.03.2026 (30 Tage)"
QString periodLine(const ranking::Period& period);
// The trend of an athlete's best RSI against the period before: "besser", "schlechter",
// "unverändert", or "ohne Vergleich" without a value in one of the periods; with the change
// and, where it exceeds the typical error, the mark.
QString trendText(const ranking::Row& row);
// "Adler, Anna: Höhe 78,48 cm · RSI 1,96 · Stützzeit 300 ms · 3 Messungen · Trend: besser
// (+0,98)"; without a measurement in the period "Adler, Anna: keine Messung im Zeitraum".
QString athleteLine(const ranking::Row& row);

} // namespace report
