#pragma once

#include "core/history/History.h"
#include "core/store/AthleteRepository.h"
#include "ui/history/ChangesDialog.h"

#include <functional>
#include <optional>

class DataStore;
class HistoryPanel;
class MessageService;

// The measurement history of the selected athlete in the history panel, newest first, and the
// jumps of the chosen series beside it. A chosen series shows the series layout with its
// jumps, a chosen single measurement the single layout.
class HistoryController {
public:
    HistoryController(HistoryPanel& panel, DataStore& store, MessageService& messages);

    // Lists the measurements of an athlete (none for 0) and chooses the newest: those stored
    // and those the station's journal holds, marked as not yet on the server. A store that
    // cannot be read leaves the journal's listed and throws.
    void showAthlete(qint64 athleteId);
    // The station's journal, asked anew at each listing (it comes after the window); none
    // without a journal.
    void setJournal(std::function<Journal*()> journal) { journal_ = std::move(journal); }
    // Lists the journal's measurements of the listed athlete anew, without reading the store
    // (which may be away), and chooses the newest of them.
    void showJournalled();
    // The chosen entry's measurement as the journal holds it, while it is not on the server.
    std::optional<JournalEntry> chosenJournalled() const;
    // Adds the entry of a measurement a run just recorded, in its place, and chooses it.
    void addRecorded(const history::Entry& entry);
    // The athlete whose history the list shows; 0 for none.
    qint64 athleteId() const { return athleteId_; }
    // The number of the chosen measurement; none while no entry is chosen, or while the chosen
    // one is not yet on the server (it has no number yet, and nothing may change it).
    std::optional<qint64> selectedMeasurementNumber() const;
    // `listener` is told after every change of the listed athlete or of the chosen entry.
    void whenSelectionChanges(std::function<void()> listener) {
        selectionListeners_.append(std::move(listener));
    }
    // Chooses the entry at that place of the list (0 = the newest).
    void chooseAt(int position);
    // Chooses the newest entry, if any, and throws what showing it throws instead of telling
    // the user itself (the end of a run tells its first failure alone).
    void chooseNewest();
    // Chooses the entry of the measurement with that number, if it is listed.
    void selectMeasurement(qint64 measurementNumber);
    // The layout of the chosen entry: the jumps of a series beside the list, or the list
    // alone.
    void showLayoutOfChosenEntry();
    void showSingleLayout();
    void showSeriesLayout();

    // The jump grid shows no jump, as at a run's start.
    void showNoJumps();
    // A jump of the running series was stored: the jump grid adds it, and the series' entry
    // shows its best height and RSI so far (as history::bestTexts words them).
    void showRecordedJump(const Jump& jump, const QStringList& best);
    int entryCount() const;

    // Asks for the reason a jump is excluded; none when the user cancels.
    void setReasonAsker(std::function<std::optional<QString>(int jumpIndex)> ask) {
        askReason_ = std::move(ask);
    }
    // Excludes a jump of the chosen series from every statistic (after asking why), or takes
    // its exclusion back; who and when is kept with it.
    void excludeJump(int jumpIndex);
    void restoreJump(int jumpIndex);
    // Excludes a jump of the chosen series as a failed trial, without asking why.
    void markFailedTrial(int jumpIndex);
    // The same for the jump of the chosen single measurement, from the history list; a
    // series is told to mark its jump in the jump grid.
    void markChosenSingleAsFailedTrial();

    // ---- corrections afterwards ----
    // Ask for the athlete a measurement goes to (all athletes but its own) and for its new
    // test; none when the user cancels.
    void setAthleteAsker(
        std::function<std::optional<qint64>(const QList<Athlete>& athletes, qint64 exceptId,
                                            const QString& measurementText)>
            ask) {
        askAthlete_ = std::move(ask);
    }
    void setTestAsker(std::function<std::optional<MeasurementTest>(const MeasurementTest& test,
                                                                   const QString& measurementText)>
                          ask) {
        askTest_ = std::move(ask);
    }
    // One measurement the chosen one may repeat: its number and its text.
    struct RepeatChoice {
        qint64 measurementNumber = 0;
        QString text;
    };
    // Asks which measurement the chosen one repeats (0: none); none when the user cancels.
    void setRepeatAsker(
        std::function<std::optional<qint64>(const QList<RepeatChoice>& choices, qint64 current,
                                            const QString& measurementText)>
            ask) {
        askRepeat_ = std::move(ask);
    }
    // Marks the chosen measurement as the repeat of another of the same test (a test–retest
    // pair for the typical error), or takes the mark away, after asking.
    void markRepeatOfChosen();
    // Gives the chosen measurement to another athlete, after asking whom; the list shows the
    // athlete's other measurements afterwards, and the user is told the new number.
    void moveChosenMeasurement();
    // Changes the chosen measurement's test and drop height, after asking for them.
    void changeTestOfChosen();
    // The changes of the listed athlete's measurements as the dialog "Änderungen" lists them.
    QList<ChangeLine> changeLines();
    // Restores a deleted measurement of the listed athlete and chooses it.
    void restoreDeleted(qint64 changeId);
    // What Delete asks before the chosen measurement goes: the question with its number,
    // date, test and jumps; empty while none is chosen.
    QString deletionQuestion();

    // Deletes the chosen measurement with its jumps; the other entries keep their numbers,
    // none is chosen and the jump grid shows nothing.
    void deleteSelectedMeasurement();
    // An athlete was deleted with all his measurements.
    void athleteDeleted(qint64 athleteId);
    // `listener` is told of every deletion: the athlete and the measurement's number, none for
    // all of the athlete's.
    void whenDeleted(
        std::function<void(qint64 athleteId, std::optional<qint64> measurementNumber)> listener) {
        deletionListeners_.append(std::move(listener));
    }

private:
    // The journal's measurements of the listed athlete; none without a journal.
    QList<JournalEntry> journalledOfAthlete();
    // The listed athlete's stored measurements where a journalled one continues one of them.
    QList<Measurement> continuedOf(const QList<JournalEntry>& journalled);
    // Throws AppError when the chosen entry is not yet on the server.
    void requireStored(const history::Entry& entry) const;
    // The chosen measurement as stored (among the athlete's `stored` measurements when they
    // are read already); throws AppError when another station removed it.
    Measurement chosenMeasurement();
    Measurement chosenMeasurement(const QList<Measurement>& stored);
    QString athleteName(qint64 athleteId);
    void tellDeleted(qint64 athleteId, std::optional<qint64> measurementNumber);
    void entryChosen();
    void showJumpsOfChosenEntry();
    void tellSelectionChanged();

    HistoryPanel& panel_;
    DataStore& store_;
    MessageService& messages_;
    qint64 athleteId_ = 0;
    QList<std::function<void()>> selectionListeners_;
    QList<std::function<void(qint64, std::optional<qint64>)>> deletionListeners_;
    std::function<Journal*()> journal_;
    QList<JournalEntry> journalled_; // as last listed
    std::function<std::optional<QString>(int)> askReason_;
    std::function<std::optional<qint64>(const QList<Athlete>&, qint64, const QString&)> askAthlete_;
    std::function<std::optional<MeasurementTest>(const MeasurementTest&, const QString&)> askTest_;
    std::function<std::optional<qint64>(const QList<RepeatChoice>&, qint64, const QString&)>
        askRepeat_;
};
