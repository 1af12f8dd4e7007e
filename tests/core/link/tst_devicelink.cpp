#include "core/link/DeviceLink.h"
#include "support/FakeDriver.h"

#include <QtTest>

#include <cstring>
#include <functional>

using namespace d2xx;

namespace {

// Runs one wrapper operation by its name.
void runOperation(DeviceLink& unit, const QString& operation) {
    static const QHash<QString, std::function<void(DeviceLink&)>> operations = {
        {"countDevices",
         [](DeviceLink& u) {
             u.countDevices();
         }},
        {"openByDescription",
         [](DeviceLink& u) {
             u.openByDescription(QStringLiteral("QRV 2.0"));
         }},
        {"close",
         [](DeviceLink& u) {
             u.close();
         }},
        {"reset",
         [](DeviceLink& u) {
             u.reset();
         }},
        {"applyBaudRate",
         [](DeviceLink& u) {
             u.applyBaudRate();
         }},
        {"applyDataCharacteristics",
         [](DeviceLink& u) {
             u.applyDataCharacteristics();
         }},
        {"setTimeouts",
         [](DeviceLink& u) {
             u.setTimeouts(500, 500);
         }},
        {"pollQueue",
         [](DeviceLink& u) {
             u.pollQueue();
         }},
        {"write",
         [](DeviceLink& u) {
             u.write(1);
         }},
        {"read",
         [](DeviceLink& u) {
             u.read(1);
         }},
    };
    operations.value(operation)(unit);
}

} // namespace

class TestDeviceLink : public QObject {
    Q_OBJECT
private slots:
    // Every operation reports a failing status of its call with its own label, only while
    // reports are on.
    void reports_data() {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("call");
        QTest::addColumn<quint32>("status");
        QTest::addColumn<QString>("text");
        QTest::newRow("count") << "countDevices"
                               << "FT_ListDevices" << 2u
                               << "GetFTDeviceCount - kein Kabel angeschlossen....";
        QTest::newRow("open") << "openByDescription"
                              << "FT_OpenEx" << 3u
                              << "Open_USB_Device_By_Device_Description - Schnittstelle nicht "
                                 "geöffnet...";
        QTest::newRow("close") << "close"
                               << "FT_Close" << 1u << "FT_Close - USB Adapter nicht gefunden";
        QTest::newRow("reset") << "reset"
                               << "FT_ResetDevice" << 4u << "FT_ResetDevice - General IO Error...";
        QTest::newRow("baud") << "applyBaudRate"
                              << "FT_SetBaudRate" << 5u
                              << "FT_SetBaudRate - Insufficient Resources...";
        QTest::newRow("data") << "applyDataCharacteristics"
                              << "FT_SetDataCharacteristics" << 6u
                              << "FT_SetDataCharacteristics - Invalid Parameter ...";
        QTest::newRow("timeouts, other status")
            << "setTimeouts"
            << "FT_SetTimeouts" << 18u << "FT_SetTimeouts - Fehler 18";
        QTest::newRow("queue") << "pollQueue"
                               << "FT_GetQueueStatus" << 4u
                               << "FT_GetQueueStatus - General IO Error...";
        QTest::newRow("write") << "write"
                               << "FT_Write" << 1u << "FT_Write - USB Adapter nicht gefunden";
        QTest::newRow("read, status 7") << "read"
                                        << "FT_Read" << 7u << "FT_Read - Fehler 7";
    }
    void reports() {
        QFETCH(QString, operation);
        QFETCH(QString, call);
        QFETCH(quint32, status);
        QFETCH(QString, text);

        FakeDriver driver;
        DeviceLink unit(driver);
        QStringList reports;
        unit.setStatusReporter([&reports](const QString& report) { reports << report; });
        QVERIFY(unit.reportErrors);

        driver.statuses[call] = {status, status};
        runOperation(unit, operation);
        QCOMPARE(driver.callNames(), QStringList{call});
        QCOMPARE(reports, QStringList{text});

        unit.reportErrors = false;
        runOperation(unit, operation); // fails again, silently
        unit.reportErrors = true;
        runOperation(unit, operation); // succeeds: nothing to report
        QCOMPARE(driver.calls.size(), 3);
        QCOMPARE(reports.size(), 1);
    }

    void operationsUseTheLinkState() {
        FakeDriver driver;
        DeviceLink unit(driver);
        QStringList reports;
        unit.setStatusReporter([&reports](const QString& report) { reports << report; });
        driver.devices = 2;

        QCOMPARE(unit.countDevices(), FT_OK);
        QCOMPARE(unit.deviceCount, 2u);
        QCOMPARE(unit.openByDescription(QStringLiteral("QRV 2.0")), FT_OK);
        QCOMPARE(unit.handle, Handle{7});
        unit.baudRate = 19200;
        unit.wordLength = 8;
        unit.stopBits = 0;
        unit.parity = 0;
        unit.applyDataCharacteristics();
        unit.applyBaudRate();
        unit.setTimeouts(500, 250);
        unit.reset();
        unit.close();
        QCOMPARE(driver.calls, (QStringList{
                                   "FT_ListDevices null 80000000",
                                   "FT_OpenEx QRV 2.0 2",
                                   "FT_SetDataCharacteristics 7 8 0 0",
                                   "FT_SetBaudRate 7 19200",
                                   "FT_SetTimeouts 7 500 250",
                                   "FT_ResetDevice 7",
                                   "FT_Close 7",
                               }));
        QVERIFY(reports.isEmpty());
    }

    void descriptionCopy_data() {
        QTest::addColumn<QString>("description");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("timing unit") << "QRV 2.0" << QByteArray("QRV 2.0");
        QTest::newRow("empty") << "" << QByteArray();
        QTest::newRow("49 characters") << QString(49, 'a') << QByteArray(49, 'a');
        QTest::newRow("50 characters") << QString(50, 'b') << QByteArray(49, 'b');
        QTest::newRow("60 characters")
            << QStringLiteral("0123456789").repeated(6)
            << QStringLiteral("0123456789").repeated(5).left(49).toUtf8();
        QTest::newRow("umlaut") << "Gerät" << QByteArray("Ger\xC3\xA4t");
        QTest::newRow("umlaut at the cut")
            << QString(48, 'c') + QStringLiteral("ä") << QByteArray(48, 'c');
    }
    void descriptionCopy() {
        QFETCH(QString, description);
        QFETCH(QByteArray, stored);

        FakeDriver driver;
        DeviceLink unit(driver);
        unit.reportErrors = false;
        // Left-overs of a longer description must not show through.
        std::memset(unit.descriptionBuffer.data(), 'Z', unit.descriptionBuffer.size());

        unit.openByDescription(description);
        const char* buffer = unit.descriptionBuffer.data();
        QCOMPARE(QByteArray(buffer, qsizetype(::strnlen(buffer, 50))), stored);
        QCOMPARE(buffer[stored.size()], '\0');
        QCOMPARE(driver.openedDescriptions, QList<QByteArray>{stored});
        QCOMPARE(unit.description(), QString::fromUtf8(stored));
    }

    void writeAndRead() {
        FakeDriver driver;
        DeviceLink unit(driver);
        unit.reportErrors = false;

        unit.txBuffer[0] = 84;
        unit.txBuffer[1] = 44;
        unit.txBuffer[2] = 255;
        QCOMPARE(unit.write(3), 3u);
        QCOMPARE(driver.written, QByteArray("\x54\x2C\xFF"));
        QCOMPARE(unit.lastIoStatus, FT_OK);

        driver.statuses["FT_Write"] = {FT_IO_ERROR};
        QCOMPARE(unit.write(1), 0u);
        QCOMPARE(unit.lastIoStatus, FT_IO_ERROR);

        // A write never reaches past the buffer.
        unit.write(40000);
        QCOMPARE(driver.calls.last(), QStringLiteral("FT_Write 0 32768"));

        driver.arrive(QByteArray("\x05\x06", 2));
        QCOMPARE(unit.read(1), 1u);
        QCOMPARE(unit.rxBuffer[0], quint8{5});
        QCOMPARE(unit.read(1), 1u);
        QCOMPARE(unit.rxBuffer[0], quint8{6});
        // Nothing came: the byte read before stays.
        QCOMPARE(unit.read(1), 0u);
        QCOMPARE(unit.rxBuffer[0], quint8{6});
        QCOMPARE(unit.lastIoStatus, FT_OK);
        driver.statuses["FT_Read"] = {FT_IO_ERROR};
        QCOMPARE(unit.read(1), 0u);
        QCOMPARE(unit.lastIoStatus, FT_IO_ERROR);
    }

    // A failed queue poll must not leave an old count behind: callers would take it for
    // waiting bytes and read what is not there.
    void failedQueuePollCountsNothing() {
        FakeDriver driver;
        DeviceLink unit(driver);
        unit.reportErrors = false;

        driver.arrive("abc");
        QCOMPARE(unit.pollQueue(), FT_OK);
        QCOMPARE(unit.bytesWaiting, 3u);
        driver.statuses["FT_GetQueueStatus"] = {FT_IO_ERROR};
        QCOMPARE(unit.pollQueue(), FT_IO_ERROR);
        QCOMPARE(unit.bytesWaiting, 0u);
    }
};

QTEST_GUILESS_MAIN(TestDeviceLink)
#include "tst_devicelink.moc"
