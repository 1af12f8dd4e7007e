#pragma once

#include "core/store/StoreLocation.h"

#include <QSettings>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class MessageService;
class Clock;
class D2xxDriver;

// What the main window needs from outside: the user's desktop, time, where the data and the
// settings live, and the command line.
struct AppContext {
    MessageService& messages; // message boxes, file dialogs, progress and the clipboard
    Clock& clock;
    D2xxDriver& driver;  // behind the timing unit and the service device
    StoreLocation store; // the data directory's file, or a shared database
    std::function<std::unique_ptr<QSettings>()> openSettings;
    QStringList arguments; // without the program name
    // Where a station on a server keeps its journal while the server is away (the data
    // directory); empty for a station on its own file.
    QString journalDirectory;
};
