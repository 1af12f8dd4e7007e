#include "core/link/TimingLink.h"

#include "core/base/Clock.h"
#include "core/base/Errors.h"

using namespace d2xx;

TimingLink::TimingLink(D2XXUnit& unit, Clock& clock) : unit_(unit), clock_(clock) {}

quint8 TimingLink::OpenPort() {
    unit_.ReportLinkErrors = false;
    CloseStaleLink();

    unit_.LinkBaudRate = qrv::kBaudRate;
    unit_.LinkWordLength = FT_BITS_8;
    unit_.LinkStopBits = FT_STOP_BITS_1;
    unit_.LinkParity = FT_PARITY_NONE;

    unit_.GetFTDeviceCount();
    if (unit_.DeviceCount == 0)
        return 3;

    const Status opened = unit_.Open_USB_Device_By_Device_Description(qrv::kDescription);
    LinkState = static_cast<qint32>(opened);
    if (opened != FT_OK)
        return 1;
    linkOpen_ = true;

    if (unit_.SetLinkDataCharacteristics() != FT_OK || unit_.ResetLink() != FT_OK ||
        unit_.SetLinkBaudRate() != FT_OK ||
        unit_.SetLinkTimeouts(qrv::kDriverTimeoutMs, qrv::kDriverTimeoutMs) != FT_OK)
        throw SilentAbort{};
    return 0;
}

bool TimingLink::CloseStaleLink() {
    if (!linkOpen_)
        return false;
    unit_.CloseLink();
    linkOpen_ = false;
    return true;
}

bool TimingLink::WaitForByte(quint32 limitMs) {
    const quint32 start = clock_.ticks();
    for (;;) {
        unit_.GetLinkQueueStatus();
        ReplyTimedOut = ticksSince(start, clock_.ticks()) > limitMs;
        if (unit_.RxQueueBytes >= 1 || ReplyTimedOut)
            break;
    }
    return ReplyTimedOut;
}

void TimingLink::SendByte(quint8 byte) {
    unit_.TxBuffer[0] = byte;
    unit_.WriteLink(1);
}

quint8 TimingLink::ReceiveByte() {
    unit_.ReadLink(1);
    return unit_.RxBuffer[0];
}

bool TimingLink::StartHandshake(quint8 configurationByte) {
    SendByte(qrv::StartCommand);
    if (WaitForByte(qrv::kStartAnswerLimitMs))
        return false;
    ReceiveByte();
    SendByte(configurationByte);
    return true;
}

void TimingLink::StopByUser() {
    SendByte(qrv::StopCommand);
    WaitForByte(qrv::kByteLimitMs);
    ReceiveByte();
    CloseLink();
}

void TimingLink::StopWithoutAnswer() {
    SendByte(qrv::StopCommand);
    CloseLink();
}

Status TimingLink::CloseLink() {
    const Status status = unit_.CloseLink();
    linkOpen_ = false;
    LinkState = LinkClosedByRun;
    return status;
}
