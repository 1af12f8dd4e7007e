#include "core/base/Texts.h"
#include "core/export/ExportFormat.h"
#include "core/store/AthleteSearch.h"
#include "core/store/Database.h"
#include "core/store/ResultSet.h"
#include "support/MainWindowFixture.h"
#include "ui/ResultSetModel.h"

#include <QAction>
#include <QApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableView>
#include <QTreeWidget>
#include <QtTest>

namespace {

const QLocale kGerman(QLocale::German, QLocale::Germany);
const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);
const QLocale kArabic(QLocale::Arabic, QLocale::Egypt);

// Six athletes: Müller with a single measurement, a series with a midnight time and a
// missing contact time, and a second series; a surname with ";"; a name with a letter
// outside Windows-1252; one without measurements; Meier with a measurement without jumps and
// one numbered 1000; Meiners with one jump. A stray jump row sits under the key that
// Meier's measurement 1000 would get from ID × 1000 + number.
void seed(const QString& directory) {
    Database db(directory);
    Database::Transaction transaction(db);
    QSqlQuery q(db.connection());
    auto run = [&q](const QString& statement) {
        if (!q.exec(statement))
            qFatal("seed failed: %s", qPrintable(q.lastError().text()));
    };
    const char* athletes[][2] = {{"Müller", "Jörg"}, {"Semi;colon", "Eva"}, {"Dvořák", "Šárka"},
                                 {"Leer", "Otto"},   {"Meier", "Hans"},     {"Meiners", "Anna"}};
    for (const auto& a : athletes)
        run(QStringLiteral("INSERT INTO sportler (Name, Vorname, Geschl) VALUES ('%1', '%2', 0)")
                .arg(QString::fromUtf8(a[0]), QString::fromUtf8(a[1])));
    const char* units[] = {"1, '2026-12-06T19:05:09', 1, 1",    "1, '2026-12-07T00:00:00', 2, 4",
                           "2, '2025-01-02T08:09:10', 1, 1",    "1, '2026-12-08T10:11:12', 3, 2",
                           "3, '2024-02-29T23:59:59', 1, 1",    "5, '2026-01-01T12:00:00', 1, 0",
                           "5, '2026-03-04T05:06:07', 1000, 1", "6, '2023-05-06T07:08:09', 1, 1"};
    for (const char* u : units)
        run(QStringLiteral("INSERT INTO units (Ref_ID, Datum, Nummer, FZ) VALUES (%1)")
                .arg(QLatin1String(u)));
    const char* jumps[] = {"1001, 200, 500, 1.25, 1", "1002, 180, 450, 1.13, 2",
                           "1002, 150, 600, 2.4, 1",  "1002, -1, 300, -90, 3",
                           "1002, 210, 0, 0, 4",      "2001, 215, 400, 0.74, 1",
                           "1003, 0, 0, 0, 2",        "1003, 190, 550, 1.59, 1",
                           "3001, 250, 300, 0.36, 1", "-5001000, 120, 700, 4.08, 1",
                           "6000, 999, 999, 9.99, 1", "6001, 100, 1000, 10, 1"};
    for (const char* j : jumps)
        run(QStringLiteral("INSERT INTO mr (Serie, SZ, FZ, Eff, Anzahl) VALUES (%1)")
                .arg(QLatin1String(j)));
    transaction.commit();
}

QByteArray golden(const QString& name) {
    QFile file(QStringLiteral(KALVERO_TEST_DATA "/export/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing expected file %s", qPrintable(name));
    return file.readAll();
}

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<no file>");
}

// A started main window on the seeded tables, with the given locale.
struct ExportFixture {
    MainWindowFixture f;
    TForm1* w = nullptr;
    // For every opening of the measurement query during an export (once per athlete): was
    // the jump grid detached and the hourglass showing?
    QList<bool> busyWhileReading;

    explicit ExportFixture(const QLocale& locale) {
        texts::setLocale(locale);
        seed(f.dataDirectory());
        w = &f.start();
        QObject::connect(&w->Query2(), &ResultSet::opened, [this] {
            const QCursor* cursor = QApplication::overrideCursor();
            busyWhileReading << (w->DataSource3->resultSet() == nullptr && cursor &&
                                 cursor->shape() == Qt::WaitCursor);
        });
    }
    QString target(const QString& name = QStringLiteral("export.txt")) const {
        return f.dir.filePath(name);
    }
    void selectAthlete(qint64 id) { QVERIFY(w->Query1().locate(QStringLiteral("ID"), id)); }
    void exportBy(QAction* action) {
        busyWhileReading.clear();
        action->trigger();
    }
    // The state every export leaves behind, whatever its outcome.
    void verifyRestored(QChar separator) const {
        QCOMPARE(texts::decimalSeparator(), separator);
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QCOMPARE(w->DataSource3->resultSet(), &w->Query3());
        QVERIFY(!busyWhileReading.contains(false));
    }
};

} // namespace

class TestExport : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { texts::setLocale(kGerman); }

    void windows1252_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ASCII and line ends") << "a;B 1,5\r\n" << QByteArray("a;B 1,5\r\n");
        QTest::newRow("Latin-1 letters") << "Müller Jörg ß é ÿ"
                                         << QByteArray("M\xfcller J\xf6rg "
                                                       "\xdf \xe9 \xff");
        QTest::newRow("euro, dagger, dashes, quotes")
            << QString::fromUtf8("€†–—„“”‘’…")
            << QByteArray("\x80\x86\x96\x97\x84\x93\x94\x91\x92"
                          "\x85");
        QTest::newRow("letters of the 0x80 row")
            << QString::fromUtf8("ŠšŽžŒœŸƒ") << QByteArray("\x8a\x9a\x8e\x9e\x8c\x9c\x9f\x83");
        QTest::newRow("trade mark, per mille, circumflex, tilde")
            << QString::fromUtf8("™‰ˆ˜‹›•") << QByteArray("\x99\x89\x88\x98\x8b\x9b\x95");
        QTest::newRow("the five unassigned bytes")
            << QString::fromUtf8("\u0081\u008d\u008f\u0090\u009d")
            << QByteArray("\x81\x8d\x8f\x90\x9d");
        QTest::newRow("other C1 controls") << QString::fromUtf8("\u0080\u009f") << QByteArray("??");
        QTest::newRow("outside the code page") << "Dvořák Łódź Ω"
                                               << QByteArray("Dvo?\xe1k ?\xf3"
                                                             "d? ?");
        QTest::newRow("outside the basic plane is one character")
            << QString::fromUtf8("a\U0001F600b") << QByteArray("a?b");
        QTest::newRow("lone surrogate") << QString(QChar(0xD800)) << QByteArray("?");
        QTest::newRow("empty") << QString() << QByteArray();
    }
    void windows1252() {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(exportfile::toWindows1252(text), bytes);
    }

    void numbers_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("contact time") << 215.0 << "215,000";
        QTest::newRow("not measured") << -1.0 << "-1,000";
        QTest::newRow("zero") << 0.0 << "0,000";
        QTest::newRow("negative zero") << -0.0 << "0,000";
        QTest::newRow("negative rounding to zero") << -0.0004 << "0,000";
        QTest::newRow("negative efficiency") << -250.0 << "-250,000";
        QTest::newRow("height") << 30.7 << "30,700";
        QTest::newRow("rounded half up") << 1.0625 << "1,063";
        QTest::newRow("no thousands separator") << 1234567.0 << "1234567,000";
    }
    void numbers() {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(exportfile::number(value), text);
    }

    void dateAndTime_data() {
        QTest::addColumn<QDateTime>("moment");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("time");
        QTest::newRow("evening") << QDateTime(QDate(2026, 12, 6), QTime(19, 5, 9)) << "06.12.2026"
                                 << "19:05:09";
        QTest::newRow("midnight") << QDateTime(QDate(2026, 12, 7), QTime(0, 0)) << "07.12.2026"
                                  << "00:00:00";
        QTest::newRow("last second of a leap day")
            << QDateTime(QDate(2024, 2, 29), QTime(23, 59, 59)) << "29.02.2024"
            << "23:59:59";
        QTest::newRow("milliseconds dropped")
            << QDateTime(QDate(2025, 1, 2), QTime(8, 9, 10, 999)) << "02.01.2025"
            << "08:09:10";
        QTest::newRow("not stored") << QDateTime() << ""
                                    << "";
    }
    void dateAndTime() {
        QFETCH(QDateTime, moment);
        QFETCH(QString, date);
        QFETCH(QString, time);
        QCOMPARE(exportfile::dateColumn(moment), date);
        QCOMPARE(exportfile::timeColumn(moment), time);
    }

    // The export of the selected athlete: file, clipboard and the state left behind.
    void singleExport_data() {
        QTest::addColumn<qint64>("athlete");
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("expected");
        QTest::newRow("one athlete") << qint64(1) << kGerman << "one-athlete.txt";
        QTest::newRow("one athlete, US locale") << qint64(1) << kEnglish << "one-athlete.txt";
        QTest::newRow("one athlete, Arabic locale") << qint64(1) << kArabic << "one-athlete.txt";
        QTest::newRow("name with semicolon") << qint64(2) << kGerman << "semicolon-in-name.txt";
        QTest::newRow("non-Latin-1 name") << qint64(3) << kGerman << "non-latin1-name.txt";
        QTest::newRow("no measurements") << qint64(4) << kGerman << "header-only.txt";
    }
    void singleExport() {
        QFETCH(qint64, athlete);
        QFETCH(QLocale, locale);
        QFETCH(QString, expected);
        ExportFixture x(locale);
        x.selectAthlete(athlete);
        const QChar separator = texts::decimalSeparator();
        x.f.ui.fileNames << x.target();

        x.exportBy(x.w->SingleExport);

        QVERIFY2(x.f.ui.boxes.isEmpty(), qPrintable(x.f.ui.texts().join('\n')));
        QCOMPARE(x.f.ui.saveRequests.size(), 1);
        QCOMPARE(x.f.ui.saveRequests[0].title, QStringLiteral("einzelnen Sportler exportieren"));
        QCOMPARE(x.f.ui.saveRequests[0].filter, QStringLiteral("Textdatei|*.txt"));
        QCOMPARE(x.f.ui.saveRequests[0].defaultSuffix, QStringLiteral("txt"));
        const QByteArray bytes = golden(expected);
        QCOMPARE(contentOf(x.target()), bytes);
        QCOMPARE(x.f.ui.clipboardWrites, 1);
        QCOMPARE(exportfile::toWindows1252(x.f.ui.clipboard), bytes);
        if (athlete == 3)
            QVERIFY(x.f.ui.clipboard.startsWith(exportfile::kHeader + "\r\nDvořák;Šárka;"));
        QVERIFY(!x.busyWhileReading.isEmpty());
        x.verifyRestored(separator);
        QCOMPARE(x.w->Query1().asInteger("ID"), athlete);
    }

    // The export of every athlete the grid lists.
    void allExport_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QStringList>("search"); // statement of the athlete grid, if any
        QTest::addColumn<QString>("expected");
        QTest::addColumn<qint64>("lastAthlete");
        QTest::addColumn<QString>(
            "lastHeight"); // height of his newest measurement, "_" = separator
        QTest::newRow("all athletes")
            << kGerman << QStringList() << "all-athletes.txt" << qint64(6) << "123_00";
        QTest::newRow("all athletes, US locale")
            << kEnglish << QStringList() << "all-athletes.txt" << qint64(6) << "123_00";
        QTest::newRow("after a search")
            << kEnglish << athletes::searchStatement(athletes::SearchBy::Surname, "mei")
            << "after-search.txt" << qint64(5) << "60_10";
    }
    void allExport() {
        QFETCH(QLocale, locale);
        QFETCH(QStringList, search);
        QFETCH(QString, expected);
        QFETCH(qint64, lastAthlete);
        QFETCH(QString, lastHeight);
        ExportFixture x(locale);
        if (!search.isEmpty()) {
            ResultSet& q1 = x.w->Query1();
            q1.setSql(search);
            q1.open();
            q1.first();
        }
        const QChar separator = texts::decimalSeparator();
        x.f.ui.fileNames << x.target();

        x.exportBy(x.w->AllExport);

        QVERIFY2(x.f.ui.boxes.isEmpty(), qPrintable(x.f.ui.texts().join('\n')));
        QCOMPARE(x.f.ui.saveRequests.size(), 1);
        QCOMPARE(x.f.ui.saveRequests[0].title, QStringLiteral("alle Sportler exportieren"));
        QCOMPARE(x.f.ui.saveRequests[0].filter, QStringLiteral("Textdatei|*.txt"));
        QCOMPARE(x.f.ui.saveRequests[0].defaultSuffix, QStringLiteral("txt"));
        QCOMPARE(contentOf(x.target()), golden(expected));
        QCOMPARE(x.f.ui.clipboardWrites, 0);
        QVERIFY(!x.busyWhileReading.isEmpty());
        x.verifyRestored(separator);
        // The grid ends on the last athlete, whose history was built with the separator in
        // force.
        QCOMPARE(x.w->Query1().asInteger("ID"), lastAthlete);
        QVERIFY(x.w->ListView2->topLevelItemCount() > 0);
        QCOMPARE(x.w->ListView2->topLevelItem(0)->text(6),
                 QString(lastHeight).replace('_', separator));
    }

    void cancelledExport_data() {
        QTest::addColumn<QString>("action");
        QTest::newRow("single") << "SingleExport";
        QTest::newRow("all") << "AllExport";
    }
    void cancelledExport() {
        QFETCH(QString, action);
        ExportFixture x(kEnglish);
        const qint64 athlete = x.w->Query1().asInteger("ID");
        x.exportBy(x.w->action(action));
        QCOMPARE(x.f.ui.saveRequests.size(), 1);
        QVERIFY(x.busyWhileReading.isEmpty());
        QVERIFY(x.f.ui.boxes.isEmpty());
        QCOMPARE(x.f.ui.clipboardWrites, 0);
        QCOMPARE(QDir(x.f.dir.path()).entryList({"*.txt"}), QStringList());
        x.verifyRestored(QLatin1Char('.'));
        QCOMPARE(x.w->Query1().asInteger("ID"), athlete);
    }

    // A file of that name is replaced without a question, also by the second export.
    void existingFileIsReplaced() {
        ExportFixture x(kGerman);
        {
            QFile old(x.target());
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write(QByteArray(4000, 'x'));
        }
        x.f.ui.fileNames << x.target() << x.target();
        x.w->AllExport->trigger();
        QCOMPARE(contentOf(x.target()), golden("all-athletes.txt"));
        x.selectAthlete(2);
        x.w->SingleExport->trigger();
        QCOMPARE(contentOf(x.target()), golden("semicolon-in-name.txt"));
        QVERIFY(x.f.ui.boxes.isEmpty());
        QCOMPARE(QDir(x.f.dir.path()).entryList({"export*"}), QStringList{"export.txt"});
    }

    // A file that cannot be created: the message, nothing written, nothing on the clipboard,
    // and the cursor, the grid and the separator as before.
    void unwritableTarget_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("target"); // "@" stands for the test's own directory
        for (const char* action : {"SingleExport", "AllExport"}) {
            const QString a = QLatin1String(action);
            QTest::addRow("%s, missing directory", action) << a << "@/missing/export.txt";
            QTest::addRow("%s, a directory", action) << a << "@/data";
            QTest::addRow("%s, process file system", action) << a << "/proc/kalvero-export.txt";
        }
    }
    void unwritableTarget() {
        QFETCH(QString, action);
        QFETCH(QString, target);
        ExportFixture x(kGerman);
        target.replace('@', x.f.dir.path());
        x.f.ui.clipboard = QStringLiteral("before");
        x.f.ui.fileNames << target;

        x.exportBy(x.w->action(action));

        QCOMPARE(x.f.ui.boxes.size(), 1);
        QVERIFY(!x.busyWhileReading.isEmpty());
        const MessageBox& box = x.f.ui.boxes[0];
        QCOMPARE(box.title, QStringLiteral("Kalvero"));
        QCOMPARE(box.buttons, QStringList{"OK"});
        const QString start =
            QStringLiteral("Datei \"%1\" kann nicht erstellt werden. ").arg(target);
        QVERIFY2(box.text.startsWith(start), qPrintable(box.text));
        QVERIFY2(box.text.size() > start.size(), "the system's reason is missing");
        QCOMPARE(x.f.ui.clipboardWrites, 0);
        QCOMPARE(x.f.ui.clipboard, QStringLiteral("before"));
        QVERIFY(!QFileInfo(target).isFile());
        x.verifyRestored(QLatin1Char(','));
    }

    // With the jump grid showing a series, it still shows that series after the export.
    void selectedSeriesStaysInTheGrid() {
        ExportFixture x(kGerman);
        x.w->Action14->trigger();
        QTreeWidgetItem* older = nullptr;
        for (int i = 0; i < x.w->ListView2->topLevelItemCount(); ++i)
            if (x.w->ListView2->topLevelItem(i)->text(7) == "2")
                older = x.w->ListView2->topLevelItem(i);
        QVERIFY(older);
        x.w->ListView2->setCurrentItem(older);
        QVERIFY(x.w->DBGrid3->isVisible());
        QCOMPARE(x.w->DataSource3->rowCount(), 4);
        x.f.ui.fileNames << x.target();

        x.w->SingleExport->trigger();

        QCOMPARE(contentOf(x.target()), golden("one-athlete.txt"));
        QCOMPARE(x.w->SelectedHistoryItem(), older);
        QCOMPARE(x.w->DataSource3->rowCount(), 4);
        x.w->Query3().first();
        QCOMPARE(x.w->Query3().asInteger("FZ"), 600);
    }
};

QTEST_MAIN(TestExport)
#include "tst_export.moc"
