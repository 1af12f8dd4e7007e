// The program's entry: it names the application, checks the settings file, chooses the store and
// the timing unit's driver, and runs either an option of the command line or the windows.

#include "app/Application.h"
#include "app/CommandLine.h"
#include "core/base/BuildInfo.h"
#include "core/base/Clock.h"
#include "core/base/Settings.h"
#include "core/link/SerialDriver.h"
#include "core/link/TimingDriverFactory.h"
#include "core/station/Station.h"
#include "core/store/StoreLocation.h"
#include "ui/common/AppContext.h"
#include "ui/common/MessageService.h"
#include "ui/common/QtMessageService.h"
#include "ui/main/MainWindow.h"

#include <QApplication>
#include <QProcessEnvironment>
#include <QSettings>
#include <QTextStream>

#include <csignal>
#include <cstdio>

namespace {

void nameApplication() {
    QCoreApplication::setApplicationName(QStringLiteral("Kalvero"));
    QCoreApplication::setOrganizationName(QStringLiteral("Morvek"));
}

// The store the program works on: KALVERO_DATABASE, else the settings, else the file.
std::optional<StoreLocation> chooseStore(const QProcessEnvironment& environment,
                                         const QSettings& settings, QString* error) {
    return StoreLocation::choose(environment.value(QStringLiteral("KALVERO_DATABASE")),
                                 settings.value(QStringLiteral("Datenbank/Verbindung")).toString(),
                                 StoreLocation::dataDirectory(environment), error);
}

// The plausibility limits kept in the settings.
plausibility::Limits limitsOf(const StoredSettings& stored) {
    plausibility::Limits limits;
    limits.contactMinMs = stored.contactMinMs;
    limits.contactMaxMs = stored.contactMaxMs;
    limits.flightMinMs = stored.flightMinMs;
    limits.flightMaxMs = stored.flightMaxMs;
    return limits;
}

// The options that need no window run without one, so they work without a display too.
int runWithoutWindow(int argc, char* argv[], const SettingsFileCheck& settingsCheck) {
    QCoreApplication app(argc, argv);
    nameApplication();
    QTextStream out(stdout);
    QTextStream err(stderr);
    const SerialDriver machine;
    const auto settings = userSettings();
    applyLanguage(*settings);
    if (const QString found = settingsFileMessage(settingsCheck); !found.isEmpty())
        err << "kalvero: " << found << Qt::endl;
    // Read again now that the language is known, for a refusal in it.
    const auto invocation = commandline::parse(commandline::argumentsOf(argc, argv));
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QString storeError;
    const QString dataDirectory = StoreLocation::dataDirectory(environment);
    const auto store = chooseStore(environment, *settings, &storeError);
    const commandline::CommandContext context{
        out,
        err,
        machine,
        chooseDevices(environment, settings.get()),
        buildinfo::readFileVersion(QCoreApplication::applicationFilePath()),
        store,
        storeError,
        dataDirectory,
        limitsOf(readSettings(*settings))};
    return commandline::run(invocation, context);
}

} // namespace

int main(int argc, char* argv[]) {
    // A file that reaches the size limit of the process fails its write, which is told like a
    // full disk, instead of ending the program and leaving the user without a word.
    std::signal(SIGXFSZ, SIG_IGN);
    // The settings file is checked before anything reads it; what the check found is told
    // once the language it chooses is known.
    const QString settingsFile = userSettingsFile();
    const SettingsFileCheck settingsCheck = checkSettingsFile(settingsFile);
    const auto invocation = commandline::parse(commandline::argumentsOf(argc, argv));
    if (invocation.command != commandline::Command::Window)
        return runWithoutWindow(argc, argv, settingsCheck);

    // A device choice that cannot work is refused before anything opens.
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    SystemClock clock;
    QString error;
    const auto driver = withByteLogIfAsked(
        createTimingDriver(chooseDevices(environment, userSettings().get()), clock, &error),
        environment, clock);
    if (!driver) {
        std::fprintf(stderr, "kalvero: %s\n", qPrintable(error));
        return 2;
    }

    const auto store = chooseStore(environment, *userSettings(), &error);
    if (!store) {
        std::fprintf(stderr, "kalvero: %s\n", qPrintable(error));
        return 2;
    }

    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    nameApplication();
    applyLanguage(*userSettings());

    QtMessageService messages([] { return userSettings(); });
    QStringList found{settingsFileMessage(settingsCheck),
                      settingsNotWritableMessage(settingsWriteObstacle(settingsFile))};
    found.removeAll(QString());
    if (!found.isEmpty()) {
        const QString text = found.join(QStringLiteral("\n\n"));
        std::fprintf(stderr, "kalvero: %s\n", qPrintable(text));
        boxes::information(messages, text);
    }
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    const QString journalDirectory = store->kind == StoreLocation::Kind::Server
                                         ? StoreLocation::dataDirectory(environment)
                                         : QString();
    AppContext context{messages,  clock,           *driver, *store, [] { return userSettings(); },
                       arguments, journalDirectory};

    Station station(*driver, clock);
    const auto window = createWindows(context, station);
    window->show();
    return QApplication::exec();
}
