#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

// The athletes, measurements and jumps of an old data folder (tables sportler, units and mr),
// as they stand in the tables: old IDs, old series keys, empty fields left empty.
namespace takeover {

struct OldAthlete {
    qint64 id = 0;
    QString name;           // Name
    QString firstName;      // Vorname
    QDate born;             // Geb; null when empty
    std::optional<int> sex; // Geschl
    QString remark;         // Bemerkung1
    QString remark2;        // Bemerkun2
};

struct OldMeasurement {
    std::optional<qint64> id;
    std::optional<qint64> athleteId;         // Ref_ID
    QDateTime moment;                        // Datum; invalid when empty
    std::optional<qint64> measurementNumber; // Nummer
    std::optional<double> contactMs;         // SZ
    qint64 jumpCount = 0;                    // FZ: number of jumps of the measurement, 0 when empty
    std::optional<double> efficiency;        // Eff
    QString remark;                          // Bem
};

struct OldJump {
    // Serie: the old series key of the measurement the jump belongs to.
    std::optional<double> oldSeriesKey;
    std::optional<double> contactMs;
    std::optional<double> flightMs;
    std::optional<double> efficiency;
    std::optional<double> jumpIndex; // Anzahl: 1, 2, 3 … within the measurement
};

struct OldData {
    QList<OldAthlete> athletes;
    QList<OldMeasurement> measurements;
    QList<OldJump> jumps;
};

} // namespace takeover
