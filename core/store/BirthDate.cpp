// Reads a date of birth as typed in the system's short date format.

#include "core/store/BirthDate.h"

#include "core/base/Texts.h"

namespace athletes {

QString relaxedDateFormat(const QString& qtDateFormat) {
    QString out;
    bool quoted = false;
    for (qsizetype i = 0; i < qtDateFormat.size(); ++i) {
        const QChar c = qtDateFormat[i];
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && (c == QLatin1Char('d') || c == QLatin1Char('M'))) {
            // A run of two stands for the number with a leading zero; three or more name
            // the day or month in words and stay as they are.
            qsizetype run = 1;
            while (i + run < qtDateFormat.size() && qtDateFormat[i + run] == c)
                ++run;
            out += run == 2 ? QString(c) : QString(run, c);
            i += run - 1;
            continue;
        }
        out += c;
    }
    return out;
}

QDate parseBirthDate(const QString& text) {
    const QDate strict = texts::parseDate(text);
    if (strict.isValid())
        return strict;
    const QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    return texts::locale().toDate(t, relaxedDateFormat(texts::shortDateFormat()));
}

} // namespace athletes
