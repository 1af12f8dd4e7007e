#pragma once

#include "core/store/StoreLocation.h"

#include <QString>

// The take-overs of the command line: all or nothing, without questions. Each returns what was
// written and left out, in German, or throws an AppError that names the file or the database;
// nothing is written then.
namespace takeover {

// kalvero --import-paradox FOLDER: the Paradox tables of an old data folder into the store.
QString importFolder(const QString& folder, const StoreLocation& store);

// kalvero --copy-to CONNECTION: a station's own database file (in `dataDirectory`) into a
// shared database, measurement by measurement as the window's take-over of another station's
// file does; those whose athlete is not clear wait in the station's journal.
QString copyStation(const QString& dataDirectory, const StoreLocation& shared);

} // namespace takeover
