#include "core/history/History.h"

#include "core/base/Texts.h"
#include "core/measure/Metrics.h"
#include "core/store/MeasurementRepository.h"
#include "core/store/SeriesKey.h"

#include <algorithm>

namespace history {

QDateTime entryMoment(const QString& dateText, const QString& timeText) {
    const QDate date = texts::parseDate(dateText);
    QTime time = texts::parseTime(timeText);
    if (!time.isValid())
        time = QTime(0, 0);
    return QDateTime(date.isValid() ? date : QDate(1, 1, 1), time);
}

Entry makeEntry(int position, const QDateTime& moment, const QStringList& values, qint64 nummer) {
    Entry e;
    e.position = position;
    e.moment = moment;
    e.dateText = texts::dateText(moment.date());
    e.timeText = texts::timeText(moment.time());
    e.values = values;
    e.nummer = nummer;
    e.sortMoment = entryMoment(e.dateText, e.timeText);
    return e;
}

bool goesBefore(const Entry& a, const Entry& b) {
    return a.sortMoment > b.sortMoment;
}

void sortNewestFirst(QList<Entry>& entries) {
    std::stable_sort(entries.begin(), entries.end(), goesBefore);
}

QStringList jumpTexts(double contactMs, double flightMs, double efficiency) {
    return {QString::number(std::llround(contactMs)), QString::number(std::llround(flightMs)),
            texts::general(efficiency),
            metrics::metricText(metrics::heightCm(static_cast<double>(std::llround(flightMs))))};
}

QStringList missingJumpTexts() {
    return {QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"),
            metrics::metricText(0.0)};
}

QStringList seriesTexts() {
    return {kSeriesMark, kSeriesMark, kSeriesMark, kSeriesMark};
}

QStringList recordedJumpTexts(qint32 contactMs, qint32 flightMs, double efficiency) {
    return {QString::number(contactMs), QString::number(flightMs), metrics::metricText(efficiency),
            metrics::metricText(metrics::heightCm(flightMs))};
}

QList<Entry> build(MeasurementRepository& measurements, qint64 athleteId) {
    const QList<Measurement> rows = measurements.ofAthlete(athleteId);
    QList<qint64> singleKeys;
    for (const Measurement& m : rows)
        if (m.jumpCount <= 1)
            singleKeys << seriesKey(athleteId, m.nummer);
    const QHash<qint64, Jump> firstJumps = measurements.firstJumpsOf(singleKeys);

    QList<Entry> entries;
    entries.reserve(rows.size());
    int position = 0;
    for (const Measurement& m : rows) {
        QStringList values;
        if (m.jumpCount <= 1) {
            const auto jump = firstJumps.constFind(seriesKey(athleteId, m.nummer));
            values = jump == firstJumps.cend()
                         ? missingJumpTexts()
                         : jumpTexts(jump->contactMs, jump->flightMs, jump->efficiency);
        } else {
            values = seriesTexts();
        }
        entries << makeEntry(++position, m.moment, values, m.nummer);
    }
    sortNewestFirst(entries);
    return entries;
}

} // namespace history
