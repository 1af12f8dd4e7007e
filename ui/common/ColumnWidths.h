#pragma once

#include <QStringList>

class QAbstractItemView;
class QHeaderView;

// Column widths that never cut a text off: a list's own width rule, widened where a column's
// header or one of its texts needs more room in the list's font. A list that then grows wider
// than its panel scrolls horizontally.
namespace columns {

// The width a cell needs to show `text` whole in the view's font, margins included.
int cellWidth(const QAbstractItemView* view, const QString& text);

// The width a column needs for its header, the texts of the rows the view holds and the
// `samples` (texts that rows added later may show).
int neededWidth(const QAbstractItemView* view, const QHeaderView* header, int column,
                const QStringList& samples = {});

} // namespace columns
