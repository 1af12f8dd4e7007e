#include "ui/run/ResultPanel.h"

#include "ui/common/Icons.h"
#include "ui/common/Widgets.h"
#include "ui/run/LiveChart.h"

#include "core/base/Errors.h"
#include "core/measure/MeasurementTest.h"
#include "core/measure/ProtocolRun.h"
#include "core/store/Schema.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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
    dropHeightLabel_ = dropHeightLabel;
    endChoice_ = new QComboBox(this);
    endChoice_->setObjectName(QStringLiteral("endChoice"));
    endChoice_->addItem(tr("von Hand"), static_cast<int>(AutoEnd::Kind::None));
    endChoice_->addItem(tr("nach Sprüngen"), static_cast<int>(AutoEnd::Kind::AfterJumps));
    endChoice_->addItem(tr("nach Sekunden"), static_cast<int>(AutoEnd::Kind::AfterSeconds));
    auto* endLabel = new QLabel(tr("Serienende:"), this);
    endLabel->setObjectName(QStringLiteral("endLabel"));
    endLabel->setBuddy(endChoice_);
    endLabel_ = endLabel;
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

    // The protocol of the next run, with the heights and trials of a profile.
    protocolChoice_ = new QComboBox(this);
    protocolChoice_->setObjectName(QStringLiteral("protocolChoice"));
    protocolChoice_->addItem(tr("keines"), static_cast<int>(Protocol::None));
    protocolChoice_->addItem(tr("10/5"), static_cast<int>(Protocol::TenFive));
    protocolChoice_->addItem(tr("Fallhöhen-Profil"), static_cast<int>(Protocol::DropHeightProfile));
    protocolChoice_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    auto* protocolLabel = new QLabel(tr("Protokoll:"), this);
    protocolLabel->setObjectName(QStringLiteral("protocolLabel"));
    protocolLabel->setBuddy(protocolChoice_);
    heightsField_ = new QLineEdit(protocolrun::heightsText(protocolrun::defaultHeightsCm()), this);
    heightsField_->setObjectName(QStringLiteral("profileHeightsField"));
    heightsField_->setAccessibleName(tr("Fallhöhen des Profils in cm"));
    heightsField_->setToolTip(tr("Ansteigende ganze Zahlen von 0 bis 150, durch Kommas getrennt"));
    heightsField_->setMaxLength(100);
    heightsField_->setMinimumWidth(
        heightsField_->fontMetrics().horizontalAdvance(QStringLiteral("20, 30, 40, 50, 60, 70")) +
        16);
    heightsLabel_ = new QLabel(tr("Fallhöhen (cm):"), this);
    heightsLabel_->setObjectName(QStringLiteral("profileHeightsLabel"));
    heightsLabel_->setBuddy(heightsField_);
    trialsField_ = new QSpinBox(this);
    trialsField_->setObjectName(QStringLiteral("trialsPerHeightField"));
    trialsField_->setAccessibleName(tr("Versuche je Fallhöhe"));
    trialsField_->setRange(protocolrun::kMinTrials, protocolrun::kMaxTrials);
    trialsField_->setValue(protocolrun::kDefaultTrials);
    trialsLabel_ = new QLabel(tr("Versuche je Höhe:"), this);
    trialsLabel_->setObjectName(QStringLiteral("trialsPerHeightLabel"));
    trialsLabel_->setBuddy(trialsField_);
    connect(protocolChoice_, &QComboBox::currentIndexChanged, this,
            &ResultPanel::updateProtocolFields);
    connect(heightsField_, &QLineEdit::textChanged, this, &ResultPanel::showProfilePreview);
    connect(trialsField_, &QSpinBox::valueChanged, this, &ResultPanel::showProfilePreview);

    choices->addWidget(testLabel);
    choices->addWidget(testChoice_);
    choices->addSpacing(8);
    choices->addWidget(protocolLabel);
    choices->addWidget(protocolChoice_);
    choices->addStretch(1);
    choices->addWidget(dropHeightLabel);
    choices->addWidget(dropHeightField_);
    choices->addWidget(heightsLabel_);
    choices->addWidget(heightsField_);
    choices->addSpacing(8);
    choices->addWidget(endLabel);
    choices->addWidget(endChoice_);
    choices->addWidget(endLimit_);
    choices->addWidget(trialsLabel_);
    choices->addWidget(trialsField_);

    // What a protocol tells during and after its run: the profile's next height and trial in
    // large type with what the last height gave and the advice to end, or the 10/5 result.
    protocolBox_ = new QWidget(this);
    protocolBox_->setObjectName(QStringLiteral("protocolBox"));
    positionLabel_ = new QLabel(protocolBox_);
    positionLabel_->setObjectName(QStringLiteral("profilePositionLabel"));
    positionLabel_->setAccessibleName(tr("Nächster Versuch des Profils"));
    positionLabel_->setTextFormat(Qt::PlainText);
    {
        QFont f = positionLabel_->font();
        f.setBold(true);
        f.setPointSizeF(f.pointSizeF() * 2);
        positionLabel_->setFont(f);
    }
    lastHeightLabel_ = new QLabel(protocolBox_);
    lastHeightLabel_->setObjectName(QStringLiteral("profileHeightResultLabel"));
    lastHeightLabel_->setAccessibleName(tr("Ergebnis der letzten Fallhöhe"));
    lastHeightLabel_->setTextFormat(Qt::PlainText);
    adviceLabel_ = new QLabel(protocolBox_);
    adviceLabel_->setObjectName(QStringLiteral("profileAdviceLabel"));
    adviceLabel_->setAccessibleName(tr("Hinweis zum Ende des Profils"));
    adviceLabel_->setTextFormat(Qt::PlainText);
    adviceLabel_->setWordWrap(true);
    setTextColour(adviceLabel_, QPalette::WindowText, kWarningColour);
    protocolResultLabel_ = new QLabel(protocolBox_);
    protocolResultLabel_->setObjectName(QStringLiteral("protocolResultLabel"));
    protocolResultLabel_->setAccessibleName(tr("Ergebnis des Protokolls"));
    protocolResultLabel_->setTextFormat(Qt::PlainText);
    protocolResultLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    {
        QFont f = protocolResultLabel_->font();
        f.setBold(true);
        f.setPointSizeF(f.pointSizeF() * 1.25);
        protocolResultLabel_->setFont(f);
    }
    endProfileButton_ = new QPushButton(tr("Profil beenden"), protocolBox_);
    endProfileButton_->setObjectName(QStringLiteral("endProfileButton"));
    endProfileButton_->setFocusPolicy(Qt::NoFocus);
    connect(endProfileButton_, &QPushButton::clicked, this, &ResultPanel::endProfileClicked);
    auto* guideTexts = new QVBoxLayout;
    guideTexts->setContentsMargins(0, 0, 0, 0);
    guideTexts->setSpacing(2);
    guideTexts->addWidget(positionLabel_);
    guideTexts->addWidget(lastHeightLabel_);
    guideTexts->addWidget(adviceLabel_);
    guideTexts->addWidget(protocolResultLabel_);
    auto* protocolRow = new QHBoxLayout(protocolBox_);
    protocolRow->setContentsMargins(0, 0, 0, 0);
    protocolRow->addLayout(guideTexts, 1);
    protocolRow->addWidget(endProfileButton_, 0, Qt::AlignBottom);

    liveChart_ = new LiveChart(this);
    liveChart_->hide();

    row_ = new QHBoxLayout;
    row_->addLayout(values);
    row_->addWidget(liveChart_, 1);
    row_->addStretch(1);
    row_->addWidget(startButton_, 0, Qt::AlignVCenter);
    auto* column = new QVBoxLayout(this);
    column->addLayout(row_);
    column->addWidget(protocolBox_);
    column->addLayout(choices);
    showRunning(false);
    updateTestFields();
    updateProtocolFields();
    clearProtocolTexts();
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
    // A protocol keeps the test it runs.
    if (protocol() != Protocol::None)
        return;
    const QString name =
        test.name.isEmpty() ? measurementtest::offeredNames().constFirst() : test.name;
    testChoice_->setCurrentText(measurementtest::shownName(name));
    dropHeightField_->setText(measurementtest::dropHeightText(test.dropHeightCm));
    updateTestFields();
}

void ResultPanel::updateTestFields() {
    // A drop height belongs only to the tests that start from a box.
    const bool takesHeight = measurementtest::takesDropHeight(testName());
    dropHeightField_->setEnabled(takesHeight && choicesEnabled_);
    dropHeightField_->setAccessibleName(tr("Fallhöhe in cm"));
    if (!takesHeight)
        dropHeightField_->clear();
}

AutoEnd ResultPanel::autoEnd() const {
    if (protocol() == Protocol::TenFive)
        return protocolrun::tenFiveEnd();
    return autoEndOfFields();
}

AutoEnd ResultPanel::autoEndOfFields() const {
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
    updateProtocolFields();
}

void ResultPanel::setSeriesMode(bool series) {
    seriesMode_ = series;
    updateEndFields();
}

void ResultPanel::updateEndFields() {
    // A protocol ends its runs by its own rule.
    const bool choosable = choicesEnabled_ && seriesMode_ && protocol() == Protocol::None;
    endChoice_->setEnabled(choosable);
    endLimit_->setEnabled(choosable && autoEndOfFields().kind != AutoEnd::Kind::None);
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

Protocol ResultPanel::protocol() const {
    return static_cast<Protocol>(protocolChoice_->currentData().toInt());
}

void ResultPanel::setProtocol(Protocol protocol) {
    protocolChoice_->setCurrentIndex(protocolChoice_->findData(static_cast<int>(protocol)));
}

void ResultPanel::offerProtocols(bool offered) {
    if (offered == (protocolChoice_->count() > 1))
        return;
    if (offered) {
        protocolChoice_->addItem(tr("10/5"), static_cast<int>(Protocol::TenFive));
        protocolChoice_->addItem(tr("Fallhöhen-Profil"),
                                 static_cast<int>(Protocol::DropHeightProfile));
    } else {
        setProtocol(Protocol::None);
        while (protocolChoice_->count() > 1)
            protocolChoice_->removeItem(protocolChoice_->count() - 1);
    }
    protocolChoice_->setToolTip(offered ? QString()
                                        : schema::missingText(schema::Feature::Protocols));
}

QString ResultPanel::profileHeightsText() const {
    return heightsField_->text();
}

int ResultPanel::trialsPerHeight() const {
    return trialsField_->value();
}

void ResultPanel::updateProtocolFields() {
    const Protocol chosen = protocol();
    if (chosen != shownProtocol_) {
        // A 10/5 shows its own end; the user's comes back afterwards.
        if (chosen == Protocol::TenFive)
            chosenEnd_ = autoEndOfFields();
        if (shownProtocol_ == Protocol::TenFive)
            setAutoEnd(chosenEnd_);
        shownProtocol_ = chosen;
        clearProtocolTexts();
    }
    const bool profile = chosen == Protocol::DropHeightProfile;
    if (chosen == Protocol::TenFive) {
        testChoice_->setCurrentText(measurementtest::shownName(QStringLiteral("Sprungserie")));
        endChoice_->setCurrentIndex(
            endChoice_->findData(static_cast<int>(AutoEnd::Kind::AfterJumps)));
        endLimit_->setValue(protocolrun::tenFiveEnd().limit);
    } else if (profile) {
        testChoice_->setCurrentText(measurementtest::shownName(QStringLiteral("Drop Jump")));
    }
    testChoice_->setEnabled(choicesEnabled_ && chosen == Protocol::None);
    protocolChoice_->setEnabled(choicesEnabled_ && !profileActive_);
    // A profile takes its drop heights from its own field, and ends its trials after the
    // jump.
    for (QWidget* w : {static_cast<QWidget*>(dropHeightLabel_),
                       static_cast<QWidget*>(dropHeightField_), static_cast<QWidget*>(endLabel_),
                       static_cast<QWidget*>(endChoice_), static_cast<QWidget*>(endLimit_)})
        w->setVisible(!profile);
    for (QWidget* w : {static_cast<QWidget*>(heightsLabel_), static_cast<QWidget*>(heightsField_),
                       static_cast<QWidget*>(trialsLabel_), static_cast<QWidget*>(trialsField_)})
        w->setVisible(profile);
    heightsField_->setEnabled(choicesEnabled_ && !profileActive_);
    trialsField_->setEnabled(choicesEnabled_ && !profileActive_);
    endProfileButton_->setVisible(profileActive_);
    endProfileButton_->setEnabled(choicesEnabled_);
    updateTestFields();
    updateEndFields();
    if (profile && !profileActive_)
        showProfilePreview();
}

void ResultPanel::showProfilePreview() {
    if (protocol() != Protocol::DropHeightProfile || profileActive_)
        return;
    // Heights that cannot be taken say why at once (and again when the profile starts).
    QString first;
    QString fault;
    try {
        const ProfileRun run(protocolrun::parseHeights(heightsField_->text()),
                             trialsField_->value());
        if (const auto position = run.next())
            first = ProfileRun::positionText(*position);
    } catch (const AppError& e) {
        fault = e.text();
    }
    showProfileGuide(first, {}, fault);
}

void ResultPanel::setProfileActive(bool active) {
    profileActive_ = active;
    updateProtocolFields();
}

void ResultPanel::showProfileGuide(const QString& position, const QString& lastHeight,
                                   const QString& advice) {
    positionLabel_->setText(position);
    positionLabel_->setVisible(!position.isEmpty());
    lastHeightLabel_->setText(lastHeight);
    lastHeightLabel_->setVisible(!lastHeight.isEmpty());
    adviceLabel_->setText(advice);
    adviceLabel_->setVisible(!advice.isEmpty());
    protocolResultLabel_->hide();
    updateProtocolBox();
}

void ResultPanel::showProtocolResult(const QString& text, bool warning) {
    protocolResultLabel_->setText(text);
    protocolResultLabel_->setVisible(!text.isEmpty());
    if (warning)
        setTextColour(protocolResultLabel_, QPalette::WindowText, kWarningColour);
    else
        protocolResultLabel_->setPalette(palette());
    updateProtocolBox();
}

void ResultPanel::clearProtocolTexts() {
    for (QLabel* label : {positionLabel_, lastHeightLabel_, adviceLabel_, protocolResultLabel_}) {
        label->clear();
        label->hide();
    }
    updateProtocolBox();
}

void ResultPanel::updateProtocolBox() {
    // The box takes no room while it has nothing to say.
    protocolBox_->setVisible(
        endProfileButton_->isVisibleTo(protocolBox_) || !positionLabel_->text().isEmpty() ||
        !protocolResultLabel_->text().isEmpty() || !lastHeightLabel_->text().isEmpty() ||
        !adviceLabel_->text().isEmpty());
}
