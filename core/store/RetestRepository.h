// The test–retest pairs a user marks and the smallest worthwhile change a user sets for a
// test (tables units_wiederholung and test_aenderung), and every statement on them.

#pragma once

#include "core/measure/MeasurementTest.h"

#include <QHash>

#include <optional>

class Database;

// The tables exist from the feature RetestPairs on; on a database without them available() is
// false, every reading is empty and every change throws AppError with what the database lacks.
class RetestRepository {
public:
    explicit RetestRepository(Database& db) : db_(db) {}

    bool available() const;

    // The athlete's marked pairs by his measurements' numbers: the number of a repeat to the
    // number of the measurement it repeats. A pair of which one measurement is no longer the
    // athlete's (deleted, or given to another athlete) is left out.
    QHash<qint64, qint64> pairsOf(qint64 athleteId);
    // Marks the athlete's measurement `repeatNumber` as the repeat of `firstNumber`, in place
    // of any pair it was the repeat of; `firstNumber` 0 takes the mark away. Throws AppError
    // when either measurement is not stored (any more), when the two are one, or when a
    // measurement would repeat one that repeats it.
    void markRepeat(qint64 athleteId, qint64 repeatNumber, qint64 firstNumber);

    // The smallest worthwhile change set for the test at its drop height; none when none is set.
    std::optional<double> worthwhileChange(const MeasurementTest& test);
    // Sets it (a positive value) or, with none, takes it away; throws AppError for a value that
    // is not positive or for a measurement without a test.
    void setWorthwhileChange(const MeasurementTest& test, std::optional<double> value);

private:
    void require() const;
    Database& db_;
};
