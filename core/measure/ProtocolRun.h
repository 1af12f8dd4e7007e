#pragma once

#include "core/analysis/Protocols.h"
#include "core/measure/MeasurementSession.h"

#include <QList>
#include <QString>

#include <optional>

// How the protocols run at the station: the 10/5 repeated-jump test as a series that ends by
// itself after its jumps, and the drop-height profile as single drop jumps that the program
// guides height by height. What a protocol's result is, is told by `protocols`; this is the
// course of the run and the texts the result panel shows of it.
namespace protocolrun {

// The 10/5 test: a series of reactive jumps that ends by itself after ten recorded jumps (a
// jump the limits kept from the store does not count).
AutoEnd tenFiveEnd();
// The result in one line: "RSI (beste 5 von 10): 2,13 · Stützzeit 182 ms · Höhe 38,7 cm ·
// Sprünge 2, 3, 5, 7, 9"; the height with two decimals like every other.
QString tenFiveText(const protocols::TenFiveResult& result);

// The drop heights and trials of a profile as the user enters them.
inline constexpr int kMinTrials = 1;
inline constexpr int kMaxTrials = 10;
inline constexpr int kDefaultTrials = 3;
inline constexpr int kMaxHeights = 20;
QList<int> defaultHeightsCm();
// "20, 30, 40, 50, 60"
QString heightsText(const QList<int>& heightsCm);
// The heights typed into their field, separated by commas, semicolons or blanks. Throws
// AppError naming what is wrong unless there are 1 to 20 whole numbers from 0 to 150 cm,
// each higher than the one before.
QList<int> parseHeights(const QString& text);

} // namespace protocolrun

// The course of a drop-height profile: its heights in rising order with the same number of
// trials each, one single drop jump per trial. A trial is done when its jump is valid (see
// analysis::isValidJump): a stored jump whose times were not measured is tried again. The
// run never ends by itself; it only advises to end (protocols::stopAdvice), after a height's
// last trial.
class ProfileRun {
public:
    // The heights (rising, from parseHeights) and the trials at each (1 to 10).
    ProfileRun(QList<int> heightsCm, int trialsPerHeight);

    const QList<int>& heightsCm() const { return heightsCm_; }
    int trialsPerHeight() const { return trialsPerHeight_; }

    // The trial the next run makes.
    struct Position {
        int heightCm = 0;
        int trial = 1; // from 1
        int trials = 1;
        bool operator==(const Position&) const = default;
    };
    // None once every height has its trials.
    std::optional<Position> next() const;

    // A stored trial: its jump from the drop height it was made at.
    void addTrial(const protocols::ProfileTrial& trial);
    const QList<protocols::ProfileTrial>& trials() const { return trials_; }

    // The profile over every trial so far.
    protocols::Profile profile() const;
    // The latest height whose trials are all done, with what it gave; none before the first.
    std::optional<protocols::ProfileStep> lastFinishedHeight() const;
    // The advice over the heights whose trials are all done.
    protocols::StopAdvice advice() const;

    // The texts of the result panel: "40 cm, Versuch 2 von 3"; "40 cm: bester RSI 1,85 ·
    // beste Höhe 34,41 cm · mittlere Stützzeit 186 ms"; what to do once every trial is done.
    static QString positionText(const Position& position);
    static QString heightText(const protocols::ProfileStep& step);
    static QString finishedText();

private:
    int validTrialsAt(int heightCm) const;
    // The trials at the heights whose trials are all done.
    QList<protocols::ProfileTrial> trialsOfFinishedHeights() const;

    QList<int> heightsCm_;
    int trialsPerHeight_ = protocolrun::kDefaultTrials;
    QList<protocols::ProfileTrial> trials_;
};

namespace protocolrun {

// The stored trials of a profile, in the order recorded, as the analysis and the report take
// them (protocolresults::profileTrials). Its table and optimal heights are shown in the texts
// of protocolresults as well.
QList<protocols::ProfileTrial> storedTrials(MeasurementRepository& measurements, qint64 profileId);

} // namespace protocolrun
