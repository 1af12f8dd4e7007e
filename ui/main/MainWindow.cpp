// The main window: its menus, tool bar and panels, the actions wired to the controllers, and its
// settings.

#include "ui/main/MainWindow.h"

#include "core/base/BuildInfo.h"
#include "core/base/StationIdentity.h"
#include "core/base/Texts.h"
#include "core/station/Station.h"
#include "core/store/DataStore.h"
#include "ui/analysis/AnalysisWindow.h"
#include "ui/athletes/AthleteController.h"
#include "ui/athletes/AthletePanel.h"
#include "ui/common/Icons.h"
#include "ui/common/MessageService.h"
#include "ui/common/Widgets.h"
#include "ui/common/WriteCheck.h"
#include "ui/device/ServicePanel.h"
#include "ui/files/OldDataTakeover.h"
#include "ui/files/StationTakeover.h"
#include "ui/files/TableExport.h"
#include "ui/files/TextExport.h"
#include "ui/history/AthleteChooserDialog.h"
#include "ui/history/ChangesDialog.h"
#include "ui/history/ExclusionDialog.h"
#include "ui/history/HistoryController.h"
#include "ui/history/HistoryPanel.h"
#include "ui/history/RepeatDialog.h"
#include "ui/history/TestEditDialog.h"
#include "ui/main/AssignmentsDialog.h"
#include "ui/main/JournalStatus.h"
#include "ui/main/RestoreOffer.h"
#include "ui/report/AthleteReportPdf.h"
#include "ui/run/AthleteDisplay.h"
#include "ui/run/LiveChart.h"
#include "ui/run/ProfileResultDialog.h"
#include "ui/run/ResultPanel.h"
#include "ui/run/RunController.h"
#include "ui/run/RunSetupPanel.h"
#include "ui/run/TestDayDialog.h"
#include "ui/settings/LimitsDialog.h"
#include "ui/squads/GroupCheck.h"
#include "ui/squads/GroupDialog.h"
#include "ui/squads/RankingWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLayout>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The size the window first shows with, where the screen has room for it.
constexpr QSize kFirstSize(1060, 760);

} // namespace

MainWindow::MainWindow(AppContext& context, Station& station, QWidget* parent)
    : QMainWindow(parent), context_(context), station_(station) {
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(tr("Kalvero"));
    setWindowIcon(icons::image(icons::Picture::StartMeasurement));
    buildActions();
    buildMenus();
    buildToolBar();
    buildPanels();
    journalStatus_ = new JournalStatus(station_, *statusBar(), this);
    connect(journalStatus_, &JournalStatus::clicked, this,
            [this] { guarded([this] { showAssignments(); }); });
    history_ =
        std::make_unique<HistoryController>(*historyPanel_, station_.store(), context_.messages);
    history_->setJournal([this] { return station_.journal(); });
    // Measurements brought to the server leave the journal: the list shows them stored now.
    connect(journalStatus_, &JournalStatus::transferred, this, [this] {
        if (history_->athleteId() == 0 || station_.session().running())
            return;
        const std::optional<qint64> chosen = history_->selectedMeasurementNumber();
        guarded([this] { history_->showAthlete(history_->athleteId()); });
        if (chosen)
            history_->selectMeasurement(*chosen);
    });
    athletes_ = std::make_unique<AthleteController>(*athletePanel_, *history_, station_.store(),
                                                    context_.messages);
    run_ = std::make_unique<RunController>(station_, *resultPanel_, *runSetupPanel_, *history_,
                                           context_.messages);
    connect(run_.get(), &RunController::lockChanges, this, &MainWindow::lockChanges);
    connect(run_.get(), &RunController::startEnabledChanged, startAction_, &QAction::setEnabled);
    connect(run_.get(), &RunController::startCaptionChanged, this, [this](const QString& caption) {
        startAction_->setText(caption);
        startAction_->setToolTip(resultPanel_->startToolTip());
    });
    startAction_->setText(resultPanel_->startCaption());
    connect(resultPanel_, &ResultPanel::startClicked, startAction_, &QAction::trigger);
    // An ended profile shows its result beside the main window, until the user closes it.
    connect(run_.get(), &RunController::profileEnded, this,
            [this](const protocols::Profile& profile, const QString& athleteName) {
                auto* dialog = new ProfileResultDialog(profile, athleteName, this);
                dialog->setAttribute(Qt::WA_DeleteOnClose);
                dialog->show();
                widgets::keepOnScreen(dialog);
            });
    // The choice of the series chart's bars is kept at once.
    connect(&resultPanel_->liveChart(), &LiveChart::barValueChosen, this,
            [this](jumpcharts::BarValue value) {
                if (auto stored = context_.openSettings())
                    writeSeriesBars(*stored, value == jumpcharts::BarValue::Rsi
                                                 ? QStringLiteral("RSI")
                                                 : QStringLiteral("Hoehe"));
            });
    history_->whenSelectionChanges([this] { athleteSelectionChanged(); });
    history_->setReasonAsker(
        [this](int jumpIndex) { return ExclusionDialog::ask(this, jumpIndex); });
    history_->setAthleteAsker(
        [this](const QList<Athlete>& athletes, qint64 exceptId, const QString& measurementText) {
            return AthleteChooserDialog::ask(this, athletes, exceptId, measurementText);
        });
    history_->setTestAsker([this](const MeasurementTest& test, const QString& measurementText) {
        return TestEditDialog::ask(this, test, measurementText);
    });
    // The history list's context menu: the corrections of the chosen measurement.
    auto* failedTrialAction = new QAction(tr("Als &Fehlversuch markieren"), this);
    failedTrialAction->setObjectName(QStringLiteral("markSingleFailedAction"));
    connectAction(failedTrialAction, [this] {
        if (!refuseDuringRun())
            history_->markChosenSingleAsFailedTrial();
    });
    history_->setRepeatAsker([this](const QList<HistoryController::RepeatChoice>& choices,
                                    qint64 current, const QString& measurementText) {
        return RepeatDialog::ask(this, choices, current, measurementText);
    });
    auto* repeatAction = new QAction(tr("Als &Wiederholung markieren …"), this);
    repeatAction->setObjectName(QStringLiteral("markRepeatAction"));
    connectAction(repeatAction, [this] {
        if (!refuseDuringRun())
            history_->markRepeatOfChosen();
    });
    historyPanel_->offerListActions({moveMeasurementAction_, editTestAction_, failedTrialAction,
                                     repeatAction, deleteMeasurementAction_, changesAction_});
    connectAction(moveMeasurementAction_, &MainWindow::moveMeasurement);
    connectAction(editTestAction_, &MainWindow::editMeasurementTest);
    connectAction(changesAction_, &MainWindow::showChanges);
    connectAction(deleteMeasurementAction_, [this] {
        if (!refuseDuringRun() && historyPanel_->entryCount() > 0)
            deleteChosenMeasurement();
    });

    connectAction(showAllAction_, [this] { athletes_->showAll(); });
    connectAction(refreshAction_, [this] { athletes_->refresh(); });
    connectAction(searchAction_, [this] { athletes_->search(); });
    connectAction(newAthleteAction_, [this] { athletes_->newAthlete(); });
    connectAction(changeAthleteAction_, [this] { athletes_->changeAthlete(); });
    connectAction(deleteAthleteAction_, [this] { athletes_->deleteAfterConfirmation(); });
    connectAction(nextAthleteAction_, [this] { athletes_->selectNext(); });
    connectAction(previousAthleteAction_, [this] { athletes_->selectPrevious(); });
    connectAction(testDayAction_, &MainWindow::setUpTestDay);
    connectAction(endTestDayAction_, &MainWindow::endTestDay);
    endTestDayAction_->setEnabled(false);
    // The start list follows every trial, and the choice of a group is kept for the next start.
    connect(run_.get(), &RunController::startListChanged, this, &MainWindow::showStartList);
    connect(athletePanel_, &AthletePanel::groupChosen, this, [this](qint64 groupId) {
        if (auto stored = context_.openSettings())
            writeChosenGroup(*stored, groupId);
    });

    const QStringList& args = context_.arguments;
    debugAction_->setVisible(!args.isEmpty() && args.first() == QStringLiteral("debug"));
    history_->showSingleLayout();
    resize(firstSize());
    qApp->installEventFilter(this);
    // The journal is there before the server is tried: a station whose server is away at its
    // start records all the same. A station on its own file has one only where measurements
    // of another station's file wait for the user's choice.
    QString journalDirectory = context_.journalDirectory;
    if (journalDirectory.isEmpty() && context_.store.kind == StoreLocation::Kind::Embedded &&
        QFileInfo::exists(QDir(context_.store.directory).filePath(Journal::kFileName)))
        journalDirectory = context_.store.directory;
    if (!journalDirectory.isEmpty())
        guarded([this, journalDirectory] { station_.keepJournalIn(journalDirectory); });
    guarded([this] { openTables(); });
    journalStatus_->check();
}

MainWindow::~MainWindow() {
    qApp->removeEventFilter(this);
    saveSettings();
}

void MainWindow::setDialogs(AthleteEditorDialog* editor, LimitsDialog* limits,
                            AthleteSearchDialog* search, ServicePanel* servicePanel) {
    athleteEditor_ = editor;
    limitsDialog_ = limits;
    athleteSearch_ = search;
    servicePanel_ = servicePanel;
    athletes_->setDialogs(editor, search);
}

QAction* MainWindow::makeAction(const QString& name, const QString& caption, const QString& hint,
                                const QKeySequence& shortcut) {
    auto* a = new QAction(caption, this);
    a->setObjectName(name);
    if (!hint.isEmpty()) {
        a->setToolTip(hint);
        a->setStatusTip(hint);
    }
    if (!shortcut.isEmpty())
        a->setShortcut(shortcut);
    a->setIconVisibleInMenu(false);
    a->setShortcutContext(Qt::WindowShortcut);
    addAction(a);
    return a;
}

void MainWindow::connectAction(QAction* action, void (MainWindow::*handler)()) {
    connectAction(action, [this, handler] { (this->*handler)(); });
}

void MainWindow::connectAction(QAction* action, const std::function<void()>& handler) {
    connect(action, &QAction::triggered, this, [this, handler] { guarded(handler); });
}

void MainWindow::buildActions() {
    exitAction_ =
        makeAction(QStringLiteral("exitAction"), tr("&Beenden"), tr("Programm beenden"), {});
    exportOneAction_ = makeAction(QStringLiteral("exportOneAction"), tr("&Export"), {},
                                  QKeySequence(Qt::CTRL | Qt::Key_E));
    exportAllAction_ = makeAction(QStringLiteral("exportAllAction"), tr("&Alle Exportieren"), {},
                                  QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_E));
    exportTableAction_ =
        makeAction(QStringLiteral("exportTableAction"), tr("&Tabelle (CSV, UTF-8) …"), {}, {});
    exportWorkbookAction_ =
        makeAction(QStringLiteral("exportWorkbookAction"), tr("Arbeits&mappe (Excel) …"), {}, {});
    singleModeAction_ =
        makeAction(QStringLiteral("singleModeAction"), tr("&Einzelmessung"), {}, {});
    multipleModeAction_ =
        makeAction(QStringLiteral("multipleModeAction"), tr("&Mehrfachmessung"), {}, {});
    singleModeAction_->setCheckable(true);
    multipleModeAction_->setCheckable(true);
    limitsAction_ = makeAction(QStringLiteral("limitsAction"), tr("S&ettings"), {}, {});
    showAllAction_ = makeAction(QStringLiteral("showAllAction"), tr("Alle &zeigen"),
                                tr("Alle zeigen"), QKeySequence(Qt::CTRL | Qt::Key_Z));
    refreshAction_ = makeAction(QStringLiteral("refreshAction"), tr("&Aktualisieren"),
                                tr("Aktualisieren"), QKeySequence(Qt::Key_F9));
    searchAction_ = makeAction(QStringLiteral("searchAction"), tr("&Suchen"), tr("Sportler suchen"),
                               QKeySequence(Qt::CTRL | Qt::Key_F));
    newAthleteAction_ = makeAction(QStringLiteral("newAthleteAction"), tr("&Neuer Sportler"),
                                   tr("Neuer Sportler"), QKeySequence(Qt::CTRL | Qt::Key_N));
    changeAthleteAction_ = makeAction(QStringLiteral("changeAthleteAction"), tr("&Daten ändern"),
                                      tr("Daten ändern"), QKeySequence(Qt::CTRL | Qt::Key_A));
    deleteAthleteAction_ =
        makeAction(QStringLiteral("deleteAthleteAction"), tr("Sportler &löschen"), {},
                   QKeySequence(Qt::CTRL | Qt::Key_L));
    // Short captions where an action shows as a button; the menus show the entries above.
    showAllAction_->setIconText(tr("Zeigen"));
    searchAction_->setIconText(tr("Suchen"));
    newAthleteAction_->setIconText(tr("Neuer Sportler"));
    changeAthleteAction_->setIconText(tr("Daten ändern"));
    deleteAthleteAction_->setIconText(tr("Löschen"));
    debugAction_ = makeAction(QStringLiteral("debugAction"), tr("Debug"), {}, {});
    debugAction_->setVisible(false);
    infoAction_ = makeAction(QStringLiteral("infoAction"), tr("&Info"), {}, {});
    reportAction_ = makeAction(QStringLiteral("reportAction"), tr("Bericht als &PDF …"), {},
                               QKeySequence(Qt::CTRL | Qt::Key_P));
    reportAction_->setEnabled(false); // until an athlete is selected
    takeOverAction_ =
        makeAction(QStringLiteral("takeOverAction"), tr("Daten &übernehmen …"), {}, {});
    stationTakeOverAction_ = makeAction(QStringLiteral("stationTakeOverAction"),
                                        tr("Daten einer anderen &Station übernehmen …"), {}, {});
    assignmentsAction_ =
        makeAction(QStringLiteral("assignmentsAction"), tr("Offene &Zuordnungen …"), {}, {});
    analysisAction_ = makeAction(QStringLiteral("analysisAction"), tr("Aus&wertung …"),
                                 tr("Auswertung"), QKeySequence(Qt::Key_F6));
    nextAthleteAction_ = makeAction(QStringLiteral("nextAthleteAction"), tr("Nä&chster Sportler"),
                                    tr("Nächster Sportler"), QKeySequence(Qt::CTRL | Qt::Key_Down));
    previousAthleteAction_ =
        makeAction(QStringLiteral("previousAthleteAction"), tr("&Voriger Sportler"),
                   tr("Voriger Sportler"), QKeySequence(Qt::CTRL | Qt::Key_Up));
    // Every letter of it leads to another entry of the menu already.
    testDayAction_ =
        makeAction(QStringLiteral("testDayAction"), tr("Testtag …"),
                   tr("Testtag: Test, Fallhöhe und Protokoll einmal für die Gruppe"), {});
    testDayAction_->setIconText(tr("Testtag"));
    endTestDayAction_ =
        makeAction(QStringLiteral("endTestDayAction"), tr("Testtag &beenden"), {}, {});
    groupsAction_ = makeAction(QStringLiteral("groupsAction"), tr("&Gruppen …"), {}, {});
    rankingAction_ = makeAction(QStringLiteral("rankingAction"), tr("&Rangliste …"), {}, {});
    moveMeasurementAction_ = makeAction(QStringLiteral("moveMeasurementAction"),
                                        tr("&Messung einem anderen Sportler zuordnen …"), {}, {});
    editTestAction_ =
        makeAction(QStringLiteral("editTestAction"), tr("&Test und Fallhöhe ändern …"), {}, {});
    changesAction_ = makeAction(QStringLiteral("changesAction"), tr("Änd&erungen …"), {}, {});
    deleteMeasurementAction_ =
        makeAction(QStringLiteral("deleteMeasurementAction"), tr("Messung &löschen …"), {}, {});
    startAction_ = makeAction(QStringLiteral("startAction"), tr("Messung starten"),
                              tr("Messung starten (F5)"), QKeySequence(Qt::Key_F5));
    displayAction_ = makeAction(QStringLiteral("athleteDisplayAction"), tr("Anzeige für Sportler"),
                                {}, QKeySequence(Qt::Key_F11));

    using icons::Picture;
    const std::pair<QAction*, Picture> pictures[] = {
        {exitAction_, Picture::Exit},
        {exportOneAction_, Picture::Export},
        {exportAllAction_, Picture::Export},
        {limitsAction_, Picture::Settings},
        {showAllAction_, Picture::ShowAll},
        {searchAction_, Picture::Search},
        {newAthleteAction_, Picture::NewAthlete},
        {changeAthleteAction_, Picture::ChangeAthlete},
        {deleteAthleteAction_, Picture::DeleteAthlete},
        {startAction_, Picture::StartMeasurement},
        {testDayAction_, Picture::TestDay},
    };
    for (const auto& [action, picture] : pictures) {
        action->setIcon(icons::image(picture));
        action->setIconVisibleInMenu(true);
    }

    connect(exitAction_, &QAction::triggered, this, [this] { close(); });
    connectAction(singleModeAction_, &MainWindow::selectSingleMode);
    connectAction(multipleModeAction_, &MainWindow::selectMultipleMode);
    connectAction(startAction_, &MainWindow::toggleRun);
    connectAction(limitsAction_, &MainWindow::editLimits);
    connectAction(exportOneAction_, &MainWindow::exportSelectedAthlete);
    connectAction(exportAllAction_, &MainWindow::exportListedAthletes);
    connectAction(exportTableAction_, &MainWindow::exportTable);
    connectAction(exportWorkbookAction_, &MainWindow::exportWorkbook);
    connectAction(debugAction_, &MainWindow::showServicePanel);
    connectAction(infoAction_, &MainWindow::showVersion);
    connectAction(analysisAction_, &MainWindow::showAnalysis);
    connectAction(reportAction_, &MainWindow::saveReport);
    connectAction(takeOverAction_, &MainWindow::takeOverOldData);
    connectAction(stationTakeOverAction_, [this] {
        if (!refuseDuringRun())
            takeOverStationFile();
    });
    connectAction(assignmentsAction_, &MainWindow::showAssignments);
    connectAction(groupsAction_, &MainWindow::editGroups);
    connectAction(rankingAction_, &MainWindow::showRanking);
    connectAction(displayAction_, &MainWindow::toggleAthleteDisplay);
}

void MainWindow::buildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("menuBar"));

    QMenu* fileMenu = bar->addMenu(tr("&Datei"));
    fileMenu->setObjectName(QStringLiteral("fileMenu"));
    fileMenu->setSeparatorsCollapsible(false);
    fileMenu->addSeparator();
    fileMenu->addAction(exitAction_);
    QMenu* exportMenu = fileMenu->addMenu(icons::image(icons::Picture::Export), tr("&Exportieren"));
    exportMenu->setObjectName(QStringLiteral("exportMenu"));
    exportMenu->addAction(exportOneAction_);
    exportMenu->addAction(exportAllAction_);
    exportMenu->addSeparator();
    exportMenu->addAction(exportTableAction_);
    exportMenu->addAction(exportWorkbookAction_);
    fileMenu->addAction(reportAction_);
    fileMenu->addAction(takeOverAction_);
    fileMenu->addAction(stationTakeOverAction_);
    fileMenu->addAction(assignmentsAction_);

    QMenu* modeMenu = bar->addMenu(tr("&Betriebsart"));
    modeMenu->setObjectName(QStringLiteral("modeMenu"));
    modeMenu->addAction(singleModeAction_);
    modeMenu->addAction(multipleModeAction_);

    QMenu* optionsMenu = bar->addMenu(tr("&Optionen"));
    optionsMenu->setObjectName(QStringLiteral("optionsMenu"));
    optionsMenu->addAction(limitsAction_);

    QMenu* dataMenu = bar->addMenu(tr("D&aten"));
    dataMenu->setObjectName(QStringLiteral("dataMenu"));
    dataMenu->addAction(showAllAction_);
    dataMenu->addAction(searchAction_);
    dataMenu->addAction(refreshAction_);
    dataMenu->addAction(nextAthleteAction_);
    dataMenu->addAction(previousAthleteAction_);
    dataMenu->addSeparator();
    dataMenu->addAction(testDayAction_);
    dataMenu->addAction(endTestDayAction_);
    dataMenu->addSeparator();
    dataMenu->addAction(newAthleteAction_);
    dataMenu->addAction(changeAthleteAction_);
    dataMenu->addAction(deleteAthleteAction_);
    dataMenu->addSeparator();
    dataMenu->addAction(moveMeasurementAction_);
    dataMenu->addAction(editTestAction_);
    dataMenu->addAction(changesAction_);
    dataMenu->addSeparator();
    dataMenu->addAction(groupsAction_);
    dataMenu->addAction(rankingAction_);
    dataMenu->addSeparator();
    dataMenu->addAction(analysisAction_);

    QMenu* viewMenu = bar->addMenu(tr("A&nsicht"));
    viewMenu->setObjectName(QStringLiteral("viewMenu"));
    viewMenu->addAction(displayAction_);

    bar->addAction(debugAction_);
    bar->addAction(infoAction_);
}

void MainWindow::buildToolBar() {
    QToolBar* toolBar = addToolBar(tr("Werkzeuge"));
    toolBar->setObjectName(QStringLiteral("toolBar"));
    toolBar->setMovable(false);
    toolBar->setFloatable(false);
    toolBar->setIconSize(QSize(16, 16));
    toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolBar->toggleViewAction()->setEnabled(false);
    toolBar->addAction(searchAction_);
    toolBar->addAction(showAllAction_);
    toolBar->addAction(newAthleteAction_);
    toolBar->addAction(changeAthleteAction_);
    toolBar->addAction(testDayAction_);
    setContextMenuPolicy(Qt::NoContextMenu);
}

void MainWindow::buildPanels() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralPanel"));
    setCentralWidget(central);

    // The set-up of the next run stands in the results' frame, below the values; it is built
    // first, so that Tab reaches its fields before the series chart's.
    runSetupPanel_ = new RunSetupPanel(central);
    resultPanel_ = new ResultPanel(central);
    resultPanel_->setStartToolTip(startAction_->toolTip());
    resultPanel_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    resultPanel_->addBelowValues(runSetupPanel_);

    dataGroup_ = new QGroupBox(tr("Daten"), central);
    dataGroup_->setObjectName(QStringLiteral("dataGroup"));
    athletePanel_ = new AthletePanel(dataGroup_);
    historyPanel_ = new HistoryPanel(station_.store(), dataGroup_);
    dataSplitter_ = new QSplitter(Qt::Vertical, dataGroup_);
    dataSplitter_->setObjectName(QStringLiteral("dataSplitter"));
    dataSplitter_->setChildrenCollapsible(false);
    dataSplitter_->addWidget(athletePanel_);
    dataSplitter_->addWidget(historyPanel_);
    dataSplitter_->setStretchFactor(0, 1);
    dataSplitter_->setStretchFactor(1, 1);
    auto* dataLayout = new QVBoxLayout(dataGroup_);
    // Narrow margins leave the lists the room of a screen 1280 pixels wide.
    dataLayout->setContentsMargins(4, 4, 4, 4);
    dataLayout->addWidget(dataSplitter_);

    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(resultPanel_);
    layout->addWidget(dataGroup_, 1);
}

void MainWindow::guarded(const std::function<void()>& handler) {
    runGuarded(context_.messages, handler);
    // After every action the journal goes to the server, when it can.
    if (journalStatus_ != nullptr)
        journalStatus_->check();
}

void MainWindow::openTables() {
    station_.store().open(context_.store);
    restoreoffer::checkAtStart({context_, station_, *athletes_, *history_}, this);
    reportDuplicateNumbers();
    // With what the database lacks for want of the versions not reached.
    if (const auto failure = station_.store().upgradeFailure())
        boxes::generalError(context_.messages, failure->text(), failure->detail());
    // A database on a read-only medium is read as it stands; the user learns why nothing can
    // be recorded before he tries.
    if (const QString readOnly = station_.store().readOnlyText(); !readOnly.isEmpty())
        boxes::information(context_.messages, readOnly);
    runSetupPanel_->offerProtocols(station_.store().has(schema::Feature::Protocols));
    testDayAction_->setEnabled(station_.store().has(schema::Feature::TestDays));
    qint64 groupId = 0;
    if (auto stored = context_.openSettings())
        groupId = readChosenGroup(*stored);
    athletes_->listAtStart(groupId);
    athletePanel_->focusGrid();
    offerOpenTestDay();
}

void MainWindow::offerOpenTestDay() {
    // A day that was not ended (a crash, a restart, a second station on the shared
    // database) is offered to go on where its start list stands.
    const QList<TestDay> open = station_.store().testDays().openDays();
    if (open.isEmpty())
        return;
    const TestDay& day = open.first();
    MessageBox box;
    box.title = boxes::kAppTitle;
    box.icon = BoxIcon::Question;
    box.text = tr("Der Testtag „%1“ vom %2 ist nicht beendet. Möchten Sie ihn fortsetzen?")
                   .arg(day.name, texts::dateText(day.begun.date()));
    box.buttons = {tr("Fortsetzen"), tr("Testtag beenden"), tr("Später")};
    const int answer = context_.messages.show(box);
    if (answer == 0)
        enterTestDay(day.id);
    else if (answer == 1 && checkWritable(station_.store(), context_.messages))
        station_.store().testDays().close(day.id, QDateTime::currentDateTime());
}

void MainWindow::setUpTestDay() {
    if (!station_.store().has(schema::Feature::TestDays))
        throw AppError(schema::missingText(schema::Feature::TestDays));
    if (station_.session().running())
        return;
    if (run_->inTestDay()) {
        boxes::information(context_.messages,
                           tr("Der Testtag „%1“ läuft noch. Beenden Sie ihn mit „Testtag "
                              "beenden“, bevor Sie einen neuen beginnen.")
                               .arg(run_->startList()->day.name));
        return;
    }
    if (!checkWritable(station_.store(), context_.messages))
        return;
    // A day not ended (here, or begun at another station on the shared database) is offered
    // to be taken up before a new one.
    if (const QList<TestDay> open = station_.store().testDays().openDays(); !open.isEmpty()) {
        MessageBox box;
        box.title = boxes::kAppTitle;
        box.icon = BoxIcon::Question;
        box.text = tr("Der Testtag „%1“ vom %2 ist nicht beendet. Möchten Sie ihn fortsetzen?")
                       .arg(open.first().name, texts::dateText(open.first().begun.date()));
        box.buttons = {tr("Fortsetzen"), tr("Neuer Testtag"), tr("Abbrechen")};
        const int answer = context_.messages.show(box);
        if (answer == 0)
            enterTestDay(open.first().id);
        if (answer != 1)
            return;
    }
    // The panel's set-up is offered, so that Return takes it for the chosen group.
    TestDay offered;
    offered.protocol = runSetupPanel_->protocol();
    offered.test.name = runSetupPanel_->testName();
    (void)failureOf([&] {
        offered.test.dropHeightCm =
            measurementtest::parseDropHeight(runSetupPanel_->dropHeightText());
    });
    (void)failureOf([&] {
        offered.profileHeightsCm = protocolrun::parseHeights(runSetupPanel_->profileHeightsText());
    });
    offered.trialsPerHeight = runSetupPanel_->trialsPerHeight();
    offered.series = station_.session().mode == MeasurementMode::Multiple;
    const AutoEnd end = runSetupPanel_->autoEnd();
    offered.endKind = static_cast<int>(end.kind);
    offered.endLimit = end.limit;
    const QList<Athlete> listed = athletePanel_->athletes();
    DataStore& store = station_.store();
    qint64 opened = 0;
    TestDayDialog dialog(
        offered, store.groups().available() ? store.groups().all() : QList<Group>(),
        athletes_->chosenGroupId(), static_cast<int>(listed.size()),
        [&](const TestDayChoice& choice) {
            QList<qint64> ids;
            if (choice.groupId != 0) {
                // The group's members in the order of all athletes.
                for (const Athlete& a :
                     onlyMembers(store.athletes().all(), store.groups().memberIds(choice.groupId)))
                    ids << a.id;
            } else {
                for (const Athlete& a : listed)
                    ids << a.id;
            }
            TestDay day = choice.day;
            day.begun = QDateTime::currentDateTime();
            day.station = station::computerName();
            opened = store.testDays().open(day, ids);
        },
        this);
    if (dialog.exec() != QDialog::Accepted || opened == 0)
        return;
    enterTestDay(opened);
}

void MainWindow::enterTestDay(qint64 dayId) {
    run_->openTestDay(dayId);
    endTestDayAction_->setEnabled(true);
    showStartList();
}

void MainWindow::showStartList() {
    const auto& list = run_->startList();
    if (!list)
        return;
    QList<qint64> ids;
    QHash<qint64, QString> texts;
    for (const testday::Place& place : list->places) {
        ids << place.athleteId;
        texts.insert(place.athleteId, testday::placeText(place));
    }
    const qint64 next = list->next ? list->places[*list->next].athleteId : 0;
    if (next != 0)
        texts[next] = tr("als Nächstes · %1").arg(texts.value(next));
    // The day's athletes in the order of the start list, the next selected.
    athletes_->showOnly(ids, next != 0 ? next : athletes_->selectedId());
    athletePanel_->showStartList(true, texts, next);
    if (list->places.isEmpty())
        boxes::information(context_.messages,
                           tr("Auf der Startliste des Testtags „%1“ steht kein Sportler mehr.")
                               .arg(list->day.name));
    else if (!list->next)
        resultPanel_->showStatus(tr("Testtag „%1“: alle Versuche gemessen.").arg(list->day.name));
    athletePanel_->focusGrid();
}

void MainWindow::endTestDay() {
    if (!run_->inTestDay() || station_.session().running())
        return;
    const TestDay day = run_->startList()->day;
    if (!checkWritable(station_.store(), context_.messages))
        return;
    station_.store().testDays().close(day.id, QDateTime::currentDateTime());
    run_->leaveTestDay();
    endTestDayAction_->setEnabled(false);
    athletePanel_->showStartList(false);
    athletes_->chooseGroup(athletes_->chosenGroupId());
    athletePanel_->focusGrid();
}

void MainWindow::reportDuplicateNumbers() {
    const QList<DuplicateNumber> duplicates = station_.store().duplicateNumbers();
    if (duplicates.isEmpty())
        return;
    QStringList lines;
    for (const DuplicateNumber& d : duplicates.mid(0, 10))
        lines << tr("Sportler-ID %1: Nummer %2 (%3-mal)")
                     .arg(d.athleteId)
                     .arg(d.measurementNumber)
                     .arg(d.count);
    if (duplicates.size() > 10)
        lines << tr("… und %1 weitere").arg(duplicates.size() - 10);
    boxes::information(context_.messages,
                       tr("Einige Messungen tragen dieselbe Nummer wie eine andere "
                          "Messung desselben Sportlers. Sie bleiben, wie sie sind; "
                          "neue Messungen erhalten eigene Nummern.\n\n") +
                           lines.join(QLatin1Char('\n')));
}

void MainWindow::keepOneSmallestSize() {
    // The smallest size that the history's two layouts and every protocol's fields fit in,
    // kept in every mode: a change of mode or protocol never makes the window grow or move by
    // itself, and nothing is cut at the smallest size.
    // Measured in the fonts and style the window shows with.
    ensurePolished();
    const bool series = historyPanel_->seriesLayout();
    const int protocolRoom = std::max(0, runSetupPanel_->largestRoom().height() -
                                             runSetupPanel_->minimumSizeHint().height());
    QSize smallest;
    for (const bool layout : {false, true}) {
        if (layout)
            historyPanel_->showSeriesLayout();
        else
            historyPanel_->showSingleLayout();
        // The panels measure anew up to the window: before it shows, none has been told yet.
        for (QWidget* each = historyPanel_; each != nullptr && each != this;
             each = each->parentWidget())
            each->updateGeometry();
        for (QLayout* each : findChildren<QLayout*>())
            each->invalidate();
        smallest = smallest.expandedTo(minimumSizeHint() + QSize(0, protocolRoom));
    }
    if (series)
        historyPanel_->showSeriesLayout();
    else
        historyPanel_->showSingleLayout();
    setMinimumSize(smallest);
}

QSize MainWindow::firstSize() {
    QSize size = kFirstSize.expandedTo(minimumSize());
    if (const QScreen* screen = this->screen())
        size = size.boundedTo(screen->availableGeometry().size());
    return size;
}

void MainWindow::prepareFirstShow() {
    QByteArray geometry;
    QList<QByteArray> dividers;
    if (auto stored = context_.openSettings()) {
        settings_ = readSettings(*stored);
        geometry = readWindowGeometry(*stored);
        dividers = readWindowDividers(*stored);
        if (readSeriesBars(*stored) == QLatin1String("RSI"))
            resultPanel_->liveChart().setBarValue(jumpcharts::BarValue::Rsi);
    }
    if (const QString unsound = unsoundSettingsMessage(settings_); !unsound.isEmpty())
        boxes::information(context_.messages, unsound);
    plausibility::Limits& limits = station_.limits();
    limits.contactMinMs = settings_.contactMinMs;
    limits.contactMaxMs = settings_.contactMaxMs;
    limits.flightMinMs = settings_.flightMinMs;
    limits.flightMaxMs = settings_.flightMaxMs;

    setModeChecks(false, false);
    if (settings_.mode == 1)
        selectSingleMode();
    else
        selectMultipleMode();
    history_->showLayoutOfChosenEntry();
    keepOneSmallestSize();

    // The window as it was left; without a stored geometry (or a damaged one) the first size
    // of the layout the mode shows. Restoring puts a window that the screens no longer show
    // back on a screen.
    if (geometry.isEmpty() || !restoreGeometry(geometry))
        resize(firstSize());
    if (dividers.size() == 2) {
        dataSplitter_->restoreState(dividers[0]);
        historyPanel_->restoreDivider(dividers[1]);
    }
}

void MainWindow::setModeChecks(bool single, bool multiple) {
    singleModeAction_->setChecked(single);
    multipleModeAction_->setChecked(multiple);
}

void MainWindow::selectSingleMode() {
    station_.session().mode = MeasurementMode::Single;
    setWindowTitle(tr("Kalvero (Einzelmessung)"));
    runSetupPanel_->setSeriesMode(false);
    history_->showSingleLayout();
    setModeChecks(true, false);
}

void MainWindow::selectMultipleMode() {
    station_.session().mode = MeasurementMode::Multiple;
    runSetupPanel_->setSeriesMode(true);
    setWindowTitle(tr("Kalvero (Mehrfachmessung)"));
    history_->showSeriesLayout();
    history_->showLayoutOfChosenEntry();
    setModeChecks(false, true);
}

void MainWindow::toggleRun() {
    MeasurementSession& session = station_.session();
    if (session.running()) {
        // Stopping never depends on the write check: a running measurement can always be
        // ended.
        session.stop();
        return;
    }
    if (!checkWritable(station_.store(), context_.messages))
        return;
    // Without an athlete there is nobody to record a jump for (F5 and Enter reach here
    // whatever the state of the start button).
    const std::optional<Athlete> athlete = athletes_->selected();
    if (!athlete) {
        boxes::information(context_.messages, tr("Kein Sportler ausgewählt."));
        return;
    }
    run_->start(*athlete);
}

void MainWindow::lockChanges(bool locked) {
    // A run's end: what it journalled goes to the server, when it can.
    if (!locked && journalStatus_ != nullptr)
        QTimer::singleShot(0, journalStatus_, &JournalStatus::check);
    // While a run goes on, nothing may change the athletes or measurements it records for.
    for (QAction* action :
         {showAllAction_, refreshAction_, searchAction_, newAthleteAction_, changeAthleteAction_,
          deleteAthleteAction_, exportOneAction_, exportAllAction_, exportTableAction_,
          exportWorkbookAction_, takeOverAction_, stationTakeOverAction_, nextAthleteAction_,
          groupsAction_, moveMeasurementAction_, editTestAction_, deleteMeasurementAction_,
          previousAthleteAction_})
        action->setEnabled(!locked);
    testDayAction_->setEnabled(!locked && station_.store().isOpen() &&
                               station_.store().has(schema::Feature::TestDays));
    endTestDayAction_->setEnabled(!locked && run_->inTestDay());
    dataGroup_->setEnabled(!locked);
    // During a test day the next key is for the start list.
    if (!locked && run_->inTestDay())
        athletePanel_->focusGrid();
    else if (!locked)
        historyPanel_->focusList();
}

void MainWindow::athleteSelectionChanged() {
    reportAction_->setEnabled(athletes_->selectedId() != 0);
    const bool running = station_.session().running();
    const bool chosen = history_->selectedMeasurementNumber().has_value();
    for (QAction* action : {moveMeasurementAction_, editTestAction_, deleteMeasurementAction_})
        action->setEnabled(chosen && !running);
    changesAction_->setEnabled(athletes_->selectedId() != 0);
    if (const auto athlete = athletes_->selected(); athlete && run_->inTestDay())
        run_->showGuideOf(athlete->id,
                          QStringLiteral("%1, %2").arg(athlete->name, athlete->firstName));
    // The test and drop height stay as the user set them, whoever is chosen.
    if (!station_.session().running()) {
        // F5 stays on: with nobody listed it says so.
        const bool listed = athletePanel_->rowCount() > 0;
        resultPanel_->setStartEnabled(listed);
    }
}

void MainWindow::toggleAthleteDisplay() {
    if (athleteDisplay_ && athleteDisplay_->isVisible()) {
        athleteDisplay_->close();
        return;
    }
    if (!athleteDisplay_) {
        athleteDisplay_ = new AthleteDisplay(this);
        if (auto stored = context_.openSettings()) {
            athleteDisplay_->setValue(readDisplayValue(*stored) == QLatin1String("RSI")
                                          ? analysis::SeriesValue::Rsi
                                          : analysis::SeriesValue::Height);
            athleteDisplay_->setSoundOn(readDisplaySound(*stored));
        }
        MeasurementSession& session = station_.session();
        athleteDisplay_->setTimeSource([&session] { return session.millisecondsLeft(); });
        RunController* run = run_.get();
        connect(run, &RunController::runShown, athleteDisplay_, &AthleteDisplay::runBegan);
        connect(run, &RunController::placeRecorded, athleteDisplay_,
                [this](const analysis::RunningSeries::Place& place) {
                    athleteDisplay_->addPlace(place);
                });
        connect(run, &RunController::runOver, athleteDisplay_, &AthleteDisplay::runEnded);
        connect(run, &RunController::shownRunCleared, athleteDisplay_, &AthleteDisplay::clearRun);
        // The choices are kept at once.
        connect(athleteDisplay_, &AthleteDisplay::valueChosen, this,
                [this](analysis::SeriesValue value) {
                    if (auto stored = context_.openSettings())
                        writeDisplayValue(*stored, value == analysis::SeriesValue::Rsi
                                                       ? QStringLiteral("RSI")
                                                       : QStringLiteral("Hoehe"));
                });
        connect(athleteDisplay_, &AthleteDisplay::soundChosen, this, [this](bool on) {
            if (auto stored = context_.openSettings())
                writeDisplaySound(*stored, on);
        });
        // The run the window shows, as far as it came; the closing contact is no jump.
        const QString shown = run_->shownAthleteName();
        if (!shown.isEmpty()) {
            const AutoEnd& end = session.autoEnd();
            const bool series = session.runMode() == MeasurementMode::Multiple;
            athleteDisplay_->runBegan(shown, series && end.kind == AutoEnd::Kind::AfterSeconds
                                                 ? std::optional<int>(end.limit)
                                                 : std::nullopt);
            for (const auto& place : resultPanel_->liveChart().places())
                if (!place || place->flightMs != 0)
                    athleteDisplay_->addPlace(place, true);
            if (!session.running())
                athleteDisplay_->runEnded(false);
        }
    }
    athleteDisplay_->present();
}

void MainWindow::editLimits() {
    if (limitsDialog_)
        limitsDialog_->exec();
}

void MainWindow::exportSelectedAthlete() {
    textexport::saveSelected(context_.messages, station_.store(), athletes_->selected());
}

void MainWindow::exportListedAthletes() {
    // The selected athlete stays selected: the next run records for him.
    textexport::saveListed(context_.messages, station_.store(), athletePanel_->athletes());
}

void MainWindow::exportTable() {
    exportForAnalysis(false);
}

void MainWindow::exportWorkbook() {
    exportForAnalysis(true);
}

void MainWindow::exportForAnalysis(bool workbook) {
    tableexport::Scope scope{athletes_->selected(), athletePanel_->athletes(), {}};
    if (const qint64 group = athletes_->chosenGroupId(); group != 0)
        for (const Group& each : station_.store().groups().all())
            if (each.id == group)
                scope.groupName = each.name;
    tableexport::run(context_.messages, station_.store(), station_.limits(), scope,
                     workbook ? tableexport::Format::Workbook : tableexport::Format::Csv);
}

void MainWindow::saveReport() {
    const std::optional<Athlete> athlete = athletes_->selected();
    if (!athlete)
        return;
    reportpdf::saveAthleteReport(context_.messages, station_.store(), *athlete,
                                 history_->athleteId() == athlete->id
                                     ? history_->selectedMeasurementNumber()
                                     : std::nullopt);
}

void MainWindow::takeOverOldData() {
    olddata::takeOver(context_.messages, station_.store(), *athletes_);
}

void MainWindow::takeOverStationFile() {
    // A station on its own file keeps, beside it, what waits for the user's choice.
    if (station_.journal() == nullptr && context_.store.kind == StoreLocation::Kind::Embedded)
        station_.keepJournalIn(QFileInfo(context_.store.filePath()).absolutePath());
    if (station_.journal() == nullptr)
        return;
    stationfile::takeOver(context_.messages, station_.store(), *station_.journal(), *athletes_);
    journalStatus_->check();
}

void MainWindow::showAssignments() {
    if (station_.journal() == nullptr || station_.journalReplay() == nullptr) {
        boxes::information(context_.messages, tr("Keine Messung wartet auf eine Zuordnung."));
        return;
    }
    if (assignments_ == nullptr) {
        assignments_ = new AssignmentsDialog(*station_.journalReplay(), context_.messages, this);
        // A choice goes to the database at once, when it can.
        connect(assignments_, &AssignmentsDialog::assigned, journalStatus_, &JournalStatus::check);
    }
    assignments_->showWaiting();
    assignments_->show();
    widgets::keepOnScreen(assignments_);
    assignments_->raise();
    assignments_->activateWindow();
}

void MainWindow::showServicePanel() {
    if (!servicePanel_)
        return;
    // Modeless: the main window and a running measurement go on while it is open.
    servicePanel_->show();
    widgets::keepOnScreen(servicePanel_);
    servicePanel_->raise();
    servicePanel_->activateWindow();
}

void MainWindow::showAnalysis() {
    if (!analysisWindow_)
        analysisWindow_ =
            new AnalysisWindow(*history_, *athletes_, station_.store(), context_.messages, this);
    analysisWindow_->show();
    widgets::keepOnScreen(analysisWindow_);
    analysisWindow_->raise();
    analysisWindow_->activateWindow();
}

void MainWindow::editGroups() {
    if (!checkGroupsAvailable(station_.store(), context_.messages))
        return;
    if (!checkWritable(station_.store(), context_.messages))
        return;
    if (!groupDialog_)
        groupDialog_ = new GroupDialog(station_.store(), context_.messages, this);
    groupDialog_->exec();
    if (groupDialog_->changed()) {
        athletes_->reloadGroups();
        if (rankingWindow_ && rankingWindow_->isVisible())
            rankingWindow_->showGroup(rankingWindow_->chosenGroupId());
    }
}

void MainWindow::showRanking() {
    if (!checkGroupsAvailable(station_.store(), context_.messages))
        return;
    if (!rankingWindow_)
        rankingWindow_ = new RankingWindow(station_.store(), context_.messages, this);
    rankingWindow_->showGroup(athletes_->chosenGroupId());
    rankingWindow_->show();
    widgets::keepOnScreen(rankingWindow_);
    rankingWindow_->raise();
    rankingWindow_->activateWindow();
}

void MainWindow::showVersion() {
    boxes::plain(context_.messages, buildinfo::versionMessage(buildinfo::readFileVersion(
                                        QCoreApplication::applicationFilePath())));
}

void MainWindow::handleKey(int key) {
    const bool running = station_.session().running();
    if (key == Qt::Key_Delete && !running && historyPanel_->listHasFocus() &&
        historyPanel_->entryCount() > 0)
        deleteChosenMeasurement();
    if (key == Qt::Key_Delete && !running && athletePanel_->gridHasFocus() &&
        athletePanel_->rowCount() > 0) {
        if (boxes::confirmDestructive(context_.messages,
                                      tr("Möchten Sie diesen Patienten wirklich löschen?") +
                                          athletes_->deletionDetails(),
                                      {tr("OK"), tr("Abbrechen")}))
            athletes_->deleteSelected();
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        toggleRun();
}

void MainWindow::deleteChosenMeasurement() {
    const QString question = history_->deletionQuestion();
    if (question.isEmpty())
        return;
    if (boxes::confirm(context_.messages, question, {tr("OK"), tr("Abbrechen")}))
        history_->deleteSelectedMeasurement();
}

bool MainWindow::refuseDuringRun() {
    if (!station_.session().running())
        return false;
    boxes::information(context_.messages,
                       tr("Während einer Messung werden keine Messungen verschoben, geändert "
                          "oder gelöscht. Bitte zuerst die Messung beenden."));
    return true;
}

void MainWindow::moveMeasurement() {
    if (!refuseDuringRun())
        history_->moveChosenMeasurement();
}

void MainWindow::editMeasurementTest() {
    if (!refuseDuringRun())
        history_->changeTestOfChosen();
}

void MainWindow::showChanges() {
    const std::optional<Athlete> athlete = athletes_->selected();
    if (!athlete || history_->athleteId() != athlete->id)
        return;
    if (!station_.store().has(schema::Feature::Changes))
        throw AppError(schema::missingText(schema::Feature::Changes));
    const QString name = athlete->firstName.isEmpty()
                             ? athlete->name
                             : QStringLiteral("%1, %2").arg(athlete->name, athlete->firstName);
    ChangesDialog dialog(
        name,
        [this] {
            QList<ChangeLine> lines;
            guarded([this, &lines] { lines = history_->changeLines(); });
            return lines;
        },
        [this](qint64 changeId) {
            guarded([this, changeId] {
                if (!refuseDuringRun())
                    history_->restoreDeleted(changeId);
            });
        },
        this);
    dialog.exec();
}

void MainWindow::saveSettings() {
    if (settingsSaved_ || !shown_)
        return;
    settingsSaved_ = true;
    const plausibility::Limits& limits = station_.limits();
    settings_.mode = station_.session().mode == MeasurementMode::Single ? 1 : 2;
    settings_.contactMinMs = limits.contactMinMs;
    settings_.contactMaxMs = limits.contactMaxMs;
    settings_.flightMinMs = limits.flightMinMs;
    settings_.flightMaxMs = limits.flightMaxMs;
    if (auto stored = context_.openSettings()) {
        writeSettings(*stored, settings_);
        writeWindowGeometry(*stored, saveGeometry());
        writeWindowDividers(*stored, {dataSplitter_->saveState(), historyPanel_->dividerState()});
    }
}

void MainWindow::setVisible(bool visible) {
    // The first show is prepared before the window appears.
    if (visible && !shown_) {
        shown_ = true;
        guarded([this] { prepareFirstShow(); });
    }
    QMainWindow::setVisible(visible);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // A run still going is ended as the user's stop would end it.
    guarded([this] {
        if (station_.session().running())
            station_.session().stop();
    });
    event->accept();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // The window sees every key before the focused control; the key still reaches it.
    // A key that the focused control leaves unused travels on to its parents: it is handled
    // once, at its first receiver. The next key may come in an event at the same address, to
    // a parent of the last one's receiver (the window, once the control that had the focus
    // was locked by a start): a release ends a key's travel, so it is never taken for the
    // last one travelling on.
    if (event->type() == QEvent::KeyRelease) {
        lastKey_ = nullptr;
        lastKeyTarget_.clear();
    }
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
        auto* keyEvent = static_cast<QKeyEvent*>(event);
        auto* target = static_cast<QWidget*>(watched);
        QWidget* focus = QApplication::focusWidget();
        const bool propagated = keyEvent == lastKey_ && lastKeyTarget_ &&
                                lastKeyTarget_ != target && target->isAncestorOf(lastKeyTarget_);
        if (!propagated && target->window() == this && target == (focus ? focus : this) &&
            isActiveWindow()) {
            lastKey_ = keyEvent;
            lastKeyTarget_ = target;
            const int key = keyEvent->key();
            guarded([this, key] { handleKey(key); });
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
