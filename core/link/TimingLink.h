#pragma once

#include "core/link/DeviceLink.h"
#include "core/link/TimingUnitProtocol.h"

class Clock;

// The link to the timing unit: opening and configuring it, the timed wait for a byte, and
// the start and stop handshakes. A wait holds the calling thread (without sleeping) for at
// most its limit.
class TimingLink {
public:
    enum class OpenResult {
        Opened,     // open and configured
        OpenFailed, // no converter carries the description, or it could not be opened
        NoDevice,   // no FTDI converter at all
    };

    TimingLink(DeviceLink& device, Clock& clock);

    // Finds, opens and configures the timing unit; linkState then holds the status of the
    // open, and openProblem why the unit's device file could not be opened (when the driver
    // knows). Throws SilentAbort when configuring the opened unit fails; the link then stays
    // open and linkState stays 0.
    //
    // The wrapper's reports are switched off for good. A link that an earlier start left
    // open (its configuration failed) is closed first, so the unit can be opened again.
    OpenResult open();

    // Closes the link when open() opened it and nobody closed it since. Returns whether there
    // was such a link.
    bool closeStaleLink();

    // Polls the receive queue until a byte waits or more than limitMs have passed since the
    // start of the wait. Returns true when a byte waits, false when the time ran out (and
    // then sets replyTimedOut); a byte that arrives in the pass in which the limit passes
    // counts as a time-out.
    bool waitForByte(quint32 limitMs);
    // One poll of the receive queue: whether a byte waits. Throws AppError when the poll
    // fails: the line is gone (unplugged) and no byte will come.
    bool byteWaiting();

    // Has `arrived` called from the event loop when bytes come in, while the link is open;
    // an empty function ends that. False when the driver cannot tell.
    bool notifyArrival(std::function<void()> arrived);

    // Sends one byte (byte 0 of the transmit buffer, a write of one byte).
    void sendByte(quint8 byte);
    // Reads one byte and returns byte 0 of the receive buffer (the byte read before when
    // nothing came).
    quint8 receiveByte();

    // Start handshake: sends 251, waits up to 350 ms for the answer (any value), reads it and
    // sends the configuration byte. Returns false when the unit did not answer in time
    // (replyTimedOut is then true and nothing further was sent).
    bool startHandshake(quint8 configurationByte);
    // Stop by the user: sends 250, waits up to 2000 ms, reads one byte in any case (not used)
    // and closes the link.
    void stopByUser();
    // Any other end of a run: sends 250 and closes the link without waiting.
    void stopWithoutAnswer();
    // Closes the link on behalf of the run: linkState becomes kLinkClosedByRun.
    d2xx::Status close();

    DeviceLink& device() { return device_; }
    Clock& clock() { return clock_; }

    static constexpr qint32 kLinkClosedByRun = 4;
    // 0 at start; the status of the last open; kLinkClosedByRun after a close by the run.
    qint32 linkState = 0;
    // Whether the last wait ran out of time.
    bool replyTimedOut = false;
    // Why the last open failed to open the device file it found; nothing when it did not
    // get that far, succeeded, or the driver cannot tell.
    std::optional<DeviceFileProblem> openProblem;

private:
    DeviceLink& device_;
    Clock& clock_;
    bool linkOpen_ = false;
};
