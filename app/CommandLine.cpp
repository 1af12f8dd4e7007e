#include "app/CommandLine.h"

#include "core/link/DeviceListing.h"

#include <QTextStream>

namespace commandline {
namespace {

struct Option {
    const char* name;      // "--list-devices"
    const char* shortName; // "-h", or null
    Command command;
    const char* help;
};

constexpr Option kOptions[] = {
    {"--list-devices", nullptr, Command::ListDevices,
     "listet die USB-Seriell-Wandler und zeigt, welche Kalvero benutzt"},
    {"--version", nullptr, Command::Version, "zeigt die Version"},
    {"--help", "-h", Command::Help, "zeigt diese Hilfe"},
};

const Option* findOption(const QString& argument) {
    for (const Option& option : kOptions) {
        if (argument == QLatin1String(option.name) ||
            (option.shortName != nullptr && argument == QLatin1String(option.shortName)))
            return &option;
    }
    return nullptr;
}

Invocation refused(const QString& text) {
    return {Command::Refused, text};
}

} // namespace

QStringList argumentsOf(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

Invocation parse(const QStringList& arguments) {
    Invocation invocation;
    for (const QString& argument : arguments) {
        if (!argument.startsWith(QLatin1String("--")) && argument != QLatin1String("-h"))
            continue; // "debug" and Qt's own options
        const Option* option = findOption(argument);
        if (option == nullptr)
            return refused(QStringLiteral("unbekannte Option \"%1\"").arg(argument));
        if (invocation.command != Command::Window)
            return refused(QStringLiteral("\"%1\" und eine weitere Option gehen nicht zusammen")
                               .arg(QLatin1String(option->name)));
        invocation.command = option->command;
    }
    return invocation;
}

QString versionLine(const std::optional<buildinfo::FileVersion>& version) {
    const buildinfo::FileVersion shown =
        version.value_or(buildinfo::FileVersion{KALVERO_VERSION_MAJOR, KALVERO_VERSION_MINOR,
                                                KALVERO_VERSION_PATCH, KALVERO_VERSION_TWEAK});
    return QStringLiteral("kalvero %1.%2.%3.%4")
        .arg(shown.major)
        .arg(shown.minor)
        .arg(shown.release)
        .arg(shown.build);
}

QString helpText() {
    QString text = QStringLiteral(
        "Aufruf: kalvero [debug] [OPTION]\n"
        "Drop-Jump- und Reaktivsprung-Tests mit der Zeitmessung \"QRV 2.0\".\n"
        "Ohne Option öffnet Kalvero sein Fenster; \"debug\" fügt das Menü \"Debug\" mit dem\n"
        "Service-Fenster hinzu. Optionen von Qt (etwa -platform) gehen an Qt.\n\n"
        "Optionen:\n");
    for (const Option& option : kOptions) {
        QString names = QLatin1String(option.name);
        if (option.shortName != nullptr)
            names += QStringLiteral(", ") + QLatin1String(option.shortName);
        text += QStringLiteral("  %1  %2\n")
                    .arg(names.leftJustified(22), QString::fromUtf8(option.help));
    }
    text += QStringLiteral(
        "\nUmgebung:\n"
        "  KALVERO_TIMING_UNIT     Zeitmessung: simulator, simulator:SKRIPT oder\n"
        "                          serial:GERÄTEDATEI (ohne Wert: der FTDI-Wandler mit dem\n"
        "                          Produkttext \"QRV 2.0\")\n"
        "  KALVERO_SERVICE_DEVICE  Service-Gerät: serial:GERÄTEDATEI (ohne Wert: der\n"
        "                          FTDI-Wandler mit dem Produkttext \"VudurEve\")\n"
        "  KALVERO_BYTE_LOG=1      schreibt jedes Byte der Verbindung auf die\n"
        "                          Standardfehlerausgabe\n"
        "  KALVERO_DATA_DIR        Ordner der Datenbank\n"
        "Dieselbe Wahl der Geräte steht in ~/.config/Morvek/QRV.conf, Gruppe [Gerät],\n"
        "Schlüssel Zeitmessung und Service; die Umgebung geht vor.\n");
    return text;
}

int run(const Invocation& invocation, const CommandContext& context) {
    switch (invocation.command) {
    case Command::Window:
        break;
    case Command::Refused:
        context.err << "kalvero: " << invocation.error << "\n"
                    << "\"kalvero --help\" zeigt die Optionen.\n";
        context.err.flush();
        return 2;
    case Command::Help:
        context.out << helpText();
        context.out.flush();
        return 0;
    case Command::Version:
        context.out << versionLine(context.version) << "\n";
        context.out.flush();
        return 0;
    case Command::ListDevices:
        context.out << deviceListing(context.serial, context.devices);
        context.out.flush();
        return 0;
    }
    return 2;
}

} // namespace commandline
