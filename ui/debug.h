#pragma once

#include "core/link/ServiceLink.h"

#include <QWidget>

class QGroupBox;
class QLineEdit;
class QPushButton;

// The service panel "Form6": a modeless window that opens the service device and sends it
// the commands "Multi" (T), "Hürde" (S), "Single" (U) and the reset (X). Created hidden;
// closing it only hides it. Each button runs its handler through the program's handler
// guard, so nothing escapes into the event loop.
class TForm6 : public QWidget {
    Q_OBJECT
public:
    // serviceHandle is kept by the caller (the main window's ServiceHandle) and, like the
    // unit, the clock and the message service, must outlive the panel.
    TForm6(D2XXUnit& unit, Clock& clock, MessageService& ui, d2xx::Handle& serviceHandle,
           QWidget* parent = nullptr);

    // "OpenPort": opens and configures the service device.
    void Button1Click();
    // "Multi": T with Edit1 (second row), then Edit2 (first row).
    void Button2Click();
    // "Hürde": S with Edit3, Edit4, Edit5.
    void Button3Click();
    // "ResetDevice": X.
    void Button4Click();
    // "Single": U with Edit6, Edit7.
    void Button5Click();

    ServiceLink& link() { return link_; }

    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button4 = nullptr;
    QPushButton* Button5 = nullptr;
    QGroupBox* GroupBox1 = nullptr; // "Multi"
    QGroupBox* GroupBox2 = nullptr; // "Hürde"
    QGroupBox* GroupBox3 = nullptr; // "Single"
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QLineEdit* Edit5 = nullptr;
    QLineEdit* Edit6 = nullptr;
    QLineEdit* Edit7 = nullptr;

private:
    QPushButton* makeButton(const char* name, const QString& caption, void (TForm6::*handler)());
    QGroupBox* makeGroup(const char* name, const QString& title, QPushButton* start,
                         const QList<QLineEdit*>& rows);
    QLineEdit* makeEdit(const char* name);

    MessageService& ui_;
    ServiceLink link_;
};
