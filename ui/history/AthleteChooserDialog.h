// The dialog that chooses the athlete a measurement is given to, searchable by name.

#pragma once

#include "core/store/AthleteRepository.h"

#include <QDialog>

#include <optional>

class QLineEdit;
class QListWidget;
class QPushButton;

class AthleteChooserDialog : public QDialog {
    Q_OBJECT
public:
    // Offers the athletes (but `exceptId`) for the measurement `measurementText` names.
    AthleteChooserDialog(const QList<Athlete>& athletes, qint64 exceptId,
                         const QString& measurementText, QWidget* parent = nullptr);

    // The athlete chosen; none while no row is chosen.
    std::optional<qint64> chosenId() const;

    // Asks for the athlete; none when the user cancels.
    static std::optional<qint64> ask(QWidget* parent, const QList<Athlete>& athletes,
                                     qint64 exceptId, const QString& measurementText);

private:
    void filter(const QString& text);

    QLineEdit* searchField_ = nullptr;
    QListWidget* list_ = nullptr;
    QPushButton* okButton_ = nullptr;
};
