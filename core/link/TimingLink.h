#pragma once

#include "core/link/D2XXUnit.h"
#include "core/link/QrvProtocol.h"

class Clock;

// The main window's side of the link to the timing unit: opening and configuring it, the
// timed wait for a byte, and the start and stop handshakes. Runs on the UI thread; a wait
// holds it (without sleeping and without processing events) for at most its limit.
class TimingLink {
public:
    TimingLink(D2XXUnit& unit, Clock& clock);

    // Finds, opens and configures the timing unit. Returns 0 when it is open and
    // configured, 1 when the open failed (LinkState holds the status), 3 when no FTDI
    // device is present. Throws SilentAbort when configuring the opened unit fails; the
    // link then stays open and LinkState stays 0.
    //
    // Reports of the wrapper are switched off for good. A link that an earlier start left
    // open (its configuration failed) is closed first, so the unit can be opened again.
    quint8 OpenPort();

    // Closes the link when OpenPort opened it and nobody closed it since. Returns whether
    // there was such a link. OpenPort does this itself.
    bool CloseStaleLink();

    // Polls the receive queue until a byte waits or more than limitMs have passed since the
    // start of the wait. Returns and stores in ReplyTimedOut whether the time ran out; a
    // byte that arrives in the pass in which the limit passes counts as a time-out.
    bool WaitForByte(quint32 limitMs);

    // Sends one byte (byte 0 of TxBuffer, a write of one byte).
    void SendByte(quint8 byte);
    // Reads one byte and returns byte 0 of RxBuffer (the byte read before when nothing
    // came).
    quint8 ReceiveByte();

    // Start handshake: sends 251, waits up to 350 ms for the answer (any value), reads it
    // and sends the configuration byte. Returns false when the unit did not answer in time
    // (ReplyTimedOut is then true and nothing further was sent).
    bool StartHandshake(quint8 configurationByte);
    // Stop by the user: sends 250, waits up to 2000 ms, reads one byte in any case (not
    // used) and closes the link.
    void StopByUser();
    // Any other end of a run: sends 250 and closes the link without waiting.
    void StopWithoutAnswer();
    // Closes the link on behalf of the run: LinkState becomes 4.
    d2xx::Status CloseLink();

    // Whether OpenPort opened the link and it has not been closed since.
    bool linkOpen() const { return linkOpen_; }
    D2XXUnit& unit() { return unit_; }

    // 0 at start; the status of the last open by OpenPort; 4 after a close by the run.
    qint32 LinkState = 0;
    // Whether the last WaitForByte ran out of time.
    bool ReplyTimedOut = false;

    static constexpr qint32 LinkClosedByRun = 4;

private:
    D2XXUnit& unit_;
    Clock& clock_;
    bool linkOpen_ = false;
};
