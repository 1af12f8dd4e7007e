// Opens and configures the timing unit, waits for its bytes and runs the start and stop handshakes.

#include "core/link/TimingLink.h"

#include "core/base/Clock.h"
#include "core/base/Errors.h"
#include <QCoreApplication>

namespace {

// The texts of this file that the user reads, in the translation context "TimingLink".
struct TimingLinkTexts {
    Q_DECLARE_TR_FUNCTIONS(TimingLink)
};

} // namespace

using namespace d2xx;

TimingLink::TimingLink(DeviceLink& device, Clock& clock) : device_(device), clock_(clock) {}

TimingLink::OpenResult TimingLink::open() {
    device_.reportErrors = false;
    closeStaleLink();
    openProblem.reset();

    device_.baudRate = timingunit::kBaudRate;
    device_.wordLength = FT_BITS_8;
    device_.stopBits = FT_STOP_BITS_1;
    device_.parity = FT_PARITY_NONE;

    device_.countDevices();
    if (device_.deviceCount == 0)
        return OpenResult::NoDevice;

    const Status opened = device_.openByDescription(timingunit::kDescription);
    linkState = static_cast<qint32>(opened);
    if (opened != FT_OK) {
        openProblem = device_.driver().lastOpenProblem();
        return OpenResult::OpenFailed;
    }
    linkOpen_ = true;

    if (device_.applyDataCharacteristics() != FT_OK || device_.reset() != FT_OK ||
        device_.applyBaudRate() != FT_OK ||
        device_.setTimeouts(timingunit::kDriverTimeoutMs, timingunit::kDriverTimeoutMs) != FT_OK)
        throw SilentAbort{};
    return OpenResult::Opened;
}

bool TimingLink::closeStaleLink() {
    if (!linkOpen_)
        return false;
    device_.close();
    linkOpen_ = false;
    return true;
}

bool TimingLink::waitForByte(quint32 limitMs) {
    const quint32 start = clock_.ticks();
    for (;;) {
        device_.pollQueue();
        replyTimedOut = ticksSince(start, clock_.ticks()) > limitMs;
        if (replyTimedOut)
            return false;
        if (device_.bytesWaiting >= 1)
            return true;
    }
}

bool TimingLink::byteWaiting() {
    if (device_.pollQueue() != FT_OK)
        throw AppError(TimingLinkTexts::tr("Die Verbindung zum Messgerät ist unterbrochen (Kabel "
                                           "ausgesteckt?). Die bisher aufgezeichneten Sprünge sind "
                                           "gespeichert"));
    return device_.bytesWaiting >= 1;
}

bool TimingLink::notifyArrival(std::function<void()> arrived) {
    if (device_.handle == 0)
        return false;
    return device_.driver().notifyArrival(device_.handle, std::move(arrived));
}

void TimingLink::sendByte(quint8 byte) {
    device_.txBuffer[0] = byte;
    device_.write(1);
}

quint8 TimingLink::receiveByte() {
    device_.read(1);
    return device_.rxBuffer[0];
}

bool TimingLink::startHandshake(quint8 configurationByte) {
    sendByte(timingunit::kStartCommand);
    if (!waitForByte(timingunit::kStartAnswerLimitMs))
        return false;
    receiveByte();
    sendByte(configurationByte);
    return true;
}

void TimingLink::stopByUser() {
    sendByte(timingunit::kStopCommand);
    waitForByte(timingunit::kByteLimitMs);
    receiveByte();
    close();
}

void TimingLink::stopWithoutAnswer() {
    sendByte(timingunit::kStopCommand);
    close();
}

Status TimingLink::close() {
    const Status status = device_.close();
    linkOpen_ = false;
    linkState = kLinkClosedByRun;
    return status;
}
