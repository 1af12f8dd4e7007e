// Lays the athlete report out on the report pages and saves it as a PDF.

#include "ui/report/AthleteReportPdf.h"

#include "core/analysis/Ranking.h"
#include "core/base/FileNames.h"
#include "core/base/FileOutput.h"
#include "core/store/DataStore.h"
#include "core/store/GroupRepository.h"
#include "ui/common/JumpCharts.h"
#include "ui/common/MessageService.h"
#include "ui/report/PageLayout.h"

#include <QCoreApplication>
#include <QPainter>

#include <algorithm>

namespace reportpdf {
namespace {

// The texts of this file that the user reads, in the translation context "reportpdf".
struct TextsOfReportpdf {
    Q_DECLARE_TR_FUNCTIONS(reportpdf)
};

// Lays the athlete's report out on the pages of a flow.
class ReportLayout : public PageLayout {
public:
    ReportLayout(PageFlow& flow, QPaintDevice* device, const report::AthleteReport& report)
        : PageLayout(flow, device), report_(report) {}

    void build() {
        const Athlete& a = report_.athlete;
        title(TextsOfReportpdf::tr("Bericht: %1, %2").arg(a.name, a.firstName));

        const QStringList names = report::athleteFieldNames();
        const QStringList values = report::athleteFieldTexts(a);
        fields(names, values);

        if (report_.lines.isEmpty()) {
            flow_.skip(padding_ * 4);
            block(
                Text(TextsOfReportpdf::tr("Für diesen Sportler sind keine Messungen gespeichert."),
                     body_, device_, flow_.width()));
            return;
        }

        // The progress of one test and drop height, the note on its band under it.
        const Text noiseNote(progress::noiseText(report_.noise, progress::Measure::BestRsi), small_,
                             device_, flow_.width());
        const double chartHeight =
            std::min(flow_.width() * kChartHeightShare, maxChartHeight() - noiseNote.height());
        headingBefore(TextsOfReportpdf::tr("Verlauf"), chartHeight + noiseNote.height());
        flow_.place(chartHeight, [this](QPainter& painter, const QRectF& rect) {
            drawChart(
                painter, rect,
                jumpcharts::progressChart(report_.progress, report_.noise, report_.progressLine));
        });
        block(noiseNote);
        measurementTable();

        if (const auto& selected = report_.selected) {
            const QStringList statisticNames = analysis::statisticsNames();
            const QStringList statisticValues = analysis::statisticsTexts(selected->statistics);
            QList<QStringList> statisticLines;
            for (int i = 0; i < statisticNames.size(); ++i)
                statisticLines << QStringList{statisticNames[i], statisticValues[i]};
            table(report::measurementHeading(*selected),
                  {TextsOfReportpdf::tr("Kennwert"), TextsOfReportpdf::tr("Wert")}, statisticLines,
                  {0.4, 0.2}, {Qt::AlignLeft, Qt::AlignRight});
            flow_.skip(padding_ * 2);
            const double height = flow_.width() * kChartHeightShare;
            flow_.place(height, [this](QPainter& painter, const QRectF& rect) {
                const auto& line = *report_.selected;
                drawChart(
                    painter, rect,
                    jumpcharts::measurementChart(line.jumps, report::measurementHeading(line)));
            });
            protocolResult();
            const Qt::Alignment right = Qt::AlignRight;
            const QList<QStringList> jumpLines = report::jumpTableTexts(selected->jumps);
            QList<bool> excluded;
            for (const QStringList& jump : jumpLines)
                excluded << !jump.last().isEmpty();
            table(TextsOfReportpdf::tr("Sprünge der Messung Nr. %1").arg(selected->position),
                  report::jumpTableHeader(), jumpLines, {0.08, 0.16, 0.16, 0.14, 0.14, 0.32},
                  {right, right, right, right, right, Qt::AlignLeft}, excluded);
        }
    }

private:
    // The 10/5 result with its rule, or the drop-height profile the measurement is a trial of.
    void protocolResult() {
        if (const auto& tenFive = report_.tenFive) {
            QList<QStringList> lines;
            for (const protocolresults::Field& field : tenFive->fields)
                lines << QStringList{field.name, field.value};
            if (!tenFive->note.isEmpty())
                lines << QStringList{tenFive->note, QString()};
            table(tenFive->heading + QStringLiteral(": ") + tenFive->rule,
                  {TextsOfReportpdf::tr("Kennwert"), TextsOfReportpdf::tr("Wert")}, lines,
                  {0.4, 0.2}, {Qt::AlignLeft, Qt::AlignRight});
        }
        if (const auto& profile = report_.profile) {
            QList<QStringList> optima;
            for (const protocolresults::Field& field :
                 protocolresults::profileOptima(profile->profile))
                optima << QStringList{field.name, field.value};
            table(profile->heading,
                  {TextsOfReportpdf::tr("Kennwert"), TextsOfReportpdf::tr("Wert")}, optima,
                  {0.4, 0.2}, {Qt::AlignLeft, Qt::AlignRight});
            flow_.skip(padding_ * 2);
            flow_.place(
                flow_.width() * kChartHeightShare, [this](QPainter& painter, const QRectF& rect) {
                    drawChart(painter, rect, jumpcharts::profileChart(report_.profile->profile));
                });
            const Qt::Alignment right = Qt::AlignRight;
            table(TextsOfReportpdf::tr("Je Fallhöhe"), protocolresults::profileTableHeader(),
                  protocolresults::profileTableTexts(profile->profile),
                  {0.14, 0.12, 0.16, 0.22, 0.16, 0.20}, {right, right, right, right, right, right});
        }
    }

    // All measurements, newest first.
    void measurementTable() {
        const Qt::Alignment right = Qt::AlignRight;
        QList<QStringList> lines;
        for (const report::MeasurementLine& line : report_.lines)
            lines << report::tableTexts(line);
        table(TextsOfReportpdf::tr("Messungen"), report::tableHeader(), lines,
              {0.05, 0.12, 0.10, 0.07, 0.10, 0.10, 0.11, 0.11, 0.12, 0.12},
              {right, Qt::AlignLeft, Qt::AlignLeft, Qt::AlignLeft, right, right, right, right,
               Qt::AlignLeft, right});
    }

    const report::AthleteReport& report_;
};

} // namespace

int write(const report::AthleteReport& report, QIODevice& device, const QDateTime& madeAt) {
    PdfPages pages(
        device,
        TextsOfReportpdf::tr("Bericht: %1, %2").arg(report.athlete.name, report.athlete.firstName));
    ReportLayout layout(pages.flow(), pages.device(), report);
    layout.build();
    return pages.paint(madeAt);
}

void saveAthleteReport(MessageService& messages, DataStore& store, const Athlete& athlete,
                       std::optional<qint64> chosenMeasurement) {
    const QString path =
        messages.saveFileName({TextsOfReportpdf::tr("Bericht speichern"),
                               TextsOfReportpdf::tr("PDF-Datei|*.pdf"), QStringLiteral("pdf"),
                               filenames::suggested({athlete.name, athlete.firstName},
                                                    QDate::currentDate(), QStringLiteral("pdf"))});
    if (path.isEmpty())
        return;
    std::optional<QString> failure;
    {
        MeasurementRepository& measurements = store.measurements();
        const int total = static_cast<int>(measurements.countOfAthlete(athlete.id));
        const auto progress = messages.showProgress(
            TextsOfReportpdf::tr("Bericht wird erstellt … %1 von %2 Messungen"), total);
        const std::optional<report::AthleteReport> content = report::read(
            measurements, athlete, chosenMeasurement,
            [&progress](int done) { return progress->update(done); },
            [&store, &athlete](const MeasurementTest& test) {
                GroupRepository& groups = store.groups();
                return ranking::worthwhileForAthlete(store.athletes(), groups, athlete.id, test,
                                                     QDate::currentDate(),
                                                     store.retests().worthwhileChange(test));
            },
            store.retests().pairsOf(athlete.id));
        if (!content)
            return; // cancelled: nothing written, an earlier file stays
        failure = fileoutput::write(path, [&content](QIODevice& file) {
            reportpdf::write(*content, file, QDateTime::currentDateTime());
            return true;
        });
    }
    if (failure)
        boxes::plain(messages, *failure);
}

} // namespace reportpdf
