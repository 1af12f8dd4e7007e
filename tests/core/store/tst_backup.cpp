#include "core/base/Clock.h"
#include "core/base/Errors.h"
#include "core/store/AthleteRepository.h"
#include "core/store/Backup.h"
#include "core/store/DataStore.h"
#include "core/store/Database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

void addAthlete(const QString& directory, const QString& name) {
    Database db(directory);
    AthleteRepository(db).add(Athlete{0, name, QStringLiteral("Anna"), {}, {}, -1, {}});
}

QStringList athleteNames(const QString& directory) {
    Database db(directory);
    QStringList names;
    for (const Athlete& a : AthleteRepository(db).all())
        names << a.name;
    return names;
}

QStringList fileNames(const QStringList& paths) {
    QStringList names;
    for (const QString& p : paths)
        names << QFileInfo(p).fileName();
    return names;
}

} // namespace

class TestBackup : public QObject {
    Q_OBJECT

private slots:
    // One copy a day, at the first start of that day, made while the database is open; the
    // last 14 are kept (or as many as set), each checked before an older one goes.
    void dailyCopiesRotate_data() {
        QTest::addColumn<int>("kept");
        QTest::newRow("the default") << 14;
        QTest::newRow("three") << 3;
    }
    void dailyCopiesRotate() {
        QFETCH(int, kept);
        QTemporaryDir dir;
        addAthlete(dir.path(), "Meier");
        VirtualClock clock;
        clock.setMoment(QDateTime(QDate(2026, 11, 25), QTime(7, 30)));
        for (int day = 0; day < 20; ++day) {
            for (int start = 0; start < 2; ++start) { // a second start the same day adds none
                Database db(dir.path());
                db.checkInBackground(clock.now().date(), kept, nullptr, {});
                db.finishBackgroundWork();
                QVERIFY(!db.damaged());
                clock.advance(3 * 3600 * 1000);
            }
            clock.advance(18 * 3600 * 1000);
        }
        QStringList expected;
        for (int day = 19; day > 19 - kept; --day)
            expected << backup::dailyName(QDate(2026, 11, 25).addDays(day));
        const QStringList copies = backup::dailyCopies(dir.path());
        QCOMPARE(fileNames(copies), expected);
        QCOMPARE(QDir(backup::folder(dir.path())).entryList(QDir::Files).size(), kept);
        for (const QString& copy : copies) {
            QVERIFY(backup::check(copy, backup::Depth::Full).sound);
            QVERIFY(!QFile::exists(copy + "-wal"));
        }
    }

    // A restore checks the copy first, renames the file it replaces aside and never deletes
    // it; a copy that is no sound database changes nothing.
    void restore() {
        QTemporaryDir dir;
        addAthlete(dir.path(), "Meier");
        const QString copy = dir.filePath("copy.sqlite");
        backup::copy(dir.filePath("qrv.sqlite"), copy);
        addAthlete(dir.path(), "Schulz");
        const QByteArray replaced = contents(dir.filePath("qrv.sqlite"));

        const QString aside = backup::restore(dir.path(), copy, "ersetzt",
                                              QDateTime(QDate(2026, 12, 8), QTime(9, 5, 7)));
        QCOMPARE(aside, dir.filePath("qrv-ersetzt-2026-12-08-090507.sqlite"));
        QCOMPARE(contents(aside), replaced);
        QCOMPARE(athleteNames(dir.path()), QStringList{"Meier"});

        const QString notADatabase = dir.filePath("notes.sqlite");
        writeFile(notADatabase, "Sportler: Meier, Schulz\n");
        const QByteArray before = contents(dir.filePath("qrv.sqlite"));
        const auto failure =
            failureOf([&] { backup::restore(dir.path(), notADatabase, "ersetzt", {}); });
        QVERIFY(failure);
        QVERIFY2(failure->text.contains(notADatabase), qPrintable(failure->text));
        QCOMPARE(contents(dir.filePath("qrv.sqlite")), before);
        QCOMPARE(QDir(dir.path()).entryList({"qrv-*"}).size(), 1);
    }

    // The store puts a copy in place of its open file: it closes, restores and opens again,
    // on the copy, or on the file as it was when the copy is no sound database, which it tells.
    void theStoreRestoresACopy() {
        QTemporaryDir dir;
        addAthlete(dir.path(), "Meier");
        backup::makeDaily(dir.path(), QDate(2026, 12, 7), 14);
        addAthlete(dir.path(), "Schulz");
        DataStore store;
        store.open(StoreLocation::embedded(dir.path()));
        const QString newest = store.newestSoundBackup();
        QCOMPARE(QFileInfo(newest).fileName(), backup::dailyName(QDate(2026, 12, 7)));
        const QString notADatabase = dir.filePath("notes.sqlite");
        writeFile(notADatabase, "Sportler: Meier, Schulz\n");
        const auto failure =
            failureOf([&] { store.restoreBackup(notADatabase, "beschaedigt", {}); });
        QVERIFY(failure);
        QVERIFY2(failure->text.contains(notADatabase), qPrintable(failure->text));
        QCOMPARE(store.athletes().all().size(), 2);
        const QString aside = store.restoreBackup(newest, "beschaedigt",
                                                  QDateTime(QDate(2026, 12, 8), QTime(9, 5, 7)));
        QCOMPARE(aside, dir.filePath("qrv-beschaedigt-2026-12-08-090507.sqlite"));
        QCOMPARE(store.athletes().all().size(), 1);
    }

    // The newest copy that passes the check is offered; a damaged newer one is passed over.
    void newestSoundCopy() {
        QTemporaryDir dir;
        addAthlete(dir.path(), "Meier");
        QVERIFY(backup::newestSound(dir.path()).isEmpty());
        backup::makeDaily(dir.path(), QDate(2026, 12, 6), 14);
        backup::makeDaily(dir.path(), QDate(2026, 12, 7), 14);
        const QString newest = backup::folder(dir.path()) + backup::dailyName(QDate(2026, 12, 7));
        QByteArray bytes = contents(newest);
        bytes.replace(bytes.size() - 4096, 4096, QByteArray(4096, '\x5a'));
        bytes.replace(100, 8, QByteArray(8, '\x5a')); // the first page's header as well
        writeFile(newest, bytes);
        QCOMPARE(QFileInfo(backup::newestSound(dir.path())).fileName(),
                 backup::dailyName(QDate(2026, 12, 6)));
    }

    // A copy never replaces a file that is no database, nor is it left half-written.
    void aCopyOverwritesOnlyADatabase() {
        QTemporaryDir dir;
        addAthlete(dir.path(), "Meier");
        const QString text = dir.filePath("notes.txt");
        writeFile(text, "keep me");
        QVERIFY(failureOf([&] { backup::copy(dir.filePath("qrv.sqlite"), text); }));
        QCOMPARE(contents(text), QByteArray("keep me"));
        QVERIFY(failureOf([&] { backup::copy(dir.filePath("qrv.sqlite"), dir.filePath("x/y")); }));
        QVERIFY(!QFile::exists(dir.filePath("x")));
        // An older copy is replaced.
        const QString copy = dir.filePath("copy.sqlite");
        backup::copy(dir.filePath("qrv.sqlite"), copy);
        addAthlete(dir.path(), "Schulz");
        backup::copy(dir.filePath("qrv.sqlite"), copy);
        QVERIFY(backup::check(copy, backup::Depth::Full).sound);
        QCOMPARE(QDir(dir.path()).entryList({"copy.sqlite*"}), QStringList{"copy.sqlite"});
    }

    void aDatabaseInUse() {
        QTemporaryDir dir;
        addAthlete(dir.path(), "Meier");
        QVERIFY(!backup::inUse(dir.filePath("qrv.sqlite")));
        Database db(dir.path());
        QVERIFY(backup::inUse(dir.filePath("qrv.sqlite")));
    }
};

QTEST_GUILESS_MAIN(TestBackup)
#include "tst_backup.moc"
