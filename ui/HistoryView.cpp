// The measurement history of the selected athlete: the list, its order, its two layouts and
// the jumps of a selected series.

#include "core/base/Texts.h"
#include "core/store/ResultSet.h"
#include "core/store/SeriesKey.h"
#include "ui/History.h"
#include "ui/MainForm.h"

#include <QApplication>
#include <QHeaderView>
#include <QTableView>
#include <QToolButton>
#include <QTreeWidget>

#include <cmath>

namespace {

// Keeps a list from drawing and from reporting selection changes while it is rebuilt.
class UpdateBracket {
public:
    explicit UpdateBracket(QTreeWidget* list)
        : list_(list), signalsWereBlocked_(list->blockSignals(true)) {
        list_->setUpdatesEnabled(false);
    }
    ~UpdateBracket() {
        list_->blockSignals(signalsWereBlocked_);
        list_->setUpdatesEnabled(true);
    }

private:
    QTreeWidget* list_;
    bool signalsWereBlocked_;
};

int numberColumnWidth(const QTreeWidget* list) {
    return list->fontMetrics().horizontalAdvance(QStringLiteral("Numm"));
}

void setValueColumns(QTreeWidget* list, int width) {
    list->setColumnWidth(0, numberColumnWidth(list));
    for (int c = 1; c < 7; ++c)
        list->setColumnWidth(c, width / 7);
}

} // namespace

qint64 TForm1::SelectedAthleteId() {
    ResultSet& q1 = Query1();
    if (!q1.isOpen() || q1.currentRow() < 0)
        return 0;
    return q1.asInteger(QStringLiteral("ID"));
}

QTreeWidgetItem* TForm1::SelectedHistoryItem() const {
    const auto selected = ListView2->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

void TForm1::Query1AfterScroll() {
    InsertIntoFirstTable();
    const bool athletes = Query1().isOpen() && !Query1().isEmpty();
    SpeedButton4->setEnabled(athletes);
    Start1->setEnabled(athletes);
    ResultSet& q2 = Query2();
    if (q2.isOpen()) {
        q2.last();
        LastNummer =
            q2.currentRow() < 0 ? 0 : static_cast<qint32>(q2.asInteger(QStringLiteral("Nummer")));
    }
}

void TForm1::InsertIntoFirstTable() {
    ResultSet& q2 = Query2();
    if (!q2.isOpen())
        return;
    const qint64 athlete = SelectedAthleteId();
    q2.close();
    q2.setSql(
        {QStringLiteral("SELECT * FROM units"), QStringLiteral("WHERE Ref_ID = %1").arg(athlete)});
    q2.open();
    if (q2.isEmpty()) {
        {
            UpdateBracket bracket(ListView2);
            ListView2->clear();
        }
        ShowOneMessung(0);
        return;
    }

    const qint64 refId = q2.asInteger(QStringLiteral("Ref_ID"));
    {
        UpdateBracket bracket(ListView2);
        ListView2->clear();
        ResultSet& q3 = Query3();
        int position = 0;
        for (q2.first(); !q2.eof(); q2.next()) {
            const qint64 nummer = q2.asInteger(QStringLiteral("Nummer"));
            QStringList values;
            if (q2.asInteger(QStringLiteral("FZ")) <= 1) {
                q3.close();
                q3.setSql({QStringLiteral("select * from mr"),
                           QStringLiteral("where Serie = %1").arg(seriesKey(refId, nummer))});
                q3.open();
                values = q3.isEmpty() ? history::missingJumpTexts()
                                      : history::jumpTexts(q3.asInteger(QStringLiteral("SZ")),
                                                           q3.asInteger(QStringLiteral("FZ")),
                                                           q3.asFloat(QStringLiteral("Eff")));
            } else {
                values = history::seriesTexts();
            }
            ListView2->addTopLevelItem(history::makeEntry(
                ++position, q2.asDateTime(QStringLiteral("Datum")), values, nummer));
        }
        SortHistory();
    }
    if (ListView2->topLevelItemCount() > 0) {
        QTreeWidgetItem* newest = ListView2->topLevelItem(0);
        ListView2->setCurrentItem(newest);
        newest->setSelected(true);
    }
}

void TForm1::SortHistory() {
    ListView2->sortItems(0, Qt::AscendingOrder);
}

void TForm1::ListView2SelectItem(QTreeWidgetItem* item) {
    if (!item || item->text(4).isEmpty())
        return;
    if (item->text(4) == history::kSeriesMark)
        ShowMehrMessung(0);
    else
        ShowOneMessung(0);
}

void TForm1::ShowOneMessung(int) {
    DBGrid3->hide();
    ListView2->hide();
    ListView2->resize(DBGrid1->width(), ListView2->height());
    setValueColumns(ListView2, ListView2->width());
    ListView2->show();
    if (ListView2->isEnabled() && isActiveWindow())
        ListView2->setFocus();
}

void TForm1::ShowMehrMessung(int) {
    FilterTable3(true);
    if (DBGrid3->isVisibleTo(this) && !RelayoutPending)
        return;
    RelayoutPending = false;
    const int listWidth = static_cast<int>(std::nearbyint(width() * 0.55));
    DBGrid3->show();
    DBGrid3->setGeometry(ListView2->x() + listWidth + 10, DBGrid3->y(),
                         DBGrid1->width() - listWidth - 10, DBGrid3->height());
    ListView2->hide();
    {
        UpdateBracket bracket(ListView2);
        ListView2->resize(listWidth, ListView2->height());
        setValueColumns(ListView2, listWidth);
        const int clientWidth = DBGrid3->width() - 2 * DBGrid3->frameWidth();
        const int jumpColumn = (clientWidth - 20) / 5;
        for (int c = 0; c < 5; ++c)
            DBGrid3->setColumnWidth(c, jumpColumn);
    }
    ListView2->show();
    if (ListView2->isEnabled() && isActiveWindow())
        ListView2->setFocus();
}

void TForm1::FilterTable3(bool withOrder) {
    ResultSet& q3 = Query3();
    QTreeWidgetItem* selected = SelectedHistoryItem();
    if (!q3.isOpen() || !selected)
        return;
    q3.close();
    QStringList sql{QStringLiteral("SELECT * from mr"),
                    QStringLiteral("where Serie = %1")
                        .arg(seriesKey(SelectedAthleteId(),
                                       selected->text(history::kNummerColumn).toLongLong()))};
    if (withOrder)
        sql << QStringLiteral("order by Anzahl");
    q3.setSql(sql);
    q3.open();
    q3.first();
}
