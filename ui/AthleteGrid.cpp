#include "ui/AthleteGrid.h"

#include "core/base/Errors.h"
#include "core/store/ResultSet.h"
#include "ui/MainForm.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QTableView>

namespace {

const char* const kLinkName = "CursorLink";

class CursorLink : public QObject {
public:
    CursorLink(QTableView* grid, ResultSet& rs, MessageService& ui)
        : QObject(grid), grid_(grid), rs_(rs), ui_(ui) {
        setObjectName(QString::fromLatin1(kLinkName));
        // Connected after the grid's model, so the grid already shows the rows when the
        // selection follows.
        for (auto signal :
             {&ResultSet::currentRowChanged, &ResultSet::rowRemoved, &ResultSet::rowInserted})
            connect(&rs_, signal, this, [this](int) { showCursor(); });
        connect(&rs_, &ResultSet::opened, this, [this] { showCursor(); });
        connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                [this](const QModelIndex& current) { picked(current); });
        showCursor();
    }

private:
    void showCursor() {
        if (syncing_)
            return;
        syncing_ = true;
        const int row = rs_.isOpen() ? rs_.currentRow() : -1;
        QItemSelectionModel* selection = grid_->selectionModel();
        if (row < 0 || row >= grid_->model()->rowCount()) {
            selection->clearSelection();
            selection->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        } else {
            const QModelIndex index = grid_->model()->index(row, 0);
            selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                  QItemSelectionModel::Rows);
            grid_->scrollTo(index);
        }
        syncing_ = false;
    }

    void picked(const QModelIndex& current) {
        if (syncing_ || !current.isValid() || current.row() == rs_.currentRow())
            return;
        syncing_ = true;
        runGuarded(ui_, [this, row = current.row()] { rs_.moveTo(row); });
        syncing_ = false;
        // The cursor may not have gone there (an error, a row still being written).
        showCursor();
    }

    QTableView* grid_;
    ResultSet& rs_;
    MessageService& ui_;
    bool syncing_ = false;
};

} // namespace

void linkGridToCursor(QTableView* grid, ResultSet& rs, MessageService& ui) {
    if (!grid || !grid->model() ||
        grid->findChild<QObject*>(QString::fromLatin1(kLinkName), Qt::FindDirectChildrenOnly))
        return;
    new CursorLink(grid, rs, ui);
}
