#include "app/AppContext.h"
#include "app/Application.h"
#include "app/Clock.h"
#include "app/MainForm.h"
#include "app/QtMessageService.h"
#include "store/Database.h"

#include <QApplication>
#include <QProcessEnvironment>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kalvero"));
    QApplication::setOrganizationName(QStringLiteral("Morvek"));

    QtMessageService ui;
    SystemClock clock;
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    AppContext context{ui, clock, Database::dataDirectory(QProcessEnvironment::systemEnvironment()),
                       [] { return userSettings(); }, arguments};

    const auto form = createWindows(context);
    form->show();
    return QApplication::exec();
}
