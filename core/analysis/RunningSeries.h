#pragma once

#include "core/analysis/JumpAnalysis.h"

#include <QList>

#include <array>
#include <optional>

namespace analysis {

// What a running series shows of each jump: its height (cm) or its reactive strength index
// (m/s).
enum class SeriesValue { Height, Rsi };

// The lowest and the highest of some values.
struct ValueRange {
    double low = 0;
    double high = 0;
};

// The places of a series as its results come, one a result: a recorded jump, or none for one
// the limits kept from the store. The best valid jump of each value and the ranges of the
// values are kept as the places come, so that a place costs the same however long the series
// has grown; only a change of exclusions reads every place again.
class RunningSeries {
public:
    using Place = std::optional<StoredJump>;

    void clear();
    // Adds a place and returns its index.
    int add(const Place& place);
    // The jumps with these numbers are excluded now, the others not.
    void setExcluded(const QList<int>& jumpIndexes);

    const QList<Place>& places() const { return places_; }
    int size() const { return static_cast<int>(places_.size()); }
    // The value a place shows; none for an empty place or one that is no valid jump (the
    // closing contact, an excluded jump).
    static std::optional<double> valueOf(const Place& place, SeriesValue value);
    // The place of the best valid jump by the value (the first of equals); none without one.
    std::optional<int> bestPlace(SeriesValue value) const { return best_[index(value)]; }
    std::optional<double> best(SeriesValue value) const;
    // The range of the values of the valid jumps, and of their contact times (ms).
    std::optional<ValueRange> range(SeriesValue value) const { return ranges_[index(value)]; }
    std::optional<ValueRange> contactRange() const { return contacts_; }

private:
    static int index(SeriesValue value) { return value == SeriesValue::Height ? 0 : 1; }
    void take(int placeIndex);

    QList<Place> places_;
    std::array<std::optional<int>, 2> best_;
    std::array<std::optional<ValueRange>, 2> ranges_;
    std::optional<ValueRange> contacts_;
};

} // namespace analysis
