// Files written all or nothing through QSaveFile: an earlier file is replaced only once the new one
// is complete.

#include "core/base/FileOutput.h"

#include <QCoreApplication>
#include <QDir>
#include <QSaveFile>

namespace {

// The texts of this file that the user reads, in the translation context "FileOutput".
struct FileOutputTexts {
    Q_DECLARE_TR_FUNCTIONS(FileOutput)
};

} // namespace

namespace fileoutput {

QString cannotCreateMessage(const QString& path, const QString& reason) {
    return FileOutputTexts::tr("Datei \"%1\" kann nicht erstellt werden. %2")
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
