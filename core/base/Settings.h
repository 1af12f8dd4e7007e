#pragma once

#include <QSettings>
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
    quint8 mode = 1; // "Betriebsart": 1 = single measurement, anything else = multiple
};

// A stored value as a decimal integer; anything missing or not a 32-bit integer gives the
// default.
qint32 storedInteger(const QVariant& stored, qint32 fallback);

// Reads, in this order, "Mask", "Delete", "PSZmin", "PSZmax", "PFZmin", "PFZmax" and
// "Betriebsart"; the mode keeps its low eight bits.
StoredSettings readSettings(QSettings& settings);
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
