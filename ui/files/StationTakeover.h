#pragma once

class AthleteController;
class DataStore;
class Journal;
class MessageService;

// "Datei" ▸ "Daten einer anderen Station übernehmen …": the measurements of another station's
// database file, or of a backup, into the program's database.
namespace stationfile {

// Asks for the file, takes its measurements over one by one with a progress dialog (each
// athlete matched by name, first name and date of birth; those whose athlete is not clear
// wait in the journal for the user's choice), lists the athletes again and tells what was
// done. A file that cannot be read or a database that cannot be written is reported, with
// what was taken over before.
void takeOver(MessageService& messages, DataStore& store, Journal& journal,
              AthleteController& athletes);

} // namespace stationfile
