// The version record reader over any file contents.
#include "FuzzCheck.h"
#include "core/base/BuildInfo.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer file(&bytes);
    FUZZ_CHECK(file.open(QIODevice::ReadOnly));
    const auto version = buildinfo::readFileVersion(file);
    // Only an ELF file carries a record.
    FUZZ_CHECK(!version || bytes.startsWith("\x7f"
                                            "ELF"));
    if (version)
        FUZZ_CHECK(!buildinfo::versionText(*version).isEmpty());
    return 0;
}
