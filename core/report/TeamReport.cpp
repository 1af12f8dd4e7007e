// Puts the ranking of a group into the texts of the team report.

#include "core/report/TeamReport.h"

#include "core/base/Texts.h"

#include <QCoreApplication>

namespace report {
namespace {

// The texts of this file that the user reads, in the translation context "report".
struct TextsOfReport {
    Q_DECLARE_TR_FUNCTIONS(report)
};

} // namespace

TeamReport team(const Group& group, const ranking::Period& period,
                const std::optional<ranking::RankedTest>& test, QList<ranking::Row> rows,
                const std::optional<realchange::Worthwhile>& worthwhile) {
    return {group, period, test, std::move(rows), worthwhile};
}

QString teamTitle(const TeamReport& report) {
    return TextsOfReport::tr("Teambericht: %1").arg(report.group.name);
}

QStringList headingLines(const TeamReport& report) {
    return ranking::headingLines(report.test, report.period);
}

QString trendText(const ranking::Row& row) {
    if (!row.rsiChange)
        return TextsOfReport::tr("ohne Vergleich");
    const QString change = ranking::texts(row)[ranking::Change];
    const QString word = *row.rsiChange > 0   ? TextsOfReport::tr("besser")
                         : *row.rsiChange < 0 ? TextsOfReport::tr("schlechter")
                                              : TextsOfReport::tr("unverändert");
    return QStringLiteral("%1 (%2)").arg(word, change);
}

QString athleteLine(const ranking::Row& row) {
    const QString who = QStringLiteral("%1, %2").arg(row.athlete.name, row.athlete.firstName);
    if (row.measurementCount == 0)
        return TextsOfReport::tr("%1: keine Messung des Tests im Zeitraum").arg(who);
    const QStringList texts = ranking::texts(row);
    QStringList parts;
    if (row.bestHeightCm)
        parts << TextsOfReport::tr("Höhe %1 cm").arg(texts[ranking::BestHeight]);
    if (row.bestRsi)
        parts << TextsOfReport::tr("RSI %1").arg(texts[ranking::BestRsi]);
    if (row.meanContactMs)
        parts << TextsOfReport::tr("Stützzeit %1 ms").arg(texts[ranking::MeanContact]);
    parts << (row.measurementCount == 1
                  ? TextsOfReport::tr("1 Messung")
                  : TextsOfReport::tr("%1 Messungen").arg(row.measurementCount));
    parts << TextsOfReport::tr("Trend: %1").arg(trendText(row));
    return QStringLiteral("%1: %2").arg(who, parts.join(QStringLiteral(" · ")));
}

} // namespace report
