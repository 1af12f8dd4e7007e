#pragma once

#include <QSettings>

#include <memory>

struct AppContext;
class MainWindow;
class Station;

// Creates the program's windows for the station, each hidden, in their fixed order: the main
// window first, then the athlete editor, the limits dialog, the search dialog and the service
// panel. The main window owns them all; the station outlives them.
std::unique_ptr<MainWindow> createWindows(AppContext& context, Station& station);

// Qt's own texts (the file dialogs, the details button of a message box, the context menu of
// an edit field) in German like the rest of the program, from Debian's Qt translations.
// False when they are not installed; Qt's English texts remain.
bool installQtTranslations();

// The settings store of the current user: organisation "Morvek", application "QRV".
std::unique_ptr<QSettings> userSettings();
