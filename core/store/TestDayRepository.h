// The test days as the store keeps them (tables testtage, testtage_sportler and units_testtag)
// and every statement on them.

#pragma once

#include "core/measure/MeasurementTest.h"
#include "core/store/MeasurementRepository.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

class Database;

// A test day ("Testtag"): one set-up for a squad, stored once and used for each of its trials.
// The end of a series is kept as the run knows it (kind 0 none, 1 after jumps, 2 after
// seconds), so that the store needs nothing of the run.
struct TestDay {
    qint64 id = 0;
    QString name;         // "U19 – Drop Jump 30 cm"
    MeasurementTest test; // with its drop height where it takes one
    Protocol protocol = Protocol::None;
    QList<int> profileHeightsCm; // a profile's heights, rising
    int trialsPerHeight = 0;     // a profile's trials at each height
    bool series = false;         // the trials are series (else single jumps)
    int endKind = 0;             // how a series ends by itself
    int endLimit = 0;
    int trialsPerAthlete = 1; // "Versuche je Sportler", 1 to 10
    qint64 groupId = 0;       // the group it was set up for; 0 for listed athletes
    QDateTime begun;
    QDateTime ended; // invalid while it is open
    QString station; // where it was set up

    bool isOpen() const { return !ended.isValid(); }
};

// An athlete of a test day: his place in the start list, the profile he runs on the day (0
// before his first trial of one) and whether he stopped (no more trials for him).
struct TestDayAthlete {
    qint64 athleteId = 0;
    int place = 0;
    qint64 profileId = 0;
    bool stopped = false;
};

// The longest name of a test day (the column's width), and the bounds of its trials.
inline constexpr int kTestDayNameLength = 100;
inline constexpr int kMinTrialsPerAthlete = 1;
inline constexpr int kMaxTrialsPerAthlete = 10;

// All statements on test days. The tables exist from schema version 8 on; without them
// available() is false and the program records as before, without days.
class TestDayRepository {
public:
    explicit TestDayRepository(Database& db) : db_(db) {}

    bool available() const;

    // Stores a new test day with its athletes in this order, as one change; returns its ID.
    // Throws AppError (nothing stored) without the tables, for an empty name or one longer
    // than kTestDayNameLength, trials per athlete out of bounds, or no athlete that is still
    // stored.
    qint64 open(const TestDay& day, const QList<qint64>& athleteIds);
    // A day by its ID; none when it is not stored.
    std::optional<TestDay> byId(qint64 dayId);
    // The days not ended yet, the newest first (none without the tables).
    QList<TestDay> openDays();
    // Ends a day; a day ended before (at another station) keeps its end.
    void close(qint64 dayId, const QDateTime& moment);

    // The athletes of a day that are still stored, in the order of the start list.
    QList<TestDayAthlete> athletesOf(qint64 dayId);
    // The trials each athlete made on the day: its measurements by their athlete now (a
    // measurement moved to another athlete counts for him).
    QHash<qint64, int> trialCounts(qint64 dayId);
    // The profile an athlete runs on the day: the one stored for him, or else `created()`,
    // which is stored as his. When another station stored one a moment before, that one is
    // his and is returned (the created one stays without trials).
    qint64 profileOf(qint64 dayId, qint64 athleteId, const std::function<qint64()>& created);
    // The athlete stopped: the start list passes him over from now on.
    void stopAthlete(qint64 dayId, qint64 athleteId, const QDateTime& moment);
    // The day a measurement was a trial of; 0 for none.
    qint64 dayOfMeasurement(qint64 measurementId);

    // Marks a stored measurement as a trial of the day, within the transaction that stores it
    // (MeasurementRepository::recordFirstJump).
    static void markTrial(Database& db, qint64 measurementId, qint64 dayId);

private:
    void require() const;
    Database& db_;
};
