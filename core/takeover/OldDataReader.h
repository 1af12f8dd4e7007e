#pragma once

#include "core/takeover/OldData.h"

#include <QString>

namespace takeover {

// Reads the Paradox tables sportler.db, units.db and mr.db (names in any case) of an old data
// folder. Throws an AppError whose German text names the file when a table is missing, is no
// Paradox table, is cut short or damaged, lacks a column or has one of an unfitting type, or
// holds a field Kalvero cannot take (a text longer than Kalvero's column or outside the table's
// code page, a broken number or date); nothing is returned then.
OldData readOldData(const QString& folder);

} // namespace takeover
