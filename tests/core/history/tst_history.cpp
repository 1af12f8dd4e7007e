#include "core/base/Texts.h"
#include "core/history/History.h"
#include "core/store/MeasurementRepository.h"
#include "support/TempDataDir.h"

#include <QtTest>

namespace {

// The entry as the list shows it: "Nr.", date, time, four values, and the number.
QStringList shown(const history::Entry& e) {
    return QStringList{QString::number(e.position), e.dateText, e.timeText}
           << e.values << QString::number(e.measurementNumber);
}

} // namespace

class TestHistory : public QObject {
    Q_OBJECT
private slots:
    void init() { texts::setLocale(QLocale(QLocale::German, QLocale::Germany)); }

    // Entries go newest first by the moment their texts show; equal moments keep their order.
    void order_data() {
        QTest::addColumn<QString>("time1");
        QTest::addColumn<QString>("time2");
        QTest::addColumn<bool>("firstGoesBefore");
        QTest::newRow("later day first") << "2026-12-07T08:00:00"
                                         << "2026-12-06T23:59:59" << true;
        QTest::newRow("earlier time second") << "2026-12-06T08:00:00"
                                             << "2026-12-06T08:00:01" << false;
        QTest::newRow("same moment keeps its place") << "2026-12-06T08:00:00"
                                                     << "2026-12-06T08:00:00" << false;
        QTest::newRow("milliseconds the texts do not show") << "2026-12-06T08:00:00.900"
                                                            << "2026-12-06T08:00:00.100" << false;
        QTest::newRow("year is compared, not text") << "2027-01-01T00:00:00"
                                                    << "2026-12-31T23:00:00" << true;
    }
    void order() {
        QFETCH(QString, time1);
        QFETCH(QString, time2);
        QFETCH(bool, firstGoesBefore);
        const auto a = history::makeEntry(1, QDateTime::fromString(time1, Qt::ISODateWithMs),
                                          history::seriesTexts(), 1);
        const auto b = history::makeEntry(2, QDateTime::fromString(time2, Qt::ISODateWithMs),
                                          history::seriesTexts(), 2);
        QCOMPARE(history::goesBefore(a, b), firstGoesBefore);
    }

    // An athlete's history from the tables: numbered in the order recorded, newest first,
    // single measurements with their jump, series marked.
    // The best height and RSI of an entry, single jump or series, over its valid jumps only.
    void bestValues_data() {
        QTest::addColumn<QList<Jump>>("jumps");
        QTest::addColumn<QStringList>("best");
        const auto jump = [](double contact, double flight, bool excluded = false) {
            Jump j;
            j.contactMs = contact;
            j.flightMs = flight;
            j.excluded = excluded;
            return j;
        };
        // 200/500 ms: 30,66 cm and RSI 1,53; 150/600 ms: 44,15 cm and 2,94; 250/620 ms:
        // 47,14 cm and 1,89.
        QTest::newRow("single jump") << QList<Jump>{jump(200, 500)} << QStringList{"30,66", "1,53"};
        QTest::newRow("best height and best RSI from different jumps")
            << QList<Jump>{jump(200, 500), jump(150, 600), jump(250, 620), jump(180, 0)}
            << QStringList{"47,14", "2,94"};
        QTest::newRow("excluded best counts nowhere")
            << QList<Jump>{jump(200, 500), jump(150, 600, true)} << QStringList{"30,66", "1,53"};
        QTest::newRow("times not measured")
            << QList<Jump>{jump(-1, 500), jump(200, -1)} << QStringList{"", ""};
        QTest::newRow("no jump") << QList<Jump>{} << QStringList{"", ""};
    }
    void bestValues() {
        QFETCH(QList<Jump>, jumps);
        QFETCH(QStringList, best);
        QCOMPARE(history::bestTexts(jumps), best);
    }

    void builtFromTheTables() {
        TempDataDir data;
        QVERIFY(data.run("INSERT INTO units (Ref_ID, Datum, Nummer, FZ) VALUES "
                         "(12, '2026-12-06T19:05:09', 1, 3), (12, '2026-12-06T20:05:09', 2, 1),"
                         "(12, '2026-12-06T19:05:09', 3, 1), (12, '2025-11-01T10:00:00', 4, 5),"
                         "(13, '2026-12-06T21:00:00', 1, 1)"));
        QVERIFY(data.run("INSERT INTO mr VALUES (12003, 200, 500, 1.25, 1), "
                         "(12003, 999, 999, 9.99, 1), (13001, 100, 100, 1, 1)"));
        MeasurementRepository measurements(*data.db);
        const QList<history::Entry> entries = history::build(measurements, 12);
        QCOMPARE(entries.size(), 4);
        QCOMPARE(shown(entries[0]),
                 (QStringList{"2", "06.12.2026", "20:05:09", "0", "0", "0,00", "0,00", "2"}));
        QCOMPARE(shown(entries[1]),
                 (QStringList{"1", "06.12.2026", "19:05:09", "...", "...", "...", "...", "1"}));
        QCOMPARE(shown(entries[2]),
                 (QStringList{"3", "06.12.2026", "19:05:09", "200", "500", "1,25", "30,66", "3"}));
        QCOMPARE(entries[3].measurementNumber, 4);
        // A measurement without a stored jump has no best values.
        QCOMPARE(entries[0].best, (QStringList{"", ""}));
        QVERIFY(entries[1].isSeries() && !entries[2].isSeries());
        QVERIFY(history::build(measurements, 99).isEmpty());
    }

    // Measurements the journal holds are listed beside the stored ones: marked, with no number
    // a stored one could have, their values from the journal's jumps and exclusions, and the
    // rest of a series naming the stored measurement it continues.
    void journalledEntries_data() {
        QTest::addColumn<QList<RecordedJump>>("jumps");
        QTest::addColumn<int>("excludedIndex");
        QTest::addColumn<qint64>("continues");
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QStringList>("best");
        QTest::addColumn<QString>("continuedText");
        const QList<RecordedJump> series{{200, 500, 2.5, 1}, {150, 600, 4.0, 2}};
        const QString dots = history::kSeriesMark;
        QTest::newRow("single jump") << QList<RecordedJump>{{200, 500, 2.5, 1}} << 0 << qint64(0)
                                     << QStringList{"200", "500", "1,25", "30,66"}
                                     << QStringList{"30,66", "1,53"} << QString();
        QTest::newRow("series") << series << 0 << qint64(0) << QStringList{dots, dots, dots, dots}
                                << QStringList{"44,15", "2,94"} << QString();
        QTest::newRow("excluded jump counts nowhere")
            << series << 2 << qint64(0) << QStringList{dots, dots, dots, dots}
            << QStringList{"30,66", "1,53"} << QString();
        QTest::newRow("rest of a stored series")
            << QList<RecordedJump>{{150, 600, 4.0, 3}} << 0 << qint64(77)
            << QStringList{dots, dots, dots, dots} << QStringList{"44,15", "2,94"}
            << "Die Sprünge ab Nr. 3 der Messung Nr. 5.";
        QTest::newRow("rest of a series deleted meanwhile")
            << QList<RecordedJump>{{150, 600, 4.0, 3}} << 0 << qint64(78)
            << QStringList{dots, dots, dots, dots} << QStringList{"44,15", "2,94"}
            << "Die Sprünge ab Nr. 3 einer Messung auf dem Server.";
    }
    void journalledEntries() {
        QFETCH(QList<RecordedJump>, jumps);
        QFETCH(int, excludedIndex);
        QFETCH(qint64, continues);
        QFETCH(QStringList, values);
        QFETCH(QStringList, best);
        QFETCH(QString, continuedText);
        JournalEntry journalled;
        journalled.id = 9;
        journalled.measurement.moment = QDateTime(QDate(2026, 12, 6), QTime(19, 5, 9));
        journalled.measurement.test = {QStringLiteral("CMJ"), std::nullopt};
        journalled.measurement.jumps = jumps;
        journalled.measurement.continuesMeasurementId = continues;
        if (excludedIndex != 0)
            journalled.measurement.exclusions.insert(excludedIndex, {"Doppelkontakt", "a", {}});
        Measurement stored;
        stored.id = 77;
        stored.measurementNumber = 5;

        const QList<history::Entry> entries = history::journalledEntries({journalled}, {stored});
        QCOMPARE(entries.size(), 1);
        const history::Entry& entry = entries.constFirst();
        QVERIFY(entry.isJournalled());
        QCOMPARE(entry.journalEntryId, 9);
        QVERIFY(entry.measurementNumber < 1);
        QCOMPARE(entry.values, values);
        QCOMPARE(entry.best, best);
        QCOMPARE(entry.dateText, QStringLiteral("06.12.2026"));
        QCOMPARE(entry.test.name, QStringLiteral("CMJ"));
        QVERIFY(entry.notOnServerText.startsWith(QStringLiteral("Noch nicht auf dem Server")));
        QCOMPARE(entry.notOnServerText.endsWith(continuedText), true);
        QCOMPARE(entry.notOnServerText.contains(QStringLiteral("Sprünge ab")),
                 !continuedText.isEmpty());
        const QList<Jump> read = history::journalledJumps(journalled);
        QCOMPARE(read.size(), jumps.size());
        for (qsizetype i = 0; i < read.size(); ++i) {
            QCOMPARE(read[i].jumpIndex, jumps[i].jumpIndex);
            QCOMPARE(read[i].excluded, jumps[i].jumpIndex == excludedIndex);
        }
    }
};

QTEST_GUILESS_MAIN(TestHistory)
#include "tst_history.moc"
