// The Paradox tables of an old data folder: the first byte picks the table the rest of the
// input stands for (sportler, units or mr), the other two are valid. Whatever the file holds,
// the reader gives the data or a message, and the old keys account for every jump.
#include "FuzzCheck.h"
#include "OldTables.h"
#include "core/base/Errors.h"
#include "core/takeover/OldDataReader.h"
#include "core/takeover/OldKeys.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace {

const char* const kTables[] = {"sportler.db", "units.db", "mr.db"};

struct Folder {
    QTemporaryDir dir{QFileInfo::exists(QStringLiteral("/dev/shm"))
                          ? QStringLiteral("/dev/shm/kalvero-fuzz-XXXXXX")
                          : QDir::tempPath() + QStringLiteral("/kalvero-fuzz-XXXXXX")};
    QByteArray valid[3];

    Folder() {
        FUZZ_CHECK(dir.isValid() && oldtables::writeFolder(dir.path()));
        for (int i = 0; i < 3; ++i) {
            QFile f(dir.filePath(QLatin1String(kTables[i])));
            FUZZ_CHECK(f.open(QIODevice::ReadOnly));
            valid[i] = f.readAll();
        }
    }
    void put(int table, const QByteArray& bytes) {
        QFile f(dir.filePath(QLatin1String(kTables[table])));
        FUZZ_CHECK(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(f.write(bytes) == bytes.size());
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Folder folder;
    if (size < 1)
        return 0;
    const int table = data[0] % 3;
    folder.put(table, QByteArray(reinterpret_cast<const char*>(data) + 1,
                                 static_cast<qsizetype>(size - 1)));

    try {
        const takeover::OldData old = takeover::readOldData(folder.dir.path());
        const takeover::Takeover result = takeover::assignOldKeys(old);
        const takeover::TakeoverCounts& c = result.counts;
        FUZZ_CHECK(c.athletes == old.athletes.size() && c.measurements == old.measurements.size() &&
                   c.jumps == old.jumps.size());
        qsizetype assigned = 0;
        for (const auto& athlete : result.athletes)
            for (const auto& measurement : athlete.measurements)
                assigned += measurement.jumps.size();
        FUZZ_CHECK(assigned + c.jumpsOfMeasurementsWithoutAthlete + c.orphanedJumps +
                       c.collidingJumps ==
                   c.jumps);
    } catch (const AppError& e) {
        // The message names the file it is about.
        FUZZ_CHECK(!e.text().isEmpty());
    }
    folder.put(table, folder.valid[table]);
    return 0;
}
