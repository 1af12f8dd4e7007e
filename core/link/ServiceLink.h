#pragma once

#include "core/link/D2XXUnit.h"

#include <QStringList>

#include <optional>

class Clock;
class MessageService;

namespace service {

// The byte sent for a parameter field: the text as a decimal integer (an optional sign and
// digits, blanks around it ignored, within the signed 32-bit range), of which the low 8 bits
// are taken: 300 gives 44, -1 gives 255. Nothing for any other text, an empty one too.
std::optional<quint8> parameterByte(const QString& text);

} // namespace service

// Puts a saved LinkHandle back when it goes out of scope, however the scope is left.
class SavedLinkHandle {
public:
    explicit SavedLinkHandle(D2XXUnit& unit) : unit_(unit), saved_(unit.LinkHandle) {}
    // Saves LinkHandle and lends it `borrowed` for the life of this object.
    SavedLinkHandle(D2XXUnit& unit, d2xx::Handle borrowed) : SavedLinkHandle(unit) {
        unit_.LinkHandle = borrowed;
    }
    ~SavedLinkHandle() { unit_.LinkHandle = saved_; }
    SavedLinkHandle(const SavedLinkHandle&) = delete;
    SavedLinkHandle& operator=(const SavedLinkHandle&) = delete;

    d2xx::Handle saved() const { return saved_; }

private:
    D2XXUnit& unit_;
    d2xx::Handle saved_;
};

// The service panel's side of the link: opens the service device and sends it commands
// through the one wrapper the timing unit uses too. Every operation borrows LinkHandle for
// its own duration only and puts the timing unit's handle back before it returns (also when
// it throws), so a measurement run between two of its polls never sees the service device.
class ServiceLink {
public:
    enum class Outcome {
        Accepted,     // the device answered 1
        Refused,      // it answered something else: "Fehler"
        NoAnswer,     // no answer within 1000 ms: "NAC"
        BadParameter, // a parameter text is not an integer, nothing was sent: "NAC"
    };

    // serviceHandle is the service device's handle, 0 until it was opened; it belongs to the
    // caller and must outlive this object, as must the unit, the clock and the message
    // service.
    ServiceLink(D2XXUnit& unit, Clock& clock, MessageService& ui, d2xx::Handle& serviceHandle);

    // Opens the service device "VudurEve" and configures it (reset, 115200 baud, 500 ms
    // time-outs; no data characteristics). Switches the wrapper's reports off for good. An
    // open that fails (device absent or already open) returns without a word and leaves
    // serviceHandle as it was. When the configuration fails the device is closed again and
    // SilentAbort is thrown; serviceHandle keeps its former value.
    void Open();

    // Sends the letter and one byte per parameter text in one write and awaits the answer.
    // "Fehler" when the device refused, "NAC" when it did not answer or a parameter is not
    // an integer (then nothing is sent). The box is shown after LinkHandle is back.
    Outcome SendCommand(quint8 letter, const QStringList& parameters);

    // Sends the reset "X" (one write, no answer awaited, nothing shown).
    void SendReset();

    // Polls the receive queue until a byte waits or more than limitMs have passed since the
    // start of the wait; returns whether the time ran out (a byte that arrives in the pass
    // in which the limit passes counts as a time-out). A queue poll that fails ends the wait
    // as a time-out: no answer comes over a link that cannot be polled. Leaves the timing
    // link's ReplyTimedOut alone.
    bool WaitForAnswer(quint32 limitMs);

    static QString messageFor(Outcome outcome);

private:
    Outcome exchange(quint8 letter, const QStringList& parameters);

    D2XXUnit& unit_;
    Clock& clock_;
    MessageService& ui_;
    d2xx::Handle& serviceHandle_;
};
