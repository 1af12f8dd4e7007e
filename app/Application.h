// The program's start around the station: its windows in their fixed order, the texts of the
// chosen language, and the user's settings file.

#pragma once

#include "core/base/Language.h"

#include <QLocale>
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
// an edit field) in the program's language: German from Debian's Qt translations, English as
// Qt has them. False when the German ones are not installed; Qt's English texts remain.
bool installQtTranslations(language::Language language = language::Language::German);

// The program's own texts in the language: the English translation built into the program
// (translations/kalvero_en.ts); German, the language of the sources, needs none. False when
// the translation could not be loaded; the German texts remain.
bool installProgramTranslation(language::Language language);

// Chooses the language at start ("Einstellungen/Sprache", else the system's locale), installs
// the program's and Qt's texts for it, and makes its locale the default for the numbers, dates
// and times on screen. The export file does not depend on it.
language::Language applyLanguage(QSettings& settings, const QLocale& system = QLocale::system());

// The settings store of the current user: organisation "Morvek", application "QRV".
std::unique_ptr<QSettings> userSettings();

// The file in which userSettings() keeps them, known without reading it (QSettings reads its
// file as it is made); empty where they are not kept in a file.
QString userSettingsFile();
