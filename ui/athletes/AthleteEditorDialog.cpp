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

AthleteEditorDialog::AthleteEditorDialog(MessageService& ui, QWidget* parent)
    : QDialog(parent), ui_(ui) {
    setObjectName(QStringLiteral("athleteEditor"));
    setWindowTitle(tr("Sportler -"));
    setModal(true);
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);

    sexField = new QComboBox(this);
    sexField->setObjectName(QStringLiteral("sexField"));
    sexField->addItems({tr("männl."), tr("weibl.")});
    sexField->setCurrentIndex(-1);
    nameField = new QLineEdit(this);
    nameField->setMaxLength(athletes::kNameLength);
    nameField->setObjectName(QStringLiteral("nameField"));
    firstNameField = new QLineEdit(this);
    firstNameField->setMaxLength(athletes::kNameLength);
    firstNameField->setObjectName(QStringLiteral("firstNameField"));
    birthDateField = new QLineEdit(this);
    birthDateField->setObjectName(QStringLiteral("birthDateField"));
    remarkField = new RemarkEdit(athletes::kRemarkLength, this);
    remarkField->setObjectName(QStringLiteral("remarkField"));
    remarkField->setTabChangesFocus(true);
    remarkField->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    groupsField = new QListWidget(this);
    groupsField->setObjectName(QStringLiteral("groupsField"));
    groupsField->setAccessibleName(tr("Gruppen"));
    okButton = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), tr("OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);
    cancelButton =
        new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), tr("Abbruch"), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));

    sexMark = new QLabel(kMark, this);
    sexMark->setObjectName(QStringLiteral("sexMark"));
    nameMark = new QLabel(kMark, this);
    nameMark->setObjectName(QStringLiteral("nameMark"));
    firstNameMark = new QLabel(kMark, this);
    firstNameMark->setObjectName(QStringLiteral("firstNameMark"));
    birthDateMark = new QLabel(kMark, this);
    birthDateMark->setObjectName(QStringLiteral("birthDateMark"));

    // The fields share one width, so that the marks beside them form a column.
    const int fieldWidth = fontMetrics().horizontalAdvance(QLatin1Char('x')) * 34;
    for (QWidget* field :
         {static_cast<QWidget*>(sexField), static_cast<QWidget*>(nameField),
          static_cast<QWidget*>(firstNameField), static_cast<QWidget*>(birthDateField),
          static_cast<QWidget*>(remarkField), static_cast<QWidget*>(groupsField)})
        field->setFixedWidth(fieldWidth);
    groupsField->setFixedHeight(fontMetrics().lineSpacing() * 5 + 2 * groupsField->frameWidth());
    remarkField->setFixedHeight(fontMetrics().lineSpacing() * 4 + 2 * remarkField->frameWidth() +
                                static_cast<int>(2 * remarkField->document()->documentMargin()));

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
    const Row rows[] = {{tr("Geschlecht:"), "sexLabel", sexField, sexMark},
                        {tr("Name:"), "nameLabel", nameField, nameMark},
                        {tr("Vorname:"), "firstNameLabel", firstNameField, firstNameMark},
                        {tr("Geb. am:"), "birthDateLabel", birthDateField, birthDateMark},
                        {tr("Bemerkungen:"), "remarkLabel", remarkField, nullptr},
                        {tr("Gruppen:"), "groupsLabel", groupsField, nullptr}};
    int r = 0;
    for (const Row& row : rows) {
        QLabel* label = widgets::boldLabel(row.text, QLatin1String(row.labelName), this);
        label->setBuddy(row.field);
        const bool tall = row.field == remarkField || row.field == groupsField;
        if (row.field == groupsField)
            groupsLabel = label;
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
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    grid->setRowMinimumHeight(r, 4);
    grid->addLayout(buttons, r + 1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->addLayout(grid);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(sexField, nameField);
    setTabOrder(nameField, firstNameField);
    setTabOrder(firstNameField, birthDateField);
    setTabOrder(birthDateField, remarkField);
    setTabOrder(remarkField, groupsField);
    setTabOrder(groupsField, okButton);
    setTabOrder(okButton, cancelButton);

    for (QWidget* w :
         {static_cast<QWidget*>(sexField), static_cast<QWidget*>(nameField),
          static_cast<QWidget*>(firstNameField), static_cast<QWidget*>(birthDateField)})
        w->installEventFilter(this);

    connect(okButton, &QPushButton::clicked, this, &AthleteEditorDialog::confirm);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(birthDateField, &QLineEdit::textChanged, this, &AthleteEditorDialog::checkBirthDate);
}

void AthleteEditorDialog::clearFields() {
    dateValid_ = false;
    birthDate_ = QDate();
    setResult(0);
    sexField->setCurrentIndex(-1);
    nameField->clear();
    firstNameField->clear();
    birthDateField->clear();
    remarkField->setText(QString());
    checkBirthDate();
}

void AthleteEditorDialog::prepareNew() {
    clearFields();
    setWindowTitle(tr("Sportler - Neu"));
    sexMark->clear();
    nameMark->setText(kMark);
    firstNameMark->setText(kMark);
    birthDateMark->clear();
}

void AthleteEditorDialog::restoreMarks() {
    sexMark->setText(kMark);
    birthDateMark->setText(kMark);
}

void AthleteEditorDialog::prepareChange(const QString& name, const QString& firstName,
                                        const QDate& birthDate, int sex, const QString& remark) {
    clearFields();
    setWindowTitle(tr("Sportler - ändern"));
    for (QLabel* mark : {sexMark, nameMark, firstNameMark, birthDateMark})
        mark->setText(kMark);
    nameField->setText(name);
    firstNameField->setText(firstName);
    if (birthDate.isValid())
        birthDateField->setText(texts::dateText(birthDate));
    remarkField->setText(remark);
    sexField->setCurrentIndex(sex == 0 || sex == 1 ? sex : -1);
    checkBirthDate();
}

void AthleteEditorDialog::checkBirthDate() {
    const QString text = birthDateField->text();
    if (!text.trimmed().isEmpty() && !athletes::parseBirthDate(text).isValid()) {
        QPalette palette = birthDateField->palette();
        palette.setColor(QPalette::Base, invalidDateColor());
        palette.setColor(QPalette::Text, Qt::black);
        birthDateField->setPalette(palette);
    } else {
        birthDateField->setPalette(QPalette()); // the normal field background again
    }
}

void AthleteEditorDialog::setGroups(bool available, const QList<Group>& groups,
                                    const QList<qint64>& checked) {
    groupsLabel->setVisible(available);
    groupsField->setVisible(available);
    groupsField->clear();
    for (const Group& group : groups) {
        auto* item = new QListWidgetItem(group.name, groupsField);
        item->setData(Qt::UserRole, group.id);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        item->setCheckState(checked.contains(group.id) ? Qt::Checked : Qt::Unchecked);
    }
}

QList<qint64> AthleteEditorDialog::checkedGroups() const {
    QList<qint64> out;
    for (int i = 0; i < groupsField->count(); ++i) {
        const QListWidgetItem* item = groupsField->item(i);
        if (item->checkState() == Qt::Checked)
            out << item->data(Qt::UserRole).toLongLong();
    }
    return out;
}

int AthleteEditorDialog::sexIndex() const {
    return sexField->currentIndex();
}

QString AthleteEditorDialog::name() const {
    return nameField->text();
}

QString AthleteEditorDialog::firstName() const {
    return firstNameField->text();
}

QString AthleteEditorDialog::remark() const {
    return remarkField->text();
}

void AthleteEditorDialog::takeBirthDate() {
    birthDate_ = athletes::parseBirthDate(birthDateField->text());
    dateValid_ = birthDate_.isValid();
    checkBirthDate();
}

void AthleteEditorDialog::confirm() {
    const bool nameMissing = nameField->text().trimmed().isEmpty();
    const bool firstNameMissing = firstNameField->text().trimmed().isEmpty();
    takeBirthDate();
    if (nameMissing || firstNameMissing) {
        boxes::information(ui_, tr("Bitte füllen Sie alle mit * gekennzeichneten Felder aus!"));
        (nameMissing ? nameField : firstNameField)->setFocus();
        return;
    }
    // The export separates fields by ";" and lines by line breaks: a name or remark must
    // hold neither, nor a tab.
    for (QWidget* field : {static_cast<QWidget*>(nameField), static_cast<QWidget*>(firstNameField),
                           static_cast<QWidget*>(remarkField)}) {
        const QString text =
            field == remarkField ? remark() : static_cast<QLineEdit*>(field)->text();
        if (athletes::hasSeparator(text)) {
            boxes::information(ui_, tr("Name, Vorname und Bemerkung dürfen kein "
                                       "Semikolon, keinen Tabulator und keinen "
                                       "Zeilenumbruch enthalten."));
            field->setFocus();
            return;
        }
    }
    // A birth date that is typed but is no date would otherwise be dropped without a word.
    if (!dateValid_ && !birthDateField->text().trimmed().isEmpty()) {
        boxes::information(
            ui_, tr("„%1“ ist kein gültiges Geburtsdatum. Bitte geben Sie das Datum "
                    "in der Form %2 ein oder lassen Sie das Feld leer.")
                     .arg(birthDateField->text().trimmed(), texts::dateText(QDate(1990, 12, 31))));
        birthDateField->setFocus();
        birthDateField->selectAll();
        return;
    }
    accept();
}

void AthleteEditorDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    widgets::centreOnScreen(this);
    nameField->setFocus();
}

bool AthleteEditorDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (isEnter(key)) {
            okButton->setFocus();
            okButton->click();
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            cancelButton->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
