#include "core/base/Texts.h"
#include "core/store/Database.h"
#include "support/MainWindowFixture.h"
#include "support/WindowParts.h"

#include <QAction>
#include <QProcess>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTreeWidget>
#include <QtTest>

// The PDF report of the selected athlete, read back with poppler's tools.
class TestReport : public QObject {
    Q_OBJECT

    static QString tool(const QString& name, const QStringList& arguments) {
        QProcess p;
        p.start(name, arguments);
        if (!p.waitForFinished(60000) || p.exitCode() != 0)
            return {};
        return QString::fromUtf8(p.readAllStandardOutput());
    }

    // Athlete 1 with `count` measurements on consecutive days, each a single jump of
    // 250/400 ms, and a newest one: a series of 200/500, 250/400, 160/560 ms and a closing
    // contact. Without measurements when `count` is -1.
    static void seed(MainWindowFixture& f, const QString& name, const QString& remark, int count) {
        Database db(f.location());
        QSqlQuery q(db.connection());
        q.prepare("INSERT INTO sportler (ID, Name, Vorname, Geb, Geschl, Bemerkung1) "
                  "VALUES (1, ?, 'Anna', '1990-02-01', 1, ?)");
        q.addBindValue(name);
        q.addBindValue(remark);
        QVERIFY(q.exec());
        if (count < 0)
            return;
        QStringList units, jumps;
        const QDateTime start(QDate(2023, 1, 1), QTime(9, 0));
        for (int n = 1; n <= count; ++n) {
            units << QStringLiteral("(1, '%1', %2, 1)")
                         .arg(start.addDays(n).toString(Qt::ISODate))
                         .arg(n);
            jumps << QStringLiteral("(%1, 250, 400, 0.64, 1)").arg(seriesKeyOf(n));
        }
        const int last = count + 1;
        units << QStringLiteral("(1, '2026-03-01T10:30:00', %1, 4)").arg(last);
        for (const char* jump :
             {"200, 500, 1.25, 1", "250, 400, 0.64, 2", "160, 560, 1.96, 3", "220, 0, 0, 4"})
            jumps << QStringLiteral("(%1, %2)").arg(seriesKeyOf(last)).arg(jump);
        QVERIFY(q.exec("INSERT INTO units (Ref_ID, Datum, Nummer, FZ) VALUES " + units.join(",")));
        QVERIFY(q.exec("INSERT INTO mr VALUES " + jumps.join(",")));
        QVERIFY(q.exec(QStringLiteral("INSERT INTO units_test (Unit_ID, Test) SELECT ID, "
                                      "'Sprungserie' FROM units WHERE Nummer = %1")
                           .arg(last)));
    }
    static qint64 seriesKeyOf(int measurementNumber) { return 1000 + measurementNumber; }

private slots:
    void initTestCase() {
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
    }
    void init() { texts::setLocale(QLocale(QLocale::German, QLocale::Germany)); }

    void reportText_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("measurements");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QStringList>("unbroken"); // each on one line of a page
        QTest::newRow("a series selected")
            << "Meier" << 2 << 2
            << QStringList{"Bericht: Meier, Anna", "01.02.1990", "weibl.", "Sprint",
                           "Mittlere Stützzeit (ms)", "Serie", "Einzel",
                           "Messung Nr. 3 (Serie) vom 01.03.2026, 10:30:00",
                           // the best height and the fatigue of the series
                           "38,46", "-56,80", "Beste Höhe (cm)",
                           // its jumps, and why there is no band yet
                           "Sprünge der Messung Nr. 3", "Ausschluss", "Kein Band"}
            << QStringList{"Sprungserie", "10:30:00", "Stützzeit"};
        QTest::newRow("no measurements")
            << "Meier" << -1 << 1
            << QStringList{"Bericht: Meier, Anna", "keine Messungen gespeichert"} << QStringList{};
        QTest::newRow("a long name and remark wrap")
            << QString("Meier-Lüdenscheid-").repeated(12) << -1 << 1
            << QStringList{QString("Meier-Lüdenscheid-").repeated(12),
                           QString("Sprint und Sprung, ").repeated(20)}
            << QStringList{};
        QTest::newRow("999 measurements")
            << "Meier" << 998 << -1 << QStringList{"999"} << QStringList{"Sprungserie"};
    }
    void reportText() {
        QFETCH(QString, name);
        QFETCH(int, measurements);
        QFETCH(int, pages);
        QFETCH(QStringList, texts);
        QFETCH(QStringList, unbroken);
        MainWindowFixture f;
        if (name.size() > 50 && f.onServer())
            QSKIP("the server's name column holds 50 characters, as the program writes them");
        const QString remark =
            name.size() > 20 ? QString("Sprint und Sprung, ").repeated(20) : QString("Sprint");
        seed(f, name, remark, measurements);
        MainWindow& w = f.start();
        QVERIFY(action(w, "reportAction")->isEnabled());
        const QString path = f.dir.filePath("bericht.pdf");
        f.messages.fileNames << path;
        action(w, "reportAction")->trigger();
        QVERIFY2(f.messages.boxes.isEmpty(), qPrintable(f.messages.texts().join('\n')));
        QCOMPARE(f.messages.saveRequests.size(), 1);
        QCOMPARE(f.messages.saveRequests[0].title, QStringLiteral("Bericht speichern"));
        QCOMPARE(f.messages.saveRequests[0].filter, QStringLiteral("PDF-Datei|*.pdf"));
        QCOMPARE(f.messages.saveRequests[0].defaultSuffix, QStringLiteral("pdf"));

        const QString text = tool("pdftotext", {"-layout", path, "-"});
        const QStringList pageTexts = text.split('\f', Qt::SkipEmptyParts);
        if (pages > 0)
            QCOMPARE(pageTexts.size(), pages);
        else
            QVERIFY(pageTexts.size() > 10);
        // Every page carries the program, the date and its number; every page of the table
        // its header.
        const QString today =
            QStringLiteral("Bericht vom ") + texts::dateText(QDate::currentDate());
        for (int p = 0; p < pageTexts.size(); ++p) {
            const QString& page = pageTexts[p];
            QVERIFY2(page.contains("Kalvero") && page.contains(today), qPrintable(page));
            QVERIFY(
                page.contains(QStringLiteral("Seite %1 von %2").arg(p + 1).arg(pageTexts.size())));
            const QRegularExpression tableHeader("Nr\\.\\s+Datum\\s+Uhrzeit\\s+Art\\s+Sprünge");
            if (pages < 0 && p > 0 && p + 2 < pageTexts.size())
                QVERIFY2(page.contains(tableHeader), qPrintable(page));
        }
        // The statistics stay on the page of their heading, down to the last line.
        for (const QString& page : pageTexts)
            if (page.contains(QStringLiteral("Ermüdung (%)")))
                QVERIFY2(page.contains(QStringLiteral("Messung Nr.")), qPrintable(page));
        // Wrapped lines read as one once the line breaks are gone.
        QString joined = text;
        joined.remove(QRegularExpression("\\s"));
        for (const QString& expected : texts)
            QVERIFY2(joined.contains(QString(expected).remove(' ')), qPrintable(expected));
        // A column is as wide as its widest word and its short cells: a test's name, a time
        // and a title's word are not broken.
        for (const QString& expected : unbroken)
            QVERIFY2(text.contains(expected), qPrintable(expected));
        // The charts are drawn, not pasted in as pictures.
        const QString images = tool("pdfimages", {"-list", path});
        QCOMPARE(images.count('\n'), 2); // the list's two header lines only
        f.finish();
    }

    // Without an athlete there is no report; a report that is cancelled or cannot be written
    // leaves an earlier file as it was.
    void noAthleteNoReportAndNoHalfFile() {
        MainWindowFixture f;
        MainWindow& w = f.start();
        QVERIFY(!action(w, "reportAction")->isEnabled());
        f.finish();

        seed(f, "Meier", "Sprint", 5);
        MainWindow& again = f.start();
        QVERIFY(action(again, "reportAction")->isEnabled());
        const QString path = f.dir.filePath("bericht.pdf");
        {
            QFile earlier(path);
            QVERIFY(earlier.open(QIODevice::WriteOnly) && earlier.write("earlier") == 7);
        }
        f.messages.cancelAfter = 2;
        f.messages.fileNames << path;
        action(again, "reportAction")->trigger();
        QVERIFY(f.messages.boxes.isEmpty());
        QCOMPARE(f.messages.progressLabels,
                 QStringList{"Bericht wird erstellt … 3 von 6 Messungen"});
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("earlier"));

        const QString missing = f.dir.filePath("missing/bericht.pdf");
        f.messages.cancelAfter = -1;
        f.messages.fileNames << missing;
        action(again, "reportAction")->trigger();
        QCOMPARE(f.messages.boxes.size(), 1);
        QVERIFY2(f.messages.boxes[0].text.startsWith(
                     QStringLiteral("Datei \"%1\" kann nicht erstellt werden.").arg(missing)),
                 qPrintable(f.messages.boxes[0].text));
        f.finish();
    }
};

QTEST_MAIN(TestReport)
#include "tst_report.moc"
