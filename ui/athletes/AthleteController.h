#pragma once

#include "core/store/AthleteRepository.h"

#include <functional>
#include <optional>

class AthleteEditorDialog;
class AthletePanel;
class AthleteSearchDialog;
class DataStore;
class HistoryController;
class MessageService;

// The athlete grid and the athlete actions: show all, search, new, change and delete. The
// selected athlete is the grid's current row; every change of it lists his history. The grid
// lists the athletes of the group chosen above it ("Alle Sportler": all); showing all and the
// search keep within that group.
class AthleteController {
public:
    AthleteController(AthletePanel& panel, HistoryController& history, DataStore& store,
                      MessageService& messages);

    // The dialogs, created after the main window (see createWindows()).
    void setDialogs(AthleteEditorDialog* editor, AthleteSearchDialog* search) {
        editor_ = editor;
        search_ = search;
    }

    // Lists all athletes (those of the group remembered, while it is there) and selects the
    // first, as the program starts.
    void listAtStart(qint64 groupId = 0);

    // Reads the groups into the chooser again (after they were changed); when the chosen
    // group is gone, all athletes are listed.
    void reloadGroups();
    // Lists the athletes of a group (0: all) and selects the first.
    void chooseGroup(qint64 groupId);
    qint64 chosenGroupId() const;
    // "Nächster Sportler": selects the athlete in the row below the selected one; the last
    // stays selected.
    void selectNext();
    // "Voriger Sportler": the row above; the first stays selected.
    void selectPrevious();
    // Lists exactly these athletes in this order (a test day's start list; those no longer
    // stored are left out) and selects the one with `selectId`, else the first. Reading again
    // (refresh) keeps to them until another listing is chosen.
    void showOnly(const QList<qint64>& athleteIds, qint64 selectId);

    void showAll();
    // Reads the listed athletes and the selected one's history again, for what other stations
    // stored meanwhile; the selected athlete and measurement stay selected while they exist.
    void refresh();
    void search();
    void newAthlete();
    void changeAthlete();
    // "Sportler löschen" in the menu: the write check and a question first.
    void deleteAfterConfirmation();
    // Deletes the selected athlete with all his measurements, then selects the first athlete.
    void deleteSelected();

    std::optional<Athlete> selected() const;
    // What deleting the selected athlete takes, for the question before: his name with the
    // number of his measurements and jumps, after an empty line; empty without one.
    QString deletionDetails();
    // ID of the selected athlete, 0 when there is none.
    qint64 selectedId() const;
    int currentRow() const { return current_; }
    // Moves the selection to a row (none for -1) and shows that athlete.
    void selectRow(int row);

private:
    // Lists the athletes a query finds and selects the first of them.
    void list(std::function<QList<Athlete>()> query);
    // Reads the listing again (all athletes when nothing was listed yet).
    void relist();
    void setAthletes(QList<Athlete> athletes);
    AthleteRepository& repository();
    // The athletes of the chosen group among `athletes`, in their order.
    QList<Athlete> inChosenGroup(QList<Athlete> athletes);
    bool groupsAvailable();
    // Reads the groups into the chooser; true when the chosen group is gone.
    bool readGroups();

    AthletePanel& panel_;
    HistoryController& history_;
    DataStore& store_;
    MessageService& messages_;
    AthleteEditorDialog* editor_ = nullptr;
    AthleteSearchDialog* search_ = nullptr;
    std::function<QList<Athlete>()> listing_; // what the grid lists, to read it again
    int current_ = -1;
};
