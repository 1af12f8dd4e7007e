#pragma once

#include <QDialog>

#include <optional>

class QComboBox;

// "Sprung ausschließen": the reason a jump counts nowhere, chosen from a short list
// (Doppelkontakt, Fehlversuch, Messfehler) or typed.
class ExclusionDialog : public QDialog {
    Q_OBJECT
public:
    explicit ExclusionDialog(QWidget* parent = nullptr);

    QString reason() const;
    // Asks for the reason of excluding jump `number`; none when the user cancels.
    static std::optional<QString> ask(QWidget* parent, int jumpIndex);

    static constexpr int kReasonLength = 100;

private:
    QComboBox* reasonField_ = nullptr;
};
