// Decodes the timing unit's result bytes into contact and flight time.

#include "core/measure/ResultDecoder.h"

#include "core/link/TimingUnitProtocol.h"

namespace decoding {
namespace {

std::optional<qint32> wordAfter(quint8 high, ByteSource& source) {
    const auto low = source.nextByte();
    if (!low)
        return std::nullopt;
    return high * 256 + *low;
}

} // namespace

bool isUnitEndByte(quint8 byte) {
    return byte == 250 || byte == 251 || byte == 252 || byte == 255;
}

std::optional<ContactPart> readContactPart(quint8 first, ByteSource& source) {
    ContactPart part;
    if (isUnitEndByte(first)) {
        part.unitEnded = true;
        return part;
    }
    quint8 lead = first;
    if (lead == timingunit::kEndMarker) {
        part.endMarker = true;
        const auto next = source.nextByte();
        if (!next)
            return std::nullopt;
        lead = *next;
    }
    if (lead == timingunit::kNotMeasured) {
        part.notMeasured = true;
        part.contactMs = timingunit::kTimeNotMeasured;
        return part;
    }
    const auto contact = wordAfter(lead, source);
    if (!contact)
        return std::nullopt;
    part.contactMs = *contact;
    return part;
}

std::optional<qint32> readFlightTime(ByteSource& source) {
    const auto lead = source.nextByte();
    if (!lead)
        return std::nullopt;
    if (*lead == timingunit::kFlightNotMeasured)
        return timingunit::kTimeNotMeasured;
    return wordAfter(*lead, source);
}

} // namespace decoding
