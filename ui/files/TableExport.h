#pragma once

#include "core/measure/Limits.h"
#include "core/store/AthleteRepository.h"

#include <QList>
#include <QString>

#include <optional>

class DataStore;
class MessageService;

// "Datei" ▸ "Exportieren" ▸ "Tabelle (CSV, UTF-8) …" and "Arbeitsmappe (Excel) …": the export
// for analysis tools (tidyexport, workbook) of the selected athlete, or of the athletes the
// grid lists (all, or the chosen group's).
namespace tableexport {

enum class Format { Csv, Workbook };

// What the grid offers to export.
struct Scope {
    std::optional<Athlete> selected;
    QList<Athlete> listed;
    QString groupName; // the group chosen above the grid; empty for all athletes
};

// Asks which athletes (when there is a choice) and for the file, then writes it with a
// progress dialog. A file that cannot be written or a database that cannot be read is told;
// nothing is written then.
void run(MessageService& messages, DataStore& store, const plausibility::Limits& limits,
         const Scope& scope, Format format);

} // namespace tableexport
