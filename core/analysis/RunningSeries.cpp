// The places of a running series, with its best jumps and the ranges of its values.

#include "core/analysis/RunningSeries.h"

#include <algorithm>

namespace analysis {
namespace {

void widen(std::optional<ValueRange>& range, double value) {
    if (!range)
        range = ValueRange{value, value};
    else
        range = ValueRange{std::min(range->low, value), std::max(range->high, value)};
}

} // namespace

void RunningSeries::clear() {
    places_.clear();
    best_ = {};
    ranges_ = {};
    contacts_.reset();
}

int RunningSeries::add(const Place& place) {
    places_.append(place);
    take(size() - 1);
    return size() - 1;
}

void RunningSeries::setExcluded(const QList<int>& jumpIndexes) {
    best_ = {};
    ranges_ = {};
    contacts_.reset();
    for (int i = 0; i < size(); ++i) {
        if (places_[i])
            places_[i]->excluded = jumpIndexes.contains(places_[i]->jumpIndex);
        take(i);
    }
}

std::optional<double> RunningSeries::valueOf(const Place& place, SeriesValue value) {
    if (!place || !isValidJump(*place))
        return std::nullopt;
    return value == SeriesValue::Height ? jumpHeightCm(*place) : jumpRsi(*place);
}

std::optional<double> RunningSeries::best(SeriesValue value) const {
    const auto place = bestPlace(value);
    return place ? valueOf(places_[*place], value) : std::nullopt;
}

void RunningSeries::take(int placeIndex) {
    const Place& place = places_[placeIndex];
    for (const SeriesValue value : {SeriesValue::Height, SeriesValue::Rsi}) {
        const std::optional<double> v = valueOf(place, value);
        if (!v)
            continue;
        std::optional<int>& best = best_[index(value)];
        if (!best || *v > *valueOf(places_[*best], value))
            best = placeIndex;
        widen(ranges_[index(value)], *v);
    }
    if (valueOf(place, SeriesValue::Height))
        widen(contacts_, place->contactMs);
}

} // namespace analysis
