#pragma once

#include "core/measure/MeasurementSession.h"
#include "core/store/MeasurementRepository.h"

#include <QGroupBox>

class LiveChart;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QToolButton;

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
    void setStartEnabled(bool enabled);
    void setStartToolTip(const QString& text);
    // The line below the values: who jumps and how many jumps are stored, or a note.
    void showStatus(const QString& text, bool warning = false);
    // The values in big type (during a run) or in the normal one.
    void setEnlarged(bool enlarged);
    // The factor by which the values are enlarged now; 1 when they are not.
    double enlargement() const { return factor_; }

    // The test offered for the next run ("Test" and "Fallhöhe (cm)") as the user set it.
    QString testName() const;
    QString dropHeightText() const;
    // Offers the test (an athlete's last one); an empty one offers Drop Jump without a height.
    void showTest(const MeasurementTest& test);
    // How the next series ends by itself (a 10/5 after its ten jumps).
    AutoEnd autoEnd() const;
    void setAutoEnd(const AutoEnd& autoEnd);
    // While a run goes on, its test and end cannot be changed.
    void setRunChoicesEnabled(bool enabled);
    // The end of a series is chosen only in the series mode; a single measurement ends after
    // its jump.
    void setSeriesMode(bool series);
    // The chart of the series beside the values; hidden until a series starts.
    LiveChart& liveChart() { return *liveChart_; }
    void showLiveChart(bool shown);

    // The protocol of the next run ("Protokoll"): none, "10/5" (a series of Sprungserie that
    // ends after ten jumps) or "Fallhöhen-Profil" (Drop Jumps from the heights in "Fallhöhen
    // (cm)", "Versuche je Höhe" at each).
    Protocol protocol() const;
    void setProtocol(Protocol protocol);
    // Whether "Protokoll" offers the protocols (the store keeps them), or "keines" alone.
    void offerProtocols(bool offered);
    QString profileHeightsText() const;
    int trialsPerHeight() const;
    // While a profile goes on, its choices are locked and "Profil beenden" is offered.
    void setProfileActive(bool active);
    bool profileActive() const { return profileActive_; }
    // The guide of a profile: the next height and trial in large type, what the last height
    // gave and the advice to end (each empty when there is none).
    void showProfileGuide(const QString& position, const QString& lastHeight,
                          const QString& advice);
    // The result of a protocol's run (the 10/5 line), or why there is none (`warning`).
    void showProtocolResult(const QString& text, bool warning = false);
    void clearProtocolTexts();

signals:
    void startClicked();
    void endProfileClicked();

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
    void updateTestFields();
    void updateEndFields();
    void updateProtocolFields();
    void updateProtocolBox();
    // The end of a series as its fields show it.
    AutoEnd autoEndOfFields() const;
    // The first trial of the profile as the fields describe it, before it starts.
    void showProfilePreview();

    QComboBox* testChoice_ = nullptr;
    QLineEdit* dropHeightField_ = nullptr;
    QComboBox* endChoice_ = nullptr;
    QSpinBox* endLimit_ = nullptr;
    QLabel* dropHeightLabel_ = nullptr;
    QLabel* endLabel_ = nullptr;
    QComboBox* protocolChoice_ = nullptr;
    QLabel* heightsLabel_ = nullptr;
    QLineEdit* heightsField_ = nullptr;
    QLabel* trialsLabel_ = nullptr;
    QSpinBox* trialsField_ = nullptr;
    QWidget* protocolBox_ = nullptr;
    QLabel* positionLabel_ = nullptr;
    QLabel* lastHeightLabel_ = nullptr;
    QLabel* adviceLabel_ = nullptr;
    QLabel* protocolResultLabel_ = nullptr;
    QPushButton* endProfileButton_ = nullptr;
    bool profileActive_ = false;
    // The protocol whose fields are shown, and the series end the user chose, kept while a
    // 10/5 shows its own.
    Protocol shownProtocol_ = Protocol::None;
    AutoEnd chosenEnd_;
    QToolButton* startButton_ = nullptr;
    LiveChart* liveChart_ = nullptr;
    QHBoxLayout* row_ = nullptr;
    bool choicesEnabled_ = true;
    bool seriesMode_ = true;
    QLabel* statusLabel_ = nullptr;
    QFont fieldFont_;
    int fieldWidth_ = 0;
    int idleWindowHeight_ = 0;
    bool enlarged_ = false;
    double factor_ = 1;
};
