#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QList>
#include <QPdfWriter>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

class QChart;
class QDateTime;
class QIODevice;
class QPainter;
class QPaintDevice;
class QTextLayout;

// The page layout of the PDF reports: texts that wrap, headings kept with what follows them,
// charts drawn as vectors and tables whose header row heads them on every page, filled from
// top to bottom on A4 pages that carry the program's name, the date of the report and "Seite
// N von M". A report derives its layout from PageLayout and fills the PdfPages' flow.
namespace reportpdf {

// A chart is this share of the page's width high, unless it says otherwise.
constexpr double kChartHeightShare = 0.45;

// A text broken into lines at a width: at word boundaries, inside a word only where the word
// alone is wider than the line.
class Text {
public:
    Text(const QString& text, const QFont& font, QPaintDevice* device, double width,
         Qt::Alignment alignment = Qt::AlignLeft);
    double height() const { return height_; }
    void draw(QPainter& painter, QPointF at) const;
    // The glyphs as laid out, placed from the text's top left corner.
    QList<QGlyphRun> glyphRuns() const;

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
    Placed place(double height, Painting paint);
    // Paints over what a page shows already, without taking room on it.
    void paintOver(int page, const QRectF& rect, Painting paint) {
        pages_[page].emplaceBack(rect, std::move(paint));
    }
    void skip(double height) { y_ = std::min(body_.height(), y_ + height); }
    double pageHeight() const { return body_.height(); }
    bool atTop() const { return y_ == 0; }

    void paint(int page, QPainter& painter) const;

private:
    QSizeF body_;
    double y_ = 0;
    QList<QList<std::pair<QRectF, Painting>>> pages_;
};

class ColumnTexts;
struct TableRow;

// What the layouts of the reports share: the fonts, blocks of text, headings kept with what
// follows them, charts and tables.
class PageLayout {
public:
    PageLayout(PageFlow& flow, QPaintDevice* device);
    ~PageLayout();
    PageLayout(const PageLayout&) = delete;
    PageLayout& operator=(const PageLayout&) = delete;

protected:
    // The report's title in large bold type.
    void title(const QString& text);
    void block(const Text& text);
    QFont headingFont() const;
    double headingSpace() const;
    // A heading below the space that sets it off, unless it opens a page.
    void placeHeading(const Text& text);
    // A heading kept on one page with at least `following` of what comes after it.
    void headingBefore(const QString& title, double following);
    // A chart under its heading, `heightShare` of the page's width high.
    void chartWithHeading(const QString& title, const std::function<QChart*()>& chart,
                          double heightShare = kChartHeightShare);
    // The most a chart may take: a page's body below its heading.
    double maxChartHeight() const;
    static void drawChart(QPainter& painter, const QRectF& rect, QChart* chart);
    double rowHeight(const QFont& font) const;
    // Rows of two columns without a header: a name in bold beside its value.
    void fields(const QStringList& names, const QStringList& values);
    // A table under its heading; the header row heads the table on every page. The table
    // stays whole where it fits on a page, keeps its first rows with its heading and never
    // leaves its last row alone (pagination::planTable).
    // Lines marked in `greyed` are drawn in grey (an excluded jump).
    void table(const QString& heading, const QStringList& header, const QList<QStringList>& lines,
               const QList<double>& shares, const QList<Qt::Alignment>& alignment,
               const QList<bool>& greyed = {});

    PageFlow& flow_;
    QPaintDevice* device_;
    QFont body_, bold_, small_, smallBold_;
    double padding_ = 0;

private:
    // The left edge of each column and the right edge of the last, from their shares of the
    // width.
    QList<double> columnEdges(const QList<double>& shares) const;
    // The shares of a table's columns with room for each column's widest word of the header
    // and its widest cell (a time, a number or a test's name is never broken); the rest of the
    // width goes by the shares asked for. Where the page is too narrow, the shares stand.
    QList<double> fittedShares(const QStringList& header, const QList<QStringList>& lines,
                               const QList<double>& shares) const;
    // The laid-out texts of each column, in its font and alignment.
    QList<ColumnTexts*> columns(const QList<QFont>& fonts, const QList<double>& edges,
                                const QList<Qt::Alignment>& alignment);
    ColumnTexts& columnTexts(const QFont& font, double width, Qt::Alignment alignment);
    // One row of a table, measured but not placed: its cells with texts that wrap.
    TableRow prepareRow(const QStringList& cells, const QList<ColumnTexts*>& columns, bool header,
                        bool greyed = false);

    std::vector<std::unique_ptr<ColumnTexts>> columnTexts_;
};

// The PDF's pages: A4 portrait; the program's name, the date of the report and "Seite N von
// M" on every page around the body that a layout fills.
class PdfPages {
public:
    PdfPages(QIODevice& device, const QString& title);
    ~PdfPages();

    PageFlow& flow() { return *flow_; }
    QPaintDevice* device() { return &writer_; }

    // Paints what the flow recorded; the layout that recorded it must still live. Returns the
    // number of pages.
    int paint(const QDateTime& madeAt);

private:
    QPdfWriter writer_;
    QFont small_;
    QRectF page_, body_;
    double band_ = 0;
    std::unique_ptr<PageFlow> flow_;
};

} // namespace reportpdf
