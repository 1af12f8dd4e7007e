// The checks and the export form of an athlete's texts.

#include "core/store/AthleteText.h"

namespace athletes {
namespace {

bool breaksALine(QChar c) {
    switch (c.unicode()) {
    case u'\0': // a NUL byte would end the field for many a reader
    case u'\n':
    case u'\r':
    case u'\t':
    case u'\v':
    case u'\f':
    case 0x0085: // next line
    case 0x2028: // line separator
    case 0x2029: // paragraph separator
        return true;
    default:
        return false;
    }
}

} // namespace

bool hasSeparator(const QString& text) {
    for (const QChar c : text)
        if (c == QLatin1Char(';') || breaksALine(c))
            return true;
    return false;
}

bool looksLikeFormula(const QString& text) {
    return text.startsWith(QLatin1Char('=')) || text.startsWith(QLatin1Char('+')) ||
           text.startsWith(QLatin1Char('@'));
}

QString forExport(const QString& text) {
    if (!hasSeparator(text))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char(';')) {
            out += QLatin1Char(',');
        } else if (breaksALine(c)) {
            out += QLatin1Char(' ');
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                ++i; // one line break, one blank
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace athletes
