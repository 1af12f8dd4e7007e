// Opens the service device and sends it its commands through the timing unit's wrapper.

#include "core/link/ServiceLink.h"

#include "core/base/Clock.h"
#include "core/base/Errors.h"
#include "core/link/ServiceProtocol.h"

#include <QCoreApplication>

#include <limits>

using namespace d2xx;

namespace {

// The texts of this file that the user reads, in the translation context "ServiceLink".
struct ServiceLinkTexts {
    Q_DECLARE_TR_FUNCTIONS(ServiceLink)
};

} // namespace

namespace service {

std::optional<quint8> parameterByte(const QString& text) {
    const QString number = text.trimmed();
    qsizetype digitsFrom = 0;
    if (number.startsWith(QLatin1Char('+')) || number.startsWith(QLatin1Char('-')))
        digitsFrom = 1;
    if (number.size() <= digitsFrom)
        return std::nullopt;
    for (qsizetype i = digitsFrom; i < number.size(); ++i) {
        if (number[i] < QLatin1Char('0') || number[i] > QLatin1Char('9'))
            return std::nullopt;
    }
    bool ok = false;
    const qlonglong value = number.toLongLong(&ok, 10);
    if (!ok || value < std::numeric_limits<qint32>::min() ||
        value > std::numeric_limits<qint32>::max())
        return std::nullopt;
    // Two's complement: -1 is sent as 255.
    return static_cast<quint8>(static_cast<quint32>(static_cast<qint32>(value)) & 0xFFu);
}

} // namespace service

ServiceLink::ServiceLink(DeviceLink& device, Clock& clock) : device_(device), clock_(clock) {}

void ServiceLink::open() {
    SavedHandle saved(device_);
    device_.reportErrors = false;
    device_.baudRate = service::kBaudRate;
    if (device_.openByDescription(service::kDescription) != FT_OK)
        return;
    if (device_.reset() != FT_OK || device_.applyBaudRate() != FT_OK ||
        device_.setTimeouts(service::kDriverTimeoutMs, service::kDriverTimeoutMs) != FT_OK) {
        // Nobody could use or close this handle later, and the device would stay taken
        // until the program ends: give it back so that the next open can try again.
        device_.close();
        throw SilentAbort{};
    }
    handle_ = device_.handle;
}

ServiceLink::Outcome ServiceLink::sendCommand(quint8 letter, const QStringList& parameters) {
    SavedHandle borrowed(device_, handle_);
    return exchange(letter, parameters);
}

ServiceLink::Outcome ServiceLink::exchange(quint8 letter, const QStringList& parameters) {
    device_.txBuffer[0] = letter;
    quint32 count = 1;
    for (const QString& text : parameters) {
        const auto byte = service::parameterByte(text);
        if (!byte)
            return Outcome::BadParameter;
        device_.txBuffer[count++] = *byte;
    }
    device_.write(count);
    if (!waitForAnswer(service::kAnswerLimitMs))
        return Outcome::NoAnswer;
    // A read that got nothing would leave the answer of an earlier command in the buffer.
    if (device_.read(1) < 1)
        return Outcome::NoAnswer;
    return device_.rxBuffer[0] == service::kAccepted ? Outcome::Accepted : Outcome::Refused;
}

void ServiceLink::sendReset() {
    SavedHandle borrowed(device_, handle_);
    device_.txBuffer[0] = service::kResetCommand;
    device_.write(1);
}

bool ServiceLink::waitForAnswer(quint32 limitMs) {
    const quint32 start = clock_.ticks();
    for (;;) {
        const Status status = device_.pollQueue();
        const bool timedOut = ticksSince(start, clock_.ticks()) > limitMs;
        if (status != FT_OK || timedOut)
            return false;
        if (device_.bytesWaiting >= 1)
            return true;
    }
}

QString ServiceLink::messageFor(Outcome outcome) {
    switch (outcome) {
    case Outcome::Accepted:
        return {};
    case Outcome::Refused:
        return ServiceLinkTexts::tr("Fehler");
    case Outcome::NoAnswer:
    case Outcome::BadParameter:
        break;
    }
    return QStringLiteral("NAC");
}
