#pragma once

#include "core/analysis/JumpAnalysis.h"
#include "core/analysis/RealChange.h"
#include "core/measure/MeasurementTest.h"
#include "core/store/AthleteRepository.h"
#include "core/store/MeasurementRepository.h"

#include <QDate>
#include <QList>
#include <QStringList>

#include <optional>

class GroupRepository;
class RetestRepository;

// The ranking of a group in one test over a period: for every athlete of the group his best
// height, best RSI, mean contact time and number of measurements in the period, and the change
// of his best RSI against the period of the same length just before, marked where it is real
// (realchange::isReal: beyond his typical error and the group's smallest worthwhile change).
// Pure functions on plain values, and the reading of what they take.
namespace ranking {

// The days from `from` to `to`, both included.
struct Period {
    QDate from;
    QDate to;

    // The last `days` days up to and including `today`.
    static Period lastDays(const QDate& today, int days = 30);
    bool isValid() const { return from.isValid() && to.isValid() && from <= to; }
    int days() const { return isValid() ? static_cast<int>(from.daysTo(to)) + 1 : 0; }
    // Whether a day (a moment's day) is one of the days; an invalid one never is.
    bool contains(const QDate& day) const;
    bool contains(const QDateTime& moment) const;
    // The period of the same number of days that ends the day before `from`.
    Period previous() const;
};

// A measurement as the ranking takes it: its day, its jumps, its test and its protocol.
struct DayJumps {
    QDate day;
    QList<analysis::StoredJump> jumps;
    MeasurementTest test; // empty for a measurement stored without one
    Protocol protocol = Protocol::None;
    qint64 id = 0;      // of its units row
    qint64 repeats = 0; // the row of the measurement it repeats, as the user marked; 0: none
};

// What a ranking compares: the measurements of one test at one drop height, run under one
// protocol. A 10/5 is not a series of another kind, nor is a trial of a drop-height profile a
// drop jump of its own.
struct RankedTest {
    MeasurementTest test; // empty: the measurements stored without a test
    Protocol protocol = Protocol::None;
    bool operator==(const RankedTest&) const = default;
};
RankedTest rankedTestOf(const DayJumps& measurement);

// An athlete with his measurements in the order they were recorded (any period; those outside
// are passed over).
struct AthleteData {
    Athlete athlete;
    QList<DayJumps> measurements;
};

// The tests of a group's measurements in the period, each once, the most often run first:
// by the number of athletes' days on which it was run (a profile's many trials of a day count
// once), then by the test's name as shown, its protocol and its drop height.
QList<RankedTest> testsRun(const QList<AthleteData>& athletes, const Period& period);
// The test as its chooser shows it: "Drop Jump", "Sprungserie (10/5)", "Drop Jump
// (Fallhöhen-Profil)", "Ohne Test".
QString testName(const RankedTest& test);
// The drop height as its chooser shows it: "30 cm"; "ohne Angabe" for a test that takes one
// when none was given; "–" for a test that takes none.
QString dropHeightName(const RankedTest& test);
// What the ranking is of, one line each, as the window, the copied text and the team report
// say it: "Test: Drop Jump", "Fallhöhe: 30 cm", "Zeitraum: 02.03.2026 bis 31.03.2026 (30
// Tage)", and for a 10/5 what its values are. Without a test (the group has no measurement in
// the period) the period alone.
QStringList headingLines(const std::optional<RankedTest>& test, const Period& period);
// What the values of a 10/5 are, for a line below its ranking.
QString tenFiveNote();

// Of every athlete only his measurements of the ranked test count. A trial is one of them; its
// values are those of its best valid jump, and for a 10/5 those of its result (the mean of the
// best five jumps), which a 10/5 without ten valid jumps does not have.
struct Row {
    int place = 0; // by best RSI; athletes with the same best RSI share a place, those without
                   // one have none (0)
    Athlete athlete;
    int measurementCount = 0; // of the test in the period, also those without a valid jump
    std::optional<double> bestHeightCm;
    std::optional<double> bestRsi;
    std::optional<double> meanContactMs; // over the valid jumps of the test in the period
                                         // (of a 10/5: over its best five)
    std::optional<double> previousBestRsi;
    std::optional<double> rsiChange; // best RSI minus that of the previous period
    std::optional<realchange::TypicalError> typicalRsiError; // see typicalRsiError()
    // Whether the change is real: larger than the typical error and the smallest worthwhile
    // change as they are shown; never when either is not known.
    bool changeIsReal = false;
};

// The typical error of an athlete's best RSI (realchange::typicalError): the trials are his
// measurements of the ranked test in the period and in the one before, each with its best
// RSI, in the order they were recorded, with the pairs the user marked; a measurement without
// a valid jump is no trial. None for the measurements without a test, or with fewer than three
// pairs.
std::optional<realchange::TypicalError>
typicalRsiError(const QList<DayJumps>& measurements, const Period& period, const RankedTest& test);

// The best RSI of each athlete with a trial of the test in the period.
QList<double> bestRsiOfEach(const QList<AthleteData>& athletes, const Period& period,
                            const RankedTest& test);
// The smallest worthwhile change of the best RSI in the group: `setForTest` where the user set
// one for the test, else realchange::smallestWorthwhileChange of bestRsiOfEach.
std::optional<realchange::Worthwhile>
worthwhileRsi(const QList<AthleteData>& athletes, const Period& period, const RankedTest& test,
              const std::optional<double>& setForTest = std::nullopt);

// The smallest worthwhile change the user set for the ranked test (its measurements outside a
// protocol); none where none is set or the store has no place for one.
std::optional<double> setWorthwhile(RetestRepository& retests, const RankedTest& test);

// One row per athlete, best RSI first; athletes with the same one and those without one by
// name, first name and ID. Each athlete's change is judged against his own typical error and
// `worthwhile` (see worthwhileRsi()).
QList<Row> rank(const QList<AthleteData>& athletes, const Period& period, const RankedTest& test,
                const std::optional<realchange::Worthwhile>& worthwhile);

// The columns as shown and copied, and the texts of a row: heights as metrics::heightText, RSI
// and change with two decimals (the change with its sign and a "*" where it is real), the
// contact time as whole ms; empty values as empty texts.
enum Column {
    Place,
    Name,
    FirstName,
    BestHeight,
    BestRsi,
    MeanContact,
    Count,
    Change,
    ColumnCount
};
QStringList header();
QStringList texts(const Row& row);
// The value a column sorts by (empty values as an invalid QVariant).
QVariant sortValue(const Row& row, int column);
// Tab-separated: the heading's lines, an empty line, the header line and one line per row in
// the given order, each ended with "\n".
QString clipboardText(const QList<Row>& rowsInOrder, const QStringList& heading);
// What the "*" of a change means and the smallest worthwhile change it is judged by, for a
// line below the ranking; without one, that nothing is marked.
QString changeMarkNote(const std::optional<realchange::Worthwhile>& worthwhile);
// The typical error of a row's athlete with where it comes from, for the change's tool tip;
// empty without one.
QString typicalErrorText(const Row& row);

// The smallest worthwhile change of the best RSI in a test for one athlete's progress: the one
// `setForTest` where the user set one, else that of the athletes of his groups (each once) over
// all their measurements of the test up to `today`; none when he is in no group or fewer than
// two of them have a valid trial of it.
std::optional<realchange::Worthwhile>
worthwhileForAthlete(AthleteRepository& athletes, GroupRepository& groups, qint64 athleteId,
                     const MeasurementTest& test, const QDate& today,
                     const std::optional<double>& setForTest = std::nullopt);

// Reads the athletes of a group with their measurements of the period and the one before it
// (the others are not read).
QList<AthleteData> read(AthleteRepository& athletes, GroupRepository& groups, qint64 groupId,
                        const Period& period);

} // namespace ranking
