// Deleting a measurement from the history list.

#include "app/MainForm.h"

void TForm1::DelUeb() {}

void TForm1::ResetQuery2() {}

void TForm1::ResetQuery3() {}
