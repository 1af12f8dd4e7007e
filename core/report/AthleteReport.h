#pragma once

#include "core/analysis/JumpAnalysis.h"
#include "core/analysis/Progress.h"
#include "core/analysis/ProtocolResults.h"
#include "core/measure/MeasurementTest.h"
#include "core/store/AthleteRepository.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QStringList>

#include <functional>
#include <optional>

class MeasurementRepository;

// What the report of one athlete holds, read from the tables and put into texts: the
// athlete, every measurement with its figures (newest first, numbered as in the history
// list), the progress in the test and drop height of the selected measurement (or else the
// newest) with its noise band and, for the measurement selected in the history list, its
// jumps and statistics. Laying it out on pages is the window's part.
namespace report {

struct MeasurementLine {
    int position = 0; // "Nr." as in the history list
    QDateTime moment;
    QString dateText;
    QString timeText;
    qint64 measurementNumber = 0;
    bool series = false;
    MeasurementTest test; // empty for a measurement stored without one
    analysis::JumpStatistics statistics;
    QList<analysis::StoredJump> jumps;
};

struct AthleteReport {
    Athlete athlete;
    QList<MeasurementLine> lines;            // newest first
    QList<analysis::ProgressPoint> progress; // of the progress line, oldest first
    QString progressLine;                    // its name: "Drop Jump, Fallhöhe 30 cm"
    progress::Noise noise;                   // of the best RSI along it
    std::optional<MeasurementLine> selected;
    // The protocol the selected measurement was run under: the 10/5 result of a series, or the
    // drop-height profile it is a trial of.
    std::optional<protocolresults::TenFiveText> tenFive;
    struct ProfileResult {
        QString heading;
        protocols::Profile profile;
    };
    std::optional<ProfileResult> profile;
};

// Told how many measurements are read; returns false to cancel.
using Progress = std::function<bool(int measurementsRead)>;

// The smallest worthwhile change of the best RSI in a test, for the progress band; none
// without one.
using WorthwhileOf =
    std::function<std::optional<realchange::Worthwhile>(const MeasurementTest& test)>;
// Reads the report of an athlete; none when the progress cancelled it. `repeats` are the
// test–retest pairs the user marked, a repeat's number to the number it repeats.
std::optional<AthleteReport> read(MeasurementRepository& measurements, const Athlete& athlete,
                                  std::optional<qint64> selectedMeasurementNumber,
                                  const Progress& progress = {},
                                  const WorthwhileOf& worthwhileOf = {},
                                  const QHash<qint64, qint64>& repeats = {});

// "Name", "Vorname", "Geb. am", "Geschlecht", "Bemerkung" and the athlete's texts for them.
QStringList athleteFieldNames();
QStringList athleteFieldTexts(const Athlete& athlete);

// The columns of the measurement table and the texts of one line.
QStringList tableHeader();
QStringList tableTexts(const MeasurementLine& line);

// The table of a measurement's jumps, in the order of their numbers: "Nr.", the contact and
// flight time, the height, the RSI and the reason of an excluded jump ("Ausschluss"). A time
// the unit did not measure and a value of no valid jump stay empty.
QStringList jumpTableHeader();
QList<QStringList> jumpTableTexts(const QList<analysis::StoredJump>& jumps);

// "Einzel" or "Serie" as the table says it, and the heading of a measurement's part.
QString kindText(const MeasurementLine& line);
QString measurementHeading(const MeasurementLine& line);

} // namespace report
