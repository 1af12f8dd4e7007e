// "Daten einer anderen Station übernehmen …": the choice of the file, its take-over with
// progress, and the summary.

#include "ui/files/StationTakeover.h"

#include "core/base/Errors.h"
#include "core/base/StationIdentity.h"
#include "core/store/DataStore.h"
#include "core/takeover/StationMerge.h"
#include "core/takeover/TakeoverWriter.h"
#include "ui/athletes/AthleteController.h"
#include "ui/common/MessageService.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <climits>

namespace {

// The texts of this file that the user reads, in the translation context "StationTakeover".
struct StationTakeoverTexts {
    Q_DECLARE_TR_FUNCTIONS(StationTakeover)
};

} // namespace

namespace stationfile {

void takeOver(MessageService& messages, DataStore& store, Journal& journal,
              AthleteController& athletes) {
    const QString file = messages.openFileName(
        StationTakeoverTexts::tr("Datenbank einer anderen Station oder Sicherung wählen"),
        StationTakeoverTexts::tr("Datenbanken und Sicherungen|*.sqlite"));
    if (file.isEmpty())
        return;
    if (store.isOpen() && store.location().kind == StoreLocation::Kind::Embedded &&
        QFileInfo(file).canonicalFilePath() ==
            QFileInfo(store.location().filePath()).canonicalFilePath())
        throw AppError(StationTakeoverTexts::tr("Das ist die Datenbank dieser Station selbst; "
                                                "es wurde nichts übernommen."));
    takeover::requireWritable(store);
    takeover::MergeSummary summary;
    // The refresh comes also after a failure: what was taken over before it stays.
    const auto failure = failureOf([&] {
        std::unique_ptr<ProgressView> progress;
        summary = takeover::mergeStationFile(
            file, store, journal, station::computerName(), [&](qint64 done, qint64 total) {
                if (!progress)
                    progress = messages.showProgress(
                        StationTakeoverTexts::tr("Übernahme läuft … %1 von %2 Messungen"),
                        static_cast<int>(std::min<qint64>(total, INT_MAX)));
                return progress->update(static_cast<int>(std::min<qint64>(done, INT_MAX)));
            });
    });
    athletes.refresh();
    if (failure)
        throw AppError(failure->text, failure->detail);
    boxes::information(messages, takeover::mergeSummaryText(summary));
}

} // namespace stationfile
