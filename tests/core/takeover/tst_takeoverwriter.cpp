#include "core/base/Errors.h"
#include "core/export/Exporter.h"
#include "core/store/SeriesKey.h"
#include "core/takeover/TakeoverWriter.h"
#include "support/TempDataDir.h"

#include <QtTest>

using namespace takeover;

namespace {

TakeoverMeasurement measurement(qint64 measurementNumber, const QString& moment, int jumps) {
    TakeoverMeasurement m;
    m.measurement.measurementNumber = measurementNumber;
    m.measurement.moment = QDateTime::fromString(moment, Qt::ISODate);
    m.measurement.jumpCount = jumps;
    for (int j = 1; j <= jumps; ++j)
        m.jumps << OldJump{measurementNumber, 200.0 + j, 500, 1.25, double(j)};
    return m;
}

// Müller with a single and a series (numbered 1000: a key of its own), and Adler, whose
// measurement numbered 1 is there already in the database.
Takeover oldFolder() {
    Takeover data;
    TakeoverAthlete mueller;
    mueller.athlete.name = QStringLiteral("Müller");
    mueller.athlete.firstName = QStringLiteral("Jörg");
    mueller.athlete.born = QDate(1980, 5, 17);
    mueller.athlete.sex = 0;
    mueller.measurements << measurement(1, "2020-01-02T10:00:00", 1)
                         << measurement(1000, "2020-01-03T10:00:00", 3);
    TakeoverAthlete adler;
    adler.athlete.name = QStringLiteral("Adler");
    adler.athlete.firstName = QStringLiteral("Ada");
    adler.measurements << measurement(1, "2021-03-04T05:06:07", 2)
                       << measurement(1, "2021-03-05T05:06:07", 1);
    data.athletes << mueller << adler;
    return data;
}

QStringList rows(TempDataDir& data) {
    QStringList out;
    QSqlQuery q(data.db->connection());
    q.exec("SELECT s.Name || '/' || u.Nummer || '/' || u.FZ FROM units u JOIN sportler s "
           "ON s.ID = u.Ref_ID ORDER BY u.ID");
    while (q.next())
        out << q.value(0).toString();
    return out;
}

} // namespace

class TestTakeoverWriter : public QObject {
    Q_OBJECT
private slots:
    // What is written, what is there already, and a second take-over that adds nothing.
    void writingTwice() {
        TempDataDir data;
        QVERIFY(data.run("INSERT INTO sportler (ID, Name, Vorname) VALUES (5, 'Adler', 'Ada')"));
        QVERIFY(data.run("INSERT INTO units (Ref_ID, Datum, Nummer, FZ) VALUES "
                         "(5, '2021-03-04T05:06:07', 1, 2)"));
        const Takeover folder = oldFolder();
        OpenedStore store(data.location);
        QCOMPARE(measurementsPresent(store, folder), 1);

        const auto first = write(store, folder);
        QVERIFY(first);
        QCOMPARE(first->athletes, 1);
        QCOMPARE(first->measurements, 3);
        QCOMPARE(first->jumps, 5);
        QCOMPARE(first->measurementsPresent, 1);
        // Adler's second measurement numbered 1 gets the next number of his.
        QCOMPARE(rows(data),
                 (QStringList{"Adler/1/2", "Müller/1/1", "Müller/1000/3", "Adler/2/1"}));
        const qint64 mueller =
            store.athletes().search(athletes::SearchBy::Surname, QStringLiteral("Mü")).first().id;
        QCOMPARE(store.jumps().ofSeries(seriesKey(mueller, 1000)).size(), 3);
        QCOMPARE(store.jumps().ofSeries(seriesKey(5, 2)).size(), 1);

        const auto second = write(store, folder);
        QVERIFY(second);
        QCOMPARE(second->athletes + second->measurements + second->jumps, 0);
        QCOMPARE(second->measurementsPresent, 4);
        QCOMPARE(rows(data).size(), 4);
    }

    // A refusal anywhere, or a cancel, leaves the database as it was.
    void allOrNothing_data() {
        QTest::addColumn<bool>("cancel");
        QTest::newRow("a jump refused") << false;
        QTest::newRow("cancelled after the first athlete") << true;
    }
    void allOrNothing() {
        QFETCH(bool, cancel);
        TempDataDir data;
        if (!cancel)
            QVERIFY(TestStore::refuse(*data.db, "INSERT", "mr", "NEW.Anzahl = 3"));
        OpenedStore store(data.location);
        if (cancel)
            QCOMPARE(write(store, oldFolder(), [](int done) { return done < 1; }), std::nullopt);
        else
            QVERIFY_THROWS_EXCEPTION(AppError, write(store, oldFolder()));
        QCOMPARE(data.scalar("SELECT COUNT(*) FROM sportler").toInt(), 0);
        QCOMPARE(data.scalar("SELECT COUNT(*) FROM units").toInt(), 0);
        QCOMPARE(data.scalar("SELECT COUNT(*) FROM mr").toInt(), 0);
    }

    // What a take-over tells: one line of what was written, one for each kind of thing left
    // out, one and many counted as German says them.
    void report_data() {
        QTest::addColumn<QList<int>>("written"); // athletes, measurements, jumps, present
        QTest::addColumn<QList<int>>("left"); // without athlete, their jumps, orphaned, colliding
        QTest::addColumn<QString>("text");
        QTest::newRow("nothing left out") << QList<int>{2, 3, 7, 0} << QList<int>{0, 0, 0, 0}
                                          << "Übernommen: 2 Sportler, 3 Messungen, 7 Sprünge.";
        QTest::newRow("one of each")
            << QList<int>{1, 1, 1, 1} << QList<int>{1, 1, 1, 1}
            << "Übernommen: 1 Sportler, 1 Messung, 1 Sprung.\n"
               "1 Messung war schon vorhanden.\n"
               "Ausgelassen: 1 Messung ohne Sportler, mit 1 Sprung.\n"
               "Ausgelassen: 1 Sprung ohne Messung.\n"
               "Ausgelassen: 1 Sprung unter einem Schlüssel, den mehrere Messungen teilen.";
        QTest::newRow("many of each")
            << QList<int>{0, 0, 0, 4} << QList<int>{2, 0, 3, 5}
            << "Übernommen: 0 Sportler, 0 Messungen, 0 Sprünge.\n"
               "4 Messungen waren schon vorhanden.\n"
               "Ausgelassen: 2 Messungen ohne Sportler, mit 0 Sprüngen.\n"
               "Ausgelassen: 3 Sprünge ohne Messung.\n"
               "Ausgelassen: 5 Sprünge unter einem Schlüssel, den mehrere Messungen teilen.";
    }
    void report() {
        QFETCH(QList<int>, written);
        QFETCH(QList<int>, left);
        QFETCH(QString, text);
        TakeoverCounts found;
        found.measurementsWithoutAthlete = left[0];
        found.jumpsOfMeasurementsWithoutAthlete = left[1];
        found.orphanedJumps = left[2];
        found.collidingJumps = left[3];
        QCOMPARE(takeover::report({written[0], written[1], written[2], written[3]}, found), text);
    }

    // A station's data moved into another database exports the same, and its measurements
    // keep their tests.
    void movingAStation() {
        TempDataDir station;
        OpenedStore stationStore(station.location);
        QVERIFY(write(stationStore, oldFolder()));
        QVERIFY(station.run("INSERT INTO units_test (Unit_ID, Test, Fallhoehe) "
                            "SELECT MIN(ID), 'Drop Jump', 40 FROM units"));
        TempDataDir shared;
        OpenedStore sharedStore(shared.location);
        const auto counts = write(sharedStore, fromStore(stationStore));
        QVERIFY(counts);
        QCOMPARE(counts->jumps, 7);
        const QList<qint64> ids{1, 2};
        QCOMPARE(Exporter(sharedStore).text(ids), Exporter(stationStore).text(ids));
        QCOMPARE(shared.scalar("SELECT COUNT(*) FROM units_test").toInt(), 1);
        QCOMPARE(shared
                     .scalar("SELECT t.Test || '/' || t.Fallhoehe FROM units_test t "
                             "JOIN units u ON u.ID = t.Unit_ID")
                     .toString(),
                 QStringLiteral("Drop Jump/40"));
    }
};

QTEST_GUILESS_MAIN(TestTakeoverWriter)
#include "tst_takeoverwriter.moc"
