// The user and the computer of this station.

#include "core/base/StationIdentity.h"

#include <QDir>
#include <QSysInfo>

namespace station {

QString userName() {
    const QString user = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
    return user.isEmpty() ? QDir::home().dirName() : user;
}

QString computerName() {
    const QString name = QSysInfo::machineHostName();
    return name.isEmpty() ? QStringLiteral("unbekannt") : name;
}

} // namespace station
