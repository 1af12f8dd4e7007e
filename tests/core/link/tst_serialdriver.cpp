#include "core/link/SerialDriver.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

using namespace d2xx;

namespace {

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
        if (master >= 0)
            ::close(master);
    }
    bool ok() const { return master >= 0 && slave >= 0; }

    // Everything the driver sent, waiting up to a second for `count` bytes.
    QByteArray receive(int count) {
        QByteArray got;
        QElapsedTimer timer;
        timer.start();
        while (got.size() < count && timer.elapsed() < 1000) {
            pollfd p{master, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0)
                continue;
            char buffer[64];
            const ssize_t n = ::read(master, buffer, sizeof buffer);
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

// A made-up sysfs with three USB serial converters and one other tty:
//   ttyUSB0: FTDI (0403), "QRV 2.0", its node leads to the pseudo-terminal
//   ttyUSB1: another vendor (10c4), "QRV 2.0" as well - not an FTDI converter
//   ttyUSB2: FTDI, "FT232R USB UART", no device node
//   ttyS0:   a built-in port
struct FakeSystem {
    explicit FakeSystem(const QString& ptyPath) {
        sys = dir.filePath("sys");
        dev = dir.filePath("dev");
        addUsbTty("ttyUSB0", "usb1/1-1", "0403", "QRV 2.0");
        addUsbTty("ttyUSB1", "usb1/1-2", "10c4", "QRV 2.0");
        addUsbTty("ttyUSB2", "usb2/2-1", "0403", "FT232R USB UART");
        QDir().mkpath(sys + "/devices/platform/serial8250/ttyS0");
        QDir().mkpath(sys + "/class/tty/ttyS0");
        QFile::link(sys + "/devices/platform/serial8250/ttyS0", sys + "/class/tty/ttyS0/device");
        QDir().mkpath(dev);
        QFile::link(ptyPath, dev + "/ttyUSB0");
    }
    void addUsbTty(const QString& tty, const QString& usbDevice, const QByteArray& vendor,
                   const QByteArray& product) {
        const QString usb = sys + "/devices/pci0000:00/" + usbDevice;
        const QString port = usb + "/" + usbDevice.section('/', 1) + ":1.0/" + tty;
        QDir().mkpath(port);
        write(usb + "/idVendor", vendor + "\n");
        write(usb + "/product", product + "\n");
        write(usb + "/" + usbDevice.section('/', 1) + ":1.0/bInterfaceNumber", "00\n");
        QDir().mkpath(sys + "/class/tty/" + tty);
        QFile::link(port, sys + "/class/tty/" + tty + "/device");
    }
    static void write(const QString& path, const QByteArray& text) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(text);
    }

    QTemporaryDir dir;
    QString sys, dev;
};

} // namespace

class TestSerialDriver : public QObject {
    Q_OBJECT
private slots:
    void findsFtdiConverters() {
        PseudoTerminal pty;
        QVERIFY(pty.ok());
        FakeSystem fake(pty.slavePath);
        SerialDriver driver(fake.sys, fake.dev);

        const auto ports = driver.ftdiPorts();
        QCOMPARE(ports.size(), 2);
        QCOMPARE(ports[0].ttyName, QStringLiteral("ttyUSB0"));
        QCOMPARE(ports[0].description, QStringLiteral("QRV 2.0"));
        QCOMPARE(ports[1].description, QStringLiteral("FT232R USB UART"));

        quint32 count = 99;
        QCOMPARE(driver.listDevices(&count, nullptr, FT_LIST_NUMBER_ONLY), FT_OK);
        QCOMPARE(count, 2u);
        QCOMPARE(driver.listDevices(&count, nullptr, 0), FT_INVALID_PARAMETER);

        SerialDriver empty(fake.dir.filePath("nothing"), fake.dev);
        QCOMPARE(empty.listDevices(&count, nullptr, FT_LIST_NUMBER_ONLY), FT_OK);
        QCOMPARE(count, 0u);
    }

    void openByDescription_data() {
        QTest::addColumn<QByteArray>("description");
        QTest::addColumn<quint32>("status");
        QTest::newRow("timing unit") << QByteArray("QRV 2.0") << FT_OK;
        QTest::newRow("no converter carries it") << QByteArray("VudurEve") << FT_DEVICE_NOT_FOUND;
        QTest::newRow("empty") << QByteArray("") << FT_DEVICE_NOT_FOUND;
        QTest::newRow("case matters") << QByteArray("qrv 2.0") << FT_DEVICE_NOT_FOUND;
        QTest::newRow("converter without a node")
            << QByteArray("FT232R USB UART") << FT_DEVICE_NOT_OPENED;
    }
    void openByDescription() {
        QFETCH(QByteArray, description);
        QFETCH(quint32, status);
        PseudoTerminal pty;
        QVERIFY(pty.ok());
        FakeSystem fake(pty.slavePath);
        SerialDriver driver(fake.sys, fake.dev);

        Handle handle = 0;
        QCOMPARE(driver.openEx(description.constData(), FT_OPEN_BY_DESCRIPTION, &handle), status);
        QCOMPARE(handle != 0, status == FT_OK);
        if (status != FT_OK)
            return;
        // One user at a time, as with the vendor library.
        Handle second = 0;
        QCOMPARE(driver.openEx(description.constData(), FT_OPEN_BY_DESCRIPTION, &second),
                 FT_DEVICE_NOT_OPENED);
        QCOMPARE(second, Handle{0});
        QCOMPARE(driver.close(handle), FT_OK);
        QCOMPARE(driver.close(handle), FT_INVALID_HANDLE);
        QCOMPARE(driver.openEx(description.constData(), FT_OPEN_BY_DESCRIPTION, &second), FT_OK);
        QVERIFY(second != handle);
    }

    void callsOnUnknownHandles() {
        SerialDriver driver(QStringLiteral("/nonexistent"), QStringLiteral("/nonexistent"));
        quint32 n = 0;
        char byte = 0;
        QCOMPARE(driver.close(0), FT_INVALID_HANDLE);
        QCOMPARE(driver.resetDevice(0), FT_INVALID_HANDLE);
        QCOMPARE(driver.setBaudRate(0, 19200), FT_INVALID_HANDLE);
        QCOMPARE(driver.setDataCharacteristics(0, 8, 0, 0), FT_INVALID_HANDLE);
        QCOMPARE(driver.setTimeouts(0, 500, 500), FT_INVALID_HANDLE);
        QCOMPARE(driver.getQueueStatus(0, &n), FT_INVALID_HANDLE);
        QCOMPARE(driver.write(0, &byte, 1, &n), FT_INVALID_HANDLE);
        QCOMPARE(driver.read(42, &byte, 1, &n), FT_INVALID_HANDLE);
    }

    // Real bytes over a real terminal, configured as the timing unit's line.
    void bytesCrossTheLine() {
        PseudoTerminal pty;
        QVERIFY(pty.ok());
        FakeSystem fake(pty.slavePath);
        SerialDriver driver(fake.sys, fake.dev);
        Handle h = 0;
        QCOMPARE(driver.openEx("QRV 2.0", FT_OPEN_BY_DESCRIPTION, &h), FT_OK);
        QCOMPARE(driver.setDataCharacteristics(h, FT_BITS_8, FT_STOP_BITS_1, FT_PARITY_NONE),
                 FT_OK);
        QCOMPARE(driver.resetDevice(h), FT_OK);
        QCOMPARE(driver.setBaudRate(h, 19200), FT_OK);
        QCOMPARE(driver.setTimeouts(h, 200, 200), FT_OK);

        termios t{};
        QCOMPARE(::tcgetattr(pty.slave, &t), 0);
        QCOMPARE(::cfgetospeed(&t), speed_t(B19200));
        QCOMPARE(::cfgetispeed(&t), speed_t(B19200));
        QCOMPARE(t.c_cflag & CSIZE, tcflag_t(CS8));
        QCOMPARE(t.c_cflag & (PARENB | CSTOPB | CRTSCTS), tcflag_t(0));
        QCOMPARE(t.c_lflag & (ICANON | ECHO), tcflag_t(0)); // raw: bytes pass unchanged
        QCOMPARE(t.c_oflag & OPOST, tcflag_t(0));

        // Program to unit: every byte value, unchanged.
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        quint32 written = 0;
        QCOMPARE(driver.write(h, all.constData(), quint32(all.size()), &written), FT_OK);
        QCOMPARE(written, 256u);
        QCOMPARE(pty.receive(256), all);

        // Unit to program: the queue counts what arrived, a read takes it in order.
        pty.send(QByteArray("\x00\xC8\x01\xF4\x0D\x0A\xFB", 7));
        quint32 waiting = 0;
        QElapsedTimer timer;
        timer.start();
        while (waiting < 7 && timer.elapsed() < 1000)
            QCOMPARE(driver.getQueueStatus(h, &waiting), FT_OK);
        QCOMPARE(waiting, 7u);
        char buffer[16] = {};
        quint32 got = 0;
        QCOMPARE(driver.read(h, buffer, 1, &got), FT_OK);
        QCOMPARE(got, 1u);
        QCOMPARE(buffer[0], '\x00');
        QCOMPARE(driver.getQueueStatus(h, &waiting), FT_OK);
        QCOMPARE(waiting, 6u);
        QCOMPARE(driver.read(h, buffer, 6, &got), FT_OK);
        QCOMPARE(QByteArray(buffer, int(got)), QByteArray("\xC8\x01\xF4\x0D\x0A\xFB"));

        // Nothing waiting: the read gives up after its time-out with nothing.
        timer.restart();
        QCOMPARE(driver.read(h, buffer, 1, &got), FT_OK);
        QCOMPARE(got, 0u);
        QVERIFY2(timer.elapsed() >= 190 && timer.elapsed() < 3000,
                 qPrintable(QString::number(timer.elapsed())));

        // A byte that comes during the wait ends it early.
        QCOMPARE(driver.setTimeouts(h, 800, 800), FT_OK);
        pty.send("Q");
        timer.restart();
        QCOMPARE(driver.read(h, buffer, 1, &got), FT_OK);
        QCOMPARE(got, 1u);
        QCOMPARE(buffer[0], 'Q');
        QVERIFY(timer.elapsed() < 700);

        // A reset empties what was waiting.
        pty.send("RV");
        timer.restart();
        do
            QCOMPARE(driver.getQueueStatus(h, &waiting), FT_OK);
        while (waiting < 2 && timer.elapsed() < 1000);
        QCOMPARE(waiting, 2u);
        QCOMPARE(driver.resetDevice(h), FT_OK);
        QCOMPARE(driver.getQueueStatus(h, &waiting), FT_OK);
        QCOMPARE(waiting, 0u);

        QCOMPARE(driver.close(h), FT_OK);
    }

    // The codes of the data characteristics as termios flags.
    void dataCharacteristics_data() {
        QTest::addColumn<quint8>("wordLength");
        QTest::addColumn<quint8>("stopBits");
        QTest::addColumn<quint8>("parity");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<uint>("flags"); // CSIZE, CSTOPB, PARENB, PARODD, CMSPAR

        QTest::newRow("8N1") << quint8{8} << quint8{0} << quint8{0} << true << uint(CS8);
        QTest::newRow("7E2") << quint8{7} << quint8{2} << quint8{2} << true
                             << uint(CS7 | CSTOPB | PARENB);
        QTest::newRow("8O1") << quint8{8} << quint8{0} << quint8{1} << true
                             << uint(CS8 | PARENB | PARODD);
        QTest::newRow("8M1") << quint8{8} << quint8{0} << quint8{3} << true
                             << uint(CS8 | PARENB | PARODD | CMSPAR);
        QTest::newRow("8S1") << quint8{8} << quint8{0} << quint8{4} << true
                             << uint(CS8 | PARENB | CMSPAR);
        QTest::newRow("word length 5") << quint8{5} << quint8{0} << quint8{0} << false << 0u;
        QTest::newRow("stop bits code 1") << quint8{8} << quint8{1} << quint8{0} << false << 0u;
        QTest::newRow("parity code 5") << quint8{8} << quint8{0} << quint8{5} << false << 0u;
    }
    void dataCharacteristics() {
        QFETCH(quint8, wordLength);
        QFETCH(quint8, stopBits);
        QFETCH(quint8, parity);
        QFETCH(bool, valid);
        QFETCH(uint, flags);

        // Start from the opposite settings, with other flags that must stay.
        const uint others = CREAD | CLOCAL | HUPCL;
        const uint start = others | CS5 | CSTOPB | PARENB | PARODD | CMSPAR;
        uint cflag = start;
        QCOMPARE(SerialDriver::applyDataCharacteristics(cflag, wordLength, stopBits, parity),
                 valid);
        QCOMPARE(cflag, valid ? others | flags : start);
    }

    // On an open line: the service device's rate, unknown rates and codes refused.
    void lineSettings() {
        PseudoTerminal pty;
        QVERIFY(pty.ok());
        FakeSystem fake(pty.slavePath);
        SerialDriver driver(fake.sys, fake.dev);
        Handle h = 0;
        QCOMPARE(driver.openEx("QRV 2.0", FT_OPEN_BY_DESCRIPTION, &h), FT_OK);
        QCOMPARE(driver.setBaudRate(h, 115200), FT_OK);
        QCOMPARE(driver.setBaudRate(h, 12345), FT_INVALID_BAUD_RATE);
        QCOMPARE(driver.setDataCharacteristics(h, 8, 2, 0), FT_OK);
        QCOMPARE(driver.setDataCharacteristics(h, 8, 1, 0), FT_INVALID_PARAMETER);
        termios t{};
        QCOMPARE(::tcgetattr(pty.slave, &t), 0);
        QCOMPARE(::cfgetospeed(&t), speed_t(B115200));
        QVERIFY((t.c_cflag & CSTOPB) != 0);
    }
};

QTEST_GUILESS_MAIN(TestSerialDriver)
#include "tst_serialdriver.moc"
