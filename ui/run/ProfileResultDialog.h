#pragma once

#include "core/analysis/Protocols.h"

#include <QDialog>

// The result of a drop-height profile ("Fallhöhen-Profil"): a chart of the best RSI and the
// best jump height over the drop height, the optimal drop height by RSI and by jump height,
// and a table with a row per height.
class ProfileResultDialog : public QDialog {
    Q_OBJECT
public:
    ProfileResultDialog(const protocols::Profile& profile, const QString& athleteName,
                        QWidget* parent = nullptr);
};
