// The dialog that marks a measurement as the repeat of another (a test–retest pair).

#pragma once

#include "ui/history/HistoryController.h"

#include <QDialog>

#include <optional>

class QComboBox;

// "Wiederholung von:" offers "keiner Messung" and the athlete's other measurements of the
// same test; the one the measurement repeats now is chosen at first.
class RepeatDialog : public QDialog {
    Q_OBJECT
public:
    RepeatDialog(const QList<HistoryController::RepeatChoice>& choices, qint64 current,
                 const QString& measurementText, QWidget* parent = nullptr);

    // The number of the measurement chosen, 0 for none.
    qint64 chosenNumber() const;

    // Asks; none when the user cancels.
    static std::optional<qint64> ask(QWidget* parent,
                                     const QList<HistoryController::RepeatChoice>& choices,
                                     qint64 current, const QString& measurementText);

private:
    QComboBox* firstChoice_ = nullptr;
};
