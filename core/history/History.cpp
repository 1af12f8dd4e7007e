// The entries of an athlete's history list, their texts and their order.

#include "core/history/History.h"

#include "core/analysis/JumpAnalysis.h"
#include "core/analysis/StoredMeasurements.h"
#include "core/base/Texts.h"
#include "core/measure/Metrics.h"
#include "core/store/MeasurementRepository.h"
#include "core/store/SeriesKey.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace {

// The texts of this file that the user reads, in the translation context "History".
struct HistoryTexts {
    Q_DECLARE_TR_FUNCTIONS(History)
};

} // namespace

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
    return buildWithJumps(measurements, athleteId).entries;
}

WithJumps buildWithJumps(MeasurementRepository& measurements, qint64 athleteId) {
    const QList<Measurement> rows = measurements.ofAthlete(athleteId);
    // The best values need every jump with its mark, single or not; a single measurement's
    // jump is taken from them where they tell which it is.
    WithJumps out{{}, measurements.jumpsOfAthlete(athleteId)};
    const QHash<qint64, QList<Jump>>& allJumps = out.jumps;
    QList<qint64> singleKeys;
    for (const Measurement& m : rows)
        if (m.jumpCount <= 1)
            singleKeys << seriesKey(athleteId, m.measurementNumber);
    const QHash<qint64, Jump> firstJumps =
        measurements.firstJumpsOf(athleteId, singleKeys, allJumps);

    QList<Entry>& entries = out.entries;
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
    return out;
}

QList<Jump> journalledJumps(const JournalEntry& entry) {
    QList<Jump> jumps;
    jumps.reserve(entry.measurement.jumps.size());
    for (const RecordedJump& recorded : entry.measurement.jumps) {
        Jump jump;
        jump.contactMs = recorded.contactMs;
        jump.flightMs = recorded.flightMs;
        jump.efficiency = recorded.efficiency;
        jump.jumpIndex = recorded.jumpIndex;
        const auto exclusion = entry.measurement.exclusions.constFind(recorded.jumpIndex);
        if (exclusion != entry.measurement.exclusions.cend()) {
            jump.excluded = true;
            jump.exclusionReason = exclusion->reason;
        }
        jumps << jump;
    }
    return jumps;
}

QList<Entry> journalledEntries(const QList<JournalEntry>& waiting,
                               const QList<Measurement>& stored) {
    QList<Entry> entries;
    for (const JournalEntry& journalled : waiting) {
        const QList<Jump> jumps = journalledJumps(journalled);
        const bool continued = journalled.measurement.continuesMeasurementId != 0;
        const QStringList values =
            jumps.size() == 1 && !continued
                ? jumpTexts(jumps.constFirst().contactMs, jumps.constFirst().flightMs)
                : seriesTexts();
        Entry entry = makeEntry(0, journalled.measurement.moment, values, -journalled.id, QString(),
                                journalled.measurement.test);
        entry.protocol = journalled.measurement.protocol;
        entry.best = bestTexts(jumps);
        entry.journalEntryId = journalled.id;
        entry.notOnServerText =
            HistoryTexts::tr("Noch nicht auf dem Server: im Zwischenspeicher dieses Rechners.");
        if (continued) {
            qint64 number = 0;
            for (const Measurement& m : stored)
                if (m.id == journalled.measurement.continuesMeasurementId)
                    number = m.measurementNumber;
            const int from = jumps.isEmpty() ? 0 : static_cast<int>(jumps.constFirst().jumpIndex);
            entry.notOnServerText +=
                QLatin1Char(' ') +
                (number != 0
                     ? HistoryTexts::tr("Die Sprünge ab Nr. %1 der Messung Nr. %2.")
                           .arg(from)
                           .arg(number)
                     : HistoryTexts::tr("Die Sprünge ab Nr. %1 einer Messung auf dem Server.")
                           .arg(from));
        }
        entries << entry;
    }
    return entries;
}

QString notOnServerLegend() {
    return HistoryTexts::tr("Kursiv: noch nicht auf dem Server, im Zwischenspeicher dieses "
                            "Rechners.");
}

} // namespace history
