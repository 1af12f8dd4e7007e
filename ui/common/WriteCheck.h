#pragma once

class DataStore;
class MessageService;

// The check before every action that writes: shows its message and returns false when the
// database cannot be written.
bool checkWritable(DataStore& store, MessageService& messages);
