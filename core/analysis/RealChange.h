#pragma once

#include <QDate>
#include <QList>
#include <QString>

#include <optional>

// Whether a change of a measure is real: larger than the noise of the athlete's test (its
// typical error) and large enough to matter (the smallest worthwhile change). Pure functions on
// plain values; the progress band and the ranking's change column both judge by them.
namespace realchange {

// One trial of a test: the day it was run and its value (its best RSI, say). A trial the user
// marked as the repeat of another names that one's `id` in `repeats`.
struct Trial {
    QDate day;
    double value = 0;
    qint64 id = 0;      // the trial among the others (a measurement's number, say); 0: none
    qint64 repeats = 0; // the id of the trial it repeats; 0: none marked
};

// Where a typical error comes from: test–retest pairs (a trial and the one before it on the
// same day, and the pairs the user marked), or, where the athlete has none, consecutive trials.
enum class ErrorSource { RetestPairs, ConsecutiveTrials };

struct TypicalError {
    double value = 0;
    ErrorSource source = ErrorSource::RetestPairs;
    int pairs = 0;
    int marked = 0; // of the pairs, those the user marked
};

// The typical error of the trials, in the order they were run: the sample standard deviation
// of the differences within the pairs (the later trial less the earlier one), divided by √2.
// The pairs are the test–retest pairs: a trial and the one before it on the same day, and each
// trial marked as the repeat of another that is among the trials (a marked pair counts once
// even when it is a same-day pair too). Only when there is none, the consecutive trials. Fewer
// than protocols::kTypicalErrorPairs pairs give none, and `note` (when given) says why.
std::optional<TypicalError> typicalError(const QList<Trial>& trials, QString* note = nullptr);

// The smallest worthwhile change: 0.2 × the between-athlete standard deviation (of a sample)
// of the athletes' best values; none for fewer than two athletes.
inline constexpr double kShareOfSpread = 0.2;
std::optional<double> smallestWorthwhileChange(const QList<double>& bestOfEachAthlete);

// A smallest worthwhile change as the user types it (in m/s of the RSI): a comma or a point
// before the decimals; none for an empty text. Throws AppError for any other text than a
// number greater than 0 and at most kMaxWorthwhile.
inline constexpr double kMaxWorthwhile = 10;
std::optional<double> parseWorthwhile(const QString& text);

// A group's smallest worthwhile change: of its spread, or as the user set it for the test.
struct Worthwhile {
    double value = 0;
    bool setForTest = false;
};

// Every value is judged as its text shows it, with two decimals: a change of 0.076 reads
// "0,08" and is no larger than a typical error that reads "0,08".
inline constexpr int kShownDecimals = 2;
double shown(double value);
// Whether a change is real: its size as shown is larger than both the typical error and the
// smallest worthwhile change as shown. Never when either is not known.
bool isReal(double change, const std::optional<double>& typicalError,
            const std::optional<double>& smallestWorthwhile);

// Where the typical error comes from: "aus 3 Wiederholungen am selben Tag", "aus 4
// Test–Retest-Paaren, davon 2 markiert" or "aus 4 Paaren aufeinander folgender Messungen, da
// keine am selben Tag wiederholt wurde".
QString sourceText(const TypicalError& error);
// "kleinste bedeutsame Änderung 0,05 m/s (0,2 × Streuung der besten Werte der Gruppe)", or
// "… (für diesen Test festgelegt)"; `unit` follows the value.
QString worthwhileText(const Worthwhile& worthwhile, const QString& unit);

} // namespace realchange
