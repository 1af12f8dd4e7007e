#include "ui/common/WriteCheck.h"

#include "core/store/DataStore.h"
#include "ui/common/MessageService.h"
#include <QCoreApplication>

namespace {

// The texts of this file that the user reads, in the translation context "WriteCheck".
struct WriteCheckTexts {
    Q_DECLARE_TR_FUNCTIONS(WriteCheck)
};

} // namespace

bool checkWritable(DataStore& store, MessageService& ui) {
    if (store.database().probeWriteAccess().access != Database::WriteAccess::Writable) {
        boxes::plain(ui, store.database().damaged()
                             ? store.database().damagedText()
                             : WriteCheckTexts::tr("Messung nicht möglich , da nicht auf "
                                                   "Datenbanken geschrieben werden kann."));
        return false;
    }
    return true;
}
