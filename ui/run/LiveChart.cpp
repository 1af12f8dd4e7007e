// The chart of the running series beside the result values.

#include "ui/run/LiveChart.h"

#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
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

    connect(valueChoice_, &QComboBox::activated, this, [this] {
        setBarValue(static_cast<jumpcharts::BarValue>(valueChoice_->currentData().toInt()));
        emit barValueChosen(value_);
    });
    rebuild();
}

void LiveChart::clear() {
    places_.clear();
    markedJumps_.clear();
    rebuild();
}

void LiveChart::addJump(const analysis::StoredJump& jump) {
    places_.append(jumpcharts::SeriesSlot{jump});
    rebuild();
}

void LiveChart::addRejected() {
    places_.append(jumpcharts::SeriesSlot{});
    rebuild();
}

void LiveChart::setExcludedJumps(const QList<int>& jumpIndexes) {
    for (jumpcharts::SeriesSlot& place : places_)
        if (place.jump)
            place.jump->excluded = jumpIndexes.contains(place.jump->jumpIndex);
    rebuild();
}

void LiveChart::markJumps(const QList<int>& jumpIndexes) {
    markedJumps_ = jumpIndexes;
    rebuild();
}

QList<int> LiveChart::markedPlaces() const {
    QList<int> marked;
    for (int i = 0; i < places_.size(); ++i)
        if (places_[i].jump && markedJumps_.contains(places_[i].jump->jumpIndex))
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
    shownScale_ = fittingScale();
    // A view does not delete the chart it shows when it gets another.
    QChart* old = view_->chart();
    QChart* chart = jumpcharts::seriesChart(places_, value_, shownScale_);
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
