// The window "Auswertung": the statistics table, the charts, the choosers and the saved picture.

#include "ui/analysis/AnalysisWindow.h"

#include "core/analysis/Comparison.h"
#include "core/analysis/ProtocolResults.h"
#include "core/analysis/Ranking.h"
#include "core/analysis/StoredMeasurements.h"
#include "core/base/FileNames.h"
#include "core/base/FileOutput.h"
#include "core/base/Texts.h"
#include "core/history/History.h"
#include "core/measure/MeasurementTest.h"
#include "core/store/DataStore.h"
#include "core/store/GroupRepository.h"
#include "core/store/MeasurementRepository.h"
#include "ui/athletes/AthleteController.h"
#include "ui/common/JumpCharts.h"
#include "ui/common/MessageService.h"
#include "ui/history/HistoryController.h"

#include <QAction>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// Each chart of the saved picture is laid out at this size.
constexpr QSize kImageChart(1000, 450);

// What an entry of the compare chooser stands for: a measurement of the athlete (by its
// Nummer) or the newest measurement of another athlete (by his ID).
enum CompareKind { OwnMeasurement = 0, OtherAthlete = 1 };
constexpr int kKindRole = Qt::UserRole;
constexpr int kIdRole = Qt::UserRole + 1;

QChartView* chartView(const QString& name, QWidget* parent) {
    auto* view = new QChartView(parent);
    view->setObjectName(name);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(420, 220);
    return view;
}

// The texts of the free functions here, in the window's translation context.
struct AnalysisTexts {
    Q_DECLARE_TR_FUNCTIONS(AnalysisWindow)
};

// The title of a measurement's chart: its date and time and whether it is a series.
QString measurementTitle(const Measurement& m) {
    const QString kind =
        m.jumpCount > 1 ? AnalysisTexts::tr("Serie") : AnalysisTexts::tr("Einzelmessung");
    QString title = kind;
    if (m.moment.isValid())
        title = AnalysisTexts::tr("%1 vom %2, %3")
                    .arg(kind, texts::dateText(m.moment.date()), texts::timeText(m.moment.time()));
    const QString test = measurementtest::description(m.test);
    return test.isEmpty() ? title : title + QStringLiteral(" – ") + test;
}

// A measurement in a column head or a legend: "Nr. 3, 01.03.2026".
QString shortName(const Measurement& m) {
    const QString number = AnalysisTexts::tr("Nr. %1").arg(m.measurementNumber);
    return m.moment.isValid() ? number + QStringLiteral(", ") + texts::dateText(m.moment.date())
                              : number;
}

// The newest of an athlete's measurements; one without a valid moment is the oldest.
std::optional<Measurement> newest(const QList<Measurement>& rows) {
    std::optional<Measurement> found;
    for (const Measurement& row : rows) {
        const bool newer =
            !found || (row.moment.isValid() && !found->moment.isValid()) ||
            (row.moment.isValid() == found->moment.isValid() && row.moment >= found->moment);
        if (newer)
            found = row;
    }
    return found;
}

} // namespace

AnalysisWindow::AnalysisWindow(HistoryController& history, AthleteController& athletes,
                               DataStore& store, MessageService& messages, QWidget* parent)
    : QWidget(parent, Qt::Window), history_(history), athletes_(athletes), store_(store),
      messages_(messages) {
    setObjectName(QStringLiteral("analysisWindow"));
    setWindowTitle(tr("Auswertung"));
    resize(1100, 760);

    heading_ = new QLabel(this);
    heading_->setObjectName(QStringLiteral("headingLabel"));
    QFont bold = heading_->font();
    bold.setBold(true);
    heading_->setFont(bold);

    statisticsTable_ =
        new QTableWidget(static_cast<int>(analysis::statisticsNames().size()), 2, this);
    statisticsTable_->setObjectName(QStringLiteral("statisticsTable"));
    statisticsTable_->verticalHeader()->setVisible(false);
    statisticsTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    statisticsTable_->setSelectionMode(QAbstractItemView::NoSelection);
    statisticsTable_->setFocusPolicy(Qt::NoFocus);
    statisticsTable_->setWordWrap(false);

    compareBox_ = new QCheckBox(tr("&Vergleichen mit:"), this);
    compareBox_->setObjectName(QStringLiteral("compareBox"));
    compareChooser_ = new QComboBox(this);
    compareChooser_->setObjectName(QStringLiteral("compareChooser"));
    compareChooser_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    compareChooser_->setEnabled(false);
    // Which of another athlete's measurements: his newest of the same test, or one of his list.
    otherMeasurementChooser_ = new QComboBox(this);
    otherMeasurementChooser_->setObjectName(QStringLiteral("otherMeasurementChooser"));
    otherMeasurementChooser_->setAccessibleName(tr("Messung des anderen Sportlers"));
    otherMeasurementChooser_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    otherMeasurementChooser_->setEnabled(false);
    otherMeasurementChooser_->hide();
    auto* lineLabel = new QLabel(tr("&Verlauf:"), this);
    lineLabel->setObjectName(QStringLiteral("lineLabel"));
    lineChooser_ = new QComboBox(this);
    lineChooser_->setObjectName(QStringLiteral("lineChooser"));
    lineChooser_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    lineLabel->setBuddy(lineChooser_);

    measurementView_ = chartView(QStringLiteral("measurementView"), this);
    progressView_ = chartView(QStringLiteral("progressView"), this);
    noiseLabel_ = new QLabel(this);
    noiseLabel_->setObjectName(QStringLiteral("noiseLabel"));
    noiseLabel_->setWordWrap(true);
    protocolLabel_ = new QLabel(this);
    protocolLabel_->setObjectName(QStringLiteral("protocolLabel"));
    protocolLabel_->setWordWrap(true);
    protocolLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    protocolLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    profileTable_ = new QTableWidget(this);
    profileTable_->setObjectName(QStringLiteral("profileTable"));
    profileTable_->verticalHeader()->setVisible(false);
    profileTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    profileTable_->setSelectionMode(QAbstractItemView::NoSelection);
    profileTable_->setFocusPolicy(Qt::NoFocus);
    profileTable_->hide();

    copyButton_ = new QPushButton(tr("&Kopieren"), this);
    copyButton_->setObjectName(QStringLiteral("copyButton"));
    saveImageButton_ = new QPushButton(tr("Als &Bild speichern …"), this);
    saveImageButton_->setObjectName(QStringLiteral("saveImageButton"));
    auto* closeButton = new QPushButton(tr("Schließen"), this);
    closeButton->setObjectName(QStringLiteral("closeButton"));

    auto* choosers = new QHBoxLayout;
    choosers->addWidget(compareBox_);
    choosers->addWidget(compareChooser_);
    choosers->addWidget(otherMeasurementChooser_);
    choosers->addSpacing(24);
    choosers->addWidget(lineLabel);
    choosers->addWidget(lineChooser_);
    choosers->addStretch(1);
    auto* charts = new QVBoxLayout;
    charts->addWidget(measurementView_, 1);
    charts->addWidget(profileTable_);
    charts->addWidget(progressView_, 1);
    charts->addWidget(noiseLabel_);
    auto* left = new QVBoxLayout;
    left->addWidget(statisticsTable_);
    left->addWidget(protocolLabel_);
    left->addStretch(1);
    auto* body = new QHBoxLayout;
    body->addLayout(left);
    body->addLayout(charts, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(copyButton_);
    buttons->addWidget(saveImageButton_);
    buttons->addStretch(1);
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading_);
    layout->addLayout(choosers);
    layout->addLayout(body, 1);
    layout->addLayout(buttons);

    auto* copyAction = new QAction(this);
    copyAction->setShortcut(QKeySequence::Copy);
    copyAction->setShortcutContext(Qt::WindowShortcut);
    addAction(copyAction);
    connect(copyAction, &QAction::triggered, this,
            [this] { guarded([this] { copyStatistics(); }); });
    connect(copyButton_, &QPushButton::clicked, this,
            [this] { guarded([this] { copyStatistics(); }); });
    connect(saveImageButton_, &QPushButton::clicked, this,
            [this] { guarded([this] { saveChartsAsImage(); }); });
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    connect(compareBox_, &QCheckBox::toggled, this, [this](bool on) {
        compareChooser_->setEnabled(on);
        guarded([this] { refresh(); });
    });
    connect(otherMeasurementChooser_, &QComboBox::currentIndexChanged, this, [this] {
        if (!filling_ && compareBox_->isChecked())
            guarded([this] { refresh(); });
    });
    connect(compareChooser_, &QComboBox::currentIndexChanged, this, [this] {
        if (!filling_ && compareBox_->isChecked())
            guarded([this] { refresh(); });
    });
    connect(lineChooser_, &QComboBox::currentIndexChanged, this, [this] {
        if (!filling_)
            guarded([this] { showProgress(); });
    });

    history_.whenSelectionChanges([this] { refreshSoon(); });
}

void AnalysisWindow::guarded(const std::function<void()>& handler) {
    runGuarded(messages_, handler);
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
    const std::optional<qint64> measurementNumber = history_.selectedMeasurementNumber();
    const std::optional<Athlete> athlete = athletes_.selected();

    QList<Measurement> rows;
    measurements_.clear();
    measurement_.reset();
    jumps_.clear();
    // A measurement not yet on the server is analysed as the journal holds it; it has no
    // number to compare or to follow a line by yet.
    const std::optional<JournalEntry> journalled = history_.chosenJournalled();
    if (athleteId != 0) {
        MeasurementRepository& repository = store_.measurements();
        rows = repository.ofAthlete(athleteId);
        measurements_ = analysis::storedMeasurements(repository, athleteId, rows);
        for (qsizetype i = 0; i < rows.size(); ++i) {
            if (measurementNumber && rows[i].measurementNumber == *measurementNumber) {
                measurement_ = rows[i];
                jumps_ = measurements_[i].jumps;
            }
        }
    }
    if (journalled) {
        const QList<Jump> jumps = history::journalledJumps(*journalled);
        measurement_ = Measurement{0,
                                   athleteId,
                                   journalled->measurement.moment,
                                   0,
                                   jumps.size(),
                                   journalled->measurement.test,
                                   journalled->measurement.protocol};
        jumps_ = analysis::storedJumps(jumps);
    }
    statistics_ = analysis::jumpStatistics(jumps_);
    fillCompareChooser(athleteId, rows);
    fillLineChooser(measurementNumber);
    shownAthlete_ = athleteId;
    shownMeasurementNumber_ = measurementNumber;
    compared_ = measurement_ && !journalled ? readCompared(rows) : std::nullopt;

    QString heading = tr("Kein Sportler gewählt");
    if (athlete && athlete->id == athleteId)
        heading = QStringLiteral("%1, %2").arg(athlete->name, athlete->firstName);
    if (measurement_)
        heading += QStringLiteral(" – ") + measurementTitle(*measurement_);
    if (journalled)
        heading += QStringLiteral(" – ") + tr("noch nicht auf dem Server");
    heading_->setText(heading);
    heading_->setToolTip(journalled ? history::notOnServerLegend() : QString());
    copyButton_->setEnabled(measurement_.has_value());
    showStatistics();
    showProtocol(rows);

    // A view does not delete the chart it shows when it gets another.
    QChart* oldMeasurement = measurementView_->chart();
    measurementView_->setChart(measurementChart());
    delete oldMeasurement;
    showProgress();
}

void AnalysisWindow::fillLineChooser(std::optional<qint64> selectedMeasurementNumber) {
    const QList<progress::Line> lines = progress::linesOf(measurements_);
    // The line follows the selected measurement; the user's choice holds until that changes.
    std::optional<progress::Line> chosen;
    const int current = lineChooser_->currentIndex();
    if (shownAthlete_ == history_.athleteId() &&
        shownMeasurementNumber_ == selectedMeasurementNumber && current >= 0 &&
        current < lines_.size() && lines.contains(lines_[current]))
        chosen = lines_[current];
    else
        chosen = progress::defaultLine(measurements_, selectedMeasurementNumber);
    lines_ = lines;
    filling_ = true;
    lineChooser_->clear();
    for (const progress::Line& line : lines_)
        lineChooser_->addItem(progress::lineText(line, lines_));
    lineChooser_->setCurrentIndex(chosen ? static_cast<int>(lines_.indexOf(*chosen)) : -1);
    lineChooser_->setEnabled(!lines_.isEmpty());
    filling_ = false;
}

void AnalysisWindow::fillCompareChooser(qint64 athleteId, const QList<Measurement>& rows) {
    const QVariant kind = compareChooser_->currentData(kKindRole);
    const QVariant id = compareChooser_->currentData(kIdRole);
    filling_ = true;
    compareChooser_->clear();
    if (athleteId != 0) {
        // The athlete's other measurements, newest first as in the history list.
        for (auto row = rows.crbegin(); row != rows.crend(); ++row) {
            if (history_.selectedMeasurementNumber() == row->measurementNumber)
                continue;
            compareChooser_->addItem(
                measurementTitle(*row).prepend(shortName(*row) + QStringLiteral(": ")));
            compareChooser_->setItemData(compareChooser_->count() - 1, OwnMeasurement, kKindRole);
            compareChooser_->setItemData(compareChooser_->count() - 1, row->measurementNumber,
                                         kIdRole);
        }
        for (const Athlete& other : store_.athletes().all()) {
            if (other.id == athleteId)
                continue;
            compareChooser_->addItem(
                tr("%1, %2: neueste Messung desselben Tests").arg(other.name, other.firstName));
            compareChooser_->setItemData(compareChooser_->count() - 1, OtherAthlete, kKindRole);
            compareChooser_->setItemData(compareChooser_->count() - 1, other.id, kIdRole);
        }
    }
    int index = 0;
    for (int i = 0; i < compareChooser_->count(); ++i)
        if (compareChooser_->itemData(i, kKindRole) == kind &&
            compareChooser_->itemData(i, kIdRole) == id)
            index = i;
    compareChooser_->setCurrentIndex(compareChooser_->count() > 0 ? index : -1);

    // Another athlete's measurements, newest first, after his newest of the same test.
    const QVariant chosenOther = otherMeasurementChooser_->currentData();
    otherMeasurementChooser_->clear();
    const bool other = compareChooser_->currentIndex() >= 0 &&
                       compareChooser_->currentData(kKindRole).toInt() == OtherAthlete;
    const qint64 otherId = other ? compareChooser_->currentData(kIdRole).toLongLong() : 0;
    if (other) {
        otherMeasurementChooser_->addItem(tr("neueste desselben Tests"), qint64{0});
        const QList<Measurement> his = store_.measurements().ofAthlete(otherId);
        for (auto row = his.crbegin(); row != his.crend(); ++row)
            otherMeasurementChooser_->addItem(
                measurementTitle(*row).prepend(shortName(*row) + QStringLiteral(": ")),
                row->measurementNumber);
        // A measurement chosen of another athlete before is not his.
        otherMeasurementChooser_->setCurrentIndex(
            otherId == otherAthleteListed_
                ? std::max(0, otherMeasurementChooser_->findData(chosenOther))
                : 0);
    }
    otherAthleteListed_ = otherId;
    otherMeasurementChooser_->setEnabled(other && compareBox_->isChecked());
    otherMeasurementChooser_->setVisible(other);
    filling_ = false;
}

std::optional<AnalysisWindow::Compared>
AnalysisWindow::readCompared(const QList<Measurement>& rows) {
    if (!compareBox_->isChecked() || compareChooser_->currentIndex() < 0)
        return std::nullopt;
    const qint64 id = compareChooser_->currentData(kIdRole).toLongLong();
    if (compareChooser_->currentData(kKindRole).toInt() == OwnMeasurement) {
        for (qsizetype i = 0; i < rows.size(); ++i)
            if (rows[i].measurementNumber == id)
                return Compared{shortName(rows[i]), measurements_[i].jumps,
                                analysis::jumpStatistics(measurements_[i].jumps)};
        return std::nullopt;
    }
    // Another athlete's newest measurement of the same test and drop height: a 10/5 is not
    // compared with a drop jump.
    // Or the one chosen from his list.
    MeasurementRepository& repository = store_.measurements();
    const qint64 chosenNumber = otherMeasurementChooser_->currentData().toLongLong();
    QList<Measurement> sameTest;
    for (const Measurement& row : repository.ofAthlete(id))
        if (chosenNumber != 0 ? row.measurementNumber == chosenNumber
                              : measurement_ && row.test == measurement_->test)
            sameTest << row;
    const std::optional<Measurement> latest = newest(sameTest);
    const QString athleteName = compareChooser_->currentText().section(QLatin1Char(':'), 0, 0);
    if (!latest)
        return Compared{
            athleteName + QStringLiteral(" – ") + tr("keine Messung desselben Tests"), {}, {}};
    const QList<analysis::StoredJump> jumps =
        analysis::storedMeasurement(repository, id, *latest).jumps;
    return Compared{athleteName + QStringLiteral(" (") + shortName(*latest) + QStringLiteral(")"),
                    jumps, analysis::jumpStatistics(jumps)};
}

void AnalysisWindow::showStatistics() {
    const QStringList names = analysis::statisticsNames();
    if (compared_) {
        const QString first = shortName(*measurement_);
        statisticsTable_->setColumnCount(4);
        statisticsTable_->setHorizontalHeaderLabels(
            {tr("Kennwert"), first, compared_->name,
             // On two lines, so that the column stays as narrow as its numbers.
             analysis::differenceTitle().replace(QStringLiteral(" ("), QStringLiteral("\n("))});
        const QList<analysis::ComparisonRow> rows =
            analysis::comparison(statistics_, compared_->statistics);
        for (int r = 0; r < rows.size(); ++r) {
            const QStringList cells{rows[r].name, rows[r].first, rows[r].second,
                                    rows[r].difference};
            for (int c = 0; c < cells.size(); ++c) {
                auto* item = new QTableWidgetItem(cells[c]);
                if (c > 0)
                    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                statisticsTable_->setItem(r, c, item);
            }
        }
    } else {
        statisticsTable_->setColumnCount(2);
        statisticsTable_->setHorizontalHeaderLabels({tr("Kennwert"), tr("Wert")});
        const QStringList values =
            measurement_ ? analysis::statisticsTexts(statistics_) : QStringList(names.size());
        for (int r = 0; r < names.size(); ++r) {
            statisticsTable_->setItem(r, 0, new QTableWidgetItem(names[r]));
            auto* value = new QTableWidgetItem(values[r]);
            value->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            statisticsTable_->setItem(r, 1, value);
        }
    }
    // Every column as wide as its title and widest value, the table as wide as its columns.
    statisticsTable_->resizeColumnsToContents();
    const int valueWidth =
        statisticsTable_->fontMetrics().horizontalAdvance(QStringLiteral("-0000,00 ")) + 12;
    int width = 2 * statisticsTable_->frameWidth() + 4;
    for (int c = 0; c < statisticsTable_->columnCount(); ++c) {
        if (c > 0)
            statisticsTable_->setColumnWidth(
                c, std::max(statisticsTable_->columnWidth(c), valueWidth));
        width += statisticsTable_->columnWidth(c);
    }
    statisticsTable_->setFixedWidth(width);
    // As high as its rows: the protocol's result follows right below.
    int height = statisticsTable_->horizontalHeader()->sizeHint().height() +
                 2 * statisticsTable_->frameWidth();
    for (int r = 0; r < statisticsTable_->rowCount(); ++r)
        height += statisticsTable_->rowHeight(r);
    statisticsTable_->setFixedHeight(height);
}

void AnalysisWindow::showProtocol(const QList<Measurement>& rows) {
    profile_.reset();
    QStringList lines;
    const MeasurementProtocol protocol =
        measurement_ ? measurement_->protocol : MeasurementProtocol{};
    if (protocol.kind == Protocol::TenFive) {
        const protocolresults::TenFiveText result = protocolresults::tenFiveText(jumps_);
        lines << result.heading << result.rule;
        for (const protocolresults::Field& field : result.fields)
            lines << QStringLiteral("%1: %2").arg(field.name, field.value);
        if (!result.note.isEmpty())
            lines << result.note;
    } else if (protocol.kind == Protocol::DropHeightProfile) {
        // The trials are measurements of the athlete: their jumps are read already.
        QList<analysis::MeasurementJumps> trials;
        for (qsizetype i = 0; i < rows.size(); ++i)
            if (rows[i].protocol == protocol)
                trials << measurements_[i];
        profile_ = protocols::dropHeightProfile(protocolresults::profileTrials(trials));
        const std::optional<ProfilePlan> plan = store_.measurements().profile(protocol.profileId);
        lines << protocolresults::profileHeading(plan ? plan->moment : QDateTime());
        for (const protocolresults::Field& field : protocolresults::profileOptima(*profile_))
            lines << QStringLiteral("%1: %2").arg(field.name, field.value);
        const QStringList header = protocolresults::profileTableHeader();
        const QList<QStringList> steps = protocolresults::profileTableTexts(*profile_);
        profileTable_->clear();
        profileTable_->setColumnCount(static_cast<int>(header.size()));
        profileTable_->setRowCount(static_cast<int>(steps.size()));
        profileTable_->setHorizontalHeaderLabels(header);
        for (int r = 0; r < steps.size(); ++r)
            for (int c = 0; c < steps[r].size(); ++c) {
                auto* item = new QTableWidgetItem(steps[r][c]);
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                profileTable_->setItem(r, c, item);
            }
        profileTable_->resizeColumnsToContents();
        // As high as its rows: the charts keep the rest.
        int height = profileTable_->horizontalHeader()->sizeHint().height() +
                     2 * profileTable_->frameWidth();
        for (int r = 0; r < profileTable_->rowCount(); ++r)
            height += profileTable_->rowHeight(r);
        // Room for a scroll bar, should the columns be wider than the window.
        height += profileTable_->horizontalScrollBar()->sizeHint().height();
        profileTable_->setFixedHeight(std::min(height, 220));
    }
    protocolLabel_->setText(lines.join(QLatin1Char('\n')));
    protocolLabel_->setVisible(!lines.isEmpty());
    profileTable_->setVisible(profile_.has_value());
}

QChart* AnalysisWindow::measurementChart() const {
    if (!measurement_)
        return jumpcharts::noteChart(jumpcharts::noMeasurementText());
    if (compared_)
        return jumpcharts::comparisonChart(jumps_, shortName(*measurement_), compared_->jumps,
                                           compared_->name);
    if (profile_)
        return jumpcharts::profileChart(*profile_);
    return jumpcharts::measurementChart(jumps_, measurementTitle(*measurement_));
}

QChart* AnalysisWindow::progressChart() const {
    const int current = lineChooser_->currentIndex();
    if (current < 0 || current >= lines_.size())
        return jumpcharts::noteChart(jumpcharts::noProgressText());
    const progress::Line& line = lines_[current];
    const QList<analysis::ProgressPoint> points = progress::pointsOf(measurements_, line);
    return jumpcharts::progressChart(
        points, progress::noise(points, progress::Measure::BestRsi, lineWorthwhile_, lineRepeats_),
        progress::lineText(line, lines_));
}

void AnalysisWindow::showProgress() {
    // The smallest worthwhile change of the line's test among the athlete's groups.
    // with the test–retest pairs the user marked.
    lineWorthwhile_.reset();
    lineRepeats_.clear();
    const int chosen = lineChooser_->currentIndex();
    if (chosen >= 0 && chosen < lines_.size() && shownAthlete_ > 0) {
        GroupRepository& groups = store_.groups();
        RetestRepository& retests = store_.retests();
        lineWorthwhile_ = ranking::worthwhileForAthlete(
            store_.athletes(), groups, shownAthlete_, lines_[chosen].test, QDate::currentDate(),
            retests.worthwhileChange(lines_[chosen].test));
        lineRepeats_ = retests.pairsOf(shownAthlete_);
    }
    QChart* oldProgress = progressView_->chart();
    progressView_->setChart(progressChart());
    delete oldProgress;
    const int current = lineChooser_->currentIndex();
    QString note;
    if (current >= 0 && current < lines_.size()) {
        const auto points = progress::pointsOf(measurements_, lines_[current]);
        note = progress::noiseText(
            progress::noise(points, progress::Measure::BestRsi, lineWorthwhile_, lineRepeats_),
            progress::Measure::BestRsi);
    }
    noiseLabel_->setText(note);
}

void AnalysisWindow::copyStatistics() {
    if (!measurement_)
        return;
    if (compared_)
        messages_.setClipboardText(analysis::comparisonClipboardText(
            analysis::comparison(statistics_, compared_->statistics), shortName(*measurement_),
            compared_->name));
    else
        messages_.setClipboardText(analysis::statisticsClipboardText(statistics_));
}

void AnalysisWindow::saveChartsAsImage() {
    const std::optional<Athlete> athlete = athletes_.selected();
    const QStringList names =
        athlete ? QStringList{athlete->name, athlete->firstName} : QStringList();
    const QString path = messages_.saveFileName(
        {tr("Bild speichern"), tr("PNG-Bild|*.png"), QStringLiteral("png"),
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
        jumpcharts::draw(progressChart(), painter, top.translated(0, kImageChart.height()),
                         kImageChart);
    }
    if (const auto failure =
            fileoutput::write(path, [&image](QIODevice& file) { return image.save(&file, "PNG"); }))
        boxes::plain(messages_, *failure);
}
