// The values read back from a database file, which may come from anywhere (an old or damaged
// file): moments and dates, and numbers.
#include "FuzzCheck.h"
#include "core/store/StoredValues.h"

#include <QDateTime>

#include <cmath>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QVariant stored(
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));

    // A moment read back and stored again is read back the same: the stored form is a fixed
    // point.
    const QDateTime moment = momentOf(stored);
    if (moment.isValid()) {
        const QVariant again = engineMoment(moment);
        FUZZ_CHECK(again.isValid());
        FUZZ_CHECK(engineMoment(momentOf(again)) == again);
    }

    // A number that is none, or too large for an integer, reads as 0; any other is rounded.
    const double number = numberOf(stored);
    const qint64 integer = integerOf(stored);
    if (!std::isfinite(number) || std::fabs(number) >= 0x1p63)
        FUZZ_CHECK(integer == 0);
    else
        FUZZ_CHECK(std::fabs(static_cast<double>(integer) - number) <= 0.5);
    return 0;
}
