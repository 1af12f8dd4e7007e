// The statements on test days, their athletes and the measurements that were their trials.

#include "core/store/TestDayRepository.h"

#include "core/base/Errors.h"
#include "core/store/Database.h"
#include "core/store/Schema.h"
#include "core/store/StoredValues.h"

#include <QCoreApplication>
#include <QSet>

namespace {

// The texts of this file that the user reads, in the translation context "TestDayRepository".
struct TestDayRepositoryTexts {
    Q_DECLARE_TR_FUNCTIONS(TestDayRepository)
};

const QString kDayColumns = QStringLiteral(
    "ID, Name, Test, Fallhoehe, Protokoll, Hoehen, Versuche_Hoehe, Betriebsart, Serienende, "
    "Serienende_Wert, Versuche, Gruppe_ID, Beginn, Ende, Station");

QVariant orNull(qint64 value) {
    return value != 0 ? QVariant(value) : QVariant();
}

TestDay dayOf(const QSqlQuery& q) {
    TestDay day;
    day.id = integerOf(q.value(0));
    day.name = q.value(1).toString();
    day.test.name = q.value(2).toString();
    if (!q.value(3).isNull())
        day.test.dropHeightCm = static_cast<int>(integerOf(q.value(3)));
    day.protocol = storedProtocol(q.value(4), {}).kind;
    day.profileHeightsCm = storedHeights(q.value(5).toString());
    day.trialsPerHeight = q.value(6).isNull() ? 0 : static_cast<int>(integerOf(q.value(6)));
    day.series = integerOf(q.value(7)) == 2;
    day.endKind = static_cast<int>(integerOf(q.value(8)));
    day.endLimit = q.value(9).isNull() ? 0 : static_cast<int>(integerOf(q.value(9)));
    day.trialsPerAthlete = static_cast<int>(integerOf(q.value(10)));
    day.groupId = q.value(11).isNull() ? 0 : integerOf(q.value(11));
    day.begun = momentOf(q.value(12));
    day.ended = q.value(13).isNull() ? QDateTime() : momentOf(q.value(13));
    day.station = q.value(14).toString();
    return day;
}

} // namespace

bool TestDayRepository::available() const {
    return db_.has(schema::Feature::TestDays);
}

void TestDayRepository::require() const {
    if (!available())
        throw AppError(schema::missingText(schema::Feature::TestDays));
}

qint64 TestDayRepository::open(const TestDay& day, const QList<qint64>& athleteIds) {
    require();
    const QString name = day.name.trimmed();
    if (name.isEmpty())
        throw AppError(TestDayRepositoryTexts::tr("Bitte geben Sie dem Testtag einen Namen."));
    if (name.size() > kTestDayNameLength)
        throw AppError(TestDayRepositoryTexts::tr(
                           "Der Name eines Testtags darf höchstens %1 Zeichen lang sein.")
                           .arg(kTestDayNameLength));
    if (day.trialsPerAthlete < kMinTrialsPerAthlete || day.trialsPerAthlete > kMaxTrialsPerAthlete)
        throw AppError(TestDayRepositoryTexts::tr("„Versuche je Sportler“ muss eine Zahl von %1 "
                                                  "bis %2 sein.")
                           .arg(kMinTrialsPerAthlete)
                           .arg(kMaxTrialsPerAthlete));
    Database::Transaction transaction(db_);
    // Only athletes still stored, each once, in the order given.
    QList<qint64> listed;
    {
        QSet<qint64> seen;
        for (const qint64 id : athleteIds) {
            if (seen.contains(id))
                continue;
            seen.insert(id);
            QSqlQuery q = db_.read(QStringLiteral("SELECT 1 FROM sportler WHERE ID = ?"), {id});
            if (q.next())
                listed << id;
        }
    }
    if (listed.isEmpty())
        throw AppError(TestDayRepositoryTexts::tr("Ein Testtag braucht mindestens einen Sportler. "
                                                  "Wählen Sie eine Gruppe mit Sportlern, oder "
                                                  "listen Sie die Sportler des Testtags auf."));
    const bool profile = day.protocol == Protocol::DropHeightProfile;
    const qint64 id = db_.insert(
        QStringLiteral("INSERT INTO testtage (Name, Test, Fallhoehe, Protokoll, Hoehen, "
                       "Versuche_Hoehe, Betriebsart, Serienende, Serienende_Wert, Versuche, "
                       "Gruppe_ID, Beginn, Station) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) "
                       "RETURNING ID"),
        {name, day.test.name.isEmpty() ? QVariant() : QVariant(day.test.name),
         day.test.dropHeightCm ? QVariant(*day.test.dropHeightCm) : QVariant(),
         storedProtocolCode(day.protocol),
         profile ? QVariant(storedHeightsText(day.profileHeightsCm)) : QVariant(),
         profile ? QVariant(day.trialsPerHeight) : QVariant(), day.series ? 2 : 1, day.endKind,
         day.endKind != 0 ? QVariant(day.endLimit) : QVariant(), day.trialsPerAthlete,
         orNull(day.groupId), engineMoment(day.begun), day.station});
    int place = 0;
    for (const qint64 athleteId : listed)
        db_.write(QStringLiteral("INSERT INTO testtage_sportler (Testtag_ID, Sportler_ID, Platz) "
                                 "VALUES (?, ?, ?)"),
                  {id, athleteId, ++place});
    transaction.commit();
    return id;
}

std::optional<TestDay> TestDayRepository::byId(qint64 dayId) {
    if (!available())
        return std::nullopt;
    QSqlQuery q =
        db_.read(QStringLiteral("SELECT %1 FROM testtage WHERE ID = ?").arg(kDayColumns), {dayId});
    if (!q.next())
        return std::nullopt;
    return dayOf(q);
}

QList<TestDay> TestDayRepository::openDays() {
    if (!available())
        return {};
    QSqlQuery q =
        db_.read(QStringLiteral("SELECT %1 FROM testtage WHERE Ende IS NULL ORDER BY ID DESC")
                     .arg(kDayColumns));
    QList<TestDay> out;
    while (q.next())
        out << dayOf(q);
    return out;
}

void TestDayRepository::close(qint64 dayId, const QDateTime& moment) {
    require();
    db_.write(QStringLiteral("UPDATE testtage SET Ende = ? WHERE ID = ? AND Ende IS NULL"),
              {engineMoment(moment), dayId});
}

QList<TestDayAthlete> TestDayRepository::athletesOf(qint64 dayId) {
    if (!available())
        return {};
    // An athlete deleted since (at any station) is no longer on the list.
    QSqlQuery q = db_.read(QStringLiteral("SELECT t.Sportler_ID, t.Platz, t.Profil_ID, t.Beendet "
                                          "FROM testtage_sportler t JOIN sportler s ON s.ID = "
                                          "t.Sportler_ID WHERE t.Testtag_ID = ? ORDER BY t.Platz"),
                           {dayId});
    QList<TestDayAthlete> out;
    while (q.next())
        out << TestDayAthlete{integerOf(q.value(0)), static_cast<int>(integerOf(q.value(1))),
                              q.value(2).isNull() ? 0 : integerOf(q.value(2)),
                              !q.value(3).isNull()};
    return out;
}

QHash<qint64, int> TestDayRepository::trialCounts(qint64 dayId) {
    QHash<qint64, int> out;
    if (!available())
        return out;
    QSqlQuery q = db_.read(QStringLiteral("SELECT u.Ref_ID, COUNT(*) FROM units_testtag t JOIN "
                                          "units u ON u.ID = t.Unit_ID WHERE t.Testtag_ID = ? "
                                          "GROUP BY u.Ref_ID"),
                           {dayId});
    while (q.next())
        out.insert(integerOf(q.value(0)), static_cast<int>(integerOf(q.value(1))));
    return out;
}

qint64 TestDayRepository::profileOf(qint64 dayId, qint64 athleteId,
                                    const std::function<qint64()>& created) {
    require();
    const auto stored = [&]() -> qint64 {
        QSqlQuery q = db_.read(QStringLiteral("SELECT Profil_ID FROM testtage_sportler WHERE "
                                              "Testtag_ID = ? AND Sportler_ID = ?"),
                               {dayId, athleteId});
        if (!q.next())
            throw AppError(
                TestDayRepositoryTexts::tr("Der Sportler gehört nicht zu diesem Testtag."));
        return q.value(0).isNull() ? 0 : integerOf(q.value(0));
    };
    if (const qint64 id = stored(); id != 0)
        return id;
    const qint64 id = created();
    // Another station may have given him one since: the first stored stays his.
    db_.write(QStringLiteral("UPDATE testtage_sportler SET Profil_ID = ? WHERE Testtag_ID = ? AND "
                             "Sportler_ID = ? AND Profil_ID IS NULL"),
              {id, dayId, athleteId});
    return stored();
}

void TestDayRepository::stopAthlete(qint64 dayId, qint64 athleteId, const QDateTime& moment) {
    require();
    db_.write(QStringLiteral("UPDATE testtage_sportler SET Beendet = ? WHERE Testtag_ID = ? AND "
                             "Sportler_ID = ? AND Beendet IS NULL"),
              {engineMoment(moment), dayId, athleteId});
}

qint64 TestDayRepository::dayOfMeasurement(qint64 measurementId) {
    if (!available())
        return 0;
    QSqlQuery q = db_.read(QStringLiteral("SELECT Testtag_ID FROM units_testtag WHERE Unit_ID = ?"),
                           {measurementId});
    return q.next() ? integerOf(q.value(0)) : 0;
}

void TestDayRepository::markTrial(Database& db, qint64 measurementId, qint64 dayId) {
    db.write(QStringLiteral("INSERT INTO units_testtag (Unit_ID, Testtag_ID) VALUES (?, ?)"),
             {measurementId, dayId});
}
