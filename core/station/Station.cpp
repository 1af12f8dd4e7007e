// The station: the device link, the timing link, the store, the limits and the session, built
// together.

#include "core/station/Station.h"

Station::Station(D2xxDriver& driver, Clock& clock)
    : deviceLink_(driver), timingLink_(deviceLink_, clock), session_(timingLink_, store_, limits_) {
}
