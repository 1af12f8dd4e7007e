#pragma once

#include "core/analysis/JumpAnalysis.h"

#include <QList>
#include <QString>

// Two measurements side by side: their statistics in two columns and the difference.
namespace analysis {

struct ComparisonRow {
    QString name;
    QString first;
    QString second;
    // The selected (first) minus the compared (second), signed ("+1,25", "-3", "0,00"): a rise
    // since an older measurement reads as "+"; empty where either is empty.
    QString difference;
};

// One row per statistics field, in the order of statisticsNames(), the values as
// statisticsTexts() writes them.
QList<ComparisonRow> comparison(const JumpStatistics& first, const JumpStatistics& second);
// The title of the difference's column: "Differenz (gewählt − verglichen)".
QString differenceTitle();
// Clipboard form: a header line ("Kennwert", the two names, differenceTitle()) and one line per
// row, tab-separated, each ended with "\n".
QString comparisonClipboardText(const QList<ComparisonRow>& rows, const QString& firstName,
                                const QString& secondName);

} // namespace analysis
