#pragma once

#include "core/export/Exporter.h"
#include "core/measure/Limits.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class DataStore;

// The export for analysis tools (R, Python, spreadsheets): one row per stored jump with the
// athlete, the measurement and its test, the jump's times and the values derived from them at
// full precision, whether the user excluded it and why, and the plausibility limits in force.
// The column names are stable English words; a tool may address them by name. The rows are
// read through the store's jump reader and handed on as they come (see TidyReader), so the
// file (tidyexport::writeCsv) and the workbook (workbook::write) need little memory at any
// size. A value that is not there (a time the unit did not measure, a derived value of such a
// time, a measurement without a drop height) is an empty field.
namespace tidyexport {

// The columns of the jump rows, in their order: the CSV file, the workbook's sheet "jumps" and
// the description take them from here.
const QStringList& jumpColumns();
// The columns of the workbook's sheet "measurements" (one row per measurement with the
// statistics of its valid jumps), in their order, for the workbook and the description.
const QStringList& measurementColumns();

struct AthletePart {
    qint64 id = 0;
    QString surname;
    QString firstName;
    QDate birthDate; // invalid when none is stored or the stored text is no date
    QString sex;     // "male", "female", or empty when not chosen
};

struct MeasurementPart {
    qint64 id = 0;
    qint64 measurementNumber = 0; // within the athlete, from 1
    QDateTime moment;             // invalid when not stored
    QString test;                 // measurementtest::exportKey; empty without a test
    std::optional<int> dropHeightCm;
    bool series = false; // more than one jump recorded: "series", else "single"
    // The protocol it was run under: "10/5", "profile <ID>" for a trial of a drop-height
    // profile, empty for none.
    QString protocol;
    qint64 jumpCount = 0;
};

struct JumpPart {
    double jumpIndex = 0; // 1, 2, 3 ... within the measurement
    // The times as stored; empty where the unit did not measure them (-1) or the row holds no
    // number.
    std::optional<double> contactMs;
    std::optional<double> flightMs;
    // Derived from the times: empty where a time they need is not above 0.
    std::optional<double> heightCm;   // 9.81 · (flight_ms / 1000)² / 8 · 100
    std::optional<double> rsi;        // (height_cm / 100) / (contact_ms / 1000)
    std::optional<double> efficiency; // flight_ms² / contact_ms / 1000
    bool excluded = false;
    QString exclusionReason;
};

struct Row {
    const AthletePart& athlete;
    const MeasurementPart& measurement;
    const JumpPart& jump;
    bool newAthlete;     // the first row of its athlete
    bool newMeasurement; // the first row of its measurement
};

// Told how many of the athletes are done; returns false to cancel.
using Progress = Exporter::Progress;

// Reads the jumps of the given athletes, in that order, their measurements as recorded and
// the jumps of each by their number. A measurement without a stored jump has no row.
class TidyReader {
public:
    explicit TidyReader(DataStore& store) : store_(store) {}
    // Calls `row` for every jump and `progress` whenever an athlete is done; returns false
    // when the progress cancelled. Throws AppError when the database cannot be read.
    bool forEachRow(const QList<qint64>& athleteIds, const std::function<void(const Row&)>& row,
                    const Progress& progress = {});

private:
    DataStore& store_;
};

// A number at full precision with a decimal point: the shortest text that reads back as the
// same double ("30.655125", "215", "-1.5"); empty for a value that is not finite.
QByteArray numberText(double value);
// A moment as ISO 8601 local time, "2026-12-08T14:05:09"; empty for an invalid moment.
QString momentText(const QDateTime& moment);
// One field of RFC 4180: quoted (with inner quotes doubled) when it holds a comma, a quote or
// a line break, or starts or ends with a blank. A NUL character is written as a blank.
void appendField(QByteArray& out, const QString& text);

// What a finished export wrote.
struct Written {
    qint64 athletes = 0; // athletes with at least one jump
    qint64 jumps = 0;
};

struct Result {
    Exporter::Outcome outcome = Exporter::Outcome::Written;
    QString message; // for the user when a file cannot be written or the data read
    Written written;
};

// The side file that says how the file was made: the file's name with ".json" in place of
// its suffix ("jumps.csv" -> "jumps.json"; "jumps.json.csv" -> "jumps.json.json").
QString descriptionPath(const QString& path);
// Its text: the program and its version, the moment written, the columns of the file and of
// the workbook's measurements, the formulas of the derived values, the rule of a valid jump
// (analysis::validJumpRule) and the limits, which were set when the file was written and do not
// judge the stored jumps.
QByteArray descriptionText(const plausibility::Limits& limits, const QDateTime& written);

// Writes the jumps of these athletes to `path` as UTF-8 text of RFC 4180 (a header row of the
// column names, fields separated by ",", lines ended by CR LF), and the side file beside it.
// An earlier file of that name is replaced only once the whole new content is on disk.
Result writeCsv(DataStore& store, const QString& path, const QList<qint64>& athleteIds,
                const plausibility::Limits& limits, const Progress& progress = {});

// The athletes an export without a window covers: all athletes in the order of their IDs,
// or the members of the group of that name (case ignored). Throws AppError naming a group
// that does not exist.
QList<qint64> athletesToExport(DataStore& store, const QString& groupName);

} // namespace tidyexport
