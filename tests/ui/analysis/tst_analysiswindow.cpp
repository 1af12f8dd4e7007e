#include "core/base/Texts.h"
#include "core/store/Database.h"
#include "support/MainWindowFixture.h"
#include "support/WindowParts.h"
#include "ui/analysis/AnalysisWindow.h"

#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTreeWidget>
#include <QtTest>

// The analysis window on the selection of the main window; the statistics themselves are the
// analysis core's test.
class TestAnalysisWindow : public QObject {
    Q_OBJECT

    static void run(MainWindowFixture& f, const QStringList& statements) {
        Database db(f.location());
        QSqlQuery q(db.connection());
        for (const QString& statement : statements)
            QVERIFY2(q.exec(statement), qPrintable(statement));
    }

    // Athlete 1 "Meier, Anna"; measurement 1 of a series of `jumps` (SZ, FZ, Anzahl) and, with
    // `second`, a second measurement with one jump of 250/400 ms.
    static void seed(MainWindowFixture& f, const QList<QList<int>>& jumps, bool second = false) {
        QStringList statements{
            "INSERT INTO sportler (ID, Name, Vorname) VALUES (1, 'Meier', 'Anna')",
            "INSERT INTO sportler (ID, Name, Vorname) VALUES (2, 'Schulz', 'Jonas')",
            QStringLiteral("INSERT INTO units (Ref_ID, Datum, Nummer, FZ) VALUES "
                           "(1, '2026-03-01T09:00:00', 1, %1)")
                .arg(jumps.size())};
        QStringList rows;
        for (const QList<int>& j : jumps)
            rows << QStringLiteral("(1001, %1, %2, 0, %3)").arg(j[0]).arg(j[1]).arg(j[2]);
        if (!rows.isEmpty())
            statements << "INSERT INTO mr VALUES " + rows.join(", ");
        if (second)
            statements << "INSERT INTO units (Ref_ID, Datum, Nummer, FZ) VALUES "
                          "(1, '2026-03-08T09:00:00', 2, 1)"
                       << "INSERT INTO mr VALUES (1002, 250, 400, 0, 1)";
        run(f, statements);
    }

    static AnalysisWindow& open(MainWindow& w) {
        action(w, "analysisAction")->trigger();
        QCoreApplication::processEvents();
        return *part<AnalysisWindow>(w, "analysisWindow");
    }

    static QTableWidget* table(const QWidget& a) {
        return part<QTableWidget>(a, "statisticsTable");
    }

    static int bars(const QChartView* view) {
        for (QAbstractSeries* s : view->chart()->series())
            if (auto* bars = qobject_cast<QBarSeries*>(s))
                return bars->barSets().first()->count();
        return 0;
    }

    static QList<int> linePoints(const QChartView* view) {
        QList<int> out;
        for (QAbstractSeries* s : view->chart()->series())
            if (auto* line = qobject_cast<QLineSeries*>(s))
                out << line->count();
        return out;
    }

private slots:
    void init() { texts::setLocale(QLocale(QLocale::German, QLocale::Germany)); }

    // The values line of the clipboard and the points of both charts for the newest
    // measurement.
    void statisticsAndCharts_data() {
        QTest::addColumn<QList<QList<int>>>("jumps");
        QTest::addColumn<QString>("values");
        QTest::addColumn<int>("bars");
        QTest::addColumn<int>("progressPoints");
        QList<QList<int>> series999;
        for (int n = 1; n <= 999; ++n)
            series999.append({200, 500, n});

        QTest::newRow("single jump") << QList<QList<int>>{{200, 500, 1}}
                                     << "1|30,66|30,66|||200,00|500,00|1,53|1,53|" << 1 << 1;
        QTest::newRow("not measured contact and closing contact")
            << QList<QList<int>>{{200, 500, 1},
                                 {-1, 450, 2},
                                 {250, 400, 3},
                                 {160, 560, 4},
                                 {220, 0, 5}}
            << "3|38,46|29,58|9,46|32,00|203,33|486,67|2,40|1,57|-56,80" << 3 << 1;
        QTest::newRow("no valid jump")
            << QList<QList<int>>{{-1, -1, 1}, {250, 0, 2}} << "0|||||||||" << 0 << 0;
        QTest::newRow("no jumps stored") << QList<QList<int>>{} << "0|||||||||" << 0 << 0;
        QTest::newRow("999 jumps")
            << series999 << "999|30,66|30,66|0,00|0,00|200,00|500,00|1,53|1,53|0,00" << 999 << 1;
    }
    void statisticsAndCharts() {
        QFETCH(QList<QList<int>>, jumps);
        QFETCH(QString, values);
        QFETCH(int, bars);
        QFETCH(int, progressPoints);
        MainWindowFixture f;
        seed(f, jumps);
        MainWindow& w = f.start();
        AnalysisWindow& a = open(w);
        QCOMPARE(a.windowTitle(), QStringLiteral("Auswertung"));
        QVERIFY(part<QLabel>(a, "headingLabel")->text().startsWith("Meier, Anna – "));

        QTest::keyClick(&a, Qt::Key_C, Qt::ControlModifier);
        const QStringList lines = f.messages.clipboard.split('\n');
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[2], QString()); // each line ends with "\n"
        QCOMPARE(lines[0].split('\t').first(), QStringLiteral("Sprünge"));
        QCOMPARE(lines[1], QString(values).replace('|', '\t'));
        QCOMPARE(table(a)->item(1, 1)->text(), values.split('|')[1]);

        QCOMPARE(TestAnalysisWindow::bars(part<QChartView>(a, "measurementView")), bars);
        // The contact times, a point per bar.
        const QList<int> contacts = bars == 0 ? QList<int>{} : QList<int>{bars};
        QCOMPARE(linePoints(part<QChartView>(a, "measurementView")), contacts);
        if (bars == 0)
            QCOMPARE(part<QChartView>(a, "measurementView")->chart()->title(),
                     QStringLiteral("Keine gültigen Sprünge"));
        const QList<int> progress =
            progressPoints == 0 ? QList<int>{} : QList<int>{progressPoints, progressPoints};
        QCOMPARE(linePoints(part<QChartView>(a, "progressView")), progress);
        QVERIFY(f.messages.boxes.isEmpty());
        f.finish();
    }

    // The window follows the athlete grid and the history list while it is open.
    void followsTheSelection() {
        MainWindowFixture f;
        seed(f, {{200, 500, 1}}, true);
        MainWindow& w = f.start();
        AnalysisWindow& a = open(w);
        QCOMPARE(linePoints(part<QChartView>(a, "progressView")), (QList<int>{2, 2}));
        QCOMPARE(table(a)->item(5, 1)->text(), QStringLiteral("250,00")); // newest

        chooseHistoryEntry(w, 1);
        QCoreApplication::processEvents();
        QCOMPARE(table(a)->item(5, 1)->text(), QStringLiteral("200,00"));

        selectAthleteRow(w, 1); // an athlete without measurements
        QCoreApplication::processEvents();
        QCOMPARE(part<QLabel>(a, "headingLabel")->text(), QStringLiteral("Schulz, Jonas"));
        QCOMPARE(table(a)->item(0, 1)->text(), QString());
        QCOMPARE(part<QChartView>(a, "measurementView")->chart()->title(),
                 QStringLiteral("Keine Messung gewählt"));
        QCOMPARE(part<QChartView>(a, "progressView")->chart()->title(),
                 QStringLiteral("Keine Messung mit gültigen Sprüngen"));
        QVERIFY(!part<QPushButton>(a, "copyButton")->isEnabled());
        a.copyStatistics();
        QCOMPARE(f.messages.clipboardWrites, 0);
        QVERIFY(f.messages.boxes.isEmpty());
        f.finish();
    }

    // A trial of a drop-height profile shows the profile, a 10/5 series its result with the
    // rule, and another athlete's newest measurement goes beside it in a fourth column.
    void protocolsAndComparison() {
        MainWindowFixture f;
        QStringList statements{
            "INSERT INTO sportler (ID, Name, Vorname) VALUES (1, 'Meier', 'Anna')",
            "INSERT INTO sportler (ID, Name, Vorname) VALUES (2, 'Schulz', 'Jonas')",
            "INSERT INTO units (ID, Ref_ID, Datum, Nummer, FZ) VALUES "
            "(1, 1, '2026-03-01T09:00:00', 1, 10), (2, 1, '2026-03-02T09:00:00', 2, 1), "
            "(3, 1, '2026-03-02T09:05:00', 3, 1), (4, 2, '2026-03-05T09:00:00', 1, 1), "
            "(5, 2, '2026-03-06T09:00:00', 2, 1)",
            "INSERT INTO units_test (Unit_ID, Test, Fallhoehe) VALUES "
            "(1, 'Sprungserie', NULL), (2, 'Drop Jump', 20), (3, 'Drop Jump', 30), "
            "(4, 'Sprungserie', NULL), (5, 'Drop Jump', 20)",
            "INSERT INTO profile (ID, Ref_ID, Datum, Hoehen, Versuche) VALUES "
            "(1, 1, '2026-03-02T09:00:00', '20;30', 1)",
            "INSERT INTO units_protokoll (Unit_ID, Protokoll, Profil_ID) VALUES "
            "(1, '10/5', NULL), (2, 'Profil', 1), (3, 'Profil', 1)",
            "INSERT INTO mr VALUES (1002, 200, 500, 0, 1), (1003, 200, 520, 0, 1), "
            "(2001, 250, 400, 0, 1), (2002, 250, 400, 0, 1)"};
        QStringList series;
        for (int n = 1; n <= 10; ++n)
            series << QStringLiteral("(1001, %1, 500, 0, %2)").arg(90 + 10 * n).arg(n);
        statements << "INSERT INTO mr VALUES " + series.join(", ");
        run(f, statements);
        MainWindow& w = f.start();
        AnalysisWindow& a = open(w);

        // The newest is the trial at 30 cm: the profile of both heights.
        const QLabel* protocol = part<QLabel>(a, "protocolLabel");
        QVERIFY2(protocol->text().contains("Fallhöhen-Profil vom 02.03.2026") &&
                     protocol->text().contains("Optimale Fallhöhe nach RSI: 30 cm"),
                 qPrintable(protocol->text()));
        QCOMPARE(part<QTableWidget>(a, "profileTable")->rowCount(), 2);
        QCOMPARE(part<QChartView>(a, "measurementView")->chart()->title(),
                 QStringLiteral("Fallhöhen-Profil"));
        QCOMPARE(part<QComboBox>(a, "lineChooser")->currentText(),
                 QStringLiteral("Drop Jump, Fallhöhe 30 cm"));
        QVERIFY(part<QLabel>(a, "noiseLabel")->text().startsWith("Kein Band"));

        chooseHistoryEntry(w, 2); // the 10/5 series
        QCoreApplication::processEvents();
        QVERIFY2(protocol->text().contains("Mittelwert der 5 besten von 10 Sprüngen nach RSI") &&
                     protocol->text().contains("RSI (m/s): 2,59"),
                 qPrintable(protocol->text()));
        QVERIFY(part<QTableWidget>(a, "profileTable")->isHidden());
        QCOMPARE(part<QComboBox>(a, "lineChooser")->currentText(), QStringLiteral("Sprungserie"));

        auto* chooser = part<QComboBox>(a, "compareChooser");
        chooser->setCurrentIndex(
            chooser->findText("Schulz, Jonas: neueste Messung desselben Tests"));
        part<QCheckBox>(a, "compareBox")->setChecked(true);
        QCOMPARE(table(a)->columnCount(), 4);
        QVERIFY(table(a)->horizontalHeaderItem(2)->text().startsWith("Schulz, Jonas"));
        // The selected 10 jumps minus the compared one.
        QCOMPARE(table(a)->horizontalHeaderItem(3)->text(),
                 QStringLiteral("Differenz\n(gewählt − verglichen)"));
        QCOMPARE(table(a)->item(0, 3)->text(), QStringLiteral("+9"));
        // Schulz's newest is a drop jump: the newest of the same test is his Nr. 1, unless
        // another is chosen from his list.
        QVERIFY(table(a)->horizontalHeaderItem(2)->text().contains("Nr. 1"));
        auto* his = part<QComboBox>(a, "otherMeasurementChooser");
        QCOMPARE(his->count(), 3);
        his->setCurrentIndex(his->findData(qint64{2}));
        QVERIFY(table(a)->horizontalHeaderItem(2)->text().contains("Nr. 2"));
        his->setCurrentIndex(0);
        QCOMPARE(part<QChartView>(a, "measurementView")->chart()->title(),
                 QStringLiteral("Vergleich"));
        QTest::keyClick(&a, Qt::Key_C, Qt::ControlModifier);
        QVERIFY(f.messages.clipboard.startsWith("Kennwert\tNr. 1, 01.03.2026\tSchulz, Jonas"));
        QVERIFY(f.messages.boxes.isEmpty());
        f.finish();
    }

    void chartsSavedAsOnePicture() {
        MainWindowFixture f;
        seed(f, {{200, 500, 1}, {250, 400, 2}}, true);
        MainWindow& w = f.start();
        AnalysisWindow& a = open(w);
        const QString path = f.dir.filePath("charts.png");
        f.messages.fileNames << path << f.dir.filePath("missing/charts.png");
        part<QPushButton>(a, "saveImageButton")->click();
        QCOMPARE(f.messages.saveRequests.size(), 1);
        QCOMPARE(f.messages.saveRequests[0].filter, QStringLiteral("PNG-Bild|*.png"));
        const QImage image(path);
        QCOMPARE(image.size(), QSize(1000, 900));
        // Both halves hold a chart: neither is blank.
        for (const QRect half : {QRect(0, 0, 1000, 450), QRect(0, 450, 1000, 450)}) {
            const QImage part = image.copy(half);
            bool drawn = false;
            for (int y = 0; y < part.height() && !drawn; y += 3)
                for (int x = 0; x < part.width() && !drawn; x += 3)
                    drawn = part.pixel(x, y) != part.pixel(0, 0);
            QVERIFY(drawn);
        }
        QVERIFY(f.messages.boxes.isEmpty());

        part<QPushButton>(a, "saveImageButton")->click();
        QCOMPARE(f.messages.boxes.size(), 1);
        QVERIFY2(
            f.messages.boxes[0].text.startsWith(QStringLiteral("Datei \"%1\" kann nicht erstellt "
                                                               "werden.")
                                                    .arg(f.dir.filePath("missing/charts.png"))),
            qPrintable(f.messages.boxes[0].text));
        f.finish();
    }
};

QTEST_MAIN(TestAnalysisWindow)
#include "tst_analysiswindow.moc"
