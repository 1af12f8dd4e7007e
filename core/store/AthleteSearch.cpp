#include "core/store/AthleteSearch.h"

namespace athletes {

QString searchPattern(const QString& text) {
    QString pattern;
    pattern.reserve(text.size() + 1);
    for (QChar c : text) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            pattern += QChar(c.unicode() - u'a' + u'A');
        else
            pattern += c;
    }
    pattern += QLatin1Char('%');
    return pattern;
}

} // namespace athletes
