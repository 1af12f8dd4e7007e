// The typical error from test–retest pairs, the smallest worthwhile change of a group, and the
// rule that marks a change as real.

#include "core/analysis/RealChange.h"

#include "core/analysis/Protocols.h"
#include "core/base/Errors.h"
#include "core/measure/Metrics.h"

#include <QCoreApplication>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <utility>

namespace realchange {
namespace {

// The texts of this file that the user reads, in the translation context "realchange".
struct TextsOfRealChange {
    Q_DECLARE_TR_FUNCTIONS(realchange)
};

void tell(QString* note, const QString& text) {
    if (note != nullptr)
        *note = text;
}

// The sample standard deviation; none for fewer than two values or a value beyond a double.
std::optional<double> sampleSd(const QList<double>& values) {
    if (values.size() < 2)
        return std::nullopt;
    double mean = 0;
    for (const double v : values)
        mean += v / static_cast<double>(values.size());
    double squares = 0;
    for (const double v : values)
        squares += (v - mean) * (v - mean);
    const double sd = std::sqrt(squares / static_cast<double>(values.size() - 1));
    return std::isfinite(sd) ? std::optional(sd) : std::nullopt;
}

} // namespace

std::optional<TypicalError> typicalError(const QList<Trial>& trials, QString* note) {
    QHash<qint64, qsizetype> indexOf;
    for (qsizetype i = 0; i < trials.size(); ++i)
        if (trials[i].id != 0)
            indexOf.insert(trials[i].id, i);
    QList<double> retests;
    QSet<std::pair<qsizetype, qsizetype>> markedPairs;
    for (qsizetype i = 0; i < trials.size(); ++i) {
        const qsizetype first = trials[i].repeats == 0 ? -1 : indexOf.value(trials[i].repeats, -1);
        if (first < 0 || first == i)
            continue;
        const qsizetype earlier = std::min(first, i);
        const qsizetype later = std::max(first, i);
        if (markedPairs.contains({earlier, later}))
            continue;
        markedPairs.insert({earlier, later});
        retests << trials[later].value - trials[earlier].value;
    }
    const int marked = static_cast<int>(retests.size());
    QList<double> consecutive;
    for (qsizetype i = 1; i < trials.size(); ++i) {
        const double difference = trials[i].value - trials[i - 1].value;
        consecutive << difference;
        if (trials[i].day.isValid() && trials[i].day == trials[i - 1].day &&
            !markedPairs.contains({i - 1, i}))
            retests << difference;
    }
    const bool fromRetests = !retests.isEmpty();
    const QList<double>& differences = fromRetests ? retests : consecutive;
    if (differences.size() < protocols::kTypicalErrorPairs) {
        if (marked > 0)
            tell(note, TextsOfRealChange::tr("Kein Band: der typische Fehler braucht mindestens "
                                             "%1 Test–Retest-Paare, es gibt %2.")
                           .arg(protocols::kTypicalErrorPairs)
                           .arg(differences.size()));
        else
            tell(note, fromRetests
                           ? TextsOfRealChange::tr(
                                 "Kein Band: der typische Fehler braucht mindestens %1 "
                                 "Wiederholungen desselben Tests am selben Tag, es gibt %2.")
                                 .arg(protocols::kTypicalErrorPairs)
                                 .arg(differences.size())
                           : TextsOfRealChange::tr(
                                 "Kein Band: der typische Fehler braucht mindestens %1 Paare "
                                 "aufeinander folgender Messungen desselben Tests und derselben "
                                 "Fallhöhe, es gibt %2.")
                                 .arg(protocols::kTypicalErrorPairs)
                                 .arg(differences.size()));
        return std::nullopt;
    }
    const std::optional<double> sd = sampleSd(differences);
    if (!sd) {
        tell(note, TextsOfRealChange::tr("Kein Band: die Werte sind zu groß."));
        return std::nullopt;
    }
    tell(note, QString());
    return TypicalError{*sd / std::sqrt(2.0),
                        fromRetests ? ErrorSource::RetestPairs : ErrorSource::ConsecutiveTrials,
                        static_cast<int>(differences.size()), marked};
}

std::optional<double> smallestWorthwhileChange(const QList<double>& bestOfEachAthlete) {
    const std::optional<double> sd = sampleSd(bestOfEachAthlete);
    if (!sd)
        return std::nullopt;
    return kShareOfSpread * *sd;
}

std::optional<double> parseWorthwhile(const QString& text) {
    QString number = text.trimmed();
    if (number.isEmpty())
        return std::nullopt;
    number.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = number.toDouble(&ok);
    if (!ok || !std::isfinite(value) || value <= 0 || value > kMaxWorthwhile)
        throw AppError(TextsOfRealChange::tr("Die kleinste bedeutsame Änderung muss eine Zahl "
                                             "größer als 0 und höchstens 10 sein, zum Beispiel "
                                             "0,05."));
    return value;
}

double shown(double value) {
    const double scale = std::pow(10.0, kShownDecimals);
    return std::round(value * scale) / scale;
}

bool isReal(double change, const std::optional<double>& typicalError,
            const std::optional<double>& smallestWorthwhile) {
    if (!typicalError || !smallestWorthwhile || !std::isfinite(change))
        return false;
    const double size = shown(std::abs(change));
    return size > shown(*typicalError) && size > shown(*smallestWorthwhile);
}

QString sourceText(const TypicalError& error) {
    // A typical error has at least three pairs: the texts need no singular.
    if (error.source == ErrorSource::RetestPairs && error.marked > 0)
        return TextsOfRealChange::tr("aus %1 Test–Retest-Paaren, davon %2 markiert")
            .arg(error.pairs)
            .arg(error.marked);
    if (error.source == ErrorSource::RetestPairs)
        return TextsOfRealChange::tr("aus %1 Wiederholungen am selben Tag").arg(error.pairs);
    return TextsOfRealChange::tr("aus %1 Paaren aufeinander folgender Messungen, da keine am "
                                 "selben Tag wiederholt wurde")
        .arg(error.pairs);
}

QString worthwhileText(const Worthwhile& worthwhile, const QString& unit) {
    const QString value = metrics::fixedText(shown(worthwhile.value), kShownDecimals);
    if (worthwhile.setForTest)
        return TextsOfRealChange::tr("kleinste bedeutsame Änderung %1 %2 (für diesen Test "
                                     "festgelegt)")
            .arg(value, unit);
    return TextsOfRealChange::tr("kleinste bedeutsame Änderung %1 %2 (0,2 × Streuung der "
                                 "besten Werte der Gruppe)")
        .arg(value, unit);
}

} // namespace realchange
