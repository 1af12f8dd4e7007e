#pragma once

#include "core/link/D2xxDriver.h"

#include <QString>

#include <memory>

class Clock;

// The environment variable that picks the driver behind the timing-unit link:
//   (unset or empty)   the serial driver over the FTDI converters of this machine
//   simulator          the demo unit: answers the handshakes, a jump every 2 to 4 seconds,
//                      and a service device "VudurEve" for the service panel
//   simulator:PATH     a simulated unit that plays the script at PATH
inline constexpr char kTimingUnitVariable[] = "KALVERO_TIMING_UNIT";
// When this variable is set to anything but "" or "0", every byte that crosses the link and
// every failing driver call is written to standard error, one line each.
inline constexpr char kByteLogVariable[] = "KALVERO_BYTE_LOG";

// Creates the driver for a value of KALVERO_TIMING_UNIT. On an unknown value, an unreadable
// or malformed script returns null and sets *error to a one-line text naming the cause (for
// a script "<path>:<line>: <fault>"). The clock drives the simulated units and must outlive
// the driver.
std::unique_ptr<D2xxDriver> createTimingDriver(const QString& envValue, Clock& clock,
                                               QString* error);

// The same for the value of the variable in this process's environment, wrapped in the byte
// log when KALVERO_BYTE_LOG asks for it.
std::unique_ptr<D2xxDriver> createTimingDriverFromEnvironment(Clock& clock, QString* error);
