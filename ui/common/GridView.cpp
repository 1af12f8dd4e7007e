// The grids' shared look, row height and column widths.

#include "ui/common/GridView.h"

#include "ui/common/ColumnWidths.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>

namespace gridview {

QTableView* create(const QString& objectName, QAbstractItemModel* model, QWidget* parent) {
    auto* view = new QTableView(parent);
    view->setObjectName(objectName);
    view->setModel(model);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setAlternatingRowColors(true);
    view->verticalHeader()->setVisible(false);
    view->verticalHeader()->setDefaultSectionSize(rowHeight(view));
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    view->horizontalHeader()->setHighlightSections(false);
    view->setWordWrap(false);
    return view;
}

void fitColumns(QAbstractItemView* view, QHeaderView* header, const QList<QStringList>& samples,
                int shownColumns) {
    int total = 0;
    for (int c = 0; c < header->count(); ++c) {
        if (header->isSectionHidden(c))
            continue;
        const int width =
            columns::neededWidth(view, header, c, c < samples.size() ? samples[c] : QStringList());
        header->resizeSection(c, width);
        if (shownColumns < 0 || c < shownColumns)
            total += width;
    }
    header->setStretchLastSection(true);
    // Room for the frame and for a vertical scroll bar, which a long list shows.
    const int chrome = 2 * view->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, view) +
                       view->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view) + 2;
    view->setMinimumWidth(total + chrome);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // Three rows stay readable however small the window gets.
    const int frame = 2 * view->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, view);
    view->setMinimumHeight(header->sizeHint().height() + 3 * rowHeight(view) + frame + 2);
}

int rowHeight(const QAbstractItemView* view) {
    return view->fontMetrics().height() + 6;
}

} // namespace gridview
