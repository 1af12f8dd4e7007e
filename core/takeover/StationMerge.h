// Another station's file (or a backup) into this station's database: each measurement matched
// to its athlete as the journal's are, those whose athlete is not clear kept in the journal for
// the user's choice. Used by the window and by `--copy-to`.

#pragma once

#include <QString>

#include <functional>

class DataStore;
class Journal;

namespace takeover {

struct MergeSummary {
    qint64 found = 0;            // measurements in the file
    int taken = 0;               // written now
    int jumps = 0;               // their jumps
    int athletesCreated = 0;     // athletes stored because none of their name was there
    int alreadyThere = 0;        // taken over before: not written again
    int undecided = 0;           // waiting in the journal for the user to choose the athlete
    int withoutAthlete = 0;      // left out: their athlete is missing in the file
    int jumpsWithoutAthlete = 0; // their jumps
};

// Told how many of the file's measurements are done; returns false to stop (what is written
// stays, and a later take-over goes on where this one stopped).
using MergeProgress = std::function<bool(qint64 done, qint64 total)>;

// Reads the file a chunk at a time and writes each measurement in one transaction, with its
// identity, so that none is ever written twice: a take-over cut off (by the user, a full disk,
// a server gone) is simply started again. Throws AppError naming the file when it cannot be
// read (with what was written before kept and counted in the text) or the database refuses.
MergeSummary mergeStationFile(const QString& file, DataStore& target, Journal& journal,
                              const QString& station, const MergeProgress& progress = {});

// What a take-over did, in German.
QString mergeSummaryText(const MergeSummary& summary);

} // namespace takeover
