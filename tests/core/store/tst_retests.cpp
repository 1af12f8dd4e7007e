#include "core/base/Errors.h"
#include "core/store/AthleteRepository.h"
#include "core/store/GroupRepository.h"
#include "core/store/MeasurementRepository.h"
#include "core/store/RetestRepository.h"
#include "support/TempDataDir.h"

#include <QSqlQuery>
#include <QtTest>

using Pairs = QHash<qint64, qint64>;

// The test–retest pairs a user marks and the smallest worthwhile change set for a test, on
// either engine.
class TestRetests : public QObject {
    Q_OBJECT

    std::unique_ptr<TempDataDir> data;
    qint64 athlete = 0;
    QList<qint64> rows; // the units rows of the athlete's measurements 1 to 4

private slots:
    void init() {
        data = std::make_unique<TempDataDir>();
        Athlete a;
        a.name = QStringLiteral("Adler");
        athlete = AthleteRepository(*data->db).add(a);
        MeasurementRepository measurements(*data->db);
        rows.clear();
        for (int n = 1; n <= 4; ++n)
            rows << measurements
                        .recordFirstJump(athlete, QDateTime({2026, 3, n}, {10, 0}),
                                         {200, 500, 2.5, 1})
                        .id;
    }

    // What marking leaves: a repeat names one measurement, a new mark replaces the old, 0
    // takes it away; a measurement that is gone (or no longer the athlete's) pairs nothing.
    void marksAndWhatTheyLeave() {
        RetestRepository retests(*data->db);
        retests.markRepeat(athlete, 2, 1);
        retests.markRepeat(athlete, 4, 3);
        QCOMPARE(retests.pairsOf(athlete), (Pairs{{2, 1}, {4, 3}}));
        retests.markRepeat(athlete, 4, 2);
        QCOMPARE(retests.pairsOf(athlete), (Pairs{{2, 1}, {4, 2}}));
        retests.markRepeat(athlete, 2, 0);
        QCOMPARE(retests.pairsOf(athlete), (Pairs{{4, 2}}));
        QSqlQuery q(data->db->connection());
        QVERIFY(q.exec(QStringLiteral("DELETE FROM units WHERE ID = %1").arg(rows[1])));
        QCOMPARE(retests.pairsOf(athlete), Pairs{});

        // The ranking reads each measurement's mark by its row.
        retests.markRepeat(athlete, 3, 1);
        GroupRepository groups(*data->db);
        const qint64 group = groups.add(QStringLiteral("U19"));
        groups.setGroupsOf(athlete, {group});
        Pairs read;
        for (const MemberMeasurement& m :
             groups.measurementsOfMembers(group, QDate(2026, 3, 1), QDate(2026, 3, 31)))
            if (m.repeats != 0)
                read.insert(m.id, m.repeats);
        // A mark whose first measurement is gone is read too and pairs nothing (it has no trial).
        QCOMPARE(read, (Pairs{{rows[2], rows[0]}, {rows[3], rows[1]}}));
    }

    // Marks that would not make a pair are refused, and the marks stay as they were.
    void refusedMarks_data() {
        QTest::addColumn<qint64>("repeat");
        QTest::addColumn<qint64>("first");
        QTest::newRow("itself") << qint64(2) << qint64(2);
        QTest::newRow("one that repeats it") << qint64(1) << qint64(2);
        QTest::newRow("a measurement not stored") << qint64(3) << qint64(9);
        QTest::newRow("a repeat not stored") << qint64(9) << qint64(1);
    }
    void refusedMarks() {
        QFETCH(qint64, repeat);
        QFETCH(qint64, first);
        RetestRepository retests(*data->db);
        retests.markRepeat(athlete, 2, 1);
        QVERIFY(failureOf([&] { retests.markRepeat(athlete, repeat, first); }));
        QCOMPARE(retests.pairsOf(athlete), (Pairs{{2, 1}}));
    }

    // A value per test and drop height (a test without one apart), replaced and taken away.
    void worthwhileChangePerTest() {
        RetestRepository retests(*data->db);
        const MeasurementTest drop30{QStringLiteral("Drop Jump"), 30};
        const MeasurementTest drop40{QStringLiteral("Drop Jump"), 40};
        const MeasurementTest squat{QStringLiteral("Squat Jump"), std::nullopt};
        retests.setWorthwhileChange(drop30, 0.05);
        retests.setWorthwhileChange(squat, 0.08);
        retests.setWorthwhileChange(drop30, 0.06);
        QCOMPARE(retests.worthwhileChange(drop30), std::optional(0.06));
        QCOMPARE(retests.worthwhileChange(squat), std::optional(0.08));
        QVERIFY(!retests.worthwhileChange(drop40));
        retests.setWorthwhileChange(squat, std::nullopt);
        QVERIFY(!retests.worthwhileChange(squat));
        QVERIFY(failureOf([&] { retests.setWorthwhileChange(drop30, 0.0); }));
        QVERIFY(failureOf([&] { retests.setWorthwhileChange({}, 0.05); }));
        QCOMPARE(retests.worthwhileChange(drop30), std::optional(0.06));
    }
};

QTEST_GUILESS_MAIN(TestRetests)
#include "tst_retests.moc"
