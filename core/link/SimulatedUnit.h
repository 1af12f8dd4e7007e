// The simulated driver and its devices: a timing unit that plays a script or the demo's jumps, and
// the service device, for running the program without hardware.

#pragma once

#include "core/link/D2xxDriver.h"
#include "core/link/UnitScript.h"

#include <QByteArray>
#include <QRandomGenerator>
#include <QString>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

class Clock;

// One simulated FTDI device behind the simulated driver. It keeps the bytes waiting for the
// program (its receive queue) and every byte the program sent it.
class SimulatedDevice {
public:
    explicit SimulatedDevice(QString description) : description_(std::move(description)) {}
    virtual ~SimulatedDevice() = default;
    SimulatedDevice(const SimulatedDevice&) = delete;
    SimulatedDevice& operator=(const SimulatedDevice&) = delete;

    const QString& description() const { return description_; }

    // A byte from the program, at the given tick.
    virtual void receive(quint8 byte, quint32 now) = 0;
    // Moves the bytes that have arrived by `now` into the receive queue.
    virtual void update(quint32 now) { Q_UNUSED(now); }
    // The program closed the link: nobody listens any more.
    virtual void closed() { queue.clear(); }
    // The program reset the device: the queue is emptied.
    virtual void reset() { queue.clear(); }
    // The tick at which the next bytes arrive of themselves; none when none are due.
    virtual std::optional<quint32> nextArrivalAt() const { return std::nullopt; }

    QByteArray queue; // bytes waiting to be read by the program
    QByteArray sent;  // every byte the program sent, in order
    bool isOpen = false;
    quint32 baudRate = 9600;
    quint8 wordLength = 8, stopBits = 0, parity = 0;
    quint32 readTimeoutMs = 0, writeTimeoutMs = 0;

private:
    QString description_;
};

// A converter that is present but takes no part: it swallows what it is sent.
class IdleDevice : public SimulatedDevice {
public:
    using SimulatedDevice::SimulatedDevice;
    void receive(quint8 byte, quint32 now) override;
};

// Where a simulated timing unit's results come from: the next step after the previous one,
// or nothing when the run has no more results.
class ResultSource {
public:
    virtual ~ResultSource() = default;
    // A new run begins (the start command was answered).
    virtual void restart() = 0;
    virtual std::optional<UnitScriptStep> next() = 0;
};

// Plays the byte lines of a script, once per run.
class ScriptSource : public ResultSource {
public:
    explicit ScriptSource(QList<UnitScriptStep> steps) : steps_(std::move(steps)) {}
    void restart() override { position_ = 0; }
    std::optional<UnitScriptStep> next() override;

private:
    QList<UnitScriptStep> steps_;
    qsizetype position_ = 0;
};

// The demo: a plausible jump every 2 to 4 seconds, endlessly. Contact 150..300 ms, flight
// 350..650 ms, sent as a complete-jump result (contact high, low, flight high, low).
class DemoSource : public ResultSource {
public:
    static constexpr quint32 kMinGapMs = 2000, kMaxGapMs = 4000;
    static constexpr quint32 kMinContactMs = 150, kMaxContactMs = 300;
    static constexpr quint32 kMinFlightMs = 350, kMaxFlightMs = 650;

    explicit DemoSource(quint32 seed) : random_(seed) {}
    void restart() override {}
    std::optional<UnitScriptStep> next() override;

private:
    QRandomGenerator random_;
};

// The timing unit: answers the start command (251) and then delivers the results of its
// source on time; answers the stop command (250) with "QRV" and ends the run. Other bytes
// (the configuration byte) are only kept.
class SimulatedTimingUnit : public SimulatedDevice {
public:
    SimulatedTimingUnit(QString description, std::optional<quint8> startAnswer,
                        std::unique_ptr<ResultSource> source);
    void receive(quint8 byte, quint32 now) override;
    void update(quint32 now) override;
    void closed() override;

    bool running() const { return pending_.has_value(); }
    std::optional<quint32> nextArrivalAt() const override {
        return pending_ ? std::optional(dueAt_) : std::nullopt;
    }

private:
    std::optional<quint8> startAnswer_;
    std::unique_ptr<ResultSource> source_;
    std::optional<UnitScriptStep> pending_; // next result and when it is due
    quint32 dueAt_ = 0;
};

// The service device: keeps every byte it receives and answers each complete command with
// parameters ("T" and two bytes, "S" and three, "U" and two) with its answer byte, or not at
// all when it has none. The reset "X" is not answered; bytes outside a command are only
// kept.
class SimulatedServiceDevice : public SimulatedDevice {
public:
    SimulatedServiceDevice(QString description, std::optional<quint8> answer);
    void receive(quint8 byte, quint32 now) override;
    void closed() override;
    void reset() override;

    // The complete commands received, in order, each with its parameter bytes.
    QList<QByteArray> commands;

private:
    std::optional<quint8> answer_;
    QByteArray pending_; // the command being received
    int missing_ = 0;    // its parameter bytes still to come
};

// The D2XX calls over a list of simulated devices. Time comes from the injected clock: a
// read with too few bytes waiting waits for its read time-out on that clock (a virtual clock
// with a step per reading makes that instant).
class SimulatedUnit : public D2xxDriver {
public:
    explicit SimulatedUnit(Clock& clock);

    // Adds a device; the device count is the number of devices added.
    SimulatedDevice& addDevice(std::unique_ptr<SimulatedDevice> device);
    std::size_t deviceCount() const { return devices_.size(); }
    SimulatedDevice& device(std::size_t index) { return *devices_.at(index); }
    // The first device with this description, or null.
    SimulatedDevice* findDevice(const QString& description);

    d2xx::Status listDevices(void* arg1, void* arg2, quint32 flags) override;
    d2xx::Status openEx(const void* arg, quint32 flags, d2xx::Handle* handle) override;
    d2xx::Status close(d2xx::Handle handle) override;
    d2xx::Status resetDevice(d2xx::Handle handle) override;
    d2xx::Status setBaudRate(d2xx::Handle handle, quint32 baudRate) override;
    d2xx::Status setDataCharacteristics(d2xx::Handle handle, quint8 wordLength, quint8 stopBits,
                                        quint8 parity) override;
    d2xx::Status setTimeouts(d2xx::Handle handle, quint32 readTimeoutMs,
                             quint32 writeTimeoutMs) override;
    d2xx::Status getQueueStatus(d2xx::Handle handle, quint32* rxBytes) override;
    d2xx::Status write(d2xx::Handle handle, const void* buffer, quint32 count,
                       quint32* written) override;
    d2xx::Status read(d2xx::Handle handle, void* buffer, quint32 count, quint32* read) override;

    // Whether the unit tells when a device's bytes arrive (notifyArrival), on a timer of the
    // event loop set to the moment they are due. Only for a unit on the system clock: on a
    // virtual clock time moves only when a test says so, and it looks itself (checkArrivals).
    void setArrivalSignals(bool on) { arrivalSignals_ = on; }
    bool notifyArrival(d2xx::Handle handle, std::function<void()> arrived) override;
    // Moves the bytes that are due into the watched device's queue, tells the watcher when
    // bytes wait, and sets the timer for the next ones. What the timer calls.
    void checkArrivals();

private:
    SimulatedDevice* find(d2xx::Handle handle);
    void armArrivalTimer(quint32 now);

    Clock& clock_;
    std::vector<std::unique_ptr<SimulatedDevice>> devices_;
    std::map<d2xx::Handle, SimulatedDevice*> open_;
    d2xx::Handle nextHandle_ = 0x5100;
    bool arrivalSignals_ = false;
    std::unique_ptr<QTimer> arrivalTimer_;
    d2xx::Handle watched_ = 0;
    std::function<void()> arrived_;
};

// The description of the extra converters a script asks for beyond the timing unit.
inline const QString kIdleConverterDescription = QStringLiteral("USB Serial Converter");

// The demo unit: one timing unit "QRV 2.0" that answers the handshakes and sends a jump
// every 2 to 4 seconds, and a service device "VudurEve" that accepts every command.
std::unique_ptr<SimulatedUnit> createDemoUnit(Clock& clock, quint32 seed);
// A unit that plays a script: `devices` converters, the first being the timing unit, then
// `serviceDevices` service devices "VudurEve" answering `serviceAnswer`.
std::unique_ptr<SimulatedUnit> createScriptedUnit(Clock& clock, const UnitScript& script);
