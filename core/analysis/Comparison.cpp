// The comparison of two measurements' statistics, row by row, and its clipboard text.

#include "core/analysis/Comparison.h"

#include "core/measure/Metrics.h"

#include <QCoreApplication>

#include <cmath>

namespace analysis {
namespace {

// The fields of the statistics as numbers, in the order of statisticsNames().
QList<std::optional<double>> values(const JumpStatistics& s) {
    return {s.jumpCount,     s.bestHeightCm, s.meanHeightCm, s.heightSdCm, s.heightCvPercent,
            s.meanContactMs, s.meanFlightMs, s.bestRsi,      s.meanRsi,    s.fatiguePercent};
}

QString signedText(double difference, bool whole) {
    const double shown = whole ? std::round(difference) : std::round(difference * 100) / 100;
    const QString text = whole ? QString::number(std::llround(std::abs(difference)))
                               : metrics::fixedText(std::abs(difference), 2);
    // A difference that rounds to nothing carries no sign.
    if (shown == 0)
        return text;
    return (difference < 0 ? QStringLiteral("-") : QStringLiteral("+")) + text;
}

} // namespace

QList<ComparisonRow> comparison(const JumpStatistics& first, const JumpStatistics& second) {
    const QStringList names = statisticsNames();
    const QStringList firstTexts = statisticsTexts(first);
    const QStringList secondTexts = statisticsTexts(second);
    const QList<std::optional<double>> a = values(first);
    const QList<std::optional<double>> b = values(second);
    QList<ComparisonRow> rows;
    for (qsizetype i = 0; i < names.size(); ++i) {
        ComparisonRow row{names[i], firstTexts[i], secondTexts[i], QString()};
        if (a[i] && b[i] && std::isfinite(*a[i] - *b[i]))
            row.difference = signedText(*a[i] - *b[i], i == 0);
        rows << row;
    }
    return rows;
}

QString differenceTitle() {
    return QCoreApplication::translate("analysis", "Differenz (gewählt − verglichen)");
}

QString comparisonClipboardText(const QList<ComparisonRow>& rows, const QString& firstName,
                                const QString& secondName) {
    const QString tab = QStringLiteral("\t");
    const QString newline = QStringLiteral("\n");
    QString text = QStringList{QCoreApplication::translate("analysis", "Kennwert"), firstName,
                               secondName, differenceTitle()}
                       .join(tab) +
                   newline;
    for (const ComparisonRow& row : rows)
        text += QStringList{row.name, row.first, row.second, row.difference}.join(tab) + newline;
    return text;
}

} // namespace analysis
