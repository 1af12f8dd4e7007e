// The 10/5 result and the drop-height profile as the analysis window and the report show them.

#include "core/analysis/ProtocolResults.h"

#include "core/base/Texts.h"
#include "core/measure/Metrics.h"

#include <QCoreApplication>

#include <algorithm>

namespace protocolresults {
namespace {

// The texts of this file that the user reads, in the translation context "protocolresults".
struct TextsOfProtocolresults {
    Q_DECLARE_TR_FUNCTIONS(protocolresults)
};

QString valueText(const std::optional<double>& value) {
    return value ? metrics::fixedText(*value, 2) : QString();
}

QString heightValueText(const std::optional<double>& heightCm) {
    return heightCm ? metrics::heightText(*heightCm) : QString();
}

QString dropHeightText(const std::optional<int>& heightCm) {
    return heightCm ? TextsOfProtocolresults::tr("%1 cm").arg(*heightCm)
                    : TextsOfProtocolresults::tr("keine (kein gültiger Sprung)");
}

} // namespace

TenFiveText tenFiveText(const QList<analysis::StoredJump>& jumps) {
    TenFiveText out;
    out.heading = TextsOfProtocolresults::tr("Protokoll 10/5");
    out.rule = protocols::tenFiveRule();
    const std::optional<protocols::TenFiveResult> result = protocols::tenFive(jumps, &out.note);
    if (!result)
        return out;
    QStringList indexes;
    for (const int index : result->bestJumpIndexes)
        indexes << QString::number(index);
    out.fields = {
        {TextsOfProtocolresults::tr("RSI (m/s)"), metrics::fixedText(result->meanRsi, 2)},
        {TextsOfProtocolresults::tr("Mittlere Stützzeit (ms)"),
         metrics::fixedText(result->meanContactMs, 2)},
        {TextsOfProtocolresults::tr("Mittlere Höhe (cm)"),
         metrics::heightText(result->meanHeightCm)},
        {TextsOfProtocolresults::tr("Die 5 besten Sprünge"), indexes.join(QStringLiteral(", "))}};
    return out;
}

QList<protocols::ProfileTrial> profileTrials(const QList<analysis::MeasurementJumps>& trials) {
    QList<protocols::ProfileTrial> out;
    for (const analysis::MeasurementJumps& trial : trials) {
        if (!trial.test.dropHeightCm || trial.jumps.isEmpty())
            continue;
        const auto first = std::min_element(
            trial.jumps.cbegin(), trial.jumps.cend(),
            [](const auto& a, const auto& b) { return a.jumpIndex < b.jumpIndex; });
        out << protocols::ProfileTrial{*trial.test.dropHeightCm, *first};
    }
    return out;
}

QString profileHeading(const QDateTime& began) {
    if (!began.isValid())
        return TextsOfProtocolresults::tr("Fallhöhen-Profil");
    return TextsOfProtocolresults::tr("Fallhöhen-Profil vom %1").arg(texts::dateText(began.date()));
}

QList<Field> profileOptima(const protocols::Profile& profile) {
    return {{TextsOfProtocolresults::tr("Optimale Fallhöhe nach RSI"),
             dropHeightText(profile.optimalByRsiCm)},
            {TextsOfProtocolresults::tr("Optimale Fallhöhe nach Sprunghöhe"),
             dropHeightText(profile.optimalByHeightCm)}};
}

QString fieldLine(const Field& field) {
    return TextsOfProtocolresults::tr("%1: %2").arg(field.name, field.value);
}

QStringList profileTableHeader() {
    return {TextsOfProtocolresults::tr("Fallhöhe (cm)"),
            TextsOfProtocolresults::tr("Versuche"),
            TextsOfProtocolresults::tr("Bester RSI (m/s)"),
            TextsOfProtocolresults::tr("Stützzeit beim besten RSI (ms)"),
            TextsOfProtocolresults::tr("Beste Höhe (cm)"),
            TextsOfProtocolresults::tr("Mittlere Stützzeit (ms)")};
}

QList<QStringList> profileTableTexts(const protocols::Profile& profile) {
    QList<QStringList> out;
    for (const protocols::ProfileStep& step : profile.steps)
        out << QStringList{
            QString::number(step.dropHeightCm),
            QString::number(step.trials),
            valueText(step.bestRsi),
            step.contactOfBestRsiMs ? QString::number(*step.contactOfBestRsiMs, 'f', 0) : QString(),
            heightValueText(step.bestHeightCm),
            valueText(step.meanContactMs)};
    return out;
}

} // namespace protocolresults
