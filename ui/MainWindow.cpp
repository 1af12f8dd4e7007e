#include "ui/MainWindow.h"

#include "core/base/BuildInfo.h"
#include "core/base/Texts.h"
#include "core/export/Exporter.h"
#include "ui/AnalysisWindow.h"
#include "ui/Anchors.h"
#include "ui/AthleteController.h"
#include "ui/AthleteTableModel.h"
#include "ui/ColumnWidths.h"
#include "ui/HistoryController.h"
#include "ui/Icons.h"
#include "ui/JumpTableModel.h"
#include "ui/LimitsDialog.h"
#include "ui/MessageService.h"
#include "ui/OldDataTakeover.h"
#include "ui/ReportPdf.h"
#include "ui/RestoreOffer.h"
#include "ui/RunController.h"
#include "ui/ServicePanel.h"
#include "ui/Widgets.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

namespace {

// Design size of the area below the tool bar, in which the two groups are placed.
constexpr QSize kPanelDesign(700, 564);
constexpr QSize kResultDesign(684, 73);
constexpr QSize kDataDesign(684, 471);

const QString kExportFilter = QStringLiteral("Textdatei|*.txt");
const QString kExportSuffix = QStringLiteral("txt");

QLabel* boldLabel(const QString& name, const QString& text, QWidget* parent, int x, int y) {
    QLabel* label = widgets::boldLabel(text, name, parent);
    label->adjustSize();
    label->move(x, y);
    return label;
}

QLabel* plainLabel(const QString& name, const QString& text, QWidget* parent, int x, int y) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->adjustSize();
    label->move(x, y);
    return label;
}

// A result field: shown, never typed into. All four look alike, on the window's colour; a
// click selects the value for copying, and Tab passes them by.
QLineEdit* resultField(const QString& name, QWidget* parent, int x, int y) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setGeometry(x, y, 81, 22);
    edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::ClickFocus);
    QPalette pal = edit->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive})
        pal.setColor(group, QPalette::Base, pal.color(group, QPalette::Window));
    edit->setPalette(pal);
    return edit;
}

QTableView* grid(const QString& name, QWidget* parent, QAbstractItemModel* model) {
    auto* view = new QTableView(parent);
    view->setObjectName(name);
    view->setModel(model);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setAlternatingRowColors(true);
    view->verticalHeader()->setVisible(false);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    view->horizontalHeader()->setHighlightSections(false);
    view->setWordWrap(false);
    return view;
}

} // namespace

MainWindow::MainWindow(AppContext& context, QWidget* parent)
    : QMainWindow(parent), context_(context), deviceLink_(context.driver),
      timingLink_(deviceLink_, context.clock) {
    // Reports of the wrapper come only before the first open: commands of the service panel.
    deviceLink_.setStatusReporter(
        [&ui = context.ui](const QString& text) { boxes::error(ui, text); });
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(QStringLiteral("Kalvero"));
    setWindowIcon(icons::image(8));
    buildActions();
    buildMenus();
    buildToolBar();
    buildPanels();
    run_ = std::make_unique<RunController>(*this);
    history_ = std::make_unique<HistoryController>(*this);
    athletes_ = std::make_unique<AthleteController>(*this);
    history_->whenSelectionChanges(
        [this] { reportAction->setEnabled(athletes_->selectedId() != 0); });
    resize(714, 644);
    setMinimumSize(600, 640);
    qApp->installEventFilter(this);
    guarded([this] { openTables(); });
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
}

MeasurementSession& MainWindow::session() {
    return run_->session();
}

QAction* MainWindow::makeAction(const QString& name, const QString& caption, const QString& hint,
                                const QKeySequence& shortcut, int icon) {
    auto* a = new QAction(caption, this);
    a->setObjectName(name);
    if (!hint.isEmpty()) {
        a->setToolTip(hint);
        a->setStatusTip(hint);
    }
    if (!shortcut.isEmpty())
        a->setShortcut(shortcut);
    if (icon >= 0)
        a->setIcon(icons::image(icon));
    a->setIconVisibleInMenu(icon >= 0);
    a->setShortcutContext(Qt::WindowShortcut);
    addAction(a);
    return a;
}

void MainWindow::connectAction(QAction* action, void (MainWindow::*handler)()) {
    connect(action, &QAction::triggered, this,
            [this, handler] { guarded([this, handler] { (this->*handler)(); }); });
}

void MainWindow::buildActions() {
    exitAction = makeAction(QStringLiteral("exitAction"), QStringLiteral("&Beenden"),
                            QStringLiteral("Programm beenden"), {}, 5);
    exportOneAction = makeAction(QStringLiteral("exportOneAction"), QStringLiteral("&Export"), {},
                                 QKeySequence(Qt::CTRL | Qt::Key_E), 13);
    exportAllAction =
        makeAction(QStringLiteral("exportAllAction"), QStringLiteral("&Alle Exportieren"), {},
                   QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_E), 13);
    singleModeAction = makeAction(QStringLiteral("singleModeAction"),
                                  QStringLiteral("&Einzelmessung"), {}, {}, -1);
    multipleModeAction = makeAction(QStringLiteral("multipleModeAction"),
                                    QStringLiteral("&Mehrfachmessung"), {}, {}, -1);
    singleModeAction->setCheckable(true);
    multipleModeAction->setCheckable(true);
    limitsAction =
        makeAction(QStringLiteral("limitsAction"), QStringLiteral("S&ettings"), {}, {}, 9);
    showAllAction =
        makeAction(QStringLiteral("showAllAction"), QStringLiteral("Alle &zeigen"),
                   QStringLiteral("Alle zeigen"), QKeySequence(Qt::CTRL | Qt::Key_Z), 4);
    refreshAction = makeAction(QStringLiteral("refreshAction"), QStringLiteral("&Aktualisieren"),
                               QStringLiteral("Aktualisieren"), QKeySequence(Qt::Key_F9), -1);
    searchAction =
        makeAction(QStringLiteral("searchAction"), QStringLiteral("&Suchen"),
                   QStringLiteral("Sportler suchen"), QKeySequence(Qt::CTRL | Qt::Key_F), 1);
    newAthleteAction =
        makeAction(QStringLiteral("newAthleteAction"), QStringLiteral("&Neuer Sportler"),
                   QStringLiteral("Neuer Sportler"), QKeySequence(Qt::CTRL | Qt::Key_N), 0);
    changeAthleteAction =
        makeAction(QStringLiteral("changeAthleteAction"), QStringLiteral("&Daten ändern"),
                   QStringLiteral("Daten ändern"), QKeySequence(Qt::CTRL | Qt::Key_A), 3);
    deleteAthleteAction =
        makeAction(QStringLiteral("deleteAthleteAction"), QStringLiteral("Sportler &löschen"), {},
                   QKeySequence(Qt::CTRL | Qt::Key_L), 2);
    // Short captions where an action shows as a button; the menus show the entries above.
    showAllAction->setIconText(QStringLiteral("Zeigen"));
    searchAction->setIconText(QStringLiteral("Suchen"));
    newAthleteAction->setIconText(QStringLiteral("Neuer Sportler"));
    changeAthleteAction->setIconText(QStringLiteral("Daten ändern"));
    deleteAthleteAction->setIconText(QStringLiteral("Löschen"));
    debugAction = makeAction(QStringLiteral("debugAction"), QStringLiteral("Debug"), {}, {}, -1);
    debugAction->setVisible(false);
    infoAction = makeAction(QStringLiteral("infoAction"), QStringLiteral("&Info"), {}, {}, -1);
    reportAction = makeAction(QStringLiteral("reportAction"), QStringLiteral("&Bericht als PDF …"),
                              {}, QKeySequence(Qt::CTRL | Qt::Key_P), -1);
    reportAction->setEnabled(false); // until an athlete is selected
    takeOverAction = makeAction(QStringLiteral("takeOverAction"),
                                QStringLiteral("Daten &übernehmen …"), {}, {}, -1);
    analysisAction = makeAction(QStringLiteral("analysisAction"), QStringLiteral("&Auswertung …"),
                                QStringLiteral("Auswertung"), QKeySequence(Qt::Key_F6), -1);
    startAction = makeAction(QStringLiteral("startAction"), QStringLiteral("Messung starten"),
                             QStringLiteral("Messung starten (F5)"), QKeySequence(Qt::Key_F5), 8);

    connect(exitAction, &QAction::triggered, this, [this] { close(); });
    connectAction(singleModeAction, &MainWindow::selectSingleMode);
    connectAction(multipleModeAction, &MainWindow::selectMultipleMode);
    connectAction(startAction, &MainWindow::toggleRun);
    connectAction(limitsAction, &MainWindow::editLimits);
    connectAction(exportOneAction, &MainWindow::exportSelectedAthlete);
    connectAction(exportAllAction, &MainWindow::exportListedAthletes);
    connectAction(debugAction, &MainWindow::showServicePanel);
    connectAction(infoAction, &MainWindow::showVersion);
    connectAction(analysisAction, &MainWindow::showAnalysis);
    connectAction(reportAction, &MainWindow::saveReport);
    connectAction(takeOverAction, &MainWindow::takeOverOldData);
}

void MainWindow::buildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("menuBar"));

    fileMenu = bar->addMenu(QStringLiteral("&Datei"));
    fileMenu->setSeparatorsCollapsible(false);
    fileMenu->addSeparator();
    fileMenu->addAction(exitAction);
    exportMenu = fileMenu->addMenu(icons::image(13), QStringLiteral("&Exportieren"));
    exportMenu->addAction(exportOneAction);
    exportMenu->addAction(exportAllAction);
    fileMenu->addAction(reportAction);
    fileMenu->addAction(takeOverAction);

    modeMenu = bar->addMenu(QStringLiteral("&Betriebsart"));
    modeMenu->addAction(singleModeAction);
    modeMenu->addAction(multipleModeAction);

    optionsMenu = bar->addMenu(QStringLiteral("&Optionen"));
    optionsMenu->addAction(limitsAction);

    dataMenu = bar->addMenu(QStringLiteral("D&aten"));
    dataMenu->addAction(showAllAction);
    dataMenu->addAction(searchAction);
    dataMenu->addAction(refreshAction);
    dataMenu->addSeparator();
    dataMenu->addAction(newAthleteAction);
    dataMenu->addAction(changeAthleteAction);
    dataMenu->addAction(deleteAthleteAction);
    dataMenu->addSeparator();
    dataMenu->addAction(analysisAction);

    bar->addAction(debugAction);
    bar->addAction(infoAction);
}

void MainWindow::buildToolBar() {
    toolBar = addToolBar(QStringLiteral("Werkzeuge"));
    toolBar->setObjectName(QStringLiteral("toolBar"));
    toolBar->setMovable(false);
    toolBar->setFloatable(false);
    toolBar->setIconSize(QSize(16, 16));
    toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolBar->toggleViewAction()->setEnabled(false);
    toolBar->addAction(searchAction);
    toolBar->addAction(showAllAction);
    toolBar->addAction(newAthleteAction);
    toolBar->addAction(changeAthleteAction);
    setContextMenuPolicy(Qt::NoContextMenu);
}

void MainWindow::buildPanels() {
    centralPanel = new QWidget(this);
    centralPanel->setObjectName(QStringLiteral("centralPanel"));
    centralPanel->resize(kPanelDesign);
    setCentralWidget(centralPanel);

    // Result panel.
    resultGroup = new QGroupBox(QStringLiteral("Messergebnisse"), centralPanel);
    resultGroup->setObjectName(QStringLiteral("resultGroup"));
    resultGroup->setGeometry(QRect(QPoint(8, 8), kResultDesign));
    contactTimeLabel = boldLabel(QStringLiteral("contactTimeLabel"), QStringLiteral("Stützzeit:"),
                                 resultGroup, 8, 22);
    contactTimeField = resultField(QStringLiteral("contactTimeField"), resultGroup, 80, 19);
    contactUnitLabel =
        plainLabel(QStringLiteral("contactUnitLabel"), QStringLiteral("ms"), resultGroup, 168, 23);
    flightTimeLabel = boldLabel(QStringLiteral("flightTimeLabel"), QStringLiteral("Flugzeit:"),
                                resultGroup, 8, 47);
    flightTimeField = resultField(QStringLiteral("flightTimeField"), resultGroup, 80, 44);
    flightUnitLabel =
        plainLabel(QStringLiteral("flightUnitLabel"), QStringLiteral("ms"), resultGroup, 168, 48);
    heightLabel =
        boldLabel(QStringLiteral("heightLabel"), QStringLiteral("Höhe(cm):"), resultGroup, 208, 22);
    heightField = resultField(QStringLiteral("heightField"), resultGroup, 290, 19);
    efficiencyLabel = boldLabel(QStringLiteral("efficiencyLabel"), QStringLiteral("Effizienz:"),
                                resultGroup, 208, 47);
    efficiencyField = resultField(QStringLiteral("efficiencyField"), resultGroup, 290, 44);

    startButton = new QToolButton(resultGroup);
    startButton->setObjectName(QStringLiteral("startButton"));
    startButton->setGeometry(471, 16, 205, 49);
    startButton->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    startButton->setIcon(icons::image(8));
    startButton->setIconSize(QSize(24, 24));
    startButton->setToolTip(startAction->toolTip());
    startButton->setAutoRaise(false);
    startButton->setFocusPolicy(Qt::NoFocus);
    {
        QFont f = startButton->font();
        f.setBold(true);
        startButton->setFont(f);
    }
    connect(startButton, &QToolButton::clicked, startAction, &QAction::trigger);

    // Data panel.
    dataGroup = new QGroupBox(QStringLiteral("Daten"), centralPanel);
    dataGroup->setObjectName(QStringLiteral("dataGroup"));
    dataGroup->setGeometry(QRect(QPoint(8, 85), kDataDesign));

    athleteModel = new AthleteTableModel(this);
    athleteGrid = grid(QStringLiteral("athleteGrid"), dataGroup, athleteModel);
    athleteGrid->setGeometry(8, 20, 668, 232);
    // Design widths, widened where the font needs more room for a date of birth: a date
    // form with month names ("12 Apr 1998") is wider than one of digits.
    const int dateWidth =
        athleteGrid->fontMetrics().horizontalAdvance(QStringLiteral("00.00.00000"));
    const int athleteWidths[] = {30, 115, 115, std::max(60, dateWidth), 400};
    for (int i = 0; i < 5; ++i)
        athleteGrid->setColumnWidth(i, athleteWidths[i]);
    QStringList birthDates;
    for (int month = 1; month <= 12; ++month)
        birthDates << texts::dateText(QDate(2000, month, 28));
    columns::setAtLeast(athleteGrid, athleteGrid->horizontalHeader(), 3, athleteWidths[3],
                        birthDates);

    historyList = new QTreeWidget(dataGroup);
    historyList->setObjectName(QStringLiteral("historyList"));
    historyList->setGeometry(8, 264, 361, 193);
    historyList->setColumnCount(8);
    historyList->setHeaderLabels({QStringLiteral("Nr."), QStringLiteral("Datum"),
                                  QStringLiteral("Uhrzeit"), QStringLiteral("Stützzeit(ms)"),
                                  QStringLiteral("Flugzeit(ms)"), QStringLiteral("Effizienz"),
                                  QStringLiteral("Höhe(cm)"), QString()});
    historyList->setColumnHidden(7, true);
    historyList->setRootIsDecorated(false);
    historyList->setUniformRowHeights(true);
    historyList->setAllColumnsShowFocus(true);
    historyList->setSelectionMode(QAbstractItemView::SingleSelection);
    historyList->setSelectionBehavior(QAbstractItemView::SelectRows);
    historyList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    historyList->setItemDelegate(new widgets::GridLinesDelegate(historyList));
    historyList->header()->setStretchLastSection(false);
    historyList->header()->setSectionsMovable(false);
    const int historyWidths[] = {30, 65, 49, 65, 65, 17, 16};
    for (int i = 0; i < 7; ++i)
        historyList->setColumnWidth(i, historyWidths[i]);

    jumpModel = new JumpTableModel(store_, this);
    jumpGrid = grid(QStringLiteral("jumpGrid"), dataGroup, jumpModel);
    jumpGrid->setGeometry(376, 264, 299, 193);
    const int jumpWidths[] = {40, 65, 65, 65};
    for (int i = 0; i < 4; ++i)
        jumpGrid->setColumnWidth(i, jumpWidths[i]);

    sizeMarker = new QWidget(centralPanel);
    sizeMarker->setObjectName(QStringLiteral("sizeMarker"));
    sizeMarker->setGeometry(592, 550, 1, 1);
    sizeMarker->hide();

    panelAnchors_ = new Anchors(centralPanel, kPanelDesign);
    panelAnchors_->add(resultGroup, Anchors::StretchRight);
    panelAnchors_->add(dataGroup, Anchors::StretchRight | Anchors::StretchDown);
    resultAnchors_ = new Anchors(resultGroup, kResultDesign);
    resultAnchors_->add(startButton, Anchors::StretchRight);
    dataAnchors_ = new Anchors(dataGroup, kDataDesign);
    dataAnchors_->add(athleteGrid, Anchors::StretchRight);
    dataAnchors_->add(historyList, Anchors::StretchDown);
    dataAnchors_->add(jumpGrid, Anchors::StretchRight | Anchors::StretchDown);
}

void MainWindow::guarded(const std::function<void()>& handler) {
    runGuarded(context_.ui, handler);
}

QAction* MainWindow::action(const QString& objectName) const {
    return findChild<QAction*>(objectName);
}

void MainWindow::openTables() {
    limits_.triggerEdge1 = true;
    limits_.triggerEdge2 = true;
    resize(750, height());
    const QStringList& args = context_.arguments;
    debugAction->setVisible(!args.isEmpty() && args.first() == QStringLiteral("debug"));

    store_.open(context_.store);
    restoreoffer::checkAtStart(*this);
    reportDuplicateNumbers();
    jumpModel->showAllJumps();
    athletes_->listAtStart();
    athleteGrid->setFocus();
}

void MainWindow::reportDuplicateNumbers() {
    const auto& duplicates = store_.database().duplicateNumbers();
    if (duplicates.isEmpty())
        return;
    QStringList lines;
    for (const Database::DuplicateNumber& d : duplicates.mid(0, 10))
        lines << QStringLiteral("Sportler-ID %1: Nummer %2 (%3-mal)")
                     .arg(d.athleteId)
                     .arg(d.nummer)
                     .arg(d.count);
    if (duplicates.size() > 10)
        lines << QStringLiteral("… und %1 weitere").arg(duplicates.size() - 10);
    boxes::information(context_.ui,
                       QStringLiteral("Einige Messungen tragen dieselbe Nummer wie eine andere "
                                      "Messung desselben Sportlers. Sie bleiben, wie sie sind; "
                                      "neue Messungen erhalten eigene Nummern.\n\n") +
                           lines.join(QLatin1Char('\n')));
}

QSize MainWindow::designedSize() const {
    const QRect dataRect = dataGroup->geometry();
    const int chrome = menuBar()->sizeHint().height() + toolBar->sizeHint().height();
    const QSize size(dataRect.left() + dataRect.width() + 10,
                     chrome + sizeMarker->geometry().top() + 10);
    return size.expandedTo(minimumSize());
}

void MainWindow::prepareFirstShow() {
    QByteArray geometry;
    if (auto stored = context_.openSettings()) {
        settings_ = readSettings(*stored);
        geometry = readWindowGeometry(*stored);
    }
    if (const QString unsound = unsoundSettingsMessage(settings_); !unsound.isEmpty())
        boxes::information(context_.ui, unsound);
    // The window as it was left; without a stored geometry (or a damaged one) the designed
    // size. Restoring puts a window that the screens no longer show back on a screen.
    if (geometry.isEmpty() || !restoreGeometry(geometry))
        resize(designedSize());
    limits_.contactMinMs = settings_.contactMinMs;
    limits_.contactMaxMs = settings_.contactMaxMs;
    limits_.flightMinMs = settings_.flightMinMs;
    limits_.flightMaxMs = settings_.flightMaxMs;

    setModeChecks(false, false);
    if (settings_.mode == 1)
        selectSingleMode();
    else
        selectMultipleMode();

    if (historyList->topLevelItemCount() > 0) {
        QTreeWidgetItem* first = historyList->topLevelItem(0);
        history_->entrySelected(first);
        first->setSelected(true);
    }
}

MeasurementMode MainWindow::mode() const {
    return run_->session().mode;
}

void MainWindow::setModeChecks(bool single, bool multiple) {
    singleModeAction->setChecked(single);
    multipleModeAction->setChecked(multiple);
}

void MainWindow::selectSingleMode() {
    run_->session().mode = MeasurementMode::Single;
    setWindowTitle(QStringLiteral("Kalvero (Einzelmessung)"));
    history_->showSingleLayout();
    setModeChecks(true, false);
}

void MainWindow::selectMultipleMode() {
    run_->session().mode = MeasurementMode::Multiple;
    setWindowTitle(QStringLiteral("Kalvero (Mehrfachmessung)"));
    QTreeWidgetItem* selected = history_->selectedEntry();
    history_->showSeriesLayout();
    history_->entrySelected(selected);
    setModeChecks(false, true);
}

void MainWindow::relayoutAfterResize() {
    run_->windowResized();
    history_->relayoutPending = true;
    (mode() == MeasurementMode::Single ? singleModeAction : multipleModeAction)->setChecked(true);
    if (QTreeWidgetItem* selected = history_->selectedEntry()) {
        history_->entrySelected(selected);
        selected->setSelected(true);
    }
}

void MainWindow::toggleRun() {
    MeasurementSession& session = run_->session();
    if (session.running()) {
        // Stopping never depends on the write check: a running measurement can always be
        // ended.
        session.stop();
        return;
    }
    if (!checkWritable())
        return;
    // Without an athlete there is nobody to record a jump for (Enter reaches here whatever
    // the state of the start button).
    const qint64 athlete = athletes_->selectedId();
    if (athlete == 0)
        return;
    session.start(athlete);
}

bool MainWindow::checkWritable() {
    if (store_.database().probeWriteAccess().access != Database::WriteAccess::Writable) {
        boxes::plain(context_.ui, store_.database().damaged()
                                      ? store_.database().damagedText()
                                      : QStringLiteral("Messung nicht möglich , da nicht auf "
                                                       "Datenbanken geschrieben werden kann."));
        return false;
    }
    return true;
}

void MainWindow::editLimits() {
    if (limitsDialog_)
        limitsDialog_->exec();
}

void MainWindow::exportSelectedAthlete() {
    const QString path = context_.ui.saveFileName(
        {QStringLiteral("einzelnen Sportler exportieren"), kExportFilter, kExportSuffix});
    if (path.isEmpty())
        return;
    QString text;
    Exporter::Result result;
    {
        widgets::BusyCursor busy;
        QList<qint64> selected;
        if (const qint64 athlete = athletes_->selectedId())
            selected << athlete;
        text = Exporter(store_.database()).text(selected);
        result = Exporter::writeText(path, text);
    }
    if (result.outcome == Exporter::Outcome::Failed) {
        boxes::plain(context_.ui, result.message);
        return;
    }
    context_.ui.setClipboardText(text);
}

void MainWindow::exportListedAthletes() {
    const QString path = context_.ui.saveFileName(
        {QStringLiteral("alle Sportler exportieren"), kExportFilter, kExportSuffix});
    if (path.isEmpty())
        return;
    QList<qint64> listed;
    for (const Athlete& athlete : athleteModel->athletes())
        listed << athlete.id;
    Exporter::Result result;
    {
        const auto progress = context_.ui.showProgress(
            QStringLiteral("Export läuft … %1 von %2 Sportlern"), static_cast<int>(listed.size()));
        result = Exporter(store_.database()).writeFile(path, listed, [&progress](int done) {
            return progress->update(done);
        });
    }
    if (result.outcome == Exporter::Outcome::Cancelled)
        return;
    // The grid ends on the last athlete of the list, as if the export had walked it.
    athletes_->selectRow(athleteModel->rowCount() - 1);
    if (result.outcome == Exporter::Outcome::Failed)
        boxes::plain(context_.ui, result.message);
}

void MainWindow::saveReport() {
    reportpdf::saveSelectedAthlete(*this);
}

void MainWindow::takeOverOldData() {
    olddata::takeOver(*this);
}

void MainWindow::showServicePanel() {
    if (!servicePanel_)
        return;
    // Modeless: the main window and a running measurement go on while it is open.
    servicePanel_->show();
    servicePanel_->raise();
    servicePanel_->activateWindow();
}

void MainWindow::showAnalysis() {
    if (!analysisWindow_)
        analysisWindow_ = new AnalysisWindow(*this);
    analysisWindow_->show();
    analysisWindow_->raise();
    analysisWindow_->activateWindow();
}

void MainWindow::showVersion() {
    boxes::plain(context_.ui, buildinfo::versionMessage(buildinfo::readFileVersion(
                                  QCoreApplication::applicationFilePath())));
}

void MainWindow::handleKey(int key) {
    const bool running = run_->session().running();
    if (key == Qt::Key_Delete && !running && historyList->hasFocus() &&
        historyList->topLevelItemCount() > 0) {
        if (boxes::confirm(context_.ui,
                           QStringLiteral("Möchten Sie diese Messreihe wirklich löschen?"),
                           {QStringLiteral("OK"), QStringLiteral("Abbrechen")}))
            history_->deleteSelectedMeasurement();
    }
    if (key == Qt::Key_Delete && !running && athleteGrid->hasFocus() &&
        athleteModel->rowCount() > 0) {
        if (boxes::confirm(context_.ui,
                           QStringLiteral("Möchten Sie diesen Patienten wirklich löschen?"),
                           {QStringLiteral("OK"), QStringLiteral("Abbrechen")}))
            athletes_->deleteSelected();
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        toggleRun();
}

void MainWindow::saveSettings() {
    if (settingsSaved_ || !shown_)
        return;
    settingsSaved_ = true;
    settings_.mode = mode() == MeasurementMode::Single ? 1 : 2;
    settings_.contactMinMs = limits_.contactMinMs;
    settings_.contactMaxMs = limits_.contactMaxMs;
    settings_.flightMinMs = limits_.flightMinMs;
    settings_.flightMaxMs = limits_.flightMaxMs;
    if (auto stored = context_.openSettings()) {
        writeSettings(*stored, settings_);
        writeWindowGeometry(*stored, saveGeometry());
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

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    guarded([this] { relayoutAfterResize(); });
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // A run still going is ended as the user's stop would end it.
    guarded([this] {
        if (run_->session().running())
            run_->session().stop();
    });
    event->accept();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // The window sees every key before the focused control; the key still reaches it.
    // A key that the focused control leaves unused travels on to its parents: it is handled
    // once, at its first receiver.
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
