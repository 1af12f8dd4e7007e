// The service panel behind the "Debug" entry.

#include "app/MainForm.h"

void TForm1::BugBeeExecute() {}
