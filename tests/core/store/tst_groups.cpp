#include "core/base/Errors.h"
#include "core/store/AthleteRepository.h"
#include "core/store/GroupRepository.h"
#include "core/store/MeasurementRepository.h"
#include "core/store/SeriesKey.h"
#include "support/TempDataDir.h"

#include <QSqlQuery>
#include <QtTest>

namespace {

QStringList namesOf(const QList<Group>& groups) {
    QStringList out;
    for (const Group& g : groups)
        out << g.name;
    return out;
}

} // namespace

// Groups and their members on either engine: names kept apart, memberships as the editor
// sets them, and what the deletion of a group or an athlete leaves.
class TestGroups : public QObject {
    Q_OBJECT

    std::unique_ptr<TempDataDir> data;
    qint64 anna = 0, ben = 0, cara = 0;

    qint64 addAthlete(const QString& name) {
        Athlete a;
        a.name = name;
        a.firstName = QStringLiteral("X");
        return AthleteRepository(*data->db).add(a);
    }

private slots:
    void init() {
        data = std::make_unique<TempDataDir>();
        anna = addAthlete(QStringLiteral("Anna"));
        ben = addAthlete(QStringLiteral("Ben"));
        cara = addAthlete(QStringLiteral("Cara"));
    }

    void namesAreCheckedAndSorted_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("error"); // empty: accepted
        QTest::newRow("new") << "Reha"
                             << "";
        QTest::newRow("trimmed") << "  Kader 2027 "
                                 << "";
        QTest::newRow("empty") << "   "
                               << "Bitte geben Sie einen Namen für die Gruppe ein.";
        QTest::newRow("same name, other case") << "u19"
                                               << "Eine Gruppe „U19“ gibt es schon.";
        QTest::newRow("too long") << QString(51, QLatin1Char('x'))
                                  << "Der Name einer Gruppe darf höchstens 50 Zeichen lang sein.";
        const QString noControl = "Der Name einer Gruppe darf keinen Tabulator, keinen "
                                  "Zeilenumbruch und kein anderes Steuerzeichen enthalten.";
        QTest::newRow("a tab") << "U\t21" << noControl;
        QTest::newRow("a line break") << "U\n21" << noControl;
        QTest::newRow("a control character") << QStringLiteral("U\u000121") << noControl;
        QTest::newRow("a line separator") << QStringLiteral("U\u202821") << noControl;
    }
    void namesAreCheckedAndSorted() {
        QFETCH(QString, name);
        QFETCH(QString, error);
        GroupRepository groups(*data->db);
        QVERIFY(groups.available());
        groups.add(QStringLiteral("U19"));
        const auto failure = failureOf([&] { groups.add(name); });
        QCOMPARE(failure ? failure->text : QString(), error);
        QStringList expected{"U19"};
        if (error.isEmpty())
            expected << name.trimmed();
        expected.sort(Qt::CaseInsensitive);
        QCOMPARE(namesOf(groups.all()), expected);
    }

    void renameKeepsMembersAndRefusesATakenName() {
        GroupRepository groups(*data->db);
        const qint64 u19 = groups.add(QStringLiteral("U19"));
        const qint64 reha = groups.add(QStringLiteral("Reha"));
        groups.setGroupsOf(anna, {u19});
        groups.rename(u19, QStringLiteral("U20"));
        QCOMPARE(namesOf(groups.all()), (QStringList{"Reha", "U20"}));
        QCOMPARE(groups.memberIds(u19), QSet<qint64>{anna});
        // Its own name in another case is no clash.
        groups.rename(u19, QStringLiteral("u20"));
        const auto failure = failureOf([&] { groups.rename(reha, QStringLiteral("U20")); });
        QVERIFY(failure);
        QCOMPARE(namesOf(groups.all()), (QStringList{"Reha", "u20"}));
    }

    // The database itself keeps the names apart regardless of case: another station's
    // statement of a name that differs only in case is refused, one of another name is
    // stored, and this station then refuses such a name with its own words.
    void theDatabaseKeepsNamesApart_data() {
        QTest::addColumn<bool>("rename");
        QTest::newRow("a new group") << false;
        QTest::newRow("a renamed group") << true;
    }
    void theDatabaseKeepsNamesApart() {
        QFETCH(bool, rename);
        GroupRepository groups(*data->db);
        const qint64 reha = groups.add(QStringLiteral("Reha"));
        Database other(data->location);
        QSqlQuery q(other.connection());
        QVERIFY(!q.exec("INSERT INTO gruppen (Name) VALUES ('REHA')"));
        QVERIFY(q.exec("INSERT INTO gruppen (Name) VALUES ('U19')"));
        const auto failure = failureOf([&] {
            if (rename)
                groups.rename(reha, QStringLiteral("u19"));
            else
                groups.add(QStringLiteral("u19"));
        });
        QVERIFY(failure);
        QCOMPARE(failure->text, QStringLiteral("Eine Gruppe „U19“ gibt es schon."));
        QCOMPARE(namesOf(groups.all()), (QStringList{"Reha", "U19"}));
    }

    // An athlete belongs to any number of groups; setting his groups replaces them all.
    void membershipsFollowTheEditor() {
        GroupRepository groups(*data->db);
        const qint64 u19 = groups.add(QStringLiteral("U19"));
        const qint64 kader = groups.add(QStringLiteral("Kader 2027"));
        groups.setGroupsOf(anna, {u19, kader, u19});
        groups.setGroupsOf(ben, {u19});
        QCOMPARE(groups.groupsOf(anna), (QList<qint64>{u19, kader}));
        QCOMPARE(groups.memberIds(u19), (QSet<qint64>{anna, ben}));
        groups.setGroupsOf(anna, {kader, 999});
        QCOMPARE(groups.groupsOf(anna), QList<qint64>{kader});
        QCOMPARE(groups.memberIds(u19), QSet<qint64>{ben});
        groups.setGroupsOf(anna, {});
        QVERIFY(groups.groupsOf(anna).isEmpty());
        const QList<Athlete> listed = AthleteRepository(*data->db).all();
        QCOMPARE(onlyMembers(listed, groups.memberIds(u19)).size(), 1);
        QCOMPARE(onlyMembers(listed, groups.memberIds(u19)).first().id, ben);
    }

    // Deleting a group never deletes an athlete; deleting an athlete ends his memberships,
    // also one that a station without groups left behind.
    void deletionsLeaveTheRest() {
        GroupRepository groups(*data->db);
        AthleteRepository athletes(*data->db);
        const qint64 u19 = groups.add(QStringLiteral("U19"));
        const qint64 reha = groups.add(QStringLiteral("Reha"));
        groups.setGroupsOf(anna, {u19, reha});
        groups.setGroupsOf(ben, {u19});
        groups.setGroupsOf(cara, {u19});
        groups.remove(reha);
        QCOMPARE(athletes.all().size(), 3);
        QCOMPARE(groups.groupsOf(anna), QList<qint64>{u19});
        QCOMPARE(data->scalar("SELECT COUNT(*) FROM gruppen_sportler WHERE Gruppe_ID = " +
                              QString::number(reha))
                     .toInt(),
                 0);

        athletes.remove(anna);
        QCOMPARE(data->scalar("SELECT COUNT(*) FROM gruppen_sportler WHERE Sportler_ID = " +
                              QString::number(anna))
                     .toInt(),
                 0);
        // A station of an earlier version deletes the athlete row alone.
        QVERIFY(data->run("DELETE FROM sportler WHERE ID = " + QString::number(ben)));
        QCOMPARE(groups.memberIds(u19), QSet<qint64>{cara});
    }

    // The members' measurements of the days asked for, the first and the last included, with
    // their jumps.
    void measurementsOfMembersOnly() {
        GroupRepository groups(*data->db);
        MeasurementRepository measurements(*data->db);
        const qint64 u19 = groups.add(QStringLiteral("U19"));
        groups.setGroupsOf(anna, {u19});
        const QDate first(2026, 3, 1);
        measurements.recordFirstJump(anna, first.startOfDay(), {200, 500, 1.25, 1});
        measurements.recordFirstJump(ben, QDateTime(first, QTime(10, 0)), {210, 480, 1.1, 1});
        const Measurement second = measurements.recordFirstJump(
            anna, QDateTime(first.addDays(1), QTime(23, 59, 59)), {190, 520, 1.4, 1});
        measurements.recordJump(second.id, {180, 530, 1.5, 2});
        measurements.recordFirstJump(anna, first.addDays(2).startOfDay(), {200, 500, 1.25, 1});
        measurements.recordFirstJump(anna, first.addDays(-1).startOfDay(), {200, 500, 1.25, 1});
        const QList<MemberMeasurement> found =
            groups.measurementsOfMembers(u19, first, first.addDays(1));
        QCOMPARE(found.size(), 2);
        QCOMPARE(found[0].athleteId, anna);
        QCOMPARE(found[0].day, first);
        QCOMPARE(found[1].measurementNumber, qint64(2));
        QCOMPARE(found[1].day, first.addDays(1));
        QCOMPARE(found[0].jumps.size(), 1);
        QList<double> flights;
        for (const Jump& jump : found[1].jumps)
            flights << jump.flightMs;
        std::sort(flights.begin(), flights.end());
        QCOMPARE(flights, (QList<double>{520, 530}));
    }

    // Each measurement with its own jumps and no other's: one numbered beyond 999 (its jumps
    // under the other kind of key), one without a jump, a series with an excluded jump beside
    // another athlete's measurement with a jump of the same number.
    void measurementsOfMembersWithTheirOwnJumps() {
        GroupRepository groups(*data->db);
        MeasurementRepository measurements(*data->db);
        const qint64 u19 = groups.add(QStringLiteral("U19"));
        groups.setGroupsOf(anna, {u19});
        groups.setGroupsOf(ben, {u19});
        const QDate day(2026, 3, 1);
        const Measurement series =
            measurements.recordFirstJump(anna, QDateTime(day, QTime(9, 0)), {200, 500, 1.25, 1});
        measurements.recordJump(series.id, {210, 510, 1.2, 2});
        measurements.exclude(seriesKey(anna, series.measurementNumber), 2,
                             {QStringLiteral("Fehlversuch"), QString(), QDateTime()});
        const Measurement single =
            measurements.recordFirstJump(ben, QDateTime(day, QTime(9, 5)), {220, 450, 1.0, 1});
        measurements.recordJump(single.id, {225, 455, 1.0, 2});
        // Written as a station of an earlier version writes them.
        const QString insertUnit = QStringLiteral(
            "INSERT INTO units (Ref_ID, Datum, Nummer, FZ) VALUES (%1, '%2', %3, %4)");
        QVERIFY(data->run(insertUnit.arg(anna).arg("2026-03-01T10:00:00").arg(1000).arg(2)));
        for (const int jumpIndex : {1, 2})
            QVERIFY(data->run(QStringLiteral("INSERT INTO mr (Serie, SZ, FZ, Eff, Anzahl) "
                                             "VALUES (%1, %2, 600, 1.5, %3)")
                                  .arg(seriesKey(anna, 1000))
                                  .arg(230 + jumpIndex)
                                  .arg(jumpIndex)));
        QVERIFY(data->run(insertUnit.arg(ben).arg("2026-03-01T11:00:00").arg(7).arg(0)));
        // Numbered between her measurements of the day: one of another day and one of the day;
        // and a damaged row whose key has a fraction. None gives its jumps to another.
        const qint64 between = series.measurementNumber + 1;
        QVERIFY(data->run(insertUnit.arg(anna).arg("2026-02-01T10:00:00").arg(between).arg(1)));
        QVERIFY(data->run(insertUnit.arg(anna).arg("2026-03-01T12:00:00").arg(between + 1).arg(1)));
        QVERIFY(data->run(QStringLiteral("INSERT INTO mr (Serie, SZ, FZ, Eff, Anzahl) VALUES "
                                         "(%1, 240, 600, 1.5, 1), (%2, 250, 600, 1.5, 1), "
                                         "(%3.5, 260, 600, 1.5, 1)")
                              .arg(seriesKey(anna, between))
                              .arg(seriesKey(anna, between + 1))
                              .arg(seriesKey(anna, series.measurementNumber))));

        const QList<MemberMeasurement> found = groups.measurementsOfMembers(u19, day, day);
        QCOMPARE(found.size(), 5);
        QHash<qint64, QList<std::pair<double, bool>>> jumpsOf; // contact time, excluded
        for (const MemberMeasurement& measurement : found) {
            QCOMPARE(measurement.day, day);
            QList<std::pair<double, bool>>& jumps =
                jumpsOf[measurement.measurementNumber * 10 + (measurement.athleteId == anna)];
            for (const Jump& jump : measurement.jumps)
                jumps << std::pair{jump.contactMs, jump.excluded};
            std::sort(jumps.begin(), jumps.end());
        }
        using Jumps = QList<std::pair<double, bool>>;
        QCOMPARE(jumpsOf.value(series.measurementNumber * 10 + 1),
                 (Jumps{{200, false}, {210, true}}));
        QCOMPARE(jumpsOf.value(single.measurementNumber * 10), (Jumps{{220, false}, {225, false}}));
        QCOMPARE(jumpsOf.value(1000 * 10 + 1), (Jumps{{231, false}, {232, false}}));
        QCOMPARE(jumpsOf.value((between + 1) * 10 + 1), (Jumps{{250, false}}));
        QVERIFY(!jumpsOf.contains(between * 10 + 1));
        QVERIFY(jumpsOf.contains(7 * 10));
        QCOMPARE(jumpsOf.value(7 * 10), Jumps{});
    }
};

QTEST_GUILESS_MAIN(TestGroups)
#include "tst_groups.moc"
