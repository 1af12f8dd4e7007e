#pragma once

#include "core/base/Clock.h"
#include "core/link/D2xxDriver.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstring>

// A scripted D2XX driver for tests: records every call with its arguments, answers with
// scripted statuses, and delivers bytes at given ticks of a virtual clock (looked at with
// peek(), so the driver itself never moves time).
class FakeDriver : public D2xxDriver {
public:
    explicit FakeDriver(VirtualClock* clock = nullptr) : clock_(clock) {}

    // Recorded calls, e.g. "FT_SetTimeouts 7 500 500" (name, handle, arguments).
    QStringList calls;
    // Statuses to answer, per call name, taken one per call; FT_OK when none is left.
    QHash<QString, QList<d2xx::Status>> statuses;
    quint32 devices = 1;
    QString description = QStringLiteral("QRV 2.0");
    d2xx::Handle nextHandle = 7;
    // Bytes the program wrote, in order.
    QByteArray written;
    // The descriptions asked for by openEx, as received.
    QList<QByteArray> openedDescriptions;
    // What lastOpenProblem() tells.
    std::optional<DeviceFileProblem> openProblem;

    // Makes `bytes` arrive at the given tick.
    void arriveAt(quint32 tick, const QByteArray& bytes) { arrivals_.append({tick, bytes}); }
    void arrive(const QByteArray& bytes) { queue_.append(bytes); }
    QByteArray queued() {
        deliver();
        return queue_;
    }
    int callCount(const QString& name) const {
        int n = 0;
        for (const QString& c : calls)
            n += c.section(QLatin1Char(' '), 0, 0) == name ? 1 : 0;
        return n;
    }
    QStringList callNames() const {
        QStringList names;
        for (const QString& c : calls)
            names << c.section(QLatin1Char(' '), 0, 0);
        return names;
    }

    d2xx::Status listDevices(void* arg1, void* arg2, quint32 flags) override {
        record(QStringLiteral("FT_ListDevices %1 %2")
                   .arg(arg2 == nullptr ? QStringLiteral("null") : QStringLiteral("ptr"))
                   .arg(flags, 0, 16));
        const d2xx::Status s = next(QStringLiteral("FT_ListDevices"));
        if (s == d2xx::FT_OK)
            *static_cast<quint32*>(arg1) = devices;
        return s;
    }
    d2xx::Status openEx(const void* arg, quint32 flags, d2xx::Handle* handle) override {
        const QByteArray wanted(static_cast<const char*>(arg));
        openedDescriptions << wanted;
        record(QStringLiteral("FT_OpenEx %1 %2").arg(QString::fromUtf8(wanted)).arg(flags));
        d2xx::Status s = next(QStringLiteral("FT_OpenEx"));
        if (s == d2xx::FT_OK && QString::fromUtf8(wanted) != description)
            s = d2xx::FT_DEVICE_NOT_FOUND;
        if (s == d2xx::FT_OK)
            *handle = nextHandle++;
        return s;
    }
    d2xx::Status close(d2xx::Handle h) override {
        record(QStringLiteral("FT_Close %1").arg(h));
        return next(QStringLiteral("FT_Close"));
    }
    d2xx::Status resetDevice(d2xx::Handle h) override {
        record(QStringLiteral("FT_ResetDevice %1").arg(h));
        return next(QStringLiteral("FT_ResetDevice"));
    }
    d2xx::Status setBaudRate(d2xx::Handle h, quint32 baud) override {
        record(QStringLiteral("FT_SetBaudRate %1 %2").arg(h).arg(baud));
        return next(QStringLiteral("FT_SetBaudRate"));
    }
    d2xx::Status setDataCharacteristics(d2xx::Handle h, quint8 w, quint8 s, quint8 p) override {
        record(QStringLiteral("FT_SetDataCharacteristics %1 %2 %3 %4").arg(h).arg(w).arg(s).arg(p));
        return next(QStringLiteral("FT_SetDataCharacteristics"));
    }
    d2xx::Status setTimeouts(d2xx::Handle h, quint32 r, quint32 w) override {
        record(QStringLiteral("FT_SetTimeouts %1 %2 %3").arg(h).arg(r).arg(w));
        return next(QStringLiteral("FT_SetTimeouts"));
    }
    d2xx::Status getQueueStatus(d2xx::Handle h, quint32* rx) override {
        record(QStringLiteral("FT_GetQueueStatus %1").arg(h));
        const d2xx::Status s = next(QStringLiteral("FT_GetQueueStatus"));
        deliver();
        if (s == d2xx::FT_OK)
            *rx = static_cast<quint32>(queue_.size());
        return s;
    }
    d2xx::Status write(d2xx::Handle h, const void* buffer, quint32 count, quint32* done) override {
        record(QStringLiteral("FT_Write %1 %2").arg(h).arg(count));
        const d2xx::Status s = next(QStringLiteral("FT_Write"));
        *done = 0;
        if (s == d2xx::FT_OK) {
            written.append(static_cast<const char*>(buffer), count);
            *done = count;
        }
        return s;
    }
    d2xx::Status read(d2xx::Handle h, void* buffer, quint32 count, quint32* done) override {
        record(QStringLiteral("FT_Read %1 %2").arg(h).arg(count));
        const d2xx::Status s = next(QStringLiteral("FT_Read"));
        deliver();
        *done = 0;
        if (s == d2xx::FT_OK) {
            const quint32 n = std::min(count, static_cast<quint32>(queue_.size()));
            std::memcpy(buffer, queue_.constData(), n);
            queue_.remove(0, n);
            *done = n;
        }
        return s;
    }

    std::optional<DeviceFileProblem> lastOpenProblem() const override { return openProblem; }

private:
    void record(const QString& call) { calls << call; }
    d2xx::Status next(const QString& name) {
        auto it = statuses.find(name);
        if (it == statuses.end() || it->isEmpty())
            return d2xx::FT_OK;
        return it->takeFirst();
    }
    void deliver() {
        if (clock_ == nullptr)
            return;
        const quint32 now = clock_->peek();
        for (qsizetype i = 0; i < arrivals_.size();) {
            if (static_cast<qint32>(now - arrivals_[i].first) >= 0) {
                queue_.append(arrivals_[i].second);
                arrivals_.removeAt(i);
            } else {
                ++i;
            }
        }
    }

    VirtualClock* clock_;
    QList<QPair<quint32, QByteArray>> arrivals_;
    QByteArray queue_;
};
