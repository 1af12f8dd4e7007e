#include "core/store/AthleteSearch.h"

namespace athletes {

QString searchPattern(const QString& text) {
    QString pattern;
    pattern.reserve(text.size() + 4);
    pattern += QLatin1Char('\'');
    for (QChar c : text) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            pattern += QChar(c.unicode() - u'a' + u'A');
        else if (c == QLatin1Char('\''))
            pattern += QStringLiteral("''");
        else
            pattern += c;
    }
    pattern += QStringLiteral("%'");
    return pattern;
}

QStringList searchStatement(SearchBy by, const QString& text) {
    switch (by) {
    case SearchBy::FirstName:
        return {QStringLiteral("SELECT * FROM sportler"),
                QStringLiteral("WHERE UPPER(Vorname) LIKE ") + searchPattern(text),
                QStringLiteral("ORDER BY Name,Geb")};
    case SearchBy::Surname:
        return {QStringLiteral("SELECT * FROM sportler"),
                QStringLiteral("WHERE UPPER(Name) LIKE ") + searchPattern(text),
                QStringLiteral("ORDER BY Vorname,Geb")};
    case SearchBy::None:
        break;
    }
    return {};
}

QStringList showAllStatement() {
    return {QStringLiteral("SELECT * FROM sportler")};
}

} // namespace athletes
