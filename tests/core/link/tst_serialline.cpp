#include "core/base/Clock.h"
#include "core/base/Errors.h"
#include "core/link/DeviceLink.h"
#include "core/link/TimingDriverFactory.h"
#include "core/link/TimingLink.h"
#include "core/measure/MeasurementSession.h"
#include "core/store/DataStore.h"
#include "core/store/Database.h"
#include "core/store/StoreLocation.h"
#include "support/SerialFakes.h"

#include <QSqlQuery>
#include <QtTest>

#include <atomic>
#include <sys/file.h>
#include <termios.h>
#include <thread>

namespace {

// What the emulated unit sends after the start handshake: each step's bytes after a gap.
struct Step {
    int gapMs;
    QByteArray bytes;
};
using Steps = QList<Step>;

// A small timing unit on the master side of a pseudo-terminal, in a thread of its own: it
// waits for the start command, checks the line settings (19200 baud, 8N1) and answers, takes
// the configuration byte, sends its results with gaps, and then either awaits the stop
// command or hangs up like an unplugged converter.
class UnitEmulator {
public:
    UnitEmulator(PseudoTerminal& pty, Steps steps, bool hangUpAtEnd)
        : pty_(pty), steps_(std::move(steps)), hangUpAtEnd_(hangUpAtEnd),
          thread_([this] { play(); }) {}
    ~UnitEmulator() { thread_.join(); }
    UnitEmulator(const UnitEmulator&) = delete;
    UnitEmulator& operator=(const UnitEmulator&) = delete;

    // Read after finished(): the configuration byte (-1 = none came), whether the line was
    // set up as the unit's, and the bytes received after the results.
    int configuration = -1;
    bool lineSettingsRight = false;
    QByteArray afterResults;
    bool finished() const { return finished_; }
    bool sendFailed() const { return sendFailed_; }

private:
    // The next byte from the program, waiting up to `ms`; -1 when none came.
    int receiveByte(int ms) {
        const QByteArray got = pty_.receive(1, ms);
        return got.isEmpty() ? -1 : quint8(got[0]);
    }

    // From a thread of its own: no test macros here.
    void send(const QByteArray& bytes) {
        if (::write(pty_.master, bytes.constData(), size_t(bytes.size())) != bytes.size())
            sendFailed_ = true;
    }

    void play() {
        if (receiveByte(5000) == 251) {
            termios t{};
            lineSettingsRight = ::tcgetattr(pty_.master, &t) == 0 && ::cfgetospeed(&t) == B19200 &&
                                ::cfgetispeed(&t) == B19200 && (t.c_cflag & CSIZE) == CS8 &&
                                (t.c_cflag & (PARENB | CSTOPB)) == 0;
            send("\xFB");
            configuration = receiveByte(2000);
            for (const Step& step : steps_) {
                std::this_thread::sleep_for(std::chrono::milliseconds(step.gapMs));
                send(step.bytes);
            }
            if (hangUpAtEnd_)
                pty_.hangUp();
            else
                afterResults = pty_.receive(1, 5000);
        }
        finished_ = true;
    }

    PseudoTerminal& pty_;
    Steps steps_;
    bool hangUpAtEnd_;
    std::atomic<bool> finished_ = false;
    std::atomic<bool> sendFailed_ = false;
    std::thread thread_;
};

// The real serial driver, chosen as "serial:<pty>", behind the link and a measurement
// session with a fresh database holding athlete 12; the observer writes down the messages.
struct Rig : SessionObserver {
    QTemporaryDir dir;
    SystemClock clock;
    QString error;
    std::unique_ptr<D2xxDriver> driver;
    std::unique_ptr<DeviceLink> device;
    std::unique_ptr<TimingLink> link;
    DataStore store;
    plausibility::Limits limits;
    std::unique_ptr<MeasurementSession> session;
    QStringList boxes;
    QStringList ends;

    explicit Rig(const QString& deviceFile) {
        driver = createTimingDriver(
            DeviceChoice{{"serial:" + deviceFile, kTimingUnitVariable, true}, {}}, clock, &error);
        if (!driver)
            return;
        device = std::make_unique<DeviceLink>(*driver);
        link = std::make_unique<TimingLink>(*device, clock);
        store.open(StoreLocation::embedded(dir.path()));
        Database(StoreLocation::embedded(dir.path()))
            .write("INSERT INTO sportler (ID, Name, Vorname) VALUES (12, 'Meier', 'Anna')");
        session = std::make_unique<MeasurementSession>(*link, store, limits, *this);
    }

    QStringList jumps() {
        Database db(StoreLocation::embedded(dir.path()));
        QSqlQuery q = db.read("SELECT SZ, FZ FROM mr ORDER BY rowid");
        QStringList out;
        while (q.next())
            out << q.value(0).toString() + "/" + q.value(1).toString();
        return out;
    }

    void runStarting() override {}
    void runStarted() override {}
    void runStopping() override {}
    void runEnded(RunEnd end) override {
        ends << (end == RunEnd::StartFailed ? "start failed"
                 : end == RunEnd::UserStop  ? "stopped"
                                            : "ended");
    }
    void showField(ResultField, const QString&) override {}
    void showMessage(const QString& text) override { boxes << "Kalvero: " + text; }
    void showError(const QString& text) override { boxes << "Fehler: " + text; }
    void measurementCreated(const NewMeasurement&) override {}
    void jumpRecorded(qint64) override {}
    void pollFailed(const Failure& failure) override {
        boxes << "Kalvero: " + errorReportText(failure.text);
    }
};

const QString kLineLost = "Kalvero: Die Verbindung zum Messgerät ist unterbrochen (Kabel "
                          "ausgesteckt?). Die bisher aufgezeichneten Sprünge sind gespeichert.";

} // namespace

Q_DECLARE_METATYPE(Steps)

class TestSerialLine : public QObject {
    Q_OBJECT
private slots:
    // Whole series over a kernel terminal: what is stored and said, and what the unit saw.
    void series_data() {
        QTest::addColumn<bool>("secondEdge");
        QTest::addColumn<Steps>("steps");
        QTest::addColumn<bool>("hangUp");
        QTest::addColumn<QStringList>("jumps");
        QTest::addColumn<QStringList>("boxes");

        QTest::newRow("results with gaps, closing contact")
            << true
            << Steps{{300, QByteArray("\x00\xC8\x01\xF4", 4)},
                     {700, QByteArray("\x00\xB4\x02\x08", 4)},
                     {50, QByteArray("\x00", 1)}, // a result split across two reads
                     {400, QByteArray("\xBE\x01\xE0", 3)},
                     {500, QByteArray("\xFD\x00\xBE", 3)}}
            << false << QStringList{"200/500", "180/520", "190/480", "190/0"} << QStringList{};
        QTest::newRow("unplugged between results")
            << false << Steps{{300, QByteArray("\x00\xC8\x01\xF4", 4)}, {300, {}}} << true
            << QStringList{"200/500"} << QStringList{kLineLost};
        QTest::newRow("unplugged inside a result")
            << true
            << Steps{{300, QByteArray("\x00\xC8\x01\xF4", 4)},
                     {300, QByteArray("\x00\xB4", 2)},
                     {500, {}}}
            << true << QStringList{"200/500"} << QStringList{kLineLost};
    }
    void series() {
        QFETCH(bool, secondEdge);
        QFETCH(Steps, steps);
        QFETCH(bool, hangUp);
        QFETCH(QStringList, jumps);
        QFETCH(QStringList, boxes);

        PseudoTerminal pty;
        QVERIFY(pty.ok());
        Rig rig(pty.slavePath);
        QVERIFY2(rig.driver, qPrintable(rig.error));
        rig.limits.triggerEdge2 = secondEdge;
        rig.session->mode = MeasurementMode::Multiple;
        UnitEmulator unit(pty, steps, hangUp);

        rig.session->start(12);
        QVERIFY(rig.session->running());
        // The line tells the run when bytes come in; the timer is only the fallback.
        QVERIFY(rig.session->notified());
        QVERIFY(QTest::qWaitFor([&] { return !rig.session->running(); }, 15000));
        QVERIFY(QTest::qWaitFor([&] { return unit.finished(); }, 10000));

        QCOMPARE(rig.jumps(), jumps);
        QCOMPARE(rig.boxes, boxes);
        QCOMPARE(rig.ends, QStringList{"ended"});
        QVERIFY(!unit.sendFailed());
        QVERIFY(unit.lineSettingsRight);
        QCOMPARE(unit.configuration, secondEdge ? 3 : 1);
        if (!hangUp)
            QCOMPARE(unit.afterResults, QByteArray("\xFA")); // the stop command
    }

    // A line another program holds: no run, and the message names the file and the cause.
    void heldByAnotherProgram() {
        PseudoTerminal pty;
        QVERIFY(pty.ok());
        Rig rig(pty.slavePath);
        QVERIFY2(rig.driver, qPrintable(rig.error));
        const int holder = ::open(qPrintable(pty.slavePath), O_RDWR | O_NOCTTY);
        QCOMPARE(::flock(holder, LOCK_EX | LOCK_NB), 0);

        rig.session->start(12);
        ::close(holder);
        QVERIFY(!rig.session->running());
        QCOMPARE(rig.boxes,
                 QStringList{"Kalvero: Kommunikationsfehler! Kein Gerät erkannt.\n" +
                             pty.slavePath + " wird von einem anderen Programm benutzt."});
        QVERIFY(rig.ends.isEmpty());
        QVERIFY(rig.jumps().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSerialLine)
#include "tst_serialline.moc"
