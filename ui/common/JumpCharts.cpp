// The chart of a measurement's jumps and the chart of an athlete's progress.

#include "ui/common/JumpCharts.h"

#include "core/base/Texts.h"

#include <QAreaSeries>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QCoreApplication>
#include <QDateTimeAxis>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QHorizontalBarSeries>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QScatterSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace jumpcharts {
namespace {

// Beyond this many jumps the numbers under the bars would run into each other.
constexpr int kMostJumpLabels = 30;
// The best bar of a series.
const QColor kBestColour(230, 120, 0);
// The lines of the progress chart, its band and its marks.
const QColor kHeightColour(32, 159, 223);
const QColor kRsiColour(230, 120, 0);
const QColor kMarkColour(200, 30, 30);

// The texts of this file that the user reads, in the translation context "jumpcharts".
struct TextsOfJumpcharts {
    Q_DECLARE_TR_FUNCTIONS(jumpcharts)
};

// The valid jumps in the order of their numbers.
QList<analysis::StoredJump> validInOrder(const QList<analysis::StoredJump>& jumps) {
    QList<analysis::StoredJump> valid;
    for (const analysis::StoredJump& jump : jumps)
        if (analysis::isValidJump(jump))
            valid.append(jump);
    std::stable_sort(valid.begin(), valid.end(),
                     [](const auto& a, const auto& b) { return a.jumpIndex < b.jumpIndex; });
    return valid;
}

// Axis numbers with the program's decimal separator and without group separators.
QLocale numberLocale() {
    QLocale locale = texts::locale();
    if (locale.decimalPoint() != QString(texts::decimalSeparator()))
        locale =
            texts::decimalSeparator() == QLatin1Char(',') ? QLocale(QLocale::German) : QLocale::c();
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale;
}

QChart* newChart(const QString& title) {
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setLocalizeNumbers(true);
    chart->setLocale(numberLocale());
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setMargins(QMargins(4, 4, 4, 4));
    return chart;
}

// A value axis from 0 (or the lowest value below it) to a little above the largest value.
QValueAxis* valueAxis(const QString& title, const QList<double>& values, const QString& format) {
    auto* axis = new QValueAxis;
    axis->setTitleText(title);
    axis->setLabelFormat(format);
    const double top = values.isEmpty() ? 1 : *std::max_element(values.begin(), values.end());
    const double bottom = values.isEmpty() ? 0 : *std::min_element(values.begin(), values.end());
    axis->setRange(std::min(0.0, bottom), top > 0 ? top * 1.1 : 1);
    axis->applyNiceNumbers();
    return axis;
}

void attach(QChart* chart, QAbstractSeries* series, QAbstractAxis* x, QAbstractAxis* y) {
    chart->addSeries(series);
    series->attachAxis(x);
    series->attachAxis(y);
}

} // namespace

QChart* noteChart(const QString& note) {
    return newChart(note);
}

QString noMeasurementText() {
    return TextsOfJumpcharts::tr("Keine Messung gewählt");
}

QString noValidJumpText() {
    return TextsOfJumpcharts::tr("Keine gültigen Sprünge");
}

QString noProgressText() {
    return TextsOfJumpcharts::tr("Keine Messung mit gültigen Sprüngen");
}

namespace {

// The bars and the contact line over one place per slot: what the chart of a stored
// measurement and that of a running series share.
struct BarPlaces {
    QList<QString> labels; // under each place
    QList<std::optional<double>> values;
    QList<std::optional<double>> contactsMs;
};

// A category axis takes each text once and no empty one; places that show the same text (two
// jumps the limits kept from the store) or none (the closing contact) are told apart by
// invisible zero-width spaces.
QStringList distinctCategories(const QStringList& labels) {
    QStringList distinct;
    for (const QString& label : labels) {
        QString unique = label;
        while (unique.isEmpty() || distinct.contains(unique))
            unique += QChar(0x200B);
        distinct << unique;
    }
    return distinct;
}

QChart* barChart(const QString& title, const BarPlaces& places, const QString& valueName,
                 const char* valueFormat, std::optional<int> best, double fontScale) {
    QChart* chart = newChart(title);
    auto* bars = new QBarSet(valueName);
    auto* contacts = new QLineSeries;
    contacts->setName(TextsOfJumpcharts::tr("Stützzeit (ms)"));
    const bool labelled = places.labels.size() <= kMostJumpLabels;
    contacts->setPointsVisible(labelled);
    QList<double> barValues, contactValues;
    for (int i = 0; i < places.labels.size(); ++i) {
        bars->append(places.values[i].value_or(0));
        if (places.values[i])
            barValues.append(*places.values[i]);
        if (places.contactsMs[i]) {
            contacts->append(i, *places.contactsMs[i]);
            contactValues.append(*places.contactsMs[i]);
        }
    }
    auto* series = new QBarSeries;
    series->append(bars);

    // Numbers that would run into each other are left out, and the axis title with them (Qt
    // Charts misplaces it over an axis without labels).
    auto* jumpAxis = new QBarCategoryAxis;
    if (labelled)
        jumpAxis->setTitleText(TextsOfJumpcharts::tr("Sprung"));
    jumpAxis->append(distinctCategories(places.labels));
    jumpAxis->setLabelsVisible(labelled);
    jumpAxis->setGridLineVisible(false);
    QValueAxis* valueAxisLeft = valueAxis(valueName, barValues, valueFormat);
    QValueAxis* contactAxis =
        valueAxis(TextsOfJumpcharts::tr("Stützzeit (ms)"), contactValues, "%.0f");
    contactAxis->setGridLineVisible(false);
    chart->addAxis(jumpAxis, Qt::AlignBottom);
    chart->addAxis(valueAxisLeft, Qt::AlignLeft);
    chart->addAxis(contactAxis, Qt::AlignRight);
    attach(chart, series, jumpAxis, valueAxisLeft);
    attach(chart, contacts, jumpAxis, contactAxis);
    // An outline in the bar's colour keeps bars narrower than a pixel visible; a thin line
    // keeps many of them visible beneath it. Both in the colours the theme gave them.
    bars->setPen(QPen(bars->color(), 0));
    QPen contactPen = contacts->pen();
    contactPen.setWidthF(labelled ? 2 : 1);
    contacts->setPen(contactPen);
    if (best) {
        bars->setSelectedColor(kBestColour);
        bars->selectBar(*best);
    }
    if (fontScale > 1.0) {
        for (QAbstractAxis* axis : chart->axes()) {
            QFont labels = axis->labelsFont();
            labels.setPointSizeF(labels.pointSizeF() * fontScale);
            axis->setLabelsFont(labels);
            QFont axisTitle = axis->titleFont();
            axisTitle.setPointSizeF(axisTitle.pointSizeF() * fontScale);
            axis->setTitleFont(axisTitle);
        }
        QFont legend = chart->legend()->font();
        legend.setPointSizeF(legend.pointSizeF() * fontScale);
        chart->legend()->setFont(legend);
    }
    return chart;
}

// The number of each place under it, each text once on the axis: places that show the same
// text (two jumps the limits kept from the store) or none (the closing contact) are told apart
// by invisible zero-width spaces.
QString placeCategory(const QStringList& taken, const analysis::RunningSeries::Place& place) {
    QString unique = analysis::seriesPlaceLabels({place}).value(0);
    while (unique.isEmpty() || taken.contains(unique))
        unique += QChar(0x200B);
    return unique;
}

// The vertical axes of a series chart: from 0 (or the lowest value below it) to a little above
// the largest value, on a number the labels show exactly.
void fitSeriesAxes(QChart* chart, const analysis::RunningSeries& series, BarValue value) {
    const bool height = value == BarValue::Height;
    for (QAbstractAxis* axis : chart->axes(Qt::Vertical)) {
        auto* values = qobject_cast<QValueAxis*>(axis);
        if (!values)
            continue;
        const bool left = values->alignment() == Qt::AlignLeft;
        const std::optional<analysis::ValueRange> range =
            left ? series.range(value) : series.contactRange();
        const double top = range ? range->high : 1;
        const double bottom = range ? range->low : 0;
        values->setRange(std::min(0.0, bottom), top > 0 ? top * 1.1 : 1);
        values->setTickCount(4);
        values->applyNiceNumbers();
        // The top on a value the labels show (0 to 1.5 in whole numbers reads 0 to 2).
        const double step = left && !height ? 0.1 : 1.0;
        values->setMax(std::ceil(values->max() / step - 1e-9) * step);
        values->setTickCount(exactTickCount(values->min(), values->max(), step));
    }
}

} // namespace

int exactTickCount(double min, double max, double step) {
    const double span = max - min;
    if (span <= 0 || step <= 0)
        return 2;
    for (const int ticks : {4, 3, 5, 6, 2}) {
        const double steps = span / (ticks - 1) / step;
        if (std::abs(steps - std::round(steps)) < 1e-6 && std::round(steps) >= 1)
            return ticks;
    }
    return 2;
}

QChart* measurementChart(const QList<analysis::StoredJump>& jumps, const QString& title) {
    const QList<analysis::StoredJump> valid = validInOrder(jumps);
    if (valid.isEmpty())
        return noteChart(noValidJumpText());
    BarPlaces places;
    for (const analysis::StoredJump& jump : valid) {
        places.labels.append(QString::number(jump.jumpIndex));
        places.values.append(analysis::jumpHeightCm(jump));
        places.contactsMs.append(jump.contactMs);
    }
    return barChart(title, places, TextsOfJumpcharts::tr("Höhe (cm)"), "%.0f", std::nullopt, 1.0);
}

QChart* seriesChart(const analysis::RunningSeries& series, BarValue value, double fontScale) {
    BarPlaces places;
    for (const analysis::RunningSeries::Place& place : series.places()) {
        places.labels.append(analysis::seriesPlaceLabels({place}).value(0));
        places.values.append(analysis::RunningSeries::valueOf(place, value));
        places.contactsMs.append(places.values.last() ? std::optional(place->contactMs)
                                                      : std::nullopt);
    }
    const QString name = value == BarValue::Height ? TextsOfJumpcharts::tr("Höhe (cm)")
                                                   : TextsOfJumpcharts::tr("RSI (m/s)");
    const bool height = value == BarValue::Height;
    QChart* chart = barChart(QString(), places, name, height ? "%.0f" : "%.1f",
                             series.bestPlace(value), fontScale);
    // The legend below names both series in a line of its own; the axes beside the small
    // chart carry only their units, which are never cut. Few numbers stay readable beside
    // the bars, each a number the axis shows exactly.
    for (QAbstractAxis* axis : chart->axes(Qt::Vertical)) {
        if (auto* values = qobject_cast<QValueAxis*>(axis)) {
            const bool left = values->alignment() == Qt::AlignLeft;
            values->setTitleText(
                left ? (height ? TextsOfJumpcharts::tr("cm") : TextsOfJumpcharts::tr("m/s"))
                     : TextsOfJumpcharts::tr("ms"));
        }
    }
    fitSeriesAxes(chart, series, value);
    return chart;
}

bool appendToSeriesChart(QChart* chart, const analysis::RunningSeries& series, BarValue value) {
    if (chart == nullptr)
        return false;
    QBarSet* bars = nullptr;
    QLineSeries* contacts = nullptr;
    for (QAbstractSeries* shown : chart->series()) {
        if (auto* barSeries = qobject_cast<QBarSeries*>(shown); barSeries && barSeries->count())
            bars = barSeries->barSets().first();
        else if (auto* line = qobject_cast<QLineSeries*>(shown))
            contacts = line;
    }
    const auto horizontal = chart->axes(Qt::Horizontal);
    auto* jumpAxis =
        horizontal.isEmpty() ? nullptr : qobject_cast<QBarCategoryAxis*>(horizontal.first());
    if (!bars || !contacts || !jumpAxis || bars->count() > series.size())
        return false;
    const int first = bars->count();
    // Past this many places the numbers under the bars go, and the chart is laid out anew.
    if (first <= kMostJumpLabels && series.size() > kMostJumpLabels)
        return false;
    if (first == series.size())
        return true;
    QStringList categories = jumpAxis->categories();
    const qsizetype known = categories.size();
    QList<qreal> values;
    QList<QPointF> points;
    for (int place = first; place < series.size(); ++place) {
        const analysis::RunningSeries::Place& added = series.places()[place];
        const std::optional<double> shown = analysis::RunningSeries::valueOf(added, value);
        categories << placeCategory(categories, added);
        values << shown.value_or(0);
        if (shown)
            points << QPointF(place, added->contactMs);
    }
    // Each part takes its new places in one step: laid out once, not once a place.
    jumpAxis->append(categories.mid(known));
    bars->append(values);
    if (!points.isEmpty())
        contacts->append(points);
    const std::optional<int> best = series.bestPlace(value);
    if (best && *best >= first) {
        bars->deselectBars(bars->selectedBars());
        bars->setSelectedColor(kBestColour);
        bars->selectBar(*best);
    }
    fitSeriesAxes(chart, series, value);
    return true;
}

QChart* progressChart(const QList<analysis::ProgressPoint>& allPoints, const progress::Noise& noise,
                      const QString& lineName) {
    const QList<analysis::ProgressPoint> points = progress::drawable(allPoints);
    if (points.isEmpty())
        return noteChart(noProgressText());
    QList<QDateTime> moments;
    for (const analysis::ProgressPoint& point : points)
        moments << point.moment;
    const progress::DateAxis places = progress::dateAxis(moments);

    auto* heights = new QLineSeries;
    heights->setName(TextsOfJumpcharts::tr("Beste Höhe (cm)"));
    auto* rsis = new QLineSeries;
    rsis->setName(TextsOfJumpcharts::tr("Bester RSI (m/s)"));
    QList<double> heightValues, rsiValues;
    for (qsizetype i = 0; i < points.size(); ++i) {
        heights->append(places.places[i], *points[i].bestHeightCm);
        rsis->append(places.places[i], *points[i].bestRsi);
        heightValues << *points[i].bestHeightCm;
        rsiValues << *points[i].bestRsi;
    }
    for (QLineSeries* series : {heights, rsis})
        series->setPointsVisible(points.size() <= 60);
    heights->setColor(kHeightColour);
    rsis->setColor(kRsiColour);

    const QString title = TextsOfJumpcharts::tr("Verlauf");
    QChart* chart = newChart(lineName.isEmpty() ? title : title + QStringLiteral(" – ") + lineName);
    auto* dateAxis = new QCategoryAxis;
    dateAxis->setTitleText(places.title);
    dateAxis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionCenter);
    dateAxis->setStartValue(0);
    for (const progress::AxisLabel& label : places.labels)
        dateAxis->append(label.text, label.end);
    dateAxis->setRange(0, places.end);
    dateAxis->setGridLineVisible(false);

    // The band around each previous best RSI, from that measurement to the next.
    QLineSeries* bandTop = nullptr;
    QLineSeries* bandBottom = nullptr;
    if (noise.typicalError && points.size() > 1) {
        bandTop = new QLineSeries;
        bandBottom = new QLineSeries;
        for (qsizetype i = 1; i < points.size(); ++i) {
            const double previous = *points[i - 1].bestRsi;
            for (const double x : {places.places[i - 1], places.places[i]}) {
                bandTop->append(x, previous + *noise.typicalError);
                bandBottom->append(x, previous - *noise.typicalError);
            }
            rsiValues << previous + *noise.typicalError << previous - *noise.typicalError;
        }
    }
    QValueAxis* heightAxis =
        valueAxis(TextsOfJumpcharts::tr("Beste Höhe (cm)"), heightValues, "%.0f");
    QValueAxis* rsiAxis = valueAxis(TextsOfJumpcharts::tr("Bester RSI (m/s)"), rsiValues, "%.1f");
    rsiAxis->setGridLineVisible(false);
    chart->addAxis(dateAxis, Qt::AlignBottom);
    chart->addAxis(heightAxis, Qt::AlignLeft);
    chart->addAxis(rsiAxis, Qt::AlignRight);
    if (bandTop) {
        auto* band = new QAreaSeries(bandTop, bandBottom);
        band->setName(TextsOfJumpcharts::tr("Typischer Fehler (RSI)"));
        QColor fill = kRsiColour;
        fill.setAlpha(50);
        band->setColor(fill);
        band->setBorderColor(fill);
        attach(chart, band, dateAxis, rsiAxis);
    }
    attach(chart, heights, dateAxis, heightAxis);
    attach(chart, rsis, dateAxis, rsiAxis);
    if (!noise.exceeding.isEmpty()) {
        auto* marks = new QScatterSeries;
        marks->setName(TextsOfJumpcharts::tr("Echte Änderung"));
        marks->setColor(kMarkColour);
        marks->setBorderColor(kMarkColour);
        marks->setMarkerSize(11);
        for (qsizetype i = 0; i < points.size(); ++i)
            if (noise.exceeding.contains(points[i].measurementNumber))
                marks->append(places.places[i], *points[i].bestRsi);
        attach(chart, marks, dateAxis, rsiAxis);
    }
    return chart;
}

QChart* comparisonChart(const QList<analysis::StoredJump>& first, const QString& firstName,
                        const QList<analysis::StoredJump>& second, const QString& secondName) {
    const QList<analysis::StoredJump> a = validInOrder(first);
    const QList<analysis::StoredJump> b = validInOrder(second);
    if (a.isEmpty() && b.isEmpty())
        return noteChart(noValidJumpText());
    const qsizetype places = std::max(a.size(), b.size());
    QChart* chart = newChart(TextsOfJumpcharts::tr("Vergleich"));
    auto* series = new QBarSeries;
    QList<double> heightValues, contactValues;
    QStringList labels;
    for (qsizetype i = 0; i < places; ++i)
        labels << QString::number(i + 1);
    auto* jumpAxis = new QBarCategoryAxis;
    const bool labelled = places <= kMostJumpLabels;
    if (labelled)
        jumpAxis->setTitleText(TextsOfJumpcharts::tr("Sprung"));
    jumpAxis->append(labels);
    jumpAxis->setLabelsVisible(labelled);
    jumpAxis->setGridLineVisible(false);
    QList<QLineSeries*> contactLines;
    const QList<std::pair<const QList<analysis::StoredJump>*, QString>> both{{&a, firstName},
                                                                             {&b, secondName}};
    for (const auto& [jumps, name] : both) {
        // The legend names the measurements by their bars; the contact lines take their
        // colours.
        auto* bars = new QBarSet(name);
        auto* contacts = new QLineSeries;
        contacts->setPointsVisible(labelled);
        for (qsizetype i = 0; i < places; ++i) {
            if (i < jumps->size()) {
                const double height = analysis::jumpHeightCm((*jumps)[i]);
                bars->append(height);
                heightValues << height;
                contacts->append(static_cast<double>(i), (*jumps)[i].contactMs);
                contactValues << (*jumps)[i].contactMs;
            } else {
                bars->append(0);
            }
        }
        bars->setPen(QPen(bars->color(), 0));
        series->append(bars);
        contactLines << contacts;
    }
    QValueAxis* heightAxis = valueAxis(TextsOfJumpcharts::tr("Höhe (cm)"), heightValues, "%.0f");
    QValueAxis* contactAxis =
        valueAxis(TextsOfJumpcharts::tr("Stützzeit (ms)"), contactValues, "%.0f");
    contactAxis->setGridLineVisible(false);
    chart->addAxis(jumpAxis, Qt::AlignBottom);
    chart->addAxis(heightAxis, Qt::AlignLeft);
    chart->addAxis(contactAxis, Qt::AlignRight);
    attach(chart, series, jumpAxis, heightAxis);
    for (QLineSeries* line : contactLines) {
        attach(chart, line, jumpAxis, contactAxis);
        for (QLegendMarker* marker : chart->legend()->markers(line))
            marker->setVisible(false);
    }
    // Each contact line in the colour of its bars, the second dashed.
    for (int i = 0; i < 2; ++i) {
        QPen pen(series->barSets()[i]->color().darker(130), 2);
        if (i == 1)
            pen.setStyle(Qt::DashLine);
        contactLines[i]->setPen(pen);
    }
    return chart;
}

QChart* profileChart(const protocols::Profile& profile) {
    auto* heights = new QLineSeries;
    heights->setName(TextsOfJumpcharts::tr("Beste Höhe (cm)"));
    heights->setColor(kHeightColour);
    auto* rsis = new QLineSeries;
    rsis->setName(TextsOfJumpcharts::tr("Bester RSI (m/s)"));
    rsis->setColor(kRsiColour);
    auto* optima = new QScatterSeries;
    optima->setName(TextsOfJumpcharts::tr("Optimale Fallhöhe"));
    optima->setColor(kMarkColour);
    optima->setBorderColor(kMarkColour);
    optima->setMarkerSize(11);
    QList<double> dropHeights, heightValues, rsiValues;
    for (const protocols::ProfileStep& step : profile.steps) {
        if (!step.bestRsi || !step.bestHeightCm)
            continue;
        heights->append(step.dropHeightCm, *step.bestHeightCm);
        rsis->append(step.dropHeightCm, *step.bestRsi);
        dropHeights << step.dropHeightCm;
        heightValues << *step.bestHeightCm;
        rsiValues << *step.bestRsi;
    }
    if (dropHeights.isEmpty()) {
        delete heights;
        delete rsis;
        delete optima;
        return noteChart(noValidJumpText());
    }
    for (QLineSeries* series : {heights, rsis})
        series->setPointsVisible(true);
    QChart* chart = newChart(TextsOfJumpcharts::tr("Fallhöhen-Profil"));
    auto* dropAxis = new QValueAxis;
    dropAxis->setTitleText(TextsOfJumpcharts::tr("Fallhöhe (cm)"));
    dropAxis->setLabelFormat("%.0f");
    const double low = *std::min_element(dropHeights.cbegin(), dropHeights.cend());
    const double high = *std::max_element(dropHeights.cbegin(), dropHeights.cend());
    dropAxis->setRange(std::max(0.0, low - 5), high + 5);
    // A tick at every drop height when they rise in equal steps.
    double smallestStep = 0;
    for (qsizetype i = 1; i < dropHeights.size(); ++i)
        if (const double d = dropHeights[i] - dropHeights[i - 1];
            d > 0 && (smallestStep == 0 || d < smallestStep))
            smallestStep = d;
    if (smallestStep >= 1) {
        dropAxis->setTickType(QValueAxis::TicksDynamic);
        dropAxis->setTickAnchor(low);
        dropAxis->setTickInterval(smallestStep);
    }
    QValueAxis* heightAxis =
        valueAxis(TextsOfJumpcharts::tr("Beste Höhe (cm)"), heightValues, "%.0f");
    QValueAxis* rsiAxis = valueAxis(TextsOfJumpcharts::tr("Bester RSI (m/s)"), rsiValues, "%.1f");
    rsiAxis->setGridLineVisible(false);
    chart->addAxis(dropAxis, Qt::AlignBottom);
    chart->addAxis(heightAxis, Qt::AlignLeft);
    chart->addAxis(rsiAxis, Qt::AlignRight);
    attach(chart, heights, dropAxis, heightAxis);
    attach(chart, rsis, dropAxis, rsiAxis);
    // The optimum by RSI on the RSI line; the one by jump height on the height line, where
    // its own series keeps it on the height axis.
    auto* heightOptimum = new QScatterSeries;
    // Short names: the legend cuts what does not fit beside the others.
    heightOptimum->setName(TextsOfJumpcharts::tr("Optimum nach Höhe"));
    heightOptimum->setColor(kMarkColour.darker(140));
    heightOptimum->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
    heightOptimum->setMarkerSize(11);
    optima->setName(TextsOfJumpcharts::tr("Optimum nach RSI"));
    for (const protocols::ProfileStep& step : profile.steps) {
        if (!step.bestRsi || !step.bestHeightCm)
            continue;
        if (profile.optimalByRsiCm == step.dropHeightCm)
            optima->append(step.dropHeightCm, *step.bestRsi);
        if (profile.optimalByHeightCm == step.dropHeightCm)
            heightOptimum->append(step.dropHeightCm, *step.bestHeightCm);
    }
    attach(chart, optima, dropAxis, rsiAxis);
    attach(chart, heightOptimum, dropAxis, heightAxis);
    return chart;
}

QChart* bestRsiChart(const QList<ranking::Row>& rows) {
    QStringList names;
    QList<double> values;
    // The category axis runs from the bottom up: the best comes last.
    for (auto row = rows.crbegin(); row != rows.crend(); ++row) {
        if (!row->bestRsi)
            continue;
        QString name = QStringLiteral("%1, %2").arg(row->athlete.name, row->athlete.firstName);
        // The axis needs every name once: namesakes are told apart by their ID.
        if (names.contains(name))
            name += QStringLiteral(" (%1)").arg(row->athlete.id);
        names << name;
        values << *row->bestRsi;
    }
    if (values.isEmpty())
        return noteChart(TextsOfJumpcharts::tr("Kein Sportler mit gültigen Sprüngen im Zeitraum"));
    auto* set = new QBarSet(TextsOfJumpcharts::tr("Bester RSI (m/s)"));
    set->append(values);
    auto* series = new QHorizontalBarSeries;
    series->append(set);
    series->setLabelsVisible(true);
    series->setLabelsFormat(QStringLiteral("@value"));
    series->setLabelsPrecision(3);
    QChart* chart = newChart(TextsOfJumpcharts::tr("Bester RSI"));
    chart->legend()->setVisible(false);
    auto* nameAxis = new QBarCategoryAxis;
    nameAxis->append(names);
    QValueAxis* rsiAxis = valueAxis(TextsOfJumpcharts::tr("Bester RSI (m/s)"), values, "%.1f");
    chart->addAxis(nameAxis, Qt::AlignLeft);
    chart->addAxis(rsiAxis, Qt::AlignBottom);
    attach(chart, series, rsiAxis, nameAxis);
    return chart;
}

void draw(QChart* chart, QPainter& painter, const QRectF& target, const QSizeF& layoutSize) {
    QGraphicsScene scene;
    scene.addItem(chart);
    chart->setGeometry(QRectF(QPointF(0, 0), layoutSize));
    chart->layout()->activate();
    scene.setSceneRect(chart->geometry());
    scene.render(&painter, target, chart->geometry(), Qt::IgnoreAspectRatio);
}

} // namespace jumpcharts
