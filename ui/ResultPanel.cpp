#include "ui/ResultPanel.h"

#include "ui/Icons.h"
#include "ui/LiveChart.h"
#include "ui/Widgets.h"

#include "core/measure/MeasurementTest.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QResizeEvent>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

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

    // The test of the next run and how a series ends by itself.
    auto* choices = new QHBoxLayout;
    testChoice_ = new QComboBox(this);
    testChoice_->setObjectName(QStringLiteral("testChoice"));
    testChoice_->setEditable(true);
    testChoice_->setInsertPolicy(QComboBox::NoInsert);
    testChoice_->lineEdit()->setMaxLength(measurementtest::kMaxNameLength);
    for (const QString& name : measurementtest::offeredNames())
        testChoice_->addItem(measurementtest::shownName(name), name);
    testChoice_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    auto* testLabel = new QLabel(tr("Test:"), this);
    testLabel->setObjectName(QStringLiteral("testLabel"));
    testLabel->setBuddy(testChoice_);
    dropHeightField_ = new QLineEdit(this);
    dropHeightField_->setObjectName(QStringLiteral("dropHeightField"));
    dropHeightField_->setValidator(
        new QIntValidator(0, measurementtest::kMaxDropHeightCm, dropHeightField_));
    dropHeightField_->setMaxLength(3);
    dropHeightField_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    dropHeightField_->setFixedWidth(
        dropHeightField_->fontMetrics().horizontalAdvance(QStringLiteral("9999")) + 16);
    auto* dropHeightLabel = new QLabel(tr("Fallhöhe (cm):"), this);
    dropHeightLabel->setObjectName(QStringLiteral("dropHeightLabel"));
    dropHeightLabel->setBuddy(dropHeightField_);
    endChoice_ = new QComboBox(this);
    endChoice_->setObjectName(QStringLiteral("endChoice"));
    endChoice_->addItem(tr("von Hand"), static_cast<int>(AutoEnd::Kind::None));
    endChoice_->addItem(tr("nach Sprüngen"), static_cast<int>(AutoEnd::Kind::AfterJumps));
    endChoice_->addItem(tr("nach Sekunden"), static_cast<int>(AutoEnd::Kind::AfterSeconds));
    auto* endLabel = new QLabel(tr("Serienende:"), this);
    endLabel->setObjectName(QStringLiteral("endLabel"));
    endLabel->setBuddy(endChoice_);
    endLimit_ = new QSpinBox(this);
    endLimit_->setObjectName(QStringLiteral("endLimit"));
    endLimit_->setAccessibleName(tr("Anzahl der Sprünge oder Sekunden bis zum Serienende"));
    endLimit_->setRange(1, AutoEnd::kMaxJumps);
    endLimit_->setValue(10);
    endLimit_->setEnabled(false);
    connect(endChoice_, &QComboBox::currentIndexChanged, this, [this] {
        const auto kind = static_cast<AutoEnd::Kind>(endChoice_->currentData().toInt());
        endLimit_->setMaximum(kind == AutoEnd::Kind::AfterSeconds ? AutoEnd::kMaxSeconds
                                                                  : AutoEnd::kMaxJumps);
        updateEndFields();
    });
    connect(testChoice_, &QComboBox::currentTextChanged, this, &ResultPanel::updateTestFields);
    choices->addWidget(testLabel);
    choices->addWidget(testChoice_);
    choices->addStretch(1);
    choices->addWidget(dropHeightLabel);
    choices->addWidget(dropHeightField_);
    choices->addSpacing(8);
    choices->addWidget(endLabel);
    choices->addWidget(endChoice_);
    choices->addWidget(endLimit_);

    liveChart_ = new LiveChart(this);
    liveChart_->hide();

    row_ = new QHBoxLayout;
    row_->addLayout(values);
    row_->addWidget(liveChart_, 1);
    row_->addStretch(1);
    row_->addWidget(startButton_, 0, Qt::AlignVCenter);
    auto* column = new QVBoxLayout(this);
    column->addLayout(row_);
    column->addLayout(choices);
    showRunning(false);
    updateTestFields();
}

QString ResultPanel::testName() const {
    // An offered test as it is stored, whatever the language shows.
    const int index = testChoice_->findText(testChoice_->currentText());
    return index >= 0 ? testChoice_->itemData(index).toString() : testChoice_->currentText();
}

QString ResultPanel::dropHeightText() const {
    return dropHeightField_->isEnabled() ? dropHeightField_->text() : QString();
}

void ResultPanel::showTest(const MeasurementTest& test) {
    const QString name =
        test.name.isEmpty() ? measurementtest::offeredNames().constFirst() : test.name;
    testChoice_->setCurrentText(measurementtest::shownName(name));
    dropHeightField_->setText(measurementtest::dropHeightText(test.dropHeightCm));
    updateTestFields();
}

void ResultPanel::updateTestFields() {
    // A drop height belongs only to the tests that start from a box.
    const bool takesHeight = measurementtest::takesDropHeight(testName());
    dropHeightField_->setEnabled(takesHeight && testChoice_->isEnabled());
    dropHeightField_->setAccessibleName(tr("Fallhöhe in cm"));
    if (!takesHeight)
        dropHeightField_->clear();
}

AutoEnd ResultPanel::autoEnd() const {
    switch (static_cast<AutoEnd::Kind>(endChoice_->currentData().toInt())) {
    case AutoEnd::Kind::AfterJumps:
        return AutoEnd::afterJumps(endLimit_->value());
    case AutoEnd::Kind::AfterSeconds:
        return AutoEnd::afterSeconds(endLimit_->value());
    case AutoEnd::Kind::None:
        break;
    }
    return {};
}

void ResultPanel::setAutoEnd(const AutoEnd& autoEnd) {
    endChoice_->setCurrentIndex(endChoice_->findData(static_cast<int>(autoEnd.kind)));
    if (autoEnd.kind != AutoEnd::Kind::None)
        endLimit_->setValue(autoEnd.limit);
}

void ResultPanel::showLiveChart(bool shown) {
    liveChart_->setVisible(shown);
    // The chart takes the room between the values and the start button.
    row_->setStretch(2, shown ? 0 : 1);
    if (enlarged_)
        applyFactor(fittingFactor());
}

void ResultPanel::setRunChoicesEnabled(bool enabled) {
    choicesEnabled_ = enabled;
    testChoice_->setEnabled(enabled);
    updateTestFields();
    updateEndFields();
}

void ResultPanel::setSeriesMode(bool series) {
    seriesMode_ = series;
    updateEndFields();
}

void ResultPanel::updateEndFields() {
    const bool choosable = choicesEnabled_ && seriesMode_;
    endChoice_->setEnabled(choosable);
    endLimit_->setEnabled(choosable && autoEnd().kind != AutoEnd::Kind::None);
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
