#include "core/report/AthleteReport.h"

#include <QCoreApplication>

#include "core/analysis/StoredMeasurements.h"
#include "core/base/Texts.h"
#include "core/history/History.h"
#include "core/measure/Metrics.h"
#include "core/store/MeasurementRepository.h"
#include "core/store/SeriesKey.h"

namespace report {
namespace {

QString valueText(const std::optional<double>& value) {
    return value ? metrics::fixedText(*value, 2) : QString();
}

} // namespace

std::optional<AthleteReport> read(MeasurementRepository& measurements, const Athlete& athlete,
                                  std::optional<qint64> selectedNummer, const Progress& progress) {
    AthleteReport out;
    out.athlete = athlete;
    // The entries of the history list give the numbering, the texts and the order.
    const QList<history::Entry> entries = history::build(measurements, athlete.id);
    const QHash<qint64, QList<Jump>> jumps = measurements.jumpsOfAthlete(athlete.id);
    QList<analysis::MeasurementJumps> all;
    all.reserve(entries.size());
    out.lines.reserve(entries.size());
    for (const history::Entry& entry : entries) {
        MeasurementLine line;
        line.position = entry.position;
        line.moment = entry.moment;
        line.dateText = entry.dateText;
        line.timeText = entry.timeText;
        line.nummer = entry.nummer;
        line.series = entry.isSeries();
        line.test = entry.test;
        // A damaged number has no series key: the measurement is there, without jumps.
        if (entry.nummer >= 1 && entry.nummer <= kMaxNummer)
            line.jumps = analysis::storedJumps(jumps.value(seriesKey(athlete.id, entry.nummer)));
        line.statistics = analysis::jumpStatistics(line.jumps);
        all.append({line.moment, line.nummer, line.jumps});
        if (selectedNummer && *selectedNummer == line.nummer)
            out.selected = line;
        out.lines.append(std::move(line));
        if (progress && !progress(static_cast<int>(out.lines.size())))
            return std::nullopt;
    }
    out.progress = analysis::athleteProgress(all);
    return out;
}

QStringList athleteFieldNames() {
    return {QStringLiteral("Name"), QStringLiteral("Vorname"), QStringLiteral("Geb. am"),
            QStringLiteral("Geschlecht"), QStringLiteral("Bemerkung")};
}

QStringList athleteFieldTexts(const Athlete& athlete) {
    const QString birth =
        athlete.birthDate.isValid() ? texts::dateText(athlete.birthDate) : athlete.storedBirthDate;
    QString sex;
    if (athlete.sex == 0)
        sex = QStringLiteral("männl.");
    else if (athlete.sex == 1)
        sex = QStringLiteral("weibl.");
    return {athlete.name, athlete.firstName, birth, sex, athlete.remark};
}

QStringList tableHeader() {
    return {QStringLiteral("Nr."),
            QStringLiteral("Datum"),
            QStringLiteral("Uhrzeit"),
            QStringLiteral("Art"),
            QStringLiteral("Sprünge"),
            QStringLiteral("Beste Höhe (cm)"),
            QStringLiteral("Bester RSI (m/s)"),
            QStringLiteral("Mittlere Stützzeit (ms)"),
            QCoreApplication::translate("report", "Test"),
            QCoreApplication::translate("report", "Fallhöhe (cm)")};
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

QString kindText(const MeasurementLine& line) {
    return line.series ? QStringLiteral("Serie") : QStringLiteral("Einzel");
}

QString measurementHeading(const MeasurementLine& line) {
    const QString heading =
        QStringLiteral("Messung Nr. %1 (%2)").arg(QString::number(line.position), kindText(line));
    QString withMoment = heading;
    if (line.moment.isValid())
        withMoment += QStringLiteral(" vom %1, %2").arg(line.dateText, line.timeText);
    const QString test = measurementtest::description(line.test);
    return test.isEmpty() ? withMoment : withMoment + QStringLiteral(" – ") + test;
}

} // namespace report
