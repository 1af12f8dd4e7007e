// The statements on the groups and their members, and on the measurements of a group's members
// in a period.

#include "core/store/GroupRepository.h"

#include "core/base/Errors.h"
#include "core/store/Database.h"
#include "core/store/SeriesKey.h"

#include <QCoreApplication>
#include <QHash>

#include <algorithm>
#include <cmath>

namespace {

// The texts of this file that the user reads, in the translation context "GroupRepository".
struct GroupRepositoryTexts {
    Q_DECLARE_TR_FUNCTIONS(GroupRepository)
};

// The most jumps a measurement's list makes room for before they are read.
constexpr qint64 kRoomForJumps = 1000;

} // namespace

bool GroupRepository::available() const {
    return db_.has(schema::Feature::Groups);
}

QList<Group> GroupRepository::all() {
    QList<Group> out;
    QSqlQuery q = db_.read(QStringLiteral("SELECT ID, Name FROM gruppen"));
    while (q.next())
        out << Group{integerOf(q.value(0)), q.value(1).toString()};
    std::stable_sort(out.begin(), out.end(), [](const Group& a, const Group& b) {
        const int c = QString::compare(a.name, b.name, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a.id < b.id;
    });
    return out;
}

QString GroupRepository::checkedName(const QString& name, qint64 exceptId) {
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        throw AppError(GroupRepositoryTexts::tr("Bitte geben Sie einen Namen für die Gruppe ein."));
    if (trimmed.size() > kGroupNameLength)
        throw AppError(
            GroupRepositoryTexts::tr("Der Name einer Gruppe darf höchstens %1 Zeichen lang sein.")
                .arg(kGroupNameLength));
    // As in an athlete's names: a tab or a line break would split the name in a list or a
    // file, another control character is seen by nobody.
    for (const QChar c : trimmed) {
        const QChar::Category category = c.category();
        if (category == QChar::Other_Control || category == QChar::Separator_Line ||
            category == QChar::Separator_Paragraph)
            throw AppError(GroupRepositoryTexts::tr("Der Name einer Gruppe darf keinen Tabulator, "
                                                    "keinen Zeilenumbruch und kein anderes "
                                                    "Steuerzeichen enthalten."));
    }
    if (const std::optional<Group> other = namesake(trimmed, exceptId))
        throw AppError(
            GroupRepositoryTexts::tr("Eine Gruppe „%1“ gibt es schon.").arg(other->name));
    return trimmed;
}

std::optional<Group> GroupRepository::namesake(const QString& name, qint64 exceptId) {
    for (const Group& group : all()) {
        if (group.id != exceptId && QString::compare(group.name, name, Qt::CaseInsensitive) == 0)
            return group;
    }
    return std::nullopt;
}

void GroupRepository::refuseAfterFailure(const QString& name, qint64 exceptId) {
    // The unique index refuses a name that another station stored since the check.
    std::optional<Group> other;
    try {
        other = namesake(name, exceptId);
    } catch (const AppError&) {
        // The failure itself says more than a failed look.
    }
    if (other)
        throw AppError(
            GroupRepositoryTexts::tr("Eine Gruppe „%1“ gibt es schon.").arg(other->name));
    throw;
}

qint64 GroupRepository::add(const QString& name) {
    const QString checked = checkedName(name, 0);
    try {
        return db_.insert(QStringLiteral("INSERT INTO gruppen (Name) VALUES (?) RETURNING ID"),
                          {checked});
    } catch (const AppError&) {
        refuseAfterFailure(checked, 0);
    }
}

void GroupRepository::rename(qint64 groupId, const QString& name) {
    const QString checked = checkedName(name, groupId);
    int changed = 0;
    try {
        changed = db_.write(QStringLiteral("UPDATE gruppen SET Name = ? WHERE ID = ?"),
                            {checked, groupId});
    } catch (const AppError&) {
        refuseAfterFailure(checked, groupId);
    }
    if (changed == 0)
        throw AppError(GroupRepositoryTexts::tr("Die Gruppe ist nicht mehr gespeichert."));
}

void GroupRepository::remove(qint64 groupId) {
    Database::Transaction transaction(db_);
    db_.write(QStringLiteral("DELETE FROM gruppen_sportler WHERE Gruppe_ID = ?"), {groupId});
    db_.write(QStringLiteral("DELETE FROM gruppen WHERE ID = ?"), {groupId});
    transaction.commit();
}

QList<qint64> GroupRepository::groupsOf(qint64 athleteId) {
    QList<qint64> out;
    QSqlQuery q = db_.read(QStringLiteral("SELECT m.Gruppe_ID FROM gruppen_sportler m "
                                          "JOIN gruppen g ON g.ID = m.Gruppe_ID "
                                          "WHERE m.Sportler_ID = ? ORDER BY m.Gruppe_ID"),
                           {athleteId});
    while (q.next())
        out << integerOf(q.value(0));
    return out;
}

void GroupRepository::setGroupsOf(qint64 athleteId, const QList<qint64>& groupIds) {
    Database::Transaction transaction(db_);
    writeGroupsOf(athleteId, groupIds);
    transaction.commit();
}

qint64 GroupRepository::addAthlete(AthleteRepository& athletes, const Athlete& athlete,
                                   const QList<qint64>& groupIds) {
    Database::Transaction transaction(db_);
    const qint64 id = athletes.add(athlete);
    if (available())
        writeGroupsOf(id, groupIds);
    transaction.commit();
    return id;
}

void GroupRepository::updateAthlete(AthleteRepository& athletes, const Athlete& athlete,
                                    bool changeBirthDate, const QList<qint64>& groupIds) {
    Database::Transaction transaction(db_);
    athletes.update(athlete, changeBirthDate);
    if (available())
        writeGroupsOf(athlete.id, groupIds);
    transaction.commit();
}

void GroupRepository::writeGroupsOf(qint64 athleteId, const QList<qint64>& groupIds) {
    db_.write(QStringLiteral("DELETE FROM gruppen_sportler WHERE Sportler_ID = ?"), {athleteId});
    QList<qint64> ids = groupIds;
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    for (const qint64 groupId : ids)
        db_.write(QStringLiteral("INSERT INTO gruppen_sportler (Gruppe_ID, Sportler_ID) "
                                 "SELECT ID, ? FROM gruppen WHERE ID = ?"),
                  {athleteId, groupId});
}

QSet<qint64> GroupRepository::memberIds(qint64 groupId) {
    QSet<qint64> out;
    QSqlQuery q = db_.read(QStringLiteral("SELECT s.ID FROM gruppen_sportler m "
                                          "JOIN sportler s ON s.ID = m.Sportler_ID "
                                          "WHERE m.Gruppe_ID = ?"),
                           {groupId});
    while (q.next())
        out.insert(integerOf(q.value(0)));
    return out;
}

QList<MemberMeasurement> GroupRepository::measurementsOfMembers(qint64 groupId, const QDate& from,
                                                                const QDate& to) {
    // The groups come with their feature's version, after the tests and the excluded jumps.
    JumpReader jumps(db_);
    const JumpReader::Scope scope = jumps.membersInPeriod(groupId, from, to);
    // The measurements first, then their jumps with no more than their measurement's ID.
    QList<MemberMeasurement> out;
    // Only the day is needed: a server gives it as a date, where a moment would have the
    // driver work out the local time of each.
    const QString day = db_.dialect() == Database::Dialect::SQLite
                            ? QStringLiteral("u.Datum")
                            : QStringLiteral("CAST(u.Datum AS DATE)");
    // A database that could not be brought to the protocols' version has none.
    const bool protocols = db_.has(schema::Feature::Protocols);
    const bool retests = db_.has(schema::Feature::RetestPairs);
    // Whether a measurement has excluded jumps, found through the index on their table as each
    // is read: their marks are then read for those alone.
    const QString marked =
        db_.has(schema::Feature::Exclusions)
            ? QStringLiteral("CASE WHEN EXISTS (SELECT 1 FROM mr_ausschluss e WHERE e.Unit_ID = "
                             "u.ID) THEN 1 ELSE 0 END")
            : QStringLiteral("0");
    QList<qint64> withMarks;
    QString joins;
    if (protocols)
        joins += QStringLiteral(" LEFT JOIN units_protokoll p ON p.Unit_ID = u.ID");
    if (retests)
        joins += QStringLiteral(" LEFT JOIN units_wiederholung w ON w.Unit_ID = u.ID");
    db_.forEachRow(
        QStringLiteral("SELECT u.ID, u.Ref_ID, u.Nummer, %1, t.Test, t.Fallhoehe, u.FZ, %2, %3, "
                       "%4 FROM %5 LEFT JOIN units_test t ON t.Unit_ID = u.ID%6 WHERE %7")
            .arg(day, protocols ? QStringLiteral("p.Protokoll") : QStringLiteral("NULL"),
                 retests ? QStringLiteral("w.Erste_ID") : QStringLiteral("NULL"), marked,
                 scope.from, joins, scope.where),
        scope.values, [&out, &withMarks](const Database::RowValues& row) {
            MemberMeasurement measurement;
            measurement.id = row.integer(0);
            measurement.athleteId = row.integer(1);
            measurement.measurementNumber = row.integer(2);
            if (!row.isNull(3))
                measurement.day = dayOfStoredText(row.text(3));
            measurement.test.name = row.text(4);
            if (!row.isNull(5))
                measurement.test.dropHeightCm = static_cast<int>(row.integer(5));
            // Room for the jumps it counts, so that their list is not grown jump by jump; a
            // damaged count asks for no more than a long series.
            measurement.jumps.reserve(std::clamp<qint64>(row.integer(6), 0, kRoomForJumps));
            if (!row.isNull(7))
                measurement.protocol = storedProtocol(row.text(7), QVariant()).kind;
            if (!row.isNull(8))
                measurement.repeats = row.integer(8);
            if (row.integer(9) != 0)
                withMarks << measurement.id;
            out << std::move(measurement);
        });
    std::sort(out.begin(), out.end(),
              [](const MemberMeasurement& a, const MemberMeasurement& b) { return a.id < b.id; });
    // Each measurement by its series key; a damaged file may give two the same.
    QMultiHash<qint64, qsizetype> byKey;
    byKey.reserve(out.size());
    QList<std::pair<qint64, qint64>> read;
    read.reserve(out.size());
    for (qsizetype i = 0; i < out.size(); ++i) {
        read.append({out[i].athleteId, out[i].measurementNumber});
        if (out[i].measurementNumber >= 1 && out[i].measurementNumber <= kMaxMeasurementNumber)
            byKey.insert(seriesKey(out[i].athleteId, out[i].measurementNumber), i);
    }
    // A measurement's jumps come one after the other. One stored after the first statement is
    // not among them and is passed over.
    qint64 currentKey = 0;
    QList<qsizetype> current;
    jumps.forEachOfMeasurements(read, withMarks, [&](qint64 key, const Jump& jump) {
        if (current.isEmpty() || key != currentKey) {
            currentKey = key;
            current = byKey.values(key);
        }
        for (const qsizetype i : std::as_const(current))
            out[i].jumps << jump;
    });
    return out;
}

void GroupRepository::forgetAthlete(qint64 athleteId) {
    if (available())
        db_.write(QStringLiteral("DELETE FROM gruppen_sportler WHERE Sportler_ID = ?"),
                  {athleteId});
}

QList<Athlete> onlyMembers(const QList<Athlete>& athletes, const QSet<qint64>& members) {
    QList<Athlete> out;
    for (const Athlete& athlete : athletes) {
        if (members.contains(athlete.id))
            out << athlete;
    }
    return out;
}
