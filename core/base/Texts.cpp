// The number, date and time texts of the whole program, derived from the locale.

#include "core/base/Texts.h"

#include <QRegularExpression>

#include <cmath>
#include <optional>

namespace texts {
namespace {

struct State {
    std::optional<QLocale> locale;
    std::optional<QChar> separator;
    // Derived from the locale once, and again when it changes.
    std::optional<QString> dateFormat;
    std::optional<QString> timeFormat;
    std::optional<int> timeResolutionMs;
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
    auto& s = state();
    s = State{};
    s.locale = loc;
    s.separator = separatorOf(loc);
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

QString general(double value) {
    return QString::number(value, 'g', 15).replace(QLatin1Char('.'), decimalSeparator());
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
    auto& s = state();
    if (!s.dateFormat)
        s.dateFormat = withFourDigitYear(locale().dateFormat(QLocale::ShortFormat));
    return *s.dateFormat;
}

QString longTimeFormat() {
    auto& s = state();
    if (!s.timeFormat)
        s.timeFormat = withoutTimeZone(locale().timeFormat(QLocale::LongFormat));
    return *s.timeFormat;
}

QTime shownTime(const QTime& time) {
    auto& s = state();
    if (!s.timeResolutionMs) {
        int resolution = 24 * 3600 * 1000;
        bool quoted = false;
        for (const QChar c : longTimeFormat()) {
            if (c == QLatin1Char('\''))
                quoted = !quoted;
            else if (quoted)
                continue;
            else if (c == QLatin1Char('z'))
                resolution = std::min(resolution, 1);
            else if (c == QLatin1Char('s'))
                resolution = std::min(resolution, 1000);
            else if (c == QLatin1Char('m'))
                resolution = std::min(resolution, 60 * 1000);
            else if (c == QLatin1Char('h') || c == QLatin1Char('H'))
                resolution = std::min(resolution, 3600 * 1000);
        }
        s.timeResolutionMs = resolution;
    }
    if (!time.isValid())
        return time;
    const int ms = time.msecsSinceStartOfDay();
    return QTime::fromMSecsSinceStartOfDay(ms - ms % *s.timeResolutionMs);
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
