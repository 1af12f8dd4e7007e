#pragma once

#include <QString>

#include <optional>

// Why a device file of a serial line cannot be used.
struct DeviceFileProblem {
    enum class Cause {
        NoPermission, // the user may not open it
        Busy,         // another program holds it
        Missing,      // there is no such file (any more): the converter was unplugged
        NotATerminal, // the file is no serial line (tty)
        Other,        // any other failure; systemText tells it
    };

    QString deviceFile;
    Cause cause = Cause::Other;
    QString systemText; // the operating system's text for the failure, when there is one

    friend bool operator==(const DeviceFileProblem&, const DeviceFileProblem&) = default;
};

// The cause behind an errno value of open(), flock() or tcgetattr().
DeviceFileProblem::Cause deviceFileCause(int error);

// The line the user reads under "Kein Gerät erkannt", naming the file and what to do, e.g.
// "/dev/ttyUSB0 wird von einem anderen Programm benutzt."
QString problemLine(const DeviceFileProblem& problem);

// The message when no timing unit could be opened: the fixed first line, and the problem's
// line under it when there is one.
QString noDeviceMessage(const std::optional<DeviceFileProblem>& problem);
