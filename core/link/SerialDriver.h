#pragma once

#include "core/link/D2xxDriver.h"

#include <QList>
#include <QString>

#include <map>
#include <memory>
#include <optional>

class QSocketNotifier;

// The D2XX calls on Linux: FTDI converters appear as /dev/ttyUSB<n> through the kernel's
// ftdi_sio driver. sysfs tells each tty's USB vendor id and product string (the device
// description); the tty is driven through termios in raw mode. A description can also be
// tied to a device file, which is then opened without a look at sysfs: the way to a unit
// behind a converter with another product string, or behind any other serial line.
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

    // A tty carried by a USB device, as sysfs describes it.
    struct UsbPort {
        QString ttyName;    // "ttyUSB0"
        QString deviceFile; // "/dev/ttyUSB0" (below the /dev root)
        QString vendorId;   // "0403"
        QString productId;  // "6001"
        QString product;    // the USB product string, the D2XX device description
        QString serialNumber;
    };
    // Every USB serial converter present (any vendor, ttyUSB<n> and ttyACM<n> alike), ordered
    // by tty name and number.
    QList<UsbPort> usbPorts() const;
    // The FTDI converters among them (vendor 0403, ttyUSB<n>): the devices of the D2XX calls.
    QList<UsbPort> ftdiPorts() const;

    // From now on an open by this description opens the device file at `path` and skips the
    // look-up; the file counts as one more device present.
    void useDeviceFile(const QString& description, const QString& path);
    // The device files tied to descriptions by useDeviceFile.
    const std::map<QString, QString>& deviceFiles() const { return deviceFiles_; }

    // Whether the file at `path` can carry a serial line: it exists, this user may open it for
    // reading and writing, and it is a tty. Nothing when it can. It is not locked: the lock
    // of another program is met by the open that uses the line.
    static std::optional<DeviceFileProblem> checkDeviceFile(const QString& path);

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
    std::optional<DeviceFileProblem> lastOpenProblem() const override { return lastOpenProblem_; }
    // Watches the line's device file for bytes to read.
    bool notifyArrival(d2xx::Handle handle, std::function<void()> arrived) override;

private:
    struct OpenLine {
        int fd = -1;
        QString deviceFile;        // canonical where it can be
        quint32 readTimeoutMs = 0; // 0: return at once with what has arrived
        quint32 writeTimeoutMs = 0;
    };
    OpenLine* find(d2xx::Handle handle);
    bool isHeld(const QString& deviceFile) const;

    QString sysfsRoot_;
    QString devRoot_;
    std::map<QString, QString> deviceFiles_; // description -> device file
    std::map<d2xx::Handle, OpenLine> open_;
    // A watch can end inside its own call (the run that it told ends): it is switched off
    // at once and deleted by the event loop.
    struct LaterDeleter {
        void operator()(QSocketNotifier* notifier) const;
    };
    std::map<d2xx::Handle, std::unique_ptr<QSocketNotifier, LaterDeleter>> notifiers_;
    std::optional<DeviceFileProblem> lastOpenProblem_;
    d2xx::Handle nextHandle_ = 1;
};
