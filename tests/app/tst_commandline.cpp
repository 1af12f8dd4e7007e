#include "app/CommandLine.h"
#include "core/link/SerialDriver.h"
#include "core/store/AthleteRepository.h"
#include "core/store/GroupRepository.h"
#include "core/store/MeasurementRepository.h"
#include "support/DamagedFile.h"
#include "support/FileSizeLimit.h"
#include "support/ParadoxTables.h"
#include "support/TempDataDir.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTextStream>
#include <QtTest>

namespace {

struct Output {
    int status = -1;
    QString out;
    QString err;
};

Output runCommand(const QStringList& arguments, const std::optional<StoreLocation>& store = {},
                  const QString& dataDirectory = {}) {
    Output output;
    QTextStream outStream(&output.out);
    QTextStream errStream(&output.err);
    const SerialDriver noConverters(QStringLiteral("/nonexistent"), QStringLiteral("/nonexistent"));
    const commandline::CommandContext context{outStream,
                                              errStream,
                                              noConverters,
                                              DeviceChoice{{}, {}},
                                              std::nullopt,
                                              store,
                                              store ? QString()
                                                    : QStringLiteral("keine Verbindung"),
                                              dataDirectory,
                                              plausibility::Limits{}};
    output.status = commandline::run(commandline::parse(arguments), context);
    return output;
}

} // namespace

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
        QTest::newRow("import a folder")
            << QStringList{"--import-paradox", "--alt"} << int(Command::ImportParadox) << "";
        QTest::newRow("import without a folder")
            << QStringList{"debug", "--import-paradox"} << int(Command::Refused)
            << "\"--import-paradox\" braucht ORDNER";
        QTest::newRow("copy to a server")
            << QStringList{"--copy-to", "postgresql://s/k"} << int(Command::CopyTo) << "";
        QTest::newRow("export a table")
            << QStringList{"--export-csv", "t.csv"} << int(Command::ExportCsv) << "";
        QTest::newRow("export a group's workbook")
            << QStringList{"--group", "U19", "--export-xlsx", "t.xlsx"} << int(Command::ExportXlsx)
            << "";
        QTest::newRow("a group without an export")
            << QStringList{"--group", "U19"} << int(Command::Refused)
            << "\"--group\" gilt nur mit \"--export-csv\" oder \"--export-xlsx\"";
        QTest::newRow("two groups")
            << QStringList{"--export-csv", "t.csv", "--group", "A", "--group", "B"}
            << int(Command::Refused) << "\"--group\" und eine weitere Option gehen nicht zusammen";
        QTest::newRow("a group without its name")
            << QStringList{"--export-csv", "t.csv", "--group"} << int(Command::Refused)
            << "\"--group\" braucht NAME";
        QTest::newRow("two exports")
            << QStringList{"--export-csv", "t.csv", "--export-xlsx", "t.xlsx"}
            << int(Command::Refused)
            << "\"--export-xlsx\" und eine weitere Option gehen nicht zusammen";
        QTest::newRow("copy to nowhere") << QStringList{"--copy-to", ""} << int(Command::Refused)
                                         << "\"--copy-to\" braucht VERBINDUNG";
    }
    void parse() {
        QFETCH(QStringList, arguments);
        QFETCH(int, command);
        QFETCH(QString, error);
        const auto invocation = commandline::parse(arguments);
        QCOMPARE(int(invocation.command), command);
        QCOMPARE(invocation.error, error);
        if (command == int(Command::ImportParadox) || command == int(Command::CopyTo))
            QCOMPARE(invocation.value, arguments[1]);
        if (command == int(Command::ExportXlsx)) {
            QCOMPARE(invocation.value, QStringLiteral("t.xlsx"));
            QCOMPARE(invocation.group, QStringLiteral("U19"));
        }
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
            outStream,
            errStream,
            noConverters,
            DeviceChoice{{"simulator", kTimingUnitVariable, true}, {}},
            versionRecord ? std::optional(buildinfo::FileVersion{3, 1, 4, 159}) : std::nullopt,
            std::nullopt,
            {},
            {},
            plausibility::Limits{}};

        QCOMPARE(commandline::run(commandline::parse(arguments), context), status);
        QCOMPARE(outText, out);
        QCOMPARE(errText, err);
    }

    // --import-paradox and --copy-to: the counts on standard output and status 0, or the
    // reason on standard error, status 2 and nothing written. Run twice, they add nothing.
    void takeOvers_data() {
        QTest::addColumn<QString>("command"); // "import", "copy"
        QTest::addColumn<QString>("trouble"); // "", "no units", "no store", "no own file", "text"
        QTest::addColumn<QString>("told");    // the start of the first run's output
        const QString written = "Übernommen: 2 Sportler, 2 Messungen, 3 Sprünge.";
        QTest::newRow("import") << "import"
                                << "" << written;
        QTest::newRow("import without units.db") << "import"
                                                 << "no units"
                                                 << "kalvero: ";
        QTest::newRow("import with a bad setting") << "import"
                                                   << "no store"
                                                   << "kalvero: keine Verbindung\n";
        QTest::newRow("copy") << "copy"
                              << "" << written;
        QTest::newRow("copy without an own file") << "copy"
                                                  << "no own file"
                                                  << "kalvero: Die Datenbank „";
        QTest::newRow("copy to a file name") << "copy"
                                             << "text"
                                             << "kalvero: „";
    }
    void takeOvers() {
        QFETCH(QString, command);
        QFETCH(QString, trouble);
        QFETCH(QString, told);
        TestStore target;
        const bool copy = command == "copy";
        if (copy && trouble.isEmpty() && !target.onServer())
            QSKIP("a copy goes to a server");
        QTemporaryDir own;
        const QString folder = own.filePath("alt");
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(paradoxtables::writeSmallFolder(folder));
        if (trouble == "no units")
            QVERIFY(QFile::remove(folder + "/units.db"));
        if (copy && trouble != "no own file") {
            // The station's own file holds what the folder holds.
            QCOMPARE(runCommand({"--import-paradox", folder}, StoreLocation::embedded(own.path()))
                         .status,
                     0);
        }
        // The test's database on the private server; without one, a server that is never asked.
        QString connection = target.onServer() ? TestStore::serverConnection()
                                               : QStringLiteral("postgresql://nowhere/kalvero");
        connection.replace("/postgres?", "/" + target.serverDatabase + "?");
        if (trouble == "text")
            connection = own.path();
        const QStringList arguments =
            copy ? QStringList{"--copy-to", connection} : QStringList{"--import-paradox", folder};
        const std::optional<StoreLocation> store =
            trouble == "no store" ? std::nullopt : std::optional(target.location);

        const Output first = runCommand(arguments, store, own.path());
        QCOMPARE(first.status, trouble.isEmpty() ? 0 : 2);
        const QString& shown = trouble.isEmpty() ? first.out : first.err;
        QVERIFY2(shown.startsWith(told), qPrintable(shown));
        QVERIFY((trouble.isEmpty() ? first.err : first.out).isEmpty());
        if (trouble == "no units")
            QVERIFY2(first.err.contains("units.db"), qPrintable(first.err));

        Database db(target.location);
        QCOMPARE(
            MeasurementRepository(db).ofAthlete(AthleteRepository(db).all().value(0).id).size(),
            trouble.isEmpty() ? 2 : 0);
        if (!trouble.isEmpty())
            return;
        const Output again = runCommand(arguments, store, own.path());
        QCOMPARE(again.status, 0);
        QVERIFY2(again.out.startsWith("Übernommen: 0 Sportler, 0 Messungen, 0 Sprünge.\n"
                                      "2 Messungen waren schon vorhanden."),
                 qPrintable(again.out));
    }

    // --backup FILE and --restore FILE: the station's own file copied out and put back (the
    // file it replaces kept aside); a problem is named, exit status 2, nothing changed.
    void backupAndRestore() {
        if (TestStore::onServerSuite())
            QSKIP("the station's own file");
        QTemporaryDir dir;
        const StoreLocation here = StoreLocation::embedded(dir.path());
        const auto names = [&here] {
            Database db(here);
            QStringList out;
            for (const Athlete& a : AthleteRepository(db).all())
                out << a.name;
            return out;
        };
        const auto add = [&here](const QString& name) {
            Database db(here);
            AthleteRepository(db).add(Athlete{0, name, "Anna", {}, {}, -1, {}});
        };
        add("Meier");
        const QString file = dir.filePath("sicherung.sqlite");
        const Output backedUp = runCommand({"--backup", file}, here, dir.path());
        QCOMPARE(backedUp.status, 0);
        QVERIFY2(backedUp.out.contains(file), qPrintable(backedUp.out));
        add("Schulz");
        const Output restored = runCommand({"--restore", file}, here, dir.path());
        QCOMPARE(restored.status, 0);
        QVERIFY2(restored.out.contains("daneben"), qPrintable(restored.out));
        QCOMPARE(names(), QStringList{"Meier"});
        QCOMPARE(QDir(dir.path()).entryList({"qrv-ersetzt-*.sqlite"}).size(), 1);

        const QString text = dir.filePath("notiz.txt");
        {
            QFile f(text);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("keine Datenbank");
        }
        // Another program's database: once overwritten by a backup.
        const QString foreign = dir.filePath("fremd.sqlite");
        {
            QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "foreign");
            other.setDatabaseName(foreign);
            QVERIFY(other.open());
            QVERIFY(QSqlQuery(other).exec("CREATE TABLE t (x)"));
            other.close();
        }
        QSqlDatabase::removeDatabase("foreign");
        const QByteArray foreignBytes = [&foreign] {
            QFile f(foreign);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();
        const QByteArray database = [&dir] {
            QFile f(dir.filePath("qrv.sqlite"));
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();
        struct Refusal {
            QStringList arguments;
            const char* named;
        };
        Database open(here); // a running Kalvero
        for (const Refusal& r :
             {Refusal{{"--backup", text}, "notiz.txt"}, Refusal{{"--restore", text}, "notiz.txt"},
              Refusal{{"--backup", foreign}, "keine Sicherung von Kalvero"},
              Refusal{{"--restore", file}, "beendet"},
              Refusal{{"--backup", dir.filePath("fehlt/x.sqlite")}, "fehlt"}}) {
            const Output refused = runCommand(r.arguments, here, dir.path());
            QCOMPARE(refused.status, 2);
            QVERIFY2(refused.err.startsWith("kalvero: ") && refused.err.contains(r.named),
                     qPrintable(refused.err));
        }
        QFile f(dir.filePath("qrv.sqlite"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), database);
        QFile other(foreign);
        QVERIFY(other.open(QIODevice::ReadOnly));
        QCOMPARE(other.readAll(), foreignBytes);
        QCOMPARE(QDir(dir.path()).entryList({"qrv-ersetzt-*.sqlite"}).size(), 1);
        const Output server = runCommand(
            {"--backup", file}, *StoreLocation::fromConnectionText("postgresql://t@s/k"), "");
        QCOMPARE(server.status, 2);
        QVERIFY2(server.err.contains("pg_dump"), qPrintable(server.err));
    }

    // --export-csv FILE and --export-xlsx FILE, of all athletes or of a group: the counts on
    // standard output; a problem named on standard error with exit status 2, no file written.
    void exportTables() {
        TestStore store;
        {
            Database db(store.location);
            AthleteRepository athletes(db);
            GroupRepository groups(db);
            const qint64 meier = athletes.add(Athlete{0, "Meier", "Anna", {}, {}, 1, {}});
            const qint64 kern = groups.addAthlete(
                athletes, Athlete{0, "Kern", "Kim", {}, {}, 0, {}}, {groups.add("U19")});
            MeasurementRepository measurements(db);
            measurements.recordFirstJump(meier, QDateTime::currentDateTime(), {200, 500, 1.25, 1});
            measurements.recordFirstJump(kern, QDateTime::currentDateTime(), {210, 510, 1.24, 1});
        }
        QTemporaryDir dir;
        struct Case {
            QStringList arguments;
            int status;
            const char* told; // on standard output, or on standard error for a failure
            const char* file; // written, or none for a failure
        };
        const QString csv = dir.filePath("alle.csv");
        const QString group = dir.filePath("u19.xlsx");
        for (const Case& c : {
                 Case{{"--export-csv", csv}, 0, "2 Sprünge von 2 Sportlern", "alle.csv"},
                 Case{{"--export-xlsx", group, "--group", "u19"},
                      0,
                      "1 Sprünge von 1 Sportlern",
                      "u19.xlsx"},
                 Case{{"--export-csv", dir.filePath("u21.csv"), "--group", "U21"},
                      2,
                      "Die Gruppe \"U21\" gibt es nicht.",
                      nullptr},
                 Case{{"--export-xlsx", dir.filePath("fehlt/x.xlsx")}, 2, "fehlt", nullptr},
                 Case{{"--export-csv", dir.filePath("fehlt/x.csv")}, 2, "fehlt", nullptr},
             }) {
            const Output output = runCommand(c.arguments, store.location, dir.path());
            QCOMPARE(output.status, c.status);
            const QString& told = c.status == 0 ? output.out : output.err;
            QVERIFY2(told.contains(QString::fromUtf8(c.told)), qPrintable(told));
            QCOMPARE((c.status == 0 ? output.err : output.out), QString());
            if (c.file)
                QVERIFY(QFileInfo(dir.filePath(c.file)).size() > 0);
        }
        QVERIFY(QFileInfo::exists(dir.filePath("alle.json")));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 (QStringList{"alle.csv", "alle.json", "u19.xlsx"}));
        // Without a store to read: the reason, exit status 2.
        const Output noStore = runCommand({"--export-csv", csv});
        QCOMPARE(noStore.status, 2);
        QVERIFY2(noStore.err.contains("keine Verbindung"), qPrintable(noStore.err));
    }

    // Before: an export onto a disk that filled said it succeeded. Now, the disk filling at
    // the first, a middle or the last write: exit status 2, the file and the cause named, and
    // the files written before stay as they were.
    void writesOnAFullDisk_data() {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("at"); // 0: first write, 1: a middle one, 2: the last
        for (const auto& [option, name] :
             {std::pair{"--export-csv", "alle.csv"}, std::pair{"--export-xlsx", "alle.xlsx"},
              std::pair{"--backup", "sicherung.sqlite"}})
            for (int at = 0; at < 3; ++at)
                QTest::addRow("%s, write %d", option, at) << option << name << at;
    }
    void writesOnAFullDisk() {
        if (TestStore::onServerSuite())
            QSKIP("the station's own file");
        QFETCH(QString, option);
        QFETCH(QString, name);
        QFETCH(int, at);
        QTemporaryDir data;
        const StoreLocation here = StoreLocation::embedded(data.path());
        Database held(here); // open, as a running Kalvero holds it
        {
            AthleteRepository athletes(held);
            MeasurementRepository measurements(held);
            for (int a = 0; a < 40; ++a) {
                const qint64 id = athletes.add(Athlete{0, "Meier", "Anna", {}, {}, 1, {}});
                const Measurement m = measurements.recordFirstJump(id, QDateTime::currentDateTime(),
                                                                   {200, 500, 1.25, 1});
                for (int j = 2; j <= 20; ++j)
                    measurements.recordJump(m.id, {200, 500, 1.25, j});
            }
        }
        QTemporaryDir out;
        const QString file = out.filePath(name);
        QCOMPARE(runCommand({option, file}, here, data.path()).status, 0);
        const auto filesOut = [&out] {
            QMap<QString, QByteArray> files;
            for (const QString& n : QDir(out.path()).entryList(QDir::Files | QDir::Hidden)) {
                QFile f(out.filePath(n));
                files.insert(n, f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray());
            }
            return files;
        };
        const QMap<QString, QByteArray> earlier = filesOut();
        const qint64 size = QFileInfo(file).size();
        Output output;
        {
            const FileSizeLimit full(static_cast<rlim_t>(at == 0   ? 0
                                                         : at == 1 ? size / 2
                                                                   : size - 1));
            output = runCommand({option, file}, here, data.path());
        }
        QCOMPARE(output.status, 2);
        QCOMPARE(output.out, QString());
        QVERIFY2(output.err.startsWith("kalvero: ") &&
                     output.err.contains(QDir::toNativeSeparators(file)) &&
                     output.err.contains("Die Datei wird zu groß für den Datenträger."),
                 qPrintable(output.err));
        QCOMPARE(filesOut(), earlier);
    }

    // A file found damaged at its opening (here: its version cannot be read) is only read:
    // --export-csv and --export-xlsx write it as of a sound one.
    void exportTablesOfADamagedFile() {
        TestStore store;
        if (store.onServer())
            QSKIP("a damaged database file");
        {
            OpenedStore opened(store.location);
            const qint64 meier = opened.athletes().add(Athlete{0, "Meier", "Anna", {}, {}, 1, {}});
            const Measurement m = opened.measurements().recordFirstJump(
                meier, QDateTime::currentDateTime(), {200, 500, 1.25, 1});
            opened.measurements().recordJump(m.id, {210, 490, 1.14, 2});
        }
        QVERIFY(damagedfile::damageVersionTable(store.location));
        QVERIFY(OpenedStore(store.location).damaged());
        QTemporaryDir dir;
        for (const QString option : {"--export-csv", "--export-xlsx"}) {
            const QString file = dir.filePath(option.mid(9) + ".out");
            const Output output = runCommand({option, file}, store.location, dir.path());
            QCOMPARE(output.err, QString());
            QCOMPARE(output.status, 0);
            QVERIFY2(output.out.contains("2 Sprünge von 1 Sportlern"), qPrintable(output.out));
            QVERIFY(QFileInfo(file).size() > 0);
        }
    }

    // The help names every option and every variable a user can set.
    void helpNamesEverything() {
        const QString help = commandline::helpText();
        for (const char* name : {"debug",
                                 "--list-devices",
                                 "--version",
                                 "--help",
                                 "-h",
                                 kTimingUnitVariable,
                                 kServiceDeviceVariable,
                                 kByteLogVariable,
                                 "KALVERO_DATA_DIR",
                                 "[Gerät]",
                                 "Zeitmessung",
                                 "Service",
                                 "serial:",
                                 "--import-paradox",
                                 "--copy-to",
                                 "--backup",
                                 "--restore",
                                 "--export-csv",
                                 "--export-xlsx",
                                 "--group",
                                 "KALVERO_DATABASE",
                                 "[Datenbank]",
                                 "Verbindung",
                                 ".pgpass"})
            QVERIFY2(help.contains(QLatin1String(name)) || help.contains(QString::fromUtf8(name)),
                     name);
        // It fits a terminal of 80 columns, and the texts of the options and variables start
        // in one column.
        for (const QString& line : help.split('\n')) {
            QVERIFY2(line.size() <= 80, qPrintable(line));
            if (line.startsWith("  ") && line.size() > 26)
                QVERIFY2(line.at(25) == ' ' && line.at(26) != ' ', qPrintable(line));
        }
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
