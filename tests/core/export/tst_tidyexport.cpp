#include "core/analysis/JumpAnalysis.h"
#include "core/export/TidyExport.h"
#include "core/export/Workbook.h"
#include "core/store/AthleteRepository.h"
#include "core/store/Database.h"
#include "core/store/GroupRepository.h"
#include "core/store/MeasurementRepository.h"
#include "core/store/SeriesKey.h"
#include "support/TempDataDir.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A reader of RFC 4180 as analysis tools read it: fields separated by ",", quoted fields
// with doubled inner quotes and line breaks, records ended by CR LF.
QList<QStringList> readCsv(const QByteArray& bytes) {
    const QString text = QString::fromUtf8(bytes);
    QList<QStringList> records;
    QStringList record;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < text.size() && text[i + 1] == QLatin1Char('"'))
                field += text[++i];
            else if (c == QLatin1Char('"'))
                quoted = false;
            else
                field += c;
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            record << field;
            field.clear();
        } else if (c == QLatin1Char('\r') && i + 1 < text.size() &&
                   text[i + 1] == QLatin1Char('\n')) {
            record << field;
            records << record;
            record.clear();
            field.clear();
            ++i;
        } else {
            field += c;
        }
    }
    if (!field.isEmpty() || !record.isEmpty())
        records << (record << field); // a last record without its line end: a fault
    return records;
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The parts of the workbook, read as Excel reads them.
QByteArray workbookPart(const QString& path, const QString& part) {
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), path, part});
    if (!unzip.waitForFinished(30000) || unzip.exitCode() != 0)
        return {};
    return unzip.readAllStandardOutput();
}

// The cells of a sheet's XML by their reference ("A1"): the value of a number, a boolean or
// a date, the text of an inline string, each with its type ("n", "b", "inlineStr") and style.
struct CellValue {
    QString type;
    QString value;
    QString style;
};
QHash<QString, CellValue> sheetCells(const QByteArray& xml) {
    QHash<QString, CellValue> cells;
    static const QRegularExpression cell(QStringLiteral("<c r=\"([A-Z]+[0-9]+)\"([^>]*)>(.*?)</c>"),
                                         QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression type(QStringLiteral("t=\"([a-zA-Z]+)\""));
    static const QRegularExpression style(QStringLiteral("s=\"([0-9]+)\""));
    static const QRegularExpression value(QStringLiteral("<(?:v|t)[^>]*>(.*?)</(?:v|t)>"),
                                          QRegularExpression::DotMatchesEverythingOption);
    auto it = cell.globalMatch(QString::fromUtf8(xml));
    while (it.hasNext()) {
        const auto m = it.next();
        const QString attributes = m.captured(2);
        CellValue c;
        c.type = type.match(attributes).hasMatch() ? type.match(attributes).captured(1)
                                                   : QStringLiteral("n");
        c.style = style.match(attributes).captured(1);
        c.value = value.match(m.captured(3)).captured(1);
        c.value.replace(QStringLiteral("&quot;"), QStringLiteral("\""))
            .replace(QStringLiteral("&lt;"), QStringLiteral("<"))
            .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
            .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
        cells.insert(m.captured(1), c);
    }
    return cells;
}

// Athletes with names a CSV has to quote, a single jump with test and drop height, a series
// without drop height with an excluded jump, a jump without contact time and the closing
// contact; an athlete in a group of his own; one without measurements.
struct Seeded {
    qint64 quoted = 0;
    qint64 umlaut = 0;
    qint64 grouped = 0;
    qint64 idle = 0;
};

Seeded seed(Database& db) {
    AthleteRepository athletes(db);
    Seeded s;
    Athlete quoted;
    quoted.name = QStringLiteral("O\"Neil, Jr;\nSecond line");
    quoted.firstName = QStringLiteral(" Pat");
    quoted.birthDate = QDate(1990, 5, 17);
    quoted.sex = 1;
    s.quoted = athletes.add(quoted);
    Athlete umlaut;
    umlaut.name = QStringLiteral("Müller-Dvořák");
    umlaut.firstName = QStringLiteral("Jörg");
    umlaut.sex = 0;
    s.umlaut = athletes.add(umlaut);
    s.idle =
        athletes.add(Athlete{0, QStringLiteral("Leer"), QStringLiteral("Otto"), {}, {}, -1, {}});
    GroupRepository groups(db);
    const qint64 group = groups.add(QStringLiteral("U19"));
    s.grouped = groups.addAthlete(
        athletes, Athlete{0, QStringLiteral("Kern"), QStringLiteral("Kim"), {}, {}, 0, {}},
        {group});

    MeasurementRepository measurements(db);
    const qint64 profile = measurements.createProfile(
        s.quoted, QDateTime(QDate(2026, 12, 6), QTime(19, 0)), {30, 40}, 2);
    measurements.recordFirstJump(
        s.quoted, QDateTime(QDate(2026, 12, 6), QTime(19, 5, 9)), {200, 500, 1.25, 1},
        MeasurementTest{QStringLiteral("Drop Jump"), 30}, {Protocol::DropHeightProfile, profile});
    const Measurement series = measurements.recordFirstJump(
        s.umlaut, QDateTime(QDate(2026, 12, 7), QTime(0, 0)), {150, 600, 2.4, 1},
        MeasurementTest{QStringLiteral("Sprungserie"), std::nullopt}, {Protocol::TenFive, 0});
    measurements.recordJump(series.id, {-1, 300, -90, 2});
    measurements.recordJump(series.id, {180, 450, 1.13, 3});
    measurements.recordJump(series.id, {210, 0, 0, 4});
    measurements.exclude(seriesKey(s.umlaut, series.measurementNumber), 3,
                         {QStringLiteral("Fehlversuch, \"verrutscht\""), QStringLiteral("tr"),
                          QDateTime::currentDateTime()});
    measurements.recordFirstJump(s.grouped, QDateTime(QDate(2025, 1, 2), QTime(8, 9, 10)),
                                 {215, 400, 0.74, 1});
    return s;
}

plausibility::Limits someLimits() {
    plausibility::Limits limits;
    limits.contactMinMs = 61;
    limits.contactMaxMs = 331;
    limits.flightMinMs = 201;
    limits.flightMaxMs = 1001;
    return limits;
}

} // namespace

class TestTidyExport : public QObject {
    Q_OBJECT
private slots:
    // A stored text that a spreadsheet would run as a formula is written with a leading
    // apostrophe, in its field as the file's bytes hold it; the description says so.
    void textsThatWouldRun_data() {
        QTest::addColumn<QString>("surname");
        QTest::addColumn<QByteArray>("field");
        QTest::newRow("formula") << "=1+2" << QByteArray("'=1+2");
        QTest::newRow("plus") << "+49" << QByteArray("'+49");
        QTest::newRow("minus") << "-5" << QByteArray("'-5");
        QTest::newRow("at") << "@A1" << QByteArray("'@A1");
        QTest::newRow("tab") << "\t=1" << QByteArray("'\t=1");
        QTest::newRow("carriage return") << "\r=1" << QByteArray("\"'\r=1\"");
        QTest::newRow("quoted as well") << "=1,2" << QByteArray("\"'=1,2\"");
        QTest::newRow("nothing to change") << "a=b" << QByteArray("a=b");
    }
    void textsThatWouldRun() {
        QFETCH(QString, surname);
        QFETCH(QByteArray, field);
        TempDataDir store;
        const qint64 id = AthleteRepository(*store.db).add(
            Athlete{0, surname, QStringLiteral("Anna"), {}, {}, -1, {}});
        MeasurementRepository(*store.db).recordFirstJump(
            id, QDateTime(QDate(2026, 12, 6), QTime(19, 5, 9)), {200, 500, 1.25, 1});
        OpenedStore opened(store.location);
        QTemporaryDir out;
        const QString path = out.filePath(QStringLiteral("jumps.csv"));
        QCOMPARE(int(tidyexport::writeCsv(opened, path, {id}, someLimits()).outcome),
                 int(Exporter::Outcome::Written));
        const QByteArray row = fileBytes(path).split('\n').value(1);
        QVERIFY2(row.startsWith(QByteArray::number(id) + ',' + field + ",Anna,"), row.constData());
        QVERIFY(fileBytes(tidyexport::descriptionPath(path)).contains("leading apostrophe"));
    }

    // The file read back with a CSV reader: every jump a record of the header's fields, the
    // names as stored, the values at full precision.
    void csvReadsBack() {
        TempDataDir store;
        const Seeded s = seed(*store.db);
        OpenedStore opened(store.location);
        QTemporaryDir out;
        const QString path = out.filePath(QStringLiteral("jumps.csv"));
        const auto result =
            tidyexport::writeCsv(opened, path, {s.quoted, s.idle, s.umlaut}, someLimits());
        QCOMPARE(int(result.outcome), int(Exporter::Outcome::Written));
        QCOMPARE(result.written.athletes, 2);
        QCOMPARE(result.written.jumps, 5);

        const QByteArray bytes = fileBytes(path);
        QVERIFY(!bytes.startsWith("\xEF\xBB\xBF"));
        const QList<QStringList> records = readCsv(bytes);
        QCOMPARE(records.size(), 6);
        QCOMPARE(records[0], tidyexport::jumpColumns());
        const QStringList& columns = records[0];
        QHash<QString, QStringList> byJump; // "athlete/jump" -> record
        for (qsizetype r = 1; r < records.size(); ++r) {
            QCOMPARE(records[r].size(), columns.size());
            byJump.insert(records[r][0] + QLatin1Char('/') +
                              records[r][columns.indexOf(QLatin1String("jump_number"))],
                          records[r]);
        }
        const auto field = [&](qint64 athlete, int jump, const char* column) {
            return byJump.value(QStringLiteral("%1/%2").arg(athlete).arg(jump))
                .value(columns.indexOf(QLatin1String(column)));
        };
        const QString q = QString::number(s.quoted);
        const QString u = QString::number(s.umlaut);
        QCOMPARE(field(s.quoted, 1, "surname"), QStringLiteral("O\"Neil, Jr;\nSecond line"));
        QCOMPARE(field(s.quoted, 1, "first_name"), QStringLiteral(" Pat"));
        QCOMPARE(field(s.quoted, 1, "birth_date"), QStringLiteral("1990-05-17"));
        QCOMPARE(field(s.quoted, 1, "sex"), QStringLiteral("female"));
        QCOMPARE(field(s.quoted, 1, "date_time"), QStringLiteral("2026-12-06T19:05:09"));
        QCOMPARE(field(s.quoted, 1, "test"), QStringLiteral("drop_jump"));
        QCOMPARE(field(s.quoted, 1, "drop_height_cm"), QStringLiteral("30"));
        QCOMPARE(field(s.quoted, 1, "mode"), QStringLiteral("single"));
        QCOMPARE(field(s.quoted, 1, "contact_ms"), QStringLiteral("200"));
        QCOMPARE(field(s.quoted, 1, "flight_ms"), QStringLiteral("500"));
        // 9.81 · 0.5² / 8 m, and its RSI over 0.2 s: more digits than the old file's three.
        QCOMPARE(field(s.quoted, 1, "height_cm").toDouble(), 30.65625);
        QCOMPARE(field(s.quoted, 1, "rsi").toDouble(), 1.5328125);
        QCOMPARE(field(s.quoted, 1, "efficiency").toDouble(), 1.25);
        QCOMPARE(field(s.quoted, 1, "excluded"), QStringLiteral("0"));
        QCOMPARE(field(s.quoted, 1, "limits_min_contact_ms"), QStringLiteral("61"));
        QCOMPARE(field(s.quoted, 1, "limits_max_flight_ms"), QStringLiteral("1001"));

        QCOMPARE(field(s.umlaut, 1, "surname"), QStringLiteral("Müller-Dvořák"));
        QCOMPARE(field(s.umlaut, 1, "first_name"), QStringLiteral("Jörg"));
        QCOMPARE(field(s.umlaut, 1, "birth_date"), QString());
        QCOMPARE(field(s.umlaut, 1, "sex"), QStringLiteral("male"));
        QCOMPARE(field(s.umlaut, 1, "date_time"), QStringLiteral("2026-12-07T00:00:00"));
        QCOMPARE(field(s.umlaut, 1, "mode"), QStringLiteral("series"));
        // The protocol tells 10/5 rows from a profile's trials.
        QCOMPARE(field(s.umlaut, 4, "protocol"), QStringLiteral("10/5"));
        QCOMPARE(field(s.quoted, 1, "protocol"), QStringLiteral("profile 1"));
        QCOMPARE(field(s.umlaut, 1, "test"), QStringLiteral("jump_series"));
        QCOMPARE(field(s.umlaut, 1, "drop_height_cm"), QString());
        QCOMPARE(field(s.umlaut, 1, "height_cm").toDouble(), 9.81 * 0.36 / 8 * 100);
        // The contact time the unit did not measure: no contact, RSI or efficiency.
        QCOMPARE(field(s.umlaut, 2, "contact_ms"), QString());
        QCOMPARE(field(s.umlaut, 2, "rsi"), QString());
        QCOMPARE(field(s.umlaut, 2, "efficiency"), QString());
        QVERIFY(!field(s.umlaut, 2, "height_cm").isEmpty());
        QCOMPARE(field(s.umlaut, 3, "excluded"), QStringLiteral("1"));
        QCOMPARE(field(s.umlaut, 3, "exclusion_reason"),
                 QStringLiteral("Fehlversuch, \"verrutscht\""));
        QCOMPARE(field(s.umlaut, 2, "exclusion_reason"), QString());
        // The closing contact of the series: no height.
        QCOMPARE(field(s.umlaut, 4, "flight_ms"), QStringLiteral("0"));
        QCOMPARE(field(s.umlaut, 4, "height_cm"), QString());

        // The athletes in the order given, the jumps by their number.
        QStringList order;
        for (qsizetype r = 1; r < records.size(); ++r)
            order << records[r][0] + QLatin1Char('/') +
                         records[r][columns.indexOf(QLatin1String("jump_number"))];
        QCOMPARE(order, (QStringList{q + "/1", u + "/1", u + "/2", u + "/3", u + "/4"}));

        // The side file names the program, its formulas and the limits.
        const QJsonObject side =
            QJsonDocument::fromJson(fileBytes(out.filePath(QStringLiteral("jumps.json")))).object();
        QCOMPARE(side.value("program").toString(), QStringLiteral("Kalvero"));
        QVERIFY(side.value("version").toString().startsWith(
            QStringLiteral("%1.%2.").arg(KALVERO_VERSION_MAJOR).arg(KALVERO_VERSION_MINOR)));
        QVERIFY(side.value("formulas").toObject().contains("rsi"));
        QCOMPARE(side.value("limits").toObject().value("limits_min_flight_ms").toInt(), 201);
    }

    void numberTexts_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("whole") << 215.0 << QByteArray("215");
        QTest::newRow("shortest that reads back") << 30.65625 << QByteArray("30.65625");
        QTest::newRow("a third") << 1.0 / 3 << QByteArray("0.3333333333333333");
        QTest::newRow("negative") << -1.5 << QByteArray("-1.5");
        QTest::newRow("negative zero") << -0.0 << QByteArray("0");
        QTest::newRow("not a number") << qQNaN() << QByteArray();
    }
    void numberTexts() {
        QFETCH(double, value);
        QFETCH(QByteArray, text);
        QCOMPARE(tidyexport::numberText(value), text);
        if (!text.isEmpty())
            QCOMPARE(text.toDouble(), value);
    }

    void fields_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("field");
        QTest::newRow("plain") << "Müller" << QByteArray("M\xC3\xBCller");
        QTest::newRow("empty") << "" << QByteArray();
        QTest::newRow("semicolon") << "a;b" << QByteArray("a;b");
        QTest::newRow("comma") << "a,b" << QByteArray("\"a,b\"");
        QTest::newRow("quote") << "O\"Neil" << QByteArray("\"O\"\"Neil\"");
        QTest::newRow("line break") << "a\r\nb" << QByteArray("\"a\r\nb\"");
        QTest::newRow("blank at the end") << "a " << QByteArray("\"a \"");
        QTest::newRow("NUL") << QString::fromUtf8("a\0b", 3) << QByteArray("a b");
    }
    void fields() {
        QFETCH(QString, text);
        QFETCH(QByteArray, field);
        QByteArray out;
        tidyexport::appendField(out, text);
        QCOMPARE(out, field);
    }

    void descriptionPaths_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("description");
        QTest::newRow("csv") << "/d/jumps.csv"
                             << "/d/jumps.json";
        QTest::newRow("no suffix") << "/d/jumps"
                                   << "/d/jumps.json";
        QTest::newRow("a dot in the folder") << "/d.x/jumps"
                                             << "/d.x/jumps.json";
        QTest::newRow("named json") << "/d/jumps.json"
                                    << "/d/jumps.json.json";
    }
    void descriptionPaths() {
        QFETCH(QString, path);
        QFETCH(QString, description);
        QCOMPARE(tidyexport::descriptionPath(path), description);
    }

    // An export that cannot be written says why and leaves the earlier file as it was.
    void failedExportKeepsEarlierFile() {
        TempDataDir store;
        const Seeded s = seed(*store.db);
        OpenedStore opened(store.location);
        QTemporaryDir out;
        const QString missingFolder = out.filePath(QStringLiteral("nicht/da.csv"));
        const auto csv = tidyexport::writeCsv(opened, missingFolder, {s.quoted}, {});
        QCOMPARE(int(csv.outcome), int(Exporter::Outcome::Failed));
        QVERIFY2(csv.message.contains(QStringLiteral("da.csv")), qPrintable(csv.message));
        const auto xlsx =
            workbook::write(opened, out.filePath(QStringLiteral("nicht/da.xlsx")), {s.quoted}, {});
        QCOMPARE(int(xlsx.outcome), int(Exporter::Outcome::Failed));

        const QString path = out.filePath(QStringLiteral("jumps.xlsx"));
        QFile earlier(path);
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier");
        earlier.close();
        const auto cancelled =
            workbook::write(opened, path, {s.quoted, s.umlaut}, {}, [](int) { return false; });
        QCOMPARE(int(cancelled.outcome), int(Exporter::Outcome::Cancelled));
        QCOMPARE(fileBytes(path), QByteArray("earlier"));
        QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("jumps.xlsx")});
    }

    // The workbook opened as Excel reads it: the jumps and the measurements, numbers as
    // numbers, dates as dates, a frozen header row with a filter.
    void workbookOpens() {
        TempDataDir store;
        const Seeded s = seed(*store.db);
        OpenedStore opened(store.location);
        QTemporaryDir out;
        const QString path = out.filePath(QStringLiteral("jumps.xlsx"));
        const auto result =
            workbook::write(opened, path, {s.quoted, s.umlaut, s.grouped}, someLimits());
        QCOMPARE(int(result.outcome), int(Exporter::Outcome::Written));
        QCOMPARE(result.written.jumps, 6);
        // The permissions of any file the user saves, not the private ones of a temporary file.
        QFile plain(out.filePath(QStringLiteral("plain")));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        QCOMPARE(QFileInfo(path).permissions(), plain.permissions());
        plain.remove();

        const QByteArray book = workbookPart(path, QStringLiteral("xl/workbook.xml"));
        QVERIFY2(book.contains("name=\"jumps\"") && book.contains("name=\"measurements\""),
                 book.constData());
        const QByteArray jumpsXml = workbookPart(path, QStringLiteral("xl/worksheets/sheet1.xml"));
        const QByteArray measurementsXml =
            workbookPart(path, QStringLiteral("xl/worksheets/sheet2.xml"));
        for (const QByteArray& sheet : {jumpsXml, measurementsXml}) {
            QVERIFY(sheet.contains("<pane ySplit=\"1\""));
            QVERIFY(sheet.contains("state=\"frozen\""));
            QVERIFY(sheet.contains("<autoFilter ref=\"A1:"));
        }
        QVERIFY(jumpsXml.contains("<autoFilter ref=\"A1:X7\""));
        QVERIFY(measurementsXml.contains("<autoFilter ref=\"A1:U4\""));

        const auto jumps = sheetCells(jumpsXml);
        QCOMPARE(jumps.value("A1").value, QStringLiteral("athlete_id"));
        QCOMPARE(jumps.value("X1").value, QStringLiteral("limits_max_flight_ms"));
        // Row 2: the single jump.
        QCOMPARE(jumps.value("A2").type, QStringLiteral("n"));
        QCOMPARE(jumps.value("A2").value.toLongLong(), s.quoted);
        QCOMPARE(jumps.value("B2").value, QStringLiteral("O\"Neil, Jr;\nSecond line"));
        QCOMPARE(jumps.value("P2").type, QStringLiteral("n"));
        QCOMPARE(jumps.value("P2").value.toDouble(), 30.65625);
        // The moment as a date: a serial day number with a date style (2026-12-06 19:05:09).
        QCOMPARE(jumps.value("H2").type, QStringLiteral("n"));
        QVERIFY(!jumps.value("H2").style.isEmpty());
        QVERIFY(qAbs(jumps.value("H2").value.toDouble() - (46362 + 68709.0 / 86400)) < 1e-6);
        QCOMPARE(jumps.value("D2").value.toDouble(), 33010.0); // 1990-05-17
        QCOMPARE(jumps.value("J2").value, QStringLiteral("30"));
        QCOMPARE(jumps.value("S2").type, QStringLiteral("b"));
        QCOMPARE(jumps.value("S2").value, QStringLiteral("0"));
        // The series: umlauts, a measurement without drop height, the excluded jump.
        QCOMPARE(jumps.value("B3").value, QStringLiteral("Müller-Dvořák"));
        QVERIFY(!jumps.contains("J3"));
        QVERIFY(!jumps.contains("N4")); // the contact time the unit did not measure
        QCOMPARE(jumps.value("S5").value, QStringLiteral("1"));
        QCOMPARE(jumps.value("T5").value, QStringLiteral("Fehlversuch, \"verrutscht\""));

        // One row per measurement with the statistics of its valid jumps: the series counts
        // one of its four (one without contact time, one excluded, the closing contact).
        const auto measurements = sheetCells(measurementsXml);
        QCOMPARE(measurements.value("A1").value, QStringLiteral("athlete_id"));
        QCOMPARE(measurements.value("A3").value.toLongLong(), s.umlaut);
        QCOMPARE(measurements.value("I3").value, QStringLiteral("series"));
        QCOMPARE(measurements.value("J3").value, QStringLiteral("10/5"));
        QCOMPARE(measurements.value("K3").value, QStringLiteral("4"));
        QCOMPARE(measurements.value("L3").value, QStringLiteral("1"));
        QCOMPARE(measurements.value("M3").value.toDouble(), 9.81 * 0.36 / 8 * 100);
        QCOMPARE(jumps.value("L3").value, QStringLiteral("10/5"));
        QCOMPARE(jumps.value("L2").value, QStringLiteral("profile 1"));
        QCOMPARE(measurements.value("A4").value.toLongLong(), s.grouped);
    }

    // The sheet's valid_jumps counts by the one rule of a valid jump, whatever the limits
    // written beside it (here a longest contact of 170 ms); the description states the rule and
    // what the limits are.
    void validJumpsByTheRule_data() {
        QTest::addColumn<QList<RecordedJump>>("jumps");
        QTest::addColumn<QList<int>>("excluded");
        QTest::addColumn<int>("valid");
        QTest::newRow("contacts beyond the limit count")
            << QList<RecordedJump>{{182, 500, 1.37, 1}, {175, 480, 1.32, 2}} << QList<int>{} << 2;
        QTest::newRow("excluded, not measured and the closing contact do not")
            << QList<RecordedJump>{{182, 500, 1.37, 1},
                                   {150, 600, 2.4, 2},
                                   {-1, 300, -90, 3},
                                   {160, -1, -1, 4},
                                   {160, 0, 0, 5}}
            << QList<int>{2} << 1;
    }
    void validJumpsByTheRule() {
        QFETCH(QList<RecordedJump>, jumps);
        QFETCH(QList<int>, excluded);
        QFETCH(int, valid);
        TempDataDir store;
        const qint64 athlete = AthleteRepository(*store.db).add(
            Athlete{0, QStringLiteral("Kern"), QStringLiteral("Kim"), {}, {}, 0, {}});
        MeasurementRepository measurements(*store.db);
        const Measurement m = measurements.recordFirstJump(
            athlete, QDateTime(QDate(2026, 3, 1), QTime(9, 0)), jumps.first(), {});
        QList<analysis::StoredJump> stored;
        for (qsizetype i = 0; i < jumps.size(); ++i) {
            if (i > 0)
                measurements.recordJump(m.id, jumps[i]);
            stored.append({static_cast<double>(jumps[i].contactMs),
                           static_cast<double>(jumps[i].flightMs), jumps[i].jumpIndex});
        }
        for (const int index : excluded) {
            measurements.exclude(
                seriesKey(athlete, m.measurementNumber), index,
                {QStringLiteral("verrutscht"), QStringLiteral("tr"), QDateTime::currentDateTime()});
            stored[index - 1].excluded = true;
        }
        // The rule itself gives the count worked out by hand.
        QCOMPARE(std::count_if(stored.cbegin(), stored.cend(), analysis::isValidJump),
                 qsizetype(valid));

        plausibility::Limits limits = someLimits();
        limits.contactMaxMs = 170;
        OpenedStore opened(store.location);
        QTemporaryDir out;
        const QString path = out.filePath(QStringLiteral("jumps.xlsx"));
        QCOMPARE(int(workbook::write(opened, path, {athlete}, limits).outcome),
                 int(Exporter::Outcome::Written));
        const auto sheet =
            sheetCells(workbookPart(path, QStringLiteral("xl/worksheets/sheet2.xml")));
        const auto column = tidyexport::measurementColumns().indexOf(QLatin1String("valid_jumps"));
        QCOMPARE(sheet.value(QString(QChar(char16_t(u'A' + column))) + QLatin1Char('2')).value,
                 QString::number(valid));

        const QJsonObject side = QJsonDocument::fromJson(tidyexport::descriptionText(
                                                             limits, QDateTime::currentDateTime()))
                                     .object();
        QVERIFY(side.value("valid_jump").toString().startsWith(analysis::validJumpRule()));
        QVERIFY(side.value("limits_meaning").toString().contains("do not judge"));
        QCOMPARE(side.value("measurement_columns").toArray().size(),
                 tidyexport::measurementColumns().size());
    }

    // Without a window: all athletes, or the members of a group named in any case.
    void athletesToExport() {
        TempDataDir store;
        const Seeded s = seed(*store.db);
        OpenedStore opened(store.location);
        QCOMPARE(tidyexport::athletesToExport(opened, QString()),
                 (QList<qint64>{s.quoted, s.umlaut, s.idle, s.grouped}));
        QCOMPARE(tidyexport::athletesToExport(opened, QStringLiteral("u19")),
                 QList<qint64>{s.grouped});
        try {
            tidyexport::athletesToExport(opened, QStringLiteral("U21"));
            QFAIL("a group that does not exist");
        } catch (const AppError& error) {
            QCOMPARE(error.text(), QStringLiteral("Die Gruppe \"U21\" gibt es nicht."));
        }
    }
};

QTEST_GUILESS_MAIN(TestTidyExport)
#include "tst_tidyexport.moc"
