#pragma once

#include "core/link/D2xxDriver.h"

#include <QString>

#include <array>

class MessageService;

// Thin wrapper over the D2XX calls: one shared device handle, one transmit and one receive
// buffer, one error report. There is one instance for the whole program. Every operation
// calls one driver function on LinkHandle and reports a failing status in an error box
// while ReportLinkErrors is on; no operation throws.
//
// The state is public on purpose: the link operations and the service panel work on it
// directly (they fill TxBuffer, look at RxBuffer[0], swap LinkHandle).
class D2XXUnit {
public:
    static constexpr quint32 BufferSize = 32768;
    static constexpr int DescriptionSize = 50; // 49 characters and the NUL

    D2XXUnit(D2xxDriver& driver, MessageService& ui);

    d2xx::Handle LinkHandle = 0;
    std::array<quint8, BufferSize> TxBuffer{};
    std::array<quint8, BufferSize> RxBuffer{};
    quint32 RxQueueBytes = 0;
    quint32 DeviceCount = 0;
    std::array<char, DescriptionSize> DescriptionBuffer{};
    bool ReportLinkErrors = true;
    d2xx::Status LastIOStatus = d2xx::FT_OK;
    quint32 LinkBaudRate = 0;
    quint8 LinkWordLength = 0;
    quint8 LinkStopBits = 0;
    quint8 LinkParity = 0;

    // Counts the FTDI devices present into DeviceCount.
    d2xx::Status GetFTDeviceCount();
    // Copies the description into DescriptionBuffer (cut to 49 characters) and opens the
    // device carrying it; LinkHandle receives the handle on success.
    d2xx::Status Open_USB_Device_By_Device_Description(const QString& description);
    d2xx::Status CloseLink();
    d2xx::Status ResetLink();
    // Applies LinkBaudRate.
    d2xx::Status SetLinkBaudRate();
    // Applies LinkWordLength, LinkStopBits and LinkParity.
    d2xx::Status SetLinkDataCharacteristics();
    d2xx::Status SetLinkTimeouts(quint32 readTimeoutMs, quint32 writeTimeoutMs);
    // Polls the receive queue into RxQueueBytes. A failed poll sets RxQueueBytes to 0, so
    // no caller takes a stale count for waiting bytes.
    d2xx::Status GetLinkQueueStatus();
    // Sends the first n bytes of TxBuffer; returns the number written. The status goes to
    // LastIOStatus. n is limited to the buffer size.
    quint32 WriteLink(quint32 n);
    // Reads up to n bytes to the start of RxBuffer; returns the number read. The status
    // goes to LastIOStatus. Bytes not received keep their former value. n is limited to
    // the buffer size.
    quint32 ReadLink(quint32 n);

    // Shows "<label><status text>" in an error box when reports are on and status is not 0.
    void ReportLinkStatus(const QString& label, d2xx::Status status);
    // The text appended to the label for a status, e.g. " - General IO Error...".
    static QString statusText(d2xx::Status status);

    // The description as stored in DescriptionBuffer (up to the NUL).
    QString description() const;

    D2xxDriver& driver() { return driver_; }

private:
    D2xxDriver& driver_;
    MessageService& ui_;
};
