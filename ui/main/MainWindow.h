#pragma once

#include "core/base/Settings.h"
#include "ui/common/AppContext.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>

class AnalysisWindow;
class AthleteController;
class AthleteDisplay;
class AthleteEditorDialog;
class AthletePanel;
class AthleteSearchDialog;
class GroupDialog;
class HistoryController;
class HistoryPanel;
class AssignmentsDialog;
class JournalStatus;
class LimitsDialog;
class QAction;
class QGroupBox;
class QMenu;
class QSplitter;
class RankingWindow;
class ResultPanel;
class RunController;
class RunSetupPanel;
class ServicePanel;
class Station;

// The main window: menus, tool bar and three panels, the results on top ("Messergebnisse"),
// the athletes below them and the measurement history at the bottom ("Daten"). It shows
// what the station does and passes on what the user wants, through its controllers:
// RunController (the measurement run), AthleteController (the athletes) and
// HistoryController (the history and the jumps of a series).
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(AppContext& context, Station& station, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The other windows, created after this one and owned by it (see createWindows()).
    void setDialogs(AthleteEditorDialog* editor, LimitsDialog* limits, AthleteSearchDialog* search,
                    ServicePanel* servicePanel);

    // Starts a run for the selected athlete, or stops the running one (the start button, F5
    // and Enter).
    void toggleRun();
    // A key pressed anywhere in the window, before the focused control gets it.
    void handleKey(int key);

protected:
    void setVisible(bool visible) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void selectSingleMode();
    void selectMultipleMode();
    void editLimits();
    // "Export" and "Alle Exportieren": the export file.
    void exportSelectedAthlete();
    void exportListedAthletes();
    // "Tabelle (CSV, UTF-8) …" and "Arbeitsmappe (Excel) …": the export for analysis tools.
    void exportTable();
    void exportWorkbook();
    // The PDF report of the selected athlete.
    void saveReport();
    void takeOverOldData();
    // "Daten einer anderen Station übernehmen …" and "Offene Zuordnungen …".
    void takeOverStationFile();
    void showAssignments();
    void showServicePanel();
    // Opens the analysis window (created at its first opening) or brings it to the front.
    void showAnalysis();
    // "Anzeige für Sportler" (F11): opens the display for the athlete (created at its first
    // opening, showing the run the window shows), or closes it.
    void toggleAthleteDisplay();
    // "Gruppen …": the dialog in which groups are created, renamed and deleted.
    void editGroups();
    // "Rangliste …": opens the ranking of the group chosen above the athlete grid (created at
    // its first opening) or brings it to the front.
    void showRanking();
    void showVersion();
    // The corrections of the chosen measurement afterwards, and the changes of the athlete's.
    void moveMeasurement();
    void editMeasurementTest();
    void showChanges();
    // Says that nothing of the history changes while a run goes on; true while one does.
    bool refuseDuringRun();
    // Asks what Delete asks, naming the chosen measurement, and deletes it.
    void deleteChosenMeasurement();

    void buildActions();
    void buildMenus();
    void buildToolBar();
    void buildPanels();
    QAction* makeAction(const QString& name, const QString& caption, const QString& hint,
                        const QKeySequence& shortcut);
    void connectAction(QAction* action, void (MainWindow::*handler)());
    void connectAction(QAction* action, const std::function<void()>& handler);
    void guarded(const std::function<void()>& handler);
    void openTables();
    void reportDuplicateNumbers();
    void prepareFirstShow();
    // The size the window first shows with when no geometry is stored.
    QSize firstSize();
    void keepOneSmallestSize();
    void saveSettings();
    void setModeChecks(bool single, bool multiple);
    void lockChanges(bool locked);
    void athleteSelectionChanged();
    void exportForAnalysis(bool workbook);
    // The test day: set up in its dialog and begun, entered (at start: taken up again), its
    // start list shown in the athlete grid with the next athlete selected, and ended.
    void setUpTestDay();
    void enterTestDay(qint64 dayId);
    void showStartList();
    void endTestDay();
    void offerOpenTestDay();

    AppContext& context_;
    Station& station_;
    StoredSettings settings_;

    QAction* exitAction_ = nullptr;
    QAction* exportOneAction_ = nullptr;
    QAction* exportAllAction_ = nullptr;
    QAction* exportTableAction_ = nullptr;
    QAction* exportWorkbookAction_ = nullptr;
    QAction* singleModeAction_ = nullptr;
    QAction* multipleModeAction_ = nullptr;
    QAction* limitsAction_ = nullptr;
    QAction* showAllAction_ = nullptr;
    QAction* refreshAction_ = nullptr;
    QAction* searchAction_ = nullptr;
    QAction* newAthleteAction_ = nullptr;
    QAction* changeAthleteAction_ = nullptr;
    QAction* deleteAthleteAction_ = nullptr;
    QAction* debugAction_ = nullptr;
    QAction* infoAction_ = nullptr;
    QAction* analysisAction_ = nullptr;
    QAction* reportAction_ = nullptr;
    QAction* takeOverAction_ = nullptr;
    QAction* stationTakeOverAction_ = nullptr;
    QAction* assignmentsAction_ = nullptr;
    AssignmentsDialog* assignments_ = nullptr;
    QAction* startAction_ = nullptr;
    QAction* nextAthleteAction_ = nullptr;
    QAction* groupsAction_ = nullptr;
    QAction* rankingAction_ = nullptr;
    QAction* moveMeasurementAction_ = nullptr;
    QAction* editTestAction_ = nullptr;
    QAction* changesAction_ = nullptr;
    QAction* deleteMeasurementAction_ = nullptr;
    QAction* displayAction_ = nullptr;
    QAction* previousAthleteAction_ = nullptr;
    QAction* testDayAction_ = nullptr;
    QAction* endTestDayAction_ = nullptr;

    ResultPanel* resultPanel_ = nullptr;
    JournalStatus* journalStatus_ = nullptr;
    RunSetupPanel* runSetupPanel_ = nullptr;
    QGroupBox* dataGroup_ = nullptr;
    QSplitter* dataSplitter_ = nullptr;
    AthletePanel* athletePanel_ = nullptr;
    HistoryPanel* historyPanel_ = nullptr;

    std::unique_ptr<HistoryController> history_;
    std::unique_ptr<AthleteController> athletes_;
    std::unique_ptr<RunController> run_;
    AthleteEditorDialog* athleteEditor_ = nullptr;
    LimitsDialog* limitsDialog_ = nullptr;
    AthleteSearchDialog* athleteSearch_ = nullptr;
    ServicePanel* servicePanel_ = nullptr;
    AnalysisWindow* analysisWindow_ = nullptr;
    GroupDialog* groupDialog_ = nullptr;
    RankingWindow* rankingWindow_ = nullptr;
    AthleteDisplay* athleteDisplay_ = nullptr;
    const QEvent* lastKey_ = nullptr;
    QPointer<QWidget> lastKeyTarget_;
    bool shown_ = false;
    bool settingsSaved_ = false;
};
