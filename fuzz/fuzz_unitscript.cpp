// The simulator's script reader, and a simulated unit built from what it accepts.
#include "FuzzCheck.h"
#include "core/base/Clock.h"
#include "core/link/SimulatedUnit.h"
#include "core/link/UnitScript.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QString error;
    const auto script = parseUnitScript(text, QStringLiteral("unit.txt"), &error);
    if (!script) {
        // A refusal always names the file and the line.
        FUZZ_CHECK(error.startsWith(QStringLiteral("unit.txt:")));
        return 0;
    }
    FUZZ_CHECK(script->devices <= UnitScript::kMaxDevices);
    FUZZ_CHECK(script->serviceDevices <= UnitScript::kMaxServiceDevices);
    for (const UnitScriptStep& step : script->steps)
        FUZZ_CHECK(step.delayMs <= UnitScript::kMaxDelayMs && !step.bytes.isEmpty());

    VirtualClock clock(0, 1);
    const auto unit = createScriptedUnit(clock, *script);
    quint32 count = 0;
    FUZZ_CHECK(unit->listDevices(&count, nullptr, d2xx::FT_LIST_NUMBER_ONLY) == d2xx::FT_OK);
    FUZZ_CHECK(count == script->devices + script->serviceDevices);
    return 0;
}
