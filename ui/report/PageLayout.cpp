// The report pages: texts, headings, charts and tables laid out on A4.

#include "ui/report/PageLayout.h"

#include "core/base/Texts.h"
#include "core/report/Pagination.h"
#include "ui/common/JumpCharts.h"

#include <QChart>
#include <QCoreApplication>
#include <QDateTime>
#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>

#include <algorithm>

namespace reportpdf {
namespace {

// The texts of this file that the user reads, in the translation context "reportpdf".
struct TextsOfReportpdf {
    Q_DECLARE_TR_FUNCTIONS(reportpdf)
};

constexpr int kResolution = 300; // dots per inch of the page's coordinates
// A chart is laid out at this width (in the chart's own pixels) and scaled onto the page.
constexpr double kChartLayoutWidth = 620;

const QColor kRule(150, 150, 150);
const QColor kHeaderFill(235, 235, 235);
const QColor kGreyedText(140, 140, 140);

} // namespace

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

Text::Text(const QString& text, const QFont& font, QPaintDevice* device, double width,
           Qt::Alignment alignment)
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

void Text::draw(QPainter& painter, QPointF at) const {
    layout_->draw(&painter, at);
}

QList<QGlyphRun> Text::glyphRuns() const {
    return layout_->glyphRuns();
}

PageFlow::Placed PageFlow::place(double height, Painting paint) {
    if (height > remaining() && y_ > 0)
        newPage();
    const QRectF rect(0, y_, body_.width(), height);
    pages_.last().emplaceBack(rect, std::move(paint));
    y_ += height;
    return {pageCount() - 1, rect};
}

void PageFlow::paint(int page, QPainter& painter) const {
    for (const auto& [rect, paint] : pages_[page])
        if (paint)
            paint(painter, rect);
}

PageLayout::PageLayout(PageFlow& flow, QPaintDevice* device) : flow_(flow), device_(device) {
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

PageLayout::~PageLayout() = default;

void PageLayout::title(const QString& text) {
    QFont font = bold_;
    font.setPointSizeF(16);
    block(Text(text, font, device_, flow_.width()));
    flow_.skip(padding_ * 2);
}

void PageLayout::block(const Text& text) {
    flow_.place(text.height(), [text](QPainter& painter, const QRectF& rect) {
        painter.setPen(Qt::black);
        text.draw(painter, rect.topLeft());
    });
}

QFont PageLayout::headingFont() const {
    QFont font = bold_;
    font.setPointSizeF(13);
    return font;
}

double PageLayout::headingSpace() const {
    return padding_ * 6;
}

void PageLayout::placeHeading(const Text& text) {
    if (!flow_.atTop())
        flow_.skip(headingSpace());
    block(text);
    flow_.skip(padding_);
}

void PageLayout::headingBefore(const QString& title, double following) {
    const Text text(title, headingFont(), device_, flow_.width());
    if (headingSpace() + text.height() + padding_ + following > flow_.remaining())
        flow_.newPage();
    placeHeading(text);
}

void PageLayout::chartWithHeading(const QString& title, const std::function<QChart*()>& chart,
                                  double heightShare) {
    const double height = std::min(flow_.width() * heightShare, maxChartHeight());
    headingBefore(title, height);
    flow_.place(height, [chart](QPainter& painter, const QRectF& rect) {
        drawChart(painter, rect, chart());
    });
}

double PageLayout::maxChartHeight() const {
    return flow_.pageHeight() - padding_ * 12 - rowHeight(bold_) * 2;
}

void PageLayout::drawChart(QPainter& painter, const QRectF& rect, QChart* chart) {
    painter.save();
    jumpcharts::draw(chart, painter, rect,
                     QSizeF(kChartLayoutWidth, kChartLayoutWidth * rect.height() / rect.width()));
    painter.restore();
}

double PageLayout::rowHeight(const QFont& font) const {
    return QFontMetricsF(font, device_).height() + 2 * padding_;
}

QList<double> PageLayout::columnEdges(const QList<double>& shares) const {
    QList<double> edges{0};
    for (const double share : shares)
        edges << edges.last() + flow_.width() * share;
    return edges;
}

QList<double> PageLayout::fittedShares(const QStringList& header, const QList<QStringList>& lines,
                                       const QList<double>& shares) const {
    const double width = flow_.width();
    const QFontMetricsF headerMetrics(smallBold_, device_);
    const QFontMetricsF cellMetrics(small_, device_);
    // A long cell (a remark) may wrap: it asks for no more than a quarter of the width, and
    // for its widest word.
    const auto widestWord = [](const QFontMetricsF& metrics, const QString& text) {
        double widest = 0;
        for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            widest = std::max(widest, metrics.horizontalAdvance(word));
        return widest;
    };
    // What a cell asks for, measured once for each distinct text: the long tables repeat most
    // of theirs (days, kinds, tests, values), and each measuring lays the text out anew.
    QHash<QString, double> asked;
    const auto roomFor = [&](const QString& text) {
        auto found = asked.constFind(text);
        if (found == asked.cend()) {
            const double whole = cellMetrics.horizontalAdvance(text);
            found = asked.insert(text, whole <= width / 4 ? whole : widestWord(cellMetrics, text));
        }
        return *found;
    };
    QList<double> needed;
    for (qsizetype c = 0; c < shares.size(); ++c) {
        double room = widestWord(headerMetrics, header.value(c));
        for (const QStringList& line : lines)
            room = std::max(room, roomFor(line.value(c)));
        needed << room + 2 * padding_ + 1;
    }
    // Columns that their share leaves too narrow get what they need, the others share the
    // rest, until none is too narrow.
    QList<bool> fixed(shares.size(), false);
    for (bool changed = true; changed;) {
        changed = false;
        double rest = width;
        double restShares = 0;
        for (qsizetype c = 0; c < shares.size(); ++c) {
            if (fixed[c])
                rest -= needed[c];
            else
                restShares += shares[c];
        }
        if (rest < 0)
            return shares;
        for (qsizetype c = 0; c < shares.size(); ++c) {
            if (!fixed[c] && (restShares <= 0 || rest * shares[c] / restShares < needed[c])) {
                fixed[c] = true;
                changed = true;
            }
        }
        if (!changed) {
            QList<double> out;
            for (qsizetype c = 0; c < shares.size(); ++c)
                out << (fixed[c] ? needed[c] : rest * shares[c] / restShares) / width;
            return out;
        }
    }
    return shares;
}

QList<ColumnTexts*> PageLayout::columns(const QList<QFont>& fonts, const QList<double>& edges,
                                        const QList<Qt::Alignment>& alignment) {
    QList<ColumnTexts*> out;
    for (qsizetype c = 0; c + 1 < edges.size(); ++c)
        out << &columnTexts(fonts.value(c, body_), edges[c + 1] - edges[c] - 2 * padding_,
                            alignment.value(c, Qt::AlignLeft));
    return out;
}

ColumnTexts& PageLayout::columnTexts(const QFont& font, double width, Qt::Alignment alignment) {
    for (const auto& texts : columnTexts_)
        if (texts->isFor(font, width, alignment))
            return *texts;
    return *columnTexts_.emplace_back(
        std::make_unique<ColumnTexts>(font, width, alignment, device_));
}

TableRow PageLayout::prepareRow(const QStringList& cells, const QList<ColumnTexts*>& columns,
                                bool header, bool greyed) {
    TableRow row{0, {}, header, greyed};
    row.cells.reserve(columns.size());
    for (qsizetype c = 0; c < columns.size(); ++c) {
        row.cells << columns[c]->text(cells.value(c));
        row.height = std::max(row.height, row.cells.last().height + 2 * padding_);
    }
    return row;
}

void PageLayout::fields(const QStringList& names, const QStringList& values) {
    const QList<double> edges = columnEdges({0.22, 0.78});
    const QList<ColumnTexts*> fieldColumns = columns({bold_, body_}, edges, {});
    TableRows rows(flow_, edges, padding_);
    for (qsizetype i = 0; i < names.size(); ++i)
        rows.place(prepareRow({names[i], values.value(i)}, fieldColumns, false));
    rows.finish();
}

void PageLayout::table(const QString& heading, const QStringList& header,
                       const QList<QStringList>& lines, const QList<double>& shares,
                       const QList<Qt::Alignment>& alignment, const QList<bool>& greyed) {
    const QList<double> edges = columnEdges(fittedShares(header, lines, shares));
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

PdfPages::PdfPages(QIODevice& device, const QString& title) : writer_(&device) {
    writer_.setResolution(kResolution);
    writer_.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(18, 12, 18, 12), QPageLayout::Millimeter));
    writer_.setCreator(QStringLiteral("Kalvero"));
    writer_.setTitle(title);
    small_ = QGuiApplication::font();
    small_.setPointSizeF(8);
    page_ = QRectF(QPointF(0, 0), writer_.pageLayout().paintRectPixels(kResolution).size());
    band_ = 2.5 * QFontMetricsF(small_, &writer_).height();
    body_ = QRectF(page_.left(), page_.top() + band_, page_.width(), page_.height() - 2 * band_);
    flow_ = std::make_unique<PageFlow>(body_.size());
}

PdfPages::~PdfPages() = default;

int PdfPages::paint(const QDateTime& madeAt) {
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
        const QRectF bottom(page_.left(), page_.bottom() - band_ * 0.6, page_.width(), band_ * 0.6);
        painter.drawText(bottom, Qt::AlignHCenter | Qt::AlignBottom,
                         TextsOfReportpdf::tr("Seite %1 von %2").arg(p + 1).arg(pages));
    }
    painter.end();
    return pages;
}

} // namespace reportpdf
