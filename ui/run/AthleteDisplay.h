#pragma once

#include "core/analysis/AthleteBoard.h"
#include "ui/run/JumpSound.h"

#include <QWidget>

#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QTimer;

// The bars of a series on the display for the athlete, a bar a place, the best one in its own
// colour; a place without a valid jump stays empty. The bars are painted from the places the
// board holds: a new jump is one more bar, nothing is built again.
class SeriesBars : public QWidget {
    Q_OBJECT
public:
    explicit SeriesBars(const AthleteBoard& board, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const AthleteBoard& board_;
};

// The display for the athlete: a window of its own for a second screen or a projector, shown
// full-screen where a second screen exists. It shows the athlete's name, the last jump's
// height or RSI (as chosen in the window) in type as large as the window allows, the best of
// the series, a bar per jump, and for a series that ends after a number of seconds the time
// left from the first contact. A short sound marks each stored jump and the end of a series,
// unless switched off.
class AthleteDisplay : public QWidget {
    Q_OBJECT
public:
    explicit AthleteDisplay(QWidget* parent = nullptr);

    // Where the time left comes from while a timed series runs (none: no contact yet).
    void setTimeSource(std::function<std::optional<qint32>()> millisecondsLeft) {
        millisecondsLeft_ = std::move(millisecondsLeft);
    }
    // A run of the athlete named begins; `timedSeconds` for a series with a time.
    void runBegan(const QString& athleteName, std::optional<int> timedSeconds);
    // A result of the run: a stored jump (with its sound, unless `quietly`), or none for one
    // the limits kept from the store.
    void addPlace(const analysis::RunningSeries::Place& place, bool quietly = false);
    // The run is over (with the sound of a series' end).
    void runEnded(bool series);
    // The main window shows no run any more (another athlete is chosen).
    void clearRun();

    void setValue(analysis::SeriesValue value);
    void setSoundOn(bool on);
    bool soundOn() const { return sound_.isOn(); }
    const AthleteBoard& board() const { return board_; }

    // Shows the window: full-screen on a second screen when there is one, else as a window
    // beside the main window.
    void present();

    // What the window shows now, as a screen reader reads it.
    QString nameText() const;
    QString valueText() const;
    QString bestText() const;
    QString countdownText() const;

signals:
    void valueChosen(analysis::SeriesValue value);
    void soundChosen(bool on);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showBoard();
    void showCountdown();
    // The last value in type as large as its room allows.
    void fitValue();

    AthleteBoard board_;
    JumpSound sound_;
    std::function<std::optional<qint32>()> millisecondsLeft_;
    QLabel* nameLabel_ = nullptr;
    QLabel* valueLabel_ = nullptr;
    QLabel* unitLabel_ = nullptr;
    QLabel* bestLabel_ = nullptr;
    QLabel* countdownLabel_ = nullptr;
    SeriesBars* bars_ = nullptr;
    QComboBox* valueChoice_ = nullptr;
    QCheckBox* soundChoice_ = nullptr;
    QTimer* clock_ = nullptr;
};
