#include "core/base/Texts.h"
#include "core/report/AthleteReport.h"

#include <QtTest>

Q_DECLARE_METATYPE(analysis::StoredJump)

// The table of a measurement's jumps in the report.
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
        QTest::newRow("closing contact") << analysis::StoredJump{220, 0, 5} << "5|220|0|||";
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
};

QTEST_GUILESS_MAIN(TestAthleteReport)
#include "tst_athletereport.moc"
