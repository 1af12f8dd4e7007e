// The athlete editor's fields, their checks and the athlete entered.

#include "ui/athletes/AthleteEditorDialog.h"

#include "core/base/Texts.h"
#include "core/store/AthleteText.h"
#include "core/store/BirthDate.h"
#include "ui/athletes/RemarkEdit.h"
#include "ui/common/MessageService.h"
#include "ui/common/Widgets.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

namespace {

const QString kMark = QStringLiteral("*");

bool isEnter(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

} // namespace

AthleteEditorDialog::AthleteEditorDialog(MessageService& messages, QWidget* parent)
    : QDialog(parent), messages_(messages) {
    setObjectName(QStringLiteral("athleteEditor"));
    setWindowTitle(tr("Sportler -"));
    setModal(true);
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);

    sexField_ = new QComboBox(this);
    sexField_->setObjectName(QStringLiteral("sexField"));
    sexField_->addItems({tr("männl."), tr("weibl.")});
    sexField_->setCurrentIndex(-1);
    nameField_ = new QLineEdit(this);
    nameField_->setMaxLength(athletes::kNameLength);
    nameField_->setObjectName(QStringLiteral("nameField"));
    firstNameField_ = new QLineEdit(this);
    firstNameField_->setMaxLength(athletes::kNameLength);
    firstNameField_->setObjectName(QStringLiteral("firstNameField"));
    birthDateField_ = new QLineEdit(this);
    birthDateField_->setObjectName(QStringLiteral("birthDateField"));
    remarkField_ = new RemarkEdit(athletes::kRemarkLength, this);
    remarkField_->setObjectName(QStringLiteral("remarkField"));
    remarkField_->setTabChangesFocus(true);
    remarkField_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    groupsField_ = new QListWidget(this);
    groupsField_->setObjectName(QStringLiteral("groupsField"));
    groupsField_->setAccessibleName(tr("Gruppen"));
    okButton_ = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), tr("OK"), this);
    okButton_->setObjectName(QStringLiteral("okButton"));
    okButton_->setDefault(true);
    cancelButton_ =
        new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), tr("Abbruch"), this);
    cancelButton_->setObjectName(QStringLiteral("cancelButton"));

    sexMark_ = new QLabel(kMark, this);
    sexMark_->setObjectName(QStringLiteral("sexMark"));
    nameMark_ = new QLabel(kMark, this);
    nameMark_->setObjectName(QStringLiteral("nameMark"));
    firstNameMark_ = new QLabel(kMark, this);
    firstNameMark_->setObjectName(QStringLiteral("firstNameMark"));
    birthDateMark_ = new QLabel(kMark, this);
    birthDateMark_->setObjectName(QStringLiteral("birthDateMark"));

    // The fields share one width, so that the marks beside them form a column.
    const int fieldWidth = fontMetrics().horizontalAdvance(QLatin1Char('x')) * 34;
    for (QWidget* field :
         {static_cast<QWidget*>(sexField_), static_cast<QWidget*>(nameField_),
          static_cast<QWidget*>(firstNameField_), static_cast<QWidget*>(birthDateField_),
          static_cast<QWidget*>(remarkField_), static_cast<QWidget*>(groupsField_)})
        field->setFixedWidth(fieldWidth);
    groupsField_->setFixedHeight(fontMetrics().lineSpacing() * 5 + 2 * groupsField_->frameWidth());
    remarkField_->setFixedHeight(fontMetrics().lineSpacing() * 4 + 2 * remarkField_->frameWidth() +
                                 static_cast<int>(2 * remarkField_->document()->documentMargin()));

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(8);
    const Qt::Alignment labelAlign = Qt::AlignRight | Qt::AlignVCenter;
    struct Row {
        QString text;
        const char* labelName;
        QWidget* field;
        QLabel* mark;
    };
    const Row rows[] = {{tr("Geschlecht:"), "sexLabel", sexField_, sexMark_},
                        {tr("Name:"), "nameLabel", nameField_, nameMark_},
                        {tr("Vorname:"), "firstNameLabel", firstNameField_, firstNameMark_},
                        {tr("Geb. am:"), "birthDateLabel", birthDateField_, birthDateMark_},
                        {tr("Bemerkungen:"), "remarkLabel", remarkField_, nullptr},
                        {tr("Gruppen:"), "groupsLabel", groupsField_, nullptr}};
    int r = 0;
    for (const Row& row : rows) {
        QLabel* label = widgets::boldLabel(row.text, QLatin1String(row.labelName), this);
        label->setBuddy(row.field);
        const bool tall = row.field == remarkField_ || row.field == groupsField_;
        if (row.field == groupsField_)
            groupsLabel_ = label;
        grid->addWidget(label, r, 0, tall ? (Qt::AlignRight | Qt::AlignTop) : labelAlign);
        grid->addWidget(row.field, r, 1, Qt::AlignLeft | Qt::AlignVCenter);
        if (row.mark)
            grid->addWidget(row.mark, r, 2, Qt::AlignLeft | Qt::AlignVCenter);
        ++r;
    }
    // The marks keep their column when some are emptied.
    grid->setColumnMinimumWidth(2, fontMetrics().horizontalAdvance(kMark) + 4);

    // The buttons end flush with the fields.
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);
    grid->setRowMinimumHeight(r, 4);
    grid->addLayout(buttons, r + 1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->addLayout(grid);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(sexField_, nameField_);
    setTabOrder(nameField_, firstNameField_);
    setTabOrder(firstNameField_, birthDateField_);
    setTabOrder(birthDateField_, remarkField_);
    setTabOrder(remarkField_, groupsField_);
    setTabOrder(groupsField_, okButton_);
    setTabOrder(okButton_, cancelButton_);

    for (QWidget* w :
         {static_cast<QWidget*>(sexField_), static_cast<QWidget*>(nameField_),
          static_cast<QWidget*>(firstNameField_), static_cast<QWidget*>(birthDateField_)})
        w->installEventFilter(this);

    connect(okButton_, &QPushButton::clicked, this, &AthleteEditorDialog::confirm);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
    connect(birthDateField_, &QLineEdit::textChanged, this, &AthleteEditorDialog::checkBirthDate);
}

void AthleteEditorDialog::clearFields() {
    dateValid_ = false;
    birthDate_ = QDate();
    setResult(0);
    sexField_->setCurrentIndex(-1);
    nameField_->clear();
    firstNameField_->clear();
    birthDateField_->clear();
    remarkField_->setText(QString());
    checkBirthDate();
}

void AthleteEditorDialog::prepareNew() {
    clearFields();
    setWindowTitle(tr("Sportler - Neu"));
    sexMark_->clear();
    nameMark_->setText(kMark);
    firstNameMark_->setText(kMark);
    birthDateMark_->clear();
}

void AthleteEditorDialog::restoreMarks() {
    sexMark_->setText(kMark);
    birthDateMark_->setText(kMark);
}

void AthleteEditorDialog::prepareChange(const Athlete& athlete) {
    clearFields();
    setWindowTitle(tr("Sportler - ändern"));
    for (QLabel* mark : {sexMark_, nameMark_, firstNameMark_, birthDateMark_})
        mark->setText(kMark);
    nameField_->setText(athlete.name);
    firstNameField_->setText(athlete.firstName);
    if (athlete.birthDate.isValid())
        birthDateField_->setText(texts::dateText(athlete.birthDate));
    else
        birthDateField_->setText(athlete.storedBirthDate);
    remarkField_->setText(athlete.remark);
    sexField_->setCurrentIndex(athlete.sex == 0 || athlete.sex == 1 ? athlete.sex : -1);
    checkBirthDate();
}

void AthleteEditorDialog::checkBirthDate() {
    const QString text = birthDateField_->text();
    if (!text.trimmed().isEmpty() && !athletes::parseBirthDate(text).isValid()) {
        QPalette palette = birthDateField_->palette();
        palette.setColor(QPalette::Base, invalidDateColor());
        palette.setColor(QPalette::Text, Qt::black);
        birthDateField_->setPalette(palette);
    } else {
        birthDateField_->setPalette(QPalette()); // the normal field background again
    }
}

void AthleteEditorDialog::setGroups(bool available, const QList<Group>& groups,
                                    const QList<qint64>& checked) {
    groupsLabel_->setVisible(available);
    groupsField_->setVisible(available);
    groupsField_->clear();
    for (const Group& group : groups) {
        auto* item = new QListWidgetItem(group.name, groupsField_);
        item->setData(Qt::UserRole, group.id);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        item->setCheckState(checked.contains(group.id) ? Qt::Checked : Qt::Unchecked);
    }
}

QList<qint64> AthleteEditorDialog::checkedGroups() const {
    QList<qint64> out;
    for (int i = 0; i < groupsField_->count(); ++i) {
        const QListWidgetItem* item = groupsField_->item(i);
        if (item->checkState() == Qt::Checked)
            out << item->data(Qt::UserRole).toLongLong();
    }
    return out;
}

Athlete AthleteEditorDialog::enteredAthlete(Athlete shown) const {
    shown.name = nameField_->text();
    shown.firstName = firstNameField_->text();
    shown.sex = sexField_->currentIndex();
    shown.remark = remarkField_->text();
    if (dateValid_) {
        shown.birthDate = birthDate_;
        shown.storedBirthDate = birthDate_.toString(Qt::ISODate);
    }
    return shown;
}

void AthleteEditorDialog::takeBirthDate() {
    birthDate_ = athletes::parseBirthDate(birthDateField_->text());
    dateValid_ = birthDate_.isValid();
    checkBirthDate();
}

void AthleteEditorDialog::confirm() {
    const bool nameMissing = nameField_->text().trimmed().isEmpty();
    const bool firstNameMissing = firstNameField_->text().trimmed().isEmpty();
    takeBirthDate();
    if (nameMissing || firstNameMissing) {
        boxes::information(messages_,
                           tr("Bitte füllen Sie alle mit * gekennzeichneten Felder aus!"));
        (nameMissing ? nameField_ : firstNameField_)->setFocus();
        return;
    }
    // The export separates fields by ";" and lines by line breaks: a name or remark must
    // hold neither, nor a tab.
    for (QWidget* field :
         {static_cast<QWidget*>(nameField_), static_cast<QWidget*>(firstNameField_),
          static_cast<QWidget*>(remarkField_)}) {
        const QString text =
            field == remarkField_ ? remarkField_->text() : static_cast<QLineEdit*>(field)->text();
        if (athletes::hasSeparator(text)) {
            boxes::information(messages_, tr("Name, Vorname und Bemerkung dürfen kein "
                                             "Semikolon, keinen Tabulator und keinen "
                                             "Zeilenumbruch enthalten."));
            field->setFocus();
            return;
        }
        // A spreadsheet opening an export would run such a text as a formula.
        if (athletes::looksLikeFormula(text)) {
            boxes::information(messages_, tr("Name, Vorname und Bemerkung dürfen nicht mit "
                                             "=, + oder @ beginnen."));
            field->setFocus();
            return;
        }
    }
    // A birth date that is typed but is no date would otherwise be dropped without a word.
    if (!dateValid_ && !birthDateField_->text().trimmed().isEmpty()) {
        boxes::information(
            messages_,
            tr("„%1“ ist kein gültiges Geburtsdatum. Bitte geben Sie das Datum "
               "in der Form %2 ein oder lassen Sie das Feld leer.")
                .arg(birthDateField_->text().trimmed(), texts::dateText(QDate(1990, 12, 31))));
        birthDateField_->setFocus();
        birthDateField_->selectAll();
        return;
    }
    accept();
}

void AthleteEditorDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    widgets::centreOnScreen(this);
    nameField_->setFocus();
}

bool AthleteEditorDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (isEnter(key)) {
            okButton_->setFocus();
            okButton_->click();
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            cancelButton_->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
