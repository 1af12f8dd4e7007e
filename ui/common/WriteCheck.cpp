// The check before an action that writes.

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

bool checkWritable(DataStore& store, MessageService& messages) {
    if (store.probeWriteAccess().access != WriteAccess::Writable) {
        boxes::plain(messages, store.damaged()
                                   ? store.damagedText()
                                   : WriteCheckTexts::tr("Messung nicht möglich , da nicht auf "
                                                         "Datenbanken geschrieben werden kann."));
        return false;
    }
    return true;
}
