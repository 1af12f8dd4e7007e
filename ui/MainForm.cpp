#include "ui/MainForm.h"

#include "core/base/Errors.h"
#include "core/base/MessageService.h"
#include "core/link/D2XXUnit.h"
#include "core/link/TimingLink.h"
#include "core/store/Database.h"
#include "core/store/ResultSet.h"
#include "core/store/SecurityTools.h"
#include "core/store/Tables.h"
#include "ui/Anchors.h"
#include "ui/AthleteGrid.h"
#include "ui/Icons.h"
#include "ui/ResultSetModel.h"
#include "ui/Widgets.h"
#include "ui/trig.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

namespace {

// Design size of the area below the tool bar, in which the two groups are placed.
constexpr QSize kPanelDesign(700, 564);
constexpr QSize kResultDesign(684, 73);
constexpr QSize kDataDesign(684, 471);

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

QLineEdit* field(const QString& name, QWidget* parent, int x, int y, bool enabled) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setGeometry(x, y, 81, 22);
    edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    edit->setReadOnly(true);
    edit->setEnabled(enabled);
    // Values stay legible while the field is disabled.
    QPalette pal = edit->palette();
    pal.setColor(QPalette::Disabled, QPalette::Text, pal.color(QPalette::Active, QPalette::Text));
    edit->setPalette(pal);
    return edit;
}

QTableView* grid(const QString& name, QWidget* parent, ResultSetModel* model) {
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

void setCaptionColour(QWidget* button, const QColor& colour) {
    QPalette pal = button->palette();
    pal.setColor(QPalette::Active, QPalette::ButtonText, colour);
    pal.setColor(QPalette::Inactive, QPalette::ButtonText, colour);
    button->setPalette(pal);
}

std::unique_ptr<QSettings> userSettings() {
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("Morvek"), QStringLiteral("QRV"));
}

TForm1::TForm1(AppContext& context, QWidget* parent)
    : QMainWindow(parent), ctx_(context),
      unit_(std::make_unique<D2XXUnit>(context.driver, context.ui)),
      link_(std::make_unique<TimingLink>(*unit_, context.clock)) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Kalvero"));
    setWindowIcon(icons::image(8));
    buildActions();
    buildMenus();
    buildToolBar();
    buildPanels();
    resize(714, 644);
    setMinimumSize(600, 640);
    qApp->installEventFilter(this);
    guarded([this] { FormCreate(); });
}

TForm1::~TForm1() {
    qApp->removeEventFilter(this);
    FormDestroy();
}

QAction* TForm1::makeAction(const QString& name, const QString& caption, const QString& hint,
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

void TForm1::buildActions() {
    close1 = makeAction(QStringLiteral("close1"), QStringLiteral("&Beenden"),
                        QStringLiteral("Programm beenden"), {}, 5);
    SingleExport = makeAction(QStringLiteral("SingleExport"), QStringLiteral("&Export"), {},
                              QKeySequence(Qt::CTRL | Qt::Key_E), 13);
    AllExport = makeAction(QStringLiteral("AllExport"), QStringLiteral("&Alle Exportieren"), {},
                           QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_E), 13);
    Action13 = makeAction(QStringLiteral("Action13"), QStringLiteral("&Einzelmessung"), {}, {}, -1);
    Action14 =
        makeAction(QStringLiteral("Action14"), QStringLiteral("&Mehrfachmessung"), {}, {}, -1);
    Action13->setCheckable(true);
    Action14->setCheckable(true);
    Action8 = makeAction(QStringLiteral("Action8"), QStringLiteral("S&ettings"), {}, {}, 9);
    Action6 = makeAction(QStringLiteral("Action6"), QStringLiteral("Alle &zeigen"),
                         QStringLiteral("Alle zeigen"), QKeySequence(Qt::CTRL | Qt::Key_Z), 4);
    Action1 = makeAction(QStringLiteral("Action1"), QStringLiteral("&Suchen"),
                         QStringLiteral("Sportler suchen"), QKeySequence(Qt::CTRL | Qt::Key_F), 1);
    Action2 = makeAction(QStringLiteral("Action2"), QStringLiteral("&Neuer Sportler"),
                         QStringLiteral("Neuer Sportler"), QKeySequence(Qt::CTRL | Qt::Key_N), 0);
    SAendern = makeAction(QStringLiteral("SAendern"), QStringLiteral("&Daten ändern"),
                          QStringLiteral("Daten ändern"), QKeySequence(Qt::CTRL | Qt::Key_A), 3);
    Action4 = makeAction(QStringLiteral("Action4"), QStringLiteral("Sportler &löschen"), {},
                         QKeySequence(Qt::CTRL | Qt::Key_L), 2);
    // Short captions where an action shows as a button; the menus show the entries above.
    Action6->setIconText(QStringLiteral("Zeigen"));
    Action1->setIconText(QStringLiteral("Suchen"));
    Action2->setIconText(QStringLiteral("Neuer Sportler"));
    SAendern->setIconText(QStringLiteral("Daten ändern"));
    Action4->setIconText(QStringLiteral("Löschen"));
    BugBee = makeAction(QStringLiteral("BugBee"), QStringLiteral("Debug"), {}, {}, -1);
    BugBee->setVisible(false);
    Action15 = makeAction(QStringLiteral("Action15"), QStringLiteral("&Info"), {}, {}, -1);
    Start1 = makeAction(QStringLiteral("Start1"), QStringLiteral("Messung starten"),
                        QStringLiteral("Messung starten (F5)"), QKeySequence(Qt::Key_F5), 8);

    connect(close1, &QAction::triggered, this, [this] { guarded([this] { close1Execute(); }); });
    connect(Action13, &QAction::triggered, this,
            [this] { guarded([this] { Action13Execute(); }); });
    connect(Action14, &QAction::triggered, this,
            [this] { guarded([this] { Action14Execute(); }); });
    connect(Start1, &QAction::triggered, this, [this] { guarded([this] { Start1Execute(); }); });
    const QList<std::pair<QAction*, void (TForm1::*)()>> handlers{
        {Action8, &TForm1::Action8Execute},
        {Action6, &TForm1::Action6Execute},
        {Action1, &TForm1::Action1Execute},
        {Action2, &TForm1::Action2Execute},
        {SAendern, &TForm1::SAendernExecute},
        {Action4, &TForm1::Action4Execute},
        {SingleExport, &TForm1::SingleExportExecute},
        {AllExport, &TForm1::AllExportExecute},
        {BugBee, &TForm1::BugBeeExecute},
        {Action15, &TForm1::Action15Execute}};
    for (const auto& [action, handler] : handlers)
        connect(action, &QAction::triggered, this,
                [this, h = handler] { guarded([this, h] { (this->*h)(); }); });
}

void TForm1::buildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("ActionMainMenuBar1"));

    DateiMenu = bar->addMenu(QStringLiteral("&Datei"));
    DateiMenu->setSeparatorsCollapsible(false);
    DateiMenu->addSeparator();
    DateiMenu->addAction(close1);
    ExportMenu = DateiMenu->addMenu(icons::image(13), QStringLiteral("&Exportieren"));
    ExportMenu->addAction(SingleExport);
    ExportMenu->addAction(AllExport);

    BetriebsartMenu = bar->addMenu(QStringLiteral("&Betriebsart"));
    BetriebsartMenu->addAction(Action13);
    BetriebsartMenu->addAction(Action14);

    OptionenMenu = bar->addMenu(QStringLiteral("&Optionen"));
    OptionenMenu->addAction(Action8);

    DatenMenu = bar->addMenu(QStringLiteral("D&aten"));
    DatenMenu->addAction(Action6);
    DatenMenu->addAction(Action1);
    DatenMenu->addSeparator();
    DatenMenu->addAction(Action2);
    DatenMenu->addAction(SAendern);
    DatenMenu->addAction(Action4);

    bar->addAction(BugBee);
    bar->addAction(Action15);
}

void TForm1::buildToolBar() {
    ActionToolBar1 = addToolBar(QStringLiteral("Werkzeuge"));
    ActionToolBar1->setObjectName(QStringLiteral("ActionToolBar1"));
    ActionToolBar1->setMovable(false);
    ActionToolBar1->setFloatable(false);
    ActionToolBar1->setIconSize(QSize(16, 16));
    ActionToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    ActionToolBar1->toggleViewAction()->setEnabled(false);
    ActionToolBar1->addAction(Action1);
    ActionToolBar1->addAction(Action6);
    ActionToolBar1->addAction(Action2);
    ActionToolBar1->addAction(SAendern);
    setContextMenuPolicy(Qt::NoContextMenu);
}

void TForm1::buildPanels() {
    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->resize(kPanelDesign);
    setCentralWidget(Panel1);

    // Result panel.
    GroupBox2 = new QGroupBox(QStringLiteral("Messergebnisse"), Panel1);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setGeometry(QRect(QPoint(8, 8), kResultDesign));
    Label1 = boldLabel(QStringLiteral("Label1"), QStringLiteral("Stützzeit:"), GroupBox2, 8, 22);
    Edit1 = field(QStringLiteral("Edit1"), GroupBox2, 80, 19, false);
    Label4 = plainLabel(QStringLiteral("Label4"), QStringLiteral("ms"), GroupBox2, 168, 23);
    Label2 = boldLabel(QStringLiteral("Label2"), QStringLiteral("Flugzeit:"), GroupBox2, 8, 47);
    Edit2 = field(QStringLiteral("Edit2"), GroupBox2, 80, 44, false);
    Label5 = plainLabel(QStringLiteral("Label5"), QStringLiteral("ms"), GroupBox2, 168, 48);
    Label3 = boldLabel(QStringLiteral("Label3"), QStringLiteral("Höhe(cm):"), GroupBox2, 208, 22);
    Edit4 = field(QStringLiteral("Edit4"), GroupBox2, 290, 19, true);
    Label6 = boldLabel(QStringLiteral("Label6"), QStringLiteral("Effizienz:"), GroupBox2, 208, 47);
    Edit3 = field(QStringLiteral("Edit3"), GroupBox2, 290, 44, false);

    SpeedButton4 = new QToolButton(GroupBox2);
    SpeedButton4->setObjectName(QStringLiteral("SpeedButton4"));
    SpeedButton4->setGeometry(471, 16, 205, 49);
    SpeedButton4->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    SpeedButton4->setIcon(icons::image(8));
    SpeedButton4->setIconSize(QSize(24, 24));
    SpeedButton4->setToolTip(Start1->toolTip());
    SpeedButton4->setAutoRaise(false);
    SpeedButton4->setFocusPolicy(Qt::NoFocus);
    {
        QFont f = SpeedButton4->font();
        f.setBold(true);
        SpeedButton4->setFont(f);
    }
    setStartButton(true);
    connect(SpeedButton4, &QToolButton::clicked, Start1, &QAction::trigger);

    // Data panel.
    GroupBox3 = new QGroupBox(QStringLiteral("Daten"), Panel1);
    GroupBox3->setObjectName(QStringLiteral("GroupBox3"));
    GroupBox3->setGeometry(QRect(QPoint(8, 85), kDataDesign));

    using F = ResultSetModel::Format;
    DataSource1 = new ResultSetModel({{QStringLiteral("ID"), QStringLiteral("ID"), F::Integer},
                                      {QStringLiteral("Vorname"), QStringLiteral("Vorname")},
                                      {QStringLiteral("Name"), QStringLiteral("Name")},
                                      {QStringLiteral("Geb"), QStringLiteral("Geb. am"), F::Date},
                                      {QStringLiteral("Bemerkung1"), QStringLiteral("Bemerkung")}},
                                     this);
    DBGrid1 = grid(QStringLiteral("DBGrid1"), GroupBox3, DataSource1);
    DBGrid1->setGeometry(8, 20, 668, 232);
    // Design widths, widened where the font needs more room for a date.
    const int dateWidth = DBGrid1->fontMetrics().horizontalAdvance(QStringLiteral("00.00.00000"));
    const int widths1[] = {30, 115, 115, std::max(60, dateWidth), 400};
    for (int i = 0; i < 5; ++i)
        DBGrid1->setColumnWidth(i, widths1[i]);

    ListView2 = new QTreeWidget(GroupBox3);
    ListView2->setObjectName(QStringLiteral("ListView2"));
    ListView2->setGeometry(8, 264, 361, 193);
    ListView2->setColumnCount(8);
    ListView2->setHeaderLabels({QStringLiteral("Nr."), QStringLiteral("Datum"),
                                QStringLiteral("Uhrzeit"), QStringLiteral("Stützzeit(ms)"),
                                QStringLiteral("Flugzeit(ms)"), QStringLiteral("Effizienz"),
                                QStringLiteral("Höhe(cm)"), QString()});
    ListView2->setColumnHidden(7, true);
    ListView2->setRootIsDecorated(false);
    ListView2->setUniformRowHeights(true);
    ListView2->setAllColumnsShowFocus(true);
    ListView2->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView2->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView2->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView2->setItemDelegate(new widgets::GridLinesDelegate(ListView2));
    ListView2->header()->setStretchLastSection(false);
    ListView2->header()->setSectionsMovable(false);
    const int widths2[] = {30, 65, 49, 65, 65, 17, 16};
    for (int i = 0; i < 7; ++i)
        ListView2->setColumnWidth(i, widths2[i]);
    connect(ListView2, &QTreeWidget::itemSelectionChanged, this,
            [this] { guarded([this] { ListView2SelectItem(SelectedHistoryItem()); }); });

    DataSource3 =
        new ResultSetModel({{QStringLiteral("Anzahl"), QStringLiteral("Anzahl"), F::Number,
                             Qt::AlignLeft | Qt::AlignVCenter},
                            {QStringLiteral("SZ"), QStringLiteral("Stützzeit(ms)"), F::Number},
                            {QStringLiteral("FZ"), QStringLiteral("Flugzeit(ms)"), F::Number},
                            {QStringLiteral("Eff"), QStringLiteral("Effizienz"), F::Number},
                            {QStringLiteral("hoehe"), QStringLiteral("Höhe(cm)"), F::Number}},
                           this);
    DBGrid3 = grid(QStringLiteral("DBGrid3"), GroupBox3, DataSource3);
    DBGrid3->setGeometry(376, 264, 299, 193);
    const int widths3[] = {40, 65, 65, 65};
    for (int i = 0; i < 4; ++i)
        DBGrid3->setColumnWidth(i, widths3[i]);

    // Invisible marker whose top edge sizes the window at first show.
    SpeedButton1 = new QWidget(Panel1);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setGeometry(592, 550, 1, 1);
    SpeedButton1->hide();

    PanelAnchors = new Anchors(Panel1, kPanelDesign);
    PanelAnchors->add(GroupBox2, Anchors::StretchRight);
    PanelAnchors->add(GroupBox3, Anchors::StretchRight | Anchors::StretchDown);
    ResultAnchors = new Anchors(GroupBox2, kResultDesign);
    ResultAnchors->add(SpeedButton4, Anchors::StretchRight);
    DataAnchors = new Anchors(GroupBox3, kDataDesign);
    DataAnchors->add(DBGrid1, Anchors::StretchRight);
    DataAnchors->add(ListView2, Anchors::StretchDown);
    DataAnchors->add(DBGrid3, Anchors::StretchRight | Anchors::StretchDown);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(100);
    connect(Timer1, &QTimer::timeout, this, [this] { guarded([this] { Timer1Timer(); }); });
}

void TForm1::guarded(const std::function<void()>& handler) {
    runGuarded(ctx_.ui, handler);
}

QAction* TForm1::action(const QString& name) const {
    return findChild<QAction*>(name);
}

ResultSet& TForm1::Query1() {
    if (!query1_)
        throw AppError(QStringLiteral("Die Datenbank ist nicht geöffnet"));
    return *query1_;
}

ResultSet& TForm1::Query2() {
    if (!query2_)
        throw AppError(QStringLiteral("Die Datenbank ist nicht geöffnet"));
    return *query2_;
}

ResultSet& TForm1::Query3() {
    if (!query3_)
        throw AppError(QStringLiteral("Die Datenbank ist nicht geöffnet"));
    return *query3_;
}

void TForm1::FormCreate() {
    setWindowTitle(QStringLiteral("Kalvero"));
    Limits.TriggerEdge1 = true;
    Limits.TriggerEdge2 = true;
    resize(750, height());

    db_ = std::make_unique<Database>(ctx_.dataDirectory);
    query1_ = std::make_unique<ResultSet>(*db_, QStringLiteral("Query1"), tables::sportlerRows());
    query2_ = std::make_unique<ResultSet>(*db_, QStringLiteral("Query2"), tables::unitsRows());
    query3_ = std::make_unique<ResultSet>(*db_, QStringLiteral("Query3"), tables::mrRows());
    query1_->setAfterScroll([this] { Query1AfterScroll(); });
    query3_->setCalcFields({QStringLiteral("hoehe")},
                           [this](ResultSet::CalcRow& row) { Query3CalcFields(row); });
    DataSource1->setResultSet(query1_.get());
    DataSource3->setResultSet(query3_.get());
    linkGridToCursor(DBGrid1, *query1_, ctx_.ui);
    linkGridToCursor(DBGrid3, *query3_, ctx_.ui);

    query1_->setSql(tables::kQuery1Start);
    query2_->setSql(tables::kQuery2Start);
    query3_->setSql(tables::kQuery3Start);
    query1_->open();
    query2_->open();
    query3_->open();
    query1_->first();

    DBGrid1->setFocus();

    const QStringList& args = ctx_.arguments;
    BugBee->setVisible(!args.isEmpty() && args.first() == QStringLiteral("debug"));
}

void TForm1::FormShow() {
    const QRect dataRect = GroupBox3->geometry();
    const int chrome = menuBar()->sizeHint().height() + ActionToolBar1->sizeHint().height();
    resize(dataRect.left() + dataRect.width() + 10, chrome + SpeedButton1->geometry().top() + 10);

    if (auto settings = ctx_.openSettings())
        readSettings(*settings, Settings);
    Betriebsart = Settings.Betriebsart;
    Limits.PSZmin = Settings.PSZmin;
    Limits.PSZmax = Settings.PSZmax;
    Limits.PFZmin = Settings.PFZmin;
    Limits.PFZmax = Settings.PFZmax;

    setModeChecks(false, false);
    if (Betriebsart == 1) {
        Action13->setChecked(true);
        Action13Execute();
    } else {
        Action14->setChecked(true);
        Action14Execute();
    }

    if (ListView2->topLevelItemCount() > 0) {
        QTreeWidgetItem* first = ListView2->topLevelItem(0);
        ListView2SelectItem(first);
        first->setSelected(true);
    }
}

void TForm1::setModeChecks(bool single, bool multiple) {
    Action13->setChecked(single);
    Action14->setChecked(multiple);
}

void TForm1::Action13Execute() {
    Betriebsart = 1;
    setWindowTitle(QStringLiteral("Kalvero (Einzelmessung)"));
    ShowOneMessung(0);
    setModeChecks(true, false);
}

void TForm1::Action14Execute() {
    Betriebsart = 2;
    setWindowTitle(QStringLiteral("Kalvero (Mehrfachmessung)"));
    QTreeWidgetItem* selected =
        ListView2->selectedItems().isEmpty() ? nullptr : ListView2->selectedItems().first();
    ShowMehrMessung(0);
    ListView2SelectItem(selected);
    setModeChecks(false, true);
}

void TForm1::FormResize() {
    RelayoutPending = true;
    if (Betriebsart == 1)
        Action13->setChecked(true);
    else
        Action14->setChecked(true);
    if (ListView2->topLevelItemCount() > 0 && !ListView2->selectedItems().isEmpty()) {
        QTreeWidgetItem* selected = ListView2->selectedItems().first();
        ListView2SelectItem(selected);
        selected->setSelected(true);
    }
}

void TForm1::FormKeyDown(int key) {
    if (key == Qt::Key_Delete && ListView2->hasFocus() && ListView2->topLevelItemCount() > 0) {
        if (boxes::confirm(ctx_.ui, QStringLiteral("Möchten Sie diese Messreihe wirklich löschen?"),
                           {QStringLiteral("OK"), QStringLiteral("Abbrechen")}))
            DelUeb();
    }
    if (key == Qt::Key_Delete && DBGrid1->hasFocus() && query1_ && query1_->isOpen() &&
        !query1_->isEmpty()) {
        if (boxes::confirm(ctx_.ui,
                           QStringLiteral("Möchten Sie diesen Patienten wirklich löschen?"),
                           {QStringLiteral("OK"), QStringLiteral("Abbrechen")}))
            DelPat();
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        Start1Execute();
}

void TForm1::close1Execute() {
    close();
}

void TForm1::FormClose() {
    // A run still going is ended as the user's stop would end it.
    if (running())
        StopRun();
    if (query1_)
        query1_->close();
    if (query2_)
        query2_->close();
}

void TForm1::FormDestroy() {
    if (destroyed_ || !shown_)
        return;
    destroyed_ = true;
    Settings.Betriebsart = Betriebsart;
    Settings.PSZmin = Limits.PSZmin;
    Settings.PSZmax = Limits.PSZmax;
    Settings.PFZmin = Limits.PFZmin;
    Settings.PFZmax = Limits.PFZmax;
    if (auto settings = ctx_.openSettings())
        writeSettings(*settings, Settings);
}

bool TForm1::CanWrite() {
    if (!ProbeWriteAccess(Query2())) {
        boxes::plain(
            ctx_.ui,
            QStringLiteral(
                "Messung nicht möglich , da nicht auf Datenbanken geschrieben werden kann."));
        return false;
    }
    return true;
}

void TForm1::Action8Execute() {
    if (Form4)
        Form4->exec();
}

void TForm1::setVisible(bool visible) {
    // The first show is prepared before the window appears.
    if (visible && !shown_) {
        shown_ = true;
        guarded([this] { FormShow(); });
    }
    QMainWindow::setVisible(visible);
}

void TForm1::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    guarded([this] { FormResize(); });
}

void TForm1::closeEvent(QCloseEvent* event) {
    guarded([this] { FormClose(); });
    event->accept();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
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
            guarded([this, key] { FormKeyDown(key); });
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
