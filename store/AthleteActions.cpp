// Athlete management: show all, search, new, change and delete athletes.

#include "app/MainForm.h"

void TForm1::Action6Execute() {}

void TForm1::Action1Execute() {}

void TForm1::Action2Execute() {}

void TForm1::SAendernExecute() {}

void TForm1::Action4Execute() {}

void TForm1::DelPat() {}
