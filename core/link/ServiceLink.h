// The link to the service device: opening it, its commands and the byte of a parameter field.

#pragma once

#include "core/link/DeviceLink.h"

#include <QStringList>

#include <optional>

class Clock;

namespace service {

// The byte sent for a parameter field: the text as a decimal integer (an optional sign and
// digits, blanks around it ignored, within the signed 32-bit range), of which the low 8 bits
// are taken: 300 gives 44, -1 gives 255. Nothing for any other text, an empty one too.
std::optional<quint8> parameterByte(const QString& text);

} // namespace service

// The service device's side of the link: opens the service device and sends it commands
// through the one wrapper the timing unit uses too. Every operation borrows the wrapper's
// handle for its own duration only and puts the timing unit's handle back before it returns
// (also when it throws), so a measurement run between two of its polls never sees the
// service device.
class ServiceLink {
public:
    enum class Outcome {
        Accepted,     // the device answered 1
        Refused,      // it answered something else: "Fehler"
        NoAnswer,     // no answer within 1000 ms: "NAC"
        BadParameter, // a parameter text is not an integer, nothing was sent: "NAC"
    };

    // The link and the clock must outlive this object.
    ServiceLink(DeviceLink& device, Clock& clock);

    // Opens the service device "VudurEve" and configures it (reset, 115200 baud, 500 ms
    // time-outs; no data characteristics). Switches the wrapper's reports off for good. An
    // open that fails (device absent or already open) returns without a word and leaves the
    // service handle as it was. When the configuration fails the device is closed again and
    // SilentAbort is thrown; the service handle keeps its former value.
    void open();

    // Sends the letter and one byte per parameter text in one write and awaits the answer.
    // Nothing is sent when a parameter is not an integer.
    Outcome sendCommand(quint8 letter, const QStringList& parameters);

    // Sends the reset "X" (one write, no answer awaited).
    void sendReset();

    // Polls the receive queue until a byte waits or more than limitMs have passed since the
    // start of the wait; returns true when a byte waits, false when the time ran out (a byte
    // that arrives in the pass in which the limit passes counts as a time-out). A queue poll
    // that fails ends the wait as a time-out: no answer comes over a link that cannot be
    // polled. Leaves the timing link's state alone.
    bool waitForAnswer(quint32 limitMs);

    // The service device's handle: 0 until it was opened.
    d2xx::Handle handle() const { return handle_; }

    // What the user is told of an outcome: "Fehler", "NAC", or nothing.
    static QString messageFor(Outcome outcome);

private:
    Outcome exchange(quint8 letter, const QStringList& parameters);

    DeviceLink& device_;
    Clock& clock_;
    d2xx::Handle handle_ = 0;
};
