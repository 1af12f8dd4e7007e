#include "core/base/Errors.h"
#include "core/base/FileOutput.h"
#include "core/export/Exporter.h"
#include "core/export/TidyExport.h"
#include "core/export/Workbook.h"
#include "core/store/AthleteRepository.h"
#include "core/store/Backup.h"
#include "core/store/DataStore.h"
#include "core/store/Database.h"
#include "core/store/JumpReader.h"
#include "core/store/MeasurementRepository.h"
#include "support/FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>

namespace {

// The files of a folder with their bytes, hidden ones too.
QMap<QString, QByteArray> filesIn(const QString& folder) {
    QMap<QString, QByteArray> files;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden)) {
        QFile file(dir.filePath(name));
        files.insert(name, file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("?"));
    }
    return files;
}

// Each writer of the program, writing the store's jumps (or the store itself) to a path; the
// message for the user when it failed.
using Writer = std::function<std::optional<QString>(DataStore&, const QString& path)>;

std::optional<QString> messageOf(Exporter::Outcome outcome, const QString& message) {
    return outcome == Exporter::Outcome::Written ? std::nullopt : std::optional(message);
}

QList<qint64> everyone(DataStore& store) {
    QList<qint64> ids;
    for (const Athlete& athlete : store.athletes().all())
        ids << athlete.id;
    return ids;
}

const QMap<QString, Writer>& writers() {
    static const QMap<QString, Writer> all{
        {"export file",
         [](DataStore& store, const QString& path) {
             const auto result = Exporter(store).writeFile(path, everyone(store));
             return messageOf(result.outcome, result.message);
         }},
        {"single export",
         [](DataStore& store, const QString& path) {
             const auto result = Exporter::writeText(path, Exporter(store).text(everyone(store)));
             return messageOf(result.outcome, result.message);
         }},
        {"tidy CSV with its description",
         [](DataStore& store, const QString& path) {
             const auto result = tidyexport::writeCsv(store, path, everyone(store), {});
             return messageOf(result.outcome, result.message);
         }},
        {"workbook",
         [](DataStore& store, const QString& path) {
             const auto result = workbook::write(store, path, everyone(store), {});
             return messageOf(result.outcome, result.message);
         }},
        // The reports and the chart pictures: many small writes to a device.
        {"report or picture",
         [](DataStore&, const QString& path) {
             return fileoutput::write(path, [](QIODevice& device) {
                 const QByteArray line(97, 'x');
                 for (int i = 0; i < 2000; ++i)
                     if (device.write(line) != line.size())
                         return false;
                 return true;
             });
         }},
        {"backup",
         [](DataStore& store, const QString& path) -> std::optional<QString> {
             const auto failure = failureOf([&] { backup::copy(store.filePath(), path); });
             if (!failure)
                 return std::nullopt;
             return failure->text + QLatin1Char(' ') + failure->detail;
         }},
    };
    return all;
}

// Athletes whose jumps fill several blocks of every file.
void seed(DataStore& store) {
    for (int a = 0; a < 30; ++a) {
        const qint64 id = store.athletes().add(
            Athlete{0, QStringLiteral("Meier %1").arg(a), QStringLiteral("Anna"), {}, {}, 1, {}});
        for (int m = 0; m < 5; ++m) {
            const Measurement measurement = store.measurements().recordFirstJump(
                id, QDateTime(QDate(2026, 12, 1 + m), QTime(10, a)), {200, 500, 1.25, 1});
            for (int j = 2; j <= 20; ++j)
                store.measurements().recordJump(measurement.id, {200 + j, 500 - j, 1.2, j});
        }
    }
}

} // namespace

// Every writer, when the disk fills at its first, a middle or its last write: the message
// names the file and the cause, no part of a file is left, an earlier file stays as it was.
class TestWriteFailures : public QObject {
    Q_OBJECT

    QTemporaryDir data_;
    std::unique_ptr<DataStore> store_;
    std::unique_ptr<Database> held_; // keeps the store's files as they are while writes fail

private slots:
    void initTestCase() {
        const StoreLocation location = StoreLocation::embedded(data_.path());
        store_ = std::make_unique<DataStore>();
        store_->open(location);
        seed(*store_);
        held_ = std::make_unique<Database>(location);
    }
    void cleanupTestCase() {
        store_.reset();
        held_.reset();
    }

    void failureLeavesNothing_data() {
        QTest::addColumn<QString>("writer");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("at"); // 0: first write, 1: a middle one, 2: the last
        const QMap<QString, QString> names{{"export file", "alle.txt"},
                                           {"single export", "einer.txt"},
                                           {"tidy CSV with its description", "alle.csv"},
                                           {"workbook", "alle.xlsx"},
                                           {"report or picture", "bericht.pdf"},
                                           {"backup", "sicherung.sqlite"}};
        for (const QString& writer : writers().keys())
            for (int at = 0; at < 3; ++at)
                QTest::addRow("%s, %s write", qPrintable(writer),
                              at == 0   ? "first"
                              : at == 1 ? "a middle"
                                        : "the last")
                    << writer << names.value(writer) << at;
    }
    void failureLeavesNothing() {
        QFETCH(QString, writer);
        QFETCH(QString, name);
        QFETCH(int, at);
        QTemporaryDir out;
        const QString path = out.filePath(name);
        const Writer& write = writers()[writer];
        // Written once whole: the earlier files, and the size of the largest.
        QCOMPARE(write(*store_, path), std::nullopt);
        const QMap<QString, QByteArray> earlier = filesIn(out.path());
        qint64 size = 0;
        for (const QByteArray& bytes : earlier)
            size = std::max(size, bytes.size());
        QVERIFY(size > 4096);
        const qint64 limit = at == 0 ? 0 : at == 1 ? size / 2 : size - 1;
        std::optional<QString> failure;
        {
            const FileSizeLimit full(static_cast<rlim_t>(limit));
            failure = write(*store_, path);
        }
        QVERIFY(failure.has_value());
        QVERIFY2(failure->contains(QDir::toNativeSeparators(path)), qPrintable(*failure));
        QVERIFY2(failure->contains(fileoutput::causeText(EFBIG)), qPrintable(*failure));
        QCOMPARE(filesIn(out.path()), earlier);
    }

    // The cause of a failure in the user's words, never the system's or a library's text.
    void causes_data() {
        QTest::addColumn<int>("errorNumber");
        QTest::addColumn<QString>("text");
        QTest::newRow("full disk") << ENOSPC << "Auf dem Datenträger ist kein Platz mehr frei.";
        QTest::newRow("quota") << EDQUOT << "Auf dem Datenträger ist kein Platz mehr frei.";
        QTest::newRow("no permission")
            << EACCES << "Kalvero hat keine Berechtigung, dort zu schreiben.";
        QTest::newRow("write-protected") << EROFS << "Der Datenträger ist schreibgeschützt.";
        QTest::newRow("path gone") << ENOENT
                                   << "Den Ordner gibt es nicht (mehr); vielleicht wurde der "
                                      "Datenträger entfernt.";
        QTest::newRow("stick pulled")
            << EIO << "Der Datenträger antwortet nicht; vielleicht wurde er entfernt.";
        QTest::newRow("other") << EXDEV << "Das System meldet den Fehler Nr. 18.";
    }
    void causes() {
        QFETCH(int, errorNumber);
        QFETCH(QString, text);
        QCOMPARE(fileoutput::causeText(errorNumber), text);
    }

    // The workbook is refused before its first row when its jumps exceed a sheet: the count
    // it asks for first is the number of rows the reader hands on.
    void countKnownBeforeWriting_data() {
        QTest::addColumn<QList<int>>("places"); // in the list of all athletes; -1 an unknown ID
        QTest::addColumn<qint64>("jumps");
        QTest::newRow("everyone") << QList<int>{} << qint64(3000);
        QTest::newRow("two") << QList<int>{3, 7} << qint64(200);
        QTest::newRow("one twice and an unknown one") << QList<int>{5, 5, -1} << qint64(200);
        QTest::newRow("none") << QList<int>{-1} << qint64(0);
    }
    void countKnownBeforeWriting() {
        QFETCH(QList<int>, places);
        QFETCH(qint64, jumps);
        const QList<qint64> all = everyone(*store_);
        QList<qint64> ids;
        for (const int place : places)
            ids << (place < 0 ? qint64(999999) : all[place]);
        if (places.isEmpty())
            ids = all;
        qint64 rows = 0;
        store_->jumps().forEachListed(ids, {}, [&rows](const ListedJump&) { ++rows; });
        QCOMPARE(store_->jumps().countListed(ids), rows);
        QCOMPARE(rows, jumps);
    }

    // A folder that is gone is named as such by every writer, and nothing is made.
    void folderGone() {
        QTemporaryDir out;
        for (auto it = writers().cbegin(); it != writers().cend(); ++it) {
            const QString path = out.filePath(QStringLiteral("fehlt/datei"));
            const auto failure = (*it)(*store_, path);
            QVERIFY2(failure && failure->contains(QStringLiteral("fehlt")), qPrintable(it.key()));
            if (it.key() != QLatin1String("backup"))
                QVERIFY2(failure->contains(fileoutput::causeText(ENOENT)), qPrintable(*failure));
        }
        QCOMPARE(filesIn(out.path()).size(), 0);
    }
};

QTEST_GUILESS_MAIN(TestWriteFailures)
#include "tst_writefailures.moc"
