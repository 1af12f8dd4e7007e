// The timing unit's bytes: results decoded one after another, as the session reads them.
#include "FuzzCheck.h"
#include "core/link/TimingUnitProtocol.h"
#include "core/measure/ResultDecoder.h"

#include <cstddef>
#include <cstdint>

namespace {

// The input's bytes one by one; nothing when they run out, as a wait that runs out.
class InputBytes : public ByteSource {
public:
    InputBytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    std::optional<quint8> nextByte() override {
        if (position_ >= size_)
            return std::nullopt;
        return data_[position_++];
    }
    size_t position() const { return position_; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t position_ = 0;
};

bool isTime(qint32 ms) {
    return ms == timingunit::kTimeNotMeasured || (ms >= 0 && ms <= 0xFFFF);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    InputBytes bytes(data, size);
    while (const auto first = bytes.nextByte()) {
        const size_t start = bytes.position() - 1;
        const auto contact = decoding::readContactPart(*first, bytes);
        if (!contact)
            break;
        // The contact part takes one byte to end the run, one when not measured, two for a
        // time, and one more after the end marker.
        const size_t taken = bytes.position() - start;
        FUZZ_CHECK(taken >= 1 && taken <= 3);
        if (contact->unitEnded) {
            FUZZ_CHECK(decoding::isUnitEndByte(*first) && taken == 1);
            FUZZ_CHECK(!contact->endMarker && !contact->notMeasured);
            continue;
        }
        FUZZ_CHECK(contact->endMarker == (*first == timingunit::kEndMarker));
        FUZZ_CHECK(contact->notMeasured == (contact->contactMs == timingunit::kTimeNotMeasured));
        FUZZ_CHECK(isTime(contact->contactMs));
        FUZZ_CHECK(taken == (contact->endMarker ? 1u : 0u) + (contact->notMeasured ? 1u : 2u));
        if (contact->endMarker)
            continue;
        const size_t flightStart = bytes.position();
        const auto flight = decoding::readFlightTime(bytes);
        if (!flight)
            break;
        FUZZ_CHECK(isTime(*flight));
        FUZZ_CHECK(bytes.position() - flightStart ==
                   (*flight == timingunit::kTimeNotMeasured ? 1u : 2u));
    }
    return 0;
}
