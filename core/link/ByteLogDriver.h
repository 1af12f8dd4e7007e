#pragma once

#include "core/link/D2xxDriver.h"

#include <QString>

#include <functional>
#include <memory>

class Clock;

// Wraps a driver and writes one line per byte transfer and per failing call, so that a
// problem in the field can be replayed: "<tick> tx fb", "<tick> rx 00 c8 01 f4",
// "<tick> FT_GetQueueStatus status 4". Opening and closing are logged as well; successful
// queue polls and settings are not, they would drown the bytes.
class ByteLogDriver : public D2xxDriver {
public:
    using Sink = std::function<void(const QString& line)>;

    ByteLogDriver(std::unique_ptr<D2xxDriver> inner, Clock& clock, Sink sink);

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
    bool notifyArrival(d2xx::Handle handle, std::function<void()> arrived) override {
        return inner_->notifyArrival(handle, std::move(arrived));
    }
    std::optional<DeviceFileProblem> lastOpenProblem() const override {
        return inner_->lastOpenProblem();
    }

    D2xxDriver& inner() { return *inner_; }

private:
    void log(const QString& text);
    d2xx::Status failed(const char* call, d2xx::Status status);

    std::unique_ptr<D2xxDriver> inner_;
    Clock& clock_;
    Sink sink_;
};
