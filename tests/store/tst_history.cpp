#include "core/base/Texts.h"
#include "ui/History.h"

#include <QTreeWidget>
#include <QtTest>

class TestHistory : public QObject {
    Q_OBJECT
private slots:
    void init() { texts::setLocale(QLocale(QLocale::German, QLocale::Germany)); }

    void compare_data() {
        QTest::addColumn<QString>("date1");
        QTest::addColumn<QString>("time1");
        QTest::addColumn<QString>("date2");
        QTest::addColumn<QString>("time2");
        QTest::addColumn<int>("result");
        QTest::newRow("later day first") << "07.12.2026"
                                         << "08:00:00"
                                         << "06.12.2026"
                                         << "23:59:59" << -1;
        QTest::newRow("earlier time second") << "06.12.2026"
                                             << "08:00:00"
                                             << "06.12.2026"
                                             << "08:00:01" << 1;
        QTest::newRow("same moment stays first") << "06.12.2026"
                                                 << "08:00:00"
                                                 << "06.12.2026"
                                                 << "08:00:00" << -1;
        QTest::newRow("year is compared, not text") << "01.01.2027"
                                                    << "00:00:00"
                                                    << "31.12.2026"
                                                    << "23:00:00" << -1;
    }
    void compare() {
        QFETCH(QString, date1);
        QFETCH(QString, time1);
        QFETCH(QString, date2);
        QFETCH(QString, time2);
        QFETCH(int, result);
        QCOMPARE(history::compareEntries(date1, time1, date2, time2), result);
    }

    void listRunsNewestFirstAndKeepsTies() {
        QTreeWidget list;
        list.setColumnCount(8);
        const QDateTime base(QDate(2026, 12, 6), QTime(19, 5, 9));
        list.addTopLevelItem(history::makeEntry(1, base, history::seriesTexts(), 1));
        list.addTopLevelItem(
            history::makeEntry(2, base.addSecs(3600), history::missingJumpTexts(), 2));
        list.addTopLevelItem(history::makeEntry(3, base, history::jumpTexts(200, 500, 1.25), 3));
        list.addTopLevelItem(history::makeEntry(4, base.addDays(-400), history::seriesTexts(), 4));
        list.sortItems(0, Qt::AscendingOrder);
        QStringList order;
        for (int i = 0; i < list.topLevelItemCount(); ++i)
            order << list.topLevelItem(i)->text(history::kNummerColumn);
        QCOMPARE(order, (QStringList{"2", "1", "3", "4"}));

        QTreeWidgetItem* single = list.topLevelItem(2);
        QStringList texts;
        for (int c = 0; c < 8; ++c)
            texts << single->text(c);
        QCOMPARE(texts,
                 (QStringList{"3", "06.12.2026", "19:05:09", "200", "500", "1,25", "30,70", "3"}));
        QCOMPARE(list.topLevelItem(0)->text(3), QStringLiteral("0"));
        QCOMPARE(list.topLevelItem(0)->text(6), QStringLiteral("0,00"));
        QCOMPARE(list.topLevelItem(1)->text(4), history::kSeriesMark);
    }
};

QTEST_MAIN(TestHistory)
#include "tst_history.moc"
