// The options of the command line: their table, the help text and each option's work without a
// window.

#include "app/CommandLine.h"

#include "core/base/Errors.h"
#include "core/export/TidyExport.h"
#include "core/export/Workbook.h"
#include "core/link/DeviceListing.h"
#include "core/store/Backup.h"
#include "core/store/DataStore.h"
#include "core/takeover/TakeoverCommands.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace commandline {
namespace {

// The texts the command line writes for the user, in the translation context "CommandLine".
struct CommandLineTexts {
    Q_DECLARE_TR_FUNCTIONS(CommandLine)
};

struct Option {
    const char* name;      // "--list-devices"
    const char* shortName; // "-h", or null
    const char* value;     // what the next argument names ("DATEI", translated), or null
    Command command;
    const char* help;
};

constexpr Option kOptions[] = {
    {"--list-devices", nullptr, nullptr, Command::ListDevices,
     QT_TRANSLATE_NOOP("CommandLine",
                       "listet die USB-Seriell-Wandler und zeigt, welche Kalvero benutzt")},
    {"--import-paradox", nullptr, QT_TRANSLATE_NOOP("CommandLine", "ORDNER"),
     Command::ImportParadox,
     QT_TRANSLATE_NOOP("CommandLine", "übernimmt die Paradox-Tabellen eines alten Datenordners")},
    {"--copy-to", nullptr, QT_TRANSLATE_NOOP("CommandLine", "VERBINDUNG"), Command::CopyTo,
     QT_TRANSLATE_NOOP(
         "CommandLine",
         "kopiert die eigene Datenbankdatei in eine gemeinsame PostgreSQL-Datenbank")},
    {"--backup", nullptr, QT_TRANSLATE_NOOP("CommandLine", "DATEI"), Command::Backup,
     QT_TRANSLATE_NOOP(
         "CommandLine",
         "sichert die Datenbankdatei des Datenverzeichnisses in DATEI (mit SQLites Online-Backup, "
         "auch während Kalvero läuft)")},
    {"--restore", nullptr, QT_TRANSLATE_NOOP("CommandLine", "DATEI"), Command::Restore,
     QT_TRANSLATE_NOOP(
         "CommandLine",
         "setzt die Sicherung DATEI an die Stelle der Datenbankdatei, nur während Kalvero nicht "
         "läuft; die bisherige Datei bleibt umbenannt daneben")},
    {"--export-csv", nullptr, QT_TRANSLATE_NOOP("CommandLine", "DATEI"), Command::ExportCsv,
     QT_TRANSLATE_NOOP(
         "CommandLine",
         "schreibt die Sprünge aller Sportler (mit --group die einer Gruppe) als Tabelle für "
         "Auswertungsprogramme in DATEI: CSV in UTF-8, dazu eine Beschreibung gleichen Namens "
         "mit der Endung .json")},
    {"--export-xlsx", nullptr, QT_TRANSLATE_NOOP("CommandLine", "DATEI"), Command::ExportXlsx,
     QT_TRANSLATE_NOOP("CommandLine",
                       "schreibt dieselben Sprünge und die Messungen mit ihren Statistiken als "
                       "Excel-Arbeitsmappe in DATEI")},
    {"--group", nullptr, QT_TRANSLATE_NOOP("CommandLine", "NAME"), Command::Window,
     QT_TRANSLATE_NOOP(
         "CommandLine",
         "nur mit --export-csv oder --export-xlsx: nur die Sportler der Gruppe NAME")},
    {"--version", nullptr, nullptr, Command::Version,
     QT_TRANSLATE_NOOP("CommandLine", "zeigt die Version")},
    {"--help", "-h", nullptr, Command::Help, QT_TRANSLATE_NOOP("CommandLine", "zeigt diese Hilfe")},
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
    return {Command::Refused, text, {}, {}};
}

// The end of an option that changes data: what was done on standard output (exit status 0),
// or the failure on standard error (exit status 2).
int finish(const std::optional<Failure>& failure, const QString& done,
           const CommandContext& context) {
    if (failure) {
        context.err << "kalvero: " << failure->text;
        if (!failure->detail.isEmpty())
            context.err << " (" << failure->detail << ")";
        context.err << "\n";
        context.err.flush();
        return 2;
    }
    context.out << done << "\n";
    context.out.flush();
    return 0;
}

// --import-paradox and --copy-to: the counts on standard output, or the reason on standard
// error and nothing written.
int takeOver(const Invocation& invocation, const CommandContext& context) {
    QString reason;
    const auto failure = failureOf([&] {
        if (invocation.command == Command::ImportParadox) {
            if (!context.store)
                throw AppError(context.storeError);
            reason = takeover::importFolder(invocation.value, *context.store);
            return;
        }
        QString refusal;
        const auto shared = StoreLocation::fromConnectionText(invocation.value, &refusal);
        if (!shared)
            throw AppError(refusal);
        reason = takeover::copyStation(context.dataDirectory, *shared);
    });
    return finish(failure, reason, context);
}

// --backup and --restore: what was done on standard output, or the reason on standard error
// and nothing changed.
int backUpOrRestore(const Invocation& invocation, const CommandContext& context) {
    QString done;
    const auto failure = failureOf([&] {
        if (context.store && context.store->kind == StoreLocation::Kind::Server)
            throw AppError(CommandLineTexts::tr("Kalvero sichert keinen Datenbankserver (%1); das "
                                                "macht pg_dump auf dem Server.")
                               .arg(context.store->serverName()));
        const QString database = QDir(context.dataDirectory).filePath(StoreLocation::kFileName);
        const QString file = QFileInfo(invocation.value).absoluteFilePath();
        if (invocation.command == Command::Backup) {
            backup::copy(database, file);
            done = CommandLineTexts::tr("%1 gesichert nach %2")
                       .arg(QDir::toNativeSeparators(database), QDir::toNativeSeparators(file));
            return;
        }
        const QString aside = backup::restore(
            context.dataDirectory, file, QStringLiteral("ersetzt"), QDateTime::currentDateTime());
        done = CommandLineTexts::tr("%1 wiederhergestellt aus %2")
                   .arg(QDir::toNativeSeparators(database), QDir::toNativeSeparators(file));
        if (!aside.isEmpty())
            done += CommandLineTexts::tr("; die bisherige Datei liegt als %1 daneben")
                        .arg(QDir::toNativeSeparators(aside));
    });
    return finish(failure, done, context);
}

// --export-csv and --export-xlsx: the counts on standard output, or the reason on standard
// error and no file written.
int exportTable(const Invocation& invocation, const CommandContext& context) {
    QString done;
    const auto failure = failureOf([&] {
        if (!context.store)
            throw AppError(context.storeError);
        DataStore store;
        store.open(*context.store);
        const QList<qint64> athletes = tidyexport::athletesToExport(store, invocation.group);
        const QString file = QFileInfo(invocation.value).absoluteFilePath();
        const tidyexport::Result result =
            invocation.command == Command::ExportCsv
                ? tidyexport::writeCsv(store, file, athletes, context.limits)
                : workbook::write(store, file, athletes, context.limits);
        if (result.outcome != Exporter::Outcome::Written)
            throw AppError(result.message);
        done = CommandLineTexts::tr("%1 Sprünge von %2 Sportlern geschrieben nach %3")
                   .arg(result.written.jumps)
                   .arg(result.written.athletes)
                   .arg(QDir::toNativeSeparators(file));
        if (invocation.command == Command::ExportCsv)
            done += CommandLineTexts::tr(", beschrieben in %1")
                        .arg(QDir::toNativeSeparators(tidyexport::descriptionPath(file)));
    });
    return finish(failure, done, context);
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
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (!argument.startsWith(QLatin1String("--")) && argument != QLatin1String("-h"))
            continue; // "debug" and Qt's own options
        const Option* option = findOption(argument);
        if (option == nullptr)
            return refused(CommandLineTexts::tr("unbekannte Option \"%1\"").arg(argument));
        const bool group = QLatin1String(option->name) == QLatin1String("--group");
        if (group ? !invocation.group.isNull() : invocation.command != Command::Window)
            return refused(
                CommandLineTexts::tr("\"%1\" und eine weitere Option gehen nicht zusammen")
                    .arg(QLatin1String(option->name)));
        if (!group)
            invocation.command = option->command;
        if (option->value == nullptr)
            continue;
        if (i + 1 >= arguments.size() || arguments[i + 1].isEmpty())
            return refused(
                CommandLineTexts::tr("\"%1\" braucht %2")
                    .arg(QLatin1String(option->name), CommandLineTexts::tr(option->value)));
        (group ? invocation.group : invocation.value) = arguments[++i];
    }
    if (!invocation.group.isNull() && invocation.command != Command::ExportCsv &&
        invocation.command != Command::ExportXlsx)
        return refused(
            QStringLiteral("\"--group\" gilt nur mit \"--export-csv\" oder \"--export-xlsx\""));
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

namespace {

// One option of the help: its names, then its text wrapped to 80 columns at the text column.
// Names too wide for their column stand on a line of their own.
QString optionLine(const QString& names, const QString& help) {
    constexpr qsizetype kTextColumn = 26;
    constexpr qsizetype kWidth = 80;
    const QString indent(kTextColumn, QLatin1Char(' '));
    QString line = QStringLiteral("  ") + names;
    QString text;
    if (line.size() + 2 > kTextColumn) {
        text = line + QLatin1Char('\n');
        line = indent;
    } else {
        line = line.leftJustified(kTextColumn);
    }
    bool lineHasWords = false;
    for (const QString& word : help.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (lineHasWords && line.size() + 1 + word.size() > kWidth) {
            text += line + QLatin1Char('\n');
            line = indent;
            lineHasWords = false;
        }
        line += (lineHasWords ? QStringLiteral(" ") : QString()) + word;
        lineHasWords = true;
    }
    return text + line + QLatin1Char('\n');
}

} // namespace

QString helpText() {
    QString text = CommandLineTexts::tr(
        "Aufruf: kalvero [debug] [OPTION [WERT]]\n"
        "Drop-Jump- und Reaktivsprung-Tests mit der Zeitmessung \"QRV 2.0\".\n"
        "Ohne Option öffnet Kalvero sein Fenster; \"debug\" fügt das Menü \"Debug\" mit dem\n"
        "Service-Fenster hinzu. Optionen von Qt (etwa -platform) gehen an Qt.\n\n"
        "Optionen:\n");
    for (const Option& option : kOptions) {
        QString names = QLatin1String(option.name);
        if (option.value != nullptr)
            names += QLatin1Char(' ') + CommandLineTexts::tr(option.value);
        if (option.shortName != nullptr)
            names += QStringLiteral(", ") + QLatin1String(option.shortName);
        text += optionLine(names, CommandLineTexts::tr(option.help));
    }
    text += CommandLineTexts::tr(
        "\nUmgebung:\n"
        "  KALVERO_TIMING_UNIT     Zeitmessung: simulator, simulator:SKRIPT oder\n"
        "                          serial:GERÄTEDATEI (ohne Wert: der FTDI-Wandler mit\n"
        "                          dem Produkttext \"QRV 2.0\")\n"
        "  KALVERO_SERVICE_DEVICE  Service-Gerät: serial:GERÄTEDATEI (ohne Wert: der\n"
        "                          FTDI-Wandler mit dem Produkttext \"VudurEve\")\n"
        "  KALVERO_BYTE_LOG=1      schreibt jedes Byte der Verbindung auf die\n"
        "                          Standardfehlerausgabe\n"
        "  KALVERO_DATA_DIR        Ordner der Datenbankdatei\n"
        "  KALVERO_DATABASE        eine PostgreSQL-Datenbank statt der Datei, etwa\n"
        "                          postgresql://trainer@server.local:5432/kalvero\n"
        "Dieselbe Wahl der Geräte steht in ~/.config/Morvek/QRV.conf, Gruppe [Gerät],\n"
        "Schlüssel Zeitmessung und Service, die der Datenbank in der Gruppe [Datenbank],\n"
        "Schlüssel Verbindung; die Umgebung geht vor. Das Passwort des Datenbankservers\n"
        "kommt aus ~/.pgpass oder PGPASSWORD.\n");
    return text;
}

int run(const Invocation& invocation, const CommandContext& context) {
    switch (invocation.command) {
    case Command::Window:
        break;
    case Command::Refused:
        context.err << "kalvero: " << invocation.error << "\n"
                    << CommandLineTexts::tr("\"kalvero --help\" zeigt die Optionen.") << "\n";
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
    case Command::ImportParadox:
    case Command::CopyTo:
        return takeOver(invocation, context);
    case Command::Backup:
    case Command::Restore:
        return backUpOrRestore(invocation, context);
    case Command::ExportCsv:
    case Command::ExportXlsx:
        return exportTable(invocation, context);
    }
    return 2;
}

} // namespace commandline
