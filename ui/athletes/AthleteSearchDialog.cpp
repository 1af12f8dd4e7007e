// The search dialog's two fields and the choice of the one to search by.

#include "ui/athletes/AthleteSearchDialog.h"

#include "ui/common/Widgets.h"

#include <QGridLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

AthleteSearchDialog::AthleteSearchDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("athleteSearch"));
    setWindowTitle(tr("Suchen nach"));
    setModal(true);
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);

    firstNameLabel_ = widgets::boldLabel(tr("Vorname:"), QStringLiteral("firstNameLabel"), this);
    firstNameField_ = new QLineEdit(this);
    firstNameField_->setObjectName(QStringLiteral("firstNameField"));
    auto* orLabel = new QLabel(tr("oder"), this);
    orLabel->setObjectName(QStringLiteral("orLabel"));
    surnameLabel_ = widgets::boldLabel(tr("Nachname:"), QStringLiteral("surnameLabel"), this);
    surnameField_ = new QLineEdit(this);
    surnameField_->setObjectName(QStringLiteral("surnameField"));
    searchButton_ =
        new QPushButton(QIcon::fromTheme(QStringLiteral("edit-find")), tr("Suchen"), this);
    searchButton_->setObjectName(QStringLiteral("searchButton"));
    firstNameLabel_->setBuddy(firstNameField_);
    surnameLabel_->setBuddy(surnameField_);

    const int fieldWidth = fontMetrics().horizontalAdvance(QLatin1Char('x')) * 30;
    firstNameField_->setFixedWidth(fieldWidth);
    surnameField_->setFixedWidth(fieldWidth);
    searchButton_->setMinimumWidth(fieldWidth / 2);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    grid->addWidget(firstNameLabel_, 0, 0, Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(firstNameField_, 0, 1);
    grid->addWidget(orLabel, 1, 1, Qt::AlignHCenter | Qt::AlignVCenter);
    grid->addWidget(surnameLabel_, 2, 0, Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(surnameField_, 2, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->addLayout(grid);
    layout->addSpacing(10);
    layout->addWidget(searchButton_, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(firstNameField_, surnameField_);
    setTabOrder(surnameField_, searchButton_);

    firstNameField_->installEventFilter(this);
    surnameField_->installEventFilter(this);
    connect(searchButton_, &QPushButton::clicked, this, &AthleteSearchDialog::search);
}

QString AthleteSearchDialog::searchText() const {
    switch (answer_) {
    case athletes::SearchBy::FirstName:
        return firstNameField_->text();
    case athletes::SearchBy::Surname:
        return surnameField_->text();
    case athletes::SearchBy::None:
        break;
    }
    return {};
}

void AthleteSearchDialog::chooseFirstName() {
    firstNameLabel_->setEnabled(true);
    surnameLabel_->setEnabled(false);
    pending_ = athletes::SearchBy::FirstName;
}

void AthleteSearchDialog::chooseSurname() {
    firstNameLabel_->setEnabled(false);
    surnameLabel_->setEnabled(true);
    pending_ = athletes::SearchBy::Surname;
}

void AthleteSearchDialog::search() {
    answer_ = pending_;
    accept();
}

void AthleteSearchDialog::showEvent(QShowEvent* event) {
    answer_ = athletes::SearchBy::None;
    QDialog::showEvent(event);
    widgets::centreOnScreen(this);
    firstNameField_->setFocus();
    // The focus event follows only once the window is active; the choice is made now.
    chooseFirstName();
}

bool AthleteSearchDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        if (watched == firstNameField_)
            chooseFirstName();
        else if (watched == surnameField_)
            chooseSurname();
    } else if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (watched == firstNameField_)
                searchButton_->click();
            // Enter in the surname field does nothing, not even the default button.
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
