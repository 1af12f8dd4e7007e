#pragma once

#include "core/takeover/OldKeys.h"

#include <functional>
#include <optional>

class DataStore;

// Writes athletes, measurements and jumps taken over from elsewhere (old Paradox tables, or
// the file of a station that moves to a shared database) into a store, all as one change: a
// failure anywhere leaves the store as it was.
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
int measurementsPresent(DataStore& store, const Takeover& data);

// Told how many athletes are done; returns false to cancel.
using Progress = std::function<bool(int athletesDone)>;

// Writes everything or nothing; nothing when the progress cancelled. Throws AppError when the
// database refuses.
std::optional<WrittenCounts> write(DataStore& store, const Takeover& data,
                                   const Progress& progress = {});

// Everything a store holds, in the form of a take-over: for moving a station's data.
Takeover fromStore(DataStore& source);

// Throws AppError, naming the store, when it cannot be written: nothing is taken over then.
void requireWritable(DataStore& store);

// "3 Sportler, 5 Messungen, 12 Sprünge gefunden; 1 Messungen sind schon vorhanden. Übernehmen?"
QString question(const TakeoverCounts& found, int present);
// What a take-over wrote, and what it left out, in German.
QString report(const WrittenCounts& written, const TakeoverCounts& found);

} // namespace takeover
