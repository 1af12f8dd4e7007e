// The lines of the export file and its Windows-1252 encoding.

#include "core/export/ExportFormat.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string_view>

namespace exportfile {
namespace {

// Unicode code points of the bytes 0x80..0x9F in Windows-1252. The five bytes the code page
// leaves undefined stand for the C1 control with the same number, as Windows converts them.
constexpr std::array<char16_t, 32> kHighTable{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char encode(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (std::size_t i = 0; i < kHighTable.size(); ++i)
        if (kHighTable[i] == c)
            return static_cast<char>(0x80 + i);
    return '?';
}

} // namespace

QString dateColumn(const QDateTime& moment) {
    return moment.isValid() ? moment.date().toString(QStringLiteral("dd.MM.yyyy")) : QString();
}

QString timeColumn(const QDateTime& moment) {
    return moment.isValid() ? moment.time().toString(QStringLiteral("HH:mm:ss")) : QString();
}

void appendNumber(QByteArray& out, double value) {
    // Three decimals give at least five characters, so the minimum width of two never pads.
    // Both ways round the exact value of the double; only a value halfway between two
    // results (a multiple of 1/16) needs the Qt form, which rounds it away from zero.
    char buffer[400];
    std::string_view digits;
    QByteArray qtForm;
    if (std::isfinite(value) && std::abs(value) < 1e15 && std::trunc(value * 16) == value * 16) {
        qtForm = QByteArray::number(value, 'f', 3);
        digits = std::string_view(qtForm.constData(), static_cast<std::size_t>(qtForm.size()));
    } else {
        const auto result =
            std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 3);
        digits = std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer));
    }
    const bool zero = digits.find_first_of("123456789") == std::string_view::npos;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        const char c = digits[i];
        if (i == 0 && c == '-' && zero)
            continue; // no "-0,000" for a value that rounds to zero
        out.append(c == '.' ? ',' : c);
    }
}

QString number(double value) {
    QByteArray bytes;
    appendNumber(bytes, value);
    return QString::fromLatin1(bytes);
}

QString inert(const QString& text) {
    if (text.isEmpty())
        return text;
    switch (text.front().unicode()) {
    case u'=':
    case u'+':
    case u'-':
    case u'@':
    case u'\t':
    case u'\r':
        return QLatin1Char('\'') + text;
    default:
        return text;
    }
}

QString line(const JumpLine& jump) {
    return QStringList{inert(jump.name),        inert(jump.firstName),  dateColumn(jump.moment),
                       timeColumn(jump.moment), number(jump.contactMs), number(jump.flightMs),
                       number(jump.efficiency), number(jump.heightCm)}
        .join(QLatin1Char(';'));
}

QString text(const QStringList& lines) {
    QString out;
    for (const QString& l : lines)
        out += l + QStringLiteral("\r\n");
    return out;
}

void appendWindows1252(QByteArray& out, QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out.append('?'); // one character outside the Basic Multilingual Plane
            ++i;
        } else {
            out.append(encode(c.unicode()));
        }
    }
}

QByteArray toWindows1252(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    appendWindows1252(out, text);
    return out;
}

} // namespace exportfile
