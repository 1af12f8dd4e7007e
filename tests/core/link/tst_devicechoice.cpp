#include "core/base/Clock.h"
#include "core/link/DeviceListing.h"
#include "core/link/SerialDriver.h"
#include "core/link/TimingDriverFactory.h"
#include "support/SerialFakes.h"

#include <QSettings>
#include <QtTest>

namespace {

QString kindName(const std::optional<LineChoice>& choice) {
    if (!choice)
        return "refused";
    switch (choice->kind) {
    case LineChoice::Kind::Search:
        return "search";
    case LineChoice::Kind::Simulator:
        return "simulator";
    case LineChoice::Kind::Script:
        return "script " + choice->path;
    case LineChoice::Kind::DeviceFile:
        return "file " + choice->path;
    }
    return {};
}

// Two terminals, a plain file and a script, and a settings file, in one temporary folder;
// "%pty", "%pty2", "%dir" and "%conf" in a text stand for them.
struct Files {
    QTemporaryDir dir;
    PseudoTerminal pty;
    PseudoTerminal pty2;

    Files() {
        FakeSysfs::write(dir.filePath("plain"), "text");
        FakeSysfs::write(dir.filePath("unit.txt"), "devices: 1\n");
    }
    QString conf() const { return dir.filePath("QRV.conf"); }
    QString fill(QString text) const {
        return text.replace("%pty2", pty2.slavePath)
            .replace("%pty", pty.slavePath)
            .replace("%dir", dir.path())
            .replace("%conf", conf());
    }
};

} // namespace

class TestDeviceChoice : public QObject {
    Q_OBJECT
private slots:
    // A variable that is set and not empty wins; otherwise the settings file's key counts.
    void chooseDevices_data() {
        QTest::addColumn<QString>("timingVariable");
        QTest::addColumn<QString>("serviceVariable");
        QTest::addColumn<QByteArray>("settingsFile");
        QTest::addColumn<QString>("timingUnit"); // value @ origin
        QTest::addColumn<QString>("service");

        const QByteArray both = "[Gerät]\nZeitmessung=serial:/dev/ttyUSB3\n"
                                "Service=serial:/dev/ttyUSB4\n";
        QTest::newRow("nothing anywhere") << ""
                                          << "" << QByteArray() << "@Gerät/Zeitmessung in %conf"
                                          << "@Gerät/Service in %conf";
        QTest::newRow("settings file")
            << ""
            << "" << both << "serial:/dev/ttyUSB3@Gerät/Zeitmessung in %conf"
            << "serial:/dev/ttyUSB4@Gerät/Service in %conf";
        QTest::newRow("the environment wins")
            << "simulator"
            << "serial:/dev/ttyS1" << both << "simulator@KALVERO_TIMING_UNIT"
            << "serial:/dev/ttyS1@KALVERO_SERVICE_DEVICE";
        QTest::newRow("one variable set")
            << ""
            << "serial:/dev/ttyS1" << both << "serial:/dev/ttyUSB3@Gerät/Zeitmessung in %conf"
            << "serial:/dev/ttyS1@KALVERO_SERVICE_DEVICE";
        QTest::newRow("group as Qt writes it")
            << ""
            << "" << QByteArray("[Ger%E4t]\nZeitmessung=simulator\n")
            << "simulator@Gerät/Zeitmessung in %conf"
            << "@Gerät/Service in %conf";
    }
    void chooseDevices() {
        QFETCH(QString, timingVariable);
        QFETCH(QString, serviceVariable);
        QFETCH(QByteArray, settingsFile);
        QFETCH(QString, timingUnit);
        QFETCH(QString, service);
        Files files;
        if (!settingsFile.isEmpty())
            FakeSysfs::write(files.conf(), settingsFile);
        QSettings settings(files.conf(), QSettings::IniFormat);
        QProcessEnvironment environment;
        environment.insert(kTimingUnitVariable, timingVariable);
        environment.insert(kServiceDeviceVariable, serviceVariable);

        const DeviceChoice choice = ::chooseDevices(environment, &settings);
        QCOMPARE(choice.timingUnit.value + "@" + choice.timingUnit.origin, files.fill(timingUnit));
        QCOMPARE(choice.service.value + "@" + choice.service.origin, files.fill(service));
        QCOMPARE(choice.timingUnit.fromEnvironment, !timingVariable.isEmpty());
        QCOMPARE(choice.service.fromEnvironment, !serviceVariable.isEmpty());
    }

    // What each value asks for, and the one-line refusal of a value that cannot work.
    void planDevices_data() {
        QTest::addColumn<QString>("timingValue");
        QTest::addColumn<QString>("serviceValue");
        QTest::addColumn<bool>("serviceFromEnvironment");
        QTest::addColumn<QString>("timingUnit"); // kind, or the refusal
        QTest::addColumn<QString>("service");

        const QString unit = "KALVERO_TIMING_UNIT: ";
        const QString service = "KALVERO_SERVICE_DEVICE: ";
        QTest::newRow("search for both") << ""
                                         << "" << true << "search"
                                         << "search";
        QTest::newRow("device files") << "serial:%pty"
                                      << "serial:%pty2" << true << "file %pty"
                                      << "file %pty2";
        QTest::newRow("no device file named")
            << "serial:"
            << "" << true << unit + "no device file after \"serial:\""
            << "search";
        QTest::newRow("not a terminal")
            << "serial:%dir/plain"
            << "" << true << unit + "serial:%dir/plain: not a serial line (tty)"
            << "search";
        QTest::newRow("missing device file")
            << "serial:%dir/ttyUSB9"
            << "" << true << unit + "serial:%dir/ttyUSB9: no such device file"
            << "search";
        QTest::newRow("service device file missing")
            << ""
            << "serial:%dir/gone" << true << "search"
            << service + "serial:%dir/gone: no such device file";
        QTest::newRow("unknown service value")
            << ""
            << "simulator" << true << "search"
            << service + "unknown value \"simulator\" (expected nothing or \"serial:PATH\")";
        QTest::newRow("unknown timing-unit value")
            << "serial"
            << "" << true
            << unit + "unknown value \"serial\" (expected nothing, \"simulator\", "
                      "\"simulator:PATH\" or \"serial:PATH\")"
            << "search";
        QTest::newRow("simulator with a service device file")
            << "simulator"
            << "serial:%pty" << true << "simulator"
            << service + "a service device needs the serial driver, but KALVERO_TIMING_UNIT "
                         "chooses the simulator";
        QTest::newRow("simulator, service device file of the settings")
            << "simulator:%dir/unit.txt"
            << "serial:%pty" << false << "script %dir/unit.txt"
            << "simulator";
    }
    void planDevices() {
        QFETCH(QString, timingValue);
        QFETCH(QString, serviceValue);
        QFETCH(bool, serviceFromEnvironment);
        QFETCH(QString, timingUnit);
        QFETCH(QString, service);
        Files files;
        QVERIFY(files.pty.ok() && files.pty2.ok());
        const DeviceChoice choice{
            {files.fill(timingValue), kTimingUnitVariable, true},
            {files.fill(serviceValue), kServiceDeviceVariable, serviceFromEnvironment}};

        const DevicePlan plan = ::planDevices(choice);
        QCOMPARE(plan.timingUnit ? kindName(plan.timingUnit) : plan.timingUnitError,
                 files.fill(timingUnit));
        QCOMPARE(plan.service ? kindName(plan.service) : plan.serviceError, files.fill(service));

        // The driver follows the plan: refused when a part is refused, else the device files
        // are tied to the descriptions of the timing unit and the service device.
        VirtualClock clock;
        QString error;
        const auto driver = createTimingDriver(choice, clock, &error);
        QCOMPARE(driver == nullptr, !plan.timingUnit || !plan.service);
        QCOMPARE(error, !plan.timingUnit ? plan.timingUnitError
                        : !plan.service  ? plan.serviceError
                                         : QString());
        if (const auto* serial = dynamic_cast<SerialDriver*>(driver.get())) {
            std::map<QString, QString> tied;
            if (plan.timingUnit->kind == LineChoice::Kind::DeviceFile)
                tied["QRV 2.0"] = plan.timingUnit->path;
            if (plan.service->kind == LineChoice::Kind::DeviceFile)
                tied["VudurEve"] = plan.service->path;
            QVERIFY(serial->deviceFiles() == tied);
        }
    }

    // The support listing: every USB converter, the ones in use marked, and the two summaries.
    void deviceListing_data() {
        QTest::addColumn<bool>("converters");
        QTest::addColumn<QString>("timingValue");
        QTest::addColumn<QString>("serviceValue");
        QTest::addColumn<QString>("listing");

        const QString acm = "%dev/ttyACM0  2341:0043  \"Uno\"              Seriennummer 75";
        const QString usb0 = "%dev/ttyUSB0  0403:6001  \"QRV 2.0\"          Seriennummer A5";
        const QString usb1 = "%dev/ttyUSB1  0403:6015  \"FT232R USB UART\"  ohne Seriennummer";
        QTest::newRow("found by product string")
            << true << ""
            << ""
            << acm + "\n" + usb0 + "  <- Zeitmessung\n" + usb1 +
                   "\nZeitmessung: %dev/ttyUSB0 (erster FTDI-Wandler mit dem Produkttext \"QRV "
                   "2.0\")\nService: kein FTDI-Wandler mit dem Produkttext \"VudurEve\"\n";
        QTest::newRow("device files chosen")
            << true << "serial:%dev/ttyUSB1"
            << "serial:%pty"
            << acm + "\n" + usb0 + "\n" + usb1 +
                   "  <- Zeitmessung\nZeitmessung: %dev/ttyUSB1 (KALVERO_TIMING_UNIT)\n"
                   "Service: %pty (KALVERO_SERVICE_DEVICE)\n";
        QTest::newRow("one converter for both")
            << true << "serial:%dev/ttyUSB1"
            << "serial:%dev/ttyUSB1"
            << acm + "\n" + usb0 + "\n" + usb1 +
                   "  <- Zeitmessung  <- Service\nZeitmessung: %dev/ttyUSB1 "
                   "(KALVERO_TIMING_UNIT)\nService: %dev/ttyUSB1 (KALVERO_SERVICE_DEVICE)\n";
        QTest::newRow("simulator") << true << "simulator"
                                   << ""
                                   << acm + "\n" + usb0 + "\n" + usb1 +
                                          "\nZeitmessung: Simulator (KALVERO_TIMING_UNIT)\n"
                                          "Service: Simulator (KALVERO_TIMING_UNIT)\n";
        QTest::newRow("refused value")
            << false << "serial:%dev/ttyUSB7"
            << ""
            << "Kein USB-Seriell-Wandler gefunden.\nZeitmessung: KALVERO_TIMING_UNIT: "
               "serial:%dev/ttyUSB7: no such device file\nService: kein FTDI-Wandler mit dem "
               "Produkttext \"VudurEve\"\n";
    }
    void deviceListing() {
        QFETCH(bool, converters);
        QFETCH(QString, timingValue);
        QFETCH(QString, serviceValue);
        QFETCH(QString, listing);
        PseudoTerminal pty;
        PseudoTerminal pty2;
        QVERIFY(pty.ok() && pty2.ok());
        FakeSysfs fake;
        if (converters) {
            fake.addUsbTty("ttyUSB0", "usb1/1-1", "0403", "QRV 2.0", "6001", "A5");
            fake.addUsbTty("ttyUSB1", "usb1/1-2", "0403", "FT232R USB UART", "6015");
            fake.addUsbTty("ttyACM0", "usb2/2-1", "2341", "Uno", "0043", "75");
            fake.addPlatformTty("ttyS0");
            fake.addNode("ttyUSB1", pty.slavePath);
        }
        const auto fill = [&](QString text) {
            return text.replace("%dev", fake.dev).replace("%pty", pty2.slavePath);
        };
        const SerialDriver driver(fake.sys, fake.dev);
        const DeviceChoice choice{{fill(timingValue), kTimingUnitVariable, true},
                                  {fill(serviceValue), kServiceDeviceVariable, true}};

        QCOMPARE(::deviceListing(driver, choice), fill(listing));
    }
};

QTEST_GUILESS_MAIN(TestDeviceChoice)
#include "tst_devicechoice.moc"
