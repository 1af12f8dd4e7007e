// The measurements as the store keeps them (table units and the tables beside it) and every
// statement that records, carries over, excludes or deletes them.

#pragma once

#include "core/measure/MeasurementTest.h"
#include "core/store/JumpReader.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QVariant>

#include <optional>

class Database;

// The protocol a measurement was run under: none, the 10/5 repeated-jump test, or one trial
// of a drop-height profile (which `profileId` names).
enum class Protocol { None, TenFive, DropHeightProfile };

struct MeasurementProtocol {
    Protocol kind = Protocol::None;
    qint64 profileId = 0; // the profile of a trial; 0 otherwise

    bool operator==(const MeasurementProtocol&) const = default;
};

// The protocol as units_protokoll stores it (Protokoll, Profil_ID); none for an empty code or
// one that a later version knows.
MeasurementProtocol storedProtocol(const QVariant& code, const QVariant& profileId);
// The code a protocol is stored by; empty (NULL) for none.
QVariant storedProtocolCode(Protocol protocol);

// A profile's drop heights as the store keeps them ("20,30,40"), and read back (what is no
// number is passed over).
QString storedHeightsText(const QList<int>& heightsCm);
QList<int> storedHeights(const QString& text);

// A drop-height profile as it was planned: the athlete, when it began, the drop heights in
// the order run and the trials per height. Its trials are the measurements marked with it.
struct ProfilePlan {
    qint64 id = 0;
    qint64 athleteId = 0;
    QDateTime moment;
    QList<int> heightsCm;
    int trialsPerHeight = 0;
};

// One row of the measurement table units.
struct Measurement {
    qint64 id = 0;
    qint64 athleteId = 0;         // Ref_ID
    QDateTime moment;             // Datum; invalid when not stored
    qint64 measurementNumber = 0; // Nummer: within the athlete, from 1
    qint64 jumpCount = 0;         // FZ: the jumps recorded; an empty value reads as 0
    MeasurementTest test;         // from units_test; empty for a measurement stored without one
    MeasurementProtocol protocol; // from units_protokoll; none for one stored without
};

// A jump as a run records it.
struct RecordedJump {
    qint32 contactMs = 0;
    qint32 flightMs = 0;
    double efficiency = 0; // as its metric text shows it
    qint32 jumpIndex = 0;  // within the measurement, from 1: also the measurement's jump count
};

// A measurement carried over from elsewhere (an old data folder, a station's file), as it
// stood there: its number, moment and jump count, its test, and its jumps' stored values, any
// of which may be empty.
struct CarriedJump {
    std::optional<double> contactMs;
    std::optional<double> flightMs;
    std::optional<double> efficiency;
    std::optional<double> jumpIndex;
};
struct CarriedMeasurement {
    qint64 athleteId = 0;
    QDateTime moment;
    qint64 measurementNumber = 0;
    qint64 jumpCount = 0;
    MeasurementTest test;
    QList<CarriedJump> jumps;
};

// A measurement that a station recorded in its journal while the server was away, as it is
// brought to the server: the identity the journal gave it, what a run stores with it, and
// its jumps in order (with their exclusions). A series that the server lost mid-way goes on
// the server's measurement `continuesMeasurementId` with the jumps after those stored there.
struct JournalledMeasurement {
    QString identity;
    QDateTime moment;
    MeasurementTest test;
    MeasurementProtocol protocol;
    qint64 continuesMeasurementId = 0;
    QList<RecordedJump> jumps;
    QHash<int, Exclusion> exclusions; // by jump index
    // Taken from another station's file: a measurement of its athlete at the same moment is
    // the same one (carried over before by another way) and is not written again.
    bool fromFile = false;
};

// The athlete of a journalled measurement as the station knew him: the server's athlete
// (serverId) when he was chosen from the server's list, or one created at the station
// (serverId 0); `chosenId` is the server's athlete the user gave the measurement to.
struct JournalledAthlete {
    qint64 serverId = 0;
    qint64 chosenId = 0;
    QString name;
    QString firstName;
    QDate birthDate;
    int sex = -1;   // as a station's file knows him; -1: not known
    QString remark; // the same
};

// What became of a journalled measurement brought to the server.
struct JournalTransfer {
    enum class Outcome {
        Stored,           // stored now, under the number the server gave it at this moment
        AlreadyThere,     // stored before (a transfer whose end was cut off): nothing written
        AthleteUndecided, // several athletes, or none, could be his: nothing written
    };
    Outcome outcome = Outcome::Stored;
    qint64 measurementId = 0; // on the server
    qint64 athleteId = 0;
    qint64 measurementNumber = 0;
    bool athleteCreated = false; // the athlete was unknown here and was stored with it
};

// A stored measurement by its athlete, moment and number: what a take-over compares.
struct MeasurementKey {
    qint64 athleteId = 0;
    QDateTime moment;
    qint64 measurementNumber = 0;
};

// A change made to a measurement afterwards, as the store keeps it (with the feature
// Changes): who made it at which station and when, and what the measurement was before.
enum class ChangeKind {
    Moved,              // given to another athlete
    TestChanged,        // test and drop height changed
    Excluded,           // a jump excluded (or its reason changed)
    ExclusionTakenBack, // a jump's exclusion taken back
    Deleted,            // deleted with its jumps, which the change keeps
    Restored,           // a deleted measurement stored again
};

struct MeasurementChange {
    qint64 id = 0;
    QDateTime moment; // when the change was made
    QString user;
    QString station;
    ChangeKind kind = ChangeKind::Moved;
    qint64 measurementId = 0;
    qint64 athleteId = 0;         // the measurement's athlete after the change
    qint64 measurementNumber = 0; // and its number
    qint64 previousAthleteId = 0; // before the change
    qint64 previousNumber = 0;
    QDateTime measurementMoment;  // when the measurement was recorded
    MeasurementTest previousTest; // a changed test: before and after
    MeasurementTest test;
    int jumpIndex = 0;      // an exclusion's jump
    QString previousReason; // an exclusion's reason before (empty: the jump counted)
    QString reason;         // and after (empty: it counts)
    qint64 jumpCount = 0;   // the jumps of a deleted measurement
    QDateTime restored;     // a deleted measurement: when it was restored; invalid while not

    bool canBeRestored() const { return kind == ChangeKind::Deleted && !restored.isValid(); }
};

// All statements on the measurement table and those beside it. The jumps of a measurement are
// stored under its series key (see seriesKey()) and read through the JumpReader.
class MeasurementRepository {
public:
    explicit MeasurementRepository(Database& db) : db_(db), jumps_(db) {}

    // The measurements of an athlete in the order they were recorded.
    QList<Measurement> ofAthlete(qint64 athleteId);
    // How many measurements ofAthlete() gives, without reading them.
    qint64 countOfAthlete(qint64 athleteId);
    // Every stored measurement's athlete, moment and number.
    QList<MeasurementKey> keysOfAll();

    // The jumps of a series, in jump order, with their marks (see JumpReader).
    QList<Jump> jumpsOf(qint64 seriesKey) { return jumps_.ofSeries(seriesKey); }
    // For each of an athlete's keys that has jumps, the first jump stored under it: the one
    // jump of a single measurement.
    QHash<qint64, Jump> firstJumpsOf(qint64 athleteId, const QList<qint64>& seriesKeys) {
        return jumps_.firstOf(athleteId, seriesKeys);
    }
    // Every jump of an athlete's measurements under its series key, each series in jump order
    // with its marks, as jumpsOf gives it: two statements however many measurements he has.
    QHash<qint64, QList<Jump>> jumpsOfAthlete(qint64 athleteId) {
        return jumps_.ofAthlete(athleteId);
    }

    // Stores a new measurement of an athlete with its first jump, in one transaction that no
    // other program can interleave: the measurement gets the number after the highest the
    // athlete has in the database, so two programs recording for one athlete never share a
    // number or a series key. Returns the new row.
    // A test that is not empty is stored with the measurement and kept as the athlete's test
    // for his next measurement, in the same transaction. (A database that could not be
    // upgraded stores no test.)
    // A protocol other than none is stored with the measurement in the same transaction (not
    // on a database that could not be upgraded to know protocols).
    // An exclusion (a failed trial) is stored with the jump in the same transaction, where the
    // database keeps exclusions. A test day (its ID) marks the measurement as its trial in the
    // same transaction, so that no trial of a day is stored without its mark.
    Measurement recordFirstJump(qint64 athleteId, const QDateTime& moment, const RecordedJump& jump,
                                const MeasurementTest& test = {},
                                const MeasurementProtocol& protocol = {},
                                const std::optional<Exclusion>& exclusion = std::nullopt,
                                qint64 testDayId = 0);
    // The test of the athlete's last measurement that had one; none when there is none (or
    // the database holds no tests).
    std::optional<MeasurementTest> lastTestOf(qint64 athleteId);
    // Stores a further jump of the measurement under its series key and sets the measurement's
    // jump count to the jump's index, in one transaction: the count always equals the jumps
    // stored. Throws AppError "Die Messung <id> ist nicht mehr gespeichert" when the
    // measurement's row is gone.
    // An exclusion is stored with it, as recordFirstJump stores one.
    void recordJump(qint64 measurementId, const RecordedJump& jump,
                    const std::optional<Exclusion>& exclusion = std::nullopt);
    // Deletes an athlete's measurement with its jumps, all or nothing. Where the database
    // keeps changes, the measurement is kept there with its jumps, test, protocol and
    // exclusions, to be restored (restoreDeleted).
    void remove(qint64 athleteId, qint64 measurementNumber);

    // Gives a measurement to another athlete, in one transaction: it keeps its ID, moment,
    // test, protocol, jumps and their exclusions; its jumps' series key follows the new
    // athlete and number; it gets the number after the new athlete's highest (and after any
    // jumps left under a key without a measurement), taken as recordFirstJump takes one, so
    // that stations moving and recording at once never give one number twice. The change is
    // kept. `athleteId` and `measurementNumber` are the measurement's as the caller shows it.
    // Throws AppError, nothing changed, when the database keeps no changes, when the
    // measurement is no longer stored as shown (another station moved or deleted it) or the
    // new athlete is not stored (deleted meanwhile). Returns the measurement as it is now.
    Measurement moveToAthlete(qint64 measurementId, qint64 athleteId, qint64 measurementNumber,
                              qint64 newAthleteId);
    // Changes the test and drop height of a measurement (checked as at the start of a run: a
    // name of at most 40 characters, a drop height from 0 to 150 cm), in one transaction with
    // its record; the athlete's test offered for his next measurement stays. Throws AppError
    // as moveToAthlete does, and for a test out of bounds.
    void changeTest(qint64 measurementId, qint64 athleteId, qint64 measurementNumber,
                    const MeasurementTest& test);
    // The changes of the measurements an athlete has or had, the newest first; none on a
    // database that keeps no changes.
    QList<MeasurementChange> changesOfAthlete(qint64 athleteId);
    // Stores a deleted measurement again, with its jumps, test, protocol and exclusions, for
    // its athlete under its old number where that is free, else the next; one transaction
    // with its record. Throws AppError when the change is no deletion or was restored already
    // (at another station too), or the athlete is not stored any more.
    Measurement restoreDeleted(qint64 changeId);
    // Whether the database keeps changes (and so offers moving, changing and restoring).
    bool knowsChanges() const;
    // Stores a measurement carried over with its test (where the database keeps tests) and
    // its jumps under the series key of its athlete and number; returns its ID. Within a
    // transaction the caller holds (DataStore::allOrNothing).
    qint64 addCarried(const CarriedMeasurement& measurement);

    // Brings a journalled measurement to the server in one transaction, whole or not at all:
    // its athlete found (the server's athlete he was; else the one athlete of his name, first
    // name and date of birth; one created at the station and unknown on the server is stored
    // too), the measurement numbered as recordFirstJump numbers one, its jumps, test,
    // protocol and exclusions, and its identity, which is looked for first: a measurement
    // brought over before is never written twice. A continued series gets only the jumps
    // after those the server holds. Throws AppError (nothing written) when the database
    // keeps no transfers or a statement fails.
    JournalTransfer transferJournalled(const JournalledMeasurement& measurement,
                                       const JournalledAthlete& athlete, const QString& station);

    // Excludes the jump with that index of a series from every statistic, or changes the
    // reason of one excluded before; the jump row stays. Throws AppError when the database
    // does not know excluded jumps yet (it could not be upgraded).
    void exclude(qint64 seriesKey, int jumpIndex, const Exclusion& exclusion);
    // Takes an exclusion back; nothing happens for a jump that is not excluded.
    void restore(qint64 seriesKey, int jumpIndex);
    // The excluded jumps of a series by their index; none on a database that does not know
    // them.
    QHash<int, Exclusion> exclusionsOf(qint64 seriesKey) { return jumps_.exclusionsOf(seriesKey); }

    // Whether the database keeps protocols and profiles (it could be upgraded to them).
    bool knowsProtocols() const;
    // Begins a drop-height profile of an athlete and returns its ID. Throws AppError when
    // the database does not know profiles.
    qint64 createProfile(qint64 athleteId, const QDateTime& moment, const QList<int>& heightsCm,
                         int trialsPerHeight);
    // Marks a stored measurement as run under a protocol, in place of any mark before;
    // Protocol::None takes the mark away. Throws AppError when the database does not know
    // protocols.
    void setProtocol(qint64 measurementId, const MeasurementProtocol& protocol);
    // A profile by its ID; none when it is not stored.
    std::optional<ProfilePlan> profile(qint64 profileId);
    // The profiles of an athlete in the order they began; none on a database without them.
    QList<ProfilePlan> profilesOfAthlete(qint64 athleteId);
    // The trials of a profile, the measurements marked with it, in the order recorded.
    QList<Measurement> ofProfile(qint64 profileId);

private:
    // The measurements that meet a condition on units u (or units_protokoll p) with one value.
    QList<Measurement> measurementsWhere(const QString& condition, const QVariant& value);
    bool knowsExclusions() const;
    bool storesTests() const;
    void requireChanges() const;
    // Reads the measurement row for a change, locked against other stations' changes until
    // the transaction ends; throws AppError when it is not stored as the caller shows it.
    QDateTime lockMeasurement(qint64 measurementId, qint64 athleteId, qint64 measurementNumber);
    // Locks the athlete against other stations' numbering; throws AppError when he is gone.
    void lockAthlete(qint64 athleteId);
    // The next number of an athlete whose key holds no jumps, from `wanted` on.
    qint64 freeNumber(qint64 athleteId, qint64 wanted);
    // The server's athlete of a journalled measurement; 0 when it needs the user's choice.
    qint64 athleteOfJournalled(const JournalledAthlete& athlete, bool* created = nullptr);
    struct ChangeRow;
    void keepChange(const ChangeRow& change);

    Database& db_;
    JumpReader jumps_;
};
