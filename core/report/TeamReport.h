#pragma once

#include "core/analysis/Ranking.h"
#include "core/store/GroupRepository.h"

#include <QList>
#include <QString>
#include <QStringList>

// What the report of a group's test over a period holds, as texts: the ranking of that test,
// the best RSI of every athlete for the bar chart, and one line per athlete with his best values
// and trend.
// Laying it out on pages is the window's part (ui/report/TeamReportPdf).
namespace report {

struct TeamReport {
    Group group;
    ranking::Period period;
    std::optional<ranking::RankedTest> test; // none: the group has no measurement in the period
    QList<ranking::Row> rows;                // in the ranking's order
    std::optional<realchange::Worthwhile> worthwhile; // that the changes were judged by
};

TeamReport team(const Group& group, const ranking::Period& period,
                const std::optional<ranking::RankedTest>& test, QList<ranking::Row> rows,
                const std::optional<realchange::Worthwhile>& worthwhile = std::nullopt);

// "Teambericht: U19"
QString teamTitle(const TeamReport& report);
// The lines below the title: the test, its drop height and the period, as the ranking's window
// and its copied text say them (ranking::headingLines).
QStringList headingLines(const TeamReport& report);
// The trend of an athlete's best RSI against the period before: "besser", "schlechter",
// "unverändert", or "ohne Vergleich" without a value in one of the periods; with the change
// and, where it is real, the mark.
QString trendText(const ranking::Row& row);
// "Adler, Anna: Höhe 78,48 cm · RSI 1,96 · Stützzeit 300 ms · 3 Messungen · Trend: besser
// (+0,98)"; without a measurement of the test in the period "Adler, Anna: keine Messung des
// Tests im Zeitraum".
QString athleteLine(const ranking::Row& row);

} // namespace report
