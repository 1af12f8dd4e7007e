// Bringing the station's journal to the server once it is back, and what the station tells the
// user about where its measurements are.

#pragma once

#include "core/base/Errors.h"
#include "core/store/AthleteRepository.h"
#include "core/store/Journal.h"

#include <QString>

#include <functional>
#include <optional>

class DataStore;

// Where the station's measurements are, for the status bar.
enum class StorePlace {
    File,         // a file of this computer: nothing waits for a server (only, perhaps,
                  // measurements of another station's file for the user's choice)
    OnServer,     // on the server, nothing waiting
    Journalling,  // the server is away; the journal holds measurements not yet on it
    Transferring, // the journal is being brought to the server
    Waiting,      // the server is there, but measurements wait (for the user's choice)
};

struct StoreStatus {
    StorePlace place = StorePlace::File;
    int journalled = 0; // measurements in the journal not yet on the server
    int undecided = 0;  // among them, those whose athlete the user has to choose
};

// What one transfer of the journal did.
struct TransferRound {
    int transferred = 0; // brought to the server now (or found there from a cut-off transfer)
    int undecided = 0;   // waiting for the user to choose the athlete
    std::optional<AppError> failure; // why the transfer stopped (the server went away again)
};

// The journal and the store together: brings the journal's finished measurements to the
// server, each in one transaction with its number taken there at that moment, and tells where
// the station's measurements are.
class JournalReplay {
public:
    JournalReplay(DataStore& store, Journal& journal) : store_(store), journal_(journal) {}

    // Brings every finished measurement of the journal to the server, in the order recorded,
    // until one fails (nothing more is tried then: the next round begins there). A
    // measurement whose athlete is not clear waits and is counted. `afterEach` is told of
    // each measurement brought over.
    TransferRound transfer(const std::function<void()>& afterEach = {});

    // Where the measurements are now; `transferring` while a transfer goes on.
    StoreStatus status(bool transferring = false);
    // The status as the status bar says it.
    static QString statusText(const StoreStatus& status);

    // The measurements whose athlete the user has to choose, as the window lists them.
    QList<JournalEntry> undecided();
    // The user gave the journal's athlete to the server's athlete; his measurements go there
    // at the next transfer.
    void choose(qint64 journalAthleteId, qint64 serverAthleteId) {
        journal_.chooseAthlete(journalAthleteId, serverAthleteId);
    }

    // The athletes of the store the measurement may belong to: those of its athlete's name,
    // first name and date of birth, in the order they were added.
    QList<Athlete> candidates(const JournalEntry& entry);
    // The journal's athlete of the entry becomes a new athlete of the store, as the journal
    // knows him; his measurements go there at the next transfer. Returns the new ID.
    qint64 chooseNew(const JournalEntry& entry);

private:
    DataStore& store_;
    Journal& journal_;
};
