#pragma once

#include "app/AppContext.h"
#include "core/base/Settings.h"
#include "core/measure/Limits.h"

#include "core/store/ResultSet.h"

#include <QDateTime>
#include <QMainWindow>
#include <QPointer>

#include <memory>

class Anchors;
class D2XXUnit;
class Database;
class TimingLink;
class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QTableView;
class QTimer;
class QToolBar;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class ResultSetModel;
class TForm3;
class TForm4;
class TForm5;

// Sets the colour of a button's caption (its disabled look stays the style's).
void setCaptionColour(QWidget* button, const QColor& colour);

// The main window: menus, tool bar, the result panel and the data panel with the athlete
// grid, the measurement history and the jump grid. It holds the tables' result sets, the
// operating mode and the settings in memory, and runs the handlers of every action.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(AppContext& context, QWidget* parent = nullptr);
    ~TForm1() override;

    // Operating mode: 1 = single measurement, anything else = multiple measurement.
    quint8 Betriebsart = 1;
    SettingsValues Settings;
    plausibility::Limits Limits;
    bool RelayoutPending = false;
    qint32 LastNummer = 0;

    // Run state, reset at every start of a run.
    qint32 CurrentSZ = 0;
    qint32 CurrentFZ = 0;
    bool SZValid = false;
    bool FZValid = false;
    bool SZInLimits = false;
    bool FZInLimits = false;
    bool EndMarkerSeen = false;
    bool FirstJumpPending = true;
    qint32 JumpCount = 0;
    qint32 RunUnitID = 0;
    QDateTime EvaluationTime;

    // The link to the timing unit and the service device.
    D2XXUnit& Unit() { return *unit_; }
    TimingLink& Link() { return *link_; }
    quint64 ServiceHandle = 0;

    ResultSet& Query1();
    ResultSet& Query2();
    ResultSet& Query3();
    bool tablesOpen() const { return db_ != nullptr; }

    // Window events.
    void FormCreate();
    void FormShow();
    void FormResize();
    void FormKeyDown(int key);
    void FormClose();
    void FormDestroy();

    // Actions.
    void close1Execute();
    void Action13Execute();
    void Action14Execute();
    void Action8Execute();

    // Measurement run.
    enum class RunPhase { Idle, Starting, Running, Decoding, Stopping };
    RunPhase Phase = RunPhase::Idle;
    bool running() const { return Phase != RunPhase::Idle; }
    void Start1Execute();
    void Timer1Timer();
    void EndRun();
    // The stop by the user, also used when the window closes during a run.
    void StopRun();
    void SelectHistoryEntry(QTreeWidgetItem* item);

    // Evaluation and recording of a decoded jump.
    void Auswertung();
    void Action7Execute();
    // Writes the number of jumps recorded so far into the run's measurement row.
    void WriteJumpCount();
    double CalcEff(qint32 fz) const;
    void Query3CalcFields(ResultSet::CalcRow& row);

    // Athletes.
    void Action6Execute();
    void Action1Execute();
    void Action2Execute();
    void SAendernExecute();
    void Action4Execute();
    void ResetQuery2();
    void ResetQuery3();

    // Export, service panel, version.
    void SingleExportExecute();
    void AllExportExecute();
    void BugBeeExecute();
    void Action15Execute();
    static bool GetBuildInfo(const QString& path, quint16& major, quint16& minor, quint16& release,
                             quint16& build);

    // Write check before every action that writes; shows its message when the tables cannot
    // be written.
    bool CanWrite();

    // History view.
    void Query1AfterScroll();
    void InsertIntoFirstTable();
    void ListView2SelectItem(QTreeWidgetItem* item);
    void ShowOneMessung(int unused = 0);
    void ShowMehrMessung(int unused = 0);
    void FilterTable3(bool withOrder);
    void SortHistory();
    QTreeWidgetItem* SelectedHistoryItem() const;
    // ID of the selected athlete, 0 when there is none.
    qint64 SelectedAthleteId();

    // Athletes and measurements.
    void DelPat();
    void DelUeb();

    QAction* action(const QString& name) const;

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
    // Runs a handler through the program's error handling.
    void guarded(const std::function<void()>& handler);
    void setModeChecks(bool single, bool multiple);
    void StartRun();
    void setStartButton(bool idle);
    void setStartEnabled(bool enabled);
    // Decodes one result whose first byte waits; false when the run ended.
    bool DecodeResult();
    quint8 AwaitResultByte();
    // Applies the plausibility verdict of a decoded time; false when it ended the run.
    bool AcceptTime(const plausibility::Verdict& verdict, bool& inLimits, bool& valid);

    AppContext& ctx_;
    std::unique_ptr<D2XXUnit> unit_;
    std::unique_ptr<TimingLink> link_;
    std::unique_ptr<Database> db_;
    std::unique_ptr<ResultSet> query1_;
    std::unique_ptr<ResultSet> query2_;
    std::unique_ptr<ResultSet> query3_;
    const QEvent* lastKey_ = nullptr;
    QPointer<QWidget> lastKeyTarget_;
    bool shown_ = false;
    bool destroyed_ = false;

public:
    // The other windows, created after this one (see createWindows()).
    TForm3* Form3 = nullptr;
    TForm4* Form4 = nullptr;
    TForm5* Form5 = nullptr;
    QWidget* Form6 = nullptr;

    // Controls, named as the handlers know them.
    QMenu* DateiMenu = nullptr;
    QMenu* ExportMenu = nullptr;
    QMenu* BetriebsartMenu = nullptr;
    QMenu* OptionenMenu = nullptr;
    QMenu* DatenMenu = nullptr;
    QToolBar* ActionToolBar1 = nullptr;
    QWidget* Panel1 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QGroupBox* GroupBox3 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QToolButton* SpeedButton4 = nullptr;
    QWidget* SpeedButton1 = nullptr;
    QTableView* DBGrid1 = nullptr;
    QTreeWidget* ListView2 = nullptr;
    QTableView* DBGrid3 = nullptr;
    ResultSetModel* DataSource1 = nullptr;
    ResultSetModel* DataSource3 = nullptr;
    QTimer* Timer1 = nullptr;
    Anchors* PanelAnchors = nullptr;
    Anchors* ResultAnchors = nullptr;
    Anchors* DataAnchors = nullptr;

    QAction* close1 = nullptr;
    QAction* SingleExport = nullptr;
    QAction* AllExport = nullptr;
    QAction* Action13 = nullptr;
    QAction* Action14 = nullptr;
    QAction* Action8 = nullptr;
    QAction* Action6 = nullptr;
    QAction* Action1 = nullptr;
    QAction* Action2 = nullptr;
    QAction* SAendern = nullptr;
    QAction* Action4 = nullptr;
    QAction* BugBee = nullptr;
    QAction* Action15 = nullptr;
    QAction* Start1 = nullptr;
};
