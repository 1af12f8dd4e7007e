#include "core/store/SecurityTools.h"

#include "core/store/Database.h"
#include "core/store/ResultSet.h"

bool ProbeWriteAccess(ResultSet& query2) {
    try {
        query2.setSql({QStringLiteral("select * from units.db")});
        query2.open();
        query2.insert();
        // Nothing is written for a cancelled new row, so the table gets a real write that is
        // rolled back at once.
        const bool writable = query2.database().canWriteTable(QStringLiteral("units"));
        query2.cancel();
        return writable;
    } catch (...) {
        return false;
    }
}
