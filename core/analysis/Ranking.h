#pragma once

#include "core/analysis/JumpAnalysis.h"
#include "core/measure/MeasurementTest.h"
#include "core/store/AthleteRepository.h"

#include <QDate>
#include <QList>
#include <QStringList>

#include <optional>

class GroupRepository;

// The ranking of a group over a period: for every athlete of the group his best height, best
// RSI, mean contact time and number of measurements in the period, and the change of his best
// RSI against the period of the same length just before, marked where it exceeds his typical
// error. Pure functions on plain values, and the reading of what they take.
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

// A measurement as the ranking takes it: its day, its jumps and its test.
struct DayJumps {
    QDate day;
    QList<analysis::StoredJump> jumps;
    MeasurementTest test; // empty for a measurement stored without one
};

// An athlete with his measurements in the order they were recorded (any period; those outside
// are passed over).
struct AthleteData {
    Athlete athlete;
    QList<DayJumps> measurements;
};

struct Row {
    int place = 0; // by best RSI; athletes with the same best RSI share a place, those without
                   // one have none (0)
    Athlete athlete;
    int measurementCount = 0; // in the period, also those without a valid jump
    std::optional<double> bestHeightCm;
    std::optional<double> bestRsi;
    std::optional<double> meanContactMs; // over the valid jumps of the period
    std::optional<double> previousBestRsi;
    std::optional<double> rsiChange;       // best RSI minus that of the previous period
    std::optional<double> typicalRsiError; // see typicalRsiError()
    // Whether the change is larger than the typical error; never when that is not known.
    bool changeBeyondTypicalError = false;
};

// The typical error of an athlete's best RSI (protocols::typicalError): the trials are his
// measurements of the period and of the one before with the test and drop height of the
// measurement that gave his best RSI of the period (the first of equal ones), each with its
// best RSI, in the order they were recorded; a measurement without a valid jump is no trial.
// None without a best RSI in the period, when its measurement has no test, or with fewer than
// three pairs of trials.
std::optional<double> typicalRsiError(const QList<DayJumps>& measurements, const Period& period);

// One row per athlete, best RSI first; athletes with the same one and those without one by
// name, first name and ID. Each athlete's change is marked against his own typical error.
QList<Row> rank(const QList<AthleteData>& athletes, const Period& period);

// The columns as shown and copied, and the texts of a row: heights as metrics::heightText, RSI
// and change with two decimals (the change with its sign and a "*" where it is beyond the
// typical error), the contact time as whole ms; empty values as empty texts.
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
// Tab-separated: the header line and one line per row in the given order, each ended with "\n".
QString clipboardText(const QList<Row>& rowsInOrder);
// What the "*" of a change means, for a line below the ranking.
QString changeMarkNote();

// Reads the athletes of a group with their measurements of the period and the one before it
// (the others are not read).
QList<AthleteData> read(AthleteRepository& athletes, GroupRepository& groups, qint64 groupId,
                        const Period& period);

} // namespace ranking
