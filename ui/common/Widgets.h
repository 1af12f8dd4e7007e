#pragma once

#include <QColor>
#include <QPalette>
#include <QString>
#include <QStyledItemDelegate>

class QLabel;
class QWidget;

// Small helpers shared by the program's windows.
namespace widgets {

// A label in the bold face of its parent's font.
QLabel* boldLabel(const QString& text, const QString& objectName, QWidget* parent);
// Places a window (with its frame) in the middle of the screen it is on.
void centreOnScreen(QWidget* window);
// Makes a shown window no larger than the room its screen leaves beside the panels, and moves
// it (with its frame) wholly onto that room.
void keepOnScreen(QWidget* window);

// The dark red of a warning in a window's text.
inline const QColor kWarningColour(192, 0, 0);
// The colour of a widget's text in one role, whether its window is active or not.
void setTextColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour);

// The hourglass while the program reads or writes a lot.
class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

// Draws grid lines between the cells of a report list, and centres the text of the columns
// from `firstCentred` on.
class GridLinesDelegate : public QStyledItemDelegate {
public:
    explicit GridLinesDelegate(QObject* parent, int firstCentred = 1)
        : QStyledItemDelegate(parent), firstCentred_(firstCentred) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    int firstCentred_;
};

} // namespace widgets
