#pragma once

#include "core/report/TeamReport.h"

#include <QDateTime>

class DataStore;
class MessageService;
class QIODevice;

// The team report as a PDF on the pages of the athlete report: the group, test and period, the
// ranking table (its header row on every page), the bar chart of the best RSI and a line per
// athlete with his best values and trend.
namespace reportpdf {

// Writes the PDF to `device`; returns the number of pages.
int writeTeam(const report::TeamReport& report, QIODevice& device, const QDateTime& madeAt);

// "Teambericht als PDF …" of the ranking window: asks for the file and writes the team report
// of a group's test over a period, all or nothing.
void saveTeam(MessageService& messages, DataStore& store, const Group& group,
              const ranking::Period& period, const std::optional<ranking::RankedTest>& test);

} // namespace reportpdf
