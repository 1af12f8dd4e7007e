#include "core/analysis/Comparison.h"
#include "core/analysis/Progress.h"
#include "core/base/Texts.h"
#include "core/measure/Metrics.h"

#include <QtTest>

using analysis::MeasurementJumps;
using analysis::ProgressPoint;
using progress::Line;

// The progress lines of an athlete, the noise band over them, their date axis and two
// measurements compared; the values worked out by hand.
class TestProgress : public QObject {
    Q_OBJECT

    static MeasurementJumps measurement(qint64 measurementNumber, const QString& day,
                                        const QString& test, std::optional<int> dropHeight,
                                        bool series, double flightMs = 500) {
        return {QDateTime::fromString(day, Qt::ISODate),
                measurementNumber,
                {{200, flightMs, 1}},
                {test, dropHeight},
                series};
    }

    static QList<MeasurementJumps> athlete() {
        return {measurement(1, "2026-03-01T09:00:00", "", std::nullopt, false),
                measurement(2, "2026-03-01T09:10:00", "Drop Jump", 40, false),
                measurement(3, "2026-03-02T09:00:00", "Drop Jump", 30, false, 520),
                measurement(4, "2026-03-03T09:00:00", "Sprungserie", std::nullopt, true),
                measurement(5, "2026-03-04T09:00:00", "", std::nullopt, true),
                measurement(6, "2026-03-05T09:00:00", "Drop Jump", 30, false, 480),
                measurement(7, "2026-03-06T09:00:00", "Drop Jump", 30, true)};
    }

private slots:
    void init() { texts::setLocale(QLocale(QLocale::German, QLocale::Germany)); }

    // One line per test, drop height and kind, in the chooser's order and with its text; the
    // points of one line only.
    void lines() {
        const QList<MeasurementJumps> all = athlete();
        const QList<Line> lines = progress::linesOf(all);
        QStringList texts;
        for (const Line& line : lines)
            texts << progress::lineText(line, lines);
        QCOMPARE(texts,
                 (QStringList{"Drop Jump, Fallhöhe 30 cm, Einzelmessungen",
                              "Drop Jump, Fallhöhe 30 cm, Serien", "Drop Jump, Fallhöhe 40 cm",
                              "Sprungserie", "Ohne Test, Einzelmessungen", "Ohne Test, Serien"}));

        const QList<ProgressPoint> points = progress::pointsOf(all, lines[0]);
        QCOMPARE(points.size(), 2);
        QCOMPARE(points[0].measurementNumber, 3);
        QCOMPARE(points[1].measurementNumber, 6);
        // 480 ms of flight: 28.2528 cm.
        QVERIFY(qAbs(*points[1].bestHeightCm - 28.2528) < 1e-3);

        QCOMPARE(progress::defaultLine(all, 2), lines[2]);
        QCOMPARE(progress::defaultLine(all, std::nullopt), lines[1]); // the newest
        QCOMPARE(progress::defaultLine(all, 99), lines[1]);
        QVERIFY(!progress::defaultLine({}, std::nullopt));
    }

    // RSI 1.0, 1.2, 1.1, 1.4, 1.0 on days of their own: differences 0.2, -0.1, 0.3, -0.4 with
    // the mean 0 and the SD √0.1, so the typical error is √0.05 = 0.2236, shown and drawn as
    // 0,22; the last two changes exceed it. The band follows the repetitions of a day where
    // there are any: the pairs 1,80/1,84, 1,90/1,86, 1,75/1,79 give 0.0327, shown 0,03. A change
    // is marked only when it also exceeds the smallest worthwhile change.
    void noise_data() {
        QTest::addColumn<QList<double>>("rsis");
        QTest::addColumn<QList<int>>("days");     // of March; none: one day each
        QTest::addColumn<double>("worthwhile");   // -1: none
        QTest::addColumn<double>("typicalError"); // -1: none
        QTest::addColumn<QList<qint64>>("marked");
        const QList<double> four{1.0, 1.2, 1.1, 1.4, 1.0};
        QTest::newRow("four pairs") << four << QList<int>{} << 0.01 << 0.22 << QList<qint64>{4, 5};
        QTest::newRow("a worthwhile change above the band")
            << four << QList<int>{} << 0.35 << 0.22 << QList<qint64>{5};
        QTest::newRow("no worthwhile change: nothing marked")
            << four << QList<int>{} << -1.0 << 0.22 << QList<qint64>{};
        QTest::newRow("a measurement without a valid jump is no trial")
            << QList<double>{1.0, -1, 1.2, 1.1, 1.4, 1.0} << QList<int>{} << 0.01 << 0.22
            << QList<qint64>{5, 6};
        QTest::newRow("steady: every change exceeds no noise")
            << QList<double>{1.0, 1.1, 1.2, 1.3} << QList<int>{} << 0.01 << 0.0
            << QList<qint64>{2, 3, 4};
        QTest::newRow("two pairs: no band")
            << QList<double>{1.0, 1.5, 1.0} << QList<int>{} << 0.01 << -1.0 << QList<qint64>{};
        QTest::newRow("test-retest pairs of a day")
            << QList<double>{1.80, 1.84, 1.90, 1.86, 1.75, 1.79} << QList<int>{2, 2, 9, 9, 16, 16}
            << 0.05 << 0.03 << QList<qint64>{3, 5};
    }
    void noise() {
        QFETCH(QList<double>, rsis);
        QFETCH(QList<int>, days);
        QFETCH(double, worthwhile);
        QFETCH(double, typicalError);
        QFETCH(QList<qint64>, marked);
        QList<ProgressPoint> points;
        for (int i = 0; i < rsis.size(); ++i) {
            ProgressPoint point;
            point.measurementNumber = i + 1;
            point.moment =
                QDateTime(QDate(2026, 3, days.isEmpty() ? i + 1 : days[i]), QTime(10, i));
            if (rsis[i] >= 0)
                point.bestRsi = rsis[i];
            points << point;
        }
        std::optional<realchange::Worthwhile> set;
        if (worthwhile >= 0)
            set = realchange::Worthwhile{worthwhile};
        const progress::Noise noise = progress::noise(points, progress::Measure::BestRsi, set);
        QCOMPARE(noise.typicalError.has_value(), typicalError >= 0);
        if (noise.typicalError)
            QVERIFY(qAbs(*noise.typicalError - typicalError) < 1e-9);
        else
            QVERIFY(noise.note.contains("mindestens 3 Paare"));
        QCOMPARE(noise.exceeding, marked);
        const QString text = progress::noiseText(noise, progress::Measure::BestRsi);
        if (noise.typicalError)
            QVERIFY2(
                text.contains(
                    QStringLiteral("± %1 m/s").arg(metrics::fixedText(*noise.typicalError, 2))),
                qPrintable(text));
        QCOMPARE(text.contains("kleinste bedeutsame Änderung 0,"), set && noise.typicalError);
    }

    void dateAxis_data() {
        QTest::addColumn<QStringList>("moments");
        QTest::addColumn<QList<double>>("places");
        QTest::addColumn<QStringList>("labels"); // text@end
        QTest::addColumn<QString>("title");
        QTest::newRow("two on one day, a day between, one day later")
            << QStringList{"2026-03-01T09:00:00", "2026-03-01T10:00:00", "2026-03-02T09:00:00",
                           "2026-03-05T12:00:00"}
            << QList<double>{0.25, 0.75, 1.5, 2.5} << QStringList{"01.03@1", "02.03@2", "05.03@3"}
            << "Datum (2026)";
        QTest::newRow("over the turn of a year: the whole date")
            << QStringList{"2025-12-31T09:00:00", "2026-01-02T10:00:00"} << QList<double>{0.5, 1.5}
            << QStringList{"31.12.2025@1", "02.01.2026@2"} << "Datum";
        QTest::newRow("all on one day: their times, equal ones numbered")
            << QStringList{"2026-03-01T09:00:00", "2026-03-01T09:00:30", "2026-03-01T10:30:00"}
            << QList<double>{1 / 6.0, 0.5, 5 / 6.0}
            << QStringList{"09:00@0.333", "09:00 (2)@0.667", "10:30@1"} << "Uhrzeit am 01.03.2026";
        QStringList days;
        QList<double> places;
        for (int d = 0; d < 25; ++d) {
            days << QDateTime(QDate(2026, 1, 1).addDays(d * 2), QTime(8, 0)).toString(Qt::ISODate);
            places << d + 0.5;
        }
        // 25 days, eight labels at most: four days to a label.
        QStringList grouped;
        for (int d = 0; d < 24; d += 4)
            grouped << QStringLiteral("%1@%2")
                           .arg(QDate(2026, 1, 1).addDays(d * 2).toString("dd.MM"))
                           .arg(d + 4);
        grouped << "18.02@25";
        QTest::newRow("25 days: four to a label") << days << places << grouped << "Datum (2026)";
    }
    void dateAxis() {
        QFETCH(QStringList, moments);
        QFETCH(QList<double>, places);
        QFETCH(QStringList, labels);
        QFETCH(QString, title);
        QList<QDateTime> at;
        for (const QString& m : moments)
            at << QDateTime::fromString(m, Qt::ISODate);
        const progress::DateAxis axis = progress::dateAxis(at);
        QCOMPARE(axis.places.size(), places.size());
        for (int i = 0; i < places.size(); ++i)
            QVERIFY2(qAbs(axis.places[i] - places[i]) < 1e-9, qPrintable(QString::number(i)));
        QStringList got;
        for (const progress::AxisLabel& label : axis.labels)
            got << QStringLiteral("%1@%2").arg(label.text).arg(label.end, 0, 'g', 3);
        QCOMPARE(got, labels);
        QCOMPARE(axis.title, title);
        QCOMPARE(axis.end, axis.labels.last().end);
    }

    // 200/500 ms selected, compared with 250/400 ms and two jumps: the selected minus the
    // compared, signed, so that the selected's higher RSI reads as a rise.
    void comparison() {
        const auto first = analysis::jumpStatistics({{200, 500, 1}});
        const auto second = analysis::jumpStatistics({{250, 400, 1}, {200, 500, 2, true}});
        const QList<analysis::ComparisonRow> rows = analysis::comparison(first, second);
        QStringList differences;
        for (const analysis::ComparisonRow& row : rows)
            differences << row.difference;
        // Heights 30.66 and 19.62 cm, RSI 1.53 and 0.78 m/s.
        QCOMPARE(differences, (QStringList{"0", "+11,04", "+11,04", "", "", "-50,00", "+100,00",
                                           "+0,75", "+0,75", ""}));
        QCOMPARE(rows[1].first, QStringLiteral("30,66"));
        QCOMPARE(rows[1].second, QStringLiteral("19,62"));
        QCOMPARE(
            analysis::comparisonClipboardText(rows, "A", "B").section('\n', 0, 1),
            QStringLiteral("Kennwert\tA\tB\tDifferenz (gewählt − verglichen)\nSprünge\t1\t1\t0"));
    }
};

QTEST_GUILESS_MAIN(TestProgress)
#include "tst_progress.moc"
