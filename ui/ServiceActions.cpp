// The service panel behind the "Debug" entry.

#include "ui/MainForm.h"

void TForm1::BugBeeExecute() {
    if (!Form6)
        return;
    // Modeless: the main window and a running measurement go on while it is open.
    Form6->show();
    Form6->raise();
    Form6->activateWindow();
}
