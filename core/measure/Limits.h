#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

// Plausibility limits of the contact time (SZ) and the flight time (FZ), the option that
// makes a violation stop the run, and the trigger-edge flags sent to the timing unit.
namespace plausibility {

// Highest value an upper limit takes over from the dialog.
inline constexpr qint32 kUpperLimitCeiling = 4000;

struct Limits {
    // In ms; a time passes when it lies strictly between its two limits.
    qint32 contactMinMs = 60;
    qint32 contactMaxMs = 330;
    qint32 flightMinMs = 200;
    qint32 flightMaxMs = 1000;
    // Stop the run at a violation, after telling the user why. Off at every start.
    bool abortOnViolation = false;
    // Sent to the unit at the start of every run; no control changes them.
    bool triggerEdge1 = true;
    bool triggerEdge2 = true;

    // The configuration byte of the start handshake: bit 0 triggerEdge1, bit 1 triggerEdge2.
    quint8 configurationByte() const;
};

struct Verdict {
    bool inLimits = false;
    // The run must stop (abort option on and the value failed).
    bool stopRun = false;
    // What to show before stopping, one plain message box each; empty unless stopRun.
    QStringList messages;
};

// Contact-time test. A contact time reported as not measured passes whatever the limits.
Verdict testContactTime(const Limits& limits, qint32 contactMs);
// Flight-time test. A flight time reported as not measured is not compared: it fails
// without a message and never stops the run.
Verdict testFlightTime(const Limits& limits, qint32 flightMs);

// Taking over the text of a limit field when it loses focus.
struct FieldTakeOver {
    qint32 limit = 0;
    QString text;
};
// Empty text keeps the current limit; an upper limit above 4000 becomes 4000; text that is
// not a whole number fitting 32 bits is replaced by the current limit, which stays. Signed
// values are accepted (a negative one can only arrive by pasting).
FieldTakeOver takeOverField(const QString& text, bool upperLimit, qint32 currentLimit);

// Key filter of the limit fields: only digits can be typed. Control characters (backspace,
// enter, tab, and the editing short-cuts) pass.
bool isAcceptedKeyText(const QString& text);

} // namespace plausibility
