#pragma once

#include "core/base/Errors.h"
#include "core/store/AthleteRepository.h"
#include "core/store/GroupRepository.h"
#include "core/store/JumpReader.h"
#include "core/store/MeasurementRepository.h"
#include "core/store/RetestRepository.h"
#include "core/store/Schema.h"
#include "core/store/StoreHealth.h"
#include "core/store/StoreLocation.h"
#include "core/store/TestDayRepository.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class Database;
class QObject;

// The store as the windows and the command line see it, in the user's terms: athletes,
// measurements with their tests, protocols and profiles, jumps with their exclusions, groups,
// backups, and its health. Until it is open (or when opening failed) every access throws
// AppError "Die Datenbank ist nicht geöffnet", which the window shows. Reading and writing
// are calls of their own throughout, so that a damaged file refuses exactly the changes.
class DataStore {
public:
    DataStore();
    ~DataStore();
    DataStore(const DataStore&) = delete;
    DataStore& operator=(const DataStore&) = delete;

    // Opens (creating when missing) the database; throws AppError when that fails, and stays
    // closed. A database that could not be opened (a server that was away, a disk that was
    // full) is tried again at the next use, so that the program works once the cause is gone.
    void open(const StoreLocation& location);
    bool isOpen() const { return open_ != nullptr; }
    // Closes the database; the next use throws until open().
    void close();

    // ---- what it holds ----
    AthleteRepository& athletes();
    MeasurementRepository& measurements();
    // The one reader of the jumps: the exports, the analysis, the ranking and the take-over
    // read jumps here.
    JumpReader& jumps();
    // The groups of athletes; without the feature Groups every reading is empty and
    // available() is false.
    GroupRepository& groups();
    // The test days; without the feature TestDays every reading is empty and available() is
    // false.
    TestDayRepository& testDays();
    // The test–retest pairs the user marks and the smallest worthwhile change set for a test;
    // without the feature RetestPairs nothing is marked or set.
    RetestRepository& retests();
    // Runs `work` as one change: everything it stores takes effect when it returns true,
    // nothing when it returns false or throws (which is passed on). What `work` calls must not
    // be one change of its own (recordFirstJump, setGroupsOf ...): the store holds one at a
    // time.
    bool allOrNothing(const std::function<bool()>& work);

    // Whether the store is a server that is away: it could not be reached when it was last
    // opened or used, and has not been reached since. Tried again at the next use.
    bool serverAway() const;
    // Tries to reach a server that was away; true when it answers now.
    bool reachServer();

    // ---- which store ----
    const StoreLocation& location();
    // The database file (of a store in a file).
    QString filePath();
    // The store as messages name it: „file“, or „database“ auf server.
    QString shownName();

    // ---- health ----
    // Whether the database holds the tables of a feature; without one, the program offers
    // nothing that the feature would store.
    bool has(schema::Feature feature);
    // Why the database could not be brought to the program's version, with what it lacks
    // therefore (schema::missingAt); it works as before without that.
    std::optional<AppError> upgradeFailure();
    // Measurements of one athlete that share a number, found at the opening.
    QList<DuplicateNumber> duplicateNumbers();
    // A database file found damaged is only read: the exports, the report and the analysis
    // work, every change is refused with damagedText().
    bool damaged();
    QString damagedText();
    WriteProbe probeWriteAccess();
    // Why a database that is not damaged is only read (a read-only medium or directory, a
    // server on which this station may not write), and what works all the same; empty when it
    // was opened to be written.
    QString readOnlyText();
    // The check of the file at start (PRAGMA quick_check) and the day's backup, on a thread of
    // their own; `answered` runs on `context`'s thread with the verdict (true: damaged), and
    // `backupFailed` with the failure and its cause when the day's backup fails.
    void checkInBackground(const QDate& today, int backupsKept, QObject* context,
                           std::function<void(bool damaged)> answered,
                           std::function<void(const QString& failure)> backupFailed = {});
    // Waits until the check and the day's backup are done.
    void finishBackgroundWork();
    // Copies the write-ahead log into the file when it has grown (see
    // Database::checkpointIfDue); for the session after a shown jump.
    void checkpointIfDue();

    // ---- backups of a store in a file ----
    // The newest daily copy that passes integrity_check; empty when there is none.
    QString newestSoundBackup();
    // Puts the copy in place of the database file: closes the store, restores the copy (the
    // file there is renamed aside as "qrv-<reason>-…", see backup::restore) and opens the
    // store again in any case, the copy or the file left where it was. Returns the name the
    // file was renamed to; throws what the restoring threw once the store is open again.
    QString restoreBackup(const QString& copyFile, const QString& reason, const QDateTime& now);

private:
    // The tests' way to the database under the store, for what only they do to it
    // (tests/support/TempDataDir.h).
    friend struct StoreInternals;
    Database& database();

    struct Open;
    Open& require();

    std::unique_ptr<Open> open_;
    std::optional<StoreLocation> retry_;
};
