// The connection text of a shared database, as KALVERO_DATABASE or the settings file give it.
#include "FuzzCheck.h"
#include "core/store/StoreLocation.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QString reason;
    const std::optional<StoreLocation> location = StoreLocation::fromConnectionText(text, &reason);
    if (!location) {
        // A refusal always says why, naming the text the user gave.
        FUZZ_CHECK(!reason.isEmpty());
        FUZZ_CHECK(reason.contains(text));
        return 0;
    }
    // What is taken is a server that libpq can be pointed at.
    FUZZ_CHECK(location->kind == StoreLocation::Kind::Server);
    FUZZ_CHECK(location->port > 0 && location->port <= 65535);
    FUZZ_CHECK(!location->database.isEmpty() && !location->database.contains(QLatin1Char('/')));
    FUZZ_CHECK(!location->serverName().isEmpty());
    // An empty variable falls back to the setting; a set one wins.
    QString chosenReason;
    const auto chosen =
        StoreLocation::choose(text, QString(), QStringLiteral("/data"), &chosenReason);
    FUZZ_CHECK(chosen && chosen->database == location->database);
    return 0;
}
