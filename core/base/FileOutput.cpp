// Files written all or nothing: a temporary file beside the target, every write, the sync and
// the close checked, then renamed over the target.
//
// QSaveFile is not used: it buffers, and the error of its last flush and of its sync are lost
// in commit(), so a file cut short on a full disk would be put in place; and it tells a
// failure only as the system's English text, not by its cause.

#include "core/base/FileOutput.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

// The texts of this file that the user reads, in the translation context "FileOutput".
struct FileOutputTexts {
    Q_DECLARE_TR_FUNCTIONS(FileOutput)
};

QByteArray encoded(const QString& path) {
    return QFile::encodeName(path);
}

// Syncs the folder, so that the rename survives a power cut; a folder that cannot be opened
// or synced (some file systems of sticks) leaves the file written all the same.
void syncFolder(const QString& path) {
    const int folder = ::open(encoded(QFileInfo(path).absolutePath()).constData(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return;
    ::fsync(folder);
    ::close(folder);
}

// A device that hands every write to an AtomicFile.
class AtomicDevice : public QIODevice {
public:
    explicit AtomicDevice(fileoutput::AtomicFile& file) : file_(file) {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        return file_.write(data, size) ? size : -1;
    }

private:
    fileoutput::AtomicFile& file_;
};

} // namespace

namespace fileoutput {

QString causeText(int errorNumber) {
    switch (errorNumber) {
    case ENOSPC:
    case EDQUOT:
        return FileOutputTexts::tr("Auf dem Datenträger ist kein Platz mehr frei.");
    case EACCES:
    case EPERM:
        return FileOutputTexts::tr("Kalvero hat keine Berechtigung, dort zu schreiben.");
    case EROFS:
        return FileOutputTexts::tr("Der Datenträger ist schreibgeschützt.");
    case ENOENT:
    case ENOTDIR:
        return FileOutputTexts::tr("Den Ordner gibt es nicht (mehr); vielleicht wurde der "
                                   "Datenträger entfernt.");
    case EIO:
    case ENODEV:
    case ENXIO:
        return FileOutputTexts::tr("Der Datenträger antwortet nicht; vielleicht wurde er "
                                   "entfernt.");
    case EFBIG:
        return FileOutputTexts::tr("Die Datei wird zu groß für den Datenträger.");
    case EISDIR:
        return FileOutputTexts::tr("Unter diesem Namen gibt es einen Ordner.");
    case ENAMETOOLONG:
        return FileOutputTexts::tr("Der Name der Datei ist zu lang.");
    case ENOMEM:
        return FileOutputTexts::tr("Zu wenig Speicher.");
    default:
        return FileOutputTexts::tr("Das System meldet den Fehler Nr. %1.").arg(errorNumber);
    }
}

QString cannotCreateMessage(const QString& path, const QString& reason) {
    return FileOutputTexts::tr("Datei \"%1\" kann nicht erstellt werden. %2")
        .arg(QDir::toNativeSeparators(path), reason);
}

int likelyErrorNumber(const QString& path) {
    const QString folder = QFileInfo(path).absolutePath();
    const QByteArray name = encoded(folder);
    if (!QFileInfo(folder).isDir())
        return ENOENT;
    struct statvfs disk {};
    if (::statvfs(name.constData(), &disk) == 0) {
        if ((disk.f_flag & ST_RDONLY) != 0)
            return EROFS;
        if (disk.f_bavail == 0)
            return ENOSPC;
    }
    if (::access(name.constData(), W_OK) != 0)
        return errno == EROFS ? EROFS : EACCES;
    return 0;
}

AtomicFile::AtomicFile(QString target) : target_(std::move(target)) {}

AtomicFile::~AtomicFile() {
    if (!committed_)
        cancel();
}

bool AtomicFile::open() {
    const QFileInfo target(target_);
    if (target.isDir())
        return failWith(EISDIR);
    struct stat earlier {};
    const bool replaces = ::stat(encoded(target_).constData(), &earlier) == 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        QString name = QStringLiteral(".%1-").arg(target.fileName());
        for (int i = 0; i < 6; ++i)
            name += QLatin1Char(
                "abcdefghijklmnopqrstuvwxyz0123456789"[QRandomGenerator::global()->bounded(36)]);
        temporary_ = target.absoluteDir().filePath(name + QStringLiteral(".part"));
        // 0666 less the umask: the permissions any new file gets.
        descriptor_ =
            ::open(encoded(temporary_).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor_ >= 0 || errno != EEXIST)
            break;
    }
    if (descriptor_ < 0) {
        const int error = errno;
        temporary_.clear();
        return failWith(error);
    }
    // A file written anew keeps the permissions of the one it replaces.
    if (replaces)
        ::fchmod(descriptor_, earlier.st_mode & 07777);
    return true;
}

bool AtomicFile::write(const char* data, qint64 size) {
    if (failed_ || descriptor_ < 0)
        return failed_ ? false : failWith(EBADF);
    while (size > 0) {
        const ssize_t written = ::write(descriptor_, data, static_cast<size_t>(size));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return failWith(errno);
        }
        if (written == 0)
            return failWith(ENOSPC);
        data += written;
        size -= written;
    }
    return true;
}

QString AtomicFile::handOver() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
        descriptor_ = -1;
    }
    return temporary_;
}

void AtomicFile::fail(int errorNumber, const QString& reason) {
    failed_ = true;
    errorNumber_ = errorNumber;
    reason_ = reason;
}

bool AtomicFile::finish() {
    if (failed_ || temporary_.isEmpty())
        return false;
    if (finished_)
        return true;
    if (descriptor_ < 0) {
        // Written by a library: opened again to be synced.
        descriptor_ = ::open(encoded(temporary_).constData(), O_RDONLY | O_CLOEXEC);
        if (descriptor_ < 0)
            return failWith(errno);
    }
    if (::fsync(descriptor_) != 0 && errno != EINVAL && errno != EROFS)
        return failWith(errno);
    const int descriptor = descriptor_;
    descriptor_ = -1;
    if (::close(descriptor) != 0 && errno != EINTR)
        return failWith(errno);
    finished_ = true;
    return true;
}

bool AtomicFile::commit() {
    if (!finish())
        return false;
    if (::rename(encoded(temporary_).constData(), encoded(target_).constData()) != 0)
        return failWith(errno);
    committed_ = true;
    syncFolder(target_);
    return true;
}

void AtomicFile::cancel() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
        descriptor_ = -1;
    }
    if (!temporary_.isEmpty() && !committed_)
        ::unlink(encoded(temporary_).constData());
}

QString AtomicFile::message() const {
    const QString reason = !reason_.isEmpty() ? reason_ : causeText(errorNumber_);
    return cannotCreateMessage(target_, reason);
}

bool AtomicFile::failWith(int errorNumber) {
    fail(errorNumber);
    cancel();
    return false;
}

std::optional<QString> write(const QString& path, const std::function<bool(QIODevice&)>& write) {
    AtomicFile file(path);
    if (!file.open())
        return file.message();
    bool written = false;
    {
        AtomicDevice device(file);
        written = write(device);
    }
    if (!written) {
        // Failed without a failed write: the content could not be made.
        if (file.errorNumber() == 0)
            file.fail(0, FileOutputTexts::tr("Der Inhalt der Datei kann nicht erzeugt werden."));
        file.cancel();
        return file.message();
    }
    if (!file.commit())
        return file.message();
    return std::nullopt;
}

std::optional<QString> writeBytes(const QString& path, const QByteArray& bytes) {
    AtomicFile file(path);
    if (!file.open() || !file.write(bytes) || !file.commit())
        return file.message();
    return std::nullopt;
}

} // namespace fileoutput
