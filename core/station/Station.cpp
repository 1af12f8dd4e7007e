#include "core/station/Station.h"

Station::Station(D2xxDriver& driver, Clock& clock)
    : deviceLink_(driver), timingLink_(deviceLink_, clock), session_(timingLink_, store_, limits_) {
}
