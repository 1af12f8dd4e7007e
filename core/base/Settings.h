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

// What the start tells the user when settings gave way to their defaults; empty when none
// did.
QString unsoundSettingsMessage(const StoredSettings& values);

// A settings file that cannot be read as one (binary bytes, say) would be overwritten at exit
// with the defaults, losing every group of the user's own in it. It is renamed to
// "<file>.unlesbar" (or "<file>.unlesbar-2" and so on, when such a file exists) and the text
// for the user returned; empty when the file is readable, missing or could not be moved.
QString keepUnreadableSettingsAside(const QString& path);
// Writes all nine values: "ComPort" and "ComSet" always "1", the mode as "1" or "2".
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
