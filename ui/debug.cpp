#include "ui/debug.h"

#include "core/base/Errors.h"
#include "core/link/ServiceProtocol.h"

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

TForm6::TForm6(D2XXUnit& unit, Clock& clock, MessageService& ui, d2xx::Handle& serviceHandle,
               QWidget* parent)
    : QWidget(parent, Qt::Window), ui_(ui), link_(unit, clock, ui, serviceHandle) {
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("Form6"));
    QFont tahoma = font();
    tahoma.setFamilies({QStringLiteral("Tahoma"), tahoma.family()});
    setFont(tahoma);

    Button1 = makeButton("Button1", QStringLiteral("OpenPort"), &TForm6::Button1Click);
    Button2 = makeButton("Button2", QStringLiteral("Start"), &TForm6::Button2Click);
    Button3 = makeButton("Button3", QStringLiteral("Start"), &TForm6::Button3Click);
    Button4 = makeButton("Button4", QStringLiteral("ResetDevice"), &TForm6::Button4Click);
    Button5 = makeButton("Button5", QStringLiteral("Start"), &TForm6::Button5Click);
    Edit1 = makeEdit("Edit1");
    Edit2 = makeEdit("Edit2");
    Edit3 = makeEdit("Edit3");
    Edit4 = makeEdit("Edit4");
    Edit5 = makeEdit("Edit5");
    Edit6 = makeEdit("Edit6");
    Edit7 = makeEdit("Edit7");

    // "Multi" shows its second parameter in the first row.
    GroupBox1 = makeGroup("GroupBox1", QStringLiteral("Multi"), Button2, {Edit2, Edit1});
    GroupBox2 = makeGroup("GroupBox2", QStringLiteral("Hürde"), Button3, {Edit3, Edit4, Edit5});
    GroupBox3 = makeGroup("GroupBox3", QStringLiteral("Single"), Button5, {Edit6, Edit7});

    auto* top = new QHBoxLayout;
    top->addStretch();
    top->addWidget(Button1);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(Button4);

    auto* main = new QVBoxLayout(this);
    main->addLayout(top);
    main->addWidget(GroupBox1);
    main->addWidget(GroupBox2);
    main->addWidget(GroupBox3);
    main->addStretch();
    main->addLayout(bottom);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().topLeft());
}

QPushButton* TForm6::makeButton(const char* name, const QString& caption,
                                void (TForm6::*handler)()) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QLatin1String(name));
    connect(button, &QPushButton::clicked, this,
            [this, handler] { runGuarded(ui_, [this, handler] { (this->*handler)(); }); });
    return button;
}

QLineEdit* TForm6::makeEdit(const char* name) {
    auto* edit = new QLineEdit(kDefaultParameter, this);
    edit->setObjectName(QLatin1String(name));
    return edit;
}

QGroupBox* TForm6::makeGroup(const char* name, const QString& title, QPushButton* start,
                             const QList<QLineEdit*>& rows) {
    auto* group = new QGroupBox(title, this);
    group->setObjectName(QLatin1String(name));
    auto* grid = new QGridLayout(group);
    grid->addWidget(start, 0, 0, static_cast<int>(rows.size()), 1, Qt::AlignVCenter);
    for (int row = 0; row < rows.size(); ++row) {
        grid->addWidget(rows[row], row, 1);
        grid->addWidget(new QLabel(kUnitLabel, group), row, 2);
    }
    grid->setColumnStretch(1, 1);
    return group;
}

void TForm6::Button1Click() {
    link_.Open();
}

void TForm6::Button2Click() {
    link_.SendCommand(service::MultiCommand, {Edit1->text(), Edit2->text()});
}

void TForm6::Button3Click() {
    link_.SendCommand(service::HurdleCommand, {Edit3->text(), Edit4->text(), Edit5->text()});
}

void TForm6::Button4Click() {
    link_.SendReset();
}

void TForm6::Button5Click() {
    link_.SendCommand(service::SingleCommand, {Edit6->text(), Edit7->text()});
}
