#pragma once

#include <memory>

struct AppContext;
class TForm1;

// Creates the program's windows, each hidden, in their fixed order: the main window first,
// then the athlete editor, the limits dialog, the search dialog and the service panel. The
// main window owns them all.
std::unique_ptr<TForm1> createWindows(AppContext& context);
