// The file name a save dialog suggests, made from an athlete's names and the date.

#include "core/base/FileNames.h"

namespace filenames {

QString suggested(const QStringList& parts, const QDate& date, const QString& suffix) {
    QStringList kept;
    for (const QString& part : parts) {
        QString clean;
        for (const QChar c : part.simplified()) {
            const bool forbidden = c.unicode() < 0x20 || QStringLiteral("/\\:*?\"<>|").contains(c);
            clean += forbidden ? QLatin1Char('-') : (c == QLatin1Char(' ') ? QLatin1Char('_') : c);
        }
        while (clean.startsWith(QLatin1Char('.')))
            clean.remove(0, 1);
        if (!clean.isEmpty())
            kept << clean;
    }
    if (date.isValid())
        kept << date.toString(Qt::ISODate);
    return kept.join(QLatin1Char('_')) + QLatin1Char('.') + suffix;
}

} // namespace filenames
