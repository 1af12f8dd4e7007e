#include "ui/AnalysisWindow.h"

#include "core/analysis/StoredMeasurements.h"
#include "core/base/FileNames.h"
#include "core/base/FileOutput.h"
#include "core/base/Texts.h"
#include "core/measure/MeasurementTest.h"
#include "core/store/DataStore.h"
#include "core/store/MeasurementRepository.h"
#include "ui/AthleteController.h"
#include "ui/HistoryController.h"
#include "ui/JumpCharts.h"
#include "ui/MessageService.h"

#include <QAction>
#include <QChart>
#include <QChartView>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// Each chart of the saved picture is laid out at this size.
constexpr QSize kImageChart(1000, 450);

QChartView* chartView(const QString& name, QWidget* parent) {
    auto* view = new QChartView(parent);
    view->setObjectName(name);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(420, 240);
    return view;
}

// The title of a measurement's chart: its date and time and whether it is a series.
QString measurementTitle(const Measurement& m) {
    const QString kind =
        m.jumpCount > 1 ? QStringLiteral("Serie") : QStringLiteral("Einzelmessung");
    QString title = kind;
    if (m.moment.isValid())
        title = QStringLiteral("%1 vom %2, %3")
                    .arg(kind, texts::dateText(m.moment.date()), texts::timeText(m.moment.time()));
    const QString test = measurementtest::description(m.test);
    return test.isEmpty() ? title : title + QStringLiteral(" – ") + test;
}

} // namespace

AnalysisWindow::AnalysisWindow(HistoryController& history, AthleteController& athletes,
                               DataStore& store, MessageService& ui, QWidget* parent)
    : QWidget(parent, Qt::Window), history_(history), athletes_(athletes), store_(store), ui_(ui) {
    setObjectName(QStringLiteral("analysisWindow"));
    setWindowTitle(QStringLiteral("Auswertung"));
    resize(980, 680);

    headingLabel = new QLabel(this);
    headingLabel->setObjectName(QStringLiteral("headingLabel"));
    QFont bold = headingLabel->font();
    bold.setBold(true);
    headingLabel->setFont(bold);

    statisticsTable = new QTableWidget(10, 2, this);
    statisticsTable->setObjectName(QStringLiteral("statisticsTable"));
    statisticsTable->setHorizontalHeaderLabels(
        {QStringLiteral("Kennwert"), QStringLiteral("Wert")});
    statisticsTable->verticalHeader()->setVisible(false);
    statisticsTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    statisticsTable->setSelectionMode(QAbstractItemView::NoSelection);
    statisticsTable->setFocusPolicy(Qt::NoFocus);
    statisticsTable->setWordWrap(false);
    const QStringList names = analysis::statisticsNames();
    for (int r = 0; r < names.size(); ++r) {
        statisticsTable->setItem(r, 0, new QTableWidgetItem(names[r]));
        auto* value = new QTableWidgetItem;
        value->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        statisticsTable->setItem(r, 1, value);
    }
    statisticsTable->resizeColumnToContents(0);
    statisticsTable->setColumnWidth(
        1, statisticsTable->fontMetrics().horizontalAdvance(QStringLiteral("-0000,00 ")) + 12);
    statisticsTable->horizontalHeader()->setStretchLastSection(true);
    statisticsTable->setFixedWidth(statisticsTable->columnWidth(0) +
                                   statisticsTable->columnWidth(1) +
                                   2 * statisticsTable->frameWidth() + 4);

    measurementView = chartView(QStringLiteral("measurementView"), this);
    progressView = chartView(QStringLiteral("progressView"), this);

    copyButton = new QPushButton(QStringLiteral("&Kopieren"), this);
    copyButton->setObjectName(QStringLiteral("copyButton"));
    saveImageButton = new QPushButton(QStringLiteral("Als &Bild speichern …"), this);
    saveImageButton->setObjectName(QStringLiteral("saveImageButton"));
    closeButton = new QPushButton(QStringLiteral("Schließen"), this);
    closeButton->setObjectName(QStringLiteral("closeButton"));

    auto* charts = new QVBoxLayout;
    charts->addWidget(measurementView, 1);
    charts->addWidget(progressView, 1);
    auto* body = new QHBoxLayout;
    body->addWidget(statisticsTable);
    body->addLayout(charts, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(copyButton);
    buttons->addWidget(saveImageButton);
    buttons->addStretch(1);
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(headingLabel);
    layout->addLayout(body, 1);
    layout->addLayout(buttons);

    auto* copyAction = new QAction(this);
    copyAction->setShortcut(QKeySequence::Copy);
    copyAction->setShortcutContext(Qt::WindowShortcut);
    addAction(copyAction);
    connect(copyAction, &QAction::triggered, this,
            [this] { guarded([this] { copyStatistics(); }); });
    connect(copyButton, &QPushButton::clicked, this,
            [this] { guarded([this] { copyStatistics(); }); });
    connect(saveImageButton, &QPushButton::clicked, this,
            [this] { guarded([this] { saveChartsAsImage(); }); });
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);

    history_.whenSelectionChanges([this] { refreshSoon(); });
}

void AnalysisWindow::guarded(const std::function<void()>& handler) {
    runGuarded(ui_, handler);
}

void AnalysisWindow::refreshSoon() {
    if (!isVisible() || refreshPending_)
        return;
    refreshPending_ = true;
    QTimer::singleShot(0, this, [this] {
        refreshPending_ = false;
        guarded([this] { refresh(); });
    });
}

void AnalysisWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    guarded([this] { refresh(); });
}

void AnalysisWindow::refresh() {
    const qint64 athleteId = history_.athleteId();
    const std::optional<qint64> nummer = history_.selectedNummer();
    const std::optional<Athlete> athlete = athletes_.selected();

    QList<analysis::MeasurementJumps> measurements;
    measurement_.reset();
    jumps_.clear();
    if (athleteId != 0) {
        MeasurementRepository& repository = store_.measurements();
        const QList<Measurement> rows = repository.ofAthlete(athleteId);
        measurements = analysis::storedMeasurements(repository, athleteId, rows);
        for (qsizetype i = 0; i < rows.size(); ++i) {
            if (nummer && rows[i].nummer == *nummer) {
                measurement_ = rows[i];
                jumps_ = measurements[i].jumps;
            }
        }
    }
    progress_ = analysis::athleteProgress(measurements);
    statistics_ = analysis::jumpStatistics(jumps_);

    QString heading = QStringLiteral("Kein Sportler gewählt");
    if (athlete && athlete->id == athleteId)
        heading = QStringLiteral("%1, %2").arg(athlete->name, athlete->firstName);
    if (measurement_)
        heading += QStringLiteral(" – ") + measurementTitle(*measurement_);
    headingLabel->setText(heading);

    copyButton->setEnabled(measurement_.has_value());
    const QStringList values = measurement_ ? analysis::statisticsTexts(statistics_)
                                            : QStringList(analysis::statisticsNames().size());
    for (int r = 0; r < values.size(); ++r)
        statisticsTable->item(r, 1)->setText(values[r]);

    // A view does not delete the chart it shows when it gets another.
    QChart* oldMeasurement = measurementView->chart();
    measurementView->setChart(measurementChart());
    delete oldMeasurement;
    QChart* oldProgress = progressView->chart();
    progressView->setChart(jumpcharts::progressChart(progress_));
    delete oldProgress;
}

QChart* AnalysisWindow::measurementChart() const {
    if (!measurement_)
        return jumpcharts::noteChart(jumpcharts::kNoMeasurement);
    return jumpcharts::measurementChart(jumps_, measurementTitle(*measurement_));
}

void AnalysisWindow::copyStatistics() {
    if (!measurement_)
        return;
    ui_.setClipboardText(analysis::statisticsClipboardText(statistics_));
}

void AnalysisWindow::saveChartsAsImage() {
    const std::optional<Athlete> athlete = athletes_.selected();
    const QStringList names =
        athlete ? QStringList{athlete->name, athlete->firstName} : QStringList();
    const QString path = ui_.saveFileName(
        {QStringLiteral("Bild speichern"), QStringLiteral("PNG-Bild|*.png"), QStringLiteral("png"),
         filenames::suggested(names, QDate::currentDate(), QStringLiteral("png"))});
    if (path.isEmpty())
        return;
    QImage image(kImageChart.width(), 2 * kImageChart.height(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF top(QPointF(0, 0), kImageChart);
        jumpcharts::draw(measurementChart(), painter, top, kImageChart);
        jumpcharts::draw(jumpcharts::progressChart(progress_), painter,
                         top.translated(0, kImageChart.height()), kImageChart);
    }
    if (const auto failure =
            fileoutput::write(path, [&image](QIODevice& file) { return image.save(&file, "PNG"); }))
        boxes::plain(ui_, *failure);
}
