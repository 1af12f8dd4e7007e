// The entries of an athlete's history list, their texts and their order.

#include "core/history/History.h"

#include "core/analysis/JumpAnalysis.h"
#include "core/analysis/StoredMeasurements.h"
#include "core/base/Texts.h"
#include "core/measure/Metrics.h"
#include "core/store/MeasurementRepository.h"
#include "core/store/SeriesKey.h"

#include <algorithm>
#include <cmath>

namespace history {

Entry makeEntry(int position, const QDateTime& moment, const QStringList& values,
                qint64 measurementNumber, QString dateText, const MeasurementTest& test) {
    Entry e;
    e.position = position;
    e.moment = moment;
    e.dateText = dateText.isNull() ? texts::dateText(moment.date()) : std::move(dateText);
    e.timeText = texts::timeText(moment.time());
    e.values = values;
    e.measurementNumber = measurementNumber;
    e.test = test;
    e.testText = measurementtest::shownName(test.name);
    e.dropHeightText = measurementtest::dropHeightText(test.dropHeightCm);
    // What the texts show, taken from the moment itself; a moment not stored goes last. A local
    // moment that the texts show as it is sorts as itself: making it anew would ask the system
    // for the time zone's rules once more.
    const QTime shown = moment.isValid() ? texts::shownTime(moment.time()) : QTime();
    if (!moment.isValid())
        e.sortMoment = QDateTime(QDate(1, 1, 1), QTime(0, 0));
    else if (shown == moment.time() && moment.timeSpec() == Qt::LocalTime)
        e.sortMoment = moment;
    else
        e.sortMoment = QDateTime(moment.date(), shown);
    return e;
}

bool goesBefore(const Entry& a, const Entry& b) {
    return a.sortMoment > b.sortMoment;
}

void sortNewestFirst(QList<Entry>& entries) {
    std::stable_sort(entries.begin(), entries.end(), goesBefore);
}

QStringList jumpTexts(double contactMs, double flightMs) {
    // The texts show whole milliseconds; the derived values are made from what they show.
    const qint64 contact = std::llround(contactMs);
    const qint64 flight = std::llround(flightMs);
    return {QString::number(contact), QString::number(flight),
            metrics::efficiencyText(static_cast<double>(flight), static_cast<double>(contact)),
            metrics::heightText(metrics::heightCm(static_cast<double>(flight)))};
}

QStringList missingJumpTexts() {
    return jumpTexts(0, 0);
}

QStringList seriesTexts() {
    return {kSeriesMark, kSeriesMark, kSeriesMark, kSeriesMark};
}

QStringList bestTexts(const QList<Jump>& jumps) {
    const analysis::JumpStatistics statistics =
        analysis::jumpStatistics(analysis::storedJumps(jumps));
    return bestTexts(statistics.bestHeightCm, statistics.bestRsi);
}

QStringList bestTexts(std::optional<double> bestHeightCm, std::optional<double> bestRsi) {
    return {bestHeightCm ? metrics::heightText(*bestHeightCm) : QString(),
            bestRsi ? metrics::fixedText(*bestRsi, 2) : QString()};
}

QList<Entry> build(MeasurementRepository& measurements, qint64 athleteId) {
    const QList<Measurement> rows = measurements.ofAthlete(athleteId);
    QList<qint64> singleKeys;
    for (const Measurement& m : rows)
        if (m.jumpCount <= 1)
            singleKeys << seriesKey(athleteId, m.measurementNumber);
    const QHash<qint64, Jump> firstJumps = measurements.firstJumpsOf(athleteId, singleKeys);
    // The best values need every jump with its mark, single or not.
    const QHash<qint64, QList<Jump>> allJumps = measurements.jumpsOfAthlete(athleteId);

    QList<Entry> entries;
    entries.reserve(rows.size());
    int position = 0;
    // Measurements of one day share the date's text.
    QDate lastDate;
    QString lastDateText;
    for (const Measurement& m : rows) {
        if (m.moment.date() != lastDate || lastDateText.isNull()) {
            lastDate = m.moment.date();
            lastDateText = texts::dateText(lastDate);
        }
        QStringList values;
        if (m.jumpCount <= 1) {
            const auto jump = firstJumps.constFind(seriesKey(athleteId, m.measurementNumber));
            values = jump == firstJumps.cend() ? missingJumpTexts()
                                               : jumpTexts(jump->contactMs, jump->flightMs);
        } else {
            values = seriesTexts();
        }
        entries << makeEntry(++position, m.moment, values, m.measurementNumber, lastDateText,
                             m.test);
        entries.last().protocol = m.protocol;
        entries.last().best = bestTexts(allJumps.value(seriesKey(athleteId, m.measurementNumber)));
    }
    sortNewestFirst(entries);
    return entries;
}

} // namespace history
