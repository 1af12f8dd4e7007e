#pragma once

#include "core/measure/Limits.h"

#include <QDialog>
#include <QSettings>

#include <functional>
#include <memory>

class MessageService;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

// Limits dialog "Triggerflanke": edits the plausibility limits and the abort option of the
// limits object it is given (owned by the main window). A field is taken over as soon as it
// loses focus, and every field once more when the dialog closes; there is no cancel. A
// minimum and its maximum come into force together, once the minimum is below the maximum
// (so a new range can be typed in either order); the dialog does not close while one is not.
class LimitsDialog : public QDialog {
    Q_OBJECT
public:
    LimitsDialog(MessageService& messages, plausibility::Limits& limits, QWidget* parent = nullptr);

    // Adds the row "Sprache:" with "Deutsch" and "English" (languageChooser) and the note that
    // a new choice takes effect at the next start. The row shows the stored choice, else the
    // language of the system's locale; a choice is written to "Einstellungen/Sprache" at once.
    void offerLanguageChoice(std::function<std::unique_ptr<QSettings>()> openSettings);

    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    struct Field {
        QLineEdit* edit;
        qint32 plausibility::Limits::*limit;
        bool upper;
    };

    QLineEdit* makeEdit(const char* name);
    void alignRowLabels();
    void fillFields();
    void takeOver(const Field& field);
    void takeOverAll();
    // The first pair whose minimum is not below its maximum, told to the user; false if none.
    bool refusedCrossedPair();
    const Field* fieldOf(const QObject* object) const;

    MessageService& messages_;
    plausibility::Limits& limits_;
    plausibility::Limits edited_; // the limits as the fields show them
    QGroupBox* minBox_ = nullptr;
    QWidget* labelColumn_ = nullptr;
    QLineEdit* contactMinField_ = nullptr;
    QLineEdit* flightMinField_ = nullptr;
    QLineEdit* contactMaxField_ = nullptr;
    QLineEdit* flightMaxField_ = nullptr;
    QCheckBox* abortCheck_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QComboBox* languageChooser_ = nullptr;
    QVBoxLayout* main_ = nullptr;
    QList<Field> fields_;
};
