#include "core/base/Texts.h"

#include <QRegularExpression>

#include <cmath>
#include <optional>

namespace texts {
namespace {

struct State {
    std::optional<QLocale> locale;
    std::optional<QChar> separator;
};

State& state() {
    static State s;
    return s;
}

QChar separatorOf(const QLocale& loc) {
    const QString point = loc.decimalPoint();
    return point.isEmpty() ? QLatin1Char('.') : point.front();
}

// Applies `change` to the parts of a Qt format string that are outside single quotes.
template <typename Fn> QString mapUnquoted(const QString& format, Fn change) {
    QString out;
    QString run;
    bool quoted = false;
    for (QChar c : format) {
        if (c == QLatin1Char('\'')) {
            if (!quoted) {
                out += change(run);
                run.clear();
            }
            quoted = !quoted;
            out += c;
            continue;
        }
        if (quoted)
            out += c;
        else
            run += c;
    }
    out += change(run);
    return out;
}

} // namespace

QLocale locale() {
    auto& s = state();
    return s.locale ? *s.locale : QLocale::system();
}

void setLocale(const QLocale& loc) {
    state().locale = loc;
    state().separator = separatorOf(loc);
}

QChar decimalSeparator() {
    auto& s = state();
    if (!s.separator)
        s.separator = separatorOf(locale());
    return *s.separator;
}

void setDecimalSeparator(QChar separator) {
    state().separator = separator;
}

QString fixed(double value, int decimals) {
    QString text = QString::number(value, 'f', decimals);
    if (text.startsWith(QLatin1Char('-')) &&
        text.count(QRegularExpression(QStringLiteral("[1-9]"))) == 0)
        text.remove(0, 1); // no "-0,00"
    return text.replace(QLatin1Char('.'), decimalSeparator());
}

QString general(double value) {
    return QString::number(value, 'g', 15).replace(QLatin1Char('.'), decimalSeparator());
}

bool parseNumber(const QString& text, double* value) {
    QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    const QChar sep = decimalSeparator();
    if (sep != QLatin1Char('.')) {
        if (t.contains(QLatin1Char('.')))
            return false;
        t.replace(sep, QLatin1Char('.'));
    }
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (ok && std::isfinite(v)) {
        *value = v;
        return true;
    }
    return false;
}

QString withFourDigitYear(const QString& qtDateFormat) {
    static const QRegularExpression shortYear(QStringLiteral("(?<!y)yy(?!y)"));
    return mapUnquoted(
        qtDateFormat, [](QString part) { return part.replace(shortYear, QStringLiteral("yyyy")); });
}

QString withoutTimeZone(const QString& qtTimeFormat) {
    static const QRegularExpression zone(QStringLiteral("\\s*t+\\s*"));
    QString out = mapUnquoted(qtTimeFormat,
                              [](QString part) { return part.replace(zone, QStringLiteral(" ")); });
    return out.trimmed();
}

QString shortDateFormat() {
    return withFourDigitYear(locale().dateFormat(QLocale::ShortFormat));
}

QString longTimeFormat() {
    return withoutTimeZone(locale().timeFormat(QLocale::LongFormat));
}

QString dateText(const QDate& date) {
    return locale().toString(date, shortDateFormat());
}

QString timeText(const QTime& time) {
    return locale().toString(time, longTimeFormat());
}

QDate parseDate(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    return locale().toDate(t, shortDateFormat());
}

QTime parseTime(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    return locale().toTime(t, longTimeFormat());
}

} // namespace texts
