#include "app/Application.h"
#include "core/base/Clock.h"
#include "core/link/TimingDriverFactory.h"
#include "core/store/Database.h"
#include "ui/AppContext.h"
#include "ui/MainWindow.h"
#include "ui/QtMessageService.h"

#include <QApplication>
#include <QProcessEnvironment>

#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setApplicationName(QStringLiteral("Kalvero"));
    QApplication::setOrganizationName(QStringLiteral("Morvek"));

    SystemClock clock;
    QString error;
    const auto driver = createTimingDriverFromEnvironment(clock, &error);
    if (!driver) {
        std::fprintf(stderr, "kalvero: %s\n", qPrintable(error));
        return 2;
    }

    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const auto store = StoreLocation::choose(
        environment.value(QStringLiteral("KALVERO_DATABASE")),
        userSettings()->value(QStringLiteral("Datenbank/Verbindung")).toString(),
        Database::dataDirectory(environment), &error);
    if (!store) {
        std::fprintf(stderr, "kalvero: %s\n", qPrintable(error));
        return 2;
    }

    QtMessageService ui;
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    AppContext context{ui, clock, *driver, *store, [] { return userSettings(); }, arguments};

    const auto window = createWindows(context);
    window->show();
    return QApplication::exec();
}
