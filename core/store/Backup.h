#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <atomic>

// Copies of the SQLite database file: the daily ones in the folder "backups" of the data
// directory (qrv-YYYY-MM-DD.sqlite), one made on request, and putting one back in place of
// the database. A copy is always made with SQLite's online backup API, never by copying the
// file while it is open, and checked before anything relies on it. Every function throws
// AppError with a German text that names the file and the problem; on failure nothing is
// changed.
namespace backup {

inline constexpr int kKeptByDefault = 14;

// The folder of the daily copies, ending with a separator.
QString folder(const QString& dataDirectory);
// "qrv-2026-12-08.sqlite"
QString dailyName(const QDate& day);

enum class Depth { Quick, Full }; // PRAGMA quick_check or PRAGMA integrity_check

struct Check {
    bool sound = false;
    QString problem; // the engine's first complaint, when not sound
    // No verdict: stopped before an answer, or the file could not be read for a cause other
    // than damage (locked, no permission); nothing is known then.
    bool stopped = false;
};
// Checks the database file at `path` on a connection of its own that only reads. Stops early
// (unsound, problem "abgebrochen") when `stop` is set.
Check check(const QString& path, Depth depth, const std::atomic<bool>* stop = nullptr);

// Copies the database file `source` to `target` through a connection of its own: written to
// a temporary file beside `target`, checked with integrity_check, then put in its place. A
// `target` that exists must be a backup of Kalvero (an SQLite database with its tables), which
// is replaced; any other file is refused.
void copy(const QString& source, const QString& target, const std::atomic<bool>* stop = nullptr);

// Whether the file at `path` is a database of Kalvero: an SQLite file with its tables.
bool isBackup(const QString& path);

struct Daily {
    QString made;        // the copy made today, empty when there was one already
    QStringList removed; // older copies removed beyond the number kept
};
// The daily copy of the database in `dataDirectory`: made when the folder holds none of
// `today`; then, the new copy being sound, the oldest beyond `kept` are removed.
Daily makeDaily(const QString& dataDirectory, const QDate& today, int kept,
                const std::atomic<bool>* stop = nullptr);

// The daily copies, newest first.
QStringList dailyCopies(const QString& dataDirectory);
// The newest daily copy that passes integrity_check; empty when there is none.
QString newestSound(const QString& dataDirectory);

// Whether another connection has the database file at `path` open (a running Kalvero): it
// cannot be locked for this connection alone.
bool inUse(const QString& path);

// Puts the database file `copyFile` in place of the database in `dataDirectory`: the copy is
// checked and copied beside it first, then the database file there (with its write-ahead
// log) is renamed aside to "qrv-<reason>-YYYY-MM-DD-HHmmss.sqlite", never deleted. Returns
// that name (empty when there was no database file). Refused while a program has the
// database open.
QString restore(const QString& dataDirectory, const QString& copyFile, const QString& reason,
                const QDateTime& now);

} // namespace backup
