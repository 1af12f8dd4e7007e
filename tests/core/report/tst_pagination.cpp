#include "core/report/Pagination.h"

#include <QtTest>

// Where a table breaks: pages of 100, a heading of 10, a header row of 5.
class TestPagination : public QObject {
    Q_OBJECT

private slots:
    void planTable_data() {
        QTest::addColumn<QList<double>>("rows");
        QTest::addColumn<double>("remaining");
        QTest::addColumn<bool>("newPage");
        QTest::addColumn<QList<int>>("breaks");
        const QList<double> ten(10, 10.0);
        QTest::newRow("fits on the rest of the page")
            << QList<double>(3, 10.0) << 100.0 << false << QList<int>{};
        QTest::newRow("fits on a page: whole to the next")
            << QList<double>(3, 10.0) << 30.0 << true << QList<int>{};
        QTest::newRow("longer than a page: eight, then two")
            << ten << 100.0 << false << QList<int>{8};
        QTest::newRow("the last row never alone")
            << QList<double>(9, 10.0) << 100.0 << false << QList<int>{7};
        QTest::newRow("the heading keeps two rows: to the next page")
            << ten << 30.0 << true << QList<int>{8};
        QTest::newRow("two rows under the heading, the rest on the next page")
            << ten << 40.0 << false << QList<int>{2};
        QTest::newRow("a row higher than a page gets a page")
            << QList<double>{150} << 60.0 << true << QList<int>{};
        QTest::newRow("three pages, the last keeps two")
            << QList<double>(19, 10.0) << 100.0 << false << QList<int>{8, 17};
        QTest::newRow("three pages, one row moved to the last")
            << QList<double>(18, 10.0) << 100.0 << false << QList<int>{8, 16};
    }
    void planTable() {
        QFETCH(QList<double>, rows);
        QFETCH(double, remaining);
        QFETCH(bool, newPage);
        QFETCH(QList<int>, breaks);
        const pagination::TablePlan plan = pagination::planTable(10, 5, rows, remaining, 100);
        QCOMPARE(plan.startOnNewPage, newPage);
        QCOMPARE(plan.breaksBefore, breaks);
    }
};

QTEST_GUILESS_MAIN(TestPagination)
#include "tst_pagination.moc"
