#pragma once

#include "core/measure/MeasurementSession.h"
#include "core/store/MeasurementRepository.h"
#include "core/store/TestDayRepository.h"

#include <QSize>
#include <QWidget>

class QComboBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

// The set-up of the next run, below the results: "Test" and "Fallhöhe (cm)", "Protokoll"
// with a profile's "Fallhöhen (cm)" and "Versuche je Höhe", and "Serienende". Above them, what
// a protocol tells during and after its run: a profile's next height and trial in large type,
// what its last height gave and the advice to end it ("Profil beenden"), or the 10/5 result.
class RunSetupPanel : public QWidget {
    Q_OBJECT
public:
    explicit RunSetupPanel(QWidget* parent = nullptr);

    // The test offered for the next run ("Test" and "Fallhöhe (cm)") as the user set it.
    QString testName() const;
    QString dropHeightText() const;
    // How the next series ends by itself (a 10/5 after its ten jumps).
    AutoEnd autoEnd() const;
    void setAutoEnd(const AutoEnd& autoEnd);
    // While a run goes on, its test and end cannot be changed.
    void setRunChoicesEnabled(bool enabled);
    // The end of a series is chosen only in the series mode; a single measurement ends after
    // its jump.
    void setSeriesMode(bool series);
    // The room the set-up takes under the protocol that needs the most: the window keeps it
    // whichever is chosen, so that a change of protocol never makes it grow.
    QSize largestRoom() const { return largestRoom_; }

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

    // While a test day goes on, its name and set-up stand above the choices, which show the
    // day's and cannot be changed; clearTestDay() gives them back as they were.
    void showTestDay(const TestDay& day, const QString& settingsText);
    void clearTestDay();
    bool testDayShown() const { return dayShown_; }

signals:
    void endProfileClicked();

private:
    QSize largestRoom_;
    // The row of the choices: test, protocol, drop height or a profile's heights, series end or
    // a profile's trials.
    QHBoxLayout* buildChoices();
    // The box with what a protocol tells, which takes no room while it has nothing to say.
    QWidget* buildProtocolBox();
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
    QString chosenDropHeight_;
    bool choicesEnabled_ = true;
    // Whether the choices may be changed: not during a run, nor during a test day.
    bool editable() const { return choicesEnabled_ && !dayShown_; }
    QLabel* dayLabel_ = nullptr;
    bool dayShown_ = false;
    // The choices as the user left them when the day began.
    struct Choices {
        QString test;
        QString dropHeight;
        Protocol protocol = Protocol::None;
        QString heights;
        int trials = 0;
        AutoEnd end;
    };
    Choices beforeDay_;
    bool seriesMode_ = true;
};
