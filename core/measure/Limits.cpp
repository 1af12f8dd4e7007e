// The plausibility tests of contact and flight time with their messages, the trigger-edge byte,
// and the take-over of a limit typed in the dialog.

#include "core/measure/Limits.h"

#include "core/link/TimingUnitProtocol.h"

#include <QCoreApplication>

namespace plausibility {
namespace {

// The texts of this file that the user reads, in the translation context "Limits".
struct LimitsTexts {
    Q_DECLARE_TR_FUNCTIONS(Limits)
};

// The prefixes as the program has always shown them; the upper ones have two blanks.
struct Kind {
    QString lowerPrefix;
    QString upperPrefix;
};

Kind contactTime() {
    return {LimitsTexts::tr("Untere Stützzeit-Plausibilätsgrenze verletzt: "),
            LimitsTexts::tr("Obere  Stützzeit-Plausibilätsgrenze verletzt: ")};
}

Kind flightTime() {
    return {LimitsTexts::tr("Untere Flugzeit-Plausibilätsgrenze verletzt: "),
            LimitsTexts::tr("Obere  Flugzeit-Plausibilätsgrenze verletzt: ")};
}

QString message(const QString& prefix, qint32 value, const char* relation, qint32 limit) {
    return prefix + QString::number(value) + QStringLiteral("ms ") + QLatin1String(relation) +
           QLatin1Char(' ') + QString::number(limit) + QStringLiteral("ms");
}

// Both bounds exclusive. A value equal to a limit fails as well, so it gets its message
// with "<=" or ">=": a stopped run always says why. Crossed limits can give both messages.
Verdict test(const Kind& kind, qint32 value, qint32 lower, qint32 upper, bool abortOption) {
    Verdict verdict;
    verdict.inLimits = lower < value && value < upper;
    if (verdict.inLimits || !abortOption)
        return verdict;
    verdict.stopRun = true;
    if (value < lower)
        verdict.messages << message(kind.lowerPrefix, value, "<", lower);
    else if (value == lower)
        verdict.messages << message(kind.lowerPrefix, value, "<=", lower);
    if (value > upper)
        verdict.messages << message(kind.upperPrefix, value, ">", upper);
    else if (value == upper)
        verdict.messages << message(kind.upperPrefix, value, ">=", upper);
    return verdict;
}

} // namespace

quint8 Limits::configurationByte() const {
    return timingunit::configurationByte(triggerEdge1, triggerEdge2);
}

Verdict testContactTime(const Limits& limits, qint32 contactMs) {
    if (contactMs == timingunit::kTimeNotMeasured)
        return Verdict{true, false, {}};
    return test(contactTime(), contactMs, limits.contactMinMs, limits.contactMaxMs,
                limits.abortOnViolation);
}

Verdict testFlightTime(const Limits& limits, qint32 flightMs) {
    if (flightMs == timingunit::kTimeNotMeasured)
        return Verdict{};
    return test(flightTime(), flightMs, limits.flightMinMs, limits.flightMaxMs,
                limits.abortOnViolation);
}

FieldTakeOver takeOverField(const QString& text, bool upperLimit, qint32 currentLimit) {
    const QString current = QString::number(currentLimit);
    if (text.isEmpty())
        return FieldTakeOver{currentLimit, current};
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    if (!ok)
        return FieldTakeOver{currentLimit, current};
    const qint32 limit = upperLimit && value > kUpperLimitCeiling ? kUpperLimitCeiling : value;
    return FieldTakeOver{limit, QString::number(limit)};
}

bool isAcceptedKeyText(const QString& text) {
    for (const QChar c : text) {
        const bool digit = c >= QLatin1Char('0') && c <= QLatin1Char('9');
        if (!digit && c.category() != QChar::Other_Control)
            return false;
    }
    return true;
}

} // namespace plausibility
