#pragma once

#include "core/analysis/JumpAnalysis.h"
#include "core/store/MeasurementRepository.h"

#include <QWidget>

class AthleteController;
class DataStore;
class HistoryController;
class MessageService;
class QChart;
class QChartView;
class QLabel;
class QPushButton;
class QTableWidget;

// The window "Auswertung" beside the main window: the statistics of the measurement selected
// in the history list as a table, the chart of its jumps and the chart of the selected
// athlete's progress. It follows the selection while it is open. Ctrl+C and "Kopieren" put
// the statistics on the clipboard; "Als Bild speichern …" writes both charts as one PNG.
// Closing it only hides it.
class AnalysisWindow : public QWidget {
    Q_OBJECT
public:
    AnalysisWindow(HistoryController& history, AthleteController& athletes, DataStore& store,
                   MessageService& ui, QWidget* parent);

    // Reads the selected athlete and measurement anew.
    void refresh();
    // The statistics of the selected measurement to the clipboard; nothing without one.
    void copyStatistics();
    void saveChartsAsImage();

    const analysis::JumpStatistics& statistics() const { return statistics_; }

    QLabel* headingLabel = nullptr;
    QTableWidget* statisticsTable = nullptr;
    QChartView* measurementView = nullptr;
    QChartView* progressView = nullptr;
    QPushButton* copyButton = nullptr;
    QPushButton* saveImageButton = nullptr;
    QPushButton* closeButton = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Refreshes once the main window has finished the change it is making.
    void refreshSoon();
    void guarded(const std::function<void()>& handler);
    // A new chart of the selected measurement's jumps.
    QChart* measurementChart() const;

    HistoryController& history_;
    AthleteController& athletes_;
    DataStore& store_;
    MessageService& ui_;
    analysis::JumpStatistics statistics_;
    QList<analysis::StoredJump> jumps_;
    QList<analysis::ProgressPoint> progress_;
    std::optional<Measurement> measurement_;
    bool refreshPending_ = false;
};
