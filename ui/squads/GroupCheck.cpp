// The check whether the database has groups, before "Gruppen …" and "Rangliste …".

#include "ui/squads/GroupCheck.h"

#include "core/store/DataStore.h"
#include "core/store/GroupRepository.h"
#include "ui/common/MessageService.h"

#include <QCoreApplication>

namespace {

// The texts of this file that the user reads, in the translation context "GroupCheck".
struct GroupCheckTexts {
    Q_DECLARE_TR_FUNCTIONS(GroupCheck)
};

} // namespace

bool checkGroupsAvailable(DataStore& store, MessageService& messages) {
    if (!store.groups().available()) {
        boxes::information(messages,
                           GroupCheckTexts::tr("Diese Datenbank hat keine Gruppen: sie konnte "
                                               "nicht auf die Version des Programms gebracht "
                                               "werden."));
        return false;
    }
    return true;
}
