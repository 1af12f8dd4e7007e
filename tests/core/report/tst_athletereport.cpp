#include "core/base/Texts.h"
#include "core/report/AthleteReport.h"
#include "core/store/MeasurementRepository.h"
#include "support/TempDataDir.h"

#include <QtTest>

Q_DECLARE_METATYPE(analysis::StoredJump)

// The table of a measurement's jumps in the report, and what the report reads of the
// protocol a measurement was run under.
class TestAthleteReport : public QObject {
    Q_OBJECT

private slots:
    void init() { texts::setDecimalSeparator(QLatin1Char(',')); }

    // 500 ms of flight: 30.66 cm, over 200 ms of contact RSI 1.53; 400 ms: 19.62 cm.
    void jumpTable_data() {
        QTest::addColumn<analysis::StoredJump>("jump");
        QTest::addColumn<QString>("texts");
        QTest::newRow("counted") << analysis::StoredJump{200, 500, 1} << "1|200|500|30,66|1,53|";
        QTest::newRow("excluded, with its reason")
            << analysis::StoredJump{250, 400, 2, true, "Doppelkontakt"}
            << "2|250|400|19,62|0,78|Doppelkontakt";
        QTest::newRow("excluded without a reason")
            << analysis::StoredJump{250, 400, 3, true} << "3|250|400|19,62|0,78|ausgeschlossen";
        QTest::newRow("contact not measured") << analysis::StoredJump{-1, 450, 4} << "4||450|||";
        QTest::newRow("closing contact, no jump and no number")
            << analysis::StoredJump{220, 0, 5} << "|220|0|||";
    }
    void jumpTable() {
        QFETCH(analysis::StoredJump, jump);
        QFETCH(QString, texts);
        const QList<QStringList> rows = report::jumpTableTexts({jump});
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0], texts.split(QLatin1Char('|')));
        QCOMPARE(rows[0].size(), report::jumpTableHeader().size());
    }

    void jumpsInTheOrderOfTheirNumbers() {
        const QList<QStringList> rows =
            report::jumpTableTexts({{200, 500, 3}, {200, 500, 1}, {200, 500, 2}});
        QCOMPARE((QStringList{rows[0][0], rows[1][0], rows[2][0]}), (QStringList{"1", "2", "3"}));
    }

    // The protocol part follows the measurement selected, not the athlete's others: a plain
    // measurement between a 10/5 series and a trial of a profile has none.
    void protocolOfTheSelectedMeasurement_data() {
        QTest::addColumn<int>("selected"); // 0: the 10/5 series, 1: the plain one, 2: the trial
        QTest::addColumn<QString>("protocol");
        QTest::newRow("10/5 series") << 0 << "10/5";
        QTest::newRow("plain measurement") << 1 << "";
        QTest::newRow("trial of a profile") << 2 << "profile";
    }
    void protocolOfTheSelectedMeasurement() {
        QFETCH(int, selected);
        QFETCH(QString, protocol);
        TempDataDir dir;
        AthleteRepository athletes(*dir.db);
        MeasurementRepository measurements(*dir.db);
        Athlete athlete;
        athlete.name = QStringLiteral("Berg");
        athlete.firstName = QStringLiteral("Jana");
        athlete.id = athletes.add(athlete);
        const QDateTime start(QDate(2026, 3, 1), QTime(10, 0));
        const qint64 profileId = measurements.createProfile(athlete.id, start, {30, 40}, 1);
        QList<qint64> measurementNumbers;
        const Measurement series = measurements.recordFirstJump(
            athlete.id, start, {200, 500, 1.25, 1}, {}, {Protocol::TenFive, 0});
        for (qint32 n = 2; n <= 10; ++n)
            measurements.recordJump(series.id, {200, 500, 1.25, n});
        measurementNumbers << series.measurementNumber;
        measurementNumbers << measurements
                                  .recordFirstJump(athlete.id, start.addSecs(60),
                                                   {210, 480, 1.1, 1})
                                  .measurementNumber;
        measurementNumbers << measurements
                                  .recordFirstJump(athlete.id, start.addSecs(120),
                                                   {190, 520, 1.4, 1},
                                                   {QStringLiteral("Drop Jump"), 30},
                                                   {Protocol::DropHeightProfile, profileId})
                                  .measurementNumber;

        const std::optional<report::AthleteReport> read =
            report::read(measurements, athlete, measurementNumbers[selected]);
        QVERIFY(read && read->selected);
        QCOMPARE(read->selected->measurementNumber, measurementNumbers[selected]);
        QCOMPARE(read->tenFive.has_value(), protocol == QLatin1String("10/5"));
        QCOMPARE(read->profile.has_value(), protocol == QLatin1String("profile"));
        if (read->tenFive)
            QVERIFY(!read->tenFive->fields.isEmpty());
        if (read->profile) {
            QCOMPARE(read->profile->heading,
                     QStringLiteral("Fallhöhen-Profil vom ") + texts::dateText(start.date()));
            QCOMPARE(read->profile->profile.steps.size(), 1);
            QCOMPARE(read->profile->profile.optimalByRsiCm, std::optional<int>(30));
        }
    }
};

QTEST_GUILESS_MAIN(TestAthleteReport)
#include "tst_athletereport.moc"
