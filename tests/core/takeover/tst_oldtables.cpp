#include "core/base/Errors.h"
#include "core/takeover/OldDataReader.h"
#include "core/takeover/OldKeys.h"
#include "core/takeover/Pxlib.h"
#include "support/ParadoxTables.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace takeover;
using namespace paradoxtables;

namespace {

QString text(const std::optional<double>& value) {
    return value ? QString::number(*value) : QStringLiteral("-");
}

// The result as lines: one per athlete, one per measurement with its jumps as Anzahl:SZ/FZ.
QStringList digest(const Takeover& t) {
    QStringList lines;
    for (const TakeoverAthlete& a : t.athletes) {
        lines << QStringLiteral("%1, %2, %3, %4, %5, %6")
                     .arg(a.athlete.name, a.athlete.firstName,
                          a.athlete.born.toString(QStringLiteral("dd.MM.yyyy")),
                          QString::number(a.athlete.sex.value_or(-1)), a.athlete.remark,
                          a.athlete.remark2);
        for (const TakeoverMeasurement& m : a.measurements) {
            QStringList jumps;
            for (const OldJump& j : m.jumps)
                jumps << QStringLiteral("%1:%2/%3")
                             .arg(text(j.jumpIndex), text(j.contactMs), text(j.flightMs));
            const OldMeasurement& o = m.measurement;
            lines << QStringLiteral("  #%1 %2 SZ %3 FZ %4 Eff %5 %6%7: %8")
                         .arg(QString::number(o.measurementNumber.value_or(-1)),
                              o.moment.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")),
                              text(o.contactMs), QString::number(o.jumpCount), text(o.efficiency),
                              o.remark,
                              m.jumpsDropped ? QStringLiteral(" (Sprünge verworfen)") : QString(),
                              jumps.join(QLatin1Char(' ')));
        }
    }
    return lines;
}

const QVariant _; // an empty field
const QDateTime kMorning(QDate(2001, 5, 4), QTime(9, 15, 30));
// clang-format off
const Row kMueller{1, QByteArray("M\xfcller"), QByteArray("J\xfcrgen"), QDate(1980, 2, 29), 1,
                   QByteArray("Knie \x84operiert\x93"), _};
const Row kWeiss{2, QByteArray("Wei\xdf"), QByteArray("Zo\xeb"), _, 2, _, QByteArray("\x80 bezahlt")};
const QString kMuellerLine = QStringLiteral("Müller, Jürgen, 29.02.1980, 1, Knie „operiert“, ");
const QString kWeissLine = QStringLiteral("Weiß, Zoë, , 2, , € bezahlt");

struct FolderCase {
    const char* name;
    int codePage; // 0: the header names none
    QList<Row> athletes, measurements, jumps;
    QStringList expected;
    QList<int> counts; // found: athletes, measurements, jumps; without athlete: measurements,
                       // jumps; orphaned, colliding jumps
};

const QList<FolderCase> kFolderCases{
    {"single and series measurement, an orphaned jump", 1252, {kMueller, kWeiss},
     {{10, 1, kMorning, 1, 180.0, 1, 1.5, QByteArray("Einzelsprung")}, {11, 1, _, 2, _, _, _, _}},
     {{1002.0, 200.0, 300.0, 1.5, 3}, {1001.0, 180.0, 270.0, 1.5, 1}, {1002.0, 190.0, 310.0, 1.6, 1},
      {4711.0, 1.0, 1.0, 1.0, 1}, {1002.0, 210.0, 290.0, 1.4, 2}},
     {kMuellerLine, "  #1 04.05.2001 09:15:30 SZ 180 FZ 1 Eff 1.5 Einzelsprung: 1:180/270",
      "  #2  SZ - FZ 0 Eff - : 1:190/310 2:210/290 3:200/300", kWeissLine},
     {2, 2, 5, 0, 0, 1, 0}},
    {"athlete 1 number 1001 and athlete 2 number 1 share old key 2001; unknown athlete 7", 1252,
     {kMueller, kWeiss},
     {{10, 1, kMorning, 1001, 180.0, 2, 1.5, _}, {11, 2, kMorning, 1, 150.0, 1, 1.2, _},
      {12, 2, kMorning, 2, 160.0, 1, 1.3, _}, {13, 7, kMorning, 1, 170.0, 2, 1.4, _}},
     {{2001.0, 1.0, 2.0, 1.0, 1}, {2001.0, 3.0, 4.0, 1.0, 2}, {2002.0, 5.0, 6.0, 1.0, 1},
      {7001.0, 7.0, 8.0, 1.0, 1}, {7001.0, 9.0, 9.0, 1.0, 2}},
     {kMuellerLine, "  #1001 04.05.2001 09:15:30 SZ 180 FZ 2 Eff 1.5  (Sprünge verworfen): ",
      kWeissLine, "  #1 04.05.2001 09:15:30 SZ 150 FZ 1 Eff 1.2  (Sprünge verworfen): ",
      "  #2 04.05.2001 09:15:30 SZ 160 FZ 1 Eff 1.3 : 1:5/6"},
     {2, 4, 5, 1, 2, 0, 2}},
    {"code page 850", 850, {{3, QByteArray("M\x81ller"), _, _, _, QByteArray("\x84\x94"), _}}, {}, {},
     {"Müller, , , -1, äö, "}, {1, 0, 0, 0, 0, 0, 0}},
    {"no code page named: Windows-1252", 0, {{3, QByteArray("\x80"), _, _, _, _, _}}, {}, {},
     {"€, , , -1, , "}, {1, 0, 0, 0, 0, 0, 0}},
};
// clang-format on

// A folder with the three tables of a small valid data set.
bool writeValidFolder(const QString& dir) {
    const FolderCase& c = kFolderCases.first();
    return writeTable(dir + "/sportler.db", kAthleteColumns, c.athletes) &&
           writeTable(dir + "/units.db", kMeasurementColumns, c.measurements) &&
           writeTable(dir + "/mr.db", kJumpColumns, c.jumps);
}

QString readFailure(const QString& folder) {
    try {
        readOldData(folder);
    } catch (const AppError& e) {
        return e.text();
    }
    return {};
}

} // namespace

class TestOldTables : public QObject {
    Q_OBJECT

private slots:
    void folders_data() {
        QTest::addColumn<int>("index");
        for (int i = 0; i < kFolderCases.size(); ++i)
            QTest::newRow(kFolderCases[i].name) << i;
    }
    void folders() {
        QFETCH(int, index);
        const FolderCase& c = kFolderCases[index];
        QTemporaryDir dir; // file names as a Windows folder may have them
        QVERIFY(writeTable(dir.filePath("SPORTLER.DB"), kAthleteColumns, c.athletes, c.codePage));
        QVERIFY(
            writeTable(dir.filePath("Units.db"), kMeasurementColumns, c.measurements, c.codePage));
        QVERIFY(writeTable(dir.filePath("mr.DB"), kJumpColumns, c.jumps, c.codePage));

        const Takeover t = assignOldKeys(readOldData(dir.path()));
        QCOMPARE(digest(t), c.expected);
        const TakeoverCounts& n = t.counts;
        QCOMPARE(
            (QList<int>{n.athletes, n.measurements, n.jumps, n.measurementsWithoutAthlete,
                        n.jumpsOfMeasurementsWithoutAthlete, n.orphanedJumps, n.collidingJumps}),
            c.counts);
    }

    void failures_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("content"); // replaces the valid table; empty: removed
        QTest::addColumn<QString>("message");    // %1: the file
        const Row ok{1, QByteArray("A")};
        const auto table = [](const QList<Column>& columns, const QList<Row>& rows) {
            QTemporaryDir dir;
            writeTable(dir.filePath("t.db"), columns, rows);
            QFile f(dir.filePath("t.db"));
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        QList<Column> withoutBirth = kAthleteColumns;
        withoutBirth.removeAt(3);
        QList<Column> textMoment = kMeasurementColumns;
        textMoment[2] = {"Datum", pxfAlpha, 20};
        QList<Column> wideName = kAthleteColumns;
        wideName[1].length = 60;
        QList<Column> fractionalNumber = kMeasurementColumns;
        fractionalNumber[3] = {"Nummer", pxfNumber, 8};
        const QByteArray full = table(kJumpColumns, {{1001.0, 1.0, 1.0, 1.0, 1}});

        QTest::newRow("missing file") << "mr.db" << QByteArray() << "Die Datei %1 fehlt.";
        QTest::newRow("not a table")
            << "units.db" << QByteArray(3000, 'x') << "Die Datei %1 ist keine Paradox-Tabelle.";
        QTest::newRow("truncated") << "mr.db" << full.left(full.size() - 100)
                                   << "Die Datei %1 ist unvollständig: ein Teil der Tabelle fehlt.";
        QTest::newRow("missing column") << "sportler.db" << table(withoutBirth, {})
                                        << "In der Datei %1 fehlt die Spalte „Geb“.";
        QTest::newRow("wrong column type")
            << "units.db" << table(textMoment, {})
            << "In der Datei %1 hat die Spalte „Datum“ einen unpassenden Typ.";
        QTest::newRow("name longer than Kalvero's column")
            << "sportler.db" << table(wideName, {ok, {2, QByteArray(51, 'a')}})
            << "In der Datei %1 ist der Text in Spalte „Name“ von Datensatz 2 länger als 50 "
               "Zeichen.";
        QTest::newRow("byte outside the code page")
            << "sportler.db" << table(kAthleteColumns, {{1, QByteArray("a\x81z")}})
            << "In der Datei %1 ist der Text in Spalte „Name“ von Datensatz 1 kein Text der "
               "Codeseite 1252.";
        QTest::newRow("measurement number not whole")
            << "units.db" << table(fractionalNumber, {{1, 1, _, 1.5}})
            << "In der Datei %1 ist der Wert in Spalte „Nummer“ von Datensatz 1 keine ganze Zahl.";
    }
    void failures() {
        QFETCH(QString, file);
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        QTemporaryDir dir;
        QVERIFY(writeValidFolder(dir.path()));
        QFile f(dir.filePath(file));
        QVERIFY(content.isEmpty()
                    ? f.remove()
                    : f.open(QIODevice::WriteOnly) && f.write(content) == content.size());
        f.close();
        QCOMPARE(readFailure(dir.path()),
                 message.arg("„" + QDir::toNativeSeparators(dir.filePath(file)) + "“"));
    }

    // Damaged copies of each table are read without a crash: an error naming the file, or data.
    void damagedTables_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("sportler") << "sportler.db";
        QTest::newRow("units") << "units.db";
        QTest::newRow("mr") << "mr.db";
    }
    void damagedTables() {
        QFETCH(QString, file);
        QTemporaryDir dir;
        QVERIFY(writeValidFolder(dir.path()));
        QFile f(dir.filePath(file));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray valid = f.readAll();
        f.close();
        QList<QByteArray> copies;
        for (qsizetype length = 0; length < valid.size(); length += 37)
            copies << valid.left(length);
        quint32 state = 12345; // a fixed sequence of positions and bit patterns
        for (int i = 0; i < 400; ++i) {
            QByteArray copy = valid;
            state = state * 1103515245u + 12345u;
            copy[(state >> 8) % valid.size()] ^= char(1 + (state >> 24) % 255);
            copies << copy;
        }
        int errors = 0;
        for (const QByteArray& copy : copies) {
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            QVERIFY(f.write(copy) == copy.size());
            f.close();
            const QString failure = readFailure(dir.path());
            if (!failure.isEmpty()) {
                ++errors;
                QVERIFY2(failure.contains(QDir::toNativeSeparators(f.fileName())),
                         qPrintable(failure));
            }
        }
        QVERIFY(errors > 0 && errors < copies.size()); // both outcomes were reached
    }
};

QTEST_GUILESS_MAIN(TestOldTables)
#include "tst_oldtables.moc"
