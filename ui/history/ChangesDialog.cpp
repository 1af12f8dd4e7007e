// The list of the changes made to an athlete's measurements, and the restoring of a deletion.

#include "ui/history/ChangesDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

ChangesDialog::ChangesDialog(const QString& athleteName, std::function<QList<ChangeLine>()> read,
                             std::function<void(qint64 changeId)> restore, QWidget* parent)
    : QDialog(parent), read_(std::move(read)), restore_(std::move(restore)) {
    setObjectName(QStringLiteral("changesDialog"));
    setWindowTitle(tr("Änderungen – %1").arg(athleteName));
    table_ = new QTableWidget(this);
    table_->setObjectName(QStringLiteral("changesTable"));
    table_->setAccessibleName(tr("Änderungen"));
    table_->setColumnCount(5);
    table_->setHorizontalHeaderLabels(
        {tr("Zeitpunkt"), tr("Benutzer"), tr("Station"), tr("Messung"), tr("Änderung")});
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    emptyLabel_ = new QLabel(tr("Keine Änderungen gespeichert."), this);
    emptyLabel_->setObjectName(QStringLiteral("noChangesLabel"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(tr("Schließen"));
    restoreButton_ =
        buttons->addButton(tr("Messung &wiederherstellen"), QDialogButtonBox::ActionRole);
    restoreButton_->setObjectName(QStringLiteral("restoreMeasurementButton"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(restoreButton_, &QPushButton::clicked, this, &ChangesDialog::restoreChosen);
    connect(table_, &QTableWidget::itemSelectionChanged, this, &ChangesDialog::followChoice);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_, 1);
    layout->addWidget(emptyLabel_);
    layout->addWidget(buttons);
    resize(860, 420);
    showLines();
}

void ChangesDialog::showLines() {
    lines_ = read_();
    table_->setRowCount(static_cast<int>(lines_.size()));
    for (int row = 0; row < lines_.size(); ++row) {
        const ChangeLine& line = lines_[row];
        const QStringList cells{line.moment, line.user, line.station, line.measurement, line.text};
        for (int column = 0; column < cells.size(); ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            item->setToolTip(cells[column]);
            table_->setItem(row, column, item);
        }
    }
    table_->resizeColumnsToContents();
    emptyLabel_->setVisible(lines_.isEmpty());
    followChoice();
}

void ChangesDialog::followChoice() {
    const int row = table_->currentRow();
    restoreButton_->setEnabled(row >= 0 && row < lines_.size() && lines_[row].restorable &&
                               !table_->selectedItems().isEmpty());
}

void ChangesDialog::restoreChosen() {
    const int row = table_->currentRow();
    if (row < 0 || row >= lines_.size() || !lines_[row].restorable)
        return;
    restore_(lines_[row].changeId);
    // Read again whatever the restoring did: another station may have restored it.
    showLines();
}
