#include "core/base/Errors.h"
#include "core/store/AthleteRepository.h"
#include "core/store/DataStore.h"
#include "core/store/Database.h"
#include "support/FileSizeLimit.h"
#include "support/FullDiskVfs.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {

// The text of the failure of `action`, empty when it succeeded.
QString failureText(const std::function<void()>& action) {
    const auto failure = failureOf(action);
    return failure ? failure->text : QString();
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A database file with athletes and enough jumps for many pages; closed again.
void fill(const QString& directory) {
    Database db(directory);
    Database::Transaction t(db);
    for (int i = 1; i <= 20; ++i)
        db.write("INSERT INTO sportler (Name, Vorname) VALUES (?, 'Anna')",
                 {QStringLiteral("Meier %1").arg(i)});
    for (int i = 0; i < 3000; ++i)
        db.write("INSERT INTO mr VALUES (?, 200, 500, 1.25, 1)", {1001 + i});
    t.commit();
}

// Overwrites the page before the last of the file with bytes no page holds.
void damageAPage(const QString& path) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    const qint64 pages = file.size() / 4096;
    QVERIFY(pages > 5);
    file.seek((pages - 2) * 4096);
    file.write(QByteArray(4096, '\x5a'));
}

} // namespace

class TestStoreFaults : public QObject {
    Q_OBJECT

private slots:
    // Before: "disk I/O error Der Befehl konnte nicht ausgeführt werden.", and after space was
    // freed "Die Datenbank ist nicht geöffnet." until a restart.
    void aDiskFullAtStart() {
        fulldisk::install();
        QTemporaryDir dir;
        fill(dir.path());
        fulldisk::full = true;
        DataStore store;
        const QString expected =
            QStringLiteral("Der Datenträger ist voll: Im Datenverzeichnis \"%1\" ist kein Platz "
                           "mehr frei.")
                .arg(QDir::toNativeSeparators(dir.path()));
        QCOMPARE(failureText([&] { store.open(StoreLocation::embedded(dir.path())); }), expected);
        QVERIFY(!store.isOpen());
        // Still full: the next action says so again.
        QCOMPARE(failureText([&] { store.athletes().all(); }), expected);
        // Space freed: the next action opens the database.
        fulldisk::full = false;
        QCOMPARE(store.athletes().all().size(), 20);
        QVERIFY(store.isOpen());
    }

    // The engine's "unable to open database file" said in German, with the path.
    void whatKeepsTheFileFromOpening_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("words");
        QTest::newRow("a directory named qrv.sqlite") << "directory"
                                                      << "steht ein Verzeichnis";
        QTest::newRow("a data directory the user may not write") << "no write"
                                                                 << "Schreibberechtigung";
    }
    void whatKeepsTheFileFromOpening() {
        QFETCH(QString, fault);
        QFETCH(QString, words);
        QTemporaryDir dir;
        const QString data = dir.filePath("Morvek/QRV");
        QVERIFY(QDir().mkpath(data));
        QString named = data;
        if (fault == "directory") {
            QVERIFY(QDir().mkpath(data + "/qrv.sqlite"));
            named = data + "/qrv.sqlite";
        } else {
            QVERIFY(::chmod(QFile::encodeName(data).constData(), 0555) == 0);
        }
        DataStore store;
        const QString text = failureText([&] { store.open(StoreLocation::embedded(data)); });
        ::chmod(QFile::encodeName(data).constData(), 0755);
        QVERIFY2(text.contains(words), qPrintable(text));
        QVERIFY2(text.contains('"' + QDir::toNativeSeparators(named) + '"'), qPrintable(text));
        QVERIFY2(!text.contains("unable"), qPrintable(text));
        QVERIFY(!QFile::exists(data + "/qrv.sqlite") || QFileInfo(data + "/qrv.sqlite").isDir());
    }

    // Before: a start that read only the undamaged pages went on to record into the file.
    // The check at start finds the damage; the athletes can still be read, every change is
    // refused with the file's name and the way out, and the file stays as it was.
    void aDamagedPageFoundByTheCheckAtStart() {
        QTemporaryDir dir;
        fill(dir.path());
        const QString path = dir.filePath("qrv.sqlite");
        damageAPage(path);
        const QByteArray damaged = contents(path);

        {
            Database db(dir.path());
            QVERIFY(!db.damaged()); // the pages the opening reads are sound
            db.checkInBackground(QDate(2026, 12, 8), 14, nullptr, {});
            QCOMPARE(db.probeWriteAccess().access, WriteAccess::ReadOnly);
            QVERIFY(db.damaged());
            QCOMPARE(AthleteRepository(db).all().size(), 20);
            for (const auto& change : std::initializer_list<std::function<void()>>{
                     [&] {
                         AthleteRepository(db).add(Athlete{0, "Neu", "Nina", {}, {}, -1, {}});
                     },
                     [&] { AthleteRepository(db).remove(1); },
                     [&] {
                         Database::Transaction t(db);
                     }}) {
                const QString text = failureText(change);
                QVERIFY2(text.contains(QDir::toNativeSeparators(path)), qPrintable(text));
                QVERIFY2(text.contains("beschädigt") && text.contains("Sicherung"),
                         qPrintable(text));
            }
            QVERIFY(!QDir(dir.filePath("backups")).exists()); // no copy of a damaged file
            QCOMPARE(AthleteRepository(db).all().size(), 20);
        }
        QCOMPARE(contents(path), damaged);
    }

    // A sound file that may only be read is checked, not taken for damaged, and not backed up.
    void aReadOnlyFileIsNoDamagedOne() {
        QTemporaryDir dir;
        fill(dir.path());
        const QByteArray directory = QFile::encodeName(dir.path());
        QVERIFY(::chmod(QFile::encodeName(dir.filePath("qrv.sqlite")).constData(), 0444) == 0);
        QVERIFY(::chmod(directory.constData(), 0555) == 0);
        {
            Database db(dir.path());
            db.checkInBackground(QDate(2026, 12, 8), 14, nullptr, {});
            db.finishBackgroundWork();
            QVERIFY(!db.damaged());
            QCOMPARE(AthleteRepository(db).all().size(), 20);
        }
        ::chmod(directory.constData(), 0755);
        QVERIFY(!QDir(dir.filePath("backups")).exists());
    }

    // A window closed before the check at start is done gets no answer, and the program
    // goes on (the answer once went to the window that was gone).
    void theCheckOutlivesTheWindowThatAsked() {
        QTemporaryDir dir;
        fill(dir.path());
        Database db(dir.path());
        bool answered = false;
        auto* window = new QObject;
        db.checkInBackground(QDate(2026, 12, 8), 0, window, [&answered](bool) { answered = true; });
        delete window;
        db.finishBackgroundWork();
        QCoreApplication::processEvents();
        QVERIFY(!answered);
        QVERIFY(!db.damaged());

        // Asked by one that stays, the answer comes.
        Database again(dir.path());
        QObject stays;
        again.checkInBackground(QDate(2026, 12, 8), 0, &stays,
                                [&answered](bool) { answered = true; });
        QTRY_VERIFY(answered);
    }

    // Before: the day's backup on a full disk failed without a word. Its failure is told
    // once, with its cause, to the window that asked; the database stays as it was.
    void aFailedDailyBackupIsTold_data() {
        QTest::addColumn<bool>("diskFull");
        QTest::addColumn<QString>("cause");
        QTest::newRow("disk full") << true << "Die Datei wird zu groß für den Datenträger.";
        QTest::newRow("folder cannot be made") << false << "Der Ordner der Sicherungen";
    }
    void aFailedDailyBackupIsTold() {
        QFETCH(bool, diskFull);
        QFETCH(QString, cause);
        QTemporaryDir dir;
        fill(dir.path());
        if (!diskFull) {
            QFile blocking(dir.filePath("backups"));
            QVERIFY(blocking.open(QIODevice::WriteOnly));
        }
        const QByteArray before = contents(dir.filePath("qrv.sqlite"));
        QStringList told;
        {
            Database db(dir.path());
            QObject window;
            {
                std::optional<FileSizeLimit> full;
                if (diskFull)
                    full.emplace(0);
                db.checkInBackground(
                    QDate(2026, 12, 8), 14, &window, [](bool) {},
                    [&told](const QString& failure) { told << failure; });
                db.finishBackgroundWork();
            }
            QTRY_COMPARE(told.size(), 1);
            QCoreApplication::processEvents();
            QCOMPARE(told.size(), 1);
        }
        QVERIFY2(told.front().contains(cause), qPrintable(told.front()));
        QCOMPARE(contents(dir.filePath("qrv.sqlite")), before);
        QCOMPARE(QDir(dir.filePath("backups")).entryList(QDir::Files | QDir::Hidden),
                 QStringList());
    }

    // A read that meets the damage marks the database damaged as well.
    void aDamagedPageFoundByARead() {
        QTemporaryDir dir;
        fill(dir.path());
        damageAPage(dir.filePath("qrv.sqlite"));
        Database db(dir.path());
        // Every page of the jumps and of their index.
        const QString text = failureText([&] {
            db.read("SELECT (SELECT SUM(SZ) FROM mr) + (SELECT COUNT(*) FROM mr WHERE Serie > 0)");
        });
        QVERIFY2(text.startsWith("Die Datenbank \"" +
                                 QDir::toNativeSeparators(dir.filePath("qrv.sqlite")) +
                                 "\" ist beschädigt"),
                 qPrintable(text));
        QVERIFY(db.damaged());
        QVERIFY(!failureText([&] { db.write("DELETE FROM sportler"); }).isEmpty());
        QCOMPARE(AthleteRepository(db).all().size(), 20);
    }
};

QTEST_GUILESS_MAIN(TestStoreFaults)
#include "tst_storefaults.moc"
