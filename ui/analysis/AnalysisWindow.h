#pragma once

#include "core/analysis/JumpAnalysis.h"
#include "core/analysis/Progress.h"
#include "core/analysis/Protocols.h"
#include "core/store/MeasurementRepository.h"

#include <QHash>
#include <QWidget>

class AthleteController;
class DataStore;
class HistoryController;
class MessageService;
class QChart;
class QChartView;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

// The window "Auswertung" beside the main window: the statistics of the measurement selected
// in the history list as a table, the chart of its jumps and the chart of the selected
// athlete's progress in one test and drop height (chosen above the chart), with the band of
// the typical error. "Vergleichen mit:" puts another measurement of the athlete, or another
// athlete's newest of the same test (or one chosen from his list), beside it: the statistics in two
// columns with their difference and both series in one chart. A measurement run as 10/5 shows that
// result with its rule; a trial of a drop-height profile shows the whole profile (its chart in
// place of the measurement's, the optimal heights and a line per height). It follows the selection
// while it is open. Ctrl+C and "Kopieren" put the table on the clipboard; "Als Bild speichern …"
// writes both charts as one PNG. Closing it only hides it.
class AnalysisWindow : public QWidget {
    Q_OBJECT
public:
    AnalysisWindow(HistoryController& history, AthleteController& athletes, DataStore& store,
                   MessageService& messages, QWidget* parent);

    // Reads the selected athlete and measurement anew.
    void refresh();
    // The statistics of the selected measurement (and of the one compared) to the clipboard;
    // nothing without one.
    void copyStatistics();
    void saveChartsAsImage();

    const analysis::JumpStatistics& statistics() const { return statistics_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The measurement put beside the selected one.
    struct Compared {
        QString name;
        QList<analysis::StoredJump> jumps;
        analysis::JumpStatistics statistics;
    };

    // Refreshes once the main window has finished the change it is making.
    void refreshSoon();
    void guarded(const std::function<void()>& handler);
    // The choices of the two choosers, keeping what was chosen where it is still there.
    void fillLineChooser(std::optional<qint64> selectedMeasurementNumber);
    void fillCompareChooser(qint64 athleteId, const QList<Measurement>& rows);
    // The measurement chosen to compare with, read from the store; none when comparing is off.
    std::optional<Compared> readCompared(const QList<Measurement>& rows);
    void showStatistics();
    // New charts of the selected measurement (or the comparison) and of the progress.
    QChart* measurementChart() const;
    QChart* progressChart() const;
    void showProgress();
    // The result of the protocol the selected measurement was run under, if any.
    void showProtocol(const QList<Measurement>& rows);

    HistoryController& history_;
    AthleteController& athletes_;
    DataStore& store_;
    MessageService& messages_;

    QLabel* heading_ = nullptr;
    QTableWidget* statisticsTable_ = nullptr;
    QCheckBox* compareBox_ = nullptr;
    QComboBox* compareChooser_ = nullptr;
    QComboBox* otherMeasurementChooser_ = nullptr;
    qint64 otherAthleteListed_ = 0; // whose measurements otherMeasurementChooser_ lists
    QComboBox* lineChooser_ = nullptr;
    QChartView* measurementView_ = nullptr;
    QChartView* progressView_ = nullptr;
    QLabel* noiseLabel_ = nullptr;
    QLabel* protocolLabel_ = nullptr;
    QTableWidget* profileTable_ = nullptr;
    QPushButton* copyButton_ = nullptr;
    QPushButton* saveImageButton_ = nullptr;

    analysis::JumpStatistics statistics_;
    QList<analysis::StoredJump> jumps_;
    QList<analysis::MeasurementJumps> measurements_;
    QList<progress::Line> lines_;
    std::optional<Measurement> measurement_;
    std::optional<Compared> compared_;
    std::optional<protocols::Profile> profile_; // of the selected trial
    qint64 shownAthlete_ = -1;
    // The smallest worthwhile change of the progress line shown; none without one.
    std::optional<realchange::Worthwhile> lineWorthwhile_;
    QHash<qint64, qint64> lineRepeats_; // the marked test–retest pairs of the shown athlete
    std::optional<qint64> shownMeasurementNumber_;
    bool refreshPending_ = false;
    bool filling_ = false; // the choosers are being filled: their signals mean nothing
};
