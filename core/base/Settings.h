#pragma once

#include <QSettings>
#include <QVariant>

// The values kept between runs, in memory while the program runs. Every value is stored as a
// string in the group "Einstellungen": integers as decimal text, booleans as "0" or "1".
struct SettingsValues {
    bool Mask = false;
    bool Delete = true;
    qint32 PSZmin = 60;
    qint32 PSZmax = 330;
    qint32 PFZmin = 200;
    qint32 PFZmax = 1000;
    quint8 Betriebsart = 1;
};

// A stored value as a decimal integer; anything missing or not a 32-bit integer gives the
// default.
qint32 storedInteger(const QVariant& stored, qint32 fallback);

// Reads, in this order, "Mask", "Delete", "PSZmin", "PSZmax", "PFZmin", "PFZmax" and
// "Betriebsart"; the mode keeps its low eight bits.
void readSettings(QSettings& settings, SettingsValues& values);
// Writes all nine values: "ComPort" and "ComSet" always "1", the mode as "1" or "2".
void writeSettings(QSettings& settings, const SettingsValues& values);
