#include "ui/LiveChart.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

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
    view_->setMinimumSize(240, 120);

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

void LiveChart::setBarValue(jumpcharts::BarValue value) {
    value_ = value;
    valueChoice_->setCurrentIndex(valueChoice_->findData(static_cast<int>(value)));
    rebuild();
}

void LiveChart::setFontScale(double scale) {
    if (std::abs(scale - fontScale_) < 0.05)
        return;
    fontScale_ = scale;
    rebuild();
}

void LiveChart::rebuild() {
    // A view does not delete the chart it shows when it gets another.
    QChart* old = view_->chart();
    view_->setChart(jumpcharts::seriesChart(places_, value_, fontScale_));
    delete old;
}
