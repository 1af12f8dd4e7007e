#pragma once

#include "core/analysis/JumpAnalysis.h"
#include "core/measure/MeasurementTest.h"
#include "core/store/AthleteRepository.h"

#include <QDateTime>
#include <QList>
#include <QStringList>

#include <functional>
#include <optional>

class MeasurementRepository;

// What the report of one athlete holds, read from the tables and put into texts: the
// athlete, every measurement with its figures (newest first, numbered as in the history
// list), the progress and, for the measurement selected in the history list, its jumps and
// statistics. Laying it out on pages is the window's part.
namespace report {

struct MeasurementLine {
    int position = 0; // "Nr." as in the history list
    QDateTime moment;
    QString dateText;
    QString timeText;
    qint64 nummer = 0;
    bool series = false;
    MeasurementTest test; // empty for a measurement stored without one
    analysis::JumpStatistics statistics;
    QList<analysis::StoredJump> jumps;
};

struct AthleteReport {
    Athlete athlete;
    QList<MeasurementLine> lines; // newest first
    QList<analysis::ProgressPoint> progress;
    std::optional<MeasurementLine> selected;
};

// Told how many measurements are read; returns false to cancel.
using Progress = std::function<bool(int measurementsRead)>;

// Reads the report of an athlete; none when the progress cancelled it.
std::optional<AthleteReport> read(MeasurementRepository& measurements, const Athlete& athlete,
                                  std::optional<qint64> selectedNummer,
                                  const Progress& progress = {});

// "Name", "Vorname", "Geb. am", "Geschlecht", "Bemerkung" and the athlete's texts for them.
QStringList athleteFieldNames();
QStringList athleteFieldTexts(const Athlete& athlete);

// The columns of the measurement table and the texts of one line.
QStringList tableHeader();
QStringList tableTexts(const MeasurementLine& line);

// "Einzel" or "Serie" as the table says it, and the heading of a measurement's part.
QString kindText(const MeasurementLine& line);
QString measurementHeading(const MeasurementLine& line);

} // namespace report
