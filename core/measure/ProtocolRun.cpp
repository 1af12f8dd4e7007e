// The course of the protocols at the station: the 10/5 series and the drop-height profile, height
// by height.

#include "core/measure/ProtocolRun.h"

#include "core/analysis/ProtocolResults.h"
#include "core/analysis/StoredMeasurements.h"
#include "core/base/Errors.h"
#include "core/measure/MeasurementTest.h"
#include "core/measure/Metrics.h"
#include "core/store/SeriesKey.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace {

// The texts of this file that the user reads, in the translation context "protocolrun".
struct TextsOfProtocolrun {
    Q_DECLARE_TR_FUNCTIONS(protocolrun)
};

QString msText(double ms) {
    return QString::number(std::lround(ms));
}

QString rsiText(double rsi) {
    return metrics::fixedText(rsi, 2);
}

} // namespace

namespace protocolrun {

AutoEnd tenFiveEnd() {
    return AutoEnd::afterJumps(protocols::kTenFiveJumps);
}

QString tenFiveText(const protocols::TenFiveResult& result) {
    QStringList indexes;
    for (const int index : result.bestJumpIndexes)
        indexes << QString::number(index);
    return TextsOfProtocolrun::tr(
               "RSI (beste %1 von %2): %3 · Stützzeit %4 ms · Höhe %5 cm · Sprünge %6")
        .arg(protocols::kTenFiveBest)
        .arg(protocols::kTenFiveJumps)
        .arg(rsiText(result.meanRsi), msText(result.meanContactMs),
             metrics::heightText(result.meanHeightCm), indexes.join(QStringLiteral(", ")));
}

QList<int> defaultHeightsCm() {
    return {20, 30, 40, 50, 60};
}

QString heightsText(const QList<int>& heightsCm) {
    QStringList parts;
    for (const int height : heightsCm)
        parts << QString::number(height);
    return parts.join(QStringLiteral(", "));
}

QList<int> parseHeights(const QString& text) {
    // Heights stand between commas (or semicolons) and blanks; two commas with nothing
    // between them are a height left out, not one separator.
    static const QRegularExpression commas(QStringLiteral("[,;]"));
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    const QStringList entries = text.split(commas);
    QStringList parts;
    bool gap = false;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QStringList heights = entries[i].split(blanks, Qt::SkipEmptyParts);
        // One comma at the end is forgiven.
        if (heights.isEmpty() && i + 1 < entries.size())
            gap = true;
        parts << heights;
    }
    if (parts.isEmpty())
        throw AppError(
            TextsOfProtocolrun::tr("Geben Sie die Fallhöhen des Profils in cm an, zum Beispiel "
                                   "„20, 30, 40, 50, 60“."));
    if (gap)
        throw AppError(TextsOfProtocolrun::tr("In „%1“ fehlt eine Fallhöhe zwischen zwei Kommas.")
                           .arg(text.trimmed()));
    if (parts.size() > kMaxHeights)
        throw AppError(
            TextsOfProtocolrun::tr("Ein Profil hat höchstens %1 Fallhöhen, angegeben sind %2.")
                .arg(kMaxHeights)
                .arg(parts.size()));
    QList<int> heights;
    for (const QString& part : parts) {
        bool ok = false;
        const int height = part.toInt(&ok);
        if (!ok || height < 0 || height > measurementtest::kMaxDropHeightCm)
            throw AppError(TextsOfProtocolrun::tr(
                               "„%1“ ist keine Fallhöhe: jede Fallhöhe muss eine ganze Zahl von 0 "
                               "bis 150 cm sein.")
                               .arg(part));
        if (!heights.isEmpty() && height <= heights.last())
            throw AppError(
                TextsOfProtocolrun::tr("Die Fallhöhen müssen ansteigen: auf %1 cm folgt %2 cm.")
                    .arg(heights.last())
                    .arg(height));
        heights << height;
    }
    return heights;
}

} // namespace protocolrun

ProfileRun::ProfileRun(QList<int> heightsCm, int trialsPerHeight)
    : heightsCm_(std::move(heightsCm)),
      trialsPerHeight_(
          std::clamp(trialsPerHeight, protocolrun::kMinTrials, protocolrun::kMaxTrials)) {}

int ProfileRun::validTrialsAt(int heightCm) const {
    int count = 0;
    for (const protocols::ProfileTrial& trial : trials_)
        if (trial.dropHeightCm == heightCm && analysis::isValidJump(trial.jump))
            ++count;
    return count;
}

std::optional<ProfileRun::Position> ProfileRun::next() const {
    for (const int height : heightsCm_) {
        const int done = validTrialsAt(height);
        if (done < trialsPerHeight_)
            return Position{height, done + 1, trialsPerHeight_};
    }
    return std::nullopt;
}

void ProfileRun::addTrial(const protocols::ProfileTrial& trial) {
    trials_ << trial;
}

protocols::Profile ProfileRun::profile() const {
    return protocols::dropHeightProfile(trials_);
}

QList<protocols::ProfileTrial> ProfileRun::trialsOfFinishedHeights() const {
    QList<protocols::ProfileTrial> finished;
    for (const protocols::ProfileTrial& trial : trials_)
        if (validTrialsAt(trial.dropHeightCm) >= trialsPerHeight_)
            finished << trial;
    return finished;
}

std::optional<protocols::ProfileStep> ProfileRun::lastFinishedHeight() const {
    const protocols::Profile finished = protocols::dropHeightProfile(trialsOfFinishedHeights());
    if (finished.steps.isEmpty())
        return std::nullopt;
    return finished.steps.last();
}

protocols::StopAdvice ProfileRun::advice() const {
    return protocols::stopAdvice(protocols::dropHeightProfile(trialsOfFinishedHeights()));
}

QString ProfileRun::positionText(const Position& position) {
    return TextsOfProtocolrun::tr("%1 cm, Versuch %2 von %3")
        .arg(position.heightCm)
        .arg(position.trial)
        .arg(position.trials);
}

QString ProfileRun::heightText(const protocols::ProfileStep& step) {
    if (!step.bestRsi)
        return TextsOfProtocolrun::tr("%1 cm: kein gültiger Sprung").arg(step.dropHeightCm);
    return TextsOfProtocolrun::tr(
               "%1 cm: bester RSI %2 · beste Höhe %3 cm · mittlere Stützzeit %4 ms")
        .arg(step.dropHeightCm)
        .arg(rsiText(*step.bestRsi), metrics::heightText(step.bestHeightCm.value_or(0)),
             msText(step.meanContactMs.value_or(0)));
}

QString ProfileRun::finishedText() {
    return TextsOfProtocolrun::tr("Alle Versuche gemessen: „Profil beenden“ zeigt das Ergebnis.");
}

namespace protocolrun {

QList<protocols::ProfileTrial> storedTrials(MeasurementRepository& measurements, qint64 profileId) {
    QList<analysis::MeasurementJumps> recorded;
    for (const Measurement& m : measurements.ofProfile(profileId))
        recorded << analysis::MeasurementJumps{m.moment, m.measurementNumber,
                                               analysis::storedJumps(measurements.jumpsOf(
                                                   seriesKey(m.athleteId, m.measurementNumber))),
                                               m.test, m.jumpCount > 1};
    return protocolresults::profileTrials(recorded);
}

} // namespace protocolrun
