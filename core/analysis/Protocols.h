#pragma once

#include "core/analysis/JumpAnalysis.h"

#include <QList>
#include <QString>

#include <optional>

// The protocols of reactive-strength testing and the noise of a measure, as pure functions on
// stored jumps: the 10/5 repeated-jump test, the drop-height profile and the typical error.
// Excluded and invalid jumps count in none of them (isValidJump).
namespace protocols {

// The 10/5 repeated-jump test: 10 maximal rebound jumps; the result is the mean RSI of the best
// 5 by RSI, with their mean contact time and mean height.
inline constexpr int kTenFiveJumps = 10;
inline constexpr int kTenFiveBest = 5;

struct TenFiveResult {
    QList<int> bestJumpIndexes; // the indexes of the best five jumps, in jump order
    double meanRsi = 0;
    double meanContactMs = 0;
    double meanHeightCm = 0;
};

// The result over the first ten valid jumps of a series (by jump index). Of jumps with the
// same RSI the earlier one is taken. Without ten valid jumps there is no result, and `note`
// (when given) says why.
std::optional<TenFiveResult> tenFive(const QList<analysis::StoredJump>& jumps,
                                     QString* note = nullptr);
// The rule in words, for the analysis window and the report.
QString tenFiveRule();

// The drop-height profile: single drop jumps from rising box heights, a few trials each.
struct ProfileTrial {
    int dropHeightCm = 0;
    analysis::StoredJump jump;
};

// What one drop height gave: the best RSI with that trial's contact time, the best jump
// height, and the mean contact time of its valid trials. Empty without a valid trial.
struct ProfileStep {
    int dropHeightCm = 0;
    int trials = 0; // all trials, valid or not
    std::optional<double> bestRsi;
    std::optional<double> contactOfBestRsiMs;
    std::optional<double> bestHeightCm;
    std::optional<double> meanContactMs;
};

struct Profile {
    QList<ProfileStep> steps; // rising drop heights
    // The drop height with the highest best RSI, and the one with the highest best jump; of
    // equal values the lower drop height.
    std::optional<int> optimalByRsiCm;
    std::optional<int> optimalByHeightCm;
};

Profile dropHeightProfile(const QList<ProfileTrial>& trials);

// The profile suggests ending (it never ends on its own) when the best RSI has fallen at two
// heights in a row, or when the mean contact time at the latest height exceeds 250 ms.
enum class StopAdvice { GoOn, RsiFalling, ContactTooLong };
inline constexpr double kLongestContactMs = 250;
StopAdvice stopAdvice(const Profile& profile);
QString stopAdviceText(StopAdvice advice);

// The typical error of a measure (Hopkins 2000): the sample standard deviation of the
// differences between consecutive trials, divided by √2. It needs at least three such pairs;
// with fewer there is none, and `note` (when given) says why.
inline constexpr int kTypicalErrorPairs = 3;
std::optional<double> typicalError(const QList<double>& consecutiveTrials, QString* note = nullptr);

} // namespace protocols
