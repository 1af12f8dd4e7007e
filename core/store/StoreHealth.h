#pragma once

#include <QString>

// What the store says about its state beside what it holds.

// Measurements of one athlete that share a number, found when the database was opened (a
// file of an earlier version can hold them). They are kept as they are; only without them a
// unique index keeps every new number apart.
struct DuplicateNumber {
    qint64 athleteId = 0;
    qint64 measurementNumber = 0;
    int count = 0;
};

// Whether rows can be written: a row written to `units` and rolled back at once.
enum class WriteAccess { Writable, ReadOnly, Failed };
struct WriteProbe {
    WriteAccess access = WriteAccess::Writable;
    QString error;  // the engine's text when not writable
    QString reason; // why not, in the user's words ("Der Datenbankserver … ist nicht erreichbar.")
};
