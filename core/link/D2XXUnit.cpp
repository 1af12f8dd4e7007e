#include "core/link/D2XXUnit.h"

#include "core/base/MessageService.h"

#include <algorithm>
#include <cstring>

using namespace d2xx;

D2XXUnit::D2XXUnit(D2xxDriver& driver, MessageService& ui) : driver_(driver), ui_(ui) {}

Status D2XXUnit::GetFTDeviceCount() {
    const Status status = driver_.listDevices(&DeviceCount, nullptr, FT_LIST_NUMBER_ONLY);
    ReportLinkStatus(QStringLiteral("GetFTDeviceCount"), status);
    return status;
}

Status D2XXUnit::Open_USB_Device_By_Device_Description(const QString& description) {
    DescriptionBuffer[0] = '\0';
    const QString cut = description.left(DescriptionSize - 1);
    if (!cut.isEmpty()) {
        QByteArray bytes = cut.toUtf8();
        // Characters outside ASCII take more than one byte: keep within the buffer and
        // never split a character.
        qsizetype length = std::min<qsizetype>(bytes.size(), DescriptionSize - 1);
        while (length > 0 && length < bytes.size() &&
               (static_cast<quint8>(bytes[length]) & 0xC0) == 0x80)
            --length;
        std::memcpy(DescriptionBuffer.data(), bytes.constData(), static_cast<size_t>(length));
        DescriptionBuffer[static_cast<size_t>(length)] = '\0';
    }
    const Status status =
        driver_.openEx(DescriptionBuffer.data(), FT_OPEN_BY_DESCRIPTION, &LinkHandle);
    ReportLinkStatus(QStringLiteral("Open_USB_Device_By_Device_Description"), status);
    return status;
}

Status D2XXUnit::CloseLink() {
    const Status status = driver_.close(LinkHandle);
    ReportLinkStatus(QStringLiteral("FT_Close"), status);
    return status;
}

Status D2XXUnit::ResetLink() {
    const Status status = driver_.resetDevice(LinkHandle);
    ReportLinkStatus(QStringLiteral("FT_ResetDevice"), status);
    return status;
}

Status D2XXUnit::SetLinkBaudRate() {
    const Status status = driver_.setBaudRate(LinkHandle, LinkBaudRate);
    ReportLinkStatus(QStringLiteral("FT_SetBaudRate"), status);
    return status;
}

Status D2XXUnit::SetLinkDataCharacteristics() {
    const Status status =
        driver_.setDataCharacteristics(LinkHandle, LinkWordLength, LinkStopBits, LinkParity);
    ReportLinkStatus(QStringLiteral("FT_SetDataCharacteristics"), status);
    return status;
}

Status D2XXUnit::SetLinkTimeouts(quint32 readTimeoutMs, quint32 writeTimeoutMs) {
    const Status status = driver_.setTimeouts(LinkHandle, readTimeoutMs, writeTimeoutMs);
    ReportLinkStatus(QStringLiteral("FT_SetTimeouts"), status);
    return status;
}

Status D2XXUnit::GetLinkQueueStatus() {
    quint32 waiting = 0;
    const Status status = driver_.getQueueStatus(LinkHandle, &waiting);
    RxQueueBytes = status == FT_OK ? waiting : 0;
    ReportLinkStatus(QStringLiteral("FT_GetQueueStatus"), status);
    return status;
}

quint32 D2XXUnit::WriteLink(quint32 n) {
    quint32 written = 0;
    LastIOStatus = driver_.write(LinkHandle, TxBuffer.data(), std::min(n, BufferSize), &written);
    ReportLinkStatus(QStringLiteral("FT_Write"), LastIOStatus);
    return written;
}

quint32 D2XXUnit::ReadLink(quint32 n) {
    quint32 received = 0;
    LastIOStatus = driver_.read(LinkHandle, RxBuffer.data(), std::min(n, BufferSize), &received);
    ReportLinkStatus(QStringLiteral("FT_Read"), LastIOStatus);
    return received;
}

void D2XXUnit::ReportLinkStatus(const QString& label, Status status) {
    if (!ReportLinkErrors || status == FT_OK)
        return;
    boxes::error(ui_, label + statusText(status));
}

QString D2XXUnit::statusText(Status status) {
    switch (status) {
    case FT_INVALID_HANDLE:
        return QStringLiteral(" - USB Adapter nicht gefunden");
    case FT_DEVICE_NOT_FOUND:
        return QStringLiteral(" - kein Kabel angeschlossen....");
    case FT_DEVICE_NOT_OPENED:
        return QStringLiteral(" - Schnittstelle nicht geöffnet...");
    case FT_IO_ERROR:
        return QStringLiteral(" - General IO Error...");
    case FT_INSUFFICIENT_RESOURCES:
        return QStringLiteral(" - Insufficient Resources...");
    case FT_INVALID_PARAMETER:
        return QStringLiteral(" - Invalid Parameter ...");
    default:
        return QStringLiteral(" - Fehler %1").arg(status);
    }
}

QString D2XXUnit::description() const {
    return QString::fromUtf8(
        DescriptionBuffer.data(),
        static_cast<qsizetype>(::strnlen(DescriptionBuffer.data(), DescriptionBuffer.size())));
}
