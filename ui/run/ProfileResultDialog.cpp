// The dialog that shows a finished drop-height profile.

#include "ui/run/ProfileResultDialog.h"

#include "core/analysis/ProtocolResults.h"
#include "core/base/Texts.h"
#include "ui/common/JumpCharts.h"
#include "ui/common/Widgets.h"

#include <QChart>
#include <QChartView>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

ProfileResultDialog::ProfileResultDialog(const protocols::Profile& profile,
                                         const QString& athleteName, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("profileResultDialog"));
    setWindowTitle(tr("Fallhöhen-Profil – %1").arg(athleteName));

    auto* view = new QChartView(jumpcharts::profileChart(profile), this);
    view->setObjectName(QStringLiteral("profileChartView"));
    view->setAccessibleName(tr("Bester RSI und beste Höhe über der Fallhöhe"));
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(480, 260);

    const QList<protocolresults::Field> optima = protocolresults::profileOptima(profile);
    QLabel* byRsi = widgets::boldLabel(protocolresults::fieldLine(optima.value(0)),
                                       QStringLiteral("optimalByRsiLabel"), this);
    QLabel* byHeight = widgets::boldLabel(protocolresults::fieldLine(optima.value(1)),
                                          QStringLiteral("optimalByHeightLabel"), this);
    for (QLabel* label : {byRsi, byHeight}) {
        label->setTextFormat(Qt::PlainText);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }

    const QStringList columns = protocolresults::profileTableHeader();
    const QList<QStringList> rows = protocolresults::profileTableTexts(profile);
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
