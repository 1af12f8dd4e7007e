// Why a serial line's device file cannot be used, and the message that says so.

#include "core/link/DeviceFileProblem.h"

#include <QCoreApplication>

#include <cerrno>

namespace {

// The texts of this file that the user reads, in the translation context "DeviceFileProblem".
struct DeviceFileProblemTexts {
    Q_DECLARE_TR_FUNCTIONS(DeviceFileProblem)
};

} // namespace

DeviceFileProblem::Cause deviceFileCause(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
        return DeviceFileProblem::Cause::NoPermission;
    case EBUSY:
    case EWOULDBLOCK:
        return DeviceFileProblem::Cause::Busy;
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return DeviceFileProblem::Cause::Missing;
    case ENOTTY:
    case EISDIR:
        return DeviceFileProblem::Cause::NotATerminal;
    default:
        return DeviceFileProblem::Cause::Other;
    }
}

QString problemLine(const DeviceFileProblem& problem) {
    const QString& file = problem.deviceFile;
    switch (problem.cause) {
    case DeviceFileProblem::Cause::NoPermission:
        return DeviceFileProblemTexts::tr(
                   "Kein Zugriff auf %1. Zugriff geben die udev-Regel des "
                   "Kalvero-Pakets (danach den Wandler neu einstecken) oder die "
                   "Gruppe \u201Eplugdev\u201C.")
            .arg(file);
    case DeviceFileProblem::Cause::Busy:
        return DeviceFileProblemTexts::tr("%1 wird von einem anderen Programm benutzt.").arg(file);
    case DeviceFileProblem::Cause::Missing:
        return DeviceFileProblemTexts::tr("%1 ist nicht vorhanden (Wandler ausgesteckt?).")
            .arg(file);
    case DeviceFileProblem::Cause::NotATerminal:
        return DeviceFileProblemTexts::tr("%1 ist keine serielle Schnittstelle.").arg(file);
    case DeviceFileProblem::Cause::Other:
        break;
    }
    if (problem.systemText.isEmpty())
        return DeviceFileProblemTexts::tr("%1 lässt sich nicht öffnen.").arg(file);
    return DeviceFileProblemTexts::tr("%1 lässt sich nicht öffnen: %2.")
        .arg(file, problem.systemText);
}

QString noDeviceMessage(const std::optional<DeviceFileProblem>& problem) {
    const QString first = DeviceFileProblemTexts::tr("Kommunikationsfehler! Kein Gerät erkannt.");
    if (!problem)
        return first;
    return first + QLatin1Char('\n') + problemLine(*problem);
}
