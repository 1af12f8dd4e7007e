#pragma once

#include <QString>

class QLabel;
class QWidget;

// Small helpers shared by the program's windows.
namespace widgets {

// A label in the bold face of its parent's font.
QLabel* boldLabel(const QString& text, const QString& objectName, QWidget* parent);
// Places a window (with its frame) in the middle of the screen it is on.
void centreOnScreen(QWidget* window);

} // namespace widgets
