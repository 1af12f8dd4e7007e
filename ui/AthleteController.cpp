#include "ui/AthleteController.h"

#include "core/base/Errors.h"
#include "core/store/DataStore.h"
#include "ui/AthleteEditorDialog.h"
#include "ui/AthleteSearchDialog.h"
#include "ui/AthleteTableModel.h"
#include "ui/HistoryController.h"
#include "ui/JumpTableModel.h"
#include "ui/MainWindow.h"
#include "ui/MessageService.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QTableView>
#include <QToolButton>

AthleteController::AthleteController(MainWindow& window) : window_(window) {
    QObject::connect(window_.showAllAction, &QAction::triggered, window_.showAllAction,
                     [this] { runGuarded(window_.context().ui, [this] { showAll(); }); });
    QObject::connect(window_.refreshAction, &QAction::triggered, window_.refreshAction,
                     [this] { runGuarded(window_.context().ui, [this] { refresh(); }); });
    QObject::connect(window_.searchAction, &QAction::triggered, window_.searchAction,
                     [this] { runGuarded(window_.context().ui, [this] { search(); }); });
    QObject::connect(window_.newAthleteAction, &QAction::triggered, window_.newAthleteAction,
                     [this] { runGuarded(window_.context().ui, [this] { newAthlete(); }); });
    QObject::connect(window_.changeAthleteAction, &QAction::triggered, window_.changeAthleteAction,
                     [this] { runGuarded(window_.context().ui, [this] { changeAthlete(); }); });
    QObject::connect(
        window_.deleteAthleteAction, &QAction::triggered, window_.deleteAthleteAction,
        [this] { runGuarded(window_.context().ui, [this] { deleteAfterConfirmation(); }); });
    // A row the user picks in the grid (mouse or keys) selects that athlete.
    QObject::connect(window_.athleteGrid->selectionModel(), &QItemSelectionModel::currentRowChanged,
                     window_.athleteGrid, [this](const QModelIndex& index) {
                         if (moving_ || !index.isValid() || index.row() == current_)
                             return;
                         runGuarded(window_.context().ui, [this, row = index.row()] {
                             current_ = row;
                             athleteSelected();
                         });
                     });
}

AthleteRepository& AthleteController::repository() {
    return window_.store().athletes();
}

void AthleteController::listAtStart() {
    showAll();
}

void AthleteController::list(std::function<QList<Athlete>()> query) {
    QList<Athlete> found = query();
    listing_ = std::move(query);
    setAthletes(std::move(found));
    selectRow(window_.athleteModel->rowCount() > 0 ? 0 : -1);
}

void AthleteController::setAthletes(QList<Athlete> athletes) {
    moving_ = true;
    window_.athleteModel->setAthletes(std::move(athletes));
    moving_ = false;
    current_ = -1;
}

void AthleteController::showAll() {
    list([this] { return repository().all(); });
}

void AthleteController::refresh() {
    const qint64 athleteId = selectedId();
    const std::optional<qint64> nummer = window_.history().selectedNummer();
    if (!listing_)
        listing_ = [this] {
            return repository().all();
        };
    setAthletes(listing_());
    const int row = window_.athleteModel->rowOf(athleteId);
    selectRow(row >= 0 ? row : (window_.athleteModel->rowCount() > 0 ? 0 : -1));
    if (row >= 0 && nummer)
        window_.history().selectNummer(*nummer);
}

void AthleteController::search() {
    AthleteSearchDialog* dialog = window_.athleteSearch();
    if (!dialog)
        return;
    dialog->exec();
    const athletes::SearchBy by = dialog->answer();
    if (by == athletes::SearchBy::None)
        return;
    const QString text = dialog->searchText();
    QList<Athlete> found;
    try {
        found = repository().search(by, text);
    } catch (...) {
        // The grid is not left empty: it lists all athletes again. The search's error is the
        // one the user is told; a second one goes to the log.
        if (const auto failure = failureOf([this] { showAll(); }))
            qWarning("Kalvero: all athletes cannot be listed: %s", qPrintable(failure->text));
        throw;
    }
    if (found.isEmpty()) {
        showAll();
        return;
    }
    list([this, by, text] { return repository().search(by, text); });
}

void AthleteController::newAthlete() {
    AthleteEditorDialog* editor = window_.athleteEditor();
    if (!window_.checkWritable() || !editor)
        return;
    editor->prepareNew();
    if (editor->exec() != QDialog::Accepted)
        return;
    editor->restoreMarks();

    Athlete athlete;
    athlete.name = editor->name();
    athlete.firstName = editor->firstName();
    if (editor->dateValid())
        athlete.birthDate = editor->birthDate();
    athlete.sex = editor->sexIndex();
    athlete.remark = editor->remark();
    const qint64 id = repository().add(athlete);

    // The athletes are read again, so that the new athlete stands where the store lists him;
    // he is the selected one (or the last row, when the current search does not find him),
    // and his (empty) history and measurement counter follow at once.
    setAthletes(listing_());
    const int row = window_.athleteModel->rowOf(id);
    selectRow(row >= 0 ? row : window_.athleteModel->rowCount() - 1);
}

void AthleteController::changeAthlete() {
    AthleteEditorDialog* editor = window_.athleteEditor();
    if (!window_.checkWritable() || !editor)
        return;
    const auto current = selected();
    if (!current)
        return;
    editor->prepareChange(current->name, current->firstName, current->birthDate, current->sex,
                          current->remark);
    // A stored value that is no date is shown as it is, so that the check marks it.
    if (!current->storedBirthDate.isEmpty() && !current->birthDate.isValid())
        editor->birthDateField->setText(current->storedBirthDate);
    editor->checkBirthDate();
    if (editor->exec() != QDialog::Accepted)
        return;

    Athlete changed = *current;
    changed.name = editor->name();
    changed.firstName = editor->firstName();
    changed.sex = editor->sexIndex();
    changed.remark = editor->remark();
    // Without a valid date in the editor the stored date of birth stays.
    if (editor->dateValid()) {
        changed.birthDate = editor->birthDate();
        changed.storedBirthDate = changed.birthDate.toString(Qt::ISODate);
    }
    repository().update(changed, editor->dateValid());
    window_.athleteModel->replace(current_, changed);
}

void AthleteController::deleteAfterConfirmation() {
    if (!window_.checkWritable())
        return;
    if (!boxes::confirm(window_.context().ui,
                        QStringLiteral("Soll der aktuelle Datensatz gelöscht werden?"),
                        {QStringLiteral("&Ja"), QStringLiteral("&Abbrechen")}))
        return;
    deleteSelected();
}

void AthleteController::deleteSelected() {
    const auto athlete = selected();
    if (!athlete)
        return;
    // After a deletion, whether it held or not, the jump grid lists every stored jump.
    try {
        repository().remove(athlete->id);
    } catch (...) {
        window_.jumpModel->showAllJumps();
        throw;
    }
    moving_ = true;
    window_.athleteModel->remove(current_);
    moving_ = false;
    current_ = -1;
    window_.jumpModel->showAllJumps();
    selectRow(window_.athleteModel->rowCount() > 0 ? 0 : -1);
}

std::optional<Athlete> AthleteController::selected() const {
    if (current_ < 0 || current_ >= window_.athleteModel->rowCount())
        return std::nullopt;
    return window_.athleteModel->athlete(current_);
}

qint64 AthleteController::selectedId() const {
    const auto athlete = selected();
    return athlete ? athlete->id : 0;
}

void AthleteController::selectRow(int row) {
    current_ = row < window_.athleteModel->rowCount() ? row : -1;
    showCurrentRow();
    athleteSelected();
}

void AthleteController::showCurrentRow() {
    moving_ = true;
    QItemSelectionModel* selection = window_.athleteGrid->selectionModel();
    if (current_ < 0) {
        selection->clearSelection();
        selection->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    } else {
        const QModelIndex index = window_.athleteModel->index(current_, 0);
        selection->setCurrentIndex(index,
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        window_.athleteGrid->scrollTo(index);
    }
    moving_ = false;
}

void AthleteController::athleteSelected() {
    const qint64 athlete = selectedId();
    window_.history().showAthlete(athlete);
    const bool listed = window_.athleteModel->rowCount() > 0;
    window_.startButton->setEnabled(listed);
    window_.startAction->setEnabled(listed);
}
