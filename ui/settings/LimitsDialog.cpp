// The limits dialog "Triggerflanke": its fields and how they are taken over.

#include "ui/settings/LimitsDialog.h"

#include "core/base/Language.h"
#include "ui/common/MessageService.h"
#include "ui/common/Widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <utility>

using plausibility::Limits;

namespace {

// A minimum and the maximum it must stay below.
struct LimitPair {
    qint32 Limits::*min;
    qint32 Limits::*max;
};
constexpr LimitPair kContactPair{&Limits::contactMinMs, &Limits::contactMaxMs};
constexpr LimitPair kFlightPair{&Limits::flightMinMs, &Limits::flightMaxMs};

bool isOrdered(const Limits& limits, const LimitPair& pair) {
    return limits.*pair.min < limits.*pair.max;
}

} // namespace

LimitsDialog::LimitsDialog(MessageService& messages, Limits& limits, QWidget* parent)
    : QDialog(parent), messages_(messages), limits_(limits), edited_(limits) {
    setObjectName(QStringLiteral("limitsDialog"));
    setWindowTitle(tr("Triggerflanke"));
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);

    contactMinField_ = makeEdit("contactMinField");
    flightMinField_ = makeEdit("flightMinField");
    contactMaxField_ = makeEdit("contactMaxField");
    flightMaxField_ = makeEdit("flightMaxField");
    fields_ = {{contactMinField_, &Limits::contactMinMs, false},
               {flightMinField_, &Limits::flightMinMs, false},
               {contactMaxField_, &Limits::contactMaxMs, true},
               {flightMaxField_, &Limits::flightMaxMs, true}};

    auto column = [this](const QString& title, QLineEdit* top, QLineEdit* bottom) {
        auto* box = new QGroupBox(title, this);
        auto* layout = new QVBoxLayout(box);
        layout->addWidget(top);
        layout->addWidget(bottom);
        return box;
    };
    minBox_ = column(QStringLiteral("min"), contactMinField_, flightMinField_);
    minBox_->setObjectName(QStringLiteral("minGroup"));
    QGroupBox* maxBox = column(QStringLiteral("max"), contactMaxField_, flightMaxField_);
    maxBox->setObjectName(QStringLiteral("maxGroup"));

    // The row labels stand outside the two groups; alignRowLabels() lines them up with the
    // fields inside.
    labelColumn_ = new QWidget(this);
    labelColumn_->setObjectName(QStringLiteral("rowLabels"));
    auto* labels = new QVBoxLayout(labelColumn_);
    const std::pair<QString, const char*> rows[] = {{tr("Stützzeit"), "contactRowLabel"},
                                                    {tr("Flugzeit"), "flightRowLabel"}};
    for (const auto& [text, name] : rows) {
        auto* label = new QLabel(text, labelColumn_);
        label->setObjectName(QLatin1String(name));
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        labels->addWidget(label);
    }
    labels->addStretch();

    auto* limitsBox = new QGroupBox(tr("Plausibilitäten"), this);
    limitsBox->setObjectName(QStringLiteral("limitsGroup"));
    auto* grid = new QGridLayout(limitsBox);
    grid->addWidget(labelColumn_, 0, 0);
    grid->addWidget(minBox_, 0, 1);
    grid->addWidget(maxBox, 0, 2);

    abortCheck_ = new QCheckBox(tr("Abbruch bei Plausilibitätsverletzung"), this);
    abortCheck_->setObjectName(QStringLiteral("abortCheck"));
    connect(abortCheck_, &QCheckBox::toggled, this,
            [this](bool checked) { limits_.abortOnViolation = checked; });

    okButton_ = new QPushButton(tr("OK"), this);
    okButton_->setObjectName(QStringLiteral("okButton"));
    okButton_->setDefault(true);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton_);

    main_ = new QVBoxLayout(this);
    main_->addWidget(limitsBox);
    main_->addWidget(abortCheck_);
    main_->addSpacing(main_->spacing());
    main_->addLayout(buttons);
    // The dialog always has the size of its contents and cannot be resized.
    main_->setSizeConstraint(QLayout::SetFixedSize);

    alignRowLabels();
}

void LimitsDialog::offerLanguageChoice(std::function<std::unique_ptr<QSettings>()> openSettings) {
    if (languageChooser_ || !openSettings)
        return;
    languageChooser_ = new QComboBox(this);
    languageChooser_->setObjectName(QStringLiteral("languageChooser"));
    // Each language by its own name, whatever the language of the program.
    languageChooser_->addItem(QStringLiteral("Deutsch"),
                              language::code(language::Language::German));
    languageChooser_->addItem(QStringLiteral("English"),
                              language::code(language::Language::English));
    if (const auto stored = openSettings()) {
        const language::Language chosen =
            language::choose(language::readSetting(*stored), QLocale::system());
        languageChooser_->setCurrentIndex(chosen == language::Language::German ? 0 : 1);
    }
    auto* label = new QLabel(tr("&Sprache:"), this);
    label->setObjectName(QStringLiteral("languageLabel"));
    label->setBuddy(languageChooser_);
    auto* note = new QLabel(tr("Gilt ab dem nächsten Start."), this);
    note->setObjectName(QStringLiteral("languageNote"));
    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(languageChooser_);
    row->addWidget(note, 1);
    // Above the spacing and the button row.
    main_->insertLayout(2, row);
    connect(languageChooser_, &QComboBox::currentIndexChanged, this,
            [this, opener = std::move(openSettings)](int index) {
                const auto chosen =
                    language::fromCode(languageChooser_->itemData(index).toString());
                if (!chosen)
                    return;
                if (auto stored = opener())
                    language::writeSetting(*stored, *chosen);
            });
}

QLineEdit* LimitsDialog::makeEdit(const char* name) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QLatin1String(name));
    edit->setAlignment(Qt::AlignRight);
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) +
                        edit->fontMetrics().averageCharWidth() * 2);
    edit->installEventFilter(this);
    return edit;
}

// Gives the label column the frame, title and layout margins of the group "min", so that
// each label sits level with its field.
void LimitsDialog::alignRowLabels() {
    minBox_->ensurePolished();
    const QMargins frame = minBox_->contentsMargins();
    const QMargins inner = minBox_->layout()->contentsMargins();
    auto* labels = static_cast<QVBoxLayout*>(labelColumn_->layout());
    labels->setContentsMargins(0, frame.top() + inner.top(), 0, 0);
    labels->setSpacing(minBox_->layout()->spacing());
    const int rowHeight = contactMinField_->sizeHint().height();
    for (int i = 0; i < labels->count(); ++i) {
        if (QWidget* label = labels->itemAt(i)->widget())
            label->setFixedHeight(rowHeight);
    }
}

void LimitsDialog::fillFields() {
    edited_ = limits_;
    for (const Field& field : std::as_const(fields_))
        field.edit->setText(QString::number(limits_.*field.limit));
    abortCheck_->setChecked(limits_.abortOnViolation);
}

void LimitsDialog::showEvent(QShowEvent* event) {
    fillFields();
    alignRowLabels();
    adjustSize();
    widgets::centreOnScreen(this);
    QDialog::showEvent(event);
}

void LimitsDialog::takeOver(const Field& field) {
    const auto result =
        plausibility::takeOverField(field.edit->text(), field.upper, edited_.*field.limit);
    edited_.*field.limit = result.limit;
    if (field.edit->text() != result.text)
        field.edit->setText(result.text);
    for (const LimitPair& pair : {kContactPair, kFlightPair}) {
        if (isOrdered(edited_, pair)) {
            limits_.*pair.min = edited_.*pair.min;
            limits_.*pair.max = edited_.*pair.max;
        }
    }
}

void LimitsDialog::takeOverAll() {
    for (const Field& field : std::as_const(fields_))
        takeOver(field);
}

bool LimitsDialog::refusedCrossedPair() {
    QString message;
    QLineEdit* field = nullptr;
    if (!isOrdered(edited_, kContactPair)) {
        message = tr("Das Minimum der Stützzeit (%1 ms) muss kleiner als ihr Maximum (%2 ms) "
                     "sein.")
                      .arg(edited_.contactMinMs)
                      .arg(edited_.contactMaxMs);
        field = contactMinField_;
    } else if (!isOrdered(edited_, kFlightPair)) {
        message = tr("Das Minimum der Flugzeit (%1 ms) muss kleiner als ihr Maximum (%2 ms) "
                     "sein.")
                      .arg(edited_.flightMinMs)
                      .arg(edited_.flightMaxMs);
        field = flightMinField_;
    } else {
        return false;
    }
    boxes::information(messages_, message);
    field->setFocus();
    field->selectAll();
    return true;
}

void LimitsDialog::done(int result) {
    // Closing never discards what was typed into the field that still has the focus.
    takeOverAll();
    if (refusedCrossedPair())
        return;
    QDialog::done(result);
}

const LimitsDialog::Field* LimitsDialog::fieldOf(const QObject* object) const {
    for (const Field& field : fields_) {
        if (field.edit == object)
            return &field;
    }
    return nullptr;
}

bool LimitsDialog::eventFilter(QObject* watched, QEvent* event) {
    if (const Field* field = fieldOf(watched)) {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (!plausibility::isAcceptedKeyText(key->text()))
                return true; // swallowed: only digits can be typed
        } else if (event->type() == QEvent::FocusOut) {
            takeOver(*field);
        }
    }
    return QDialog::eventFilter(watched, event);
}
