// Breaks the report's tables across pages.

#include "core/report/Pagination.h"

#include <algorithm>
#include <numeric>

namespace pagination {

TablePlan planTable(double headingHeight, double headerHeight, const QList<double>& rowHeights,
                    double remaining, double pageHeight) {
    TablePlan plan;
    const double rows = std::accumulate(rowHeights.cbegin(), rowHeights.cend(), 0.0);
    const double whole = headingHeight + headerHeight + rows;
    if (whole <= remaining)
        return plan;
    if (whole <= pageHeight) {
        plan.startOnNewPage = true;
        return plan;
    }
    const qsizetype count = rowHeights.size();
    const qsizetype kept = std::min<qsizetype>(kKeptRows, count);
    double opening = headingHeight + headerHeight;
    for (qsizetype r = 0; r < kept; ++r)
        opening += rowHeights[r];
    if (opening > remaining && remaining < pageHeight) {
        plan.startOnNewPage = true;
        remaining = pageHeight;
    }

    // Fill the pages; each continued page opens with the header again.
    double space = remaining - headingHeight - headerHeight;
    qsizetype pageStart = 0;
    for (qsizetype r = 0; r < count; ++r) {
        if (rowHeights[r] > space && r > pageStart) {
            plan.breaksBefore << static_cast<int>(r);
            pageStart = r;
            space = pageHeight - headerHeight;
        }
        space -= rowHeights[r];
    }
    // The last page holds at least the last rows kept together: move rows over to it from the
    // page before while that page keeps as many.
    if (!plan.breaksBefore.isEmpty()) {
        int& last = plan.breaksBefore.last();
        const int previousStart =
            plan.breaksBefore.size() > 1 ? plan.breaksBefore[plan.breaksBefore.size() - 2] : 0;
        double lastPage = headerHeight;
        for (qsizetype r = last; r < count; ++r)
            lastPage += rowHeights[r];
        while (count - last < kept && last - 1 - previousStart >= kept &&
               lastPage + rowHeights[last - 1] <= pageHeight) {
            --last;
            lastPage += rowHeights[last];
        }
    }
    return plan;
}

} // namespace pagination
