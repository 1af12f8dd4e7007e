// The groups of athletes as the store keeps them (tables gruppen and gruppen_sportler) and every
// statement on them.

#pragma once

#include "core/measure/MeasurementTest.h"
#include "core/store/AthleteRepository.h"
#include "core/store/MeasurementRepository.h"

#include <QDate>
#include <QList>
#include <QSet>
#include <QString>

#include <optional>

class Database;

// One row of the table gruppen: a group of athletes ("U19", "Kader 2027", "Reha").
struct Group {
    qint64 id = 0;
    QString name;
};

// A measurement of a group's member by its day, with its jumps, as the ranking takes it.
struct MemberMeasurement {
    qint64 id = 0; // of its units row
    qint64 athleteId = 0;
    qint64 measurementNumber = 0;
    QDate day;            // invalid when the stored moment is none
    MeasurementTest test; // empty for a measurement stored without one
    Protocol protocol = Protocol::None;
    qint64 repeats = 0; // the row of the measurement it repeats, as the user marked; 0: none
    // The contact and flight times of its jumps with their numbers and exclusion marks, in no
    // particular order (series key, efficiency and reason are left empty); none for a
    // measurement whose number has no series key (a damaged one).
    QList<Jump> jumps;
};

// The longest name a group can have (the column's width).
inline constexpr int kGroupNameLength = 50;

// All statements on the groups and their members (gruppen, gruppen_sportler). The tables exist
// from schema version 3 on; on a database that could not be brought there (or a read-only one
// of an earlier version) available() is false and the program works without groups.
class GroupRepository {
public:
    explicit GroupRepository(Database& db) : db_(db) {}

    bool available() const;

    // Every group, by name (case ignored).
    QList<Group> all();
    // Creates a group; returns its ID. Throws AppError for an empty name, one longer than
    // kGroupNameLength, one with a tab, a line break or another control character, or one that
    // another group has already (case ignored; from schema version 5 on the database refuses
    // it too, also when another station stored it a moment before).
    qint64 add(const QString& name);
    // Gives a group another name, under the same rules.
    void rename(qint64 groupId, const QString& name);
    // Deletes a group and its memberships; its athletes stay.
    void remove(qint64 groupId);

    // The groups of an athlete, their IDs in ascending order.
    QList<qint64> groupsOf(qint64 athleteId);
    // Makes the athlete a member of exactly these groups, all or nothing. IDs of groups that
    // no longer exist are passed over.
    void setGroupsOf(qint64 athleteId, const QList<qint64>& groupIds);
    // A new athlete stored with his groups, all or nothing; returns his ID. Without the
    // groups' tables he is stored alone.
    qint64 addAthlete(AthleteRepository& athletes, const Athlete& athlete,
                      const QList<qint64>& groupIds);
    // An athlete's changes (see AthleteRepository::update) stored with his groups, all or
    // nothing.
    void updateAthlete(AthleteRepository& athletes, const Athlete& athlete, bool changeBirthDate,
                       const QList<qint64>& groupIds);
    // The IDs of the stored athletes in a group.
    QSet<qint64> memberIds(qint64 groupId);
    // The measurements of the stored athletes in a group from the day `from` to the day `to`
    // (both included), in the order they were recorded, with their tests and jumps, in two
    // statements. Only the day of a moment is read: a ranking over years of a squad's data
    // converts no time of day.
    QList<MemberMeasurement> measurementsOfMembers(qint64 groupId, const QDate& from,
                                                   const QDate& to);

    // Removes an athlete from every group (when he is deleted); nothing without the tables.
    void forgetAthlete(qint64 athleteId);

private:
    // The group other than `exceptId` whose name differs from `name` at most in case.
    std::optional<Group> namesake(const QString& name, qint64 exceptId);
    // After a failed write of a group's name: the message that another group has the name now,
    // when one has; else the failure as it was.
    [[noreturn]] void refuseAfterFailure(const QString& name, qint64 exceptId);
    // The name trimmed, or AppError why it cannot be a group's name besides `exceptId`'s.
    QString checkedName(const QString& name, qint64 exceptId);
    // setGroupsOf within a transaction that the caller holds.
    void writeGroupsOf(qint64 athleteId, const QList<qint64>& groupIds);
    Database& db_;
};

// The athletes of `athletes` that are in `members`, in their order.
QList<Athlete> onlyMembers(const QList<Athlete>& athletes, const QSet<qint64>& members);
