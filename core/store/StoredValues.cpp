// Dates, moments and numbers as the store writes and reads them.

#include "core/store/StoredValues.h"

#include <QMetaType>
#include <QTime>

#include <cmath>
#include <optional>

QVariant engineDate(const QDate& date) {
    return date.isValid() ? QVariant(date.toString(QStringLiteral("yyyy-MM-dd"))) : QVariant();
}

QVariant engineMoment(const QDateTime& moment) {
    return moment.isValid() ? QVariant(moment.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")))
                            : QVariant();
}

namespace {

// The whole number that the digits of text[from, from + length) make; -1 when one of them is
// not a digit.
int digitsAt(const QString& text, int from, int length) {
    int value = 0;
    for (int i = from; i < from + length; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

// "yyyy-MM-ddTHH:mm:ss" and "yyyy-MM-dd", the forms the program stores, read without the
// general parser.
std::optional<QDateTime> storedForm(const QString& text) {
    const bool dateOnly = text.size() == 10;
    if ((text.size() != 19 && !dateOnly) || text[4] != QLatin1Char('-') ||
        text[7] != QLatin1Char('-'))
        return std::nullopt;
    if (!dateOnly && ((text[10] != QLatin1Char('T') && text[10] != QLatin1Char(' ')) ||
                      text[13] != QLatin1Char(':') || text[16] != QLatin1Char(':')))
        return std::nullopt;
    const auto number = [&text](int from, int length) {
        return digitsAt(text, from, length);
    };
    const int year = number(0, 4);
    const int month = number(5, 2);
    const int day = number(8, 2);
    // -1 marks a field that is not all digits; as a year it would be a valid one (1 BC).
    if (year < 0 || month < 0 || day < 0)
        return std::nullopt;
    const QDate date(year, month, day);
    if (dateOnly)
        return date.isValid() ? std::optional(date.startOfDay()) : std::nullopt;
    const QTime time(number(11, 2), number(14, 2), number(17, 2));
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return QDateTime(date, time);
}

} // namespace

QDate dayOfStoredText(const QString& text) {
    // The form the program stores ("yyyy-MM-dd..."), without the general parser.
    if (text.size() >= 10 && text[4] == QLatin1Char('-') && text[7] == QLatin1Char('-') &&
        (text.size() == 10 || text[10] == QLatin1Char('T') || text[10] == QLatin1Char(' '))) {
        const int year = digitsAt(text, 0, 4);
        const int month = digitsAt(text, 5, 2);
        const int day = digitsAt(text, 8, 2);
        if (year >= 0 && month >= 0 && day >= 0)
            return QDate(year, month, day);
    }
    return QDate::fromString(text.trimmed().left(10), Qt::ISODate);
}

QDateTime momentOf(const QVariant& v) {
    if (v.isNull())
        return {};
    if (v.metaType().id() == QMetaType::QDateTime)
        return v.toDateTime();
    if (v.metaType().id() == QMetaType::QDate)
        return v.toDate().startOfDay();
    QString text = v.toString().trimmed();
    if (const auto stored = storedForm(text))
        return *stored;
    if (text.size() == 10) {
        const QDate d = QDate::fromString(text, Qt::ISODate);
        return d.isValid() ? d.startOfDay() : QDateTime();
    }
    text.replace(QLatin1Char(' '), QLatin1Char('T'));
    return QDateTime::fromString(text, Qt::ISODate);
}

qint64 integerOf(const QVariant& v) {
    if (v.isNull())
        return 0;
    if (v.metaType().id() == QMetaType::LongLong)
        return v.toLongLong();
    bool ok = false;
    const double d = v.toDouble(&ok);
    // No number, or one no integer holds ("inf", "1e300" in a damaged file): 0, as empty. The
    // rounding of such a value is not defined.
    if (!ok || !std::isfinite(d) || std::fabs(d) >= 0x1p63)
        return 0;
    return static_cast<qint64>(std::llround(d));
}

double numberOf(const QVariant& v) {
    return v.isNull() ? 0.0 : v.toDouble();
}
