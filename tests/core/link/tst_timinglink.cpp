#include "core/base/Errors.h"
#include "core/link/TimingLink.h"
#include "support/FakeDriver.h"

#include <QtTest>

using namespace d2xx;

namespace {

// The link on a scripted driver and a virtual clock that moves `step` ms per reading.
struct Rig {
    explicit Rig(quint32 start = 1000, quint32 step = 1)
        : clock(start, step), driver(&clock), unit(driver), link(unit, clock) {}
    VirtualClock clock;
    FakeDriver driver;
    DeviceLink unit;
    TimingLink link;
};

// What an open returned as a number: 0 opened, 1 open failed, 3 no device, -1 the silent
// abort.
int openResult(TimingLink& link) {
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

} // namespace

class TestTimingLink : public QObject {
    Q_OBJECT
private slots:
    void openPort_data() {
        QTest::addColumn<quint32>("devices");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("failingCall");
        QTest::addColumn<quint32>("failingStatus");
        QTest::addColumn<int>("result");
        QTest::addColumn<qint32>("linkState");
        QTest::addColumn<QStringList>("calls");

        const QStringList all{"FT_ListDevices", "FT_OpenEx",      "FT_SetDataCharacteristics",
                              "FT_ResetDevice", "FT_SetBaudRate", "FT_SetTimeouts"};
        QTest::newRow("opened and configured") << 1u << "QRV 2.0"
                                               << "" << 0u << 0 << 0 << all;
        QTest::newRow("no device: no open is tried") << 0u << "QRV 2.0"
                                                     << "" << 0u << 3 << 0 << all.mid(0, 1);
        QTest::newRow("only another description") << 1u << "FT232R USB UART"
                                                  << "" << 0u << 1 << 2 << all.mid(0, 2);
        QTest::newRow("unit held open elsewhere") << 1u << "QRV 2.0"
                                                  << "FT_OpenEx" << 3u << 1 << 3 << all.mid(0, 2);
        QTest::newRow("data characteristics fail")
            << 1u << "QRV 2.0"
            << "FT_SetDataCharacteristics" << 4u << -1 << 0 << all.mid(0, 3);
        QTest::newRow("reset fails") << 2u << "QRV 2.0"
                                     << "FT_ResetDevice" << 4u << -1 << 0 << all.mid(0, 4);
        QTest::newRow("baud rate fails") << 1u << "QRV 2.0"
                                         << "FT_SetBaudRate" << 7u << -1 << 0 << all.mid(0, 5);
        QTest::newRow("time-outs fail") << 1u << "QRV 2.0"
                                        << "FT_SetTimeouts" << 6u << -1 << 0 << all;
    }
    void openPort() {
        QFETCH(quint32, devices);
        QFETCH(QString, description);
        QFETCH(QString, failingCall);
        QFETCH(quint32, failingStatus);
        QFETCH(int, result);
        QFETCH(qint32, linkState);
        QFETCH(QStringList, calls);

        Rig rig;
        rig.driver.devices = devices;
        rig.driver.description = description;
        if (!failingCall.isEmpty())
            rig.driver.statuses[failingCall] = {failingStatus};

        QCOMPARE(openResult(rig.link), result);
        QCOMPARE(rig.link.linkState, linkState);
        QCOMPARE(rig.driver.callNames(), calls);
        // Reports are off from the first open on: no failure shows a box.
        QVERIFY(!rig.unit.reportErrors);
        QCOMPARE(rig.link.closeStaleLink(), result == 0 || result == -1);
    }

    // Why the driver could not open the unit's device file reaches the user's message, as a
    // second line under the fixed one.
    void noDeviceMessage_data() {
        QTest::addColumn<quint32>("openStatus");
        QTest::addColumn<int>("cause"); // -1: the driver knows no problem
        QTest::addColumn<QString>("message");

        const QString first = "Kommunikationsfehler! Kein Gerät erkannt.";
        using Cause = DeviceFileProblem::Cause;
        QTest::newRow("no converter carries the description") << FT_DEVICE_NOT_FOUND << -1 << first;
        QTest::newRow("no permission")
            << FT_DEVICE_NOT_OPENED << int(Cause::NoPermission)
            << first + "\nKein Zugriff auf /dev/ttyUSB0. Zugriff geben die udev-Regel des "
                       "Kalvero-Pakets (danach den Wandler neu einstecken) oder die Gruppe "
                       "„plugdev“.";
        QTest::newRow("held by another program")
            << FT_DEVICE_NOT_OPENED << int(Cause::Busy)
            << first + "\n/dev/ttyUSB0 wird von einem anderen Programm benutzt.";
        QTest::newRow("unplugged")
            << FT_DEVICE_NOT_OPENED << int(Cause::Missing)
            << first + "\n/dev/ttyUSB0 ist nicht vorhanden (Wandler ausgesteckt?).";
        QTest::newRow("no terminal") << FT_DEVICE_NOT_OPENED << int(Cause::NotATerminal)
                                     << first + "\n/dev/ttyUSB0 ist keine serielle Schnittstelle.";
        QTest::newRow("other failure")
            << FT_DEVICE_NOT_OPENED << int(Cause::Other)
            << first + "\n/dev/ttyUSB0 lässt sich nicht öffnen: Input/output error.";
    }
    void noDeviceMessage() {
        QFETCH(quint32, openStatus);
        QFETCH(int, cause);
        QFETCH(QString, message);
        Rig rig;
        rig.driver.statuses["FT_OpenEx"] = {openStatus};
        if (cause >= 0)
            rig.driver.openProblem = DeviceFileProblem{
                "/dev/ttyUSB0", DeviceFileProblem::Cause(cause), "Input/output error"};

        QCOMPARE(rig.link.open(), TimingLink::OpenResult::OpenFailed);
        QCOMPARE(::noDeviceMessage(rig.link.openProblem), message);
        // Once the unit opens, the reason of the failed open is gone.
        QCOMPARE(rig.link.open(), TimingLink::OpenResult::Opened);
        QVERIFY(!rig.link.openProblem);
    }

    void openPortConfiguresTheLine() {
        Rig rig;
        rig.unit.baudRate = 115200; // left by the service panel
        QCOMPARE(rig.link.open(), TimingLink::OpenResult::Opened);
        QCOMPARE(rig.driver.calls, (QStringList{
                                       "FT_ListDevices null 80000000",
                                       "FT_OpenEx QRV 2.0 2",
                                       "FT_SetDataCharacteristics 7 8 0 0",
                                       "FT_ResetDevice 7",
                                       "FT_SetBaudRate 7 19200",
                                       "FT_SetTimeouts 7 500 500",
                                   }));
        QCOMPARE(rig.unit.handle, Handle{7});
    }

    // A start whose configuration failed leaves the unit open; the next start closes it
    // before opening again, so the unit is not locked out until the program ends.
    void staleLinkIsClosedBeforeOpening() {
        Rig rig;
        rig.driver.statuses["FT_SetBaudRate"] = {FT_IO_ERROR};
        QCOMPARE(openResult(rig.link), -1);
        QCOMPARE(rig.driver.callCount("FT_Close"), 0);

        rig.driver.calls.clear();
        QCOMPARE(openResult(rig.link), 0);
        QCOMPARE(
            rig.driver.calls.mid(0, 3),
            (QStringList{"FT_Close 7", "FT_ListDevices null 80000000", "FT_OpenEx QRV 2.0 2"}));
        QCOMPARE(rig.unit.handle, Handle{8});

        // A link the run closed is not closed a second time.
        rig.link.stopWithoutAnswer();
        QCOMPARE(rig.link.linkState, 4);
        rig.driver.calls.clear();
        QCOMPARE(openResult(rig.link), 0);
        QCOMPARE(rig.driver.callCount("FT_Close"), 0);
        QVERIFY(rig.link.closeStaleLink());
        QVERIFY(!rig.link.closeStaleLink());
    }

    void waitForByte_data() {
        QTest::addColumn<quint32>("start");
        QTest::addColumn<quint32>("step");
        QTest::addColumn<quint32>("limit");
        QTest::addColumn<int>("arrival"); // ms after the start of the wait; -1 = never
        QTest::addColumn<bool>("timedOut");
        QTest::addColumn<int>("polls");

        QTest::newRow("byte already waiting") << 1000u << 1u << 350u << 0 << false << 1;
        QTest::newRow("start answer at the limit") << 1000u << 1u << 350u << 350 << false << 350;
        QTest::newRow("start answer in the pass the limit passes")
            << 1000u << 1u << 350u << 351 << true << 351;
        QTest::newRow("silent unit, start answer") << 1000u << 1u << 350u << -1 << true << 351;
        QTest::newRow("byte at the 2000 ms limit") << 0u << 1u << 2000u << 2000 << false << 2000;
        QTest::newRow("byte in the pass the 2000 ms limit passes")
            << 0u << 1u << 2000u << 2001 << true << 2001;
        QTest::newRow("silent unit, 2000 ms") << 0u << 1u << 2000u << -1 << true << 2001;
        QTest::newRow("coarse clock: byte in the pass the limit passes")
            << 5u << 7u << 350u << 351 << true << 51;
        QTest::newRow("coarse clock: byte within the limit")
            << 5u << 7u << 350u << 350 << false << 50;
        QTest::newRow("counter wraps, silent unit")
            << 0xFFFFFF00u << 1u << 2000u << -1 << true << 2001;
        QTest::newRow("counter wraps, byte after the wrap")
            << 0xFFFFFF00u << 1u << 2000u << 1000 << false << 1000;
        QTest::newRow("counter wraps at the first reading")
            << 0xFFFFFFFFu << 1u << 350u << -1 << true << 351;
    }
    void waitForByte() {
        QFETCH(quint32, start);
        QFETCH(quint32, step);
        QFETCH(quint32, limit);
        QFETCH(int, arrival);
        QFETCH(bool, timedOut);
        QFETCH(int, polls);

        Rig rig(start, step);
        rig.link.replyTimedOut = !timedOut;
        if (arrival >= 0)
            rig.driver.arriveAt(start + quint32(arrival), "x");

        QCOMPARE(rig.link.waitForByte(limit), !timedOut);
        QCOMPARE(rig.link.replyTimedOut, timedOut);
        QCOMPARE(rig.driver.callCount("FT_GetQueueStatus"), polls);
        QCOMPARE(rig.driver.callCount("FT_Read"), 0); // the caller reads
    }

    // A failing queue poll never passes for a waiting byte, even when the last good poll
    // counted some: the wait runs out.
    void failingPollsRunOut() {
        Rig rig;
        rig.unit.reportErrors = false;
        rig.unit.bytesWaiting = 3;
        rig.driver.arrive("abc");
        QList<Status> failures;
        for (int i = 0; i < 3000; ++i)
            failures.append(FT_IO_ERROR);
        rig.driver.statuses["FT_GetQueueStatus"] = failures;
        QVERIFY(!rig.link.waitForByte(2000));
        QCOMPARE(rig.driver.callCount("FT_GetQueueStatus"), 2001);
    }

    void startHandshake_data() {
        QTest::addColumn<int>("answer"); // -1 = silent
        QTest::addColumn<int>("answerAt");
        QTest::addColumn<quint8>("configuration");
        QTest::addColumn<bool>("started");
        QTest::addColumn<QByteArray>("sent");

        QTest::newRow("echo") << 251 << 40 << quint8{3} << true << QByteArray("\xFB\x03");
        QTest::newRow("any answer is accepted")
            << 7 << 40 << quint8{3} << true << QByteArray("\xFB\x03");
        QTest::newRow("answer at 350 ms")
            << 251 << 350 << quint8{1} << true << QByteArray("\xFB\x01");
        QTest::newRow("answer too late") << 251 << 351 << quint8{3} << false << QByteArray("\xFB");
        QTest::newRow("silent unit") << -1 << 0 << quint8{3} << false << QByteArray("\xFB");
        QTest::newRow("both edges off")
            << 251 << 1 << quint8{0} << true << QByteArray("\xFB\x00", 2);
    }
    void startHandshake() {
        QFETCH(int, answer);
        QFETCH(int, answerAt);
        QFETCH(quint8, configuration);
        QFETCH(bool, started);
        QFETCH(QByteArray, sent);

        Rig rig;
        QCOMPARE(rig.link.open(), TimingLink::OpenResult::Opened);
        if (answer >= 0)
            rig.driver.arriveAt(rig.clock.peek() + quint32(answerAt), QByteArray(1, char(answer)));
        const quint32 before = rig.clock.peek();

        QCOMPARE(rig.link.startHandshake(configuration), started);
        QCOMPARE(rig.link.replyTimedOut, !started);
        QCOMPARE(rig.driver.written, sent);
        QCOMPARE(rig.driver.callCount("FT_Read"), started ? 1 : 0);
        if (started)
            QCOMPARE(rig.unit.rxBuffer[0], quint8(answer));
        else
            QVERIFY(rig.clock.peek() - before <= 360); // gave up right after 350 ms
    }

    void configurationByte_data() {
        QTest::addColumn<bool>("edge1");
        QTest::addColumn<bool>("edge2");
        QTest::addColumn<quint8>("byte");
        QTest::newRow("both") << true << true << quint8{3};
        QTest::newRow("edge 1") << true << false << quint8{1};
        QTest::newRow("edge 2") << false << true << quint8{2};
        QTest::newRow("none") << false << false << quint8{0};
    }
    void configurationByte() {
        QFETCH(bool, edge1);
        QFETCH(bool, edge2);
        QFETCH(quint8, byte);
        QCOMPARE(timingunit::configurationByte(edge1, edge2), byte);
    }

    void stopByUser_data() {
        QTest::addColumn<bool>("answers");
        QTest::addColumn<bool>("timedOut");
        QTest::newRow("unit answers QRV") << true << false;
        QTest::newRow("silent unit") << false << true;
    }
    void stopByUser() {
        QFETCH(bool, answers);
        QFETCH(bool, timedOut);

        Rig rig;
        QCOMPARE(rig.link.open(), TimingLink::OpenResult::Opened);
        if (answers)
            rig.driver.arriveAt(rig.clock.peek() + 30, "QRV");
        rig.driver.calls.clear();

        rig.link.stopByUser();
        QCOMPARE(rig.driver.written, QByteArray("\xFA"));
        QCOMPARE(rig.link.replyTimedOut, timedOut);
        // One byte is read whatever the wait returned, then the link is closed.
        const QStringList names = rig.driver.callNames();
        QCOMPARE(names.first(), QStringLiteral("FT_Write"));
        QCOMPARE(names.mid(names.size() - 2), (QStringList{"FT_Read", "FT_Close"}));
        QCOMPARE(rig.driver.callCount("FT_Read"), 1);
        QCOMPARE(rig.link.linkState, 4);
        QVERIFY(!rig.link.closeStaleLink());
        if (answers)
            QCOMPARE(rig.unit.rxBuffer[0], quint8{'Q'});
    }

    void stopWithoutAnswer() {
        Rig rig;
        QCOMPARE(rig.link.open(), TimingLink::OpenResult::Opened);
        rig.driver.calls.clear();
        rig.link.stopWithoutAnswer();
        QCOMPARE(rig.driver.written, QByteArray("\xFA"));
        QCOMPARE(rig.driver.calls, (QStringList{"FT_Write 7 1", "FT_Close 7"}));
        QCOMPARE(rig.link.linkState, 4);
    }
};

QTEST_GUILESS_MAIN(TestTimingLink)
#include "tst_timinglink.moc"
