// The athlete search by a name's beginning, case-folded for every letter alike on both engines.

#include "core/store/AthleteSearch.h"

namespace athletes {
namespace {

// The code points a text is compared by. The engines' own LOWER, UPPER and LIKE fold only a
// to z (SQLite) or depend on the server's locale, so the comparison is made here.
QList<uint> comparable(const QString& text) {
    return text.normalized(QString::NormalizationForm_C).toCaseFolded().toUcs4();
}

constexpr uint kAnyRun = '%';
constexpr uint kAnyOne = '_';

} // namespace

NameSearch::NameSearch(const QString& text) : pattern_(comparable(text)) {}

bool NameSearch::matches(const QString& name) const {
    const QList<uint> text = comparable(name);
    const qsizetype textSize = text.size();
    const qsizetype patternSize = pattern_.size();
    qsizetype t = 0;
    qsizetype p = 0;
    // Where to go on when the part after the last "%" fails at one place: that part is
    // tried one character further on. Each part is taken at the first place it fits, which
    // is enough because a run of anything follows it (the text is a prefix).
    qsizetype afterRun = -1;
    qsizetype runEnd = 0;
    while (p < patternSize) {
        if (pattern_[p] == kAnyRun) {
            afterRun = ++p;
            runEnd = t;
        } else if (t < textSize && (pattern_[p] == kAnyOne || pattern_[p] == text[t])) {
            ++p;
            ++t;
        } else if (afterRun >= 0 && runEnd < textSize) {
            p = afterRun;
            t = ++runEnd;
        } else {
            return false;
        }
    }
    return true;
}

} // namespace athletes
