#include "core/base/Texts.h"
#include "core/export/ExportFormat.h"
#include "core/export/Exporter.h"
#include "core/store/AthleteRepository.h"
#include "core/store/Database.h"
#include "core/store/MeasurementRepository.h"
#include "support/TempDataDir.h"

#include <QDir>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <csignal>
#include <sys/resource.h>

namespace {

const QLocale kGerman(QLocale::German, QLocale::Germany);
const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);
const QLocale kArabic(QLocale::Arabic, QLocale::Egypt);

// Six athletes: Müller with a single measurement, a series with a midnight time and a
// missing contact time, and a second series; a surname with ";"; a name with a letter
// outside Windows-1252; one without measurements; Meier with a measurement without jumps and
// one numbered 1000; Meiners with one jump. A stray jump row sits under the key that
// Meier's measurement 1000 would get from ID × 1000 + number.
void seed(const StoreLocation& location) {
    Database db(location);
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

// A long series: athlete 7 with a series of 1,001 jumps stored in a shuffled order, a single
// jump, and a measurement numbered 1000; athlete 8 with a series whose jump count says more
// than it holds.
void seedLongSeries(const StoreLocation& location) {
    Database db(location);
    Database::Transaction transaction(db);
    QSqlQuery q(db.connection());
    const QStringList statements{
        "INSERT INTO sportler (ID, Name, Vorname) VALUES (7, 'Lang', 'Lea'), (8, 'Kurz', 'Kai')",
        "INSERT INTO units (Ref_ID, Datum, Nummer, FZ) VALUES (7, '2026-02-03T04:05:06', 1, "
        "1001), (7, '2026-02-04T04:05:06', 2, 1), (7, '2026-02-05T04:05:06', 1000, 1), "
        "(8, '2026-02-06T12:00:00', 1, 5)",
        "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 1000) "
        "INSERT INTO mr SELECT 7001, 100 + (i * 7919) % 1001, 300 + i % 400, "
        "round((300 + i % 400) * (300 + i % 400) / (100.0 + (i * 7919) % 1001) / 1000, 2), "
        "1 + (i * 7919) % 1001 FROM n",
        "INSERT INTO mr VALUES (7002, 210, 480, 1.1, 1), (-7001000, 190, 510, 1.37, 1), "
        "(8001, 200, 500, 1.25, 2), (8001, 201, 501, 1.25, 1)"};
    for (const QString& statement : statements)
        if (!q.exec(statement))
            qFatal("seed failed: %s", qPrintable(q.lastError().text()));
    TestStore::afterIds(db);
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

    // The file's numbers are those of Qt's fixed form with three decimals, the form the files
    // always had, for times, efficiencies and heights of every size.
    void numbersAsQtWritesThem() {
        QRandomGenerator random(7);
        for (int i = 0; i < 200000; ++i) {
            const double magnitude = std::pow(10.0, random.bounded(-4, 7));
            const double value = (random.generateDouble() - 0.3) * magnitude;
            const double stored = i % 3 == 0 ? std::round(value * 100) / 100 : value;
            QString qt = QString::number(stored, 'f', 3);
            if (qt == QStringLiteral("-0.000"))
                qt = QStringLiteral("0.000");
            QCOMPARE(exportfile::number(stored), qt.replace('.', ','));
        }
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

    // A name as stored before the editor refused separators keeps every line at eight
    // fields: ";" becomes ",", a line break or a tab a blank.
    void namesThatWouldBreakALine_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("written");
        QTest::newRow("semicolon") << "Semi;colon"
                                   << "Semi,colon";
        QTest::newRow("line break") << "Zeilen\numbruch"
                                    << "Zeilen umbruch";
        QTest::newRow("Windows line break") << "a\r\nb"
                                            << "a b";
        QTest::newRow("tab and form feed") << "a\tb\fc"
                                           << "a b c";
        QTest::newRow("line separator") << QString::fromUtf8("a\u2028b") << "a b";
        QTest::newRow("NUL byte") << QString("a") + QChar(0) + "b"
                                  << "a b";
        QTest::newRow("nothing to change") << "Müller-Lüdenscheidt"
                                           << "Müller-Lüdenscheidt";
        // A text a spreadsheet would run as a formula gets a leading apostrophe.
        QTest::newRow("formula") << "=1+2"
                                 << "'=1+2";
        QTest::newRow("plus") << "+49"
                              << "'+49";
        QTest::newRow("minus") << "-5"
                               << "'-5";
        QTest::newRow("at") << "@SUM(A1)"
                            << "'@SUM(A1)";
        QTest::newRow("leading tab") << "\t=1"
                                     << "' =1";
        QTest::newRow("leading carriage return") << "\r=1"
                                                 << "' =1";
        QTest::newRow("equals inside") << "a=b"
                                       << "a=b";
    }
    void namesThatWouldBreakALine() {
        QFETCH(QString, name);
        QFETCH(QString, written);
        TestStore store;
        if (store.onServer() && name.contains(QChar(0)))
            QSKIP("a server's text holds no NUL byte");
        Database db(store.location);
        QSqlQuery q(db.connection());
        QVERIFY(q.prepare("INSERT INTO sportler (ID, Name, Vorname) VALUES (1, ?, ?)"));
        q.addBindValue(name);
        q.addBindValue(name);
        QVERIFY(q.exec());
        QVERIFY(q.exec("INSERT INTO units (Ref_ID, Datum, Nummer, FZ) VALUES "
                       "(1, '2026-12-06T19:05:09', 1, 1)"));
        QVERIFY(q.exec("INSERT INTO mr VALUES (1001, 200, 500, 1.25, 1)"));
        OpenedStore opened(store.location);
        const QStringList lines = Exporter(opened).text({1}).split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 3); // header, the jump, and the empty rest after the last end
        QCOMPARE(lines[1].split(';').size(), 8);
        QVERIFY(lines[1].startsWith(written + ';' + written + ';'));
    }

    // The text of an export is the same whatever the locale: the golden files.
    void exportText_data() {
        QTest::addColumn<QList<qint64>>("athletes"); // empty: every athlete listed
        QTest::addColumn<QString>("surname");        // a search instead, when not empty
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("expected");
        QTest::newRow("one athlete")
            << QList<qint64>{1} << QString() << kGerman << "one-athlete.txt";
        QTest::newRow("one athlete, US locale")
            << QList<qint64>{1} << QString() << kEnglish << "one-athlete.txt";
        QTest::newRow("one athlete, Arabic locale")
            << QList<qint64>{1} << QString() << kArabic << "one-athlete.txt";
        QTest::newRow("name with semicolon")
            << QList<qint64>{2} << QString() << kGerman << "semicolon-in-name.txt";
        QTest::newRow("non-Latin-1 name")
            << QList<qint64>{3} << QString() << kGerman << "non-latin1-name.txt";
        QTest::newRow("no measurements")
            << QList<qint64>{4} << QString() << kGerman << "header-only.txt";
        QTest::newRow("nobody") << QList<qint64>{-1} << QString() << kGerman << "header-only.txt";
        QTest::newRow("all athletes")
            << QList<qint64>{} << QString() << kGerman << "all-athletes.txt";
        QTest::newRow("all athletes, US locale")
            << QList<qint64>{} << QString() << kEnglish << "all-athletes.txt";
        QTest::newRow("after a search")
            << QList<qint64>{} << "mei" << kEnglish << "after-search.txt";
        QTest::newRow("a series of 1,001 jumps")
            << QList<qint64>{7, 8} << QString() << kGerman << "long-series.txt";
    }
    void exportText() {
        QFETCH(QList<qint64>, athletes);
        QFETCH(QString, surname);
        QFETCH(QLocale, locale);
        QFETCH(QString, expected);
        texts::setLocale(locale);
        const QChar separator = texts::decimalSeparator();
        TestStore store;
        const QDir dir(store.dir.path());
        if (expected == QLatin1String("long-series.txt"))
            seedLongSeries(store.location);
        else
            seed(store.location);
        OpenedStore db(store.location);
        QList<Athlete> listed;
        if (!surname.isEmpty())
            listed = db.athletes().search(athletes::SearchBy::Surname, surname);
        for (const Athlete& a : surname.isEmpty() ? db.athletes().all() : QList<Athlete>())
            if (athletes.isEmpty() || athletes.contains(a.id))
                listed << a;
        QList<qint64> ids;
        for (const Athlete& a : listed)
            ids << a.id;
        Exporter exporter(db);
        const QString path = dir.filePath(QStringLiteral("export.txt"));
        QList<int> reported;
        const auto result = exporter.writeFile(path, ids, [&reported](int done) {
            reported << done;
            return true;
        });
        QCOMPARE(result.outcome, Exporter::Outcome::Written);
        QCOMPARE(contentOf(path), golden(expected));
        QCOMPARE(exportfile::toWindows1252(exporter.text(ids)), golden(expected));
        QVERIFY(!reported.isEmpty());
        QCOMPARE(reported.last(), ids.size());
        QVERIFY(std::is_sorted(reported.begin(), reported.end()));
        // The separator the window shows numbers with stays as it was.
        QCOMPARE(texts::decimalSeparator(), separator);
    }

    // A file is written in one piece: an earlier file of that name is replaced only by a whole
    // new one; a file that cannot be created or written, or an export cancelled, leaves the
    // earlier file as it was and no part of a new one. A failure is told with the system's
    // reason.
    void writingTheFile_data() {
        QTest::addColumn<QString>("target");  // "@" stands for the test's own directory
        QTest::addColumn<QString>("trouble"); // "", "cancel", "full" (the disk fills up)
        QTest::addColumn<bool>("failure");
        QTest::newRow("new file") << "@/export.txt"
                                  << "" << false;
        QTest::newRow("replaces a longer file") << "@/old.txt"
                                                << "" << false;
        QTest::newRow("cancelled after the first athlete") << "@/old.txt"
                                                           << "cancel" << false;
        QTest::newRow("the disk fills up") << "@/old.txt"
                                           << "full" << true;
        QTest::newRow("missing directory") << "@/missing/export.txt"
                                           << "" << true;
        QTest::newRow("a directory") << "@/data"
                                     << "" << true;
        QTest::newRow("process file system") << "/proc/kalvero-export.txt"
                                             << "" << true;
    }
    void writingTheFile() {
        QFETCH(QString, target);
        QFETCH(QString, trouble);
        QFETCH(bool, failure);
        TestStore store;
        const QDir dir(store.dir.path());
        seedLongSeries(store.location);
        QVERIFY(dir.mkdir(QStringLiteral("data")));
        const QByteArray old(4000, 'x');
        {
            QFile file(dir.filePath(QStringLiteral("old.txt")));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(old);
        }
        target.replace('@', dir.path());
        OpenedStore db(store.location);
        Exporter exporter(db);
        const QStringList before = QDir(dir.path()).entryList(QDir::Files);

        rlimit limit{};
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &limit), 0);
        if (trouble == "full") {
            // Files cannot grow beyond 16 KiB, as on a disk that is full.
            ::signal(SIGXFSZ, SIG_IGN);
            rlimit small = limit;
            small.rlim_cur = 16384;
            QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
        }
        const auto result = exporter.writeFile(
            target, {7, 8}, [&trouble](int done) { return trouble != "cancel" || done < 1; });
        ::setrlimit(RLIMIT_FSIZE, &limit);

        const bool replaced = trouble.isEmpty() && !failure;
        QCOMPARE(result.outcome, failure               ? Exporter::Outcome::Failed
                                 : trouble == "cancel" ? Exporter::Outcome::Cancelled
                                                       : Exporter::Outcome::Written);
        if (replaced)
            QCOMPARE(contentOf(target), golden(QStringLiteral("long-series.txt")));
        else if (QFileInfo(target).isFile())
            QCOMPARE(contentOf(target), old);
        if (failure) {
            const QString start =
                QStringLiteral("Datei \"%1\" kann nicht erstellt werden. ").arg(target);
            QVERIFY2(result.message.startsWith(start), qPrintable(result.message));
            QVERIFY2(result.message.size() > start.size(), "the system's reason is missing");
        }
        // Nothing else is left behind.
        QStringList after = QDir(dir.path()).entryList(QDir::Files);
        after.removeAll(QStringLiteral("export.txt"));
        QCOMPARE(after, before);
    }
};

QTEST_GUILESS_MAIN(TestExport)
#include "tst_export.moc"
