#pragma once

#include <QElapsedTimer>
#include <QtGlobal>

// Monotonic millisecond tick counter. It is 32 bits wide and wraps; differences taken as
// unsigned 32-bit values stay correct across a wrap.
class Clock {
public:
    virtual ~Clock() = default;
    virtual quint32 ticks() = 0;
};

// Milliseconds elapsed between two readings, correct across a wrap of the counter.
inline quint32 ticksSince(quint32 start, quint32 now) {
    return now - start;
}

class SystemClock : public Clock {
public:
    SystemClock() { timer_.start(); }
    quint32 ticks() override { return static_cast<quint32>(timer_.elapsed()); }

private:
    QElapsedTimer timer_;
};

// A clock for tests and the simulated timing unit: time moves only when told to, and
// optionally by a fixed step at every reading, so busy waits finish without real time.
class VirtualClock : public Clock {
public:
    explicit VirtualClock(quint32 start = 0, quint32 stepPerReading = 0)
        : now_(start), step_(stepPerReading) {}
    quint32 ticks() override {
        const quint32 t = now_;
        now_ += step_;
        return t;
    }
    quint32 peek() const { return now_; }
    void advance(quint32 ms) { now_ += ms; }
    void setStep(quint32 stepPerReading) { step_ = stepPerReading; }

private:
    quint32 now_;
    quint32 step_;
};
