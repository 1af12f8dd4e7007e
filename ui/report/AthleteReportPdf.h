#pragma once

#include "core/report/AthleteReport.h"

#include <QDateTime>

#include <optional>

class DataStore;
class MessageService;
class QIODevice;

// The athlete report as a PDF: A4 portrait, the program's name, the date of the report and
// "Seite N von M" on every page; the athlete, the progress chart, the table of all
// measurements (its header row on every page) and the selected measurement's statistics and
// chart. Texts wrap; the charts are drawn as vectors.
namespace reportpdf {

// Writes the PDF to `device`; returns the number of pages.
int write(const report::AthleteReport& report, QIODevice& device, const QDateTime& madeAt);

// "Datei" ▸ "Bericht als PDF …": asks for the file and writes the report of the athlete, with
// the measurement chosen in his history (if any) in detail, all or nothing, with the export's
// progress dialog and messages.
void saveAthleteReport(MessageService& messages, DataStore& store, const Athlete& athlete,
                       std::optional<qint64> chosenMeasurement);

} // namespace reportpdf
