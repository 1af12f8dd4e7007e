#include "ui/WriteCheck.h"

#include "core/store/DataStore.h"
#include "ui/MessageService.h"

bool checkWritable(DataStore& store, MessageService& ui) {
    if (store.database().probeWriteAccess().access != Database::WriteAccess::Writable) {
        boxes::plain(ui, store.database().damaged()
                             ? store.database().damagedText()
                             : QStringLiteral("Messung nicht möglich , da nicht auf "
                                              "Datenbanken geschrieben werden kann."));
        return false;
    }
    return true;
}
