#include "core/link/SerialDriver.h"
#include "support/SerialFakes.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/file.h>
#include <termios.h>
#include <unistd.h>

using namespace d2xx;

namespace {

// A made-up sysfs with three USB serial converters and one other tty:
//   ttyUSB0: FTDI (0403), "QRV 2.0", its node leads to the pseudo-terminal
//   ttyUSB1: another vendor (10c4), "QRV 2.0" as well - not an FTDI converter
//   ttyUSB2: FTDI, "FT232R USB UART", no device node
//   ttyS0:   a built-in port
struct FakeSystem : FakeSysfs {
    explicit FakeSystem(const QString& ptyPath) {
        addUsbTty("ttyUSB0", "usb1/1-1", "0403", "QRV 2.0");
        addUsbTty("ttyUSB1", "usb1/1-2", "10c4", "QRV 2.0");
        addUsbTty("ttyUSB2", "usb2/2-1", "0403", "FT232R USB UART");
        addPlatformTty("ttyS0");
        addNode("ttyUSB0", ptyPath);
    }
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
        QCOMPARE(ports[0].product, QStringLiteral("QRV 2.0"));
        QCOMPARE(ports[1].product, QStringLiteral("FT232R USB UART"));

        quint32 count = 99;
        QCOMPARE(driver.listDevices(&count, nullptr, FT_LIST_NUMBER_ONLY), FT_OK);
        QCOMPARE(count, 2u);
        QCOMPARE(driver.listDevices(&count, nullptr, 0), FT_INVALID_PARAMETER);

        SerialDriver empty(fake.dir.filePath("nothing"), fake.dev);
        QCOMPARE(empty.listDevices(&count, nullptr, FT_LIST_NUMBER_ONLY), FT_OK);
        QCOMPARE(count, 0u);
    }

    // Every USB serial converter, whatever its vendor or tty kind, with what sysfs tells.
    void usbPorts() {
        FakeSysfs fake;
        fake.addUsbTty("ttyUSB10", "usb1/1-1", "0403", "QRV 2.0", "6001", "A50285BI");
        fake.addUsbTty("ttyACM0", "usb1/1-2", "2341", "Uno", "0043", "7563");
        fake.addUsbTty("ttyUSB2", "usb2/2-1", "0403", "FT232R USB UART", "6015");
        fake.addPlatformTty("ttyS0");
        SerialDriver driver(fake.sys, fake.dev);

        QStringList facts;
        for (const auto& port : driver.usbPorts())
            facts << QStringList{port.ttyName,  port.deviceFile.mid(fake.dir.path().size()),
                                 port.vendorId, port.productId,
                                 port.product,  port.serialNumber}
                         .join('|');
        QCOMPARE(facts, (QStringList{"ttyACM0|/dev/ttyACM0|2341|0043|Uno|7563",
                                     "ttyUSB2|/dev/ttyUSB2|0403|6015|FT232R USB UART|",
                                     "ttyUSB10|/dev/ttyUSB10|0403|6001|QRV 2.0|A50285BI"}));
        QStringList ftdi;
        for (const auto& port : driver.ftdiPorts())
            ftdi << port.ttyName;
        QCOMPARE(ftdi, (QStringList{"ttyUSB2", "ttyUSB10"}));
    }

    // A description tied to a device file opens that file, found by sysfs or not, and the
    // file counts as a device once.
    void tiedDeviceFile() {
        PseudoTerminal pty;
        QVERIFY(pty.ok());
        PseudoTerminal other;
        QVERIFY(other.ok());
        FakeSystem fake(pty.slavePath);
        SerialDriver driver(fake.sys, fake.dev);
        const auto count = [&] {
            quint32 n = 0;
            driver.listDevices(&n, nullptr, FT_LIST_NUMBER_ONLY);
            return n;
        };
        QCOMPARE(count(), 2u);
        driver.useDeviceFile("QRV 2.0", fake.dev + "/ttyUSB0"); // the one sysfs finds
        QCOMPARE(count(), 2u);
        driver.useDeviceFile("FT232R USB UART", other.slavePath); // a line sysfs does not know
        QCOMPARE(count(), 3u);
        driver.useDeviceFile("VudurEve", fake.dir.filePath("unplugged")); // missing just now
        QCOMPARE(count(), 4u);

        Handle h = 0;
        QCOMPARE(driver.openEx("FT232R USB UART", FT_OPEN_BY_DESCRIPTION, &h), FT_OK);
        quint32 written = 0;
        QCOMPARE(driver.write(h, "\xFB", 1, &written), FT_OK);
        QCOMPARE(other.receive(1), QByteArray("\xFB"));
        // Held already: by this driver, under any name of the same file.
        Handle second = 0;
        driver.useDeviceFile("QRV 2.0", other.slavePath);
        QCOMPARE(driver.openEx("QRV 2.0", FT_OPEN_BY_DESCRIPTION, &second), FT_DEVICE_NOT_OPENED);
        QVERIFY(!driver.lastOpenProblem());
    }

    // An open that finds the device file but cannot use it tells why, through the seam.
    void openProblems_data() {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<quint32>("status");
        QTest::addColumn<int>("cause"); // -1: no problem
        QTest::newRow("converter, no device node")
            << "no node" << FT_DEVICE_NOT_OPENED << int(DeviceFileProblem::Cause::Missing);
        QTest::newRow("held by another program")
            << "locked" << FT_DEVICE_NOT_OPENED << int(DeviceFileProblem::Cause::Busy);
        QTest::newRow("tied to a plain file")
            << "plain file" << FT_DEVICE_NOT_OPENED << int(DeviceFileProblem::Cause::NotATerminal);
        QTest::newRow("tied to a missing file")
            << "missing" << FT_DEVICE_NOT_OPENED << int(DeviceFileProblem::Cause::Missing);
        QTest::newRow("not readable for this user") << "no permission" << FT_DEVICE_NOT_OPENED
                                                    << int(DeviceFileProblem::Cause::NoPermission);
        QTest::newRow("no converter carries it") << "absent" << FT_DEVICE_NOT_FOUND << -1;
        QTest::newRow("opened") << "pty" << FT_OK << -1;
    }
    void openProblems() {
        QFETCH(QString, setup);
        QFETCH(quint32, status);
        QFETCH(int, cause);
        if (setup == "no permission" && ::geteuid() == 0)
            QSKIP("root opens any file");
        PseudoTerminal pty;
        QVERIFY(pty.ok());
        FakeSystem fake(pty.slavePath);
        SerialDriver driver(fake.sys, fake.dev);

        QByteArray description = "QRV 2.0";
        QString file = fake.dev + "/ttyUSB0";
        int lockHolder = -1;
        if (setup == "no node") {
            description = "FT232R USB UART";
            file = fake.dev + "/ttyUSB2";
        } else if (setup == "locked") {
            lockHolder = ::open(qPrintable(pty.slavePath), O_RDWR | O_NOCTTY);
            QCOMPARE(::flock(lockHolder, LOCK_EX | LOCK_NB), 0);
        } else if (setup == "plain file" || setup == "no permission") {
            file = fake.dir.filePath("plain");
            FakeSysfs::write(file, "text");
            if (setup == "no permission")
                QVERIFY(QFile::setPermissions(file, QFileDevice::Permissions{}));
            driver.useDeviceFile("QRV 2.0", file);
        } else if (setup == "missing") {
            file = fake.dir.filePath("gone");
            driver.useDeviceFile("QRV 2.0", file);
        } else if (setup == "absent") {
            description = "VudurEve";
        }
        // A problem of an earlier open never lingers.
        Handle h = 0;
        driver.useDeviceFile("left over", fake.dir.filePath("also gone"));
        QCOMPARE(driver.openEx("left over", FT_OPEN_BY_DESCRIPTION, &h), FT_DEVICE_NOT_OPENED);
        QVERIFY(driver.lastOpenProblem().has_value());

        QCOMPARE(driver.openEx(description.constData(), FT_OPEN_BY_DESCRIPTION, &h), status);
        const auto problem = driver.lastOpenProblem();
        QCOMPARE(problem.has_value(), cause >= 0);
        if (problem) {
            QCOMPARE(int(problem->cause), cause);
            QCOMPARE(problem->deviceFile, file);
            QVERIFY(!problem->systemText.isEmpty());
        }
        if (lockHolder >= 0)
            ::close(lockHolder);
    }

    // Whether a file can carry the line, as checked before the program starts.
    void checkDeviceFile_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("cause"); // -1: usable
        QTest::newRow("terminal") << "pty" << -1;
        QTest::newRow("plain file") << "plain" << int(DeviceFileProblem::Cause::NotATerminal);
        QTest::newRow("folder") << "." << int(DeviceFileProblem::Cause::NotATerminal);
        QTest::newRow("device, no terminal")
            << "/dev/null" << int(DeviceFileProblem::Cause::NotATerminal);
        QTest::newRow("missing") << "missing" << int(DeviceFileProblem::Cause::Missing);
    }
    void checkDeviceFile() {
        QFETCH(QString, file);
        QFETCH(int, cause);
        PseudoTerminal pty;
        QVERIFY(pty.ok());
        QTemporaryDir dir;
        FakeSysfs::write(dir.filePath("plain"), "text");
        const QString path = file == "pty"          ? pty.slavePath
                             : file.startsWith('/') ? file
                                                    : dir.filePath(file);
        const auto problem = SerialDriver::checkDeviceFile(path);
        QCOMPARE(problem.has_value(), cause >= 0);
        if (problem) {
            QCOMPARE(int(problem->cause), cause);
            QCOMPARE(problem->deviceFile, path);
        }
    }

    // A line whose far end went away (unplugged) fails every poll and read from then on,
    // instead of looking like a silent unit.
    void hungUpLine() {
        PseudoTerminal pty;
        QVERIFY(pty.ok());
        FakeSystem fake(pty.slavePath);
        SerialDriver driver(fake.sys, fake.dev);
        Handle h = 0;
        QCOMPARE(driver.openEx("QRV 2.0", FT_OPEN_BY_DESCRIPTION, &h), FT_OK);
        QCOMPARE(driver.setTimeouts(h, 200, 200), FT_OK);
        quint32 waiting = 99;
        QCOMPARE(driver.getQueueStatus(h, &waiting), FT_OK);
        QCOMPARE(waiting, 0u);

        pty.hangUp();
        QCOMPARE(driver.getQueueStatus(h, &waiting), FT_IO_ERROR);
        char byte = 0;
        quint32 got = 0;
        QCOMPARE(driver.read(h, &byte, 1, &got), FT_IO_ERROR);
        QCOMPARE(got, 0u);
        QCOMPARE(driver.close(h), FT_OK);
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
