#pragma once

#include "core/report/AthleteReport.h"
#include "core/report/TeamReport.h"

#include <QDateTime>

class AthleteController;
class DataStore;
class HistoryController;
class MessageService;
class QIODevice;

// The athlete report as a PDF: A4 portrait, the program's name, the date of the report and
// "Seite N von M" on every page; the athlete, the progress chart, the table of all
// measurements (its header row on every page) and the selected measurement's statistics and
// chart. Texts wrap; the charts are drawn as vectors.
namespace reportpdf {

// Writes the PDF to `device`; returns the number of pages.
int write(const report::AthleteReport& report, QIODevice& device, const QDateTime& madeAt);

// The team report as a PDF on the same pages: the group and period, the ranking table (its
// header row on every page), the bar chart of the best RSI and a line per athlete with his
// best values and trend. Returns the number of pages.
int writeTeam(const report::TeamReport& report, QIODevice& device, const QDateTime& madeAt);

// "Teambericht als PDF …" of the ranking window: asks for the file and writes the team report
// of a group over a period, all or nothing.
void saveTeam(MessageService& ui, DataStore& store, const Group& group,
              const ranking::Period& period);

// "Datei" ▸ "Bericht als PDF …": asks for the file and writes the report of the athlete
// selected in the main window, all or nothing, with the export's progress dialog and
// messages.
void saveSelectedAthlete(MessageService& ui, DataStore& store, const AthleteController& athletes,
                         const HistoryController& history);

} // namespace reportpdf
