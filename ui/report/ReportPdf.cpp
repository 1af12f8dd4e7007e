#include "ui/report/ReportPdf.h"

#include "core/base/FileNames.h"
#include "core/base/FileOutput.h"
#include "core/base/Texts.h"
#include "core/report/Pagination.h"
#include "core/store/DataStore.h"
#include "ui/athletes/AthleteController.h"
#include "ui/common/JumpCharts.h"
#include "ui/common/MessageService.h"
#include "ui/common/Widgets.h"
#include "ui/history/HistoryController.h"

#include <QChart>
#include <QCoreApplication>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QPdfWriter>
#include <QRawFont>
#include <QTextLayout>

#include <algorithm>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace reportpdf {
namespace {

// The texts of this file that the user reads, in the translation context "reportpdf".
struct TextsOfReportpdf {
    Q_DECLARE_TR_FUNCTIONS(reportpdf)
};

constexpr int kResolution = 300; // dots per inch of the page's coordinates
// A chart is laid out at this width (in the chart's own pixels) and scaled onto the page.
constexpr double kChartLayoutWidth = 620;
constexpr double kChartHeightShare = 0.45; // of the page's width

// A text broken into lines at a width: at word boundaries, inside a word only where the word
// alone is wider than the line.
class Text {
public:
    Text(const QString& text, const QFont& font, QPaintDevice* device, double width,
         Qt::Alignment alignment = Qt::AlignLeft)
        : layout_(std::make_shared<QTextLayout>(text, font, device)) {
        QTextOption option(alignment);
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout_->setTextOption(option);
        layout_->setCacheEnabled(true);
        layout_->beginLayout();
        for (QTextLine line = layout_->createLine(); line.isValid(); line = layout_->createLine()) {
            line.setLineWidth(width);
            line.setPosition(QPointF(0, height_));
            height_ += line.height();
        }
        layout_->endLayout();
    }
    double height() const { return height_; }
    void draw(QPainter& painter, QPointF at) const { layout_->draw(&painter, at); }
    // The glyphs as laid out, placed from the text's top left corner.
    QList<QGlyphRun> glyphRuns() const { return layout_->glyphRuns(); }

private:
    std::shared_ptr<QTextLayout> layout_;
    double height_ = 0;
};

// The body of the pages, filled from top to bottom. What a page shows is recorded and painted
// once the number of pages is known.
class PageFlow {
public:
    using Painting = std::function<void(QPainter&, const QRectF&)>;

    explicit PageFlow(QSizeF body) : body_(body) { pages_.emplaceBack(); }

    double width() const { return body_.width(); }
    double remaining() const { return body_.height() - y_; }
    int pageCount() const { return static_cast<int>(pages_.size()); }

    void newPage() {
        pages_.emplaceBack();
        y_ = 0;
    }
    // Where a block went: its page (from 0) and its place on it.
    struct Placed {
        int page = 0;
        QRectF rect;
    };
    // Puts a block of `height` below the last one, on the next page when it does not fit on
    // this one (a block higher than a page starts a page of its own).
    Placed place(double height, Painting paint) {
        if (height > remaining() && y_ > 0)
            newPage();
        const QRectF rect(0, y_, body_.width(), height);
        pages_.last().emplaceBack(rect, std::move(paint));
        y_ += height;
        return {pageCount() - 1, rect};
    }
    // Paints over what a page shows already, without taking room on it.
    void paintOver(int page, const QRectF& rect, Painting paint) {
        pages_[page].emplaceBack(rect, std::move(paint));
    }
    void skip(double height) { y_ = std::min(body_.height(), y_ + height); }
    double pageHeight() const { return body_.height(); }
    bool atTop() const { return y_ == 0; }

    void paint(int page, QPainter& painter) const {
        for (const auto& [rect, paint] : pages_[page])
            if (paint)
                paint(painter, rect);
    }

private:
    QSizeF body_;
    double y_ = 0;
    QList<QList<std::pair<QRectF, Painting>>> pages_;
};

const QColor kRule(150, 150, 150);
const QColor kHeaderFill(235, 235, 235);
const QColor kGreyedText(140, 140, 140);

// A cell's text laid out: its height and its glyphs, placed from the top left corner of the
// text inside the cell's padding.
struct CellText {
    double height = 0;
    QList<QGlyphRun> glyphs;
};

// The texts of one column's cells, each laid out once: the long tables repeat most of their
// texts (days, kinds, tests, values).
class ColumnTexts {
public:
    ColumnTexts(const QFont& font, double width, Qt::Alignment alignment, QPaintDevice* device)
        : font_(font), width_(width), alignment_(alignment), device_(device) {}

    bool isFor(const QFont& font, double width, Qt::Alignment alignment) const {
        return width == width_ && alignment == alignment_ && font == font_;
    }
    CellText text(const QString& cell) {
        const auto found = texts_.constFind(cell);
        if (found != texts_.cend())
            return *found;
        const Text text(cell, font_, device_, width_, alignment_);
        return *texts_.insert(cell, {text.height(), text.glyphRuns()});
    }

private:
    QFont font_;
    double width_;
    Qt::Alignment alignment_;
    QPaintDevice* device_;
    QHash<QString, CellText> texts_;
};

// One row of a table, measured but not placed: its cells' texts, as high as the highest.
struct TableRow {
    double height = 0;
    QList<CellText> cells;
    bool header = false; // on a grey ground
    bool greyed = false; // in grey letters: an excluded jump
};

// The rows of a table placed one below the other. The rows that stand together on a page are
// painted at once: the header's ground, the texts as few runs of glyphs (one for each stretch
// of rows in the same face and colour, in the rows' order), and the rules (a line above and
// below each row and at each edge of the columns). A PDF page then holds a few long texts and
// one set of lines instead of a text and a frame for each cell.
class TableRows {
public:
    TableRows(PageFlow& flow, QList<double> edges, double padding)
        : flow_(flow), edges_(std::move(edges)), padding_(padding) {}

    void place(const TableRow& row) {
        const PageFlow::Placed placed = flow_.place(row.height, {});
        if (!rows_.isEmpty() && placed.page != page_)
            finish();
        page_ = placed.page;
        rows_.append({placed.rect, row});
    }
    // Paints the rows placed since the last page's.
    void finish() {
        if (rows_.isEmpty())
            return;
        const double left = edges_.first();
        const double right = edges_.last();
        const double top = rows_.first().first.top();
        const double bottom = rows_.last().first.bottom();
        QList<QRectF> grounds;
        QList<QLineF> lines;
        lines.reserve(rows_.size() + 1 + edges_.size());
        GlyphRuns texts;
        for (const auto& [rect, row] : std::as_const(rows_)) {
            if (row.header)
                grounds << QRectF(left, rect.top(), right - left, rect.height());
            lines << QLineF(left, rect.top(), right, rect.top());
            const QColor colour = row.greyed ? kGreyedText : QColor(Qt::black);
            for (qsizetype c = 0; c < row.cells.size(); ++c)
                texts.add(row.cells[c].glyphs, colour,
                          QPointF(rect.left() + edges_[c] + padding_, rect.top() + padding_));
        }
        lines << QLineF(left, bottom, right, bottom);
        for (const double x : std::as_const(edges_))
            lines << QLineF(x, top, x, bottom);
        flow_.paintOver(page_, QRectF(left, top, right - left, bottom - top),
                        [grounds, runs = texts.finish(), lines](QPainter& painter, const QRectF&) {
                            for (const QRectF& ground : grounds)
                                painter.fillRect(ground, kHeaderFill);
                            for (const auto& [colour, run] : runs) {
                                painter.setPen(colour);
                                painter.drawGlyphRun(QPointF(0, 0), run);
                            }
                            painter.setPen(QPen(kRule, 0));
                            painter.drawLines(lines);
                        });
        rows_.clear();
    }

private:
    // Glyphs gathered into runs: a new run where the face or the colour changes.
    class GlyphRuns {
    public:
        void add(const QList<QGlyphRun>& runs, const QColor& colour, QPointF at) {
            for (const QGlyphRun& run : runs) {
                const QRawFont face = run.rawFont();
                if (colour != colour_ || face != face_) {
                    close();
                    colour_ = colour;
                    face_ = face;
                }
                indexes_ << run.glyphIndexes();
                for (const QPointF& position : run.positions())
                    positions_ << position + at;
            }
        }
        QList<std::pair<QColor, QGlyphRun>> finish() {
            close();
            return std::move(runs_);
        }

    private:
        void close() {
            if (indexes_.isEmpty())
                return;
            QGlyphRun run;
            run.setRawFont(face_);
            run.setGlyphIndexes(indexes_);
            run.setPositions(positions_);
            runs_.emplaceBack(colour_, run);
            indexes_.clear();
            positions_.clear();
        }

        QColor colour_;
        QRawFont face_;
        QList<quint32> indexes_;
        QList<QPointF> positions_;
        QList<std::pair<QColor, QGlyphRun>> runs_;
    };

    PageFlow& flow_;
    QList<double> edges_;
    double padding_;
    int page_ = 0;
    QList<std::pair<QRectF, TableRow>> rows_;
};

// What the layouts of the reports share: the fonts, blocks of text, headings kept with what
// follows them, charts and tables.
class LayoutBase {
public:
    LayoutBase(PageFlow& flow, QPaintDevice* device) : flow_(flow), device_(device) {
        body_ = QGuiApplication::font();
        body_.setPointSizeF(10);
        small_ = body_;
        small_.setPointSizeF(9);
        smallBold_ = small_;
        smallBold_.setBold(true);
        bold_ = body_;
        bold_.setBold(true);
        padding_ = QFontMetricsF(body_, device).height() * 0.25;
    }

protected:
    void title(const QString& text) {
        QFont font = bold_;
        font.setPointSizeF(16);
        block(Text(text, font, device_, flow_.width()));
        flow_.skip(padding_ * 2);
    }

    void block(const Text& text) {
        flow_.place(text.height(), [text](QPainter& painter, const QRectF& rect) {
            painter.setPen(Qt::black);
            text.draw(painter, rect.topLeft());
        });
    }

    QFont headingFont() const {
        QFont font = bold_;
        font.setPointSizeF(13);
        return font;
    }
    double headingSpace() const { return padding_ * 6; }

    // A heading below the space that sets it off, unless it opens a page.
    void placeHeading(const Text& text) {
        if (!flow_.atTop())
            flow_.skip(headingSpace());
        block(text);
        flow_.skip(padding_);
    }

    // A heading kept on one page with at least `following` of what comes after it.
    void headingBefore(const QString& title, double following) {
        const Text text(title, headingFont(), device_, flow_.width());
        if (headingSpace() + text.height() + padding_ + following > flow_.remaining())
            flow_.newPage();
        placeHeading(text);
    }

    // A chart under its heading, `heightShare` of the page's width high.
    void chartWithHeading(const QString& title, const std::function<QChart*()>& chart,
                          double heightShare = kChartHeightShare) {
        const double height = std::min(flow_.width() * heightShare, maxChartHeight());
        headingBefore(title, height);
        flow_.place(height, [chart](QPainter& painter, const QRectF& rect) {
            drawChart(painter, rect, chart());
        });
    }

    // The most a chart may take: a page's body below its heading.
    double maxChartHeight() const {
        return flow_.pageHeight() - padding_ * 12 - rowHeight(bold_) * 2;
    }

    static void drawChart(QPainter& painter, const QRectF& rect, QChart* chart) {
        painter.save();
        jumpcharts::draw(
            chart, painter, rect,
            QSizeF(kChartLayoutWidth, kChartLayoutWidth * rect.height() / rect.width()));
        painter.restore();
    }

    double rowHeight(const QFont& font) const {
        return QFontMetricsF(font, device_).height() + 2 * padding_;
    }

    // The left edge of each column and the right edge of the last, from their shares of the
    // width.
    QList<double> columnEdges(const QList<double>& shares) const {
        QList<double> edges{0};
        for (const double share : shares)
            edges << edges.last() + flow_.width() * share;
        return edges;
    }

    // The laid-out texts of each column, in its font and alignment.
    QList<ColumnTexts*> columns(const QList<QFont>& fonts, const QList<double>& edges,
                                const QList<Qt::Alignment>& alignment) {
        QList<ColumnTexts*> out;
        for (qsizetype c = 0; c + 1 < edges.size(); ++c)
            out << &columnTexts(fonts.value(c, body_), edges[c + 1] - edges[c] - 2 * padding_,
                                alignment.value(c, Qt::AlignLeft));
        return out;
    }
    ColumnTexts& columnTexts(const QFont& font, double width, Qt::Alignment alignment) {
        for (const auto& texts : columnTexts_)
            if (texts->isFor(font, width, alignment))
                return *texts;
        return *columnTexts_.emplace_back(
            std::make_unique<ColumnTexts>(font, width, alignment, device_));
    }

    // One row of a table, measured but not placed: its cells with texts that wrap.
    TableRow prepareRow(const QStringList& cells, const QList<ColumnTexts*>& columns, bool header,
                        bool greyed = false) {
        TableRow row{0, {}, header, greyed};
        row.cells.reserve(columns.size());
        for (qsizetype c = 0; c < columns.size(); ++c) {
            row.cells << columns[c]->text(cells.value(c));
            row.height = std::max(row.height, row.cells.last().height + 2 * padding_);
        }
        return row;
    }

    // Rows of two columns without a header: a name in bold beside its value.
    void fields(const QStringList& names, const QStringList& values) {
        const QList<double> edges = columnEdges({0.22, 0.78});
        const QList<ColumnTexts*> fieldColumns = columns({bold_, body_}, edges, {});
        TableRows rows(flow_, edges, padding_);
        for (qsizetype i = 0; i < names.size(); ++i)
            rows.place(prepareRow({names[i], values.value(i)}, fieldColumns, false));
        rows.finish();
    }

    // A table under its heading; the header row heads the table on every page. The table
    // stays whole where it fits on a page, keeps its first rows with its heading and never
    // leaves its last row alone (pagination::planTable).
    // Lines marked in `greyed` are drawn in grey (an excluded jump).
    void table(const QString& heading, const QStringList& header, const QList<QStringList>& lines,
               const QList<double>& shares, const QList<Qt::Alignment>& alignment,
               const QList<bool>& greyed = {}) {
        const QList<double> edges = columnEdges(shares);
        const QList<ColumnTexts*> headerColumns =
            columns(QList<QFont>(header.size(), smallBold_), edges, alignment);
        const QList<ColumnTexts*> cellColumns =
            columns(QList<QFont>(header.size(), small_), edges, alignment);
        const TableRow headerRow = prepareRow(header, headerColumns, true);
        QList<TableRow> rows;
        QList<double> heights;
        rows.reserve(lines.size());
        heights.reserve(lines.size());
        for (qsizetype i = 0; i < lines.size(); ++i) {
            rows << prepareRow(lines[i], cellColumns, false, greyed.value(i));
            heights << rows.last().height;
        }
        const Text headingText(heading, headingFont(), device_, flow_.width());
        const double headingHeight = headingSpace() + headingText.height() + padding_;
        const pagination::TablePlan plan = pagination::planTable(
            headingHeight, headerRow.height, heights, flow_.remaining(), flow_.pageHeight());
        if (plan.startOnNewPage && !flow_.atTop())
            flow_.newPage();
        placeHeading(headingText);
        TableRows placed(flow_, edges, padding_);
        placed.place(headerRow);
        for (qsizetype r = 0; r < rows.size(); ++r) {
            if (plan.breaksBefore.contains(static_cast<int>(r))) {
                flow_.newPage();
                placed.place(headerRow);
            }
            placed.place(rows[r]);
        }
        placed.finish();
    }

    PageFlow& flow_;
    QPaintDevice* device_;
    QFont body_, bold_, small_, smallBold_;
    double padding_ = 0;
    std::vector<std::unique_ptr<ColumnTexts>> columnTexts_;
};

// Lays the athlete's report out on the pages of a flow.
class ReportLayout : public LayoutBase {
public:
    ReportLayout(PageFlow& flow, QPaintDevice* device, const report::AthleteReport& report)
        : LayoutBase(flow, device), report_(report) {}

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

// Lays the team report out: the ranking, the bar chart of the best RSI, a line per athlete.
class TeamLayout : public LayoutBase {
public:
    TeamLayout(PageFlow& flow, QPaintDevice* device, const report::TeamReport& report)
        : LayoutBase(flow, device), report_(report) {}

    void build() {
        title(report::teamTitle(report_));
        block(Text(report::periodLine(report_.period), body_, device_, flow_.width()));
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
                        [](const ranking::Row& row) { return row.changeBeyondTypicalError; }))
            block(Text(ranking::changeMarkNote(), small_, device_, flow_.width()));

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

// The PDF's pages: A4 portrait; the program's name, the date of the report and "Seite N von
// M" on every page around the body that a layout fills.
class PdfPages {
public:
    PdfPages(QIODevice& device, const QString& title) : writer_(&device) {
        writer_.setResolution(kResolution);
        writer_.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                          QMarginsF(18, 12, 18, 12), QPageLayout::Millimeter));
        writer_.setCreator(QStringLiteral("Kalvero"));
        writer_.setTitle(title);
        small_ = QGuiApplication::font();
        small_.setPointSizeF(8);
        page_ = QRectF(QPointF(0, 0), writer_.pageLayout().paintRectPixels(kResolution).size());
        band_ = 2.5 * QFontMetricsF(small_, &writer_).height();
        body_ =
            QRectF(page_.left(), page_.top() + band_, page_.width(), page_.height() - 2 * band_);
        flow_ = std::make_unique<PageFlow>(body_.size());
    }

    PageFlow& flow() { return *flow_; }
    QPaintDevice* device() { return &writer_; }

    // Paints what the flow recorded; the layout that recorded it must still live. Returns the
    // number of pages.
    int paint(const QDateTime& madeAt) {
        QPainter painter(&writer_);
        const int pages = flow_->pageCount();
        const QString dateLine =
            TextsOfReportpdf::tr("Bericht vom %1").arg(texts::dateText(madeAt.date()));
        for (int p = 0; p < pages; ++p) {
            if (p > 0)
                writer_.newPage();
            painter.save();
            painter.translate(body_.topLeft());
            flow_->paint(p, painter);
            painter.restore();

            painter.setFont(small_);
            painter.setPen(QColor(90, 90, 90));
            const QRectF top(page_.left(), page_.top(), page_.width(), band_ * 0.6);
            painter.drawText(top, Qt::AlignLeft | Qt::AlignTop, QStringLiteral("Kalvero"));
            painter.drawText(top, Qt::AlignRight | Qt::AlignTop, dateLine);
            painter.setPen(QPen(kRule, 0));
            painter.drawLine(top.bottomLeft(), top.bottomRight());
            painter.setPen(QColor(90, 90, 90));
            const QRectF bottom(page_.left(), page_.bottom() - band_ * 0.6, page_.width(),
                                band_ * 0.6);
            painter.drawText(bottom, Qt::AlignHCenter | Qt::AlignBottom,
                             TextsOfReportpdf::tr("Seite %1 von %2").arg(p + 1).arg(pages));
        }
        painter.end();
        return pages;
    }

private:
    QPdfWriter writer_;
    QFont small_;
    QRectF page_, body_;
    double band_ = 0;
    std::unique_ptr<PageFlow> flow_;
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

int writeTeam(const report::TeamReport& report, QIODevice& device, const QDateTime& madeAt) {
    PdfPages pages(device, report::teamTitle(report));
    TeamLayout layout(pages.flow(), pages.device(), report);
    layout.build();
    return pages.paint(madeAt);
}

void saveSelectedAthlete(MessageService& ui, DataStore& store, const AthleteController& athletes,
                         const HistoryController& history) {
    const std::optional<Athlete> athlete = athletes.selected();
    if (!athlete)
        return;
    const QString path =
        ui.saveFileName({TextsOfReportpdf::tr("Bericht speichern"),
                         TextsOfReportpdf::tr("PDF-Datei|*.pdf"), QStringLiteral("pdf"),
                         filenames::suggested({athlete->name, athlete->firstName},
                                              QDate::currentDate(), QStringLiteral("pdf"))});
    if (path.isEmpty())
        return;
    std::optional<QString> failure;
    {
        MeasurementRepository& measurements = store.measurements();
        const int total = static_cast<int>(measurements.ofAthlete(athlete->id).size());
        const auto progress = ui.showProgress(
            TextsOfReportpdf::tr("Bericht wird erstellt … %1 von %2 Messungen"), total);
        const std::optional<qint64> selected =
            history.athleteId() == athlete->id ? history.selectedNummer() : std::nullopt;
        const std::optional<report::AthleteReport> content =
            report::read(measurements, *athlete, selected,
                         [&progress](int done) { return progress->update(done); });
        if (!content)
            return; // cancelled: nothing written, an earlier file stays
        failure = fileoutput::write(path, [&content](QIODevice& file) {
            reportpdf::write(*content, file, QDateTime::currentDateTime());
            return true;
        });
    }
    if (failure)
        boxes::plain(ui, *failure);
}

} // namespace reportpdf

namespace reportpdf {

void saveTeam(MessageService& ui, DataStore& store, const Group& group,
              const ranking::Period& period) {
    const QString path = ui.saveFileName(
        {TextsOfReportpdf::tr("Teambericht speichern"), TextsOfReportpdf::tr("PDF-Datei|*.pdf"),
         QStringLiteral("pdf"),
         filenames::suggested({group.name}, QDate::currentDate(), QStringLiteral("pdf"))});
    if (path.isEmpty())
        return;
    std::optional<QString> failure;
    {
        widgets::BusyCursor busy;
        GroupRepository& groups = store.groups();
        const report::TeamReport content = report::team(
            group, period,
            ranking::rank(ranking::read(store.athletes(), groups, group.id, period), period));
        failure = fileoutput::write(path, [&content](QIODevice& file) {
            reportpdf::writeTeam(content, file, QDateTime::currentDateTime());
            return true;
        });
    }
    if (failure)
        boxes::plain(ui, *failure);
}

} // namespace reportpdf
