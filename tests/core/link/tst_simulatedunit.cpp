#include "core/base/Clock.h"
#include "core/base/Errors.h"
#include "core/link/ByteLogDriver.h"
#include "core/link/SerialDriver.h"
#include "core/link/SimulatedUnit.h"
#include "core/link/TimingDriverFactory.h"
#include "core/link/TimingLink.h"
#include "core/link/UnitScript.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace d2xx;

Q_DECLARE_METATYPE(QList<UnitScriptStep>)

namespace {

// The link over a simulated unit on a virtual clock that moves 1 ms per reading.
struct Rig {
    explicit Rig(std::unique_ptr<SimulatedUnit> simulated)
        : driver(std::move(simulated)), unit(*driver), link(unit, clock) {}
    static std::unique_ptr<SimulatedUnit> scripted(VirtualClock& clock, const QByteArray& text) {
        QString error;
        const auto script = parseUnitScript(text, QStringLiteral("test.txt"), &error);
        if (!script)
            qFatal("%s", qPrintable(error));
        return createScriptedUnit(clock, *script);
    }

    // Awaits and reads n bytes as the run does, each within 2000 ms.
    QByteArray takeBytes(int n) {
        QByteArray bytes;
        for (int i = 0; i < n; ++i) {
            if (!link.waitForByte(2000))
                break;
            bytes.append(char(link.receiveByte()));
        }
        return bytes;
    }

    static inline VirtualClock clock{0, 1};
    std::unique_ptr<SimulatedUnit> driver;
    DeviceLink unit;
    TimingLink link;
};

// What an open returned as a number: 0 opened, 1 open failed, 3 no device, -1 the silent
// abort.
int tryOpen(TimingLink& link) {
    try {
        switch (link.open()) {
        case TimingLink::OpenResult::Opened:
            return 0;
        case TimingLink::OpenResult::OpenFailed:
            return 1;
        case TimingLink::OpenResult::NoDevice:
            return 3;
        }
    } catch (const SilentAbort&) {
        return -1;
    }
    return -2;
}

UnitScriptStep step(quint32 delay, std::initializer_list<int> bytes) {
    UnitScriptStep s{delay, {}};
    for (const int b : bytes)
        s.bytes.append(char(b));
    return s;
}

} // namespace

class TestSimulatedUnit : public QObject {
    Q_OBJECT
private slots:
    void parseScript_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<quint32>("devices");
        QTest::addColumn<QString>("description");
        QTest::addColumn<int>("startAnswer"); // -1 = none
        QTest::addColumn<QList<UnitScriptStep>>("steps");

        QTest::newRow("empty: defaults")
            << QByteArray() << 1u << "QRV 2.0" << 251 << QList<UnitScriptStep>{};
        QTest::newRow("example") << QByteArray("devices: 1              # FTDI devices present\n"
                                               "description: QRV 2.0    # description\n"
                                               "start-answer: 251\n"
                                               "500: 0 200 1 244        # 500 ms later\n"
                                               "800: 253 0 180\n")
                                 << 1u << "QRV 2.0" << 251
                                 << QList<UnitScriptStep>{step(500, {0, 200, 1, 244}),
                                                          step(800, {253, 0, 180})};
        QTest::newRow("any order, none, comments, CRLF, tabs")
            << QByteArray("# a silent unit\r\n\r\nstart-answer: none\r\n   \r\n"
                          "description:  Test Unit 3 # trailing\r\ndevices: 0\r\n"
                          "0:\t254  1\t44\r\n#only a comment\r\n3600000: 255\r\n")
            << 0u << "Test Unit 3" << -1
            << QList<UnitScriptStep>{step(0, {254, 1, 44}), step(3600000, {255})};
        QTest::newRow("byte order mark, other answer, several devices")
            << QByteArray("\xEF\xBB\xBF"
                          "START-ANSWER: 7\ndevices: 16\ndescription: Gerät")
            << 16u << "Gerät" << 7 << QList<UnitScriptStep>{};
    }
    void parseScript() {
        QFETCH(QByteArray, text);
        QFETCH(quint32, devices);
        QFETCH(QString, description);
        QFETCH(int, startAnswer);
        QFETCH(QList<UnitScriptStep>, steps);

        QString error;
        const auto script = parseUnitScript(text, QStringLiteral("script.txt"), &error);
        QVERIFY2(script.has_value(), qPrintable(error));
        QCOMPARE(script->devices, devices);
        QCOMPARE(script->description, description);
        QCOMPARE(script->startAnswer.has_value(), startAnswer >= 0);
        if (startAnswer >= 0)
            QCOMPARE(int(*script->startAnswer), startAnswer);
        QCOMPARE(script->steps, steps);
    }

    void parseServiceLines_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<quint32>("devices");
        QTest::addColumn<quint32>("serviceDevices");
        QTest::addColumn<int>("serviceAnswer"); // -1 = none

        QTest::newRow("defaults") << QByteArray() << 1u << 0u << 1;
        QTest::newRow("service device")
            << QByteArray("service-devices: 1\n100: 0 200 1 244\n") << 1u << 1u << 1;
        QTest::newRow("refusing") << QByteArray("devices: 2\nservice-answer: 0\nservice-devices: 1")
                                  << 2u << 1u << 0;
        QTest::newRow("silent, upper case")
            << QByteArray("SERVICE-DEVICES: 1 # present\nService-Answer: NONE") << 1u << 1u << -1;
        QTest::newRow("service device only")
            << QByteArray("devices: 0\nservice-devices: 1\nservice-answer: 7") << 0u << 1u << 7;
        QTest::newRow("none present") << QByteArray("service-devices: 0") << 1u << 0u << 1;
    }
    void parseServiceLines() {
        QFETCH(QByteArray, text);
        QFETCH(quint32, devices);
        QFETCH(quint32, serviceDevices);
        QFETCH(int, serviceAnswer);

        QString error;
        const auto script = parseUnitScript(text, QStringLiteral("script.txt"), &error);
        QVERIFY2(script.has_value(), qPrintable(error));
        QCOMPARE(script->devices, devices);
        QCOMPARE(script->serviceDevices, serviceDevices);
        QCOMPARE(script->serviceAnswer.has_value(), serviceAnswer >= 0);
        if (serviceAnswer >= 0)
            QCOMPARE(int(*script->serviceAnswer), serviceAnswer);

        // The service devices come after the converters and add to the count.
        VirtualClock clock;
        const auto unit = createScriptedUnit(clock, *script);
        QCOMPARE(unit->deviceCount(), std::size_t{devices + serviceDevices});
        SimulatedDevice* service = unit->findDevice(QStringLiteral("VudurEve"));
        QCOMPARE(service != nullptr, serviceDevices == 1);
        if (service) {
            QCOMPARE(service, &unit->device(devices));
            QVERIFY(dynamic_cast<SimulatedServiceDevice*>(service) != nullptr);
        }
    }

    void scriptErrors_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("error");

        QTest::newRow("byte out of range")
            << QByteArray("devices: 1\n\n# next the jump\n500: 0 300 1 244\n")
            << "script.txt:4: byte 300 out of range 0..255";
        QTest::newRow("negative byte")
            << QByteArray("10: -1") << "script.txt:1: byte -1 out of range 0..255";
        QTest::newRow("not a byte")
            << QByteArray("10: 1 x2") << "script.txt:1: \"x2\" is not a byte (0..255)";
        QTest::newRow("hex is not a byte")
            << QByteArray("10: 0xFB") << "script.txt:1: \"0xFB\" is not a byte (0..255)";
        QTest::newRow("no bytes") << QByteArray("\n500:   # nothing\n")
                                  << "script.txt:2: no bytes after \"500:\"";
        QTest::newRow("negative delay")
            << QByteArray("-5: 1")
            << "script.txt:1: delay \"-5\" is not a whole number of ms in 0..3600000";
        QTest::newRow("fraction of a ms")
            << QByteArray("1.5: 1")
            << "script.txt:1: delay \"1.5\" is not a whole number of ms in 0..3600000";
        QTest::newRow("delay too long")
            << QByteArray("3600001: 1")
            << "script.txt:1: delay \"3600001\" is not a whole number of ms in 0..3600000";
        QTest::newRow("no colon")
            << QByteArray("devices 1")
            << "script.txt:1: expected \"setting: value\" or \"delay: bytes\", got \"devices 1\"";
        QTest::newRow("unknown setting")
            << QByteArray("speed: 9600") << "script.txt:1: unknown setting \"speed\"";
        QTest::newRow("control characters are shown escaped")
            << QByteArray("sp\x1b[2Jeed\x07: 1")
            << "script.txt:1: unknown setting \"sp\\u001b[2Jeed\\u0007\"";
        QTest::newRow("a long line is cut at 80 characters")
            << QByteArray(200, 'x')
            << "script.txt:1: expected \"setting: value\" or \"delay: bytes\", got \"" +
                   QString(80, 'x') + "…\"";
        QTest::newRow("setting after bytes")
            << QByteArray("100: 1\ndevices: 2")
            << "script.txt:2: setting \"devices\" after the first byte line";
        QTest::newRow("setting twice") << QByteArray("devices: 1\nDevices: 2")
                                       << "script.txt:2: setting \"Devices\" given twice";
        QTest::newRow("too many devices")
            << QByteArray("devices: 17") << "script.txt:1: devices must be a whole number in 0..16";
        QTest::newRow("devices not a number")
            << QByteArray("devices: one")
            << "script.txt:1: devices must be a whole number in 0..16";
        QTest::newRow("empty description")
            << QByteArray("description:   # none") << "script.txt:1: description must not be empty";
        QTest::newRow("start answer out of range")
            << QByteArray("start-answer: 256") << "script.txt:1: byte 256 out of range 0..255";
        QTest::newRow("start answer missing")
            << QByteArray("start-answer:") << "script.txt:1: start-answer needs a byte or \"none\"";
        QTest::newRow("two service devices")
            << QByteArray("service-devices: 2") << "script.txt:1: service-devices must be 0 or 1";
        QTest::newRow("service devices not a number")
            << QByteArray("service-devices: yes") << "script.txt:1: service-devices must be 0 or 1";
        QTest::newRow("service answer out of range")
            << QByteArray("service-answer: 300") << "script.txt:1: byte 300 out of range 0..255";
        QTest::newRow("service answer missing")
            << QByteArray("service-answer:")
            << "script.txt:1: service-answer needs a byte or \"none\"";
        QTest::newRow("service answer twice")
            << QByteArray("service-answer: 1\nservice-answer: 0")
            << "script.txt:2: setting \"service-answer\" given twice";
        QTest::newRow("service line after bytes")
            << QByteArray("100: 1\nservice-devices: 1")
            << "script.txt:2: setting \"service-devices\" after the first byte line";
        QTest::newRow("not UTF-8")
            << QByteArray("devices: 1\ndescription: Ger\xE4t\n") << "script.txt:2: not valid UTF-8";
    }
    void scriptErrors() {
        QFETCH(QByteArray, text);
        QFETCH(QString, error);
        QString got;
        QVERIFY(!parseUnitScript(text, QStringLiteral("script.txt"), &got).has_value());
        QCOMPARE(got, error);
    }

    // Open, handshake and count as the program sees them, for scripts of several kinds.
    void scriptedOpenAndStart_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("openResult");
        QTest::addColumn<qint32>("linkState");
        QTest::addColumn<int>("answer"); // -1: the start fails

        QTest::newRow("defaults") << QByteArray() << 0 << 0 << 251;
        QTest::newRow("no device") << QByteArray("devices: 0") << 3 << 0 << -1;
        QTest::newRow("another converter only")
            << QByteArray("description: FT232R USB UART") << 1 << 2 << -1;
        QTest::newRow("two converters") << QByteArray("devices: 2") << 0 << 0 << 251;
        QTest::newRow("silent unit") << QByteArray("start-answer: none") << 0 << 0 << -1;
        QTest::newRow("other answer") << QByteArray("start-answer: 0") << 0 << 0 << 0;
    }
    void scriptedOpenAndStart() {
        QFETCH(QByteArray, text);
        QFETCH(int, openResult);
        QFETCH(qint32, linkState);
        QFETCH(int, answer);

        Rig rig(Rig::scripted(Rig::clock, text));
        QCOMPARE(tryOpen(rig.link), openResult);
        QCOMPARE(rig.link.linkState, linkState);
        if (openResult != 0)
            return;
        SimulatedDevice& unit = rig.driver->device(0);
        QCOMPARE(unit.baudRate, 19200u);
        QCOMPARE(unit.wordLength, quint8{8});
        QCOMPARE(unit.readTimeoutMs, 500u);

        const quint32 before = Rig::clock.peek();
        QCOMPARE(rig.link.startHandshake(3), answer >= 0);
        if (answer >= 0) {
            QCOMPARE(int(rig.unit.rxBuffer[0]), answer);
            QCOMPARE(unit.sent, QByteArray("\xFB\x03"));
        } else {
            QVERIFY(Rig::clock.peek() - before < 400);
            QCOMPARE(unit.sent, QByteArray("\xFB"));
        }
    }

    void playsAScript() {
        Rig rig(Rig::scripted(Rig::clock, "300: 0 200 1 244\n700: 253 0 180\n"));
        QCOMPARE(rig.link.open(), TimingLink::OpenResult::Opened);
        quint32 started = Rig::clock.peek();
        QVERIFY(rig.link.startHandshake(3));

        for (int run = 1; run <= 2; ++run) {
            // Nothing before its time.
            QVERIFY(!rig.link.waitForByte(250));
            QVERIFY(rig.link.waitForByte(100));
            const quint32 first = Rig::clock.peek() - started;
            QVERIFY2(first >= 300 && first < 320, qPrintable(QString::number(first)));
            QCOMPARE(rig.takeBytes(4), QByteArray("\x00\xC8\x01\xF4", 4));

            // The next line counts from the arrival of the one before.
            QVERIFY(rig.link.waitForByte(2000));
            const quint32 second = Rig::clock.peek() - started;
            QVERIFY2(second >= 1000 && second < 1020, qPrintable(QString::number(second)));
            QCOMPARE(rig.takeBytes(3), QByteArray("\xFD\x00\xB4", 3));

            // Nothing after the last line.
            QVERIFY(!rig.link.waitForByte(2000));
            rig.link.stopByUser();
            QCOMPARE(rig.unit.rxBuffer[0], quint8{'Q'});
            QCOMPARE(rig.link.linkState, 4);
            QCOMPARE(rig.driver->device(0).sent, QByteArray("\xFB\x03\xFA"));
            QVERIFY(!rig.driver->device(0).isOpen);

            // The next run plays the script from its start again.
            rig.driver->device(0).sent.clear();
            QCOMPARE(rig.link.open(), TimingLink::OpenResult::Opened);
            started = Rig::clock.peek();
            QVERIFY(rig.link.startHandshake(3));
        }
    }

    // The stop answers with the identification; the run's result bytes stop coming.
    void stopEndsTheRun() {
        Rig rig(Rig::scripted(Rig::clock, "100: 0 200 1 244\n100: 0 210 1 250\n"));
        QCOMPARE(rig.link.open(), TimingLink::OpenResult::Opened);
        QVERIFY(rig.link.startHandshake(3));
        QVERIFY(rig.link.waitForByte(2000));
        rig.link.sendByte(timingunit::kStopCommand);
        Rig::clock.advance(5000);
        QCOMPARE(rig.takeBytes(8), QByteArray("\x00\xC8\x01\xF4QRV", 7));
        QVERIFY(rig.link.replyTimedOut);
    }

    // The service device answers every complete command with parameters, however the bytes
    // are split into writes, and keeps every byte.
    void serviceDeviceAnswers_data() {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<QList<QByteArray>>("writes");
        QTest::addColumn<QByteArray>("answers");
        QTest::addColumn<QList<QByteArray>>("commands");

        QTest::newRow("one of each")
            << QByteArray("service-devices: 1")
            << QList<QByteArray>{"T\x0A\x0A", "S\x01\x02\x03", "U\x2C\xFF", "X"}
            << QByteArray("\x01\x01\x01")
            << QList<QByteArray>{"T\x0A\x0A", "S\x01\x02\x03", "U\x2C\xFF", "X"};
        QTest::newRow("split and joined writes")
            << QByteArray("service-devices: 1\nservice-answer: 0")
            << QList<QByteArray>{"T\x01", "\x02S", "\x58\x54\x55U", QByteArray("\x00\x05", 2)}
            << QByteArray("\x00\x00\x00", 3)
            << QList<QByteArray>{"T\x01\x02", "SXTU", QByteArray("U\x00\x05", 3)};
        QTest::newRow("silent device")
            << QByteArray("service-devices: 1\nservice-answer: none")
            << QList<QByteArray>{"T\x0A\x0A", "U\x01\x01"} << QByteArray()
            << QList<QByteArray>{"T\x0A\x0A", "U\x01\x01"};
        QTest::newRow("bytes outside a command")
            << QByteArray("service-devices: 1") << QList<QByteArray>{"?", "\xFB", "X", "Z"}
            << QByteArray() << QList<QByteArray>{"X"};
        QTest::newRow("incomplete command")
            << QByteArray("service-devices: 1") << QList<QByteArray>{"S\x01\x02"} << QByteArray()
            << QList<QByteArray>{};
    }
    void serviceDeviceAnswers() {
        QFETCH(QByteArray, script);
        QFETCH(QList<QByteArray>, writes);
        QFETCH(QByteArray, answers);
        QFETCH(QList<QByteArray>, commands);

        VirtualClock clock(0, 1);
        const auto unit = Rig::scripted(clock, script);
        auto* device = dynamic_cast<SimulatedServiceDevice*>(unit->findDevice("VudurEve"));
        QVERIFY(device);
        Handle h = 0;
        QCOMPARE(unit->openEx("VudurEve", FT_OPEN_BY_DESCRIPTION, &h), FT_OK);
        QByteArray all;
        for (const QByteArray& bytes : writes) {
            quint32 written = 0;
            QCOMPARE(unit->write(h, bytes.constData(), quint32(bytes.size()), &written), FT_OK);
            QCOMPARE(written, quint32(bytes.size()));
            all += bytes;
        }
        QCOMPARE(device->sent, all);
        QCOMPARE(device->queue, answers);
        QCOMPARE(device->commands, commands);
        // The timing unit heard nothing of it.
        QVERIFY(unit->device(0).sent.isEmpty());
    }

    void demoJumps_data() {
        QTest::addColumn<quint32>("seed");
        QTest::newRow("seed 1") << 1u;
        QTest::newRow("seed 2") << 2u;
        QTest::newRow("seed 99") << 99u;
    }
    void demoJumps() {
        QFETCH(quint32, seed);
        Rig rig(createDemoUnit(Rig::clock, seed));
        QCOMPARE(rig.link.open(), TimingLink::OpenResult::Opened);
        QVERIFY(rig.link.startHandshake(3));
        QCOMPARE(rig.unit.rxBuffer[0], quint8{251});

        quint32 previous = Rig::clock.peek();
        for (int jump = 0; jump < 12; ++jump) {
            QVERIFY(rig.link.waitForByte(4100));
            const quint32 arrived = Rig::clock.peek();
            const quint32 gap = arrived - previous;
            QVERIFY2(gap >= 2000 && gap <= 4020, qPrintable(QString::number(gap)));
            previous = arrived;

            const QByteArray bytes = rig.takeBytes(4);
            QCOMPARE(bytes.size(), 4);
            QVERIFY(quint8(bytes[0]) < 250); // a complete jump
            const int contact = quint8(bytes[0]) * 256 + quint8(bytes[1]);
            const int flight = quint8(bytes[2]) * 256 + quint8(bytes[3]);
            QVERIFY2(contact >= 150 && contact <= 300, qPrintable(QString::number(contact)));
            QVERIFY2(flight >= 350 && flight <= 650, qPrintable(QString::number(flight)));
        }
        rig.link.stopByUser();
        QCOMPARE(rig.unit.rxBuffer[0], quint8{'Q'});
    }

    void simulatedCalls() {
        VirtualClock clock(0, 1);
        auto unit = createDemoUnit(clock, 5);
        quint32 n = 0;
        QCOMPARE(unit->listDevices(&n, nullptr, FT_LIST_NUMBER_ONLY), FT_OK);
        QCOMPARE(n, 2u); // the timing unit and the service device
        Handle h = 0;
        QCOMPARE(unit->openEx("QRV 3.0", FT_OPEN_BY_DESCRIPTION, &h), FT_DEVICE_NOT_FOUND);
        QCOMPARE(h, Handle{0});
        Handle service = 0;
        QCOMPARE(unit->openEx("VudurEve", FT_OPEN_BY_DESCRIPTION, &service), FT_OK);
        QCOMPARE(unit->openEx("QRV 2.0", FT_OPEN_BY_DESCRIPTION, &h), FT_OK);
        QVERIFY(h != 0 && service != 0 && h != service);
        Handle again = 0;
        QCOMPARE(unit->openEx("QRV 2.0", FT_OPEN_BY_DESCRIPTION, &again), FT_DEVICE_NOT_OPENED);
        QCOMPARE(unit->getQueueStatus(0, &n), FT_INVALID_HANDLE);
        QCOMPARE(unit->setDataCharacteristics(h, 9, 0, 0), FT_INVALID_PARAMETER);
        // A read with nothing waiting returns empty once its time-out passed on the clock.
        QCOMPARE(unit->setTimeouts(h, 500, 500), FT_OK);
        char byte = 0;
        const quint32 before = clock.peek();
        QCOMPARE(unit->read(h, &byte, 1, &n), FT_OK);
        QCOMPARE(n, 0u);
        QVERIFY(clock.peek() - before > 500 && clock.peek() - before < 510);
        QCOMPARE(unit->close(h), FT_OK);
        QCOMPARE(unit->close(h), FT_INVALID_HANDLE);
    }

    void factory_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("error"); // %1 = the temporary folder

        QTest::newRow("nothing: the converters") << ""
                                                 << "serial"
                                                 << "";
        QTest::newRow("demo") << "simulator"
                              << "simulated"
                              << "";
        QTest::newRow("script") << "simulator:%1/good.txt"
                                << "simulated"
                                << "";
        QTest::newRow("shipped script")
            << "simulator:" KALVERO_TEST_DATA "/device/single-jump-then-end.txt"
            << "simulated"
            << "";
        QTest::newRow("malformed script") << "simulator:%1/bad.txt"
                                          << ""
                                          << "%1/bad.txt:3: byte 999 out of range 0..255";
        QTest::newRow("missing script") << "simulator:%1/missing.txt"
                                        << ""
                                        << "%1/missing.txt: No such file or directory";
        QTest::newRow("no script named")
            << "simulator:"
            << ""
            << "KALVERO_TIMING_UNIT: no script file after \"simulator:\"";
        QTest::newRow("unknown value")
            << "Simulator"
            << ""
            << "KALVERO_TIMING_UNIT: unknown value \"Simulator\" (expected "
               "nothing, \"simulator\", \"simulator:PATH\" or \"serial:PATH\")";
    }
    void factory() {
        QFETCH(QString, value);
        QFETCH(QString, kind);
        QFETCH(QString, error);

        QTemporaryDir dir;
        QFile good(dir.filePath("good.txt"));
        QVERIFY(good.open(QIODevice::WriteOnly));
        good.write("devices: 2\n100: 1 2\n");
        good.close();
        QFile bad(dir.filePath("bad.txt"));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("devices: 1\n# a jump\n100: 1 2 999\n");
        bad.close();

        VirtualClock clock;
        QString got;
        const DeviceSetting timingUnit{QString(value).replace("%1", dir.path()),
                                       kTimingUnitVariable};
        const auto driver = createTimingDriver({timingUnit, {}}, clock, &got);
        QCOMPARE(got, QString(error).replace("%1", dir.path()));
        QCOMPARE(driver == nullptr, kind.isEmpty());
        QCOMPARE(dynamic_cast<SerialDriver*>(driver.get()) != nullptr, kind == "serial");
        QCOMPARE(dynamic_cast<SimulatedUnit*>(driver.get()) != nullptr, kind == "simulated");
    }

    // The byte log shows every byte of a run in order, and failing calls.
    void byteLog() {
        VirtualClock clock(100, 1);
        QStringList lines;
        ByteLogDriver logged(Rig::scripted(clock, "start-answer: 251\n10: 0 200 1 244\n"), clock,
                             [&](const QString& line) { lines << line.section(' ', 1); });
        DeviceLink unit(logged);
        TimingLink link(unit, clock);

        unit.pollQueue(); // handle 0: fails
        QCOMPARE(link.open(), TimingLink::OpenResult::Opened);
        QVERIFY(link.startHandshake(2));
        QVERIFY(link.waitForByte(2000));
        unit.read(4);
        link.stopByUser();

        const QString handle = QString::number(unit.handle);
        QCOMPARE(lines,
                 (QStringList{"FT_GetQueueStatus status 1", "devices 1",
                              "open \"QRV 2.0\" handle " + handle, "tx fb", "rx fb", "tx 02",
                              "rx 00 c8 01 f4", "tx fa", "rx 51", "close handle " + handle}));
    }

    void environment_data() {
        QTest::addColumn<QByteArray>("unitValue");
        QTest::addColumn<QByteArray>("logValue");
        QTest::addColumn<bool>("logged");
        QTest::newRow("demo") << QByteArray("simulator") << QByteArray() << false;
        QTest::newRow("demo with byte log") << QByteArray("simulator") << QByteArray("1") << true;
        QTest::newRow("byte log off") << QByteArray("simulator") << QByteArray("0") << false;
    }
    void environment() {
        QFETCH(QByteArray, unitValue);
        QFETCH(QByteArray, logValue);
        QFETCH(bool, logged);
        QProcessEnvironment environment;
        environment.insert(kTimingUnitVariable, QString::fromUtf8(unitValue));
        environment.insert(kByteLogVariable, QString::fromUtf8(logValue));
        VirtualClock clock;
        QString error;
        const auto driver = withByteLogIfAsked(
            createTimingDriver(chooseDevices(environment, nullptr), clock, &error), environment,
            clock);
        QVERIFY(error.isEmpty());
        auto* log = dynamic_cast<ByteLogDriver*>(driver.get());
        QCOMPARE(log != nullptr, logged);
        D2xxDriver* inner = log ? &log->inner() : driver.get();
        QVERIFY(dynamic_cast<SimulatedUnit*>(inner) != nullptr);
    }
};

QTEST_GUILESS_MAIN(TestSimulatedUnit)
#include "tst_simulatedunit.moc"
