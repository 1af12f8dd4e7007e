#pragma once

#include "core/store/AthleteRepository.h"

#include <QList>

#include <optional>

class DataStore;
class MessageService;

// "Datei" ▸ "Exportieren" ▸ "Export" and "Alle Exportieren": the export file (core/export) of
// the selected athlete or of the athletes the grid lists, with the save dialog, the progress
// and the messages. A file that cannot be written is told; an earlier one stays then.
namespace textexport {

// The file of the selected athlete; its text goes to the clipboard as well.
void saveSelected(MessageService& messages, DataStore& store,
                  const std::optional<Athlete>& athlete);
// The file of the athletes listed, with a progress dialog that can cancel it.
void saveListed(MessageService& messages, DataStore& store, const QList<Athlete>& listed);

} // namespace textexport
