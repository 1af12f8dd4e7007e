#include "core/base/Clock.h"
#include "core/base/Errors.h"
#include "core/link/DeviceLink.h"
#include "core/link/ServiceLink.h"
#include "core/link/SimulatedUnit.h"
#include "core/link/TimingLink.h"
#include "core/link/UnitScript.h"
#include "core/store/Database.h"
#include "support/FakeDriver.h"
#include "support/MainWindowFixture.h"
#include "support/RecordingMessageService.h"
#include "support/WindowParts.h"
#include "ui/device/ServicePanel.h"

#include <QAction>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSqlQuery>
#include <QTreeWidget>
#include <QtTest>

#include <tuple>

using namespace d2xx;

namespace {

const QString kNoAdapter = QStringLiteral(" - USB Adapter nicht gefunden");

// Records, with every box, the link handle in place while the box is up: a box runs an event
// loop in which the poll of a running measurement may fire.
struct WatchingUi : RecordingMessageService {
    int show(const MessageBox& box) override {
        handlesAtBox << (unit ? unit->handle : Handle{0});
        return RecordingMessageService::show(box);
    }
    DeviceLink* unit = nullptr;
    QList<Handle> handlesAtBox;
};

std::unique_ptr<SimulatedUnit> scripted(Clock& clock, const QByteArray& text) {
    QString error;
    const auto script = parseUnitScript(text, QStringLiteral("test"), &error);
    if (!script)
        qFatal("bad test script: %s", qPrintable(error));
    return createScriptedUnit(clock, *script);
}

// The panel over a simulated unit (a timing unit and, when the script says so, a service
// device) on a virtual clock that moves 1 ms per reading.
struct PanelRig {
    explicit PanelRig(const QByteArray& script)
        : driver(scripted(clock, script)), unit(*driver), link(unit, clock),
          panel(unit, clock, messages) {
        messages.unit = &unit;
        unit.setStatusReporter([this](const QString& text) { boxes::error(messages, text); });
    }

    SimulatedServiceDevice* service() {
        return dynamic_cast<SimulatedServiceDevice*>(driver->findDevice("VudurEve"));
    }
    SimulatedDevice& timingUnit() { return driver->device(0); }
    // Opens the timing unit as a run does; its handle, 0 when that failed.
    Handle openTimingUnit() {
        return link.open() == TimingLink::OpenResult::Opened ? unit.handle : 0;
    }
    Handle serviceHandle() const { return panel.link().handle(); }
    void setField(const QString& name, const QString& text) {
        auto* edit = panel.findChild<QLineEdit*>(name);
        QVERIFY2(edit, qPrintable(name));
        edit->setText(text);
    }
    void click(const QString& name) {
        auto* button = panel.findChild<QPushButton*>(name);
        QVERIFY2(button, qPrintable(name));
        button->click();
    }

    VirtualClock clock{0, 1};
    WatchingUi messages;
    std::unique_ptr<SimulatedUnit> driver;
    DeviceLink unit;
    TimingLink link;
    ServicePanel panel;
};

// The panel over the recording driver, for the exact calls.
struct FakeRig {
    explicit FakeRig(const QString& description) : unit(driver), panel(unit, clock, messages) {
        driver.description = description;
        messages.unit = &unit;
    }
    Handle handle() const { return panel.link().handle(); }
    VirtualClock clock{0, 1};
    FakeDriver driver{&clock};
    WatchingUi messages;
    DeviceLink unit;
    ServicePanel panel;
};

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (const int v : values)
        out.append(char(v));
    return out;
}

bool sameRow(QWidget* a, QWidget* b) {
    const QRect ra(a->mapTo(a->window(), QPoint(0, 0)), a->size());
    const QRect rb(b->mapTo(b->window(), QPoint(0, 0)), b->size());
    return ra.top() < rb.bottom() && rb.top() < ra.bottom();
}

QPoint at(QWidget* w) {
    return w->mapTo(w->window(), QPoint(0, 0));
}

} // namespace

class TestServicePanel : public QObject {
    Q_OBJECT
private slots:
    void parameterBytes_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("byte"); // -1: not an integer

        QTest::newRow("default") << "10" << 10;
        QTest::newRow("zero") << "0" << 0;
        QTest::newRow("255") << "255" << 255;
        QTest::newRow("256 wraps") << "256" << 0;
        QTest::newRow("300") << "300" << 44;
        QTest::newRow("-1") << "-1" << 255;
        QTest::newRow("plus sign") << "+5" << 5;
        QTest::newRow("blanks around") << "  12 " << 12;
        QTest::newRow("leading zeros") << "0000000000000000012" << 12;
        QTest::newRow("largest integer") << "2147483647" << 255;
        QTest::newRow("smallest integer") << "-2147483648" << 0;
        QTest::newRow("beyond 32 bits") << "2147483648" << -1;
        QTest::newRow("far beyond") << "123456789012345678901234567890" << -1;
        QTest::newRow("empty") << "" << -1;
        QTest::newRow("sign alone") << "-" << -1;
        QTest::newRow("letter O for zero") << "1O" << -1;
        QTest::newRow("decimal comma") << "1,5" << -1;
        QTest::newRow("decimal point") << "1.5" << -1;
        QTest::newRow("hexadecimal") << "0x10" << -1;
        QTest::newRow("inner blank") << "1 0" << -1;
        QTest::newRow("Arabic-Indic digits") << QString::fromUtf8("\u0661\u0662") << -1;
    }
    void parameterBytes() {
        QFETCH(QString, text);
        QFETCH(int, byte);
        const auto got = service::parameterByte(text);
        QCOMPARE(got.has_value(), byte >= 0);
        if (byte >= 0)
            QCOMPARE(int(*got), byte);
    }

    // What each button sends on the opened service device, with the timing unit open.
    void commandBytes_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("fields"); // "EditN=text"
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<QString>("message");

        QTest::newRow("Multi, defaults")
            << "multiStartButton" << QStringList{} << bytes({84, 10, 10}) << "";
        QTest::newRow("Multi sends the lower field first")
            << "multiStartButton" << QStringList{"multiLowerField=3", "multiUpperField=7"}
            << bytes({84, 3, 7}) << "";
        QTest::newRow("Hürde") << "hurdleStartButton"
                               << QStringList{"hurdleField1=1", "hurdleField2=2", "hurdleField3=3"}
                               << bytes({83, 1, 2, 3}) << "";
        QTest::newRow("Single") << "singleStartButton"
                                << QStringList{"singleField1=20", "singleField2=30"}
                                << bytes({85, 20, 30}) << "";
        QTest::newRow("300 is sent as 44")
            << "singleStartButton" << QStringList{"singleField1=300"} << bytes({85, 44, 10}) << "";
        QTest::newRow("-1 is sent as 255") << "hurdleStartButton" << QStringList{"hurdleField3=-1"}
                                           << bytes({83, 10, 10, 255}) << "";
        QTest::newRow("empty field: NAC, nothing sent")
            << "multiStartButton" << QStringList{"multiUpperField="} << QByteArray() << "NAC";
        QTest::newRow("last field wrong: NAC, nothing sent")
            << "hurdleStartButton" << QStringList{"hurdleField3=abc"} << QByteArray() << "NAC";
        QTest::newRow("fields of another group do not matter")
            << "singleStartButton" << QStringList{"multiLowerField=", "hurdleField1=x"}
            << bytes({85, 10, 10}) << "";
        QTest::newRow("ResetDevice") << "resetButton" << QStringList{} << bytes({88}) << "";
    }
    void commandBytes() {
        QFETCH(QString, button);
        QFETCH(QStringList, fields);
        QFETCH(QByteArray, sent);
        QFETCH(QString, message);

        PanelRig rig("service-devices: 1");
        const Handle timing = rig.openTimingUnit();
        QVERIFY(timing != 0);
        rig.click("openButton");
        QVERIFY(rig.serviceHandle() != 0 && rig.serviceHandle() != timing);
        QCOMPARE(rig.unit.handle, timing);

        for (const QString& field : fields)
            rig.setField(field.section('=', 0, 0), field.section('=', 1));
        rig.click(button);

        QCOMPARE(rig.service()->sent, sent);
        QCOMPARE(rig.messages.texts(), message.isEmpty() ? QStringList() : QStringList{message});
        for (const MessageBox& box : rig.messages.boxes) {
            QCOMPARE(box.title, QStringLiteral("Kalvero"));
            QCOMPARE(box.icon, BoxIcon::None);
            QCOMPARE(box.buttons, QStringList{"OK"});
        }
        QCOMPARE(rig.unit.handle, timing);
        for (const Handle h : rig.messages.handlesAtBox)
            QCOMPARE(h, timing);
        QVERIFY(rig.timingUnit().sent.isEmpty());
        QVERIFY(rig.timingUnit().isOpen);
    }

    // The answer decides the message; the wait is the service's own.
    void answers_data() {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("replyTimedOut"); // the timing link's flag, left alone

        QTest::newRow("accepted") << QByteArray("service-answer: 1") << "multiStartButton"
                                  << "" << true;
        QTest::newRow("answer 0") << QByteArray("service-answer: 0") << "hurdleStartButton"
                                  << "Fehler" << false;
        QTest::newRow("answer 2") << QByteArray("service-answer: 2") << "singleStartButton"
                                  << "Fehler" << true;
        QTest::newRow("no answer") << QByteArray("service-answer: none") << "multiStartButton"
                                   << "NAC" << false;
        QTest::newRow("no answer, flag set")
            << QByteArray("service-answer: none") << "singleStartButton"
            << "NAC" << true;
    }
    void answers() {
        QFETCH(QByteArray, script);
        QFETCH(QString, button);
        QFETCH(QString, message);
        QFETCH(bool, replyTimedOut);

        PanelRig rig("service-devices: 1\n" + script);
        const Handle timing = rig.openTimingUnit();
        rig.click("openButton");
        rig.link.replyTimedOut = replyTimedOut;

        const quint32 before = rig.clock.peek();
        rig.click(button);
        const quint32 waited = rig.clock.peek() - before;

        QCOMPARE(rig.messages.texts(), message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(rig.link.replyTimedOut, replyTimedOut);
        QCOMPARE(rig.unit.handle, timing);
        for (const Handle h : rig.messages.handlesAtBox)
            QCOMPARE(h, timing);
        if (message == "NAC")
            QVERIFY2(waited > 1000 && waited < 1010, qPrintable(QString::number(waited)));
        else
            QVERIFY2(waited < 10, qPrintable(QString::number(waited)));
        QCOMPARE(rig.service()->commands.size(), 1);
        QVERIFY(rig.service()->queue.isEmpty()); // the answer was read
    }

    // Before any open the wrapper still reports: the failing calls on handle 0, then "NAC".
    void commandsBeforeAnyOpen() {
        PanelRig rig("service-devices: 1");
        QVERIFY(rig.unit.reportErrors);

        rig.click("multiStartButton");
        QCOMPARE(rig.messages.texts(),
                 (QStringList{"FT_Write" + kNoAdapter, "FT_GetQueueStatus" + kNoAdapter, "NAC"}));
        QCOMPARE(rig.messages.boxes[0].title, QStringLiteral("Fehler"));
        QCOMPARE(rig.messages.boxes[0].icon, BoxIcon::Error);
        QCOMPARE(rig.messages.boxes[2].title, QStringLiteral("Kalvero"));
        QCOMPARE(rig.unit.handle, Handle{0});

        rig.messages.clear();
        rig.click("resetButton");
        QCOMPARE(rig.messages.texts(), QStringList{"FT_Write" + kNoAdapter});
        QVERIFY(rig.service()->sent.isEmpty());

        // The open switches the reports off; the same commands now reach the device.
        rig.messages.clear();
        rig.click("openButton");
        QVERIFY(!rig.unit.reportErrors);
        rig.click("multiStartButton");
        rig.click("resetButton");
        QVERIFY(rig.messages.boxes.isEmpty());
        QCOMPARE(rig.service()->sent, bytes({84, 10, 10, 88}));
        QCOMPARE(rig.unit.handle, Handle{0});
    }

    // Without the service device the open is silent and the commands go to handle 0.
    void serviceDeviceAbsent() {
        FakeRig rig(QStringLiteral("QRV 2.0"));
        rig.driver.statuses["FT_Write"] = {FT_INVALID_HANDLE, FT_INVALID_HANDLE};
        rig.driver.statuses["FT_GetQueueStatus"] = {FT_INVALID_HANDLE};
        rig.unit.handle = 42;

        part<QPushButton>(rig.panel, "openButton")->click();
        QCOMPARE(rig.driver.calls, QStringList{"FT_OpenEx VudurEve 2"});
        QCOMPARE(rig.handle(), Handle{0});
        QCOMPARE(rig.unit.handle, Handle{42});
        QVERIFY(rig.messages.boxes.isEmpty());

        rig.driver.calls.clear();
        part<QPushButton>(rig.panel, "resetButton")->click();
        QCOMPARE(rig.driver.calls, QStringList{"FT_Write 0 1"});
        QVERIFY(rig.messages.boxes.isEmpty());
        QCOMPARE(rig.unit.handle, Handle{42});

        rig.driver.calls.clear();
        part<QPushButton>(rig.panel, "singleStartButton")->click();
        QCOMPARE(rig.driver.calls, (QStringList{"FT_Write 0 3", "FT_GetQueueStatus 0"}));
        QCOMPARE(rig.messages.texts(), QStringList{"NAC"});
        QCOMPARE(rig.unit.handle, Handle{42});
    }

    // The open: exactly these calls, and what is left when one of them fails.
    void openSequence_data() {
        QTest::addColumn<QString>("failing");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<bool>("aborts");
        QTest::addColumn<quint64>("handle");

        const QStringList configured{"FT_OpenEx VudurEve 2", "FT_ResetDevice 7",
                                     "FT_SetBaudRate 7 115200", "FT_SetTimeouts 7 500 500"};
        QTest::newRow("configured") << "" << configured << false << quint64{7};
        QTest::newRow("absent or taken")
            << "FT_OpenEx" << configured.mid(0, 1) << false << quint64{0};
        QTest::newRow("reset fails")
            << "FT_ResetDevice" << configured.mid(0, 2) + QStringList{"FT_Close 7"} << true
            << quint64{0};
        QTest::newRow("baud rate fails")
            << "FT_SetBaudRate" << configured.mid(0, 3) + QStringList{"FT_Close 7"} << true
            << quint64{0};
        QTest::newRow("time-outs fail")
            << "FT_SetTimeouts" << configured + QStringList{"FT_Close 7"} << true << quint64{0};
    }
    void openSequence() {
        QFETCH(QString, failing);
        QFETCH(QStringList, calls);
        QFETCH(bool, aborts);
        QFETCH(quint64, handle);

        FakeRig rig(QStringLiteral("VudurEve"));
        rig.unit.handle = 42;
        rig.unit.baudRate = 19200;
        if (!failing.isEmpty())
            rig.driver.statuses[failing] = {FT_IO_ERROR};

        bool aborted = false;
        try {
            rig.panel.openDevice();
        } catch (const SilentAbort&) {
            aborted = true;
        }
        QCOMPARE(aborted, aborts);
        QCOMPARE(rig.driver.calls, calls);
        QCOMPARE(rig.handle(), handle);
        QCOMPARE(rig.unit.handle, Handle{42});
        QVERIFY(!rig.unit.reportErrors);
        QCOMPARE(rig.unit.baudRate, 115200u);
        QVERIFY(rig.messages.boxes.isEmpty());

        // Through the button the abort stays silent too.
        if (!failing.isEmpty())
            rig.driver.statuses[failing] = {FT_IO_ERROR};
        part<QPushButton>(rig.panel, "openButton")->click();
        QVERIFY(rig.messages.boxes.isEmpty());
        QCOMPARE(rig.unit.handle, Handle{42});
    }

    // Opened once, the service device stays taken: a second open fails and keeps the handle;
    // the timing unit is still opened with its own settings.
    void secondOpenKeepsTheHandle() {
        PanelRig rig("service-devices: 1");
        const Handle timing = rig.openTimingUnit();
        rig.click("openButton");
        const Handle first = rig.serviceHandle();
        QVERIFY(first != 0);
        SimulatedServiceDevice& device = *rig.service();
        QCOMPARE(device.baudRate, 115200u);
        QCOMPARE(device.readTimeoutMs, 500u);
        QCOMPARE(device.writeTimeoutMs, 500u);

        rig.click("openButton");
        QCOMPARE(rig.serviceHandle(), first);
        QCOMPARE(rig.unit.handle, timing);
        QVERIFY(rig.messages.boxes.isEmpty());
        QVERIFY(device.isOpen);

        rig.click("singleStartButton");
        QCOMPARE(device.sent, bytes({85, 10, 10}));
        QVERIFY(rig.messages.boxes.isEmpty());

        // The next run's open puts the timing unit's line settings back.
        QCOMPARE(rig.unit.baudRate, 115200u);
        rig.link.close();
        QVERIFY(rig.openTimingUnit() != 0);
        QCOMPARE(rig.timingUnit().baudRate, 19200u);
        QCOMPARE(device.baudRate, 115200u);
    }

    // A read that brings nothing is no answer, even when the byte of an earlier answer is
    // still in the receive buffer.
    void failedReadIsNoAnswer() {
        FakeRig rig(QStringLiteral("VudurEve"));
        part<QPushButton>(rig.panel, "openButton")->click();
        QCOMPARE(rig.handle(), Handle{7});
        rig.driver.arrive(bytes({1}));
        part<QPushButton>(rig.panel, "multiStartButton")->click();
        QVERIFY(rig.messages.boxes.isEmpty());
        QCOMPARE(rig.unit.rxBuffer[0], quint8{1});

        rig.driver.arrive(bytes({1}));
        rig.driver.statuses["FT_Read"] = {FT_IO_ERROR};
        part<QPushButton>(rig.panel, "multiStartButton")->click();
        QCOMPARE(rig.messages.texts(), QStringList{"NAC"});
        QCOMPARE(rig.driver.written, bytes({84, 10, 10, 84, 10, 10}));
    }

    void layout() {
        PanelRig rig("");
        ServicePanel& p = rig.panel;
        auto* openButton = part<QPushButton>(p, "openButton");
        auto* multiStartButton = part<QPushButton>(p, "multiStartButton");
        auto* hurdleStartButton = part<QPushButton>(p, "hurdleStartButton");
        auto* resetButton = part<QPushButton>(p, "resetButton");
        auto* singleStartButton = part<QPushButton>(p, "singleStartButton");
        auto* multiGroup = part<QGroupBox>(p, "multiGroup");
        auto* hurdleGroup = part<QGroupBox>(p, "hurdleGroup");
        auto* singleGroup = part<QGroupBox>(p, "singleGroup");
        auto* multiLowerField = part<QLineEdit>(p, "multiLowerField");
        auto* multiUpperField = part<QLineEdit>(p, "multiUpperField");
        auto* hurdleField1 = part<QLineEdit>(p, "hurdleField1");
        auto* hurdleField2 = part<QLineEdit>(p, "hurdleField2");
        auto* hurdleField3 = part<QLineEdit>(p, "hurdleField3");
        auto* singleField1 = part<QLineEdit>(p, "singleField1");
        auto* singleField2 = part<QLineEdit>(p, "singleField2");
        QVERIFY(!p.isVisible());
        QVERIFY(p.isWindow());
        QCOMPARE(p.windowTitle(), QStringLiteral("Form6"));
        QCOMPARE(p.font().families().value(0), QStringLiteral("Tahoma"));
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            QCOMPARE(p.pos(), screen->availableGeometry().topLeft());
        p.show();
        QVERIFY(QTest::qWaitForWindowExposed(&p));
        QVERIFY(p.minimumWidth() < p.maximumWidth()); // resizable

        QCOMPARE(openButton->text(), QStringLiteral("OpenPort"));
        QCOMPARE(resetButton->text(), QStringLiteral("ResetDevice"));
        const QList<std::tuple<QGroupBox*, QString, QPushButton*, QList<QLineEdit*>>> groups{
            {multiGroup, "Multi", multiStartButton, {multiUpperField, multiLowerField}},
            {hurdleGroup, "Hürde", hurdleStartButton, {hurdleField1, hurdleField2, hurdleField3}},
            {singleGroup, "Single", singleStartButton, {singleField1, singleField2}}};
        int previousBottom = at(openButton).y() + openButton->height();
        for (const auto& [group, title, start, rows] : groups) {
            QCOMPARE(group->title(), title);
            QCOMPARE(start->text(), QStringLiteral("Start"));
            QCOMPARE(start->parentWidget(), group);
            QVERIFY(at(group).y() >= previousBottom); // one below the other
            previousBottom = at(group).y() + group->height();
            int previousRow = -1;
            for (QLineEdit* edit : rows) {
                QCOMPARE(edit->parentWidget(), group);
                QCOMPARE(edit->text(), QStringLiteral("10"));
                QVERIFY(at(start).x() + start->width() <= at(edit).x());
                QVERIFY(at(edit).y() > previousRow);
                previousRow = at(edit).y();
                // Its label to its right.
                int labels = 0;
                for (QLabel* label : group->findChildren<QLabel*>()) {
                    if (sameRow(label, edit) && at(label).x() >= at(edit).x() + edit->width()) {
                        QCOMPARE(label->text(), QStringLiteral("ms * 10"));
                        ++labels;
                    }
                }
                QCOMPARE(labels, 1);
            }
        }
        // OpenPort at the top right, ResetDevice at the bottom right.
        QVERIFY(at(openButton).y() < at(multiGroup).y());
        QVERIFY(at(openButton).x() + openButton->width() >=
                at(multiGroup).x() + multiGroup->width() - 1);
        QVERIFY(at(resetButton).y() >= previousBottom);
        QVERIFY(at(resetButton).x() + resetButton->width() >=
                at(singleGroup).x() + singleGroup->width() - 1);

        // Closing only hides.
        QPointer<ServicePanel> alive(&p);
        p.close();
        QCoreApplication::processEvents();
        QVERIFY(alive);
        QVERIFY(!p.isVisible());
    }

    // Through the main window: "Debug" shows the panel, which works on the main window's
    // link.
    void debugShowsThePanel() {
        MainWindowFixture f(QStringList{"debug"});
        f.playScript("service-devices: 1");
        MainWindow& w = f.start();
        auto* panel = part<ServicePanel>(w, "servicePanel");
        QVERIFY(panel);
        QVERIFY(!panel->isVisible());
        QVERIFY(action(w, "debugAction")->isVisible());

        action(w, "debugAction")->trigger();
        QVERIFY(panel->isVisible());
        QVERIFY(panel->isWindow());
        panel->close();
        QVERIFY(!panel->isVisible());
        action(w, "debugAction")->trigger();
        QVERIFY(panel->isVisible());

        QCOMPARE(panel->link().handle(), Handle{0});
        part<QPushButton>(*panel, "openButton")->click();
        QVERIFY(panel->link().handle() != 0);
        QCOMPARE(f.station->deviceLink().handle, Handle{0});
        QVERIFY(f.messages.boxes.isEmpty());
        f.finish();
    }

    // A command sent between two polls of a running measurement leaves the run alone: the
    // next poll reads the jump from the timing unit.
    void commandBetweenPolls() {
        MainWindowFixture f(QStringList{"debug"});
        f.playScript("service-devices: 1\n"
                     "300: 0 200 1 244\n");
        {
            Database db(f.location());
            QSqlQuery q(db.connection());
            QVERIFY(q.exec("INSERT INTO sportler (Name, Vorname, Geb, Geschl, Bemerkung1) "
                           "VALUES ('Meier', 'Anna', '1990-02-01', 1, '')"));
        }
        MainWindow& w = f.start();
        auto* panel = part<ServicePanel>(w, "servicePanel");
        QVERIFY(panel);
        action(w, "debugAction")->trigger();
        part<QPushButton>(*panel, "openButton")->click();
        QVERIFY(panel->link().handle() != 0);

        w.toggleRun();
        QVERIFY(f.station->session().running());
        const Handle timing = f.station->deviceLink().handle;
        QVERIFY(timing != 0 && timing != panel->link().handle());

        f.station->session().poll(); // nothing yet
        QVERIFY(f.station->session().running());
        part<QLineEdit>(*panel, "multiLowerField")->setText("25");
        part<QPushButton>(*panel, "multiStartButton")->click();
        QCOMPARE(f.station->deviceLink().handle, timing);

        f.clock.advance(500); // the jump is there
        part<QPushButton>(*panel, "hurdleStartButton")->click();
        part<QPushButton>(*panel, "resetButton")->click();
        QCOMPARE(f.station->deviceLink().handle, timing);

        for (int poll = 0; poll < 10 && f.station->session().running(); ++poll)
            f.station->session().poll();
        QVERIFY(!f.station->session().running());
        QVERIFY2(f.messages.boxes.isEmpty(), qPrintable(f.messages.texts().join(" | ")));
        QCOMPARE(resultField(w, "contactTimeField")->text(), QStringLiteral("200"));
        QCOMPARE(resultField(w, "flightTimeField")->text(), QStringLiteral("500"));
        QCOMPARE(f.station->session().state().jumpCount, 1);
        QCOMPARE(historyList(w)->topLevelItemCount(), 1);
        QCOMPARE(historyList(w)->topLevelItem(0)->text(3), QStringLiteral("200"));
        QCOMPARE(historyList(w)->topLevelItem(0)->text(4), QStringLiteral("500"));
        QCOMPARE(f.station->deviceLink().handle, timing);

        auto* service =
            dynamic_cast<SimulatedServiceDevice*>(f.unit->findDevice(QStringLiteral("VudurEve")));
        QVERIFY(service);
        QCOMPARE(service->sent, bytes({84, 25, 10, 83, 10, 10, 10, 88}));
        QVERIFY(service->isOpen); // never closed
        QCOMPARE(f.timingUnit().sent, bytes({251, 3, 250}));
        f.finish();
    }
};

QTEST_MAIN(TestServicePanel)
#include "tst_servicepanel.moc"
