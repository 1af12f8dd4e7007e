#include "core/analysis/JumpAnalysis.h"
#include "core/analysis/StoredMeasurements.h"
#include "core/base/Clock.h"
#include "core/base/Texts.h"
#include "core/history/History.h"
#include "core/link/SimulatedUnit.h"
#include "core/link/TimingLink.h"
#include "core/measure/MeasurementSession.h"
#include "core/measure/Metrics.h"
#include "core/report/AthleteReport.h"
#include "core/store/DataStore.h"
#include "core/store/SeriesKey.h"

#include "support/TempDataDir.h"
#include <QtTest>

namespace {

// A single jump recorded by a run on a simulated unit, with what the run handed the window.
struct RecordedRun : SessionObserver {
    TestStore testStore;
    VirtualClock clock{1000, 1};
    std::unique_ptr<SimulatedUnit> unit;
    DeviceLink device;
    TimingLink link;
    DataStore store;
    plausibility::Limits limits;
    MeasurementSession session;
    QString fields[4]; // contact time, flight time, efficiency, height
    std::optional<NewMeasurement> created;
    QStringList said; // messages and errors

    RecordedRun(qint32 contactMs, qint32 flightMs)
        : unit(unitSending(clock, contactMs, flightMs)), device(*unit), link(device, clock),
          session(link, store, limits, *this) {
        store.open(testStore.location);
        session.mode = MeasurementMode::Single;
    }

    static std::unique_ptr<SimulatedUnit> unitSending(Clock& clock, qint32 contactMs,
                                                      qint32 flightMs) {
        const QByteArray script = QStringLiteral("300: %1 %2 %3 %4\n")
                                      .arg(contactMs >> 8)
                                      .arg(contactMs & 0xff)
                                      .arg(flightMs >> 8)
                                      .arg(flightMs & 0xff)
                                      .toLatin1();
        QString error;
        const auto parsed = parseUnitScript(script, QStringLiteral("test"), &error);
        if (!parsed)
            qFatal("bad test script: %s", qPrintable(error));
        return createScriptedUnit(clock, *parsed);
    }

    void record(qint64 athleteId) {
        session.start(athleteId);
        for (int i = 0; i < 30 && session.running(); ++i) {
            clock.advance(100);
            session.poll();
        }
    }

    void runStarting() override {}
    void runStarted() override {}
    void runStopping() override {}
    void runEnded(RunEnd) override {}
    void showField(ResultField field, const QString& text) override {
        fields[static_cast<int>(field)] = text;
    }
    void showMessage(const QString& text) override { said << text; }
    void showError(const QString& text) override { said << text; }
    void measurementCreated(const NewMeasurement& m) override { created = m; }
    void jumpRecorded(qint64) override {}
    void pollFailed(const Failure& failure) override { said << failure.text; }
};

} // namespace

// A jump's height and efficiency read the same wherever they are shown: the result panel,
// the history entry the run adds and the one read back from the tables, the jump grid, the
// analysis and the report. The jump table keeps the efficiency it always stored.
class TestValueTexts : public QObject {
    Q_OBJECT
private slots:
    void init() { texts::setLocale(QLocale(QLocale::German, QLocale::Germany)); }

    void oneTextPerValue_data() {
        QTest::addColumn<int>("contactMs");
        QTest::addColumn<int>("flightMs");
        QTest::addColumn<QString>("height");
        QTest::addColumn<QString>("efficiency");
        QTest::addColumn<double>("storedEfficiency");
        QTest::newRow("511 ms") << 200 << 511 << "32,02"
                                << "1,31" << 1.31;
        QTest::newRow("598 ms") << 200 << 598 << "43,85"
                                << "1,79" << 1.79;
        QTest::newRow("efficiency one") << 250 << 500 << "30,66"
                                        << "1,00" << 1.0;
        QTest::newRow("efficiency above ten, stored with three digits") << 65 << 900 << "99,33"
                                                                        << "12,46" << 12.5;
    }
    void oneTextPerValue() {
        QFETCH(int, contactMs);
        QFETCH(int, flightMs);
        QFETCH(QString, height);
        QFETCH(QString, efficiency);
        QFETCH(double, storedEfficiency);
        RecordedRun run(contactMs, flightMs);
        Athlete athlete;
        athlete.name = QStringLiteral("Öztürk");
        athlete.id = run.store.athletes().add(athlete);
        run.record(athlete.id);
        QCOMPARE(run.said, QStringList());
        QVERIFY(!run.session.running() && run.created);

        const QStringList panel{run.fields[2], run.fields[3]};
        const QStringList newEntry =
            history::jumpTexts(run.created->contactMs, run.created->flightMs).mid(2);
        const QList<history::Entry> entries = history::build(run.store.measurements(), athlete.id);
        QCOMPARE(entries.size(), 1);
        const QStringList readBack = entries[0].values.mid(2);
        const QList<Jump> jumps =
            run.store.measurements().jumpsOf(seriesKey(athlete.id, run.created->measurementNumber));
        QCOMPARE(jumps.size(), 1);
        QCOMPARE(jumps[0].efficiency, storedEfficiency);
        const QStringList grid{metrics::efficiencyText(jumps[0].flightMs, jumps[0].contactMs),
                               metrics::heightText(metrics::heightCm(jumps[0].flightMs))};
        const QStringList expected{efficiency, height};
        QCOMPARE(panel, expected);
        QCOMPARE(newEntry, expected);
        QCOMPARE(readBack, expected);
        QCOMPARE(grid, expected);

        // The analysis and the report show heights only: best, mean and their table.
        const QStringList statistics =
            analysis::statisticsTexts(analysis::jumpStatistics(analysis::storedJumps(jumps)));
        QCOMPARE(statistics.mid(1, 2), (QStringList{height, height}));
        const auto report =
            report::read(run.store.measurements(), athlete, run.created->measurementNumber);
        QVERIFY(report && report->selected);
        QCOMPARE(report::tableTexts(report->lines.first())[5], height);
        QCOMPARE(analysis::statisticsTexts(report->selected->statistics)[1], height);
    }
};

QTEST_GUILESS_MAIN(TestValueTexts)
#include "tst_valuetexts.moc"
