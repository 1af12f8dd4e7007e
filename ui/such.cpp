#include "ui/such.h"

#include "ui/Widgets.h"

#include <QGridLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

TForm5::TForm5(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("Suchen nach"));
    setModal(true);
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);

    Label1 = widgets::boldLabel(QStringLiteral("Vorname:"), QStringLiteral("Label1"), this);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    auto* label2 = new QLabel(QStringLiteral("oder"), this);
    label2->setObjectName(QStringLiteral("Label2"));
    Label3 = widgets::boldLabel(QStringLiteral("Nachname:"), QStringLiteral("Label3"), this);
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    BitBtn1 = new QPushButton(QIcon::fromTheme(QStringLiteral("edit-find")),
                              QStringLiteral("Suchen"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    Label1->setBuddy(Edit1);
    Label3->setBuddy(Edit2);

    const int fieldWidth = fontMetrics().horizontalAdvance(QLatin1Char('x')) * 30;
    Edit1->setFixedWidth(fieldWidth);
    Edit2->setFixedWidth(fieldWidth);
    BitBtn1->setMinimumWidth(fieldWidth / 2);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    grid->addWidget(Label1, 0, 0, Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(Edit1, 0, 1);
    grid->addWidget(label2, 1, 1, Qt::AlignHCenter | Qt::AlignVCenter);
    grid->addWidget(Label3, 2, 0, Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(Edit2, 2, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->addLayout(grid);
    layout->addSpacing(10);
    layout->addWidget(BitBtn1, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, BitBtn1);

    Edit1->installEventFilter(this);
    Edit2->installEventFilter(this);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm5::BitBtn1Click);
}

QString TForm5::searchText() const {
    switch (answer_) {
    case athletes::SearchBy::FirstName:
        return Edit1->text();
    case athletes::SearchBy::Surname:
        return Edit2->text();
    case athletes::SearchBy::None:
        break;
    }
    return {};
}

QStringList TForm5::statement() const {
    return athletes::searchStatement(answer_, searchText());
}

void TForm5::Edit1Enter() {
    Label1->setEnabled(true);
    Label3->setEnabled(false);
    pending_ = athletes::SearchBy::FirstName;
}

void TForm5::Edit2Enter() {
    Label1->setEnabled(false);
    Label3->setEnabled(true);
    pending_ = athletes::SearchBy::Surname;
}

void TForm5::BitBtn1Click() {
    answer_ = pending_;
    accept();
}

void TForm5::showEvent(QShowEvent* event) {
    answer_ = athletes::SearchBy::None;
    QDialog::showEvent(event);
    widgets::centreOnScreen(this);
    Edit1->setFocus();
    // The focus event follows only once the window is active; the choice is made now.
    Edit1Enter();
}

bool TForm5::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        if (watched == Edit1)
            Edit1Enter();
        else if (watched == Edit2)
            Edit2Enter();
    } else if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (watched == Edit1)
                BitBtn1->click();
            // Enter in the surname field does nothing, not even the default button.
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
