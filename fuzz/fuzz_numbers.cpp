// The number fields a user types into: the service panel's parameters, the limit fields, and
// the numbers of the settings file.
#include "FuzzCheck.h"
#include "core/base/Settings.h"
#include "core/link/ServiceLink.h"
#include "core/measure/Limits.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    // Accepted parameter text is a 32-bit integer; the byte is its low eight bits.
    if (const auto byte = service::parameterByte(text)) {
        bool ok = false;
        const int value = text.trimmed().toInt(&ok, 10);
        FUZZ_CHECK(ok);
        FUZZ_CHECK(*byte == static_cast<quint8>(static_cast<quint32>(value) & 0xFFu));
    }

    // A limit field shows the limit it took over, an upper one at most the ceiling.
    for (const bool upper : {false, true}) {
        const auto taken = plausibility::takeOverField(text, upper, 330);
        FUZZ_CHECK(taken.text == QString::number(taken.limit));
        FUZZ_CHECK(!upper || taken.limit <= plausibility::kUpperLimitCeiling);
    }

    // A stored number is the text's integer or the fallback.
    const qint32 stored = storedInteger(QVariant(text), 60);
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    FUZZ_CHECK(stored == (ok ? value : 60));
    return 0;
}
