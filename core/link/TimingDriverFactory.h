// The choice of the driver behind the timing unit and the service device, from the environment
// and the settings group "Gerät".

#pragma once

#include "core/link/D2xxDriver.h"

#include <QProcessEnvironment>
#include <QString>

#include <memory>
#include <optional>

class Clock;
class QSettings;

// The environment variable that picks the driver behind the timing-unit link:
//   (unset or empty)   the serial driver over the FTDI converters of this machine
//   simulator          the demo unit: answers the handshakes, a jump every 2 to 4 seconds,
//                      and a service device "VudurEve" for the service panel
//   simulator:PATH     a simulated unit that plays the script at PATH
//   serial:PATH        the serial driver, with the timing unit on the device file PATH
inline constexpr char kTimingUnitVariable[] = "KALVERO_TIMING_UNIT";
// The same for the service device: unset or empty, or serial:PATH.
inline constexpr char kServiceDeviceVariable[] = "KALVERO_SERVICE_DEVICE";
// When this variable is set to anything but "" or "0", every byte that crosses the link and
// every failing driver call is written to standard error, one line each.
inline constexpr char kByteLogVariable[] = "KALVERO_BYTE_LOG";

// The settings file takes the same values in the group "Gerät", keys "Zeitmessung" and
// "Service"; a variable that is set and not empty wins over them.
inline const QString kDeviceGroup = QStringLiteral("Gerät");
inline const QString kTimingUnitKey = QStringLiteral("Zeitmessung");
inline const QString kServiceDeviceKey = QStringLiteral("Service");

// One device's value and where it was found, for the messages about it: the variable's name,
// or "Gerät/Zeitmessung in <settings file>".
struct DeviceSetting {
    QString value;
    QString origin;
    bool fromEnvironment = true;
};

struct DeviceChoice {
    DeviceSetting timingUnit;
    DeviceSetting service;
};

// The choice of the environment, and where a variable is unset or empty that of the settings
// (which may be null).
DeviceChoice chooseDevices(const QProcessEnvironment& environment, QSettings* settings);

// What one value asks for.
struct LineChoice {
    enum class Kind {
        Search,     // the first FTDI converter carrying the device's description
        Simulator,  // the demo unit
        Script,     // a simulated unit playing the script at `path`
        DeviceFile, // the device file at `path`
    };
    Kind kind = Kind::Search;
    QString path;
};

// What a choice asks for, each device checked: its LineChoice, or nothing and a one-line
// text naming the origin, the value and the fault. A device file must pass
// SerialDriver::checkDeviceFile; a script is not read here.
//
// A simulated unit stands for all devices and brings its own service device (the service's
// kind is then Simulator): a service device file from the settings file is not used with it,
// one from the environment is refused.
struct DevicePlan {
    std::optional<LineChoice> timingUnit; // nothing, "simulator", "simulator:PATH", "serial:PATH"
    QString timingUnitError;
    std::optional<LineChoice> service; // nothing or "serial:PATH"
    QString serviceError;
};
DevicePlan planDevices(const DeviceChoice& choice);

// Creates the driver for a choice. When planDevices finds a fault, or the script is
// unreadable or malformed, returns null and sets *error to a one-line text naming the cause
// (for a script "<path>:<line>: <fault>"). The clock drives the simulated units and must
// outlive the driver.
std::unique_ptr<D2xxDriver> createTimingDriver(const DeviceChoice& choice, Clock& clock,
                                               QString* error);

// Wraps the driver in the byte log when the environment's KALVERO_BYTE_LOG asks for it.
std::unique_ptr<D2xxDriver> withByteLogIfAsked(std::unique_ptr<D2xxDriver> driver,
                                               const QProcessEnvironment& environment,
                                               Clock& clock);
