#pragma once

#include "core/takeover/OldKeys.h"

#include <functional>
#include <optional>

class Database;

// Writes athletes, measurements and jumps taken over from elsewhere (old Paradox tables, or
// the file of a station that moves to a shared database) into a database, all in one
// transaction: a failure anywhere leaves the database as it was.
//
// An athlete already there (same Name, Vorname and Geb) is used as he is; any other gets a new
// ID. A measurement already there (same athlete and the same Datum) is not added again, so a
// second take-over of the same data adds nothing. Every other measurement keeps its Nummer,
// Datum and FZ, unless its athlete has that number already (or it has none): then it gets the
// number after his highest. Its jumps are stored under the series key of the new athlete ID
// and the number.
namespace takeover {

struct WrittenCounts {
    int athletes = 0;            // added
    int measurements = 0;        // added
    int jumps = 0;               // added
    int measurementsPresent = 0; // already there, not added again
};

// How many of the measurements the database holds already.
int measurementsPresent(Database& db, const Takeover& data);

// Told how many athletes are done; returns false to cancel.
using Progress = std::function<bool(int athletesDone)>;

// Writes everything or nothing; nothing when the progress cancelled. Throws AppError when the
// database refuses.
std::optional<WrittenCounts> write(Database& db, const Takeover& data,
                                   const Progress& progress = {});

// Everything a database holds, in the form of a take-over: for moving a station's data.
Takeover fromDatabase(Database& source);

} // namespace takeover
