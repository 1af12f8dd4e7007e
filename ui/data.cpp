#include "ui/data.h"

#include "core/base/MessageService.h"
#include "core/base/Texts.h"
#include "core/store/BirthDate.h"
#include "ui/RemarkEdit.h"
#include "ui/Widgets.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
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

TForm3::TForm3(MessageService& ui, QWidget* parent) : QDialog(parent), ui_(ui) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Sportler -"));
    setModal(true);
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);

    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->addItems({QStringLiteral("männl."), QStringLiteral("weibl.")});
    ComboBox1->setCurrentIndex(-1);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit3 = new QLineEdit(this);
    Edit3->setObjectName(QStringLiteral("Edit3"));
    Memo1 = new RemarkEdit(kRemarkLength, this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setTabChangesFocus(true);
    Memo1->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton),
                              QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                              QStringLiteral("Abbruch"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));

    MarkSex = new QLabel(kMark, this);
    MarkSex->setObjectName(QStringLiteral("MarkSex"));
    MarkName = new QLabel(kMark, this);
    MarkName->setObjectName(QStringLiteral("MarkName"));
    MarkVorname = new QLabel(kMark, this);
    MarkVorname->setObjectName(QStringLiteral("MarkVorname"));
    MarkGeb = new QLabel(kMark, this);
    MarkGeb->setObjectName(QStringLiteral("MarkGeb"));

    // The fields share one width, so that the marks beside them form a column.
    const int fieldWidth = fontMetrics().horizontalAdvance(QLatin1Char('x')) * 34;
    for (QWidget* field :
         {static_cast<QWidget*>(ComboBox1), static_cast<QWidget*>(Edit1),
          static_cast<QWidget*>(Edit2), static_cast<QWidget*>(Edit3), static_cast<QWidget*>(Memo1)})
        field->setFixedWidth(fieldWidth);
    Memo1->setFixedHeight(fontMetrics().lineSpacing() * 4 + 2 * Memo1->frameWidth() +
                          static_cast<int>(2 * Memo1->document()->documentMargin()));

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(8);
    const Qt::Alignment labelAlign = Qt::AlignRight | Qt::AlignVCenter;
    struct Row {
        QString text;
        QWidget* field;
        QLabel* mark;
    };
    const Row rows[] = {{QStringLiteral("Geschlecht:"), ComboBox1, MarkSex},
                        {QStringLiteral("Name:"), Edit1, MarkName},
                        {QStringLiteral("Vorname:"), Edit2, MarkVorname},
                        {QStringLiteral("Geb. am:"), Edit3, MarkGeb},
                        {QStringLiteral("Bemerkungen:"), Memo1, nullptr}};
    int r = 0;
    for (const Row& row : rows) {
        QLabel* label = widgets::boldLabel(row.text, QStringLiteral("Label%1").arg(r + 1), this);
        label->setBuddy(row.field);
        const bool tall = row.field == Memo1;
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
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    grid->setRowMinimumHeight(r, 4);
    grid->addLayout(buttons, r + 1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->addLayout(grid);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(ComboBox1, Edit1);
    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, Edit3);
    setTabOrder(Edit3, Memo1);
    setTabOrder(Memo1, BitBtn1);
    setTabOrder(BitBtn1, BitBtn2);

    for (QWidget* w : {static_cast<QWidget*>(ComboBox1), static_cast<QWidget*>(Edit1),
                       static_cast<QWidget*>(Edit2), static_cast<QWidget*>(Edit3)})
        w->installEventFilter(this);

    connect(BitBtn1, &QPushButton::clicked, this, &TForm3::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    connect(Edit3, &QLineEdit::textChanged, this, &TForm3::Edit3Change);
}

void TForm3::clearFields() {
    dateValid_ = false;
    birthDate_ = QDate();
    setResult(0);
    ComboBox1->setCurrentIndex(-1);
    Edit1->clear();
    Edit2->clear();
    Edit3->clear();
    Memo1->setText(QString());
    Edit3Change();
}

void TForm3::prepareNew() {
    clearFields();
    setWindowTitle(QStringLiteral("Sportler - Neu"));
    MarkSex->clear();
    MarkName->setText(kMark);
    MarkVorname->setText(kMark);
    MarkGeb->clear();
}

void TForm3::restoreMarks() {
    MarkSex->setText(kMark);
    MarkGeb->setText(kMark);
}

void TForm3::prepareChange(const QString& name, const QString& firstName, const QDate& birthDate,
                           int sex, const QString& remark) {
    clearFields();
    setWindowTitle(QStringLiteral("Sportler - ändern"));
    for (QLabel* mark : {MarkSex, MarkName, MarkVorname, MarkGeb})
        mark->setText(kMark);
    Edit1->setText(name);
    Edit2->setText(firstName);
    if (birthDate.isValid())
        Edit3->setText(texts::dateText(birthDate));
    Memo1->setText(remark);
    ComboBox1->setCurrentIndex(sex == 0 || sex == 1 ? sex : -1);
    Edit3Change();
}

void TForm3::Edit3Change() {
    const QString text = Edit3->text();
    if (!text.trimmed().isEmpty() && !athletes::parseBirthDate(text).isValid()) {
        QPalette palette = Edit3->palette();
        palette.setColor(QPalette::Base, invalidDateColor());
        palette.setColor(QPalette::Text, Qt::black);
        Edit3->setPalette(palette);
    } else {
        Edit3->setPalette(QPalette()); // the normal field background again
    }
}

int TForm3::sexIndex() const {
    return ComboBox1->currentIndex();
}

QString TForm3::name() const {
    return Edit1->text();
}

QString TForm3::firstName() const {
    return Edit2->text();
}

QString TForm3::remark() const {
    return Memo1->text();
}

void TForm3::takeBirthDate() {
    birthDate_ = athletes::parseBirthDate(Edit3->text());
    dateValid_ = birthDate_.isValid();
    Edit3Change();
}

void TForm3::BitBtn1Click() {
    const bool nameMissing = Edit1->text().trimmed().isEmpty();
    const bool firstNameMissing = Edit2->text().trimmed().isEmpty();
    takeBirthDate();
    if (nameMissing || firstNameMissing) {
        boxes::information(
            ui_, QStringLiteral("Bitte füllen Sie alle mit * gekennzeichneten Felder aus!"));
        (nameMissing ? Edit1 : Edit2)->setFocus();
        return;
    }
    // A birth date that is typed but is no date would otherwise be dropped without a word.
    if (!dateValid_ && !Edit3->text().trimmed().isEmpty()) {
        boxes::information(
            ui_, QStringLiteral("„%1“ ist kein gültiges Geburtsdatum. Bitte geben Sie das Datum "
                                "in der Form %2 ein oder lassen Sie das Feld leer.")
                     .arg(Edit3->text().trimmed(), texts::dateText(QDate(1990, 12, 31))));
        Edit3->setFocus();
        Edit3->selectAll();
        return;
    }
    accept();
}

void TForm3::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    widgets::centreOnScreen(this);
    Edit1->setFocus();
}

bool TForm3::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (isEnter(key)) {
            BitBtn1->setFocus();
            BitBtn1->click();
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            BitBtn2->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
