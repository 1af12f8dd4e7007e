// The widths columns need so that no text is cut off.

#include "ui/common/ColumnWidths.h"

#include <QHeaderView>
#include <QStyle>
#include <QStyleOptionViewItem>

#include <algorithm>

namespace columns {

int cellWidth(const QAbstractItemView* view, const QString& text) {
    QStyleOptionViewItem option;
    option.initFrom(view);
    option.font = view->font();
    option.fontMetrics = view->fontMetrics();
    option.features = QStyleOptionViewItem::HasDisplay;
    option.text = text;
    option.widget = view;
    const QSize size =
        view->style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), view);
    // A grid line takes one pixel of a cell.
    return size.width() + 1;
}

int neededWidth(const QAbstractItemView* view, const QHeaderView* header, int column,
                const QStringList& samples) {
    int width = std::max(header->sectionSizeHint(column), view->sizeHintForColumn(column) + 1);
    for (const QString& text : samples)
        width = std::max(width, cellWidth(view, text));
    return width;
}

} // namespace columns
