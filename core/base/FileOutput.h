#pragma once

#include <QString>

#include <functional>
#include <optional>

class QIODevice;

// Files written all or nothing: an earlier file of the same name is replaced only once the
// whole new content is on disk, so a failed write leaves it as it was.
namespace fileoutput {

// The message when a file cannot be written, worded as the export's.
QString cannotCreateMessage(const QString& path, const QString& reason);

// Opens `path` for writing and hands the device to `write`, which returns false when it
// failed (a writer that breaks off on purpose throws instead). Returns the message for the user
// when the file cannot be written.
std::optional<QString> write(const QString& path, const std::function<bool(QIODevice&)>& write);

} // namespace fileoutput
