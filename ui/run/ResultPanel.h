#pragma once

#include "core/measure/MeasurementSession.h"

#include <QGroupBox>

class LiveChart;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QToolButton;
class QVBoxLayout;

// The panel "Messergebnisse": contact time, flight time, height and efficiency of the latest
// jump, the start button, and a line that names the athlete of a run, counts its jumps and
// says when a jump was not stored. While a run goes on, the four values grow with the window
// so that they can be read from across the room.
class ResultPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit ResultPanel(QWidget* parent = nullptr);

    void showField(ResultField field, const QString& text);
    // The start button as it looks between runs ("Messung starten", green) or during one
    // ("Messung abbrechen", red).
    void showRunning(bool running);
    QString startCaption() const;
    // The start button's hint: what a click or F5 does now, with the key.
    QString startToolTip() const;
    void setStartEnabled(bool enabled);
    void setStartToolTip(const QString& text);
    // The line below the values: who jumps and how many jumps are stored, or a note.
    void showStatus(const QString& text, bool warning = false);
    // The values in big type (during a run) or in the normal one.
    void setEnlarged(bool enlarged);
    // The factor by which the values are enlarged now; 1 when they are not.
    double enlargement() const { return factor_; }
    // The chart of the series beside the values; hidden until a series starts.
    LiveChart& liveChart() { return *liveChart_; }
    void showLiveChart(bool shown);

    // Places a widget below the values and the start button, inside the panel's frame: the
    // set-up of the next run.
    void addBelowValues(QWidget* widget);

signals:
    void startClicked();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QLineEdit* field(ResultField field) const;
    double fittingFactor() const;
    void applyFactor(double factor);

    QLineEdit* contactTimeField_ = nullptr;
    QLineEdit* flightTimeField_ = nullptr;
    QLineEdit* heightField_ = nullptr;
    QLineEdit* efficiencyField_ = nullptr;
    QToolButton* startButton_ = nullptr;
    LiveChart* liveChart_ = nullptr;
    QHBoxLayout* row_ = nullptr;
    QVBoxLayout* column_ = nullptr;
    QLabel* statusLabel_ = nullptr;
    QFont fieldFont_;
    int fieldWidth_ = 0;
    int idleWindowHeight_ = 0;
    bool enlarged_ = false;
    double factor_ = 1;
};
