// The statistics of a measurement's valid jumps, their texts, and an athlete's progress points.

#include "core/analysis/JumpAnalysis.h"

#include "core/measure/Metrics.h"
#include "core/measure/TrialKind.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace {

// The texts of this file that the user reads, in the translation context "JumpAnalysis".
struct JumpAnalysisTexts {
    Q_DECLARE_TR_FUNCTIONS(JumpAnalysis)
};

} // namespace

namespace analysis {
namespace {

// Damaged rows can drive a sum or a quotient out of range; such a value is left empty
// rather than shown as infinity or NaN.
std::optional<double> finiteValue(double value) {
    if (std::isfinite(value))
        return value;
    return std::nullopt;
}

double mean(const QList<double>& values) {
    double sum = 0;
    for (const double v : values)
        sum += v;
    return sum / static_cast<double>(values.size());
}

double maximum(const QList<double>& values) {
    return *std::max_element(values.cbegin(), values.cend());
}

double sampleStandardDeviation(const QList<double>& values, double meanValue) {
    double squares = 0;
    for (const double v : values)
        squares += (v - meanValue) * (v - meanValue);
    return std::sqrt(squares / static_cast<double>(values.size() - 1));
}

QString valueText(const std::optional<double>& value) {
    return value ? metrics::fixedText(*value, 2) : QString();
}

QString heightValueText(const std::optional<double>& heightCm) {
    return heightCm ? metrics::heightText(*heightCm) : QString();
}

} // namespace

bool isValidJump(const StoredJump& jump) {
    return !jump.excluded && std::isfinite(jump.contactMs) && std::isfinite(jump.flightMs) &&
           jump.contactMs > 0 && jump.flightMs > 0;
}

QString jumpNumberText(const StoredJump& jump) {
    return trial::isClosingContact(jump.flightMs) ? QString() : QString::number(jump.jumpIndex);
}

QStringList seriesPlaceLabels(const QList<std::optional<StoredJump>>& places) {
    QStringList labels;
    for (const std::optional<StoredJump>& place : places)
        labels << (place ? jumpNumberText(*place) : QStringLiteral("×"));
    return labels;
}

QString validJumpRule() {
    return QStringLiteral(
        "a jump counts when it is stored, not excluded, and both its contact and its flight "
        "time were measured (above 0); a time the unit did not measure and the closing contact "
        "of a series (no flight time) count nowhere");
}

double jumpHeightCm(const StoredJump& jump) {
    return metrics::heightCm(jump.flightMs);
}

double jumpRsi(const StoredJump& jump) {
    if (!(jump.contactMs > 0))
        return 0;
    return (jumpHeightCm(jump) / 100) / (jump.contactMs / 1000);
}

JumpStatistics jumpStatistics(const QList<StoredJump>& jumps) {
    QList<StoredJump> valid;
    for (const StoredJump& jump : jumps) {
        if (isValidJump(jump))
            valid.append(jump);
    }
    // First and last jumps of the fatigue are those of the series, whatever order the rows
    // came in.
    std::stable_sort(valid.begin(), valid.end(), [](const StoredJump& a, const StoredJump& b) {
        return a.jumpIndex < b.jumpIndex;
    });

    JumpStatistics statistics;
    statistics.jumpCount = static_cast<int>(valid.size());
    if (valid.isEmpty())
        return statistics;

    QList<double> heights, rsis, contacts, flights;
    for (const StoredJump& jump : valid) {
        heights.append(jumpHeightCm(jump));
        rsis.append(jumpRsi(jump));
        contacts.append(jump.contactMs);
        flights.append(jump.flightMs);
    }
    const double meanHeight = mean(heights);
    statistics.bestHeightCm = finiteValue(maximum(heights));
    statistics.meanHeightCm = finiteValue(meanHeight);
    statistics.meanContactMs = finiteValue(mean(contacts));
    statistics.meanFlightMs = finiteValue(mean(flights));
    statistics.bestRsi = finiteValue(maximum(rsis));
    statistics.meanRsi = finiteValue(mean(rsis));
    if (valid.size() < 2)
        return statistics;

    const double sd = sampleStandardDeviation(heights, meanHeight);
    statistics.heightSdCm = finiteValue(sd);
    if (meanHeight != 0)
        statistics.heightCvPercent = finiteValue(sd / meanHeight * 100);

    const qsizetype k = std::max<qsizetype>(1, valid.size() / 3);
    const double firstRsi = mean(rsis.first(k));
    const double lastRsi = mean(rsis.last(k));
    if (firstRsi != 0)
        statistics.fatiguePercent = finiteValue((1 - lastRsi / firstRsi) * 100);
    return statistics;
}

QStringList statisticsNames() {
    return {JumpAnalysisTexts::tr("Sprünge"),
            JumpAnalysisTexts::tr("Beste Höhe (cm)"),
            JumpAnalysisTexts::tr("Mittlere Höhe (cm)"),
            JumpAnalysisTexts::tr("SD Höhe (cm)"),
            JumpAnalysisTexts::tr("VK Höhe (%)"),
            JumpAnalysisTexts::tr("Mittlere Stützzeit (ms)"),
            JumpAnalysisTexts::tr("Mittlere Flugzeit (ms)"),
            JumpAnalysisTexts::tr("Bester RSI (m/s)"),
            JumpAnalysisTexts::tr("Mittlerer RSI (m/s)"),
            JumpAnalysisTexts::tr("Ermüdung (%)")};
}

QStringList statisticsTexts(const JumpStatistics& statistics) {
    return {QString::number(statistics.jumpCount),
            heightValueText(statistics.bestHeightCm),
            heightValueText(statistics.meanHeightCm),
            heightValueText(statistics.heightSdCm),
            valueText(statistics.heightCvPercent),
            valueText(statistics.meanContactMs),
            valueText(statistics.meanFlightMs),
            valueText(statistics.bestRsi),
            valueText(statistics.meanRsi),
            valueText(statistics.fatiguePercent)};
}

QString statisticsClipboardText(const JumpStatistics& statistics) {
    const QString tab = QStringLiteral("\t");
    const QString newline = QStringLiteral("\n");
    return statisticsNames().join(tab) + newline + statisticsTexts(statistics).join(tab) + newline;
}

QList<ProgressPoint> athleteProgress(const QList<MeasurementJumps>& measurements) {
    QList<ProgressPoint> points;
    points.reserve(measurements.size());
    for (const MeasurementJumps& measurement : measurements) {
        const JumpStatistics statistics = jumpStatistics(measurement.jumps);
        points.append({measurement.moment, measurement.measurementNumber, statistics.bestHeightCm,
                       statistics.bestRsi, statistics.meanContactMs});
    }
    std::stable_sort(points.begin(), points.end(),
                     [](const ProgressPoint& a, const ProgressPoint& b) {
                         if (a.moment.isValid() != b.moment.isValid())
                             return !a.moment.isValid();
                         return a.moment.isValid() && a.moment < b.moment;
                     });
    return points;
}

} // namespace analysis
