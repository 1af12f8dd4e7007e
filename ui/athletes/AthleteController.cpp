// The athlete actions between the athlete panel, the editor, the search and the store.

#include "ui/athletes/AthleteController.h"

#include "core/base/Errors.h"
#include "core/history/ChangeTexts.h"
#include "core/store/DataStore.h"
#include "core/store/GroupRepository.h"
#include "ui/athletes/AthleteEditorDialog.h"
#include "ui/athletes/AthletePanel.h"
#include "ui/athletes/AthleteSearchDialog.h"
#include "ui/common/MessageService.h"
#include "ui/common/WriteCheck.h"
#include "ui/history/HistoryController.h"

#include <QCoreApplication>
#include <QLineEdit>

namespace {

// The texts of this file that the user reads, in the translation context "AthleteController".
struct AthleteControllerTexts {
    Q_DECLARE_TR_FUNCTIONS(AthleteController)
};

} // namespace

AthleteController::AthleteController(AthletePanel& panel, HistoryController& history,
                                     DataStore& store, MessageService& messages)
    : panel_(panel), history_(history), store_(store), messages_(messages) {
    // A row the user picks in the grid (mouse or keys) selects that athlete.
    QObject::connect(&panel_, &AthletePanel::rowChosen, &panel_, [this](int row) {
        if (row == current_)
            return;
        runGuarded(messages_, [this, row] {
            current_ = row;
            history_.showAthlete(selectedId());
        });
    });
    QObject::connect(&panel_, &AthletePanel::groupChosen, &panel_, [this](qint64 groupId) {
        runGuarded(messages_, [this, groupId] { chooseGroup(groupId); });
    });
}

AthleteRepository& AthleteController::repository() {
    return store_.athletes();
}

void AthleteController::listAtStart(qint64 groupId) {
    readGroups();
    // A group deleted since is no longer offered: all athletes are listed then.
    if (groupId != 0)
        panel_.chooseGroup(groupId);
    showAll();
}

bool AthleteController::groupsAvailable() {
    return store_.isOpen() && store_.groups().available();
}

bool AthleteController::readGroups() {
    const bool available = groupsAvailable();
    panel_.setGroupsAvailable(available);
    const qint64 chosen = panel_.chosenGroupId();
    panel_.setGroups(available ? store_.groups().all() : QList<Group>());
    return panel_.chosenGroupId() != chosen;
}

void AthleteController::reloadGroups() {
    if (readGroups())
        showAll();
}

void AthleteController::chooseGroup(qint64 groupId) {
    panel_.chooseGroup(groupId);
    showAll();
}

qint64 AthleteController::chosenGroupId() const {
    return panel_.chosenGroupId();
}

QList<Athlete> AthleteController::inChosenGroup(QList<Athlete> athletes) {
    const qint64 groupId = panel_.chosenGroupId();
    if (groupId == 0)
        return athletes;
    return onlyMembers(athletes, store_.groups().memberIds(groupId));
}

void AthleteController::selectNext() {
    if (current_ + 1 < panel_.rowCount())
        selectRow(current_ + 1);
}

void AthleteController::selectPrevious() {
    if (current_ > 0)
        selectRow(current_ - 1);
}

void AthleteController::showOnly(const QList<qint64>& athleteIds, qint64 selectId) {
    listing_ = [this, athleteIds] {
        // By their place in the list.
        const QHash<qint64, Athlete> stored = repository().listed(athleteIds);
        QList<Athlete> out;
        for (qint64 place = 0; place < athleteIds.size(); ++place)
            if (const auto found = stored.constFind(place); found != stored.constEnd())
                out << *found;
        return out;
    };
    setAthletes(listing_());
    const int row = panel_.rowOf(selectId);
    selectRow(row >= 0 ? row : (panel_.rowCount() > 0 ? 0 : -1));
}

void AthleteController::list(std::function<QList<Athlete>()> query) {
    QList<Athlete> found = query();
    listing_ = std::move(query);
    setAthletes(std::move(found));
    selectRow(panel_.rowCount() > 0 ? 0 : -1);
}

void AthleteController::relist() {
    // A start whose listing failed (a server that was away) has none yet.
    if (!listing_)
        listing_ = [this] {
            return inChosenGroup(repository().all());
        };
    setAthletes(listing_());
}

void AthleteController::setAthletes(QList<Athlete> athletes) {
    panel_.setAthletes(std::move(athletes));
    current_ = -1;
}

void AthleteController::showAll() {
    list([this] { return inChosenGroup(repository().all()); });
}

void AthleteController::refresh() {
    const qint64 athleteId = selectedId();
    const std::optional<qint64> measurementNumber = history_.selectedMeasurementNumber();
    // Groups that other stations made, renamed or deleted meanwhile; when the listed group is
    // gone, all athletes are listed.
    if (readGroups())
        listing_ = nullptr;
    relist();
    const int row = panel_.rowOf(athleteId);
    selectRow(row >= 0 ? row : (panel_.rowCount() > 0 ? 0 : -1));
    if (row >= 0 && measurementNumber)
        history_.selectMeasurement(*measurementNumber);
}

void AthleteController::search() {
    if (!search_)
        return;
    search_->exec();
    const athletes::SearchBy by = search_->answer();
    if (by == athletes::SearchBy::None)
        return;
    const QString text = search_->searchText();
    QList<Athlete> found;
    try {
        found = inChosenGroup(repository().search(by, text));
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
    list([this, by, text] { return inChosenGroup(repository().search(by, text)); });
}

void AthleteController::newAthlete() {
    if (!checkWritable(store_, messages_) || !editor_)
        return;
    editor_->prepareNew();
    // A new athlete joins the group that is listed.
    const bool available = groupsAvailable();
    const qint64 chosen = panel_.chosenGroupId();
    editor_->setGroups(available, available ? store_.groups().all() : QList<Group>(),
                       chosen != 0 ? QList<qint64>{chosen} : QList<qint64>());
    if (editor_->exec() != QDialog::Accepted)
        return;
    editor_->restoreMarks();

    const Athlete athlete = editor_->enteredAthlete();
    const qint64 id = store_.groups().addAthlete(repository(), athlete, editor_->checkedGroups());

    // The athletes are read again, so that the new athlete stands where the store lists him;
    // he is the selected one (or the last row, when the current search does not find him),
    // and his (empty) history and measurement counter follow at once.
    relist();
    const int row = panel_.rowOf(id);
    selectRow(row >= 0 ? row : panel_.rowCount() - 1);
}

void AthleteController::changeAthlete() {
    if (!checkWritable(store_, messages_) || !editor_)
        return;
    const auto current = selected();
    if (!current)
        return;
    editor_->prepareChange(*current);
    const bool available = groupsAvailable();
    GroupRepository& groups = store_.groups();
    editor_->setGroups(available, available ? groups.all() : QList<Group>(),
                       available ? groups.groupsOf(current->id) : QList<qint64>());
    if (editor_->exec() != QDialog::Accepted)
        return;

    // Without a valid date in the editor the stored date of birth stays.
    const Athlete changed = editor_->enteredAthlete(*current);
    store_.groups().updateAthlete(repository(), changed, editor_->dateValid(),
                                  editor_->checkedGroups());
    // An athlete taken out of the listed group leaves the list; the one below him is selected.
    if (available && panel_.chosenGroupId() != 0 &&
        !editor_->checkedGroups().contains(panel_.chosenGroupId())) {
        const int row = current_;
        relist();
        selectRow(panel_.rowCount() > 0 ? std::min(row, panel_.rowCount() - 1) : -1);
        return;
    }
    panel_.replace(current_, changed);
}

void AthleteController::deleteAfterConfirmation() {
    if (!checkWritable(store_, messages_))
        return;
    if (!boxes::confirmDestructive(
            messages_,
            AthleteControllerTexts::tr("Soll der aktuelle Datensatz gelöscht werden?") +
                deletionDetails(),
            {AthleteControllerTexts::tr("&Ja"), AthleteControllerTexts::tr("&Abbrechen")}))
        return;
    deleteSelected();
}

QString AthleteController::deletionDetails() {
    const auto athlete = selected();
    if (!athlete)
        return {};
    const QList<Measurement> measurements = store_.measurements().ofAthlete(athlete->id);
    qint64 jumps = 0;
    const QHash<qint64, QList<Jump>> all = store_.measurements().jumpsOfAthlete(athlete->id);
    for (auto it = all.cbegin(); it != all.cend(); ++it)
        jumps += changetexts::countedJumps(*it);
    const QString name = athlete->firstName.isEmpty()
                             ? athlete->name
                             : QStringLiteral("%1, %2").arg(athlete->name, athlete->firstName);
    return QStringLiteral("\n\n") +
           changetexts::athleteDeletionText(name, measurements.size(), jumps);
}

void AthleteController::deleteSelected() {
    const auto athlete = selected();
    if (!athlete)
        return;
    repository().remove(athlete->id);
    panel_.remove(current_);
    current_ = -1;
    history_.athleteDeleted(athlete->id);
    selectRow(panel_.rowCount() > 0 ? 0 : -1);
}

std::optional<Athlete> AthleteController::selected() const {
    if (current_ < 0 || current_ >= panel_.rowCount())
        return std::nullopt;
    return panel_.athlete(current_);
}

qint64 AthleteController::selectedId() const {
    const auto athlete = selected();
    return athlete ? athlete->id : 0;
}

void AthleteController::selectRow(int row) {
    current_ = row < panel_.rowCount() ? row : -1;
    panel_.markRow(current_);
    history_.showAthlete(selectedId());
}
