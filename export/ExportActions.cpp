// Text export of the stored jumps and the clipboard copy.

#include "app/MainForm.h"

void TForm1::SingleExportExecute() {}

void TForm1::AllExportExecute() {}
