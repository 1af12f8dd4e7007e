// The set-up of a test day for a squad.

#include "ui/run/TestDayDialog.h"

#include "core/base/Errors.h"
#include "core/measure/MeasurementSession.h"
#include "core/measure/ProtocolRun.h"
#include "core/measure/TestDay.h"
#include "ui/common/Widgets.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QLabel* labelFor(const QString& text, const QString& objectName, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(objectName);
    label->setBuddy(buddy);
    return label;
}

} // namespace

TestDayDialog::TestDayDialog(const TestDay& offered, const QList<Group>& groups, qint64 groupId,
                             int listedCount, std::function<void(const TestDayChoice&)> open,
                             QWidget* parent)
    : QDialog(parent), groups_(groups) {
    setObjectName(QStringLiteral("testDayDialog"));
    setWindowTitle(tr("Testtag"));

    nameField_ = new QLineEdit(this);
    nameField_->setObjectName(QStringLiteral("testDayNameField"));
    nameField_->setMaxLength(kTestDayNameLength);
    nameField_->setMinimumWidth(nameField_->fontMetrics().horizontalAdvance(
                                    QStringLiteral("Kader 2027 – Drop Jump 30 cm")) +
                                24);
    athletesChoice_ = new QComboBox(this);
    athletesChoice_->setObjectName(QStringLiteral("testDayAthletesChoice"));
    for (const Group& group : groups)
        athletesChoice_->addItem(tr("Gruppe „%1“").arg(group.name), group.id);
    athletesChoice_->addItem(tr("Die gelisteten Sportler (%1)").arg(listedCount), qint64(0));
    const int chosen = athletesChoice_->findData(groupId);
    athletesChoice_->setCurrentIndex(chosen >= 0 ? chosen : athletesChoice_->count() - 1);

    testChoice_ = new QComboBox(this);
    testChoice_->setObjectName(QStringLiteral("testDayTestChoice"));
    testChoice_->setEditable(true);
    testChoice_->setInsertPolicy(QComboBox::NoInsert);
    for (const QString& name : measurementtest::offeredNames())
        testChoice_->addItem(measurementtest::shownName(name), name);
    testChoice_->setCurrentText(measurementtest::shownName(
        offered.test.name.isEmpty() ? measurementtest::offeredNames().constFirst()
                                    : offered.test.name));
    dropHeightField_ =
        new QLineEdit(measurementtest::dropHeightText(offered.test.dropHeightCm), this);
    dropHeightField_->setObjectName(QStringLiteral("testDayDropHeightField"));
    dropHeightField_->setValidator(
        new QIntValidator(0, measurementtest::kMaxDropHeightCm, dropHeightField_));
    dropHeightField_->setMaxLength(3);

    protocolChoice_ = new QComboBox(this);
    protocolChoice_->setObjectName(QStringLiteral("testDayProtocolChoice"));
    protocolChoice_->addItem(tr("keines"), static_cast<int>(Protocol::None));
    protocolChoice_->addItem(tr("10/5"), static_cast<int>(Protocol::TenFive));
    protocolChoice_->addItem(tr("Fallhöhen-Profil"), static_cast<int>(Protocol::DropHeightProfile));
    protocolChoice_->setCurrentIndex(
        std::max(0, protocolChoice_->findData(static_cast<int>(offered.protocol))));
    heightsField_ = new QLineEdit(protocolrun::heightsText(offered.profileHeightsCm.isEmpty()
                                                               ? protocolrun::defaultHeightsCm()
                                                               : offered.profileHeightsCm),
                                  this);
    heightsField_->setObjectName(QStringLiteral("testDayHeightsField"));
    heightsField_->setMaxLength(100);
    trialsPerHeightField_ = new QSpinBox(this);
    trialsPerHeightField_->setObjectName(QStringLiteral("testDayTrialsPerHeightField"));
    trialsPerHeightField_->setRange(protocolrun::kMinTrials, protocolrun::kMaxTrials);
    trialsPerHeightField_->setValue(offered.trialsPerHeight > 0 ? offered.trialsPerHeight
                                                                : protocolrun::kDefaultTrials);

    modeChoice_ = new QComboBox(this);
    modeChoice_->setObjectName(QStringLiteral("testDayModeChoice"));
    modeChoice_->addItem(tr("Einzelsprung"), false);
    modeChoice_->addItem(tr("Serie"), true);
    modeChoice_->setCurrentIndex(offered.series ? 1 : 0);
    endChoice_ = new QComboBox(this);
    endChoice_->setObjectName(QStringLiteral("testDayEndChoice"));
    endChoice_->addItem(tr("von Hand"), static_cast<int>(AutoEnd::Kind::None));
    endChoice_->addItem(tr("nach Sprüngen"), static_cast<int>(AutoEnd::Kind::AfterJumps));
    endChoice_->addItem(tr("nach Sekunden"), static_cast<int>(AutoEnd::Kind::AfterSeconds));
    endChoice_->setCurrentIndex(std::max(0, endChoice_->findData(offered.endKind)));
    endLimit_ = new QSpinBox(this);
    endLimit_->setObjectName(QStringLiteral("testDayEndLimit"));
    endLimit_->setAccessibleName(tr("Anzahl der Sprünge oder Sekunden bis zum Serienende"));
    endLimit_->setRange(1, AutoEnd::kMaxSeconds);
    endLimit_->setValue(offered.endLimit > 0 ? offered.endLimit : 10);

    trialsField_ = new QSpinBox(this);
    trialsField_->setObjectName(QStringLiteral("testDayTrialsField"));
    trialsField_->setRange(kMinTrialsPerAthlete, kMaxTrialsPerAthlete);
    trialsField_->setValue(
        std::clamp(offered.trialsPerAthlete, kMinTrialsPerAthlete, kMaxTrialsPerAthlete));

    problemLabel_ = new QLabel(this);
    problemLabel_->setObjectName(QStringLiteral("problemLabel"));
    problemLabel_->setWordWrap(true);
    problemLabel_->setTextFormat(Qt::PlainText);
    widgets::setTextColour(problemLabel_, QPalette::WindowText, widgets::kWarningColour);
    problemLabel_->hide();

    auto* form = new QFormLayout;
    form->addRow(labelFor(tr("&Name:"), QStringLiteral("testDayNameLabel"), nameField_, this),
                 nameField_);
    form->addRow(
        labelFor(tr("&Sportler:"), QStringLiteral("testDayAthletesLabel"), athletesChoice_, this),
        athletesChoice_);
    form->addRow(
        labelFor(tr("&Protokoll:"), QStringLiteral("testDayProtocolLabel"), protocolChoice_, this),
        protocolChoice_);
    QLabel* testLabel =
        labelFor(tr("&Test:"), QStringLiteral("testDayTestLabel"), testChoice_, this);
    form->addRow(testLabel, testChoice_);
    QLabel* heightLabel = labelFor(tr("&Fallhöhe (cm):"), QStringLiteral("testDayDropHeightLabel"),
                                   dropHeightField_, this);
    form->addRow(heightLabel, dropHeightField_);
    QLabel* modeLabel =
        labelFor(tr("&Messart:"), QStringLiteral("testDayModeLabel"), modeChoice_, this);
    form->addRow(modeLabel, modeChoice_);
    auto* endRow = new QHBoxLayout;
    endRow->addWidget(endChoice_);
    endRow->addWidget(endLimit_);
    QLabel* endLabel =
        labelFor(tr("S&erienende:"), QStringLiteral("testDayEndLabel"), endChoice_, this);
    form->addRow(endLabel, endRow);
    QLabel* heightsLabel = labelFor(tr("Fallhöhen (c&m):"), QStringLiteral("testDayHeightsLabel"),
                                    heightsField_, this);
    form->addRow(heightsLabel, heightsField_);
    QLabel* perHeightLabel =
        labelFor(tr("Versuche je &Höhe:"), QStringLiteral("testDayTrialsPerHeightLabel"),
                 trialsPerHeightField_, this);
    form->addRow(perHeightLabel, trialsPerHeightField_);
    QLabel* trialsLabel = labelFor(tr("&Versuche je Sportler:"),
                                   QStringLiteral("testDayTrialsLabel"), trialsField_, this);
    form->addRow(trialsLabel, trialsField_);
    testRows_ = {testLabel,   testChoice_, heightLabel, dropHeightField_, modeLabel,
                 modeChoice_, endLabel,    endChoice_,  endLimit_};
    profileRows_ = {heightsLabel, heightsField_, perHeightLabel, trialsPerHeightField_};

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("Testtag beginnen"));
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("Abbrechen"));
    connect(buttons, &QDialogButtonBox::accepted, this, [this, open] {
        // The dialog closes only once the day is stored; otherwise it says why.
        const auto failure = failureOf([&] { open(entered()); });
        if (failure) {
            problemLabel_->setText(failure->text);
            problemLabel_->show();
            return;
        }
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(problemLabel_);
    layout->addWidget(buttons);

    for (QComboBox* choice : {athletesChoice_, protocolChoice_, modeChoice_, endChoice_})
        connect(choice, &QComboBox::currentIndexChanged, this, &TestDayDialog::followChoices);
    connect(testChoice_, &QComboBox::currentTextChanged, this, &TestDayDialog::followChoices);
    connect(dropHeightField_, &QLineEdit::textChanged, this, &TestDayDialog::suggestName);
    connect(nameField_, &QLineEdit::textEdited, this, [this] { nameEdited_ = true; });
    followChoices();
    nameField_->setFocus();
    nameField_->selectAll();
}

QString TestDayDialog::testName() const {
    const int index = testChoice_->findText(testChoice_->currentText());
    return index >= 0 ? testChoice_->itemData(index).toString() : testChoice_->currentText();
}

QString TestDayDialog::groupName() const {
    const qint64 id = athletesChoice_->currentData().toLongLong();
    for (const Group& group : groups_)
        if (group.id == id)
            return group.name;
    return {};
}

void TestDayDialog::followChoices() {
    const auto protocol = static_cast<Protocol>(protocolChoice_->currentData().toInt());
    for (QWidget* w : testRows_)
        w->setVisible(protocol == Protocol::None);
    for (QWidget* w : profileRows_)
        w->setVisible(protocol == Protocol::DropHeightProfile);
    dropHeightField_->setEnabled(measurementtest::takesDropHeight(testName()));
    const bool series = modeChoice_->currentData().toBool();
    const auto end = static_cast<AutoEnd::Kind>(endChoice_->currentData().toInt());
    endChoice_->setEnabled(series);
    endLimit_->setEnabled(series && end != AutoEnd::Kind::None);
    endLimit_->setMaximum(end == AutoEnd::Kind::AfterSeconds ? AutoEnd::kMaxSeconds
                                                             : AutoEnd::kMaxJumps);
    adjustSize();
    suggestName();
}

void TestDayDialog::suggestName() {
    // The name follows the choices until the user writes one of his own.
    if (nameEdited_)
        return;
    TestDay day;
    day.protocol = static_cast<Protocol>(protocolChoice_->currentData().toInt());
    day.test.name = testName();
    bool ok = false;
    const int height = dropHeightField_->text().toInt(&ok);
    if (ok && dropHeightField_->isEnabled())
        day.test.dropHeightCm = height;
    nameField_->setText(testday::suggestedName(groupName(), day));
}

TestDayChoice TestDayDialog::entered() const {
    TestDayChoice choice;
    TestDay& day = choice.day;
    day.name = nameField_->text().trimmed();
    day.protocol = static_cast<Protocol>(protocolChoice_->currentData().toInt());
    day.trialsPerAthlete = trialsField_->value();
    choice.groupId = athletesChoice_->currentData().toLongLong();
    day.groupId = choice.groupId;
    switch (day.protocol) {
    case Protocol::DropHeightProfile:
        day.profileHeightsCm = protocolrun::parseHeights(heightsField_->text());
        day.trialsPerHeight = trialsPerHeightField_->value();
        day.test = {QStringLiteral("Drop Jump"), std::nullopt};
        break;
    case Protocol::TenFive:
        day.test = {QStringLiteral("Sprungserie"), std::nullopt};
        day.series = true;
        break;
    case Protocol::None:
        day.test = measurementtest::chosen(
            testName(), dropHeightField_->isEnabled() ? dropHeightField_->text() : QString());
        day.series = modeChoice_->currentData().toBool();
        if (day.series) {
            day.endKind = endChoice_->currentData().toInt();
            day.endLimit = day.endKind != 0 ? endLimit_->value() : 0;
        }
        break;
    }
    return choice;
}
