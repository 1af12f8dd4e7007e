#include "core/export/ExportFormat.h"

#include <algorithm>
#include <array>

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

QString number(double value) {
    // Three decimals give at least five characters, so the minimum width of two never pads.
    QString out = QString::number(value, 'f', 3);
    const bool zero = std::none_of(out.cbegin(), out.cend(), [](QChar c) {
        return c >= QLatin1Char('1') && c <= QLatin1Char('9');
    });
    if (zero && out.startsWith(QLatin1Char('-')))
        out.remove(0, 1); // no "-0,000" for a value that rounds to zero
    return out.replace(QLatin1Char('.'), QLatin1Char(','));
}

QString line(const JumpLine& jump) {
    return QStringList{jump.name,
                       jump.firstName,
                       dateColumn(jump.moment),
                       timeColumn(jump.moment),
                       number(jump.contactMs),
                       number(jump.flightMs),
                       number(jump.efficiency),
                       number(jump.heightCm)}
        .join(QLatin1Char(';'));
}

QString text(const QStringList& lines) {
    QString out;
    for (const QString& l : lines)
        out += l + QStringLiteral("\r\n");
    return out;
}

QByteArray toWindows1252(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (char32_t c : text.toUcs4())
        out.append(encode(c));
    return out;
}

} // namespace exportfile
