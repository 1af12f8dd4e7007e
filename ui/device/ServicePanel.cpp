// The service panel "Form6": its fields and the commands it sends to the service device.

#include "ui/device/ServicePanel.h"

#include "core/link/ServiceProtocol.h"
#include "ui/common/MessageService.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

const QString kDefaultParameter = QStringLiteral("10");
const QString kUnitLabel = QStringLiteral("ms * 10");

} // namespace

ServicePanel::ServicePanel(DeviceLink& device, Clock& clock, MessageService& messages,
                           QWidget* parent)
    : QWidget(parent, Qt::Window), messages_(messages), link_(device, clock) {
    setObjectName(QStringLiteral("servicePanel"));
    setWindowTitle(QStringLiteral("Form6"));
    QFont tahoma = font();
    tahoma.setFamilies({QStringLiteral("Tahoma"), tahoma.family()});
    setFont(tahoma);

    auto* openButton =
        makeButton("openButton", QStringLiteral("OpenPort"), &ServicePanel::openDevice);
    auto* multiStartButton =
        makeButton("multiStartButton", QStringLiteral("Start"), &ServicePanel::sendMulti);
    auto* hurdleStartButton =
        makeButton("hurdleStartButton", QStringLiteral("Start"), &ServicePanel::sendHurdle);
    auto* resetButton =
        makeButton("resetButton", QStringLiteral("ResetDevice"), &ServicePanel::resetDevice);
    auto* singleStartButton =
        makeButton("singleStartButton", QStringLiteral("Start"), &ServicePanel::sendSingle);
    multiLowerField_ = makeEdit("multiLowerField");
    multiUpperField_ = makeEdit("multiUpperField");
    hurdleField1_ = makeEdit("hurdleField1");
    hurdleField2_ = makeEdit("hurdleField2");
    hurdleField3_ = makeEdit("hurdleField3");
    singleField1_ = makeEdit("singleField1");
    singleField2_ = makeEdit("singleField2");

    // "Multi" shows its second parameter in the first row.
    auto* multiGroup = makeGroup("multiGroup", QStringLiteral("Multi"), multiStartButton,
                                 {multiUpperField_, multiLowerField_});
    auto* hurdleGroup = makeGroup("hurdleGroup", tr("Hürde"), hurdleStartButton,
                                  {hurdleField1_, hurdleField2_, hurdleField3_});
    auto* singleGroup = makeGroup("singleGroup", QStringLiteral("Single"), singleStartButton,
                                  {singleField1_, singleField2_});

    auto* top = new QHBoxLayout;
    top->addStretch();
    top->addWidget(openButton);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(resetButton);

    auto* main = new QVBoxLayout(this);
    main->addLayout(top);
    main->addWidget(multiGroup);
    main->addWidget(hurdleGroup);
    main->addWidget(singleGroup);
    main->addStretch();
    main->addLayout(bottom);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().topLeft());
}

QPushButton* ServicePanel::makeButton(const char* name, const QString& caption,
                                      void (ServicePanel::*handler)()) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QLatin1String(name));
    connect(button, &QPushButton::clicked, this,
            [this, handler] { runGuarded(messages_, [this, handler] { (this->*handler)(); }); });
    return button;
}

QLineEdit* ServicePanel::makeEdit(const char* name) {
    auto* edit = new QLineEdit(kDefaultParameter, this);
    edit->setObjectName(QLatin1String(name));
    return edit;
}

QGroupBox* ServicePanel::makeGroup(const char* name, const QString& title, QPushButton* start,
                                   const QList<QLineEdit*>& rows) {
    auto* group = new QGroupBox(title, this);
    group->setObjectName(QLatin1String(name));
    auto* grid = new QGridLayout(group);
    grid->addWidget(start, 0, 0, static_cast<int>(rows.size()), 1, Qt::AlignVCenter);
    for (int row = 0; row < rows.size(); ++row) {
        grid->addWidget(rows[row], row, 1);
        auto* unit = new QLabel(kUnitLabel, group);
        unit->setObjectName(rows[row]->objectName() + QStringLiteral("UnitLabel"));
        grid->addWidget(unit, row, 2);
    }
    grid->setColumnStretch(1, 1);
    return group;
}

void ServicePanel::openDevice() {
    link_.open();
}

void ServicePanel::send(quint8 letter, const QStringList& parameters) {
    // The box comes after the command gave the timing unit's handle back: its event loop may
    // run a poll of a measurement.
    const QString message = ServiceLink::messageFor(link_.sendCommand(letter, parameters));
    if (!message.isEmpty())
        boxes::plain(messages_, message);
}

void ServicePanel::sendMulti() {
    send(service::kMultiCommand, {multiLowerField_->text(), multiUpperField_->text()});
}

void ServicePanel::sendHurdle() {
    send(service::kHurdleCommand,
         {hurdleField1_->text(), hurdleField2_->text(), hurdleField3_->text()});
}

void ServicePanel::resetDevice() {
    link_.sendReset();
}

void ServicePanel::sendSingle() {
    send(service::kSingleCommand, {singleField1_->text(), singleField2_->text()});
}
