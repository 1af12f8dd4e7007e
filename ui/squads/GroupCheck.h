#pragma once

class DataStore;
class MessageService;

// The check before "Gruppen …" and "Rangliste …": shows its message and returns false when
// the database has no groups (it could not be brought to the program's version).
bool checkGroupsAvailable(DataStore& store, MessageService& messages);
