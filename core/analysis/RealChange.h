#pragma once

#include <QDate>
#include <QList>
#include <QString>

#include <optional>

// Whether a change of a measure is real: larger than the noise of the athlete's test (its
// typical error) and large enough to matter (the smallest worthwhile change). Pure functions on
// plain values; the progress band and the ranking's change column both judge by them.
namespace realchange {

// One trial of a test: the day it was run and its value (its best RSI, say).
struct Trial {
    QDate day;
    double value = 0;
};

// Where a typical error comes from: test–retest pairs (a trial and the one before it on the
// same day), or, where the athlete never repeated the test on a day, consecutive trials.
enum class ErrorSource { SameDayPairs, ConsecutiveTrials };

struct TypicalError {
    double value = 0;
    ErrorSource source = ErrorSource::SameDayPairs;
    int pairs = 0;
};

// The typical error of the trials, in the order they were run: the sample standard deviation
// of the differences within the pairs, divided by √2. The pairs are the test–retest pairs; only
// when there is none, the consecutive trials. Fewer than protocols::kTypicalErrorPairs pairs
// give none, and `note` (when given) says why.
std::optional<TypicalError> typicalError(const QList<Trial>& trials, QString* note = nullptr);

// The smallest worthwhile change: 0.2 × the between-athlete standard deviation (of a sample)
// of the athletes' best values; none for fewer than two athletes.
inline constexpr double kShareOfSpread = 0.2;
std::optional<double> smallestWorthwhileChange(const QList<double>& bestOfEachAthlete);

// A group's smallest worthwhile change.
struct Worthwhile {
    double value = 0;
};

// Every value is judged as its text shows it, with two decimals: a change of 0.076 reads
// "0,08" and is no larger than a typical error that reads "0,08".
inline constexpr int kShownDecimals = 2;
double shown(double value);
// Whether a change is real: its size as shown is larger than both the typical error and the
// smallest worthwhile change as shown. Never when either is not known.
bool isReal(double change, const std::optional<double>& typicalError,
            const std::optional<double>& smallestWorthwhile);

// Where the typical error comes from: "aus 3 Wiederholungen am selben Tag" or "aus 4 Paaren
// aufeinander folgender Messungen, da keine am selben Tag wiederholt wurde".
QString sourceText(const TypicalError& error);
// "kleinste bedeutsame Änderung 0,05 m/s (0,2 × Streuung der besten Werte der Gruppe)";
// `unit` follows the value.
QString worthwhileText(const Worthwhile& worthwhile, const QString& unit);

} // namespace realchange
