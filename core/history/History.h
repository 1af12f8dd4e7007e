#pragma once

#include "core/measure/MeasurementTest.h"
#include "core/store/Journal.h"
#include "core/store/MeasurementRepository.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The measurement history of one athlete: one entry per measurement, newest first. An entry
// shows a running number ("Nr."), the date and time of the measurement and four values:
// contact time, flight time, efficiency and height of a single measurement's jump, or the
// series mark "..." in all four for a series; then, for single jumps and series alike, the best
// height and the best RSI of its valid jumps.
namespace history {

inline const QString kSeriesMark = QStringLiteral("...");

struct Entry {
    int position = 0; // "Nr.": the measurement's place among the athlete's, counted from 1
    QDateTime moment;
    QString dateText;             // the system's short date, four-digit year
    QString timeText;             // the system's long time
    QStringList values;           // four texts
    qint64 measurementNumber = 0; // the measurement's number, to find it again
    MeasurementTest test;         // empty for a measurement stored without one
    QString testText;             // the test's name as shown; empty without a test
    QString dropHeightText;       // the drop height in cm; empty without one
    MeasurementProtocol protocol; // the protocol it was run under, if any
    QStringList best;             // "Beste Höhe" and "Bester RSI" (bestTexts)
    // The moment as the date and time texts show it: what the list is ordered by.
    QDateTime sortMoment;
    // The station's journal entry of a measurement not yet on the server; 0 for a stored one.
    // Such an entry has no number of its own yet (measurementNumber holds -journalEntryId,
    // which no stored measurement has) and cannot be changed before it is stored.
    qint64 journalEntryId = 0;
    QString notOnServerText; // why it is marked, for its tooltip

    bool isSeries() const { return values.value(1) == kSeriesMark; }
    bool isJournalled() const { return journalEntryId != 0; }
};

// A new entry with its texts; the date's text when it is known already.
Entry makeEntry(int position, const QDateTime& moment, const QStringList& values,
                qint64 measurementNumber, QString dateText = QString(),
                const MeasurementTest& test = {});

// True when entry `a` goes before entry `b`: its moment, as shown, is later. Equal moments
// keep their order.
bool goesBefore(const Entry& a, const Entry& b);
// Orders entries newest first; entries of the same moment keep their order.
void sortNewestFirst(QList<Entry>& entries);

// The four value texts of a single measurement's jump, the same when a run records it and
// when it is read back: the times as whole numbers, the efficiency and the height made from
// them (metrics::efficiencyText, metrics::heightText).
QStringList jumpTexts(double contactMs, double flightMs);
// The four value texts of a single measurement whose jump row is missing: those of a jump
// with both times 0.
QStringList missingJumpTexts();
// The four value texts of a series.
QStringList seriesTexts();
// "Beste Höhe" and "Bester RSI" of a measurement's jumps, over its valid jumps
// (analysis::isValidJump) and shown as everywhere else (metrics::heightText, two decimals);
// both empty without a valid jump.
QStringList bestTexts(const QList<Jump>& jumps);
// The same of a best height (cm) and a best RSI already known, such as those of a running
// series.
QStringList bestTexts(std::optional<double> bestHeightCm, std::optional<double> bestRsi);

// The history of an athlete, newest first: a measurement with more than one jump is a series,
// any other shows its stored jump.
QList<Entry> build(MeasurementRepository& measurements, qint64 athleteId);
// The same with the jumps it was made from: every jump of the athlete's measurements under its
// series key, as MeasurementRepository::jumpsOfAthlete gives them, for a caller that needs them
// too and so need not read them again.
struct WithJumps {
    QList<Entry> entries;
    QHash<qint64, QList<Jump>> jumps;
};
WithJumps buildWithJumps(MeasurementRepository& measurements, qint64 athleteId);

// The entries of the measurements the station's journal holds for an athlete and that are not
// on the server yet, with their values made from the journal's jumps and marked as such. The
// rest of a series the server holds a part of (`stored`, the athlete's measurements there)
// names that measurement's number.
QList<Entry> journalledEntries(const QList<JournalEntry>& waiting,
                               const QList<Measurement>& stored);
// The jumps of a journal entry as the store would give them.
QList<Jump> journalledJumps(const JournalEntry& entry);
// The legend of the marked entries.
QString notOnServerLegend();

} // namespace history
