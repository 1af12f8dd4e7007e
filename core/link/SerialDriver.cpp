// The D2XX calls on Linux: FTDI converters found through sysfs and driven as ttys through
// termios.

#include "core/link/SerialDriver.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <tuple>
#include <type_traits>
#include <unistd.h>
#include <vector>

static_assert(std::is_same_v<tcflag_t, unsigned int>);

using namespace d2xx;

namespace {

QString readSysfsText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromUtf8(file.readAll());
    while (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r')))
        text.chop(1);
    return text;
}

bool isSameOrBelow(const QString& path, const QString& root) {
    return path == root || path.startsWith(root + QLatin1Char('/'));
}

struct BaudCode {
    quint32 rate;
    speed_t code;
};

constexpr BaudCode kBaudCodes[] = {
    {300, B300},       {600, B600},       {1200, B1200},     {2400, B2400},   {4800, B4800},
    {9600, B9600},     {19200, B19200},   {38400, B38400},   {57600, B57600}, {115200, B115200},
    {230400, B230400}, {460800, B460800}, {921600, B921600},
};

Status errnoStatus(int error) {
    return error == EBADF ? FT_INVALID_HANDLE : FT_IO_ERROR;
}

using Deadline = std::chrono::steady_clock::time_point;

Deadline deadlineIn(quint32 ms) {
    return std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
}

// Milliseconds left until the deadline, 0 once it passed.
int millisecondsLeft(Deadline deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    return static_cast<int>(std::max<qint64>(0, left.count()));
}

// Waits until fd is ready for `events` or the deadline passed. Returns 1 when ready, 0 at
// the deadline, -1 on an error (errno set).
int waitReady(int fd, short events, Deadline deadline) {
    for (;;) {
        pollfd p{fd, events, 0};
        const int n = ::poll(&p, 1, millisecondsLeft(deadline));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n;
        if ((p.revents & (POLLERR | POLLNVAL | POLLHUP)) != 0) {
            // Hung up or failed: the converter is gone.
            errno = (p.revents & POLLNVAL) != 0 ? EBADF : EIO;
            return -1;
        }
        return 1;
    }
}

QString canonicalOrAsGiven(const QString& path) {
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? path : canonical;
}

DeviceFileProblem problemOf(const QString& path, int error) {
    return DeviceFileProblem{path, deviceFileCause(error),
                             QString::fromLocal8Bit(std::strerror(error))};
}

bool configureRaw(int fd) {
    termios t{};
    if (::tcgetattr(fd, &t) != 0)
        return false;
    ::cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS | CSTOPB | PARENB | PARODD | CMSPAR | CSIZE);
    t.c_cflag |= CS8;
    t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    ::cfsetispeed(&t, B9600);
    ::cfsetospeed(&t, B9600);
    return ::tcsetattr(fd, TCSANOW, &t) == 0;
}

} // namespace

SerialDriver::SerialDriver(QString sysfsRoot, QString devRoot)
    : sysfsRoot_(std::move(sysfsRoot)), devRoot_(std::move(devRoot)) {}

SerialDriver::~SerialDriver() {
    notifiers_.clear();
    for (auto& [handle, port] : open_)
        ::close(port.fd);
}

QList<SerialDriver::UsbPort> SerialDriver::usbPorts() const {
    const QString root = QFileInfo(sysfsRoot_).canonicalFilePath();
    if (root.isEmpty())
        return {};
    static const QRegularExpression numbered(QStringLiteral("^(.*\\D)(\\d+)$"));

    struct Found {
        QString prefix;
        qulonglong number;
        UsbPort port;
    };
    std::vector<Found> found;
    const QDir ttys(root + QStringLiteral("/class/tty"));
    for (const QString& name : ttys.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System)) {
        // The USB device that carries the tty is an ancestor of its "device" entry: the first
        // folder on the way up that tells a vendor id.
        QString dir =
            QFileInfo(ttys.filePath(name) + QStringLiteral("/device")).canonicalFilePath();
        while (!dir.isEmpty() && isSameOrBelow(dir, root) && dir != root) {
            if (QFileInfo::exists(dir + QStringLiteral("/idVendor"))) {
                const auto match = numbered.match(name);
                found.push_back({match.hasMatch() ? match.captured(1) : name,
                                 match.hasMatch() ? match.captured(2).toULongLong() : 0,
                                 UsbPort{name, devRoot_ + QLatin1Char('/') + name,
                                         readSysfsText(dir + QStringLiteral("/idVendor")),
                                         readSysfsText(dir + QStringLiteral("/idProduct")),
                                         readSysfsText(dir + QStringLiteral("/product")),
                                         readSysfsText(dir + QStringLiteral("/serial"))}});
                break;
            }
            dir = QFileInfo(dir).path();
        }
    }
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        return std::tie(a.prefix, a.number, a.port.ttyName) <
               std::tie(b.prefix, b.number, b.port.ttyName);
    });
    QList<UsbPort> ports;
    for (const Found& entry : found)
        ports.append(entry.port);
    return ports;
}

QList<SerialDriver::UsbPort> SerialDriver::ftdiPorts() const {
    static const QRegularExpression ftdiTty(QStringLiteral("^ttyUSB\\d+$"));
    QList<UsbPort> ports = usbPorts();
    ports.removeIf([](const UsbPort& port) {
        return port.vendorId.compare(QStringLiteral("0403"), Qt::CaseInsensitive) != 0 ||
               !ftdiTty.match(port.ttyName).hasMatch();
    });
    return ports;
}

void SerialDriver::useDeviceFile(const QString& description, const QString& path) {
    deviceFiles_[description] = path;
}

std::optional<DeviceFileProblem> SerialDriver::checkDeviceFile(const QString& path) {
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return problemOf(path, errno);
    const bool terminal = ::isatty(fd) == 1;
    const int error = errno;
    ::close(fd);
    if (!terminal)
        return problemOf(path, error == EBADF ? ENOTTY : error);
    return std::nullopt;
}

SerialDriver::OpenLine* SerialDriver::find(Handle handle) {
    const auto it = open_.find(handle);
    return it == open_.end() ? nullptr : &it->second;
}

bool SerialDriver::isHeld(const QString& deviceFile) const {
    const QString file = canonicalOrAsGiven(deviceFile);
    return std::any_of(open_.begin(), open_.end(),
                       [&](const auto& entry) { return entry.second.deviceFile == file; });
}

Status SerialDriver::listDevices(void* arg1, void* /*arg2*/, quint32 flags) {
    if (flags != FT_LIST_NUMBER_ONLY || arg1 == nullptr)
        return FT_INVALID_PARAMETER;
    // A device file tied to a description counts also when it is missing at the moment, so
    // that the open names it; a converter found both ways counts once.
    QStringList files;
    for (const UsbPort& port : ftdiPorts())
        files.append(canonicalOrAsGiven(port.deviceFile));
    for (const auto& [description, path] : deviceFiles_) {
        const QString file = canonicalOrAsGiven(path);
        if (!files.contains(file))
            files.append(file);
    }
    *static_cast<quint32*>(arg1) = static_cast<quint32>(files.size());
    return FT_OK;
}

Status SerialDriver::openEx(const void* arg, quint32 flags, Handle* handle) {
    lastOpenProblem_.reset();
    if (flags != FT_OPEN_BY_DESCRIPTION || arg == nullptr || handle == nullptr)
        return FT_INVALID_PARAMETER;
    const QString description = QString::fromUtf8(static_cast<const char*>(arg));

    QString path;
    if (const auto tied = deviceFiles_.find(description); tied != deviceFiles_.end()) {
        if (isHeld(tied->second))
            return FT_DEVICE_NOT_OPENED;
        path = tied->second;
    } else {
        // The first converter with this description that this driver does not hold already.
        bool found = false;
        for (const UsbPort& candidate : ftdiPorts()) {
            if (candidate.product != description)
                continue;
            found = true;
            if (!isHeld(candidate.deviceFile)) {
                path = candidate.deviceFile;
                break;
            }
        }
        if (path.isEmpty())
            return found ? FT_DEVICE_NOT_OPENED : FT_DEVICE_NOT_FOUND;
    }

    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        lastOpenProblem_ = problemOf(path, errno);
        return FT_DEVICE_NOT_OPENED;
    }
    // Like the vendor library, one user of a converter at a time: other programs that lock
    // the tty are kept out, and so are further opens by non-privileged users.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || !configureRaw(fd)) {
        lastOpenProblem_ = problemOf(path, errno);
        ::close(fd);
        return FT_DEVICE_NOT_OPENED;
    }
    ::ioctl(fd, TIOCEXCL);

    const Handle h = nextHandle_++;
    open_[h] = OpenLine{fd, canonicalOrAsGiven(path), 0, 0};
    *handle = h;
    return FT_OK;
}

Status SerialDriver::close(Handle handle) {
    const auto it = open_.find(handle);
    if (it == open_.end())
        return FT_INVALID_HANDLE;
    notifiers_.erase(handle);
    ::ioctl(it->second.fd, TIOCNXCL);
    ::close(it->second.fd);
    open_.erase(it);
    return FT_OK;
}

void SerialDriver::LaterDeleter::operator()(QSocketNotifier* notifier) const {
    notifier->setEnabled(false);
    notifier->deleteLater();
}

bool SerialDriver::notifyArrival(Handle handle, std::function<void()> arrived) {
    notifiers_.erase(handle);
    OpenLine* port = find(handle);
    if (!port || !arrived)
        return port != nullptr;
    std::unique_ptr<QSocketNotifier, LaterDeleter> notifier(
        new QSocketNotifier(port->fd, QSocketNotifier::Read));
    const int fd = port->fd;
    QSocketNotifier* watching = notifier.get();
    QObject::connect(watching, &QSocketNotifier::activated, watching,
                     [watching, fd, arrived = std::move(arrived)] {
                         // A line that hung up stays readable without a byte to read: it is
                         // left to the timer, which finds it gone.
                         int waiting = 0;
                         if (::ioctl(fd, FIONREAD, &waiting) != 0 || waiting <= 0) {
                             watching->setEnabled(false);
                             return;
                         }
                         arrived();
                     });
    notifiers_[handle] = std::move(notifier);
    return true;
}

Status SerialDriver::resetDevice(Handle handle) {
    OpenLine* port = find(handle);
    if (port == nullptr)
        return FT_INVALID_HANDLE;
    return ::tcflush(port->fd, TCIOFLUSH) == 0 ? FT_OK : errnoStatus(errno);
}

Status SerialDriver::setBaudRate(Handle handle, quint32 baudRate) {
    OpenLine* port = find(handle);
    if (port == nullptr)
        return FT_INVALID_HANDLE;
    const auto code = std::find_if(std::begin(kBaudCodes), std::end(kBaudCodes),
                                   [&](const BaudCode& c) { return c.rate == baudRate; });
    if (code == std::end(kBaudCodes))
        return FT_INVALID_BAUD_RATE;
    termios t{};
    if (::tcgetattr(port->fd, &t) != 0)
        return errnoStatus(errno);
    ::cfsetispeed(&t, code->code);
    ::cfsetospeed(&t, code->code);
    return ::tcsetattr(port->fd, TCSANOW, &t) == 0 ? FT_OK : errnoStatus(errno);
}

Status SerialDriver::setDataCharacteristics(Handle handle, quint8 wordLength, quint8 stopBits,
                                            quint8 parity) {
    OpenLine* port = find(handle);
    if (port == nullptr)
        return FT_INVALID_HANDLE;
    termios t{};
    if (::tcgetattr(port->fd, &t) != 0)
        return errnoStatus(errno);
    if (!applyDataCharacteristics(t.c_cflag, wordLength, stopBits, parity))
        return FT_INVALID_PARAMETER;
    return ::tcsetattr(port->fd, TCSANOW, &t) == 0 ? FT_OK : errnoStatus(errno);
}

bool SerialDriver::applyDataCharacteristics(unsigned int& cflag, quint8 wordLength, quint8 stopBits,
                                            quint8 parity) {
    if (!validDataCharacteristics(wordLength, stopBits, parity))
        return false;
    tcflag_t flags = cflag;
    flags &= ~static_cast<tcflag_t>(CSIZE | CSTOPB | PARENB | PARODD | CMSPAR);
    flags |= wordLength == FT_BITS_7 ? CS7 : CS8;
    if (stopBits == FT_STOP_BITS_2)
        flags |= CSTOPB;
    switch (parity) {
    case FT_PARITY_ODD:
        flags |= PARENB | PARODD;
        break;
    case FT_PARITY_EVEN:
        flags |= PARENB;
        break;
    case FT_PARITY_MARK:
        flags |= PARENB | PARODD | CMSPAR;
        break;
    case FT_PARITY_SPACE:
        flags |= PARENB | CMSPAR;
        break;
    default:
        break;
    }
    cflag = flags;
    return true;
}

Status SerialDriver::setTimeouts(Handle handle, quint32 readTimeoutMs, quint32 writeTimeoutMs) {
    OpenLine* port = find(handle);
    if (port == nullptr)
        return FT_INVALID_HANDLE;
    port->readTimeoutMs = readTimeoutMs;
    port->writeTimeoutMs = writeTimeoutMs;
    return FT_OK;
}

Status SerialDriver::getQueueStatus(Handle handle, quint32* rxBytes) {
    OpenLine* port = find(handle);
    if (port == nullptr)
        return FT_INVALID_HANDLE;
    if (rxBytes == nullptr)
        return FT_INVALID_PARAMETER;
    int waiting = 0;
    if (::ioctl(port->fd, FIONREAD, &waiting) != 0)
        return errnoStatus(errno);
    *rxBytes = static_cast<quint32>(std::max(0, waiting));
    return FT_OK;
}

Status SerialDriver::write(Handle handle, const void* buffer, quint32 count, quint32* written) {
    OpenLine* port = find(handle);
    if (port == nullptr)
        return FT_INVALID_HANDLE;
    if (written == nullptr || (buffer == nullptr && count > 0))
        return FT_INVALID_PARAMETER;
    *written = 0;
    const auto* bytes = static_cast<const char*>(buffer);
    const Deadline deadline = deadlineIn(port->writeTimeoutMs);
    while (*written < count) {
        const ssize_t n = ::write(port->fd, bytes + *written, count - *written);
        if (n > 0) {
            *written += static_cast<quint32>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return errnoStatus(errno);
        const int ready = waitReady(port->fd, POLLOUT, deadline);
        if (ready < 0)
            return errnoStatus(errno);
        if (ready == 0)
            break; // time-out: the count tells how much went out
    }
    return FT_OK;
}

Status SerialDriver::read(Handle handle, void* buffer, quint32 count, quint32* read) {
    OpenLine* port = find(handle);
    if (port == nullptr)
        return FT_INVALID_HANDLE;
    if (read == nullptr || (buffer == nullptr && count > 0))
        return FT_INVALID_PARAMETER;
    *read = 0;
    auto* bytes = static_cast<char*>(buffer);
    const Deadline deadline = deadlineIn(port->readTimeoutMs);
    while (*read < count) {
        const ssize_t n = ::read(port->fd, bytes + *read, count - *read);
        if (n > 0) {
            *read += static_cast<quint32>(n);
            continue;
        }
        // In raw mode without a minimum count an empty read means "nothing yet".
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return errnoStatus(errno);
        const int ready = waitReady(port->fd, POLLIN, deadline);
        if (ready < 0)
            return errnoStatus(errno);
        if (ready == 0)
            break; // time-out: the count tells how much arrived
    }
    return FT_OK;
}
