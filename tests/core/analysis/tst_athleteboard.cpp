// What the display for the athlete shows of a run: the last jump, the best, the time left.
#include "core/analysis/AthleteBoard.h"
#include "core/base/Texts.h"

#include <QtTest>

using analysis::RunningSeries;
using analysis::SeriesValue;
using analysis::StoredJump;
using Places = QList<RunningSeries::Place>;

class TestAthleteBoard : public QObject {
    Q_OBJECT
private slots:
    void init() { texts::setDecimalSeparator(QLatin1Char(',')); }

    // 200/500 ms: 30,66 cm, RSI 1,53; 160/480 ms: 28,25 cm, RSI 1,77.
    void lastAndBest_data() {
        QTest::addColumn<Places>("places");
        QTest::addColumn<bool>("rsi");
        QTest::addColumn<QString>("last");
        QTest::addColumn<QString>("best");
        QTest::addColumn<QString>("unit");
        const Places two{StoredJump{200, 500, 1}, StoredJump{160, 480, 2}};
        QTest::newRow("before the first jump") << Places{} << false << ""
                                               << ""
                                               << "cm";
        QTest::newRow("heights") << two << false << "28,25"
                                 << "30,66"
                                 << "cm";
        QTest::newRow("RSI") << two << true << "1,77"
                             << "1,77"
                             << "RSI";
        QTest::newRow("a jump kept from the store shows no value")
            << Places{StoredJump{200, 500, 1}, std::nullopt} << false << "–"
            << "30,66"
            << "cm";
        QTest::newRow("a failed trial is no best")
            << Places{StoredJump{160, -1, 1, true, "Fehlversuch"}} << false << "–"
            << ""
            << "cm";
    }
    void lastAndBest() {
        QFETCH(Places, places);
        QFETCH(bool, rsi);
        QFETCH(QString, last);
        QFETCH(QString, best);
        QFETCH(QString, unit);
        AthleteBoard board;
        board.add(StoredJump{100, 900, 1}); // of the run before
        board.start(QStringLiteral("Meier, Anna"));
        board.setValue(rsi ? SeriesValue::Rsi : SeriesValue::Height);
        for (const RunningSeries::Place& place : places)
            board.add(place);
        QCOMPARE(board.athleteName(), QStringLiteral("Meier, Anna"));
        QCOMPARE(board.series().size(), places.size());
        QCOMPARE(board.lastText(), last);
        QCOMPARE(board.bestText(), best);
        QCOMPARE(board.unitText(), unit);
    }

    void countdown_data() {
        QTest::addColumn<int>("seconds"); // 0: a series without a time
        QTest::addColumn<int>("left");    // -1: no first contact yet
        QTest::addColumn<QString>("text");
        QTest::newRow("before the first contact: the whole time") << 90 << -1 << "1:30";
        QTest::newRow("a part of a second counts as a second") << 30 << 29001 << "0:30";
        QTest::newRow("the last moment") << 30 << 1 << "0:01";
        QTest::newRow("over") << 30 << 0 << "0:00";
        QTest::newRow("a series without a time shows none") << 0 << 5000 << "";
    }
    void countdown() {
        QFETCH(int, seconds);
        QFETCH(int, left);
        QFETCH(QString, text);
        AthleteBoard board;
        board.start(QStringLiteral("Meier, Anna"),
                    seconds > 0 ? std::optional<int>(seconds) : std::nullopt);
        QCOMPARE(board.timed(), seconds > 0);
        QCOMPARE(board.countdownText(left < 0 ? std::nullopt : std::optional<qint32>(left)), text);
    }
};

QTEST_APPLESS_MAIN(TestAthleteBoard)
#include "tst_athleteboard.moc"
