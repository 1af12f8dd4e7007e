// The panel "Messergebnisse": the four values, the start button, the status line and the chart.

#include "ui/run/ResultPanel.h"

#include "ui/common/Icons.h"
#include "ui/common/Widgets.h"
#include "ui/run/LiveChart.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QResizeEvent>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

const QColor kIdleColour(0, 128, 0);
const QColor kRunningColour(255, 0, 0);
// The widest value a field shows in the normal type.
const QString kWidestValue = QStringLiteral("9999,99");
// The largest enlargement of the values.
constexpr double kMaxFactor = 4.0;

// A result field: shown, never typed into. All four look alike, on the window's colour; a
// click selects the value for copying, and Tab passes them by.
QLineEdit* resultField(const QString& name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::ClickFocus);
    QPalette pal = edit->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive})
        pal.setColor(group, QPalette::Base, pal.color(group, QPalette::Window));
    edit->setPalette(pal);
    return edit;
}

} // namespace

ResultPanel::ResultPanel(QWidget* parent) : QGroupBox(tr("Messergebnisse"), parent) {
    setObjectName(QStringLiteral("resultPanel"));
    auto* values = new QGridLayout;
    values->setHorizontalSpacing(8);
    values->setVerticalSpacing(4);

    // A value: its label (which names the field for screen readers), the field and its unit.
    const auto addValue = [this, values](const QString& name, const QString& caption,
                                         const QString& accessibleName, const QString& unit,
                                         int row, int column) {
        QLabel* label = widgets::boldLabel(caption, name + QStringLiteral("Label"), this);
        QLineEdit* edit = resultField(name + QStringLiteral("Field"), this);
        label->setBuddy(edit);
        edit->setAccessibleName(accessibleName);
        values->addWidget(label, row, column);
        values->addWidget(edit, row, column + 1);
        if (!unit.isEmpty()) {
            auto* unitLabel = new QLabel(unit, this);
            unitLabel->setObjectName(name + QStringLiteral("UnitLabel"));
            values->addWidget(unitLabel, row, column + 2);
        }
        return edit;
    };
    contactTimeField_ = addValue(QStringLiteral("contactTime"), tr("Stützzeit:"),
                                 tr("Stützzeit in ms"), tr("ms"), 0, 0);
    flightTimeField_ = addValue(QStringLiteral("flightTime"), tr("Flugzeit:"), tr("Flugzeit in ms"),
                                tr("ms"), 1, 0);
    heightField_ = addValue(QStringLiteral("height"), tr("Höhe(cm):"), tr("Höhe in cm"), {}, 0, 3);
    efficiencyField_ =
        addValue(QStringLiteral("efficiency"), tr("Effizienz:"), tr("Effizienz"), {}, 1, 3);
    values->setColumnMinimumWidth(2, fontMetrics().horizontalAdvance(tr("ms")));
    values->setColumnMinimumWidth(3, 0);

    statusLabel_ = new QLabel(this);
    statusLabel_->setObjectName(QStringLiteral("runStatusLabel"));
    statusLabel_->setTextFormat(Qt::PlainText);
    // A screen reader reads the text itself (who jumps, how many jumps), and what it is as
    // the description: a name would take the text's place.
    statusLabel_->setAccessibleDescription(tr("Stand der Messung"));
    {
        // Read from the athlete's place too: who jumps and how many jumps are stored.
        QFont f = statusLabel_->font();
        f.setBold(true);
        f.setPointSizeF(f.pointSizeF() * 1.25);
        statusLabel_->setFont(f);
    }
    values->addWidget(statusLabel_, 2, 0, 1, 5);

    fieldFont_ = contactTimeField_->font();
    fieldWidth_ = contactTimeField_->fontMetrics().horizontalAdvance(kWidestValue) + 16;
    applyFactor(1.0);

    startButton_ = new QToolButton(this);
    startButton_->setObjectName(QStringLiteral("startButton"));
    startButton_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    startButton_->setIcon(icons::image(icons::Picture::StartMeasurement));
    startButton_->setIconSize(QSize(24, 24));
    startButton_->setAutoRaise(false);
    startButton_->setFocusPolicy(Qt::NoFocus);
    {
        QFont f = startButton_->font();
        f.setBold(true);
        startButton_->setFont(f);
    }
    // Wide enough for either caption, never the whole width of a large window.
    const int captionWidth =
        std::max(startButton_->fontMetrics().horizontalAdvance(tr("Messung starten")),
                 startButton_->fontMetrics().horizontalAdvance(tr("Messung abbrechen")));
    startButton_->setMinimumWidth(std::max(205, captionWidth + 40));
    startButton_->setMaximumWidth(std::max(320, captionWidth + 40));
    startButton_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    startButton_->setMinimumHeight(49);
    connect(startButton_, &QToolButton::clicked, this, &ResultPanel::startClicked);

    liveChart_ = new LiveChart(this);
    liveChart_->hide();

    row_ = new QHBoxLayout;
    row_->addLayout(values);
    row_->addWidget(liveChart_, 1);
    row_->addStretch(1);
    row_->addWidget(startButton_, 0, Qt::AlignVCenter);
    column_ = new QVBoxLayout(this);
    column_->addLayout(row_);
    showRunning(false);
}

void ResultPanel::addBelowValues(QWidget* widget) {
    column_->addWidget(widget);
}

void ResultPanel::showLiveChart(bool shown) {
    liveChart_->setVisible(shown);
    // The chart takes the room between the values and the start button.
    row_->setStretch(2, shown ? 0 : 1);
    if (enlarged_)
        applyFactor(fittingFactor());
}

QLineEdit* ResultPanel::field(ResultField which) const {
    switch (which) {
    case ResultField::ContactTime:
        return contactTimeField_;
    case ResultField::FlightTime:
        return flightTimeField_;
    case ResultField::Efficiency:
        return efficiencyField_;
    case ResultField::Height:
        return heightField_;
    }
    return contactTimeField_;
}

void ResultPanel::showField(ResultField which, const QString& text) {
    field(which)->setText(text);
}

void ResultPanel::showRunning(bool running) {
    startButton_->setText(running ? tr("Messung abbrechen") : tr("Messung starten"));
    // The hint tells what the button and F5 do now.
    startButton_->setToolTip(running ? tr("Messung abbrechen (F5)") : tr("Messung starten (F5)"));
    widgets::setTextColour(startButton_, QPalette::ButtonText,
                           running ? kRunningColour : kIdleColour);
}

QString ResultPanel::startCaption() const {
    return startButton_->text();
}

QString ResultPanel::startToolTip() const {
    return startButton_->toolTip();
}

void ResultPanel::setStartEnabled(bool enabled) {
    startButton_->setEnabled(enabled);
}

void ResultPanel::setStartToolTip(const QString& text) {
    startButton_->setToolTip(text);
}

void ResultPanel::showStatus(const QString& text, bool warning) {
    statusLabel_->setText(text);
    if (warning)
        widgets::setTextColour(statusLabel_, QPalette::WindowText, widgets::kWarningColour);
    else
        statusLabel_->setPalette(palette());
}

void ResultPanel::setEnlarged(bool enlarged) {
    // The window's smallest height with the values in normal type: what the values grow from.
    if (enlarged && !enlarged_)
        idleWindowHeight_ = window()->minimumSizeHint().height();
    enlarged_ = enlarged;
    applyFactor(enlarged ? fittingFactor() : 1.0);
}

void ResultPanel::resizeEvent(QResizeEvent* event) {
    QGroupBox::resizeEvent(event);
    if (enlarged_) {
        const double factor = fittingFactor();
        if (std::abs(factor - factor_) > 0.01)
            applyFactor(factor);
    }
}

double ResultPanel::fittingFactor() const {
    // The values grow with the window: with half the height the window has beyond its
    // first size, and as far as the width beside the start button allows.
    const QWidget* top = window();
    const int extraHeight = std::max(0, top->height() - idleWindowHeight_);
    const int rowHeight = 2 * (QFontMetrics(fieldFont_).height() + 8) + 8;
    double factor = 1.0 + static_cast<double>(extraHeight) / 2 / rowHeight;
    const int labels = contactTimeField_->x() - contentsRect().x() + 80;
    int room = width() - startButton_->minimumWidth() - labels - 60;
    // Beside a series' chart the values take half the room.
    if (liveChart_->isVisible())
        room /= 2;
    factor = std::min(factor, static_cast<double>(room) / (2 * fieldWidth_));
    return std::clamp(factor, 1.0, kMaxFactor);
}

void ResultPanel::applyFactor(double factor) {
    factor_ = factor;
    QFont font = fieldFont_;
    if (factor > 1.0) {
        if (font.pointSizeF() > 0)
            font.setPointSizeF(font.pointSizeF() * factor);
        else
            font.setPixelSize(static_cast<int>(std::lround(font.pixelSize() * factor)));
    }
    if (liveChart_)
        liveChart_->setFontScale(factor);
    for (QLineEdit* edit : {contactTimeField_, flightTimeField_, heightField_, efficiencyField_}) {
        edit->setFont(font);
        edit->setFixedWidth(static_cast<int>(std::lround(fieldWidth_ * factor)));
        edit->setFixedHeight(QFontMetrics(font).height() + 8);
    }
}
