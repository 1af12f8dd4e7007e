// Copies of the SQLite file through SQLite's online backup API: the daily ones, one on request,
// their check, and putting one back in place.

#include "core/store/Backup.h"

#include "core/base/Errors.h"
#include "core/base/FileOutput.h"
#include "core/store/Database.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <sqlite3.h>

#include <algorithm>
#include <cerrno>

namespace {

// The texts of this file that the user reads, in the translation context "Backup".
struct BackupTexts {
    Q_DECLARE_TR_FUNCTIONS(Backup)
};

} // namespace

namespace backup {
namespace {

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// A connection of the engine's own, closed when it goes.
struct Connection {
    sqlite3* handle = nullptr;
    Connection(const QString& path, int flags) {
        sqlite3_open_v2(QFile::encodeName(path).constData(), &handle, flags, nullptr);
    }
    ~Connection() { sqlite3_close_v2(handle); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    QString error() const {
        return handle != nullptr ? QString::fromUtf8(sqlite3_errmsg(handle))
                                 : QStringLiteral("out of memory");
    }
};

bool isDatabaseFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(16) == QByteArray("SQLite format 3\0", 16);
}

int stopWhenAsked(void* flag) {
    return static_cast<const std::atomic<bool>*>(flag)->load() ? 1 : 0;
}

} // namespace

QString folder(const QString& dataDirectory) {
    return QDir::toNativeSeparators(QDir(dataDirectory).filePath(QStringLiteral("backups")) +
                                    QLatin1Char('/'));
}

QString dailyName(const QDate& day) {
    return QStringLiteral("qrv-%1.sqlite").arg(day.toString(QStringLiteral("yyyy-MM-dd")));
}

Check check(const QString& path, Depth depth, const std::atomic<bool>* stop) {
    if (!QFileInfo(path).isFile())
        return {false, BackupTexts::tr("Die Datei \"%1\" gibt es nicht.").arg(shown(path))};
    Connection db(path, SQLITE_OPEN_READONLY);
    if (db.handle == nullptr || sqlite3_errcode(db.handle) != SQLITE_OK)
        return {false, db.error(), true};
    if (stop != nullptr)
        sqlite3_progress_handler(db.handle, 1000, stopWhenAsked,
                                 const_cast<std::atomic<bool>*>(stop));
    sqlite3_stmt* statement = nullptr;
    const char* pragma =
        depth == Depth::Quick ? "PRAGMA quick_check(1)" : "PRAGMA integrity_check(1)";
    // Only the engine's word for damage is a verdict; a file that cannot be read for another
    // cause (locked, no permission) gives none.
    const auto damage = [](int code) {
        return (code & 0xFF) == SQLITE_CORRUPT || (code & 0xFF) == SQLITE_NOTADB;
    };
    const int prepared = sqlite3_prepare_v2(db.handle, pragma, -1, &statement, nullptr);
    if (prepared != SQLITE_OK)
        return {false, db.error(), !damage(prepared)};
    const int step = sqlite3_step(statement);
    QString answer;
    if (step == SQLITE_ROW)
        answer =
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    else if (step == SQLITE_INTERRUPT)
        answer = QStringLiteral("abgebrochen");
    else
        answer = db.error();
    sqlite3_finalize(statement);
    if (step != SQLITE_ROW && !damage(step))
        return {false, answer, true};
    if (answer == QLatin1String("ok"))
        return {true, {}};
    return {false, answer.isEmpty() ? BackupTexts::tr("kein Ergebnis") : answer};
}

bool isBackup(const QString& path) {
    if (!isDatabaseFile(path))
        return false;
    Connection db(path, SQLITE_OPEN_READONLY);
    if (sqlite3_errcode(db.handle) != SQLITE_OK)
        return false;
    for (const char* table : {"sportler", "units", "mr"}) {
        sqlite3_stmt* statement = nullptr;
        const QByteArray sql = QByteArray("SELECT * FROM ") + table + " LIMIT 0";
        const int rc = sqlite3_prepare_v2(db.handle, sql.constData(), -1, &statement, nullptr);
        sqlite3_finalize(statement);
        if (rc != SQLITE_OK)
            return false;
    }
    return true;
}

void copy(const QString& source, const QString& target, const std::atomic<bool>* stop) {
    const QFileInfo sourceInfo(source);
    if (!sourceInfo.isFile() || sourceInfo.size() == 0)
        throw AppError(
            BackupTexts::tr("Die Datenbankdatei \"%1\" gibt es nicht.").arg(shown(source)));
    const QFileInfo targetInfo(target);
    // Only a backup of this program is replaced: any other file, another program's database
    // among them, stays.
    if (targetInfo.isDir() || (targetInfo.exists() && !isBackup(target)))
        throw AppError(BackupTexts::tr("\"%1\" ist keine Sicherung von Kalvero und wird nicht "
                                       "überschrieben.")
                           .arg(shown(target)));
    if (!QFileInfo(targetInfo.absolutePath()).isDir())
        throw AppError(BackupTexts::tr("Das Verzeichnis \"%1\" gibt es nicht.")
                           .arg(shown(targetInfo.absolutePath())));
    const auto cannotBackUp = [&](const QString& problem) {
        return AppError(BackupTexts::tr("Die Datenbank \"%1\" kann nicht nach \"%2\" gesichert "
                                        "werden.")
                            .arg(shown(source), shown(target)),
                        problem);
    };

    // Written by the engine to a file of its own beside the target, then put in its place.
    fileoutput::AtomicFile file(target);
    if (!file.open())
        throw cannotBackUp(fileoutput::causeText(file.errorNumber()));
    const QString staged = file.handOver();
    const auto removeJournals = [&staged] {
        for (const char* suffix : {"-journal", "-wal", "-shm"})
            QFile::remove(staged + QLatin1String(suffix));
    };
    QString problem;
    int errorNumber = 0;
    {
        Connection from(source, SQLITE_OPEN_READONLY);
        Connection to(staged, SQLITE_OPEN_READWRITE);
        // The cause of a failed write in the user's words: the system's error number where
        // the engine has one.
        const auto failedWrite = [&](int rc) {
            errorNumber = (rc & 0xFF) == SQLITE_FULL ? ENOSPC : sqlite3_system_errno(to.handle);
            if (errorNumber == 0)
                errorNumber = fileoutput::likelyErrorNumber(target);
            problem = errorNumber != 0 ? fileoutput::causeText(errorNumber)
                                       : BackupTexts::tr("Die Kopie kann nicht geschrieben "
                                                         "werden.");
        };
        if (sqlite3_errcode(from.handle) != SQLITE_OK) {
            problem = from.error();
        } else if (sqlite3_errcode(to.handle) != SQLITE_OK) {
            failedWrite(sqlite3_errcode(to.handle));
        } else if (sqlite3_backup* b =
                       sqlite3_backup_init(to.handle, "main", from.handle, "main")) {
            int rc = SQLITE_OK;
            // A few pages at a time: a program that writes meanwhile is held only briefly, and
            // a stop is heard soon.
            while (rc == SQLITE_OK || rc == SQLITE_BUSY || rc == SQLITE_LOCKED) {
                if (stop != nullptr && stop->load()) {
                    rc = SQLITE_INTERRUPT;
                    break;
                }
                rc = sqlite3_backup_step(b, 256);
                if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
                    QThread::msleep(20);
            }
            sqlite3_backup_finish(b);
            if (rc == SQLITE_INTERRUPT)
                problem = QStringLiteral("abgebrochen");
            else if (rc != SQLITE_DONE)
                failedWrite(rc);
            // The copy is one file of its own, without a write-ahead log beside it.
            else if (const int mode = sqlite3_exec(to.handle, "PRAGMA journal_mode=DELETE", nullptr,
                                                   nullptr, nullptr);
                     mode != SQLITE_OK)
                failedWrite(mode);
        } else {
            failedWrite(sqlite3_errcode(to.handle));
        }
    }
    if (problem.isEmpty()) {
        const Check checked = check(staged, Depth::Full, stop);
        if (!checked.sound)
            problem =
                BackupTexts::tr("die Kopie besteht die Prüfung nicht: %1").arg(checked.problem);
    }
    if (!problem.isEmpty()) {
        file.cancel();
        removeJournals();
        throw cannotBackUp(problem);
    }
    if (!file.commit()) {
        removeJournals();
        throw cannotBackUp(fileoutput::causeText(file.errorNumber()));
    }
}

QStringList dailyCopies(const QString& dataDirectory) {
    QStringList copies;
    const QDir dir(folder(dataDirectory));
    const QStringList names = dir.entryList({QStringLiteral("qrv-\?\?\?\?-\?\?-\?\?.sqlite")},
                                            QDir::Files, QDir::Name | QDir::Reversed);
    for (const QString& name : names) {
        if (QDate::fromString(name.mid(4, 10), QStringLiteral("yyyy-MM-dd")).isValid())
            copies << dir.filePath(name);
    }
    return copies;
}

Daily makeDaily(const QString& dataDirectory, const QDate& today, int kept,
                const std::atomic<bool>* stop) {
    const QString dir = folder(dataDirectory);
    const QString target = dir + dailyName(today);
    if (QFileInfo::exists(target))
        return {};
    if (!QDir().mkpath(dir))
        throw AppError(BackupTexts::tr("Der Ordner der Sicherungen \"%1\" kann nicht angelegt "
                                       "werden.")
                           .arg(shown(dir)));
    copy(QDir(dataDirectory).filePath(StoreLocation::kFileName), target, stop);
    Daily daily{target, {}};
    // The new copy passed its check: the oldest beyond the number kept may go.
    const QStringList copies = dailyCopies(dataDirectory);
    for (const QString& old : copies.mid(std::max(kept, 1))) {
        if (QFile::remove(old))
            daily.removed << old;
    }
    return daily;
}

QString newestSound(const QString& dataDirectory) {
    for (const QString& copyFile : dailyCopies(dataDirectory)) {
        if (check(copyFile, Depth::Full).sound)
            return copyFile;
    }
    return {};
}

bool inUse(const QString& path) {
    if (!QFileInfo(path).isFile())
        return false;
    Connection db(path, SQLITE_OPEN_READWRITE);
    if (sqlite3_errcode(db.handle) != SQLITE_OK)
        return false;
    // A connection in write-ahead-log mode holds a shared lock on the file while it is open;
    // an exclusive one is then refused at once.
    return sqlite3_exec(db.handle, "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE; ROLLBACK;",
                        nullptr, nullptr, nullptr) == SQLITE_BUSY;
}

QString restore(const QString& dataDirectory, const QString& copyFile, const QString& reason,
                const QDateTime& now) {
    const Check checked = check(copyFile, Depth::Full);
    if (!checked.sound)
        throw AppError(BackupTexts::tr("Die Sicherung \"%1\" ist keine intakte Datenbank; nichts "
                                       "wurde geändert.")
                           .arg(shown(copyFile)),
                       checked.problem);
    {
        Connection db(copyFile, SQLITE_OPEN_READONLY);
        for (const char* table : {"sportler", "units", "mr"}) {
            sqlite3_stmt* statement = nullptr;
            const QByteArray sql = QByteArray("SELECT * FROM ") + table + " LIMIT 0";
            const int rc = sqlite3_prepare_v2(db.handle, sql.constData(), -1, &statement, nullptr);
            sqlite3_finalize(statement);
            if (rc != SQLITE_OK)
                throw AppError(BackupTexts::tr("Die Sicherung \"%1\" ist keine Datenbank von "
                                               "Kalvero; nichts wurde geändert.")
                                   .arg(shown(copyFile)),
                               db.error());
        }
    }
    const QDir dir(dataDirectory);
    const QString database = dir.filePath(StoreLocation::kFileName);
    if (inUse(database))
        throw AppError(BackupTexts::tr("Die Datenbank \"%1\" ist geöffnet; Kalvero muss zuerst "
                                       "beendet werden. Nichts wurde geändert.")
                           .arg(shown(database)));
    const QString staged = database + QStringLiteral(".wiederhergestellt");
    QFile::remove(staged);
    copy(copyFile, staged);

    QString aside;
    if (QFileInfo::exists(database)) {
        const QString stem = QStringLiteral("qrv-%1-%2")
                                 .arg(reason, now.toString(QStringLiteral("yyyy-MM-dd-HHmmss")));
        aside = dir.filePath(stem + QStringLiteral(".sqlite"));
        for (int n = 2; QFileInfo::exists(aside); ++n)
            aside = dir.filePath(stem + QStringLiteral("-%1.sqlite").arg(n));
        if (!QFile::rename(database, aside)) {
            QFile::remove(staged);
            throw AppError(BackupTexts::tr("Die Datenbankdatei \"%1\" kann nicht umbenannt werden; "
                                           "nichts wurde geändert.")
                               .arg(shown(database)));
        }
        // The log belongs to the file it was written for: it goes with it.
        for (const char* suffix : {"-wal", "-shm"}) {
            if (QFileInfo::exists(database + QLatin1String(suffix)))
                QFile::rename(database + QLatin1String(suffix), aside + QLatin1String(suffix));
        }
    }
    if (!QFile::rename(staged, database)) {
        if (!aside.isEmpty()) {
            QFile::rename(aside, database);
            for (const char* suffix : {"-wal", "-shm"})
                QFile::rename(aside + QLatin1String(suffix), database + QLatin1String(suffix));
        }
        QFile::remove(staged);
        throw AppError(BackupTexts::tr("Die Sicherung kann nicht nach \"%1\" gelegt werden; "
                                       "nichts wurde geändert.")
                           .arg(shown(database)));
    }
    return aside;
}

} // namespace backup
