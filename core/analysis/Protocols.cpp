// The 10/5 repeated-jump test, the drop-height profile with its advice to stop, and the typical
// error of a measure.

#include "core/analysis/Protocols.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <map>

namespace protocols {

namespace {

// The texts of this file that the user reads, in the translation context "Protocols".
struct ProtocolsTexts {
    Q_DECLARE_TR_FUNCTIONS(Protocols)
};

void tell(QString* note, const QString& text) {
    if (note)
        *note = text;
}

} // namespace

std::optional<TenFiveResult> tenFive(const QList<analysis::StoredJump>& jumps, QString* note) {
    QList<analysis::StoredJump> valid;
    for (const analysis::StoredJump& jump : jumps)
        if (analysis::isValidJump(jump))
            valid << jump;
    std::stable_sort(valid.begin(), valid.end(),
                     [](const auto& a, const auto& b) { return a.jumpIndex < b.jumpIndex; });
    if (valid.size() < kTenFiveJumps) {
        tell(note, ProtocolsTexts::tr("Kein Ergebnis: nur %1 von %2 Sprüngen gültig.")
                       .arg(valid.size())
                       .arg(kTenFiveJumps));
        return std::nullopt;
    }
    valid = valid.mid(0, kTenFiveJumps);
    QList<analysis::StoredJump> best = valid;
    // Of equal RSI the earlier jump: the sort is stable over jump order.
    std::stable_sort(best.begin(), best.end(), [](const auto& a, const auto& b) {
        return analysis::jumpRsi(a) > analysis::jumpRsi(b);
    });
    best = best.mid(0, kTenFiveBest);
    TenFiveResult result;
    for (const analysis::StoredJump& jump : best) {
        result.bestJumpIndexes << jump.jumpIndex;
        result.meanRsi += analysis::jumpRsi(jump) / kTenFiveBest;
        result.meanContactMs += jump.contactMs / kTenFiveBest;
        result.meanHeightCm += analysis::jumpHeightCm(jump) / kTenFiveBest;
    }
    std::sort(result.bestJumpIndexes.begin(), result.bestJumpIndexes.end());
    tell(note, QString());
    return result;
}

QString tenFiveRule() {
    return ProtocolsTexts::tr("Mittelwert der 5 besten von 10 Sprüngen nach RSI");
}

Profile dropHeightProfile(const QList<ProfileTrial>& trials) {
    std::map<int, ProfileStep> byHeight;
    std::map<int, int> validCount;
    for (const ProfileTrial& trial : trials) {
        ProfileStep& step = byHeight[trial.dropHeightCm];
        step.dropHeightCm = trial.dropHeightCm;
        ++step.trials;
        if (!analysis::isValidJump(trial.jump))
            continue;
        const double rsi = analysis::jumpRsi(trial.jump);
        const double height = analysis::jumpHeightCm(trial.jump);
        if (!step.bestRsi || rsi > *step.bestRsi) {
            step.bestRsi = rsi;
            step.contactOfBestRsiMs = trial.jump.contactMs;
        }
        if (!step.bestHeightCm || height > *step.bestHeightCm)
            step.bestHeightCm = height;
        const int n = ++validCount[trial.dropHeightCm];
        // A running mean keeps the step's fields plain values.
        step.meanContactMs = step.meanContactMs.value_or(0) +
                             (trial.jump.contactMs - step.meanContactMs.value_or(0)) / n;
    }
    Profile profile;
    std::optional<double> bestRsi;
    std::optional<double> bestHeight;
    for (const auto& [height, step] : byHeight) {
        profile.steps << step;
        // Rising heights: a later height wins only with a higher value.
        if (step.bestRsi && (!bestRsi || *step.bestRsi > *bestRsi)) {
            bestRsi = step.bestRsi;
            profile.optimalByRsiCm = height;
        }
        if (step.bestHeightCm && (!bestHeight || *step.bestHeightCm > *bestHeight)) {
            bestHeight = step.bestHeightCm;
            profile.optimalByHeightCm = height;
        }
    }
    return profile;
}

StopAdvice stopAdvice(const Profile& profile) {
    const QList<ProfileStep>& steps = profile.steps;
    if (!steps.isEmpty() && steps.last().meanContactMs &&
        *steps.last().meanContactMs > kLongestContactMs)
        return StopAdvice::ContactTooLong;
    const qsizetype n = steps.size();
    if (n >= 3 && steps[n - 3].bestRsi && steps[n - 2].bestRsi && steps[n - 1].bestRsi &&
        *steps[n - 2].bestRsi < *steps[n - 3].bestRsi &&
        *steps[n - 1].bestRsi < *steps[n - 2].bestRsi)
        return StopAdvice::RsiFalling;
    return StopAdvice::GoOn;
}

QString stopAdviceText(StopAdvice advice) {
    switch (advice) {
    case StopAdvice::GoOn:
        return {};
    case StopAdvice::RsiFalling:
        return ProtocolsTexts::tr("Der beste RSI ist bei zwei Fallhöhen nacheinander gesunken: "
                                  "das Profil kann enden.");
    case StopAdvice::ContactTooLong:
        return ProtocolsTexts::tr(
            "Die mittlere Stützzeit liegt über 250 ms: das Profil kann enden.");
    }
    return {};
}

std::optional<double> typicalError(const QList<double>& consecutiveTrials, QString* note) {
    QList<double> differences;
    for (qsizetype i = 1; i < consecutiveTrials.size(); ++i)
        differences << consecutiveTrials[i] - consecutiveTrials[i - 1];
    if (differences.size() < kTypicalErrorPairs) {
        tell(note, ProtocolsTexts::tr(
                       "Kein Band: der typische Fehler braucht mindestens %1 Paare aufeinander "
                       "folgender Messungen desselben Tests und derselben Fallhöhe, es gibt %2.")
                       .arg(kTypicalErrorPairs)
                       .arg(differences.size()));
        return std::nullopt;
    }
    double mean = 0;
    for (const double d : differences)
        mean += d / static_cast<double>(differences.size());
    double squares = 0;
    for (const double d : differences)
        squares += (d - mean) * (d - mean);
    const double sd = std::sqrt(squares / static_cast<double>(differences.size() - 1));
    tell(note, QString());
    return sd / std::sqrt(2.0);
}

} // namespace protocols
