// "Daten übernehmen …": the choice of an old data folder and its take-over, with question and
// result.

#include "ui/files/OldDataTakeover.h"

#include "core/store/DataStore.h"
#include "core/takeover/OldDataReader.h"
#include "core/takeover/TakeoverWriter.h"
#include "ui/athletes/AthleteController.h"
#include "ui/common/MessageService.h"
#include "ui/common/Widgets.h"
#include <QCoreApplication>

namespace {

// The texts of this file that the user reads, in the translation context "OldDataTakeover".
struct OldDataTakeoverTexts {
    Q_DECLARE_TR_FUNCTIONS(OldDataTakeover)
};

} // namespace

namespace olddata {

void takeOver(MessageService& messages, DataStore& store, AthleteController& athletes) {
    const QString folder =
        messages.folderName(OldDataTakeoverTexts::tr("Ordner mit den alten Daten wählen"));
    if (folder.isEmpty())
        return;
    takeover::Takeover data;
    int present = 0;
    {
        widgets::BusyCursor busy;
        data = takeover::assignOldKeys(takeover::readOldData(folder));
        takeover::requireWritable(store);
        present = takeover::measurementsPresent(store, data);
    }
    if (!boxes::confirm(
            messages, takeover::question(data.counts, present),
            {OldDataTakeoverTexts::tr("&Übernehmen"), OldDataTakeoverTexts::tr("&Abbrechen")}))
        return;
    std::optional<takeover::WrittenCounts> written;
    {
        const auto progress =
            messages.showProgress(OldDataTakeoverTexts::tr("Übernahme läuft … %1 von %2 Sportlern"),
                                  static_cast<int>(data.athletes.size()));
        written =
            takeover::write(store, data, [&progress](int done) { return progress->update(done); });
    }
    if (!written)
        return; // cancelled: nothing was written
    athletes.refresh();
    boxes::information(messages, takeover::report(*written, data.counts));
}

} // namespace olddata
