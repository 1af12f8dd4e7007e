// Another station's database file (or a backup of one), read a few measurements at a time so
// that taking it over needs as little memory for a million jumps as for ten.

#pragma once

#include "core/store/AthleteRepository.h"
#include "core/store/MeasurementRepository.h"

#include <QList>
#include <QString>

#include <memory>

// One measurement of the file with its athlete as the file knows him, its test and jumps.
struct StationFileMeasurement {
    JournalledAthlete athlete; // serverId stays 0: the file's IDs mean nothing elsewhere
    JournalledMeasurement measurement;
    qint64 measurementNumber = 0; // its number in the file
};

// Reads a station's SQLite file without changing it: opened read-only, its measurements in
// the order they were stored, in chunks. A file that is missing, no SQLite database, damaged,
// or not a station's file throws AppError naming it, at the opening or at the chunk where the
// damage shows.
class StationFile {
public:
    static constexpr int kChunk = 200; // measurements read at once

    explicit StationFile(const QString& path);
    ~StationFile();
    StationFile(const StationFile&) = delete;
    StationFile& operator=(const StationFile&) = delete;

    // How many measurements the file holds.
    qint64 measurementCount() const { return count_; }
    // The next chunk of measurements; empty at the end.
    QList<StationFileMeasurement> next();
    // The next chunk of the file's athletes without a measurement (after the measurements,
    // they are all the file holds); empty at the end.
    QList<Athlete> nextAthletesWithoutMeasurement();
    // Measurements left out because their athlete is missing in the file.
    int withoutAthlete() const { return withoutAthlete_; }
    int jumpsWithoutAthlete() const { return jumpsWithoutAthlete_; }

private:
    QList<StationFileMeasurement> readChunk();

    QString path_;
    QString connectionName_;
    qint64 count_ = 0;
    qint64 lastId_ = 0;
    qint64 lastAthleteId_ = 0;
    int withoutAthlete_ = 0;
    int jumpsWithoutAthlete_ = 0;
    bool atEnd_ = false;
    bool hasTests_ = false;
    bool hasExclusions_ = false;
};

// The identity of a file's measurement on its way into a database: the same for the same
// measurement in a station's file and in any backup of it, so that it is never taken twice.
// 40 characters, which no journal's identity has.
QString stationFileIdentity(const StationFileMeasurement& m);
