// The driver wrapper that logs every byte and every failing call to standard error.

#include "core/link/ByteLogDriver.h"

#include "core/base/Clock.h"

#include <QByteArray>

using namespace d2xx;

namespace {

QString hex(const void* bytes, quint32 count) {
    return QString::fromLatin1(
        QByteArray(static_cast<const char*>(bytes), static_cast<qsizetype>(count)).toHex(' '));
}

} // namespace

ByteLogDriver::ByteLogDriver(std::unique_ptr<D2xxDriver> inner, Clock& clock, Sink sink)
    : inner_(std::move(inner)), clock_(clock), sink_(std::move(sink)) {}

void ByteLogDriver::log(const QString& text) {
    sink_(QStringLiteral("%1 %2").arg(clock_.ticks()).arg(text));
}

Status ByteLogDriver::failed(const char* call, Status status) {
    if (status != FT_OK)
        log(QStringLiteral("%1 status %2").arg(QLatin1String(call)).arg(status));
    return status;
}

Status ByteLogDriver::listDevices(void* arg1, void* arg2, quint32 flags) {
    const Status status = inner_->listDevices(arg1, arg2, flags);
    if (status == FT_OK && flags == FT_LIST_NUMBER_ONLY && arg1 != nullptr)
        log(QStringLiteral("devices %1").arg(*static_cast<quint32*>(arg1)));
    return failed("FT_ListDevices", status);
}

Status ByteLogDriver::openEx(const void* arg, quint32 flags, Handle* handle) {
    const Status status = inner_->openEx(arg, flags, handle);
    const QString what = flags == FT_OPEN_BY_DESCRIPTION && arg != nullptr
                             ? QString::fromUtf8(static_cast<const char*>(arg))
                             : QString();
    if (status == FT_OK)
        log(QStringLiteral("open \"%1\" handle %2").arg(what).arg(*handle));
    else
        log(QStringLiteral("open \"%1\" status %2").arg(what).arg(status));
    return status;
}

Status ByteLogDriver::close(Handle handle) {
    const Status status = inner_->close(handle);
    if (status == FT_OK)
        log(QStringLiteral("close handle %1").arg(handle));
    return failed("FT_Close", status);
}

Status ByteLogDriver::resetDevice(Handle handle) {
    return failed("FT_ResetDevice", inner_->resetDevice(handle));
}

Status ByteLogDriver::setBaudRate(Handle handle, quint32 baudRate) {
    return failed("FT_SetBaudRate", inner_->setBaudRate(handle, baudRate));
}

Status ByteLogDriver::setDataCharacteristics(Handle handle, quint8 wordLength, quint8 stopBits,
                                             quint8 parity) {
    return failed("FT_SetDataCharacteristics",
                  inner_->setDataCharacteristics(handle, wordLength, stopBits, parity));
}

Status ByteLogDriver::setTimeouts(Handle handle, quint32 readTimeoutMs, quint32 writeTimeoutMs) {
    return failed("FT_SetTimeouts", inner_->setTimeouts(handle, readTimeoutMs, writeTimeoutMs));
}

Status ByteLogDriver::getQueueStatus(Handle handle, quint32* rxBytes) {
    return failed("FT_GetQueueStatus", inner_->getQueueStatus(handle, rxBytes));
}

Status ByteLogDriver::write(Handle handle, const void* buffer, quint32 count, quint32* written) {
    const Status status = inner_->write(handle, buffer, count, written);
    if (status == FT_OK && written != nullptr && *written > 0)
        log(QStringLiteral("tx %1").arg(hex(buffer, *written)));
    return failed("FT_Write", status);
}

Status ByteLogDriver::read(Handle handle, void* buffer, quint32 count, quint32* read) {
    const Status status = inner_->read(handle, buffer, count, read);
    if (status == FT_OK && read != nullptr) {
        if (*read > 0)
            log(QStringLiteral("rx %1").arg(hex(buffer, *read)));
        else
            log(QStringLiteral("rx nothing"));
    }
    return failed("FT_Read", status);
}
