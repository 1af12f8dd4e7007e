#pragma once

#include "core/link/DeviceLink.h"
#include "core/link/TimingLink.h"
#include "core/measure/Limits.h"
#include "core/measure/MeasurementSession.h"
#include "core/store/DataStore.h"

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

private:
    DeviceLink deviceLink_;
    TimingLink timingLink_;
    DataStore store_;
    plausibility::Limits limits_;
    MeasurementSession session_;
};
