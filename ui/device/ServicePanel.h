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
class ServicePanel : public QWidget {
    Q_OBJECT
public:
    // The link, the clock and the message service must outlive the panel.
    ServicePanel(DeviceLink& device, Clock& clock, MessageService& ui, QWidget* parent = nullptr);

    // "OpenPort": opens and configures the service device.
    void openDevice();
    // "Multi": T with multiLowerField (second row), then multiUpperField (first row).
    void sendMulti();
    // "Hürde": S with hurdleField1, hurdleField2, hurdleField3.
    void sendHurdle();
    // "ResetDevice": X.
    void resetDevice();
    // "Single": U with singleField1, singleField2.
    void sendSingle();

    ServiceLink& link() { return link_; }
    const ServiceLink& link() const { return link_; }

    QPushButton* openButton = nullptr;
    QPushButton* multiStartButton = nullptr;
    QPushButton* hurdleStartButton = nullptr;
    QPushButton* resetButton = nullptr;
    QPushButton* singleStartButton = nullptr;
    QGroupBox* multiGroup = nullptr;  // "Multi"
    QGroupBox* hurdleGroup = nullptr; // "Hürde"
    QGroupBox* singleGroup = nullptr; // "Single"
    QLineEdit* multiLowerField = nullptr;
    QLineEdit* multiUpperField = nullptr;
    QLineEdit* hurdleField1 = nullptr;
    QLineEdit* hurdleField2 = nullptr;
    QLineEdit* hurdleField3 = nullptr;
    QLineEdit* singleField1 = nullptr;
    QLineEdit* singleField2 = nullptr;

private:
    QPushButton* makeButton(const char* name, const QString& caption,
                            void (ServicePanel::*handler)());
    void send(quint8 letter, const QStringList& parameters);
    QGroupBox* makeGroup(const char* name, const QString& title, QPushButton* start,
                         const QList<QLineEdit*>& rows);
    QLineEdit* makeEdit(const char* name);

    MessageService& ui_;
    ServiceLink link_;
};
