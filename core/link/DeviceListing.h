#pragma once

#include "core/link/SerialDriver.h"
#include "core/link/TimingDriverFactory.h"

#include <QString>

// The text of "kalvero --list-devices", for a support case: one line per USB serial converter
// of the machine (device file, vendor and product id, product string, serial number), the
// ones the timing unit and the service device would use marked, then a line for each of the
// two telling what it would use and why. Every line ends with a line break.
QString deviceListing(const SerialDriver& driver, const DeviceChoice& choice);
