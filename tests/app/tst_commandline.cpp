#include "app/CommandLine.h"
#include "core/link/SerialDriver.h"

#include <QTextStream>
#include <QtTest>

using commandline::Command;

class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
    void parse_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("error");

        QTest::newRow("nothing") << QStringList{} << int(Command::Window) << "";
        QTest::newRow("debug") << QStringList{"debug"} << int(Command::Window) << "";
        QTest::newRow("Qt's own options")
            << QStringList{"-platform", "offscreen", "debug"} << int(Command::Window) << "";
        QTest::newRow("version") << QStringList{"--version"} << int(Command::Version) << "";
        QTest::newRow("version after debug")
            << QStringList{"debug", "--version"} << int(Command::Version) << "";
        QTest::newRow("help") << QStringList{"--help"} << int(Command::Help) << "";
        QTest::newRow("short help") << QStringList{"-h"} << int(Command::Help) << "";
        QTest::newRow("list devices")
            << QStringList{"--list-devices"} << int(Command::ListDevices) << "";
        QTest::newRow("unknown option") << QStringList{"--list-device"} << int(Command::Refused)
                                        << "unbekannte Option \"--list-device\"";
        QTest::newRow("Qt's option with two dashes")
            << QStringList{"--platform", "offscreen"} << int(Command::Refused)
            << "unbekannte Option \"--platform\"";
        QTest::newRow("two options") << QStringList{"--version", "--help"} << int(Command::Refused)
                                     << "\"--help\" und eine weitere Option gehen nicht zusammen";
    }
    void parse() {
        QFETCH(QStringList, arguments);
        QFETCH(int, command);
        QFETCH(QString, error);
        const auto invocation = commandline::parse(arguments);
        QCOMPARE(int(invocation.command), command);
        QCOMPARE(invocation.error, error);
    }

    // What each command writes, where, and its exit status.
    void run_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("versionRecord");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");

        QTest::newRow("version from the program file's record")
            << QStringList{"--version"} << true << 0 << "kalvero 3.1.4.159\n"
            << "";
        QTest::newRow("version the program was built as") << QStringList{"--version"} << false << 0
                                                          << QStringLiteral("kalvero %1.%2.%3.%4\n")
                                                                 .arg(KALVERO_VERSION_MAJOR)
                                                                 .arg(KALVERO_VERSION_MINOR)
                                                                 .arg(KALVERO_VERSION_PATCH)
                                                                 .arg(KALVERO_VERSION_TWEAK)
                                                          << "";
        QTest::newRow("help") << QStringList{"-h"} << true << 0 << commandline::helpText() << "";
        QTest::newRow("list devices") << QStringList{"--list-devices"} << true << 0
                                      << "Kein USB-Seriell-Wandler gefunden.\n"
                                         "Zeitmessung: Simulator (KALVERO_TIMING_UNIT)\n"
                                         "Service: Simulator (KALVERO_TIMING_UNIT)\n"
                                      << "";
        QTest::newRow("refused")
            << QStringList{"--frob"} << true << 2 << ""
            << "kalvero: unbekannte Option \"--frob\"\n\"kalvero --help\" zeigt die Optionen.\n";
    }
    void run() {
        QFETCH(QStringList, arguments);
        QFETCH(bool, versionRecord);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QString outText;
        QString errText;
        QTextStream outStream(&outText);
        QTextStream errStream(&errText);
        const SerialDriver noConverters(QStringLiteral("/nonexistent"),
                                        QStringLiteral("/nonexistent"));
        const commandline::CommandContext context{
            outStream, errStream, noConverters,
            DeviceChoice{{"simulator", kTimingUnitVariable, true}, {}},
            versionRecord ? std::optional(buildinfo::FileVersion{3, 1, 4, 159}) : std::nullopt};

        QCOMPARE(commandline::run(commandline::parse(arguments), context), status);
        QCOMPARE(outText, out);
        QCOMPARE(errText, err);
    }

    // The help names every option and every variable a user can set.
    void helpNamesEverything() {
        const QString help = commandline::helpText();
        for (const char* name :
             {"debug", "--list-devices", "--version", "--help", "-h", kTimingUnitVariable,
              kServiceDeviceVariable, kByteLogVariable, "KALVERO_DATA_DIR", "[Gerät]",
              "Zeitmessung", "Service", "serial:"})
            QVERIFY2(help.contains(QLatin1String(name)) || help.contains(QString::fromUtf8(name)),
                     name);
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
