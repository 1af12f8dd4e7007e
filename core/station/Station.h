#pragma once

#include "core/link/DeviceLink.h"
#include "core/link/TimingLink.h"
#include "core/measure/Limits.h"
#include "core/measure/MeasurementSession.h"
#include "core/station/JournalReplay.h"
#include "core/store/DataStore.h"
#include "core/store/Journal.h"

#include <memory>

class Clock;
class D2xxDriver;

// The measuring station: the link to the timing unit, the store, the plausibility limits and
// the measurement session that joins them. The program builds one at its start and hands it
// to the windows, which show what it does and pass on what the user wants.
class Station {
public:
    Station(D2xxDriver& driver, Clock& clock);
    Station(const Station&) = delete;
    Station& operator=(const Station&) = delete;

    DeviceLink& deviceLink() { return deviceLink_; }
    TimingLink& timingLink() { return timingLink_; }
    DataStore& store() { return store_; }
    plausibility::Limits& limits() { return limits_; }
    MeasurementSession& session() { return session_; }

    // A station that stores on a server keeps its jumps in a journal in the data directory
    // while the server is away: from now on the session takes that way, and a run that a
    // crash cut off is finished with the jumps it holds. Throws AppError when the journal that
    // is there cannot be read.
    void keepJournalIn(const QString& dataDirectory);
    // The journal and its transfer; none when the station keeps no journal.
    Journal* journal() { return journal_.get(); }
    JournalReplay* journalReplay() { return replay_.get(); }

private:
    DeviceLink deviceLink_;
    TimingLink timingLink_;
    DataStore store_;
    plausibility::Limits limits_;
    MeasurementSession session_;
    std::unique_ptr<Journal> journal_;
    std::unique_ptr<JournalReplay> replay_;
};
