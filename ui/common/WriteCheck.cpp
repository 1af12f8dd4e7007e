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
    const WriteProbe probe = store.probeWriteAccess();
    if (probe.access == WriteAccess::Writable)
        return true;
    if (store.damaged()) {
        boxes::plain(messages, store.damagedText());
        return false;
    }
    // With the cause: a server that went away is named, as at the start.
    QString text =
        WriteCheckTexts::tr("Messung nicht möglich , da nicht auf Datenbanken geschrieben "
                            "werden kann.");
    const QString readOnly = store.readOnlyText();
    const QString cause = readOnly.isEmpty() ? probe.reason : readOnly;
    if (!cause.isEmpty())
        text += QStringLiteral("\n\n") + cause;
    boxes::plain(messages, text);
    return false;
}
