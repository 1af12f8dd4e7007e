#include "core/analysis/ProtocolResults.h"
#include "core/base/Errors.h"
#include "core/base/Texts.h"
#include "core/measure/ProtocolRun.h"
#include "core/store/DataStore.h"
#include "core/store/SeriesKey.h"

#include <QSqlQuery>

#include "support/TempDataDir.h"
#include <QtTest>

using protocols::ProfileTrial;
using Trials = QList<ProfileTrial>;

// Values worked out by hand from g·TF²/8 (g = 9.81) and RSI = height in m / contact time in s:
// 500 ms of flight are 30.65625 cm, 480 ms 28.2528 cm, 450 ms 24.8316 cm.
namespace {
const analysis::StoredJump kA{200, 500, 1}; // RSI 1.5328
const analysis::StoredJump kB{180, 480, 1}; // RSI 1.5696
const analysis::StoredJump kC{220, 480, 1}; // RSI 1.2842
const analysis::StoredJump kD{240, 450, 1}; // RSI 1.0346
const analysis::StoredJump kE{260, 500, 1}; // RSI 1.1791
const analysis::StoredJump kF{270, 500, 1}; // RSI 1.1354
const analysis::StoredJump kNotMeasured{-1, 500, 1};
} // namespace

class TestProtocolRun : public QObject {
    Q_OBJECT

private slots:
    void init() { texts::setLocale(QLocale(QLocale::German, QLocale::Germany)); }

    // The heights as typed: whole numbers from 0 to 150 cm, rising, at most 20; anything else
    // is refused with a message that names the fault.
    void heights_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("heights");
        QTest::addColumn<QString>("error");
        QTest::newRow("the default")
            << "20, 30, 40, 50, 60" << QList<int>{20, 30, 40, 50, 60} << QString();
        QTest::newRow("semicolons and blanks")
            << " 0;45  90 ,150 " << QList<int>{0, 45, 90, 150} << QString();
        QTest::newRow("one height") << "35" << QList<int>{35} << QString();
        QTest::newRow("a comma at the end") << "20, 30," << QList<int>{20, 30} << QString();
        QTest::newRow("a height left out")
            << "20,30,,40" << QList<int>{}
            << "In „20,30,,40“ fehlt eine Fallhöhe zwischen zwei Kommas.";
        QTest::newRow("a comma first")
            << ", 20" << QList<int>{} << "In „, 20“ fehlt eine Fallhöhe zwischen zwei Kommas.";
        QTest::newRow("blanks between commas")
            << "20; ;30" << QList<int>{}
            << "In „20; ;30“ fehlt eine Fallhöhe zwischen zwei Kommas.";
        QTest::newRow("empty") << " , " << QList<int>{}
                               << "Geben Sie die Fallhöhen des Profils in cm an, zum Beispiel "
                                  "„20, 30, 40, 50, 60“.";
        QTest::newRow("above 150 cm") << "20, 151" << QList<int>{}
                                      << "„151“ ist keine Fallhöhe: jede Fallhöhe muss eine ganze "
                                         "Zahl von 0 bis 150 cm sein.";
        QTest::newRow("negative") << "-10, 20" << QList<int>{}
                                  << "„-10“ ist keine Fallhöhe: jede Fallhöhe muss eine ganze Zahl "
                                     "von 0 bis 150 cm sein.";
        QTest::newRow("no number") << "20, 30cm" << QList<int>{}
                                   << "„30cm“ ist keine Fallhöhe: jede Fallhöhe muss eine ganze "
                                      "Zahl von 0 bis 150 cm sein.";
        QTest::newRow("falling") << "20, 40, 30" << QList<int>{}
                                 << "Die Fallhöhen müssen ansteigen: auf 40 cm folgt 30 cm.";
        QTest::newRow("twice the same")
            << "20, 20" << QList<int>{} << "Die Fallhöhen müssen ansteigen: auf 20 cm folgt 20 cm.";
        QStringList many;
        for (int h = 0; h <= 20; ++h)
            many << QString::number(h * 5);
        QTest::newRow("21 heights") << many.join(", ") << QList<int>{}
                                    << "Ein Profil hat höchstens 20 Fallhöhen, angegeben sind 21.";
    }
    void heights() {
        QFETCH(QString, text);
        QFETCH(QList<int>, heights);
        QFETCH(QString, error);
        try {
            QCOMPARE(protocolrun::parseHeights(text), heights);
            QVERIFY(error.isEmpty());
            QCOMPARE(protocolrun::parseHeights(protocolrun::heightsText(heights)), heights);
        } catch (const AppError& e) {
            QCOMPARE(e.text(), error);
        }
    }

    // The course of a profile: which height and trial come next, what the latest finished
    // height gave, and the advice over the finished heights only.
    void course_data() {
        QTest::addColumn<QList<int>>("heights");
        QTest::addColumn<Trials>("trials");
        QTest::addColumn<QString>("next"); // empty: every trial done
        QTest::addColumn<QString>("finished");
        QTest::addColumn<int>("advice"); // protocols::StopAdvice
        const QList<int> three{20, 30, 40};
        const int goOn = static_cast<int>(protocols::StopAdvice::GoOn);
        QTest::newRow("nothing yet")
            << three << Trials{} << "20 cm, Versuch 1 von 2" << QString() << goOn;
        QTest::newRow("the first trial")
            << three << Trials{{20, kA}} << "20 cm, Versuch 2 von 2" << QString() << goOn;
        QTest::newRow("a jump without its contact time is tried again")
            << three << Trials{{20, kA}, {20, kNotMeasured}} << "20 cm, Versuch 2 von 2"
            << QString() << goOn;
        QTest::newRow("a height done")
            << three << Trials{{20, kA}, {20, kB}} << "30 cm, Versuch 1 von 2"
            << "20 cm: bester RSI 1,57 · beste Höhe 30,66 cm · mittlere Stützzeit 190 ms" << goOn;
        QTest::newRow("the RSI falls at a height not yet done: no advice")
            << three << Trials{{20, kA}, {20, kB}, {30, kC}, {30, kC}, {40, kD}}
            << "40 cm, Versuch 2 von 2"
            << "30 cm: bester RSI 1,28 · beste Höhe 28,25 cm · mittlere Stützzeit 220 ms" << goOn;
        QTest::newRow("the RSI fell at two heights in a row")
            << three << Trials{{20, kA}, {20, kB}, {30, kC}, {30, kC}, {40, kD}, {40, kD}}
            << QString()
            << "40 cm: bester RSI 1,03 · beste Höhe 24,83 cm · mittlere Stützzeit 240 ms"
            << static_cast<int>(protocols::StopAdvice::RsiFalling);
        QTest::newRow("long contacts")
            << three << Trials{{20, kA}, {20, kA}, {30, kE}, {30, kF}} << "40 cm, Versuch 1 von 2"
            << "30 cm: bester RSI 1,18 · beste Höhe 30,66 cm · mittlere Stützzeit 265 ms"
            << static_cast<int>(protocols::StopAdvice::ContactTooLong);
    }
    void course() {
        QFETCH(QList<int>, heights);
        QFETCH(Trials, trials);
        QFETCH(QString, next);
        QFETCH(QString, finished);
        QFETCH(int, advice);
        ProfileRun run(heights, 2);
        for (const ProfileTrial& trial : trials)
            run.addTrial(trial);
        const auto position = run.next();
        QCOMPARE(position ? ProfileRun::positionText(*position) : QString(), next);
        const auto step = run.lastFinishedHeight();
        QCOMPARE(step ? ProfileRun::heightText(*step) : QString(), finished);
        QCOMPARE(static_cast<int>(run.advice()), advice);
    }

    // The profile of a run shows the texts the analysis and the report show: two decimals, the
    // unit in the heading, one wording for a height without a valid trial; a height without a
    // valid trial keeps its row with its trials and no values.
    void resultTexts() {
        ProfileRun run({20, 30, 40}, 2);
        for (const ProfileTrial& trial :
             Trials{{20, kA}, {20, kB}, {30, kC}, {30, kNotMeasured}, {40, kNotMeasured}})
            run.addTrial(trial);
        const protocols::Profile profile = run.profile();
        QCOMPARE(protocolresults::profileTableTexts(profile),
                 (QList<QStringList>{{"20", "2", "1,57", "180", "30,66", "190,00"},
                                     {"30", "2", "1,28", "220", "28,25", "220,00"},
                                     {"40", "1", "", "", "", ""}}));
        QCOMPARE(protocolresults::profileTableHeader().at(2), QStringLiteral("Bester RSI (m/s)"));
        const QList<protocolresults::Field> optima = protocolresults::profileOptima(profile);
        QCOMPARE(protocolresults::fieldLine(optima.at(0)),
                 QStringLiteral("Optimale Fallhöhe nach RSI: 20 cm"));
        QCOMPARE(protocolresults::fieldLine(optima.at(1)),
                 QStringLiteral("Optimale Fallhöhe nach Sprunghöhe: 20 cm"));
        const protocols::Profile empty = ProfileRun({20}, 1).profile();
        QCOMPARE(protocolresults::fieldLine(protocolresults::profileOptima(empty).at(0)),
                 QStringLiteral("Optimale Fallhöhe nach RSI: keine (kein gültiger Sprung)"));
    }

    // A profile read back from the store: its trials in the order recorded, each with the
    // drop height stored with it and its exclusion; its own trials only.
    void storedTrials() {
        TestStore testStore;
        DataStore store;
        store.open(testStore.location);
        {
            QSqlQuery q(StoreInternals::database(store).connection());
            QVERIFY(
                q.exec("INSERT INTO sportler (ID, Name, Vorname) VALUES (12, 'Meier', 'Anna')"));
            TestStore::afterIds(StoreInternals::database(store));
        }
        MeasurementRepository& measurements = store.measurements();
        const QDateTime now = QDateTime::currentDateTime();
        const qint64 profile = measurements.createProfile(12, now, {20, 30}, 2);
        const qint64 other = measurements.createProfile(12, now, {20}, 1);
        const auto record = [&](int contact, std::optional<int> height, qint64 profileId) {
            return measurements.recordFirstJump(12, now, {contact, 500, 1.0, 1},
                                                {"Drop Jump", height},
                                                {Protocol::DropHeightProfile, profileId});
        };
        record(200, 20, profile);
        const Measurement excluded = record(180, 20, profile);
        record(190, 20, other);
        record(220, std::nullopt, profile); // no drop height: no trial of a height
        record(210, 30, profile);
        measurements.exclude(seriesKey(12, excluded.measurementNumber), 1,
                             {"Fehlversuch", "test", now});

        const QList<ProfileTrial> trials = protocolrun::storedTrials(measurements, profile);
        QStringList read;
        for (const ProfileTrial& trial : trials)
            read << QStringLiteral("%1 cm %2 ms%3")
                        .arg(trial.dropHeightCm)
                        .arg(trial.jump.contactMs)
                        .arg(trial.jump.excluded ? " excluded" : "");
        QCOMPARE(read, (QStringList{"20 cm 200 ms", "20 cm 180 ms excluded", "30 cm 210 ms"}));
        // The excluded jump counts nowhere: the best RSI at 20 cm is that of 200 ms.
        const protocols::Profile result = protocols::dropHeightProfile(trials);
        QCOMPARE(result.steps.first().contactOfBestRsiMs, std::optional<double>(200));
    }

    // The 10/5 result in the panel's line, rounded as shown, and the series it runs as.
    void tenFive() {
        protocols::TenFiveResult result;
        result.bestJumpIndexes = {2, 3, 5, 7, 9};
        result.meanRsi = 2.125;
        result.meanContactMs = 182.4;
        result.meanHeightCm = 38.66;
        QCOMPARE(protocolrun::tenFiveText(result),
                 QStringLiteral("RSI (beste 5 von 10): 2,13 · Stützzeit 182 ms · Höhe 38,66 cm · "
                                "Sprünge 2, 3, 5, 7, 9"));
        QCOMPARE(protocolrun::tenFiveEnd().kind, AutoEnd::Kind::AfterJumps);
        QCOMPARE(protocolrun::tenFiveEnd().limit, 10);
    }
};

QTEST_GUILESS_MAIN(TestProtocolRun)
#include "tst_protocolrun.moc"
