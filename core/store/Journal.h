// The station's journal: the measurements it records while the shared database server is away,
// kept in a SQLite file of the data directory until they are brought to the server.

#pragma once

#include "core/store/MeasurementRepository.h"

#include <QList>

#include <QString>
#include <memory>

#include <optional>

// One measurement of the journal with its athlete and where it stands.
struct JournalEntry {
    qint64 id = 0;
    qint64 journalAthleteId = 0;
    JournalledAthlete athlete;
    JournalledMeasurement measurement;
    bool open = false;        // its run still records
    bool transferred = false; // on the server now
    bool undecided = false;   // waits for the user to choose its athlete
    qint64 serverMeasurementId = 0;
    qint64 serverMeasurementNumber = 0;
};

// The journal file journal.sqlite in the data directory, made at the first jump it takes.
// Every jump is one transaction, synced to the disk before the call returns, as the store's own
// file is; a measurement keeps the identity it got here on its way to the server. A failure
// throws AppError with the cause in the user's words (a full disk among them) and the engine's
// text as its detail; the journal holds then what it held before.
class Journal {
public:
    static inline const QString kFileName = QStringLiteral("journal.sqlite");

    explicit Journal(const QString& directory);
    ~Journal();
    Journal(const Journal&) = delete;
    Journal& operator=(const Journal&) = delete;

    QString filePath() const;
    // Whether the file is there (something was journalled at this station once).
    bool exists() const;

    // Records the first jump of a measurement, with its athlete, moment, test, protocol and
    // the station's user and name; a series the server lost mid-way names the server's
    // measurement it continues. Returns the entry.
    qint64 begin(const JournalledAthlete& athlete, const QDateTime& moment,
                 const MeasurementTest& test, const MeasurementProtocol& protocol,
                 qint64 continuesMeasurementId, const RecordedJump& jump,
                 const std::optional<Exclusion>& exclusion);
    // Records a further jump of the entry.
    void add(qint64 entryId, const RecordedJump& jump, const std::optional<Exclusion>& exclusion);
    // The entry's run has ended: it may be brought to the server. An end that could not be
    // noted (a full disk) is noted again at the next reading of what waits.
    void finish(qint64 entryId);
    // At the start of the program no run goes on: a run that a crash cut off is finished with
    // the jumps it took.
    void finishAll();

    // The finished entries not yet on the server, in the order recorded, undecided ones too.
    QList<JournalEntry> waiting();
    // How many measurements are not yet on the server (the one recording among them).
    int waitingCount();
    // The entries not yet on the server that belong to a server's athlete, for his history.
    QList<JournalEntry> waitingOf(qint64 serverAthleteId);

    // Keeps a measurement taken from another station's file whose athlete the user has to
    // choose, finished and waiting, under the identity it has; one kept before is not kept
    // again. Returns whether it was kept now.
    bool keepUndecided(const JournalledAthlete& athlete, const JournalledMeasurement& measurement);

    // The entry is on the server now.
    void markTransferred(qint64 entryId, const JournalTransfer& transfer);
    // The entry waits for the user to choose its athlete.
    void markUndecided(qint64 entryId);
    // The user chose the server's athlete for the journal's athlete: his entries go there.
    void chooseAthlete(qint64 journalAthleteId, qint64 serverAthleteId);

private:
    void openFile();
    struct Connection;
    Connection& connection();
    QList<JournalEntry> entriesWhere(const QString& condition, const QVariantList& values);

    QList<qint64> unfinished_; // runs ended whose end could not be noted yet
    QString directory_;
    QString connectionName_;
    std::unique_ptr<Connection> connection_;
};
