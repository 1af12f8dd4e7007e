#pragma once

#include <QStringList>

class QAbstractItemModel;
class QAbstractItemView;
class QHeaderView;
class QTableView;
class QWidget;

// The look shared by the program's grids, and column widths that never cut a text off.
namespace gridview {

// A read-only grid of whole rows, one selected at a time.
QTableView* create(const QString& objectName, QAbstractItemModel* model, QWidget* parent);

// Gives every column the width its title and its widest value (`samples`, one per column;
// an empty text for none) need, lets the last column take what is left, and makes the view
// at least as wide as its first `shownColumns` columns (all by default), so that these never
// scroll sideways; the columns after them are reached by scrolling in a small window.
// It also keeps three rows in view however small the window gets.
void fitColumns(QAbstractItemView* view, QHeaderView* header, const QList<QStringList>& samples,
                int shownColumns = -1);

// The height of a row of the program's grids and lists.
int rowHeight(const QAbstractItemView* view);

} // namespace gridview
