#pragma once

class MainWindow;

// The database file checked at start without holding the window; when it is found damaged,
// the offer to put the newest sound backup in its place (the damaged file is renamed aside).
namespace restoreoffer {

// Starts the check of the open database (and the day's backup); its verdict comes later.
void checkAtStart(MainWindow& window);
// The database was found damaged: offers the newest sound backup, or says there is none.
void offer(MainWindow& window);

} // namespace restoreoffer
