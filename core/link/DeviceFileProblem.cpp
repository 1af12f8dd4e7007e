#include "core/link/DeviceFileProblem.h"

#include <cerrno>

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
        return QStringLiteral("Kein Zugriff auf %1. Zugriff geben die udev-Regel des "
                              "Kalvero-Pakets (danach den Wandler neu einstecken) oder die "
                              "Gruppe \u201Eplugdev\u201C.")
            .arg(file);
    case DeviceFileProblem::Cause::Busy:
        return QStringLiteral("%1 wird von einem anderen Programm benutzt.").arg(file);
    case DeviceFileProblem::Cause::Missing:
        return QStringLiteral("%1 ist nicht vorhanden (Wandler ausgesteckt?).").arg(file);
    case DeviceFileProblem::Cause::NotATerminal:
        return QStringLiteral("%1 ist keine serielle Schnittstelle.").arg(file);
    case DeviceFileProblem::Cause::Other:
        break;
    }
    if (problem.systemText.isEmpty())
        return QStringLiteral("%1 lässt sich nicht öffnen.").arg(file);
    return QStringLiteral("%1 lässt sich nicht öffnen: %2.").arg(file, problem.systemText);
}

QString noDeviceMessage(const std::optional<DeviceFileProblem>& problem) {
    const QString first = QStringLiteral("Kommunikationsfehler! Kein Gerät erkannt.");
    if (!problem)
        return first;
    return first + QLatin1Char('\n') + problemLine(*problem);
}
