// The set-up of the next run: test, drop height, protocol, profile and the end of a series.

#include "ui/run/RunSetupPanel.h"

#include "ui/common/Widgets.h"

#include "core/base/Errors.h"
#include "core/measure/MeasurementTest.h"
#include "core/measure/ProtocolRun.h"
#include "core/store/Schema.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

RunSetupPanel::RunSetupPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("runSetupPanel"));

    // Built before the protocol box, so that Tab reaches the choices first.
    QHBoxLayout* choices = buildChoices();

    // The test day that goes on: its name and set-up, in the words of the day.
    dayLabel_ = new QLabel(this);
    dayLabel_->setObjectName(QStringLiteral("testDayLabel"));
    dayLabel_->setTextFormat(Qt::PlainText);
    dayLabel_->setWordWrap(true);
    dayLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    dayLabel_->hide();

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(dayLabel_);
    column->addWidget(buildProtocolBox());
    column->addLayout(choices);
    updateTestFields();
    updateProtocolFields();
    clearProtocolTexts();

    // The room of each protocol's fields, the last the first, which stays chosen with the
    // test, the end of a series and the texts as they were.
    ensurePolished();
    const int test = testChoice_->currentIndex();
    const int limit = endLimit_->value();
    for (int i = protocolChoice_->count() - 1; i >= 0; --i) {
        protocolChoice_->setCurrentIndex(i);
        largestRoom_ = largestRoom_.expandedTo(minimumSizeHint());
    }
    testChoice_->setCurrentIndex(test);
    endLimit_->setValue(limit);
    clearProtocolTexts();
    setMinimumWidth(largestRoom_.width());
}

QHBoxLayout* RunSetupPanel::buildChoices() {
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
    connect(testChoice_, &QComboBox::currentTextChanged, this, &RunSetupPanel::updateTestFields);

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
            &RunSetupPanel::updateProtocolFields);
    connect(heightsField_, &QLineEdit::textChanged, this, &RunSetupPanel::showProfilePreview);
    connect(trialsField_, &QSpinBox::valueChanged, this, &RunSetupPanel::showProfilePreview);

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
    return choices;
}

QWidget* RunSetupPanel::buildProtocolBox() {
    // What a protocol tells during and after its run: the profile's next height and trial in
    // large type with what the last height gave and the advice to end, or the 10/5 result.
    protocolBox_ = new QWidget(this);
    protocolBox_->setObjectName(QStringLiteral("protocolBox"));
    positionLabel_ = new QLabel(protocolBox_);
    positionLabel_->setObjectName(QStringLiteral("profilePositionLabel"));
    // The labels below show changing texts: a screen reader reads the text, and what it is
    // as the description (a name would take the text's place).
    positionLabel_->setAccessibleDescription(tr("Nächster Versuch des Profils"));
    positionLabel_->setTextFormat(Qt::PlainText);
    {
        QFont f = positionLabel_->font();
        f.setBold(true);
        f.setPointSizeF(f.pointSizeF() * 2);
        positionLabel_->setFont(f);
    }
    lastHeightLabel_ = new QLabel(protocolBox_);
    lastHeightLabel_->setObjectName(QStringLiteral("profileHeightResultLabel"));
    lastHeightLabel_->setAccessibleDescription(tr("Ergebnis der letzten Fallhöhe"));
    lastHeightLabel_->setTextFormat(Qt::PlainText);
    adviceLabel_ = new QLabel(protocolBox_);
    adviceLabel_->setObjectName(QStringLiteral("profileAdviceLabel"));
    adviceLabel_->setAccessibleDescription(tr("Hinweis zum Ende des Profils"));
    adviceLabel_->setTextFormat(Qt::PlainText);
    adviceLabel_->setWordWrap(true);
    widgets::setTextColour(adviceLabel_, QPalette::WindowText, widgets::kWarningColour);
    protocolResultLabel_ = new QLabel(protocolBox_);
    protocolResultLabel_->setObjectName(QStringLiteral("protocolResultLabel"));
    protocolResultLabel_->setAccessibleDescription(tr("Ergebnis des Protokolls"));
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
    connect(endProfileButton_, &QPushButton::clicked, this, &RunSetupPanel::endProfileClicked);
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
    return protocolBox_;
}

QString RunSetupPanel::testName() const {
    // An offered test as it is stored, whatever the language shows.
    const int index = testChoice_->findText(testChoice_->currentText());
    return index >= 0 ? testChoice_->itemData(index).toString() : testChoice_->currentText();
}

QString RunSetupPanel::dropHeightText() const {
    return dropHeightField_->isEnabled() ? dropHeightField_->text() : QString();
}

void RunSetupPanel::updateTestFields() {
    // A drop height belongs only to the tests that start from a box; a 10/5 starts from the
    // floor.
    const bool takesHeight =
        measurementtest::takesDropHeight(testName()) && protocol() != Protocol::TenFive;
    dropHeightField_->setEnabled(takesHeight && editable());
    dropHeightField_->setAccessibleName(tr("Fallhöhe in cm"));
    if (!takesHeight)
        dropHeightField_->clear();
}

AutoEnd RunSetupPanel::autoEnd() const {
    if (protocol() == Protocol::TenFive)
        return protocolrun::tenFiveEnd();
    return autoEndOfFields();
}

AutoEnd RunSetupPanel::autoEndOfFields() const {
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

void RunSetupPanel::setAutoEnd(const AutoEnd& autoEnd) {
    endChoice_->setCurrentIndex(endChoice_->findData(static_cast<int>(autoEnd.kind)));
    if (autoEnd.kind != AutoEnd::Kind::None)
        endLimit_->setValue(autoEnd.limit);
}

void RunSetupPanel::setRunChoicesEnabled(bool enabled) {
    choicesEnabled_ = enabled;
    updateProtocolFields();
}

void RunSetupPanel::setSeriesMode(bool series) {
    seriesMode_ = series;
    updateEndFields();
}

void RunSetupPanel::updateEndFields() {
    // A protocol ends its runs by its own rule.
    const bool choosable = editable() && seriesMode_ && protocol() == Protocol::None;
    endChoice_->setEnabled(choosable);
    endLimit_->setEnabled(choosable && autoEndOfFields().kind != AutoEnd::Kind::None);
}

Protocol RunSetupPanel::protocol() const {
    return static_cast<Protocol>(protocolChoice_->currentData().toInt());
}

void RunSetupPanel::setProtocol(Protocol protocol) {
    protocolChoice_->setCurrentIndex(protocolChoice_->findData(static_cast<int>(protocol)));
}

void RunSetupPanel::offerProtocols(bool offered) {
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

QString RunSetupPanel::profileHeightsText() const {
    return heightsField_->text();
}

int RunSetupPanel::trialsPerHeight() const {
    return trialsField_->value();
}

void RunSetupPanel::updateProtocolFields() {
    const Protocol chosen = protocol();
    if (chosen != shownProtocol_) {
        // A 10/5 shows its own end and no drop height; the user's come back afterwards.
        if (chosen == Protocol::TenFive) {
            chosenEnd_ = autoEndOfFields();
            chosenDropHeight_ = dropHeightField_->text();
        }
        if (shownProtocol_ == Protocol::TenFive) {
            setAutoEnd(chosenEnd_);
            dropHeightField_->setText(chosenDropHeight_);
        }
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
    testChoice_->setEnabled(editable() && chosen == Protocol::None);
    protocolChoice_->setEnabled(editable() && !profileActive_);
    // A profile takes its drop heights from its own field, and ends its trials after the
    // jump.
    for (QWidget* w : {static_cast<QWidget*>(dropHeightLabel_),
                       static_cast<QWidget*>(dropHeightField_), static_cast<QWidget*>(endLabel_),
                       static_cast<QWidget*>(endChoice_), static_cast<QWidget*>(endLimit_)})
        w->setVisible(!profile);
    for (QWidget* w : {static_cast<QWidget*>(heightsLabel_), static_cast<QWidget*>(heightsField_),
                       static_cast<QWidget*>(trialsLabel_), static_cast<QWidget*>(trialsField_)})
        w->setVisible(profile);
    heightsField_->setEnabled(editable() && !profileActive_);
    trialsField_->setEnabled(editable() && !profileActive_);
    endProfileButton_->setVisible(profileActive_);
    endProfileButton_->setEnabled(choicesEnabled_);
    updateTestFields();
    updateEndFields();
    if (profile && !profileActive_)
        showProfilePreview();
}

void RunSetupPanel::showProfilePreview() {
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

void RunSetupPanel::setProfileActive(bool active) {
    profileActive_ = active;
    updateProtocolFields();
}

void RunSetupPanel::showProfileGuide(const QString& position, const QString& lastHeight,
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

void RunSetupPanel::showProtocolResult(const QString& text, bool warning) {
    protocolResultLabel_->setText(text);
    protocolResultLabel_->setVisible(!text.isEmpty());
    if (warning)
        widgets::setTextColour(protocolResultLabel_, QPalette::WindowText, widgets::kWarningColour);
    else
        protocolResultLabel_->setPalette(palette());
    updateProtocolBox();
}

void RunSetupPanel::clearProtocolTexts() {
    for (QLabel* label : {positionLabel_, lastHeightLabel_, adviceLabel_, protocolResultLabel_}) {
        label->clear();
        label->hide();
    }
    updateProtocolBox();
}

void RunSetupPanel::updateProtocolBox() {
    // The box takes no room while it has nothing to say.
    protocolBox_->setVisible(
        endProfileButton_->isVisibleTo(protocolBox_) || !positionLabel_->text().isEmpty() ||
        !protocolResultLabel_->text().isEmpty() || !lastHeightLabel_->text().isEmpty() ||
        !adviceLabel_->text().isEmpty());
}

void RunSetupPanel::showTestDay(const TestDay& day, const QString& settingsText) {
    if (!dayShown_)
        beforeDay_ = {testChoice_->currentText(), dropHeightField_->text(), protocol(),
                      heightsField_->text(),      trialsField_->value(),    autoEndOfFields()};
    dayShown_ = true;
    dayLabel_->setText(tr("Testtag „%1“: %2").arg(day.name, settingsText));
    dayLabel_->show();
    setProtocol(day.protocol);
    if (day.protocol == Protocol::None) {
        testChoice_->setCurrentText(measurementtest::shownName(day.test.name));
        dropHeightField_->setText(measurementtest::dropHeightText(day.test.dropHeightCm));
        setAutoEnd(static_cast<AutoEnd::Kind>(day.endKind) == AutoEnd::Kind::AfterJumps
                       ? AutoEnd::afterJumps(day.endLimit)
                   : static_cast<AutoEnd::Kind>(day.endKind) == AutoEnd::Kind::AfterSeconds
                       ? AutoEnd::afterSeconds(day.endLimit)
                       : AutoEnd{});
    } else if (day.protocol == Protocol::DropHeightProfile) {
        heightsField_->setText(protocolrun::heightsText(day.profileHeightsCm));
        trialsField_->setValue(day.trialsPerHeight);
    }
    updateProtocolFields();
}

void RunSetupPanel::clearTestDay() {
    if (!dayShown_)
        return;
    dayShown_ = false;
    dayLabel_->clear();
    dayLabel_->hide();
    setProtocol(beforeDay_.protocol);
    heightsField_->setText(beforeDay_.heights);
    trialsField_->setValue(beforeDay_.trials);
    if (beforeDay_.protocol == Protocol::None) {
        testChoice_->setCurrentText(beforeDay_.test);
        dropHeightField_->setText(beforeDay_.dropHeight);
        setAutoEnd(beforeDay_.end);
    }
    clearProtocolTexts();
    updateProtocolFields();
}
