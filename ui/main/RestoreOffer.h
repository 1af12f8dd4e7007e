#pragma once

struct AppContext;
class AthleteController;
class HistoryController;
class QObject;
class Station;

// The database file checked at start without holding the window; when it is found damaged,
// the offer to put the newest sound backup in its place (the damaged file is renamed aside).
namespace restoreoffer {

// What the offer works on; all of them outlive the window that asks.
struct Parts {
    AppContext& context;
    Station& station;
    AthleteController& athletes;
    HistoryController& history;
};

// Starts the check of the open database (and the day's backup); its verdict comes later, on
// `receiver`'s thread while it lives.
void checkAtStart(const Parts& parts, QObject* receiver);
// The database was found damaged: offers the newest sound backup, or says there is none.
void offer(const Parts& parts);

} // namespace restoreoffer
