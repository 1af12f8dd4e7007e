// Lists the selected athlete's measurements and the chosen one's jumps, and deletes, excludes and
// restores.

#include "ui/history/HistoryController.h"

#include "core/base/StationIdentity.h"
#include "core/base/Texts.h"
#include "core/history/ChangeTexts.h"
#include "core/history/History.h"
#include "core/measure/TrialKind.h"
#include "core/store/DataStore.h"
#include "core/store/SeriesKey.h"
#include "ui/common/MessageService.h"
#include "ui/common/WriteCheck.h"
#include "ui/history/HistoryPanel.h"
#include "ui/history/JumpTableModel.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QSignalBlocker>

namespace {

// The texts of this file that the user reads, in the translation context "HistoryController".
struct HistoryControllerTexts {
    Q_DECLARE_TR_FUNCTIONS(HistoryController)
};

} // namespace

HistoryController::HistoryController(HistoryPanel& panel, DataStore& store,
                                     MessageService& messages)
    : panel_(panel), store_(store), messages_(messages) {
    QObject::connect(&panel_, &HistoryPanel::entryChosen, &panel_,
                     [this] { runGuarded(messages_, [this] { entryChosen(); }); });
    QObject::connect(&panel_, &HistoryPanel::excludeRequested, &panel_, [this](int jumpIndex) {
        runGuarded(messages_, [this, jumpIndex] { excludeJump(jumpIndex); });
    });
    QObject::connect(&panel_, &HistoryPanel::failedTrialRequested, &panel_, [this](int jumpIndex) {
        runGuarded(messages_, [this, jumpIndex] { markFailedTrial(jumpIndex); });
    });
    QObject::connect(&panel_, &HistoryPanel::restoreRequested, &panel_, [this](int jumpIndex) {
        runGuarded(messages_, [this, jumpIndex] { restoreJump(jumpIndex); });
    });
}

void HistoryController::entryChosen() {
    showLayoutOfChosenEntry();
    tellSelectionChanged();
}

QList<JournalEntry> HistoryController::journalledOfAthlete() {
    Journal* journal = journal_ ? journal_() : nullptr;
    if (journal == nullptr || athleteId_ == 0)
        return {};
    return journal->waitingOf(athleteId_);
}

QList<Measurement> HistoryController::continuedOf(const QList<JournalEntry>& journalled) {
    // Only the rest of a series needs the stored measurements, for the number it continues.
    QList<Measurement> stored;
    for (const JournalEntry& entry : journalled)
        if (entry.measurement.continuesMeasurementId != 0) {
            (void)failureOf([&] { stored = store_.measurements().ofAthlete(athleteId_); });
            break;
        }
    return stored;
}

void HistoryController::showAthlete(qint64 athleteId) {
    athleteId_ = athleteId;
    journalled_.clear();
    if (store_.isOpen())
        panel_.offerExclusions(store_.has(schema::Feature::Exclusions));
    if (athleteId == 0) {
        panel_.setEntries({});
        showNoJumps();
        showSingleLayout();
        tellSelectionChanged();
        return;
    }
    // The journal is read first: it is on this computer, the store may be away.
    const std::optional<Failure> journalFailure =
        failureOf([&] { journalled_ = journalledOfAthlete(); });
    QList<history::Entry> entries;
    const std::optional<Failure> storeFailure =
        failureOf([&] { entries = history::build(store_.measurements(), athleteId); });
    entries << history::journalledEntries(journalled_, continuedOf(journalled_));
    history::sortNewestFirst(entries);
    panel_.setEntries(entries);
    if (entries.isEmpty()) {
        showNoJumps();
        showSingleLayout();
        tellSelectionChanged();
    } else {
        panel_.chooseAt(0);
    }
    for (const auto& failure : {storeFailure, journalFailure})
        if (failure)
            throw AppError(failure->text, failure->detail);
}

void HistoryController::showJournalled() {
    if (athleteId_ == 0)
        return;
    QList<history::Entry> kept;
    for (int i = 0; i < panel_.entryCount(); ++i)
        if (const auto entry = panel_.entryAt(i); entry && !entry->isJournalled())
            kept << *entry;
    journalled_ = journalledOfAthlete();
    kept << history::journalledEntries(journalled_, continuedOf(journalled_));
    history::sortNewestFirst(kept);
    panel_.setEntries(kept);
    // What the choice reads beside the journal may be on a server that is away; the status
    // bar says so already.
    if (!kept.isEmpty())
        (void)failureOf([this] { chooseNewest(); });
}

std::optional<JournalEntry> HistoryController::chosenJournalled() const {
    const auto entry = panel_.chosenEntry();
    if (!entry || !entry->isJournalled())
        return std::nullopt;
    for (const JournalEntry& journalled : journalled_)
        if (journalled.id == entry->journalEntryId)
            return journalled;
    return std::nullopt;
}

void HistoryController::requireStored(const history::Entry& entry) const {
    if (entry.isJournalled())
        throw AppError(HistoryControllerTexts::tr(
            "Diese Messung ist noch nicht auf dem Server. Sie kann geändert werden, sobald sie "
            "dorthin übertragen ist."));
}

void HistoryController::tellSelectionChanged() {
    for (const auto& listener : selectionListeners_)
        listener();
}

void HistoryController::addRecorded(const history::Entry& entry) {
    panel_.addEntry(entry);
    panel_.sort();
    if (panel_.chooseMeasurement(entry.measurementNumber) && athleteId_ != 0)
        panel_.showBestOfChosen(history::bestTexts(
            store_.measurements().jumpsOf(seriesKey(athleteId_, entry.measurementNumber))));
}

std::optional<qint64> HistoryController::selectedMeasurementNumber() const {
    if (const auto entry = panel_.chosenEntry(); entry && !entry->isJournalled())
        return entry->measurementNumber;
    return std::nullopt;
}

void HistoryController::chooseAt(int position) {
    panel_.chooseAt(position);
}

void HistoryController::chooseNewest() {
    if (panel_.entryCount() == 0)
        return;
    {
        const QSignalBlocker quiet(&panel_);
        panel_.chooseAt(0);
    }
    entryChosen();
}

void HistoryController::selectMeasurement(qint64 measurementNumber) {
    panel_.chooseMeasurement(measurementNumber);
}

void HistoryController::showLayoutOfChosenEntry() {
    const auto entry = panel_.chosenEntry();
    if (!entry)
        return;
    if (entry->isSeries())
        showSeriesLayout();
    else
        showSingleLayout();
}

void HistoryController::showSingleLayout() {
    panel_.showSingleLayout();
}

void HistoryController::showSeriesLayout() {
    showJumpsOfChosenEntry();
    panel_.showSeriesLayout();
}

void HistoryController::showJumpsOfChosenEntry() {
    if (const auto journalled = chosenJournalled()) {
        const QList<Jump> jumps = history::journalledJumps(*journalled);
        panel_.jumps().showJournalled(jumps);
        panel_.showBestOfChosen(history::bestTexts(jumps));
    } else if (const auto entry = panel_.chosenEntry(); entry && !entry->isJournalled()) {
        panel_.jumps().showSeries(seriesKey(athleteId_, entry->measurementNumber),
                                  entry->protocol.kind == Protocol::TenFive);
        panel_.showBestOfChosen(history::bestTexts(panel_.jumps().shownJumps()));
    } else {
        showNoJumps();
    }
}

void HistoryController::deleteSelectedMeasurement() {
    const auto entry = panel_.chosenEntry();
    if (!entry || athleteId_ == 0)
        return;
    requireStored(*entry);
    store_.measurements().remove(athleteId_, entry->measurementNumber);
    // The other entries keep their numbers and their order; none is chosen afterwards, and
    // the jump grid shows none.
    panel_.removeChosen();
    showNoJumps();
    tellDeleted(athleteId_, entry->measurementNumber);
}

void HistoryController::tellDeleted(qint64 athleteId, std::optional<qint64> measurementNumber) {
    for (const auto& listener : deletionListeners_)
        listener(athleteId, measurementNumber);
}

Measurement HistoryController::chosenMeasurement() {
    if (athleteId_ == 0)
        return chosenMeasurement({});
    return chosenMeasurement(store_.measurements().ofAthlete(athleteId_));
}

Measurement HistoryController::chosenMeasurement(const QList<Measurement>& stored) {
    const auto entry = panel_.chosenEntry();
    if (entry)
        requireStored(*entry);
    if (entry && athleteId_ != 0)
        for (const Measurement& m : stored)
            if (m.measurementNumber == entry->measurementNumber)
                return m;
    throw AppError(
        HistoryControllerTexts::tr("Die Messung ist nicht mehr gespeichert; bitte die Liste "
                                   "aktualisieren (F9)."));
}

QString HistoryController::athleteName(qint64 athleteId) {
    for (const Athlete& athlete : store_.athletes().all())
        if (athlete.id == athleteId)
            return athlete.firstName.isEmpty()
                       ? athlete.name
                       : QStringLiteral("%1, %2").arg(athlete.name, athlete.firstName);
    return HistoryControllerTexts::tr("Sportler %1 (gelöscht)").arg(athleteId);
}

void HistoryController::moveChosenMeasurement() {
    if (!panel_.chosenEntry() || athleteId_ == 0 || !askAthlete_)
        return;
    if (!store_.has(schema::Feature::Changes))
        throw AppError(schema::missingText(schema::Feature::Changes));
    if (!checkWritable(store_, messages_))
        return;
    const Measurement m = chosenMeasurement();
    const QList<Athlete> athletes = store_.athletes().all();
    const std::optional<qint64> target = askAthlete_(
        athletes, athleteId_, changetexts::measurementText(m.measurementNumber, m.moment));
    if (!target)
        return;
    const qint64 from = athleteId_;
    const Measurement moved =
        store_.measurements().moveToAthlete(m.id, from, m.measurementNumber, *target);
    showAthlete(from);
    tellDeleted(from, m.measurementNumber);
    boxes::information(messages_,
                       HistoryControllerTexts::tr("Die Messung gehört jetzt zu %1 und hat dort die "
                                                  "Nummer %2.")
                           .arg(athleteName(*target))
                           .arg(moved.measurementNumber));
}

void HistoryController::changeTestOfChosen() {
    if (!panel_.chosenEntry() || athleteId_ == 0 || !askTest_)
        return;
    if (!store_.has(schema::Feature::Changes))
        throw AppError(schema::missingText(schema::Feature::Changes));
    if (!checkWritable(store_, messages_))
        return;
    const Measurement m = chosenMeasurement();
    const std::optional<MeasurementTest> test =
        askTest_(m.test, changetexts::measurementText(m.measurementNumber, m.moment));
    if (!test)
        return;
    store_.measurements().changeTest(m.id, athleteId_, m.measurementNumber, *test);
    const QList<history::Entry> entries = history::build(store_.measurements(), athleteId_);
    panel_.setEntries(entries);
    if (!panel_.chooseMeasurement(m.measurementNumber))
        panel_.chooseAt(0);
}

void HistoryController::markRepeatOfChosen() {
    if (!panel_.chosenEntry() || athleteId_ == 0 || !askRepeat_)
        return;
    RetestRepository& retests = store_.retests();
    if (!retests.available())
        throw AppError(schema::missingText(schema::Feature::RetestPairs));
    if (!checkWritable(store_, messages_))
        return;
    const QList<Measurement> stored = store_.measurements().ofAthlete(athleteId_);
    const Measurement m = chosenMeasurement(stored);
    // The athlete's other measurements of the same test, as the list shows them.
    QList<RepeatChoice> choices;
    for (const Measurement& other : stored)
        if (other.measurementNumber != m.measurementNumber && other.test == m.test)
            choices << RepeatChoice{
                other.measurementNumber,
                changetexts::measurementText(other.measurementNumber, other.moment)};
    const qint64 current = retests.pairsOf(athleteId_).value(m.measurementNumber);
    const std::optional<qint64> first =
        askRepeat_(choices, current, changetexts::measurementText(m.measurementNumber, m.moment));
    if (!first || *first == current)
        return;
    retests.markRepeat(athleteId_, m.measurementNumber, *first);
}

QList<ChangeLine> HistoryController::changeLines() {
    if (athleteId_ == 0)
        return {};
    if (!store_.has(schema::Feature::Changes))
        throw AppError(schema::missingText(schema::Feature::Changes));
    QHash<qint64, QString> names;
    const auto nameOf = [this, &names](qint64 id) {
        if (!names.contains(id))
            names.insert(id, athleteName(id));
        return names.value(id);
    };
    QList<ChangeLine> lines;
    for (const MeasurementChange& c : store_.measurements().changesOfAthlete(athleteId_))
        lines << ChangeLine{c.id,
                            c.moment.isValid()
                                ? QStringLiteral("%1 %2").arg(texts::dateText(c.moment.date()),
                                                              texts::timeText(c.moment.time()))
                                : QString(),
                            c.user,
                            c.station,
                            changetexts::measurementText(c.measurementNumber, c.measurementMoment),
                            changetexts::changeText(c, nameOf),
                            c.canBeRestored() && c.athleteId == athleteId_};
    return lines;
}

void HistoryController::restoreDeleted(qint64 changeId) {
    if (athleteId_ == 0 || !checkWritable(store_, messages_))
        return;
    const Measurement back = store_.measurements().restoreDeleted(changeId);
    showAthlete(athleteId_);
    selectMeasurement(back.measurementNumber);
}

QString HistoryController::deletionQuestion() {
    const auto entry = panel_.chosenEntry();
    if (!entry)
        return {};
    QString question = HistoryControllerTexts::tr("Möchten Sie diese Messreihe wirklich löschen?");
    const Measurement m = chosenMeasurement();
    question += QStringLiteral("\n\n") +
                changetexts::measurementDeletionText(
                    m.measurementNumber, m.moment, m.test,
                    changetexts::countedJumps(
                        store_.measurements().jumpsOf(seriesKey(athleteId_, m.measurementNumber))));
    if (store_.has(schema::Feature::Changes))
        question += QStringLiteral("\n\n") +
                    HistoryControllerTexts::tr(
                        "Sie bleibt unter „Daten“ ▸ „Änderungen …“ erhalten und kann "
                        "dort wiederhergestellt werden.");
    return question;
}

void HistoryController::athleteDeleted(qint64 athleteId) {
    showNoJumps();
    tellDeleted(athleteId, std::nullopt);
}

void HistoryController::showNoJumps() {
    panel_.jumps().showNothing();
}

void HistoryController::showRecordedJump(const Jump& jump, const QStringList& best) {
    panel_.jumps().addRecorded(jump);
    // The series recorded now is the entry chosen; its best values grow with it.
    panel_.showBestOfChosen(best);
}

int HistoryController::entryCount() const {
    return panel_.entryCount();
}

void HistoryController::excludeJump(int jumpIndex) {
    const auto entry = panel_.chosenEntry();
    if (!entry || athleteId_ == 0 || !askReason_ || !checkWritable(store_, messages_))
        return;
    requireStored(*entry);
    const std::optional<QString> reason = askReason_(jumpIndex);
    if (!reason)
        return;
    store_.measurements().exclude(seriesKey(athleteId_, entry->measurementNumber), jumpIndex,
                                  {*reason, station::userName(), QDateTime::currentDateTime()});
    showJumpsOfChosenEntry();
    tellSelectionChanged();
}

void HistoryController::restoreJump(int jumpIndex) {
    const auto entry = panel_.chosenEntry();
    if (!entry || athleteId_ == 0 || !checkWritable(store_, messages_))
        return;
    requireStored(*entry);
    store_.measurements().restore(seriesKey(athleteId_, entry->measurementNumber), jumpIndex);
    showJumpsOfChosenEntry();
    tellSelectionChanged();
}

void HistoryController::markFailedTrial(int jumpIndex) {
    const auto entry = panel_.chosenEntry();
    if (!entry || athleteId_ == 0 || !checkWritable(store_, messages_))
        return;
    requireStored(*entry);
    store_.measurements().exclude(
        seriesKey(athleteId_, entry->measurementNumber), jumpIndex,
        {trial::failedTrialReason(), station::userName(), QDateTime::currentDateTime()});
    showJumpsOfChosenEntry();
    tellSelectionChanged();
}

void HistoryController::markChosenSingleAsFailedTrial() {
    const auto entry = panel_.chosenEntry();
    if (!entry)
        return;
    requireStored(*entry);
    if (entry->isSeries())
        throw AppError(HistoryControllerTexts::tr(
            "Bei einer Messreihe bitte den Sprung im Sprungraster wählen und dort als "
            "Fehlversuch markieren."));
    markFailedTrial(1);
}
