// Reads what an athlete's report holds and puts it into texts.

#include "core/report/AthleteReport.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

#include "core/analysis/StoredMeasurements.h"
#include "core/base/Texts.h"
#include "core/history/History.h"
#include "core/measure/Metrics.h"
#include "core/store/MeasurementRepository.h"
#include "core/store/SeriesKey.h"

namespace report {
namespace {

// The texts of this file that the user reads, in the translation context "report".
struct TextsOfReport {
    Q_DECLARE_TR_FUNCTIONS(report)
};

QString valueText(const std::optional<double>& value) {
    return value ? metrics::fixedText(*value, 2) : QString();
}

QString timeText(double ms) {
    return ms >= 0 && std::isfinite(ms) ? QString::number(ms, 'f', 0) : QString();
}

// What the protocol of the selected measurement gave.
void readProtocol(MeasurementRepository& measurements, const MeasurementProtocol& protocol,
                  AthleteReport& out) {
    if (protocol.kind == Protocol::TenFive) {
        out.tenFive = protocolresults::tenFiveText(out.selected->jumps);
    } else if (protocol.kind == Protocol::DropHeightProfile) {
        const std::optional<ProfilePlan> plan = measurements.profile(protocol.profileId);
        QList<analysis::MeasurementJumps> trials;
        for (const Measurement& trial : measurements.ofProfile(protocol.profileId))
            for (const MeasurementLine& line : out.lines)
                if (line.measurementNumber == trial.measurementNumber &&
                    trial.athleteId == out.athlete.id)
                    trials.append(
                        {line.moment, line.measurementNumber, line.jumps, trial.test, line.series});
        out.profile = AthleteReport::ProfileResult{
            protocolresults::profileHeading(plan ? plan->moment : QDateTime()),
            protocols::dropHeightProfile(protocolresults::profileTrials(trials))};
    }
}

} // namespace

std::optional<AthleteReport> read(MeasurementRepository& measurements, const Athlete& athlete,
                                  std::optional<qint64> selectedMeasurementNumber,
                                  const Progress& progress, const WorthwhileOf& worthwhileOf,
                                  const QHash<qint64, qint64>& repeats) {
    AthleteReport out;
    out.athlete = athlete;
    // The entries of the history list give the numbering, the texts and the order.
    const QList<history::Entry> entries = history::build(measurements, athlete.id);
    const QHash<qint64, QList<Jump>> jumps = measurements.jumpsOfAthlete(athlete.id);
    QList<analysis::MeasurementJumps> all;
    MeasurementProtocol selectedProtocol;
    all.reserve(entries.size());
    out.lines.reserve(entries.size());
    for (const history::Entry& entry : entries) {
        MeasurementLine line;
        line.position = entry.position;
        line.moment = entry.moment;
        line.dateText = entry.dateText;
        line.timeText = entry.timeText;
        line.measurementNumber = entry.measurementNumber;
        line.series = entry.isSeries();
        line.test = entry.test;
        // A damaged number has no series key: the measurement is there, without jumps.
        if (entry.measurementNumber >= 1 && entry.measurementNumber <= kMaxMeasurementNumber)
            line.jumps =
                analysis::storedJumps(jumps.value(seriesKey(athlete.id, entry.measurementNumber)));
        line.statistics = analysis::jumpStatistics(line.jumps);
        all.append({line.moment, line.measurementNumber, line.jumps, line.test, line.series});
        if (selectedMeasurementNumber && *selectedMeasurementNumber == line.measurementNumber) {
            out.selected = line;
            selectedProtocol = entry.protocol;
        }
        out.lines.append(std::move(line));
        if (progress && !progress(static_cast<int>(out.lines.size())))
            return std::nullopt;
    }
    if (out.selected)
        readProtocol(measurements, selectedProtocol, out);
    if (const std::optional<progress::Line> line =
            progress::defaultLine(all, selectedMeasurementNumber)) {
        out.progress = progress::pointsOf(all, *line);
        out.progressLine = progress::lineText(*line, progress::linesOf(all));
        out.noise =
            progress::noise(out.progress, progress::Measure::BestRsi,
                            worthwhileOf ? worthwhileOf(line->test) : std::nullopt, repeats);
    }
    return out;
}

QStringList athleteFieldNames() {
    return {TextsOfReport::tr("Name"), TextsOfReport::tr("Vorname"), TextsOfReport::tr("Geb. am"),
            TextsOfReport::tr("Geschlecht"), TextsOfReport::tr("Bemerkung")};
}

QStringList athleteFieldTexts(const Athlete& athlete) {
    const QString birth =
        athlete.birthDate.isValid() ? texts::dateText(athlete.birthDate) : athlete.storedBirthDate;
    QString sex;
    if (athlete.sex == 0)
        sex = TextsOfReport::tr("männl.");
    else if (athlete.sex == 1)
        sex = TextsOfReport::tr("weibl.");
    return {athlete.name, athlete.firstName, birth, sex, athlete.remark};
}

QStringList tableHeader() {
    return {TextsOfReport::tr("Nr."),
            TextsOfReport::tr("Datum"),
            TextsOfReport::tr("Uhrzeit"),
            TextsOfReport::tr("Art"),
            TextsOfReport::tr("Sprünge"),
            TextsOfReport::tr("Beste Höhe (cm)"),
            TextsOfReport::tr("Bester RSI (m/s)"),
            TextsOfReport::tr("Mittlere Stützzeit (ms)"),
            TextsOfReport::tr("Test"),
            TextsOfReport::tr("Fallhöhe (cm)")};
}

QStringList tableTexts(const MeasurementLine& line) {
    const analysis::JumpStatistics& s = line.statistics;
    return {QString::number(line.position),
            line.dateText,
            line.timeText,
            kindText(line),
            QString::number(s.jumpCount),
            s.bestHeightCm ? metrics::heightText(*s.bestHeightCm) : QString(),
            valueText(s.bestRsi),
            valueText(s.meanContactMs),
            measurementtest::shownName(line.test.name),
            measurementtest::dropHeightText(line.test.dropHeightCm)};
}

QStringList jumpTableHeader() {
    return {TextsOfReport::tr("Nr."),           TextsOfReport::tr("Stützzeit (ms)"),
            TextsOfReport::tr("Flugzeit (ms)"), TextsOfReport::tr("Höhe (cm)"),
            TextsOfReport::tr("RSI (m/s)"),     TextsOfReport::tr("Ausschluss")};
}

QList<QStringList> jumpTableTexts(const QList<analysis::StoredJump>& jumps) {
    QList<analysis::StoredJump> ordered = jumps;
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const auto& a, const auto& b) { return a.jumpIndex < b.jumpIndex; });
    QList<QStringList> out;
    for (const analysis::StoredJump& jump : ordered) {
        // An excluded jump keeps its values; only a jump that could not count has none.
        analysis::StoredJump counted = jump;
        counted.excluded = false;
        const bool measured = analysis::isValidJump(counted);
        QString exclusion;
        if (jump.excluded)
            exclusion = jump.exclusionReason.isEmpty() ? TextsOfReport::tr("ausgeschlossen")
                                                       : jump.exclusionReason;
        out << QStringList{analysis::jumpNumberText(jump),
                           timeText(jump.contactMs),
                           timeText(jump.flightMs),
                           measured ? metrics::heightText(analysis::jumpHeightCm(jump)) : QString(),
                           measured ? metrics::fixedText(analysis::jumpRsi(jump), 2) : QString(),
                           exclusion};
    }
    return out;
}

QString kindText(const MeasurementLine& line) {
    return line.series ? TextsOfReport::tr("Serie") : TextsOfReport::tr("Einzel");
}

QString measurementHeading(const MeasurementLine& line) {
    const QString heading = TextsOfReport::tr("Messung Nr. %1 (%2)")
                                .arg(QString::number(line.position), kindText(line));
    QString withMoment = heading;
    if (line.moment.isValid())
        withMoment += TextsOfReport::tr(" vom %1, %2").arg(line.dateText, line.timeText);
    const QString test = measurementtest::description(line.test);
    return test.isEmpty() ? withMoment : withMoment + QStringLiteral(" – ") + test;
}

} // namespace report
