#include "FakeDriver.h"
#include "core/link/D2XXUnit.h"
#include "support/RecordingMessageService.h"

#include <QtTest>

#include <cstring>
#include <functional>

using namespace d2xx;

namespace {

// Runs one wrapper operation by its name.
void runOperation(D2XXUnit& unit, const QString& operation) {
    static const QHash<QString, std::function<void(D2XXUnit&)>> operations = {
        {"GetFTDeviceCount",
         [](D2XXUnit& u) {
             u.GetFTDeviceCount();
         }},
        {"Open",
         [](D2XXUnit& u) {
             u.Open_USB_Device_By_Device_Description(QStringLiteral("QRV 2.0"));
         }},
        {"CloseLink",
         [](D2XXUnit& u) {
             u.CloseLink();
         }},
        {"ResetLink",
         [](D2XXUnit& u) {
             u.ResetLink();
         }},
        {"SetLinkBaudRate",
         [](D2XXUnit& u) {
             u.SetLinkBaudRate();
         }},
        {"SetLinkDataCharacteristics",
         [](D2XXUnit& u) {
             u.SetLinkDataCharacteristics();
         }},
        {"SetLinkTimeouts",
         [](D2XXUnit& u) {
             u.SetLinkTimeouts(500, 500);
         }},
        {"GetLinkQueueStatus",
         [](D2XXUnit& u) {
             u.GetLinkQueueStatus();
         }},
        {"WriteLink",
         [](D2XXUnit& u) {
             u.WriteLink(1);
         }},
        {"ReadLink",
         [](D2XXUnit& u) {
             u.ReadLink(1);
         }},
    };
    operations.value(operation)(unit);
}

} // namespace

class TestD2XXUnit : public QObject {
    Q_OBJECT
private slots:
    // Every operation reports a failing status of its call with its own label, only while
    // reports are on.
    void reports_data() {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("call");
        QTest::addColumn<quint32>("status");
        QTest::addColumn<QString>("text");
        QTest::newRow("count") << "GetFTDeviceCount"
                               << "FT_ListDevices" << 2u
                               << "GetFTDeviceCount - kein Kabel angeschlossen....";
        QTest::newRow("open") << "Open"
                              << "FT_OpenEx" << 3u
                              << "Open_USB_Device_By_Device_Description - Schnittstelle nicht "
                                 "geöffnet...";
        QTest::newRow("close") << "CloseLink"
                               << "FT_Close" << 1u << "FT_Close - USB Adapter nicht gefunden";
        QTest::newRow("reset") << "ResetLink"
                               << "FT_ResetDevice" << 4u << "FT_ResetDevice - General IO Error...";
        QTest::newRow("baud") << "SetLinkBaudRate"
                              << "FT_SetBaudRate" << 5u
                              << "FT_SetBaudRate - Insufficient Resources...";
        QTest::newRow("data") << "SetLinkDataCharacteristics"
                              << "FT_SetDataCharacteristics" << 6u
                              << "FT_SetDataCharacteristics - Invalid Parameter ...";
        QTest::newRow("timeouts, other status")
            << "SetLinkTimeouts"
            << "FT_SetTimeouts" << 18u << "FT_SetTimeouts - Fehler 18";
        QTest::newRow("queue") << "GetLinkQueueStatus"
                               << "FT_GetQueueStatus" << 4u
                               << "FT_GetQueueStatus - General IO Error...";
        QTest::newRow("write") << "WriteLink"
                               << "FT_Write" << 1u << "FT_Write - USB Adapter nicht gefunden";
        QTest::newRow("read, status 7") << "ReadLink"
                                        << "FT_Read" << 7u << "FT_Read - Fehler 7";
    }
    void reports() {
        QFETCH(QString, operation);
        QFETCH(QString, call);
        QFETCH(quint32, status);
        QFETCH(QString, text);

        FakeDriver driver;
        RecordingMessageService ui;
        D2XXUnit unit(driver, ui);
        QVERIFY(unit.ReportLinkErrors);

        driver.statuses[call] = {status, status};
        runOperation(unit, operation);
        QCOMPARE(driver.callNames(), QStringList{call});
        QCOMPARE(ui.boxes.size(), 1);
        QCOMPARE(ui.boxes[0].title, QStringLiteral("Fehler"));
        QCOMPARE(ui.boxes[0].icon, BoxIcon::Error);
        QCOMPARE(ui.boxes[0].text, text);
        QCOMPARE(ui.boxes[0].buttons, QStringList{QStringLiteral("OK")});

        unit.ReportLinkErrors = false;
        runOperation(unit, operation); // fails again, silently
        unit.ReportLinkErrors = true;
        runOperation(unit, operation); // succeeds: nothing to report
        QCOMPARE(driver.calls.size(), 3);
        QCOMPARE(ui.boxes.size(), 1);
    }

    void operationsUseTheLinkState() {
        FakeDriver driver;
        RecordingMessageService ui;
        D2XXUnit unit(driver, ui);
        driver.devices = 2;

        QCOMPARE(unit.GetFTDeviceCount(), FT_OK);
        QCOMPARE(unit.DeviceCount, 2u);
        QCOMPARE(unit.Open_USB_Device_By_Device_Description(QStringLiteral("QRV 2.0")), FT_OK);
        QCOMPARE(unit.LinkHandle, Handle{7});
        unit.LinkBaudRate = 19200;
        unit.LinkWordLength = 8;
        unit.LinkStopBits = 0;
        unit.LinkParity = 0;
        unit.SetLinkDataCharacteristics();
        unit.SetLinkBaudRate();
        unit.SetLinkTimeouts(500, 250);
        unit.ResetLink();
        unit.CloseLink();
        QCOMPARE(driver.calls, (QStringList{
                                   "FT_ListDevices null 80000000",
                                   "FT_OpenEx QRV 2.0 2",
                                   "FT_SetDataCharacteristics 7 8 0 0",
                                   "FT_SetBaudRate 7 19200",
                                   "FT_SetTimeouts 7 500 250",
                                   "FT_ResetDevice 7",
                                   "FT_Close 7",
                               }));
        QVERIFY(ui.boxes.isEmpty());
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
        RecordingMessageService ui;
        D2XXUnit unit(driver, ui);
        unit.ReportLinkErrors = false;
        // Left-overs of a longer description must not show through.
        std::memset(unit.DescriptionBuffer.data(), 'Z', unit.DescriptionBuffer.size());

        unit.Open_USB_Device_By_Device_Description(description);
        const char* buffer = unit.DescriptionBuffer.data();
        QCOMPARE(QByteArray(buffer, qsizetype(::strnlen(buffer, 50))), stored);
        QCOMPARE(buffer[stored.size()], '\0');
        QCOMPARE(driver.openedDescriptions, QList<QByteArray>{stored});
        QCOMPARE(unit.description(), QString::fromUtf8(stored));
    }

    void writeAndRead() {
        FakeDriver driver;
        RecordingMessageService ui;
        D2XXUnit unit(driver, ui);
        unit.ReportLinkErrors = false;

        unit.TxBuffer[0] = 84;
        unit.TxBuffer[1] = 44;
        unit.TxBuffer[2] = 255;
        QCOMPARE(unit.WriteLink(3), 3u);
        QCOMPARE(driver.written, QByteArray("\x54\x2C\xFF"));
        QCOMPARE(unit.LastIOStatus, FT_OK);

        driver.statuses["FT_Write"] = {FT_IO_ERROR};
        QCOMPARE(unit.WriteLink(1), 0u);
        QCOMPARE(unit.LastIOStatus, FT_IO_ERROR);

        // A write never reaches past the buffer.
        unit.WriteLink(40000);
        QCOMPARE(driver.calls.last(), QStringLiteral("FT_Write 0 32768"));

        driver.arrive(QByteArray("\x05\x06", 2));
        QCOMPARE(unit.ReadLink(1), 1u);
        QCOMPARE(unit.RxBuffer[0], quint8{5});
        QCOMPARE(unit.ReadLink(1), 1u);
        QCOMPARE(unit.RxBuffer[0], quint8{6});
        // Nothing came: the byte read before stays.
        QCOMPARE(unit.ReadLink(1), 0u);
        QCOMPARE(unit.RxBuffer[0], quint8{6});
        QCOMPARE(unit.LastIOStatus, FT_OK);
        driver.statuses["FT_Read"] = {FT_IO_ERROR};
        QCOMPARE(unit.ReadLink(1), 0u);
        QCOMPARE(unit.LastIOStatus, FT_IO_ERROR);
    }

    // A failed queue poll must not leave an old count behind: callers would take it for
    // waiting bytes and read what is not there.
    void failedQueuePollCountsNothing() {
        FakeDriver driver;
        RecordingMessageService ui;
        D2XXUnit unit(driver, ui);
        unit.ReportLinkErrors = false;

        driver.arrive("abc");
        QCOMPARE(unit.GetLinkQueueStatus(), FT_OK);
        QCOMPARE(unit.RxQueueBytes, 3u);
        driver.statuses["FT_GetQueueStatus"] = {FT_IO_ERROR};
        QCOMPARE(unit.GetLinkQueueStatus(), FT_IO_ERROR);
        QCOMPARE(unit.RxQueueBytes, 0u);
    }
};

QTEST_GUILESS_MAIN(TestD2XXUnit)
#include "tst_d2xxunit.moc"
