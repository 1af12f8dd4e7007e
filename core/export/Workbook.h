#pragma once

#include "core/export/TidyExport.h"

#include <QList>
#include <QString>
#include <QStringList>

class DataStore;

// The tidy export as an Excel workbook (.xlsx), written by libxlsxwriter in its constant-memory
// mode: the sheet "jumps" with the rows and columns of the CSV file (tidyexport), and the
// sheet "measurements" with one row per measurement and the statistics of its valid jumps
// (analysis::jumpStatistics). Numbers are numbers, the moment and the birth date are dates,
// each sheet's header row is frozen and carries a filter.
namespace workbook {

// The most jump rows a sheet holds below its header row.
inline constexpr qint64 kMaxRows = 1048575;

// Writes the workbook of these athletes to `path`. An earlier file of that name is replaced
// only once the whole new workbook is on disk; a failed or cancelled export leaves it as it
// was.
tidyexport::Result write(DataStore& store, const QString& path, const QList<qint64>& athleteIds,
                         const plausibility::Limits& limits,
                         const tidyexport::Progress& progress = {});

} // namespace workbook
