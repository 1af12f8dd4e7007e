#pragma once

#include "core/base/Settings.h"
#include "core/link/DeviceLink.h"
#include "core/link/TimingLink.h"
#include "core/measure/Limits.h"
#include "core/measure/MeasurementSession.h"
#include "core/store/DataStore.h"
#include "ui/AppContext.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>

class AnalysisWindow;
class Anchors;
class AthleteController;
class AthleteEditorDialog;
class AthleteSearchDialog;
class AthleteTableModel;
class HistoryController;
class JumpTableModel;
class LimitsDialog;
class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QTableView;
class QToolBar;
class QToolButton;
class QTreeWidget;
class RunController;
class ServicePanel;

// The main window: menus, tool bar, the result panel with the four result fields and the
// start button, and the data panel with the athlete grid, the measurement history and the
// jump grid. It builds the widgets and the core objects and hands the work to its
// controllers: RunController (the measurement run), AthleteController (the athletes) and
// HistoryController (history list and jump grid).
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(AppContext& context, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The other windows, created after this one and owned by it (see createWindows()).
    void setDialogs(AthleteEditorDialog* editor, LimitsDialog* limits, AthleteSearchDialog* search,
                    ServicePanel* servicePanel);
    AthleteEditorDialog* athleteEditor() const { return athleteEditor_; }
    LimitsDialog* limitsDialog() const { return limitsDialog_; }
    AthleteSearchDialog* athleteSearch() const { return athleteSearch_; }
    ServicePanel* servicePanel() const { return servicePanel_; }

    AppContext& context() { return context_; }
    DataStore& store() { return store_; }
    DeviceLink& deviceLink() { return deviceLink_; }
    TimingLink& timingLink() { return timingLink_; }
    plausibility::Limits& limits() { return limits_; }
    MeasurementSession& session();
    AthleteController& athletes() { return *athletes_; }
    HistoryController& history() { return *history_; }
    RunController& run() { return *run_; }

    MeasurementMode mode() const;
    void selectSingleMode();
    void selectMultipleMode();
    // Starts a run for the selected athlete, or stops the running one.
    void toggleRun();
    // Write check before every action that writes: shows its message and returns false when
    // the tables cannot be written.
    bool checkWritable();
    void editLimits();
    void exportSelectedAthlete();
    void exportListedAthletes();
    // The PDF report of the selected athlete.
    void saveReport();
    void showServicePanel();
    // Opens the analysis window (created at its first opening) or brings it to the front.
    void showAnalysis();
    AnalysisWindow* analysisWindow() const { return analysisWindow_; }
    void showVersion();
    // A key pressed anywhere in the window, before the focused control gets it.
    void handleKey(int key);

    QAction* action(const QString& objectName) const;
    // The size the window first shows with when no geometry is stored: wide enough for the
    // data panel, high enough for the size marker, and never below the minimum size.
    QSize designedSize() const;

    // Menus and tool bar.
    QMenu* fileMenu = nullptr;
    QMenu* exportMenu = nullptr;
    QMenu* modeMenu = nullptr;
    QMenu* optionsMenu = nullptr;
    QMenu* dataMenu = nullptr;
    QToolBar* toolBar = nullptr;

    QAction* exitAction = nullptr;
    QAction* exportOneAction = nullptr;
    QAction* exportAllAction = nullptr;
    QAction* singleModeAction = nullptr;
    QAction* multipleModeAction = nullptr;
    QAction* limitsAction = nullptr;
    QAction* showAllAction = nullptr;
    QAction* refreshAction = nullptr;
    QAction* searchAction = nullptr;
    QAction* newAthleteAction = nullptr;
    QAction* changeAthleteAction = nullptr;
    QAction* deleteAthleteAction = nullptr;
    QAction* debugAction = nullptr;
    QAction* infoAction = nullptr;
    QAction* analysisAction = nullptr;
    QAction* reportAction = nullptr;
    QAction* startAction = nullptr;

    // The result panel "Messergebnisse".
    QWidget* centralPanel = nullptr;
    QGroupBox* resultGroup = nullptr;
    QLabel* contactTimeLabel = nullptr;
    QLabel* flightTimeLabel = nullptr;
    QLabel* heightLabel = nullptr;
    QLabel* efficiencyLabel = nullptr;
    QLabel* contactUnitLabel = nullptr;
    QLabel* flightUnitLabel = nullptr;
    QLineEdit* contactTimeField = nullptr;
    QLineEdit* flightTimeField = nullptr;
    QLineEdit* efficiencyField = nullptr;
    QLineEdit* heightField = nullptr;
    QToolButton* startButton = nullptr;

    // The data panel "Daten".
    QGroupBox* dataGroup = nullptr;
    QTableView* athleteGrid = nullptr;
    QTreeWidget* historyList = nullptr;
    QTableView* jumpGrid = nullptr;
    AthleteTableModel* athleteModel = nullptr;
    JumpTableModel* jumpModel = nullptr;
    // An invisible marker whose top edge sizes the window at its first show.
    QWidget* sizeMarker = nullptr;

protected:
    void setVisible(bool visible) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildActions();
    void buildMenus();
    void buildToolBar();
    void buildPanels();
    QAction* makeAction(const QString& name, const QString& caption, const QString& hint,
                        const QKeySequence& shortcut, int icon);
    void connectAction(QAction* action, void (MainWindow::*handler)());
    void guarded(const std::function<void()>& handler);
    void openTables();
    void reportDuplicateNumbers();
    void prepareFirstShow();
    void relayoutAfterResize();
    void saveSettings();
    void setModeChecks(bool single, bool multiple);

    AppContext& context_;
    DeviceLink deviceLink_;
    TimingLink timingLink_;
    DataStore store_;
    plausibility::Limits limits_;
    StoredSettings settings_;
    std::unique_ptr<RunController> run_;
    std::unique_ptr<HistoryController> history_;
    std::unique_ptr<AthleteController> athletes_;
    Anchors* panelAnchors_ = nullptr;
    Anchors* resultAnchors_ = nullptr;
    Anchors* dataAnchors_ = nullptr;
    AthleteEditorDialog* athleteEditor_ = nullptr;
    LimitsDialog* limitsDialog_ = nullptr;
    AthleteSearchDialog* athleteSearch_ = nullptr;
    ServicePanel* servicePanel_ = nullptr;
    AnalysisWindow* analysisWindow_ = nullptr;
    const QEvent* lastKey_ = nullptr;
    QPointer<QWidget> lastKeyTarget_;
    bool shown_ = false;
    bool settingsSaved_ = false;
};
