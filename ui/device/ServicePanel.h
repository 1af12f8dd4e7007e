#pragma once

#include "core/link/ServiceLink.h"

#include <QWidget>

class MessageService;
class QGroupBox;
class QLineEdit;
class QPushButton;

// The service panel "Form6": a modeless window that opens the service device and sends it
// the commands "Multi" (T), "Hürde" (S), "Single" (U) and the reset (X). Created hidden;
// closing it only hides it. Each button runs its handler through the program's handler
// guard, so nothing escapes into the event loop.
//
// Object names: the buttons "OpenPort", "ResetDevice" and the "Start" of each group are
// openButton, resetButton, multiStartButton, hurdleStartButton and singleStartButton; the
// groups multiGroup, hurdleGroup and singleGroup; the fields, top to bottom, multiUpperField
// and multiLowerField, hurdleField1 to hurdleField3, singleField1 and singleField2, each with
// its unit label (the field's name and "UnitLabel").
class ServicePanel : public QWidget {
    Q_OBJECT
public:
    // The link, the clock and the message service must outlive the panel.
    ServicePanel(DeviceLink& device, Clock& clock, MessageService& messages,
                 QWidget* parent = nullptr);

    // "OpenPort": opens and configures the service device.
    void openDevice();
    // "Multi": T with the field of the second row, then the first.
    void sendMulti();
    // "Hürde": S with its three fields, top to bottom.
    void sendHurdle();
    // "ResetDevice": X.
    void resetDevice();
    // "Single": U with its two fields, top to bottom.
    void sendSingle();

    ServiceLink& link() { return link_; }
    const ServiceLink& link() const { return link_; }

private:
    QPushButton* makeButton(const char* name, const QString& caption,
                            void (ServicePanel::*handler)());
    void send(quint8 letter, const QStringList& parameters);
    QGroupBox* makeGroup(const char* name, const QString& title, QPushButton* start,
                         const QList<QLineEdit*>& rows);
    QLineEdit* makeEdit(const char* name);

    MessageService& messages_;
    ServiceLink link_;
    QLineEdit* multiLowerField_ = nullptr;
    QLineEdit* multiUpperField_ = nullptr;
    QLineEdit* hurdleField1_ = nullptr;
    QLineEdit* hurdleField2_ = nullptr;
    QLineEdit* hurdleField3_ = nullptr;
    QLineEdit* singleField1_ = nullptr;
    QLineEdit* singleField2_ = nullptr;
};
