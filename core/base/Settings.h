#pragma once

#include <QSettings>
#include <QStringList>
#include <QVariant>

// The values kept between runs, in memory while the program runs. Every value is stored as a
// string in the group "Einstellungen": integers as decimal text, booleans as "0" or "1".
struct StoredSettings {
    bool mask = false;      // "Mask": carried from start to exit unchanged
    bool deleteFlag = true; // "Delete": carried from start to exit unchanged
    qint32 contactMinMs = 60;
    qint32 contactMaxMs = 330;
    qint32 flightMinMs = 200;
    qint32 flightMaxMs = 1000;
    quint8 mode = 1;         // "Betriebsart": 1 = single measurement, anything else = multiple
    qint32 backupsKept = 14; // "Sicherungen": daily copies of the database file kept; read only

    // The keys whose stored values were unsound and gave way to their defaults.
    QStringList unsoundKeys;
};

// The bounds of a sound value: a plausibility limit in milliseconds, and the number of
// backups kept.
inline constexpr qint32 kLimitLowestMs = 1;
inline constexpr qint32 kLimitHighestMs = 60000;
inline constexpr qint32 kBackupsKeptHighest = 3650;

// A stored value as a decimal integer; anything missing or not a 32-bit integer gives the
// default.
qint32 storedInteger(const QVariant& stored, qint32 fallback);

// Reads, in this order, "Mask", "Delete", "PSZmin", "PSZmax", "PFZmin", "PFZmax",
// "Betriebsart" and "Sicherungen"; the mode keeps its low eight bits. A limit that is no number,
// lies outside 1 to 60,000 ms or, as a minimum, is not below its maximum gives way to the
// defaults of its pair; a number of backups that is no number or lies outside 1 to 3,650 to
// its default. Those keys are listed in unsoundKeys.
StoredSettings readSettings(QSettings& settings);

// What the start tells the user when settings gave way to their defaults, each key with the
// values it may take; empty when none did.
QString unsoundSettingsMessage(const StoredSettings& values);

// What the start found in the settings file before anything read it, and what it did.
struct SettingsFileCheck {
    enum class Finding {
        Sound,           // missing, or every line readable
        CannotOpen,      // there, but it cannot be opened for reading
        NotSettings,     // binary bytes, or more unreadable lines than readable ones
        UnreadableLines, // a few lines that cannot be read among readable ones
    };
    Finding finding = Finding::Sound;
    QString path;
    QString keptAs;             // where the file is kept as it was; empty when it is not
    QList<int> unreadableLines; // from 1; those left out of the file, when it was read
    QString failedFile;         // the file that could not be written or renamed, if any
    QString failureReason;      // and why, as the system says it
};

// Checks the settings file at `path` (a QSettings INI file) before anything reads it, as
// QSettings would read it: a line is readable when it is UTF-8 text without control
// characters, blank, a comment (";"), a group ("[Name]") or "key=value" whose quotes close and
// that does not run on into the next line; the lines of a group whose heading cannot be read
// cannot be placed either. A file that is no settings file is renamed to "<file>.unlesbar"
// (or "<file>.unlesbar-2" and so on, when such a file exists), so that the defaults apply and
// it is never overwritten. A file with a few unreadable lines is copied there as it was and
// then holds only its readable lines, so that the user's other settings stay.
SettingsFileCheck checkSettingsFile(const QString& path);

// The text for the user about what the check found and did; empty when the file was sound.
QString settingsFileMessage(const SettingsFileCheck& check);

// Whether the settings can be written as QSettings writes them (an existing file opened for
// writing, else a new file in its folder, made when missing): the file or folder in the way,
// or empty when they can.
QString settingsWriteObstacle(const QString& path);

// The text for the user when the settings cannot be written: what changes in this run is lost.
QString settingsNotWritableMessage(const QString& obstacle);

// Writes all nine values: "ComPort" and "ComSet" always "1", the mode as "1" or "2"; and the
// number of backups kept when the stored one was unsound, so that its default replaces it.
void writeSettings(QSettings& settings, const StoredSettings& values);

// The main window's size, position and maximised state, kept in a group of their own,
// "Fenster", beside "Einstellungen": the key "Geometrie" holds them in the form the window
// saves and restores itself (QWidget::saveGeometry). Empty when nothing is stored.
QByteArray readWindowGeometry(QSettings& settings);
void writeWindowGeometry(QSettings& settings, const QByteArray& geometry);

// Where the dividers of the main window stand (each in the form QSplitter::saveState gives),
// in "Fenster" beside the geometry, key "Teilungen". Empty when nothing is stored.
QList<QByteArray> readWindowDividers(QSettings& settings);
void writeWindowDividers(QSettings& settings, const QList<QByteArray>& dividers);

// What the bars of the series chart show, in "Fenster" beside the geometry, key
// "Serienbalken": "Hoehe" or "RSI". Empty when nothing is stored.
QString readSeriesBars(QSettings& settings);
void writeSeriesBars(QSettings& settings, const QString& value);

// The display for the athlete, in "Fenster": what it shows, key "Anzeigewert" ("Hoehe" or
// "RSI", empty when nothing is stored), and whether a sound marks each jump, key
// "AnzeigeTon" (on unless switched off).
QString readDisplayValue(QSettings& settings);
void writeDisplayValue(QSettings& settings, const QString& value);
bool readDisplaySound(QSettings& settings);
void writeDisplaySound(QSettings& settings, bool on);
// The group chosen above the athlete grid, in "Fenster" beside the geometry, key "Gruppe":
// its ID, 0 for all athletes (and when nothing or no number is stored).
qint64 readChosenGroup(QSettings& settings);
void writeChosenGroup(QSettings& settings, qint64 groupId);
