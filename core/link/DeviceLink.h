#pragma once

#include "core/link/D2xxDriver.h"

#include <QString>

#include <array>
#include <functional>

// Thin wrapper over the D2XX calls: one shared device handle, one transmit and one receive
// buffer, one error report. There is one instance for the whole program. Every operation
// calls one driver function on `handle` and returns the driver's status; none throws. While
// `reportErrors` is on, a failing status is handed to the status reporter as
// "<label><status text>" (the window shows it in an error box).
//
// The state is public on purpose: the timing link and the service link work on it directly
// (they fill txBuffer, look at rxBuffer[0], and the service link lends `handle` for the
// duration of one command).
class DeviceLink {
public:
    static constexpr quint32 kBufferSize = 32768;
    static constexpr int kDescriptionSize = 50; // 49 characters and the NUL
    using StatusReporter = std::function<void(const QString& text)>;

    explicit DeviceLink(D2xxDriver& driver);

    d2xx::Handle handle = 0;
    std::array<quint8, kBufferSize> txBuffer{};
    std::array<quint8, kBufferSize> rxBuffer{};
    quint32 bytesWaiting = 0;
    quint32 deviceCount = 0;
    std::array<char, kDescriptionSize> descriptionBuffer{};
    bool reportErrors = true;
    d2xx::Status lastIoStatus = d2xx::FT_OK;
    quint32 baudRate = 0;
    quint8 wordLength = 0;
    quint8 stopBits = 0;
    quint8 parity = 0;

    void setStatusReporter(StatusReporter reporter) { reporter_ = std::move(reporter); }

    // Counts the FTDI devices present into deviceCount.
    d2xx::Status countDevices();
    // Copies the description into descriptionBuffer (cut to 49 characters) and opens the
    // device carrying it; `handle` receives the handle on success.
    d2xx::Status openByDescription(const QString& description);
    d2xx::Status close();
    d2xx::Status reset();
    // Applies baudRate.
    d2xx::Status applyBaudRate();
    // Applies wordLength, stopBits and parity.
    d2xx::Status applyDataCharacteristics();
    d2xx::Status setTimeouts(quint32 readTimeoutMs, quint32 writeTimeoutMs);
    // Polls the receive queue into bytesWaiting. A failed poll sets bytesWaiting to 0, so no
    // caller takes a stale count for waiting bytes.
    d2xx::Status pollQueue();
    // Sends the first n bytes of txBuffer; returns the number written. The status goes to
    // lastIoStatus. n is limited to the buffer size.
    quint32 write(quint32 n);
    // Reads up to n bytes to the start of rxBuffer; returns the number read. The status goes
    // to lastIoStatus. Bytes not received keep their former value. n is limited to the
    // buffer size.
    quint32 read(quint32 n);

    // Hands "<label><status text>" to the reporter when reports are on and status is not 0.
    void reportStatus(const QString& label, d2xx::Status status);
    // The text appended to the label for a status, e.g. " - General IO Error...".
    static QString statusText(d2xx::Status status);

    // The description as stored in descriptionBuffer (up to the NUL).
    QString description() const;

    D2xxDriver& driver() { return driver_; }

private:
    D2xxDriver& driver_;
    StatusReporter reporter_;
};

// Puts a saved handle back when it goes out of scope, however the scope is left.
class SavedHandle {
public:
    explicit SavedHandle(DeviceLink& link) : link_(link), saved_(link.handle) {}
    // Saves the handle and lends `borrowed` for the life of this object.
    SavedHandle(DeviceLink& link, d2xx::Handle borrowed) : SavedHandle(link) {
        link_.handle = borrowed;
    }
    ~SavedHandle() { link_.handle = saved_; }
    SavedHandle(const SavedHandle&) = delete;
    SavedHandle& operator=(const SavedHandle&) = delete;

    d2xx::Handle saved() const { return saved_; }

private:
    DeviceLink& link_;
    d2xx::Handle saved_;
};
