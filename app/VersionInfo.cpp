// The version message.

#include "app/MainForm.h"

void TForm1::Action15Execute() {}

bool TForm1::GetBuildInfo(const QString&, quint16&, quint16&, quint16&, quint16&) {
    return false;
}
