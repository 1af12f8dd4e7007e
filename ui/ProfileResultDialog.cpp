#include "ui/ProfileResultDialog.h"

#include "core/base/Texts.h"
#include "core/measure/ProtocolRun.h"
#include "ui/Widgets.h"

#include <QChart>
#include <QChartView>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <numeric>

namespace {

// A value axis from 0 to a little above the largest value.
QValueAxis* valuesAxis(const QString& title, const QList<double>& values, const char* format) {
    auto* axis = new QValueAxis;
    axis->setTitleText(title);
    axis->setLabelFormat(QString::fromLatin1(format));
    const double top = values.isEmpty() ? 1 : *std::max_element(values.begin(), values.end());
    axis->setRange(0, top > 0 ? top * 1.1 : 1);
    axis->applyNiceNumbers();
    return axis;
}

// The best RSI (left axis) and the best jump height (right axis) of each drop height with a
// valid trial, over the drop height.
QChart* profileCurves(const protocols::Profile& profile) {
    auto* chart = new QChart;
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setLocalizeNumbers(true);
    QLocale locale = texts::locale();
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    chart->setLocale(locale);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setMargins(QMargins(4, 4, 4, 4));
    auto* rsi = new QLineSeries;
    rsi->setName(ProfileResultDialog::tr("Bester RSI (m/s)"));
    auto* height = new QLineSeries;
    height->setName(ProfileResultDialog::tr("Beste Höhe (cm)"));
    QList<double> rsis, heights;
    int lowest = 0, highest = 0;
    for (const protocols::ProfileStep& step : profile.steps) {
        if (rsis.isEmpty() && heights.isEmpty())
            lowest = step.dropHeightCm;
        highest = step.dropHeightCm;
        if (step.bestRsi) {
            rsi->append(step.dropHeightCm, *step.bestRsi);
            rsis << *step.bestRsi;
        }
        if (step.bestHeightCm) {
            height->append(step.dropHeightCm, *step.bestHeightCm);
            heights << *step.bestHeightCm;
        }
    }
    for (QLineSeries* series : {rsi, height})
        series->setPointsVisible(true);
    auto* dropAxis = new QValueAxis;
    dropAxis->setTitleText(ProfileResultDialog::tr("Fallhöhe (cm)"));
    dropAxis->setLabelFormat(QStringLiteral("%.0f"));
    // A tick at every drop height: the step that they all are apart by (10 cm for one
    // height), and a step's room beside the first and last so that their points stay whole.
    int step = 0;
    for (const protocols::ProfileStep& s : profile.steps)
        step = std::gcd(step, s.dropHeightCm - lowest);
    if (step == 0)
        step = 10;
    // Not more ticks than the axis has room for.
    while ((highest - lowest) / step > 15)
        step *= 2;
    dropAxis->setTickType(QValueAxis::TicksDynamic);
    dropAxis->setTickAnchor(lowest);
    dropAxis->setTickInterval(step);
    dropAxis->setRange(lowest - step, highest + step);
    QValueAxis* rsiAxis = valuesAxis(ProfileResultDialog::tr("Bester RSI (m/s)"), rsis, "%.1f");
    QValueAxis* heightAxis =
        valuesAxis(ProfileResultDialog::tr("Beste Höhe (cm)"), heights, "%.0f");
    heightAxis->setGridLineVisible(false);
    chart->addAxis(dropAxis, Qt::AlignBottom);
    chart->addAxis(rsiAxis, Qt::AlignLeft);
    chart->addAxis(heightAxis, Qt::AlignRight);
    chart->addSeries(rsi);
    rsi->attachAxis(dropAxis);
    rsi->attachAxis(rsiAxis);
    chart->addSeries(height);
    height->attachAxis(dropAxis);
    height->attachAxis(heightAxis);
    return chart;
}

} // namespace

ProfileResultDialog::ProfileResultDialog(const protocols::Profile& profile,
                                         const QString& athleteName, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("profileResultDialog"));
    setWindowTitle(tr("Fallhöhen-Profil – %1").arg(athleteName));

    auto* view = new QChartView(profileCurves(profile), this);
    view->setObjectName(QStringLiteral("profileChartView"));
    view->setAccessibleName(tr("Bester RSI und beste Höhe über der Fallhöhe"));
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(480, 260);

    QLabel* byRsi = widgets::boldLabel(protocolrun::optimalByRsiText(profile),
                                       QStringLiteral("optimalByRsiLabel"), this);
    QLabel* byHeight = widgets::boldLabel(protocolrun::optimalByHeightText(profile),
                                          QStringLiteral("optimalByHeightLabel"), this);
    for (QLabel* label : {byRsi, byHeight}) {
        label->setTextFormat(Qt::PlainText);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }

    const QStringList columns = protocolrun::profileColumns();
    const QList<QStringList> rows = protocolrun::profileRows(profile);
    auto* table =
        new QTableWidget(static_cast<int>(rows.size()), static_cast<int>(columns.size()), this);
    table->setObjectName(QStringLiteral("profileTable"));
    table->setAccessibleName(tr("Ergebnisse je Fallhöhe"));
    table->setHorizontalHeaderLabels(columns);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows[r].size(); ++c) {
            auto* item = new QTableWidgetItem(rows[r][c]);
            item->setTextAlignment(Qt::AlignCenter);
            table->setItem(r, c, item);
        }
    }
    table->resizeColumnsToContents();
    table->horizontalHeader()->setStretchLastSection(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->setObjectName(QStringLiteral("profileButtons"));
    buttons->button(QDialogButtonBox::Close)->setText(tr("Schließen"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view, 1);
    layout->addWidget(byRsi);
    layout->addWidget(byHeight);
    layout->addWidget(table);
    layout->addWidget(buttons);
    resize(760, 620);
}
