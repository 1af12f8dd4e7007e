#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The test a measurement belongs to: its name (one of the program's or the user's own) and,
// for the tests that start from a box, the height the athlete dropped from. Measurements
// stored before the program knew tests have neither.
struct MeasurementTest {
    QString name;                    // empty: no test
    std::optional<int> dropHeightCm; // empty where it does not apply or was not given

    bool isEmpty() const { return name.isEmpty() && !dropHeightCm; }
    bool operator==(const MeasurementTest&) const = default;
};

namespace measurementtest {

inline constexpr int kMaxNameLength = 40;
inline constexpr int kMaxDropHeightCm = 150;

// The tests the program offers, as they are stored, in the order offered: "Drop Jump",
// "Sprungserie", "Countermovement Jump", "Squat Jump".
QStringList offeredNames();
// The name as the user reads it (the program's tests in the user's language).
QString shownName(const QString& name);
// The order of tests in a list by their stored names: by the name as shown, those without a
// test last. Negative, zero or positive as QString::localeAwareCompare.
int compareShown(const QString& a, const QString& b);
// The test in the files for analysis tools, alike in every language: "drop_jump",
// "jump_series", "countermovement_jump" and "squat_jump" for the program's tests, a test of the
// user's own by its text; empty without a test.
QString exportKey(const QString& name);
// Whether a drop height belongs to the test: Drop Jump and Sprungserie.
bool takesDropHeight(const QString& name);

// The drop height typed into its field: empty for an empty text; AppError "Die Fallhöhe muss
// eine ganze Zahl von 0 bis 150 cm sein." for any other text that is not such a number.
std::optional<int> parseDropHeight(const QString& text);
// The drop height as every place shows it: the whole number, or empty.
QString dropHeightText(std::optional<int> dropHeightCm);

// The test in one line, for headings: "Drop Jump, Fallhöhe 30 cm", "Squat Jump"; empty
// without a test.
QString description(const MeasurementTest& test);

// The test as the user chose it, ready to store: the name without surrounding blanks, the
// drop height only for a test that takes one. Throws AppError when the name is longer than
// 40 characters or the drop height text is no whole number from 0 to 150.
MeasurementTest chosen(const QString& name, const QString& dropHeightText);

} // namespace measurementtest
