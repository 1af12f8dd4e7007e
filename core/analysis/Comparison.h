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
    // The second minus the first, signed ("+1,25", "-3", "0,00"); empty where either is empty.
    QString difference;
};

// One row per statistics field, in the order of statisticsNames(), the values as
// statisticsTexts() writes them.
QList<ComparisonRow> comparison(const JumpStatistics& first, const JumpStatistics& second);
// Clipboard form: a header line ("Kennwert", the two names, "Differenz") and one line per row,
// tab-separated, each ended with "\n".
QString comparisonClipboardText(const QList<ComparisonRow>& rows, const QString& firstName,
                                const QString& secondName);

} // namespace analysis
