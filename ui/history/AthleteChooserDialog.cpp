// The searchable choice of the athlete a measurement is given to.

#include "ui/history/AthleteChooserDialog.h"

#include "core/base/Texts.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

AthleteChooserDialog::AthleteChooserDialog(const QList<Athlete>& athletes, qint64 exceptId,
                                           const QString& measurementText, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("athleteChooserDialog"));
    setWindowTitle(tr("Messung einem anderen Sportler zuordnen"));
    auto* measurementLabel = new QLabel(tr("Messung %1").arg(measurementText), this);
    measurementLabel->setObjectName(QStringLiteral("measurementLabel"));
    measurementLabel->setWordWrap(true);

    searchField_ = new QLineEdit(this);
    searchField_->setObjectName(QStringLiteral("athleteSearchField"));
    searchField_->setClearButtonEnabled(true);
    auto* searchLabel = new QLabel(tr("&Suchen:"), this);
    searchLabel->setObjectName(QStringLiteral("athleteSearchLabel"));
    searchLabel->setBuddy(searchField_);

    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("athleteChoiceList"));
    auto* listLabel = new QLabel(tr("Sport&ler:"), this);
    listLabel->setObjectName(QStringLiteral("athleteChoiceLabel"));
    listLabel->setBuddy(list_);
    for (const Athlete& athlete : athletes) {
        if (athlete.id == exceptId)
            continue;
        QString text = athlete.firstName.isEmpty()
                           ? athlete.name
                           : QStringLiteral("%1, %2").arg(athlete.name, athlete.firstName);
        if (athlete.birthDate.isValid())
            text += QStringLiteral(" (%1)").arg(texts::dateText(athlete.birthDate));
        auto* item = new QListWidgetItem(text, list_);
        item->setData(Qt::UserRole, athlete.id);
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    okButton_ = buttons->button(QDialogButtonBox::Ok);
    okButton_->setText(tr("Zuordnen"));
    okButton_->setEnabled(false);
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("Abbrechen"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::currentRowChanged, this,
            [this] { okButton_->setEnabled(chosenId().has_value()); });
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(searchField_, &QLineEdit::textChanged, this, &AthleteChooserDialog::filter);

    auto* form = new QFormLayout;
    form->addRow(searchLabel, searchField_);
    form->addRow(listLabel, list_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(measurementLabel);
    layout->addLayout(form);
    layout->addWidget(buttons);
    resize(420, 420);
}

void AthleteChooserDialog::filter(const QString& text) {
    const QStringList words = text.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    int firstShown = -1;
    for (int row = 0; row < list_->count(); ++row) {
        QListWidgetItem* item = list_->item(row);
        bool shown = true;
        for (const QString& word : words)
            shown = shown && item->text().contains(word, Qt::CaseInsensitive);
        item->setHidden(!shown);
        if (shown && firstShown < 0)
            firstShown = row;
    }
    // The first athlete found is chosen, so that Enter gives the measurement to him.
    list_->setCurrentRow(firstShown);
    okButton_->setEnabled(chosenId().has_value());
}

std::optional<qint64> AthleteChooserDialog::chosenId() const {
    const QListWidgetItem* item = list_->currentItem();
    if (!item || item->isHidden())
        return std::nullopt;
    return item->data(Qt::UserRole).toLongLong();
}

std::optional<qint64> AthleteChooserDialog::ask(QWidget* parent, const QList<Athlete>& athletes,
                                                qint64 exceptId, const QString& measurementText) {
    AthleteChooserDialog dialog(athletes, exceptId, measurementText, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.chosenId();
}
