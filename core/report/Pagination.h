#pragma once

#include <QList>

// Where a table of the report breaks across pages. Heights are in the page's units; a table is
// its heading, its header row (repeated at the top of every page it continues on) and its rows.
namespace pagination {

struct TablePlan {
    bool startOnNewPage = false; // the heading goes to the top of the next page
    QList<int> breaksBefore;     // rows (from 0) that open a new page, rising
};

// The fewest rows kept with the heading and on the table's last page.
inline constexpr int kKeptRows = 2;

// A table that fits whole on the rest of the page stays there; one that fits on a page of its
// own goes whole to the next page. A longer one starts where its heading, the header and the
// first rows fit, fills each page, and never leaves fewer than the last two rows alone on its
// last page. A row higher than a page still gets a page.
TablePlan planTable(double headingHeight, double headerHeight, const QList<double>& rowHeights,
                    double remaining, double pageHeight);

} // namespace pagination
