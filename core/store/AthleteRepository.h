// The athletes as the store keeps them (table sportler) and every statement on them.

#pragma once

#include "core/store/AthleteSearch.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>

class Database;
class QSqlQuery;

// One row of the athlete table sportler.
struct Athlete {
    qint64 id = 0;
    QString name;      // Name
    QString firstName; // Vorname
    // Geb: the date of birth; invalid when none is stored or the stored text is no date,
    // which storedBirthDate then shows as it is.
    QDate birthDate;
    QString storedBirthDate;
    int sex = -1;   // Geschl: 0 = "männl.", 1 = "weibl.", -1 = not chosen
    QString remark; // Bemerkung1
};

// All statements on the athlete table, and the deletion of an athlete with everything
// recorded for him.
class AthleteRepository {
public:
    explicit AthleteRepository(Database& db) : db_(db) {}

    // Every athlete in the order they were added.
    QList<Athlete> all();
    // The stored athletes of a list (an export's), by their place in it; those no longer
    // stored are not there.
    QHash<qint64, Athlete> listed(const QList<qint64>& athleteIds);
    // "WITH listed(place, id) AS (VALUES …) ": the athletes of a list with their place in it
    // (their IDs are the program's own numbers), for the statements that join and order by
    // them.
    static QString listedClause(const QList<qint64>& athleteIds);
    // The athletes whose first name (sorted by surname, then date of birth) or surname (sorted
    // by first name, then date of birth) starts with the text; see athletes::NameSearch. The
    // names are compared here rather than by the engine, so that both engines find alike.
    QList<Athlete> search(athletes::SearchBy by, const QString& text);
    // How many athletes have that name, first name and date of birth (none: no date stored).
    int countNamed(const QString& name, const QString& firstName, const QDate& birthDate);
    // Stores a new athlete; returns the ID the store gave him. A date of birth is stored only
    // when it is valid.
    qint64 add(const Athlete& athlete);
    // Changes the names, sex and remark of athlete.id; the date of birth only when
    // `changeBirthDate` (it stays as stored otherwise).
    void update(const Athlete& athlete, bool changeBirthDate);
    // Deletes the athlete with all his measurements and their jumps and his memberships of
    // groups, all or nothing.
    void remove(qint64 athleteId);

private:
    QList<Athlete> select(const QString& where, const QString& order);
    static Athlete athleteOf(const QSqlQuery& q, int from);

    Database& db_;
};
