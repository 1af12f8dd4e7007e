#pragma once

#include "core/link/D2xxDriver.h"

#include <QList>
#include <QString>

#include <map>

// The D2XX calls on Linux: FTDI converters appear as /dev/ttyUSB<n> through the kernel's
// ftdi_sio driver. sysfs tells each tty's USB vendor id and product string (the device
// description); the tty is driven through termios in raw mode.
//
// The sysfs and /dev roots are constructor arguments so that a test can point the driver at
// a made-up sysfs tree whose tty leads to a pseudo-terminal.
class SerialDriver : public D2xxDriver {
public:
    explicit SerialDriver(QString sysfsRoot = QStringLiteral("/sys"),
                          QString devRoot = QStringLiteral("/dev"));
    ~SerialDriver() override;
    SerialDriver(const SerialDriver&) = delete;
    SerialDriver& operator=(const SerialDriver&) = delete;

    struct Port {
        QString ttyName;     // "ttyUSB0"
        QString description; // the USB product string
    };
    // The FTDI converters present (vendor 0403), ordered by tty number.
    QList<Port> ftdiPorts() const;

    // Sets the word length, stop bits and parity of termios control flags from the D2XX
    // codes; false for a code that does not exist (flags unchanged).
    static bool applyDataCharacteristics(unsigned int& cflag, quint8 wordLength, quint8 stopBits,
                                         quint8 parity);

    d2xx::Status listDevices(void* arg1, void* arg2, quint32 flags) override;
    d2xx::Status openEx(const void* arg, quint32 flags, d2xx::Handle* handle) override;
    d2xx::Status close(d2xx::Handle handle) override;
    d2xx::Status resetDevice(d2xx::Handle handle) override;
    d2xx::Status setBaudRate(d2xx::Handle handle, quint32 baudRate) override;
    d2xx::Status setDataCharacteristics(d2xx::Handle handle, quint8 wordLength, quint8 stopBits,
                                        quint8 parity) override;
    d2xx::Status setTimeouts(d2xx::Handle handle, quint32 readTimeoutMs,
                             quint32 writeTimeoutMs) override;
    d2xx::Status getQueueStatus(d2xx::Handle handle, quint32* rxBytes) override;
    d2xx::Status write(d2xx::Handle handle, const void* buffer, quint32 count,
                       quint32* written) override;
    d2xx::Status read(d2xx::Handle handle, void* buffer, quint32 count, quint32* read) override;

private:
    struct OpenLine {
        int fd = -1;
        QString ttyName;
        quint32 readTimeoutMs = 0; // 0: return at once with what has arrived
        quint32 writeTimeoutMs = 0;
    };
    OpenLine* find(d2xx::Handle handle);

    QString sysfsRoot_;
    QString devRoot_;
    std::map<d2xx::Handle, OpenLine> open_;
    d2xx::Handle nextHandle_ = 1;
};
