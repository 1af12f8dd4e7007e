#pragma once

#include "core/base/BuildInfo.h"
#include "core/link/TimingDriverFactory.h"
#include "core/measure/Limits.h"
#include "core/store/StoreLocation.h"

#include <QString>
#include <QStringList>

#include <optional>

class QTextStream;
class SerialDriver;

// The program's command line. Options begin with "--" (help also "-h") and run without a
// window; every other argument is left to Qt and the main window as before ("debug" adds the
// Debug menu). A new option is one row in the table of CommandLine.cpp and one case in run().
namespace commandline {

enum class Command {
    Window,        // no option: the main window
    Refused,       // an unknown option, two options at once
    Help,          // --help, -h
    Version,       // --version
    ListDevices,   // --list-devices
    ImportParadox, // --import-paradox FOLDER
    CopyTo,        // --copy-to CONNECTION
    Backup,        // --backup FILE
    Restore,       // --restore FILE
    ExportCsv,     // --export-csv FILE [--group NAME]
    ExportXlsx,    // --export-xlsx FILE [--group NAME]
};

struct Invocation {
    Command command = Command::Window;
    QString error; // for Refused: the line for standard error
    QString value; // the option's value: the folder, the connection
    QString group; // --group: the group whose athletes an export covers; null for all
};

// The arguments of main() as text, without the program name.
QStringList argumentsOf(int argc, char* argv[]);

// Reads the arguments (without the program name).
Invocation parse(const QStringList& arguments);

// What the commands without a window work with.
struct CommandContext {
    QTextStream& out;
    QTextStream& err;
    const SerialDriver& serial; // the converters of the machine, for --list-devices
    DeviceChoice devices;       // from the environment and the settings file
    std::optional<buildinfo::FileVersion> version; // the program file's version record
    // The store the program works on (KALVERO_DATABASE, the settings or the file), for
    // --import-paradox; nothing, with the reason, when the connection text is no such.
    std::optional<StoreLocation> store;
    QString storeError;
    QString dataDirectory;       // the station's own database file's folder, for --copy-to
    plausibility::Limits limits; // from the settings, for the columns of the exports
};

// Runs a command other than Window and returns the program's exit status: 0 when it did its
// job, 2 for a refused command line, or a take-over, backup, restore or export that failed
// (nothing written then).
int run(const Invocation& invocation, const CommandContext& context);

// "kalvero 2.4.0.13": the program file's version record, or the version it was built as when
// the file carries none.
QString versionLine(const std::optional<buildinfo::FileVersion>& version);

// The text of --help.
QString helpText();

} // namespace commandline
