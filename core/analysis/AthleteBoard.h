#pragma once

#include "core/analysis/RunningSeries.h"

#include <QString>

#include <optional>

// What the display for the athlete shows of a run, without a widget: who jumps, the last
// jump's value and the best of the series in the value chosen (height or RSI), a bar a place,
// and for a series that ends after a number of seconds the time left. The places come one by
// one, as the run records them; nothing is read again.
class AthleteBoard {
public:
    // A new run of the athlete named; `timedSeconds` for a series that ends after that many
    // seconds from its first contact.
    void start(const QString& athleteName, std::optional<int> timedSeconds = std::nullopt);
    // The result panel shows nobody any more (another athlete was chosen).
    void clear();
    // A recorded jump, or none for one the limits kept from the store.
    void add(const analysis::RunningSeries::Place& place);
    void setExcluded(const QList<int>& jumpIndexes) { series_.setExcluded(jumpIndexes); }

    void setValue(analysis::SeriesValue value) { value_ = value; }
    analysis::SeriesValue value() const { return value_; }

    const QString& athleteName() const { return name_; }
    // The last place's value as the program shows it ("30,66" cm, "1,53" RSI); "–" for a
    // place without a valid jump, empty before the first.
    QString lastText() const;
    // The best of the series so far; empty without a valid jump.
    QString bestText() const;
    // The unit or name of the value: "cm" or "RSI".
    QString unitText() const;
    // The time left as minutes and seconds ("0:30"), rounded up to the next second: the full
    // time before the first contact (none left over yet: `millisecondsLeft` empty); empty for
    // a run without a time.
    QString countdownText(std::optional<qint32> millisecondsLeft) const;
    bool timed() const { return timedSeconds_.has_value(); }

    const analysis::RunningSeries& series() const { return series_; }

private:
    QString valueText(double value) const;

    QString name_;
    std::optional<int> timedSeconds_;
    analysis::RunningSeries series_;
    analysis::SeriesValue value_ = analysis::SeriesValue::Height;
};
