#pragma once

class AthleteController;
class DataStore;
class MessageService;

// "Datei" ▸ "Daten übernehmen …": athletes, measurements and jumps of an old data folder (the
// Paradox tables sportler.db, units.db and mr.db) into the program's database.
namespace olddata {

// Asks for the folder, tells what it holds and asks whether to take it over, writes it all or
// nothing with a progress dialog, lists the athletes again and tells what was written. A
// folder that cannot be read or a database that cannot be written is reported; nothing is
// written then.
void takeOver(MessageService& messages, DataStore& store, AthleteController& athletes);

} // namespace olddata
