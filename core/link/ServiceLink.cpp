#include "core/link/ServiceLink.h"

#include "core/base/Clock.h"
#include "core/base/Errors.h"
#include "core/base/MessageService.h"
#include "core/link/ServiceProtocol.h"

#include <limits>

using namespace d2xx;

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

ServiceLink::ServiceLink(D2XXUnit& unit, Clock& clock, MessageService& ui,
                         d2xx::Handle& serviceHandle)
    : unit_(unit), clock_(clock), ui_(ui), serviceHandle_(serviceHandle) {}

void ServiceLink::Open() {
    SavedLinkHandle saved(unit_);
    unit_.ReportLinkErrors = false;
    unit_.LinkBaudRate = service::kBaudRate;
    if (unit_.Open_USB_Device_By_Device_Description(service::kDescription) != FT_OK)
        return;
    if (unit_.ResetLink() != FT_OK || unit_.SetLinkBaudRate() != FT_OK ||
        unit_.SetLinkTimeouts(service::kDriverTimeoutMs, service::kDriverTimeoutMs) != FT_OK) {
        // Nobody could use or close this handle later, and the device would stay taken
        // until the program ends: give it back so that the next open can try again.
        unit_.CloseLink();
        throw SilentAbort{};
    }
    serviceHandle_ = unit_.LinkHandle;
}

ServiceLink::Outcome ServiceLink::SendCommand(quint8 letter, const QStringList& parameters) {
    Outcome outcome;
    {
        SavedLinkHandle borrowed(unit_, serviceHandle_);
        outcome = exchange(letter, parameters);
    }
    // A message box runs an event loop of its own, in which the poll timer of a running
    // measurement may fire: it must find the timing unit's handle in place.
    const QString message = messageFor(outcome);
    if (!message.isEmpty())
        boxes::plain(ui_, message);
    return outcome;
}

ServiceLink::Outcome ServiceLink::exchange(quint8 letter, const QStringList& parameters) {
    unit_.TxBuffer[0] = letter;
    quint32 count = 1;
    for (const QString& text : parameters) {
        const auto byte = service::parameterByte(text);
        if (!byte)
            return Outcome::BadParameter;
        unit_.TxBuffer[count++] = *byte;
    }
    unit_.WriteLink(count);
    if (WaitForAnswer(service::kAnswerLimitMs))
        return Outcome::NoAnswer;
    // A read that got nothing would leave the answer of an earlier command in RxBuffer.
    if (unit_.ReadLink(1) < 1)
        return Outcome::NoAnswer;
    return unit_.RxBuffer[0] == service::Accepted ? Outcome::Accepted : Outcome::Refused;
}

void ServiceLink::SendReset() {
    SavedLinkHandle borrowed(unit_, serviceHandle_);
    unit_.TxBuffer[0] = service::ResetCommand;
    unit_.WriteLink(1);
}

bool ServiceLink::WaitForAnswer(quint32 limitMs) {
    const quint32 start = clock_.ticks();
    for (;;) {
        const Status status = unit_.GetLinkQueueStatus();
        const bool timedOut = ticksSince(start, clock_.ticks()) > limitMs;
        if (status != FT_OK)
            return true;
        if (unit_.RxQueueBytes >= 1 || timedOut)
            return timedOut;
    }
}

QString ServiceLink::messageFor(Outcome outcome) {
    switch (outcome) {
    case Outcome::Accepted:
        return {};
    case Outcome::Refused:
        return QStringLiteral("Fehler");
    case Outcome::NoAnswer:
    case Outcome::BadParameter:
        break;
    }
    return QStringLiteral("NAC");
}
