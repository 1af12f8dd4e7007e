// The clock seam: the monotonic millisecond ticks and the local date, from the system or from a
// virtual clock that tests move by hand.

#pragma once

#include <QDateTime>
#include <QElapsedTimer>
#include <QtGlobal>

// Monotonic millisecond tick counter. It is 32 bits wide and wraps; differences taken as
// unsigned 32-bit values stay correct across a wrap.
class Clock {
public:
    virtual ~Clock() = default;
    virtual quint32 ticks() = 0;
    // The local date and time, for what happens once a day.
    virtual QDateTime now() { return QDateTime::currentDateTime(); }
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
        elapsed_ += step_;
        return t;
    }
    // The moment set last, moved on by the milliseconds that passed since.
    QDateTime now() override { return moment_.addMSecs(elapsed_); }
    quint32 peek() const { return now_; }
    void advance(quint32 ms) {
        now_ += ms;
        elapsed_ += ms;
    }
    void setStep(quint32 stepPerReading) { step_ = stepPerReading; }
    void setMoment(const QDateTime& moment) {
        moment_ = moment;
        elapsed_ = 0;
    }

private:
    quint32 now_;
    quint32 step_;
    qint64 elapsed_ = 0;
    QDateTime moment_{QDate(2026, 1, 1), QTime(8, 0)};
};
