// The list of the measurements that wait for their athlete, and the user's choice.

#include "ui/main/AssignmentsDialog.h"

#include "core/base/Texts.h"
#include "core/station/JournalReplay.h"
#include "ui/common/MessageService.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// The choice "a new athlete" in the chooser; the others carry the athlete's ID.
constexpr qint64 kNewAthlete = 0;

QString athleteText(const QString& name, const QString& firstName) {
    return firstName.isEmpty() ? name : QStringLiteral("%1, %2").arg(name, firstName);
}

} // namespace

AssignmentsDialog::AssignmentsDialog(JournalReplay& replay, MessageService& messages,
                                     QWidget* parent)
    : QDialog(parent), replay_(replay), messages_(messages) {
    setObjectName(QStringLiteral("assignmentsDialog"));
    setWindowTitle(tr("Offene Zuordnungen"));
    auto* intro = new QLabel(tr("Für diese Messungen ist nicht klar, zu welchem Sportler der "
                                "Datenbank sie gehören: Es gibt mehrere mit diesem Namen und "
                                "Geburtsdatum, oder der gewählte wurde inzwischen gelöscht. "
                                "Die Wahl gilt für alle Messungen des Sportlers in der Liste."),
                             this);
    intro->setWordWrap(true);
    table_ = new QTableWidget(this);
    table_->setObjectName(QStringLiteral("waitingTable"));
    table_->setAccessibleName(tr("Wartende Messungen"));
    table_->setColumnCount(4);
    table_->setHorizontalHeaderLabels(
        {tr("Sportler"), tr("Geburtsdatum"), tr("Zeitpunkt"), tr("Sprünge")});
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    emptyLabel_ = new QLabel(tr("Keine Messung wartet auf eine Zuordnung."), this);
    emptyLabel_->setObjectName(QStringLiteral("noWaitingLabel"));

    auto* targetLabel = new QLabel(tr("Zuordnen &zu:"), this);
    targetChooser_ = new QComboBox(this);
    targetChooser_->setObjectName(QStringLiteral("targetChooser"));
    targetLabel->setBuddy(targetChooser_);
    assignButton_ = new QPushButton(tr("&Zuordnen"), this);
    assignButton_->setObjectName(QStringLiteral("assignButton"));
    auto* targetRow = new QHBoxLayout;
    targetRow->addWidget(targetLabel);
    targetRow->addWidget(targetChooser_, 1);
    targetRow->addWidget(assignButton_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(tr("Schließen"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(assignButton_, &QPushButton::clicked, this,
            [this] { runGuarded(messages_, [this] { assignChosen(); }); });
    connect(table_, &QTableWidget::itemSelectionChanged, this,
            [this] { runGuarded(messages_, [this] { followChoice(); }); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(table_, 1);
    layout->addWidget(emptyLabel_);
    layout->addLayout(targetRow);
    layout->addWidget(buttons);
    resize(720, 380);
}

void AssignmentsDialog::showWaiting() {
    entries_ = replay_.undecided();
    table_->setRowCount(static_cast<int>(entries_.size()));
    for (int row = 0; row < entries_.size(); ++row) {
        const JournalEntry& entry = entries_[row];
        const QDateTime& moment = entry.measurement.moment;
        const QStringList cells{
            athleteText(entry.athlete.name, entry.athlete.firstName),
            entry.athlete.birthDate.isValid() ? texts::dateText(entry.athlete.birthDate)
                                              : QString(),
            moment.isValid() ? QStringLiteral("%1 %2").arg(texts::dateText(moment.date()),
                                                           texts::timeText(moment.time()))
                             : QString(),
            QString::number(entry.measurement.jumps.size())};
        for (int column = 0; column < cells.size(); ++column)
            table_->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
    table_->resizeColumnsToContents();
    emptyLabel_->setVisible(entries_.isEmpty());
    if (!entries_.isEmpty())
        table_->selectRow(0);
    followChoice();
}

void AssignmentsDialog::followChoice() {
    targetChooser_->clear();
    const int row = table_->currentRow();
    const bool chosen = row >= 0 && row < entries_.size() && !entries_.isEmpty();
    assignButton_->setEnabled(chosen);
    targetChooser_->setEnabled(chosen);
    if (!chosen)
        return;
    const JournalEntry& entry = entries_[row];
    for (const Athlete& athlete : replay_.candidates(entry))
        targetChooser_->addItem(tr("%1 (Nr. %2 in der Datenbank)")
                                    .arg(athleteText(athlete.name, athlete.firstName))
                                    .arg(athlete.id),
                                athlete.id);
    targetChooser_->addItem(
        tr("Neuer Sportler „%1“").arg(athleteText(entry.athlete.name, entry.athlete.firstName)),
        kNewAthlete);
}

void AssignmentsDialog::assignChosen() {
    const int row = table_->currentRow();
    if (row < 0 || row >= entries_.size() || targetChooser_->currentIndex() < 0)
        return;
    const JournalEntry& entry = entries_[row];
    const qint64 target = targetChooser_->currentData().toLongLong();
    if (target == kNewAthlete)
        replay_.chooseNew(entry);
    else
        replay_.choose(entry.journalAthleteId, target);
    emit assigned();
    showWaiting();
}
