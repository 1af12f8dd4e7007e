#pragma once

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

// A pseudo-terminal: the test plays the converter's far end on the master side.
struct PseudoTerminal {
    PseudoTerminal() {
        master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0)
            return;
        const char* name = ::ptsname(master);
        if (name == nullptr)
            return;
        slavePath = QString::fromLocal8Bit(name);
        // Keep the slave open for the whole test so the terminal never hangs up; the
        // driver's own open sets the line up.
        slave = ::open(name, O_RDWR | O_NOCTTY);
        ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    }
    ~PseudoTerminal() {
        if (slave >= 0)
            ::close(slave);
        hangUp();
    }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    bool ok() const { return master >= 0 && slave >= 0; }

    // The far end goes away, as when the converter is unplugged.
    void hangUp() {
        if (master >= 0)
            ::close(master);
        master = -1;
    }

    // Everything the driver sent, waiting up to `ms` for `count` bytes.
    QByteArray receive(int count, int ms = 1000) {
        QByteArray got;
        QElapsedTimer timer;
        timer.start();
        while (got.size() < count && timer.elapsed() < ms) {
            pollfd p{master, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0)
                continue;
            char buffer[64];
            const ssize_t n =
                ::read(master, buffer, std::min(sizeof buffer, size_t(count - got.size())));
            if (n > 0)
                got.append(buffer, n);
        }
        return got;
    }
    void send(const QByteArray& bytes) {
        QCOMPARE(::write(master, bytes.constData(), size_t(bytes.size())), ssize_t(bytes.size()));
    }

    int master = -1;
    int slave = -1;
    QString slavePath;
};

// A made-up sysfs and /dev below a temporary folder, for SerialDriver(sys, dev).
struct FakeSysfs {
    FakeSysfs() : sys(dir.filePath("sys")), dev(dir.filePath("dev")) {
        QDir().mkpath(sys + "/class/tty");
        QDir().mkpath(dev);
    }

    // A tty on interface 0 of the USB device `usbDevice` ("usb1/1-1"), which tells the given
    // ids, product string and serial number (none when empty).
    void addUsbTty(const QString& tty, const QString& usbDevice, const QByteArray& vendor,
                   const QByteArray& product, const QByteArray& productId = "6001",
                   const QByteArray& serial = {}) {
        const QString usb = sys + "/devices/pci0000:00/" + usbDevice;
        const QString interface = usb + "/" + usbDevice.section('/', 1) + ":1.0";
        const QString port = interface + "/" + tty;
        QDir().mkpath(port);
        write(usb + "/idVendor", vendor + "\n");
        write(usb + "/idProduct", productId + "\n");
        write(usb + "/product", product + "\n");
        if (!serial.isEmpty())
            write(usb + "/serial", serial + "\n");
        write(interface + "/bInterfaceNumber", "00\n");
        QDir().mkpath(sys + "/class/tty/" + tty);
        QFile::link(port, sys + "/class/tty/" + tty + "/device");
    }
    // A built-in port, not on USB.
    void addPlatformTty(const QString& tty) {
        QDir().mkpath(sys + "/devices/platform/serial8250/" + tty);
        QDir().mkpath(sys + "/class/tty/" + tty);
        QFile::link(sys + "/devices/platform/serial8250/" + tty,
                    sys + "/class/tty/" + tty + "/device");
    }
    // The tty's device node leads to `path`.
    void addNode(const QString& tty, const QString& path) { QFile::link(path, dev + "/" + tty); }

    static void write(const QString& path, const QByteArray& text) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(text);
    }

    QTemporaryDir dir;
    QString sys, dev;
};
