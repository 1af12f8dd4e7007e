// The thin wrapper over the driver's calls: one device handle, status codes, one error report.

#include "core/link/DeviceLink.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstring>

namespace {

// The texts of this file that the user reads, in the translation context "DeviceLink".
struct DeviceLinkTexts {
    Q_DECLARE_TR_FUNCTIONS(DeviceLink)
};

} // namespace

using namespace d2xx;

DeviceLink::DeviceLink(D2xxDriver& driver) : driver_(driver) {}

Status DeviceLink::countDevices() {
    const Status status = driver_.listDevices(&deviceCount, nullptr, FT_LIST_NUMBER_ONLY);
    reportStatus(QStringLiteral("GetFTDeviceCount"), status);
    return status;
}

Status DeviceLink::openByDescription(const QString& description) {
    descriptionBuffer[0] = '\0';
    const QString cut = description.left(kDescriptionSize - 1);
    if (!cut.isEmpty()) {
        QByteArray bytes = cut.toUtf8();
        // Characters outside ASCII take more than one byte: keep within the buffer and
        // never split a character.
        qsizetype length = std::min<qsizetype>(bytes.size(), kDescriptionSize - 1);
        while (length > 0 && length < bytes.size() &&
               (static_cast<quint8>(bytes[length]) & 0xC0) == 0x80)
            --length;
        std::memcpy(descriptionBuffer.data(), bytes.constData(), static_cast<size_t>(length));
        descriptionBuffer[static_cast<size_t>(length)] = '\0';
    }
    const Status status = driver_.openEx(descriptionBuffer.data(), FT_OPEN_BY_DESCRIPTION, &handle);
    reportStatus(QStringLiteral("Open_USB_Device_By_Device_Description"), status);
    return status;
}

Status DeviceLink::close() {
    const Status status = driver_.close(handle);
    reportStatus(QStringLiteral("FT_Close"), status);
    return status;
}

Status DeviceLink::reset() {
    const Status status = driver_.resetDevice(handle);
    reportStatus(QStringLiteral("FT_ResetDevice"), status);
    return status;
}

Status DeviceLink::applyBaudRate() {
    const Status status = driver_.setBaudRate(handle, baudRate);
    reportStatus(QStringLiteral("FT_SetBaudRate"), status);
    return status;
}

Status DeviceLink::applyDataCharacteristics() {
    const Status status = driver_.setDataCharacteristics(handle, wordLength, stopBits, parity);
    reportStatus(QStringLiteral("FT_SetDataCharacteristics"), status);
    return status;
}

Status DeviceLink::setTimeouts(quint32 readTimeoutMs, quint32 writeTimeoutMs) {
    const Status status = driver_.setTimeouts(handle, readTimeoutMs, writeTimeoutMs);
    reportStatus(QStringLiteral("FT_SetTimeouts"), status);
    return status;
}

Status DeviceLink::pollQueue() {
    quint32 waiting = 0;
    const Status status = driver_.getQueueStatus(handle, &waiting);
    bytesWaiting = status == FT_OK ? waiting : 0;
    reportStatus(QStringLiteral("FT_GetQueueStatus"), status);
    return status;
}

quint32 DeviceLink::write(quint32 n) {
    quint32 written = 0;
    lastIoStatus = driver_.write(handle, txBuffer.data(), std::min(n, kBufferSize), &written);
    reportStatus(QStringLiteral("FT_Write"), lastIoStatus);
    return written;
}

quint32 DeviceLink::read(quint32 n) {
    quint32 received = 0;
    lastIoStatus = driver_.read(handle, rxBuffer.data(), std::min(n, kBufferSize), &received);
    reportStatus(QStringLiteral("FT_Read"), lastIoStatus);
    return received;
}

void DeviceLink::reportStatus(const QString& label, Status status) {
    if (!reportErrors || status == FT_OK)
        return;
    if (reporter_)
        reporter_(label + statusText(status));
}

QString DeviceLink::statusText(Status status) {
    switch (status) {
    case FT_INVALID_HANDLE:
        return DeviceLinkTexts::tr(" - USB Adapter nicht gefunden");
    case FT_DEVICE_NOT_FOUND:
        return DeviceLinkTexts::tr(" - kein Kabel angeschlossen....");
    case FT_DEVICE_NOT_OPENED:
        return DeviceLinkTexts::tr(" - Schnittstelle nicht geöffnet...");
    case FT_IO_ERROR:
        return DeviceLinkTexts::tr(" - General IO Error...");
    case FT_INSUFFICIENT_RESOURCES:
        return DeviceLinkTexts::tr(" - Insufficient Resources...");
    case FT_INVALID_PARAMETER:
        return DeviceLinkTexts::tr(" - Invalid Parameter ...");
    default:
        return DeviceLinkTexts::tr(" - Fehler %1").arg(status);
    }
}

QString DeviceLink::description() const {
    return QString::fromUtf8(
        descriptionBuffer.data(),
        static_cast<qsizetype>(::strnlen(descriptionBuffer.data(), descriptionBuffer.size())));
}
