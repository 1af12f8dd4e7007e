// The one reader of the jump table mr and the rows it hands out: every part of the program reads
// jumps here, with their exclusions.

#pragma once

#include "core/measure/MeasurementTest.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QVariantList>

#include <functional>
#include <optional>
#include <utility>

class Database;

// One row of the jump table mr. The times are whole milliseconds stored as floating point.
struct Jump {
    double seriesKey = 0; // Serie
    double contactMs = 0; // SZ; -1 when the unit did not measure it
    double flightMs = 0;  // FZ; 0 for the closing contact of a series
    double efficiency = 0;
    double jumpIndex = 0; // Anzahl: 1, 2, 3 ... within the measurement
    // Marked "ausgeschlossen" by the user: it stays stored and exported, counts nowhere.
    bool excluded = false;
    QString exclusionReason;
};

// Why, by whom and when a jump was excluded.
struct Exclusion {
    QString reason;
    QString user;
    QDateTime moment;
};

// A measurement of the athletes an export lists, as the export reads it.
struct ListedMeasurement {
    qint64 id = 0;
    qint64 measurementNumber = 0;
    QDateTime moment; // invalid when not stored
    qint64 jumpCount = 0;
    MeasurementTest test; // read only when asked for; empty without one
    // The protocol as stored ("10/5", "Profil") and the profile of a trial; read only when
    // asked for, empty without one.
    QString protocolCode;
    qint64 profileId = 0;
};

// One jump of the listed athletes, in the order of the export: its athlete's place in the
// list, its measurement and the jump with its mark.
struct ListedJump {
    qint64 place = 0;
    bool newAthlete = false;     // the first jump of its athlete
    bool newMeasurement = false; // the first jump of its measurement
    ListedMeasurement measurement;
    Jump jump;
    // Whether the stored times are numbers; an empty field or text is none (and 0 in `jump`).
    bool contactIsNumber = false;
    bool flightIsNumber = false;
};

// What an export reads beside the jumps' times.
struct ListedParts {
    bool tests = true;      // each measurement's test
    bool exclusions = true; // each jump's mark
    bool protocols = false; // each measurement's protocol
};

// The one reader of the jump table: every part of the program that reads jumps reads them here,
// and the excluded jumps are attached in one way (their marks read by a statement of their own
// for the same measurements, then put on the jumps by series key and jump index). The many rows of
// figures come from the engine through Database::forEachRow.
class JumpReader {
public:
    explicit JumpReader(Database& db) : db_(db) {}

    // The jumps of a series, in jump order, with their marks.
    QList<Jump> ofSeries(qint64 seriesKey);
    // For each of an athlete's keys that has jumps, the first jump stored under it: the one
    // jump of a single measurement. The athlete's keys are read as his two ranges, which a
    // server finds through its index whatever it knows of the table.
    QHash<qint64, Jump> firstOf(qint64 athleteId, const QList<qint64>& seriesKeys);
    // The same, taken from `read` (what ofAthlete gave for this athlete) where it tells: a key
    // under which it holds one jump has that one, a key in his ranges under which it holds
    // none has none. Only the others (a single measurement with more than one row, a key
    // outside his ranges) are read as above.
    QHash<qint64, Jump> firstOf(qint64 athleteId, const QList<qint64>& seriesKeys,
                                const QHash<qint64, QList<Jump>>& read);
    // Every jump of an athlete's measurements under its series key, each series in jump order
    // with its marks, as ofSeries gives it: two statements however many measurements he has.
    QHash<qint64, QList<Jump>> ofAthlete(qint64 athleteId);
    // The excluded jumps of a series by their index; none on a database that does not know
    // them.
    QHash<int, Exclusion> exclusionsOf(qint64 seriesKey);

    // Hands every stored jump of the listed athletes to `take`: the athletes in the order
    // given, their measurements as recorded, the jumps in jump order. A measurement without
    // a jump has none. `progress` is told how many athletes are done and returns false to
    // cancel; returns false when it did. The rows are read as they come, so any number needs
    // little memory.
    bool forEachListed(const QList<qint64>& athleteIds, const ListedParts& parts,
                       const std::function<void(const ListedJump&)>& take,
                       const std::function<bool(int athletesDone)>& progress = {});

    // How many jumps forEachListed hands on for these athletes.
    qint64 countListed(const QList<qint64>& athleteIds);

    // The contact and flight times of the jumps of the stored measurements the caller has read,
    // given by athlete ID and number, with their indexes and the marks of those whose units
    // rows are `withMarks`, each with its series key, in whatever order the engine gives them
    // (series key, efficiency and reason are left empty). A measurement whose number has no
    // series key has none. The keys of an athlete's measurements are read as a range along the
    // index on Serie (those numbered up to 999 as one, the others as another), where a look-up
    // of each measurement's keys took the engine twice as long; jumps under a key in a range
    // that was not asked for are passed over.
    void forEachOfMeasurements(const QList<std::pair<qint64, qint64>>& measurements,
                               const QList<qint64>& withMarks,
                               const std::function<void(qint64 seriesKey, const Jump&)>& take);

    // The measurements of a group's members from `from` to `to`: the FROM and WHERE of a
    // statement over units u, with its values. The stored moments begin with their day, so
    // that comparing them with the days' texts finds the days on either engine.
    struct Scope {
        QString with; // a WITH clause before the statement, or empty
        QString from; // units u and the tables joined to it
        QString where;
        QVariantList values;
    };
    Scope membersInPeriod(qint64 groupId, const QDate& from, const QDate& to) const;

private:
    // The excluded jumps of the measurements a scope chooses, by series key and jump index.
    using Marks = QHash<qint64, QHash<qint64, Exclusion>>;
    Marks marksOf(const Scope& scope);
    static void mark(const Marks& marks, qint64 seriesKey, Jump& jump);
    // The condition on Serie that chooses an athlete's keys (see seriesKey()), with its
    // values; none for an ID whose keys a double does not hold.
    static std::optional<std::pair<QString, QVariantList>> keysOfAthlete(qint64 athleteId);
    // Whether a key lies in the ranges keysOfAthlete chooses for the athlete.
    static bool inRangesOf(qint64 athleteId, qint64 seriesKey);
    // The jumps under the series keys a condition on Serie chooses, in the order given.
    void forEachSeriesRow(const QString& condition, const QVariantList& values,
                          const QString& order, const std::function<void(const Jump&)>& take);

    Database& db_;
};
