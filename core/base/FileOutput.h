#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

class QIODevice;

// Files written all or nothing: every file the program writes goes to a temporary file beside
// its target, every write, the sync and the close are checked, and only a complete file is
// renamed over the target. A failure leaves no part of a file and the target as it was, and
// names the file and the cause in the user's words.
namespace fileoutput {

// The cause of a failed write in the user's words, from the system's error number: a full
// disk, no permission, a write-protected disk, a folder that is gone, ...
QString causeText(int errorNumber);

// The message when a file cannot be written, worded as the export's: "Datei "…" kann nicht
// erstellt werden." and the reason.
QString cannotCreateMessage(const QString& path, const QString& reason);

// The cause of a failure that a library reported without the system's error number, found by
// looking at the folder of `path`: gone, write-protected, not writable or full. 0 when none of
// these is the case.
int likelyErrorNumber(const QString& path);

// One file written all or nothing. The temporary file ".<name>-XXXXXX.part" is made beside
// the target with the permissions of the target (or of any new file); until commit() the
// target is untouched, and a file that is not committed is removed.
class AtomicFile {
public:
    explicit AtomicFile(QString target);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    bool open();
    // Writes all of `data`; false on the first failure, after which every call fails.
    bool write(const char* data, qint64 size);
    bool write(const QByteArray& data) { return write(data.constData(), data.size()); }
    // Syncs and closes the file; commit() does so too. Files that belong together are each
    // finished before the first is put in place.
    bool finish();
    // Syncs and closes the file and renames it over the target.
    bool commit();
    // Removes the temporary file; the target stays as it was.
    void cancel();

    // For a library that writes the file by name itself: the temporary file's path, closed
    // here. commit() then syncs what the library wrote and puts it in place.
    QString handOver();
    // Records a failure that the library reported; `errorNumber` 0 when it did not say why.
    void fail(int errorNumber, const QString& reason = {});

    const QString& target() const { return target_; }
    // The system's error number of the failure, 0 when there was none or it is not known.
    int errorNumber() const { return errorNumber_; }
    // The message for the user after a failure.
    QString message() const;

private:
    bool failWith(int errorNumber);

    QString target_;
    QString temporary_;
    int descriptor_ = -1;
    bool failed_ = false;
    bool finished_ = false;
    bool committed_ = false;
    int errorNumber_ = 0;
    QString reason_;
};

// Writes `path` all or nothing, handing a device to `write`, which returns false when it
// failed (a writer that breaks off on purpose throws instead). Returns the message for the
// user when the file cannot be written.
std::optional<QString> write(const QString& path, const std::function<bool(QIODevice&)>& write);

// Writes `bytes` to `path` all or nothing; the message for the user when it failed.
std::optional<QString> writeBytes(const QString& path, const QByteArray& bytes);

} // namespace fileoutput
