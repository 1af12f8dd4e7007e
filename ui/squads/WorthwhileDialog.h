// The dialog that sets the smallest worthwhile change of a test's best RSI.

#pragma once

#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;

// "Kleinste bedeutsame Änderung (m/s):" for the test named above it; an empty field leaves it
// to the group's spread (0.2 × its standard deviation).
class WorthwhileDialog : public QDialog {
    Q_OBJECT
public:
    WorthwhileDialog(const QString& testText, std::optional<double> current,
                     QWidget* parent = nullptr);

    // The value as entered; none for an empty field. Throws AppError for anything else than
    // a positive number up to 10.
    std::optional<double> enteredValue() const;

    // Asks; none when the user cancels, else the value set (none: the group's spread). An
    // entry that does not pass the check is said in the dialog, which stays open.
    static std::optional<std::optional<double>> ask(QWidget* parent, const QString& testText,
                                                    std::optional<double> current);

private:
    QLineEdit* valueField_ = nullptr;
    QLabel* problemLabel_ = nullptr;
};
