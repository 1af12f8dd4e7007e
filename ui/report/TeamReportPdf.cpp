// Lays the team report out on the report pages and saves it as a PDF.

#include "ui/report/TeamReportPdf.h"

#include "core/base/FileNames.h"
#include "core/base/FileOutput.h"
#include "core/store/DataStore.h"
#include "ui/common/JumpCharts.h"
#include "ui/common/MessageService.h"
#include "ui/common/Widgets.h"
#include "ui/report/PageLayout.h"

#include <QCoreApplication>

#include <algorithm>

namespace reportpdf {
namespace {

// The texts of this file that the user reads, in the translation context "reportpdf".
struct TextsOfReportpdf {
    Q_DECLARE_TR_FUNCTIONS(reportpdf)
};

// Lays the team report out: the ranking, the bar chart of the best RSI, a line per athlete.
class TeamLayout : public PageLayout {
public:
    TeamLayout(PageFlow& flow, QPaintDevice* device, const report::TeamReport& report)
        : PageLayout(flow, device), report_(report) {}

    void build() {
        title(report::teamTitle(report_));
        for (const QString& line : report::headingLines(report_))
            block(Text(line, body_, device_, flow_.width()));
        if (report_.rows.isEmpty()) {
            flow_.skip(padding_ * 4);
            block(Text(TextsOfReportpdf::tr("Die Gruppe hat keine Sportler."), body_, device_,
                       flow_.width()));
            return;
        }
        QList<QStringList> lines;
        for (const ranking::Row& row : report_.rows)
            lines << ranking::texts(row);
        const Qt::Alignment right = Qt::AlignRight;
        table(TextsOfReportpdf::tr("Rangliste"), ranking::header(), lines,
              {0.07, 0.15, 0.13, 0.11, 0.09, 0.13, 0.14, 0.18},
              {right, Qt::AlignLeft, Qt::AlignLeft, right, right, right, right, right});
        if (std::any_of(report_.rows.cbegin(), report_.rows.cend(),
                        [](const ranking::Row& row) { return row.rsiChange.has_value(); }))
            block(
                Text(ranking::changeMarkNote(report_.worthwhile), small_, device_, flow_.width()));

        // A bar per athlete; the chart grows with the squad.
        const double share = std::max(kChartHeightShare, 0.08 * report_.rows.size());
        chartWithHeading(
            TextsOfReportpdf::tr("Bester RSI"),
            [this] { return jumpcharts::bestRsiChart(report_.rows); }, share);

        // One line each, in the table's small face.
        headingBefore(TextsOfReportpdf::tr("Sportler"), rowHeight(small_));
        for (const ranking::Row& row : report_.rows) {
            block(Text(report::athleteLine(row), small_, device_, flow_.width()));
            flow_.skip(padding_);
        }
    }

private:
    const report::TeamReport& report_;
};

} // namespace

int writeTeam(const report::TeamReport& report, QIODevice& device, const QDateTime& madeAt) {
    PdfPages pages(device, report::teamTitle(report));
    TeamLayout layout(pages.flow(), pages.device(), report);
    layout.build();
    return pages.paint(madeAt);
}

void saveTeam(MessageService& messages, DataStore& store, const Group& group,
              const ranking::Period& period, const std::optional<ranking::RankedTest>& test) {
    const QString path = messages.saveFileName(
        {TextsOfReportpdf::tr("Teambericht speichern"), TextsOfReportpdf::tr("PDF-Datei|*.pdf"),
         QStringLiteral("pdf"),
         filenames::suggested({group.name}, QDate::currentDate(), QStringLiteral("pdf"))});
    if (path.isEmpty())
        return;
    std::optional<QString> failure;
    {
        widgets::BusyCursor busy;
        GroupRepository& groups = store.groups();
        const QList<ranking::AthleteData> read =
            ranking::read(store.athletes(), groups, group.id, period);
        const ranking::RankedTest ranked = test.value_or(ranking::RankedTest{});
        const std::optional<realchange::Worthwhile> worthwhile = ranking::worthwhileRsi(
            read, period, ranked, ranking::setWorthwhile(store.retests(), ranked));
        const report::TeamReport content = report::team(
            group, period, test, ranking::rank(read, period, ranked, worthwhile), worthwhile);
        failure = fileoutput::write(path, [&content](QIODevice& file) {
            reportpdf::writeTeam(content, file, QDateTime::currentDateTime());
            return true;
        });
    }
    if (failure)
        boxes::plain(messages, *failure);
}

} // namespace reportpdf
