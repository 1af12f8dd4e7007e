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

    firstNameLabel = widgets::boldLabel(tr("Vorname:"), QStringLiteral("firstNameLabel"), this);
    firstNameField = new QLineEdit(this);
    firstNameField->setObjectName(QStringLiteral("firstNameField"));
    auto* orLabel = new QLabel(tr("oder"), this);
    orLabel->setObjectName(QStringLiteral("orLabel"));
    surnameLabel = widgets::boldLabel(tr("Nachname:"), QStringLiteral("surnameLabel"), this);
    surnameField = new QLineEdit(this);
    surnameField->setObjectName(QStringLiteral("surnameField"));
    searchButton =
        new QPushButton(QIcon::fromTheme(QStringLiteral("edit-find")), tr("Suchen"), this);
    searchButton->setObjectName(QStringLiteral("searchButton"));
    firstNameLabel->setBuddy(firstNameField);
    surnameLabel->setBuddy(surnameField);

    const int fieldWidth = fontMetrics().horizontalAdvance(QLatin1Char('x')) * 30;
    firstNameField->setFixedWidth(fieldWidth);
    surnameField->setFixedWidth(fieldWidth);
    searchButton->setMinimumWidth(fieldWidth / 2);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    grid->addWidget(firstNameLabel, 0, 0, Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(firstNameField, 0, 1);
    grid->addWidget(orLabel, 1, 1, Qt::AlignHCenter | Qt::AlignVCenter);
    grid->addWidget(surnameLabel, 2, 0, Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(surnameField, 2, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->addLayout(grid);
    layout->addSpacing(10);
    layout->addWidget(searchButton, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(firstNameField, surnameField);
    setTabOrder(surnameField, searchButton);

    firstNameField->installEventFilter(this);
    surnameField->installEventFilter(this);
    connect(searchButton, &QPushButton::clicked, this, &AthleteSearchDialog::search);
}

QString AthleteSearchDialog::searchText() const {
    switch (answer_) {
    case athletes::SearchBy::FirstName:
        return firstNameField->text();
    case athletes::SearchBy::Surname:
        return surnameField->text();
    case athletes::SearchBy::None:
        break;
    }
    return {};
}

void AthleteSearchDialog::chooseFirstName() {
    firstNameLabel->setEnabled(true);
    surnameLabel->setEnabled(false);
    pending_ = athletes::SearchBy::FirstName;
}

void AthleteSearchDialog::chooseSurname() {
    firstNameLabel->setEnabled(false);
    surnameLabel->setEnabled(true);
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
    firstNameField->setFocus();
    // The focus event follows only once the window is active; the choice is made now.
    chooseFirstName();
}

bool AthleteSearchDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        if (watched == firstNameField)
            chooseFirstName();
        else if (watched == surnameField)
            chooseSurname();
    } else if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (watched == firstNameField)
                searchButton->click();
            // Enter in the surname field does nothing, not even the default button.
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
