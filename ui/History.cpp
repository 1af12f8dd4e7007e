#include "ui/History.h"

#include "core/base/Texts.h"
#include "core/measure/Metrics.h"

#include <QTreeWidgetItem>

namespace history {
namespace {

// Entries order themselves newest first; equal moments keep their order.
class HistoryEntry : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem& other) const override {
        // Goes first when the other entry would not stay before it.
        return compareEntries(other.text(1), other.text(2), text(1), text(2)) > 0;
    }
};

} // namespace

QDateTime entryMoment(const QString& dateText, const QString& timeText) {
    const QDate date = texts::parseDate(dateText);
    QTime time = texts::parseTime(timeText);
    if (!time.isValid())
        time = QTime(0, 0);
    return QDateTime(date.isValid() ? date : QDate(1, 1, 1), time);
}

int compareEntries(const QString& date1, const QString& time1, const QString& date2,
                   const QString& time2) {
    return entryMoment(date1, time1) >= entryMoment(date2, time2) ? -1 : 1;
}

QStringList jumpTexts(qint64 sz, qint64 fz, double eff) {
    return {QString::number(sz), QString::number(fz), texts::general(eff),
            metrics::metricText(metrics::heightCm(static_cast<double>(fz)))};
}

QStringList missingJumpTexts() {
    return {QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"),
            metrics::metricText(0.0)};
}

QStringList seriesTexts() {
    return {kSeriesMark, kSeriesMark, kSeriesMark, kSeriesMark};
}

QTreeWidgetItem* makeEntry(int number, const QDateTime& moment, const QStringList& values,
                           qint64 nummer) {
    QStringList columns{QString::number(number), texts::dateText(moment.date()),
                        texts::timeText(moment.time())};
    columns << values << QString::number(nummer);
    auto* item = new HistoryEntry(columns);
    for (int c = 1; c < 7; ++c)
        item->setTextAlignment(c, Qt::AlignCenter);
    return item;
}

} // namespace history
