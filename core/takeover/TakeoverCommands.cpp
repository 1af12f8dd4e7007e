// The take-overs of the command line: an old data folder, or a station's file into a shared
// database.

#include "core/takeover/TakeoverCommands.h"

#include "core/base/Errors.h"
#include "core/base/StationIdentity.h"
#include "core/store/DataStore.h"
#include "core/store/Journal.h"
#include "core/takeover/OldDataReader.h"
#include "core/takeover/StationMerge.h"
#include "core/takeover/TakeoverWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

// The texts of this file that the user reads, in the translation context "TakeoverCommands".
struct TakeoverCommandsTexts {
    Q_DECLARE_TR_FUNCTIONS(TakeoverCommands)
};

} // namespace

namespace takeover {
namespace {

QString writeInto(const StoreLocation& location, const Takeover& data) {
    DataStore target;
    target.open(location);
    requireWritable(target);
    const auto written = write(target, data);
    return written ? report(*written, data.counts) : QString();
}

} // namespace

QString importFolder(const QString& folder, const StoreLocation& store) {
    // The folder is read in full before the database is touched.
    return writeInto(store, assignOldKeys(readOldData(folder)));
}

QString copyStation(const QString& dataDirectory, const StoreLocation& shared) {
    const StoreLocation own = StoreLocation::embedded(dataDirectory);
    const QString file = own.filePath();
    // Opening a missing file would make an empty one.
    if (!QFileInfo(file).isFile() || QFileInfo(file).size() == 0)
        throw AppError(
            TakeoverCommandsTexts::tr("Die Datenbank „%1“ gibt es nicht; es wurde nichts kopiert.")
                .arg(QDir::toNativeSeparators(file)));
    DataStore target;
    target.open(shared);
    requireWritable(target);
    // The file is read a chunk at a time; measurements whose athlete is not clear wait in
    // this station's journal, for the user's choice in the window.
    Journal journal(dataDirectory);
    return mergeSummaryText(mergeStationFile(file, target, journal, station::computerName()));
}

} // namespace takeover
