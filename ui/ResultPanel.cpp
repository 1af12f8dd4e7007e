#include "ui/ResultPanel.h"

#include "ui/Icons.h"
#include "ui/Widgets.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QResizeEvent>
#include <QToolButton>

#include <algorithm>
#include <cmath>

namespace {

const QColor kIdleColour(0, 128, 0);
const QColor kRunningColour(255, 0, 0);
const QColor kWarningColour(192, 0, 0);
// The widest value a field shows in the normal type.
const QString kWidestValue = QStringLiteral("9999,99");
// The largest enlargement of the values.
constexpr double kMaxFactor = 4.0;

void setTextColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
    QPalette pal = widget->palette();
    pal.setColor(QPalette::Active, role, colour);
    pal.setColor(QPalette::Inactive, role, colour);
    widget->setPalette(pal);
}

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
    statusLabel_->setAccessibleName(tr("Stand der Messung"));
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

    auto* row = new QHBoxLayout(this);
    row->addLayout(values);
    row->addStretch(1);
    row->addWidget(startButton_, 0, Qt::AlignVCenter);
    showRunning(false);
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

QString ResultPanel::fieldText(ResultField which) const {
    return field(which)->text();
}

void ResultPanel::showRunning(bool running) {
    startButton_->setText(running ? tr("Messung abbrechen") : tr("Messung starten"));
    setTextColour(startButton_, QPalette::ButtonText, running ? kRunningColour : kIdleColour);
}

QString ResultPanel::startCaption() const {
    return startButton_->text();
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
        setTextColour(statusLabel_, QPalette::WindowText, kWarningColour);
    else
        statusLabel_->setPalette(palette());
}

QString ResultPanel::statusText() const {
    return statusLabel_->text();
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
    const int room = width() - startButton_->minimumWidth() - labels - 60;
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
    for (QLineEdit* edit : {contactTimeField_, flightTimeField_, heightField_, efficiencyField_}) {
        edit->setFont(font);
        edit->setFixedWidth(static_cast<int>(std::lround(fieldWidth_ * factor)));
        edit->setFixedHeight(QFontMetrics(font).height() + 8);
    }
}
