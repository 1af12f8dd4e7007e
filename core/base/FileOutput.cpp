#include "core/base/FileOutput.h"

#include <QDir>
#include <QSaveFile>

namespace fileoutput {

QString cannotCreateMessage(const QString& path, const QString& reason) {
    return QStringLiteral("Datei \"%1\" kann nicht erstellt werden. %2")
        .arg(QDir::toNativeSeparators(path), reason);
}

std::optional<QString> write(const QString& path, const std::function<bool(QIODevice&)>& write) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return cannotCreateMessage(path, file.errorString());
    if (!write(file)) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return cannotCreateMessage(path, reason);
    }
    if (!file.commit())
        return cannotCreateMessage(path, file.errorString());
    return std::nullopt;
}

} // namespace fileoutput
