// The chart of the running series beside the result values.

#include "ui/run/LiveChart.h"

#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

LiveChart::LiveChart(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("liveChart"));
    valueChoice_ = new QComboBox(this);
    valueChoice_->setObjectName(QStringLiteral("chartValueChoice"));
    valueChoice_->addItem(tr("Höhe"), static_cast<int>(jumpcharts::BarValue::Height));
    valueChoice_->addItem(tr("RSI"), static_cast<int>(jumpcharts::BarValue::Rsi));
    auto* label = new QLabel(tr("Balken:"), this);
    label->setObjectName(QStringLiteral("chartValueLabel"));
    label->setBuddy(valueChoice_);
    view_ = new QChartView(this);
    view_->setObjectName(QStringLiteral("liveChartView"));
    view_->setAccessibleName(tr("Diagramm der Serie"));
    view_->setRenderHint(QPainter::Antialiasing);
    view_->setMinimumSize(240, 150);

    auto* choice = new QHBoxLayout;
    choice->setContentsMargins(0, 0, 0, 0);
    choice->addWidget(label);
    choice->addWidget(valueChoice_);
    choice->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addLayout(choice);
    layout->addWidget(view_, 1);

    pending_ = new QTimer(this);
    pending_->setSingleShot(true);
    connect(pending_, &QTimer::timeout, this, &LiveChart::showPending);

    connect(valueChoice_, &QComboBox::activated, this, [this] {
        setBarValue(static_cast<jumpcharts::BarValue>(valueChoice_->currentData().toInt()));
        emit barValueChosen(value_);
    });
    rebuild();
}

void LiveChart::clear() {
    series_.clear();
    markedJumps_.clear();
    rebuild();
}

void LiveChart::addJump(const analysis::StoredJump& jump) {
    series_.add(jump);
    appendNewest();
}

void LiveChart::addRejected() {
    series_.add(std::nullopt);
    appendNewest();
}

namespace {

// The least time between two layouts of a growing chart.
constexpr int kLayoutGapMs = 100;

} // namespace

void LiveChart::appendNewest() {
    if (pending_->isActive())
        return;
    if (sinceShown_.isValid() && sinceShown_.elapsed() < kLayoutGapMs) {
        pending_->start(static_cast<int>(kLayoutGapMs - sinceShown_.elapsed()));
        return;
    }
    showPending();
}

void LiveChart::showPending() {
    pending_->stop();
    sinceShown_.start();
    // Marked bars are no longer those of the series as it grows.
    if (!markedJumps_.isEmpty() ||
        !jumpcharts::appendToSeriesChart(view_->chart(), series_, value_)) {
        markedJumps_.clear();
        rebuild();
    }
}

void LiveChart::setExcludedJumps(const QList<int>& jumpIndexes) {
    series_.setExcluded(jumpIndexes);
    rebuild();
}

void LiveChart::markJumps(const QList<int>& jumpIndexes) {
    markedJumps_ = jumpIndexes;
    rebuild();
}

QList<int> LiveChart::markedPlaces() const {
    QList<int> marked;
    const auto& places = series_.places();
    for (int i = 0; i < places.size(); ++i)
        if (places[i] && markedJumps_.contains(places[i]->jumpIndex))
            marked << i;
    return marked;
}

void LiveChart::setBarValue(jumpcharts::BarValue value) {
    value_ = value;
    valueChoice_->setCurrentIndex(valueChoice_->findData(static_cast<int>(value)));
    rebuild();
}

void LiveChart::setFontScale(double scale) {
    fontScale_ = scale;
    if (std::abs(fittingScale() - shownScale_) >= 0.1)
        rebuild();
}

void LiveChart::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (std::abs(fittingScale() - shownScale_) >= 0.1)
        rebuild();
}

double LiveChart::fittingScale() const {
    // Labels larger than the chart's room would leave no room for the bars.
    const QSize hint = sizeHint();
    const double room = std::min(static_cast<double>(view_->width()) / hint.width(),
                                 static_cast<double>(view_->height()) / (hint.height() - 30));
    return std::clamp(std::min(fontScale_, room), 1.0, fontScale_ < 1.0 ? 1.0 : fontScale_);
}

void LiveChart::rebuild() {
    pending_->stop();
    shownScale_ = fittingScale();
    // A view does not delete the chart it shows when it gets another.
    QChart* old = view_->chart();
    QChart* chart = jumpcharts::seriesChart(series_, value_, shownScale_);
    if (!markedJumps_.isEmpty()) {
        // The marked bars in the colour of the best one, which they take the place of.
        for (QAbstractSeries* series : chart->series()) {
            if (auto* bars = qobject_cast<QBarSeries*>(series)) {
                for (QBarSet* set : bars->barSets()) {
                    set->deselectAllBars();
                    set->selectBars(markedPlaces());
                }
            }
        }
    }
    view_->setChart(chart);
    delete old;
}
