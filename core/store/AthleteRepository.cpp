// The statements on the athlete table: list, search, add, change and delete with what belongs to
// an athlete.

#include "core/store/AthleteRepository.h"

#include "core/store/Database.h"
#include "core/store/GroupRepository.h"
#include "core/store/SeriesKey.h"

#include <QStringList>

namespace {

const QString kColumns = QStringLiteral("ID, Name, Vorname, Geb, Geschl, Bemerkung1");

QString textOf(const QVariant& value) {
    return value.isNull() ? QString() : value.toString();
}

} // namespace

Athlete AthleteRepository::athleteOf(const QSqlQuery& q, int from) {
    Athlete a;
    a.id = integerOf(q.value(from));
    a.name = textOf(q.value(from + 1));
    a.firstName = textOf(q.value(from + 2));
    a.storedBirthDate = textOf(q.value(from + 3));
    a.birthDate = momentOf(q.value(from + 3)).date();
    a.sex = q.value(from + 4).isNull() ? -1 : static_cast<int>(integerOf(q.value(from + 4)));
    a.remark = textOf(q.value(from + 5));
    return a;
}

QList<Athlete> AthleteRepository::select(const QString& where, const QString& order) {
    QSqlQuery q = db_.read(
        QStringLiteral("SELECT %1 FROM sportler %2 ORDER BY %3").arg(kColumns, where, order));
    QList<Athlete> out;
    while (q.next())
        out << athleteOf(q, 0);
    return out;
}

QHash<qint64, Athlete> AthleteRepository::listed(const QList<qint64>& athleteIds) {
    QHash<qint64, Athlete> out;
    if (athleteIds.isEmpty())
        return out;
    QSqlQuery q = db_.read(listedClause(athleteIds) +
                           QStringLiteral("SELECT listed.place, s.ID, s.Name, s.Vorname, s.Geb, "
                                          "s.Geschl, s.Bemerkung1 FROM listed "
                                          "JOIN sportler s ON s.ID = listed.id"));
    while (q.next())
        out.insert(integerOf(q.value(0)), athleteOf(q, 1));
    return out;
}

QString AthleteRepository::listedClause(const QList<qint64>& athleteIds) {
    QStringList listed;
    listed.reserve(athleteIds.size());
    for (qsizetype i = 0; i < athleteIds.size(); ++i)
        listed << QStringLiteral("(%1, %2)").arg(i).arg(athleteIds[i]);
    return QStringLiteral("WITH listed(place, id) AS (VALUES %1) ")
        .arg(listed.join(QLatin1Char(',')));
}

QList<Athlete> AthleteRepository::all() {
    return select(QString(), QStringLiteral("ID"));
}

QList<Athlete> AthleteRepository::search(athletes::SearchBy by, const QString& text) {
    if (by == athletes::SearchBy::None)
        return {};
    const bool byFirstName = by == athletes::SearchBy::FirstName;
    const QString column = byFirstName ? QStringLiteral("Vorname") : QStringLiteral("Name");
    const QString otherName = byFirstName ? QStringLiteral("Name") : QStringLiteral("Vorname");
    const QList<Athlete> named =
        select(QStringLiteral("WHERE %1 IS NOT NULL").arg(column),
               QStringLiteral("%1, %2, ID")
                   .arg(db_.textOrder(otherName), db_.order(QStringLiteral("Geb"))));
    const athletes::NameSearch search(text);
    QList<Athlete> found;
    for (const Athlete& athlete : named) {
        if (search.matches(byFirstName ? athlete.firstName : athlete.name))
            found << athlete;
    }
    return found;
}

int AthleteRepository::countNamed(const QString& name, const QString& firstName,
                                  const QDate& birthDate) {
    const QVariant birth = engineDate(birthDate);
    QSqlQuery q = db_.read(
        birth.isNull() ? QStringLiteral("SELECT COUNT(*) FROM sportler WHERE Name = ? AND "
                                        "Vorname = ? AND %1")
                             .arg(db_.dialect() == Database::Dialect::PostgreSQL
                                      ? QStringLiteral("Geb IS NULL")
                                      : QStringLiteral("(Geb IS NULL OR Geb = '')"))
                       : QStringLiteral("SELECT COUNT(*) FROM sportler WHERE Name = ? AND "
                                        "Vorname = ? AND Geb = ?"),
        birth.isNull() ? QVariantList{name, firstName} : QVariantList{name, firstName, birth});
    return q.next() ? static_cast<int>(integerOf(q.value(0))) : 0;
}

qint64 AthleteRepository::add(const Athlete& athlete) {
    return db_.insert(
        QStringLiteral("INSERT INTO sportler (Name, Vorname, Geb, Geschl, Bemerkung1) "
                       "VALUES (?, ?, ?, ?, ?) RETURNING ID"),
        {athlete.name, athlete.firstName, engineDate(athlete.birthDate), athlete.sex,
         athlete.remark});
}

void AthleteRepository::update(const Athlete& athlete, bool changeBirthDate) {
    if (changeBirthDate)
        db_.write(QStringLiteral("UPDATE sportler SET Name = ?, Vorname = ?, Geb = ?, Geschl = ?, "
                                 "Bemerkung1 = ? WHERE ID = ?"),
                  {athlete.name, athlete.firstName, engineDate(athlete.birthDate), athlete.sex,
                   athlete.remark, athlete.id});
    else
        db_.write(QStringLiteral("UPDATE sportler SET Name = ?, Vorname = ?, Geschl = ?, "
                                 "Bemerkung1 = ? WHERE ID = ?"),
                  {athlete.name, athlete.firstName, athlete.sex, athlete.remark, athlete.id});
}

void AthleteRepository::remove(qint64 athleteId) {
    Database::Transaction transaction(db_);
    QList<qint64> keys;
    QSqlQuery q =
        db_.read(QStringLiteral("SELECT Nummer FROM units WHERE Ref_ID = ?"), {athleteId});
    while (q.next())
        keys << seriesKey(athleteId, integerOf(q.value(0)));
    q.finish();
    for (const qint64 key : keys)
        db_.write(QStringLiteral("DELETE FROM mr WHERE Serie = ?"), {key});
    // The tests of the athlete and of his measurements go with them.
    if (db_.has(schema::Feature::Tests)) {
        db_.write(QStringLiteral("DELETE FROM units_test WHERE Unit_ID IN "
                                 "(SELECT ID FROM units WHERE Ref_ID = ?)"),
                  {athleteId});
        db_.write(QStringLiteral("DELETE FROM sportler_test WHERE Ref_ID = ?"), {athleteId});
    }
    // So do the marks on his jumps, his measurements' protocols and his profiles, which
    // would otherwise stay behind belonging to nothing.
    if (db_.has(schema::Feature::Exclusions))
        db_.write(QStringLiteral("DELETE FROM mr_ausschluss WHERE Unit_ID IN "
                                 "(SELECT ID FROM units WHERE Ref_ID = ?)"),
                  {athleteId});
    if (db_.has(schema::Feature::Protocols)) {
        db_.write(QStringLiteral("DELETE FROM units_protokoll WHERE Unit_ID IN "
                                 "(SELECT ID FROM units WHERE Ref_ID = ?)"),
                  {athleteId});
        db_.write(QStringLiteral("DELETE FROM profile WHERE Ref_ID = ?"), {athleteId});
    }
    db_.write(QStringLiteral("DELETE FROM units WHERE Ref_ID = ?"), {athleteId});
    GroupRepository(db_).forgetAthlete(athleteId);
    db_.write(QStringLiteral("DELETE FROM sportler WHERE ID = ?"), {athleteId});
    transaction.commit();
}
