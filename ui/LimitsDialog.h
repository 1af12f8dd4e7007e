#pragma once

#include "core/measure/Limits.h"

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

// Limits dialog "Triggerflanke": edits the plausibility limits and the abort option of the
// limits object it is given (owned by the main window). A field is taken over as soon as it
// loses focus, and every field once more when the dialog closes; there is no cancel.
class LimitsDialog : public QDialog {
    Q_OBJECT
public:
    explicit LimitsDialog(plausibility::Limits& limits, QWidget* parent = nullptr);

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
    const Field* fieldOf(const QObject* object) const;

    plausibility::Limits& limits_;
    QGroupBox* minBox_ = nullptr;
    QWidget* labelColumn_ = nullptr;
    QLineEdit* contactMinField = nullptr;
    QLineEdit* flightMinField = nullptr;
    QLineEdit* contactMaxField = nullptr;
    QLineEdit* flightMaxField = nullptr;
    QCheckBox* abortCheck = nullptr;
    QPushButton* okButton = nullptr;
    QList<Field> fields_;
};
