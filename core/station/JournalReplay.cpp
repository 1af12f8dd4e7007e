// The transfer of the journal to the server and the texts of where the measurements are.

#include "core/station/JournalReplay.h"

#include "core/base/StationIdentity.h"
#include "core/store/DataStore.h"

#include <QCoreApplication>

namespace {

// The texts of this file that the user reads, in the translation context "JournalReplay".
struct JournalReplayTexts {
    Q_DECLARE_TR_FUNCTIONS(JournalReplay)
};

} // namespace

TransferRound JournalReplay::transfer(const std::function<void()>& afterEach) {
    TransferRound round;
    const auto failure = failureOf([&] {
        for (const JournalEntry& entry : journal_.waiting()) {
            if (entry.undecided && entry.athlete.chosenId == 0) {
                ++round.undecided;
                continue;
            }
            const JournalTransfer done = store_.measurements().transferJournalled(
                entry.measurement, entry.athlete, station::computerName());
            if (done.outcome == JournalTransfer::Outcome::AthleteUndecided) {
                journal_.markUndecided(entry.id);
                ++round.undecided;
                continue;
            }
            journal_.markTransferred(entry.id, done);
            ++round.transferred;
            if (afterEach)
                afterEach();
        }
    });
    if (failure)
        round.failure = AppError(failure->text, failure->detail);
    return round;
}

StoreStatus JournalReplay::status(bool transferring) {
    StoreStatus status;
    const bool onServer =
        store_.serverAway() ||
        (store_.isOpen() && store_.location().kind == StoreLocation::Kind::Server);
    if (!onServer) {
        // A file of this computer: only measurements taken from another station's file can
        // wait, for the user's choice of their athlete.
        if (journal_.exists())
            (void)failureOf([&] {
                status.journalled = journal_.waitingCount();
                status.undecided = static_cast<int>(undecided().size());
            });
        return status;
    }
    (void)failureOf([&] {
        status.journalled = journal_.waitingCount();
        status.undecided = static_cast<int>(undecided().size());
    });
    if (store_.serverAway())
        status.place = StorePlace::Journalling;
    else if (transferring)
        status.place = StorePlace::Transferring;
    else if (status.journalled > 0)
        status.place = StorePlace::Waiting;
    else
        status.place = StorePlace::OnServer;
    return status;
}

QList<JournalEntry> JournalReplay::undecided() {
    QList<JournalEntry> out;
    for (const JournalEntry& entry : journal_.waiting())
        if (entry.undecided && entry.athlete.chosenId == 0)
            out << entry;
    return out;
}

QList<Athlete> JournalReplay::candidates(const JournalEntry& entry) {
    QList<Athlete> found;
    for (const Athlete& athlete : store_.athletes().all())
        if (athlete.name == entry.athlete.name && athlete.firstName == entry.athlete.firstName &&
            athlete.birthDate == entry.athlete.birthDate)
            found << athlete;
    return found;
}

qint64 JournalReplay::chooseNew(const JournalEntry& entry) {
    Athlete athlete;
    athlete.name = entry.athlete.name;
    athlete.firstName = entry.athlete.firstName;
    athlete.birthDate = entry.athlete.birthDate;
    const qint64 id = store_.athletes().add(athlete);
    choose(entry.journalAthleteId, id);
    return id;
}

QString JournalReplay::statusText(const StoreStatus& status) {
    switch (status.place) {
    case StorePlace::File:
        return status.undecided > 0
                   ? JournalReplayTexts::tr("Messungen warten auf die Wahl des Sportlers: %1")
                         .arg(status.undecided)
                   : QString();
    case StorePlace::OnServer:
        return JournalReplayTexts::tr("Alle Messungen sind auf dem Server.");
    case StorePlace::Journalling:
        return JournalReplayTexts::tr("Server nicht erreichbar – Sprünge werden auf diesem "
                                      "Rechner zwischengespeichert") +
               (status.journalled > 0
                    ? JournalReplayTexts::tr(". Messungen im Zwischenspeicher: %1")
                          .arg(status.journalled)
                    : QString());
    case StorePlace::Transferring:
        return JournalReplayTexts::tr("Zwischengespeicherte Messungen werden auf den Server "
                                      "übertragen …");
    case StorePlace::Waiting:
        return JournalReplayTexts::tr("Messungen im Zwischenspeicher, noch nicht auf dem Server: "
                                      "%1")
                   .arg(status.journalled) +
               (status.undecided > 0 ? JournalReplayTexts::tr(", davon mit unklarem Sportler: %1")
                                           .arg(status.undecided)
                                     : QString());
    }
    return {};
}
