// The simulated driver, the demo unit, the scripted unit and the simulated service device.

#include "core/link/SimulatedUnit.h"

#include "core/base/Clock.h"
#include "core/link/ServiceProtocol.h"
#include "core/link/TimingUnitProtocol.h"

#include <algorithm>
#include <cstring>

using namespace d2xx;

namespace {

const QByteArray kIdentification = QByteArrayLiteral("QRV");

// Whether the tick `due` has been reached at `now`, across a wrap of the counter.
bool reached(quint32 due, quint32 now) {
    return static_cast<qint32>(now - due) >= 0;
}

} // namespace

void IdleDevice::receive(quint8 byte, quint32 /*now*/) {
    sent.append(static_cast<char>(byte));
}

std::optional<UnitScriptStep> ScriptSource::next() {
    if (position_ >= steps_.size())
        return std::nullopt;
    return steps_[position_++];
}

std::optional<UnitScriptStep> DemoSource::next() {
    const auto pick = [this](quint32 low, quint32 high) {
        return static_cast<quint32>(random_.bounded(low, high + 1));
    };
    const quint32 gap = pick(kMinGapMs, kMaxGapMs);
    const quint32 contact = pick(kMinContactMs, kMaxContactMs);
    const quint32 flight = pick(kMinFlightMs, kMaxFlightMs);
    QByteArray bytes;
    for (const quint32 time : {contact, flight}) {
        bytes.append(static_cast<char>(time >> 8));
        bytes.append(static_cast<char>(time & 0xFF));
    }
    return UnitScriptStep{gap, bytes};
}

SimulatedTimingUnit::SimulatedTimingUnit(QString description, std::optional<quint8> startAnswer,
                                         std::unique_ptr<ResultSource> source)
    : SimulatedDevice(std::move(description)), startAnswer_(startAnswer),
      source_(std::move(source)) {}

void SimulatedTimingUnit::receive(quint8 byte, quint32 now) {
    update(now);
    sent.append(static_cast<char>(byte));
    if (byte == timingunit::kStartCommand) {
        pending_.reset();
        if (!startAnswer_)
            return; // a silent unit never starts
        queue.append(static_cast<char>(*startAnswer_));
        source_->restart();
        pending_ = source_->next();
        if (pending_)
            dueAt_ = now + pending_->delayMs;
    } else if (byte == timingunit::kStopCommand) {
        pending_.reset();
        queue.append(kIdentification);
    }
}

void SimulatedTimingUnit::update(quint32 now) {
    while (pending_ && reached(dueAt_, now)) {
        queue.append(pending_->bytes);
        const quint32 arrived = dueAt_;
        pending_ = source_->next();
        if (pending_)
            dueAt_ = arrived + pending_->delayMs;
    }
}

void SimulatedTimingUnit::closed() {
    pending_.reset();
    SimulatedDevice::closed();
}

SimulatedServiceDevice::SimulatedServiceDevice(QString description, std::optional<quint8> answer)
    : SimulatedDevice(std::move(description)), answer_(answer) {}

void SimulatedServiceDevice::receive(quint8 byte, quint32 /*now*/) {
    sent.append(static_cast<char>(byte));
    if (pending_.isEmpty()) {
        const int parameters = service::parameterCount(byte);
        if (parameters < 0)
            return; // not a command: kept, nothing else
        pending_.append(static_cast<char>(byte));
        missing_ = parameters;
    } else {
        pending_.append(static_cast<char>(byte));
        --missing_;
    }
    if (missing_ > 0)
        return;
    commands.append(pending_);
    if (pending_.size() > 1 && answer_)
        queue.append(static_cast<char>(*answer_));
    pending_.clear();
}

void SimulatedServiceDevice::closed() {
    pending_.clear();
    SimulatedDevice::closed();
}

void SimulatedServiceDevice::reset() {
    pending_.clear();
    SimulatedDevice::reset();
}

SimulatedUnit::SimulatedUnit(Clock& clock) : clock_(clock) {}

SimulatedDevice& SimulatedUnit::addDevice(std::unique_ptr<SimulatedDevice> device) {
    devices_.push_back(std::move(device));
    return *devices_.back();
}

SimulatedDevice* SimulatedUnit::findDevice(const QString& description) {
    for (const auto& device : devices_) {
        if (device->description() == description)
            return device.get();
    }
    return nullptr;
}

SimulatedDevice* SimulatedUnit::find(Handle handle) {
    const auto it = open_.find(handle);
    return it == open_.end() ? nullptr : it->second;
}

Status SimulatedUnit::listDevices(void* arg1, void* /*arg2*/, quint32 flags) {
    if (flags != FT_LIST_NUMBER_ONLY || arg1 == nullptr)
        return FT_INVALID_PARAMETER;
    *static_cast<quint32*>(arg1) = static_cast<quint32>(devices_.size());
    return FT_OK;
}

Status SimulatedUnit::openEx(const void* arg, quint32 flags, Handle* handle) {
    if (flags != FT_OPEN_BY_DESCRIPTION || arg == nullptr || handle == nullptr)
        return FT_INVALID_PARAMETER;
    SimulatedDevice* device = findDevice(QString::fromUtf8(static_cast<const char*>(arg)));
    if (device == nullptr)
        return FT_DEVICE_NOT_FOUND;
    if (device->isOpen)
        return FT_DEVICE_NOT_OPENED;
    device->isOpen = true;
    device->queue.clear();
    const Handle h = nextHandle_++;
    open_[h] = device;
    *handle = h;
    return FT_OK;
}

Status SimulatedUnit::close(Handle handle) {
    const auto it = open_.find(handle);
    if (it == open_.end())
        return FT_INVALID_HANDLE;
    if (handle == watched_)
        notifyArrival(handle, {});
    it->second->isOpen = false;
    it->second->closed();
    open_.erase(it);
    return FT_OK;
}

bool SimulatedUnit::notifyArrival(Handle handle, std::function<void()> arrived) {
    if (!arrivalSignals_ || find(handle) == nullptr)
        return false;
    if (arrivalTimer_)
        arrivalTimer_->stop();
    watched_ = arrived ? handle : 0;
    arrived_ = std::move(arrived);
    if (!arrived_)
        return true;
    if (!arrivalTimer_) {
        arrivalTimer_ = std::make_unique<QTimer>();
        arrivalTimer_->setSingleShot(true);
        arrivalTimer_->setTimerType(Qt::PreciseTimer);
        QObject::connect(arrivalTimer_.get(), &QTimer::timeout, arrivalTimer_.get(),
                         [this] { checkArrivals(); });
    }
    armArrivalTimer(clock_.ticks());
    return true;
}

void SimulatedUnit::checkArrivals() {
    SimulatedDevice* device = find(watched_);
    if (!arrived_ || device == nullptr)
        return;
    const quint32 now = clock_.ticks();
    device->update(now);
    if (!device->queue.isEmpty()) {
        // The watcher may end its watch from the call.
        const std::function<void()> arrived = arrived_;
        arrived();
    }
    if (arrived_)
        armArrivalTimer(now);
}

void SimulatedUnit::armArrivalTimer(quint32 now) {
    const SimulatedDevice* device = find(watched_);
    if (device == nullptr || !arrivalTimer_)
        return;
    const std::optional<quint32> due = device->nextArrivalAt();
    if (!due)
        return;
    const quint32 wait = reached(*due, now) ? 0 : *due - now;
    arrivalTimer_->start(static_cast<int>(std::min<quint32>(wait, UnitScript::kMaxDelayMs)));
}

Status SimulatedUnit::resetDevice(Handle handle) {
    SimulatedDevice* device = find(handle);
    if (device == nullptr)
        return FT_INVALID_HANDLE;
    device->update(clock_.ticks());
    device->reset();
    return FT_OK;
}

Status SimulatedUnit::setBaudRate(Handle handle, quint32 baudRate) {
    SimulatedDevice* device = find(handle);
    if (device == nullptr)
        return FT_INVALID_HANDLE;
    if (baudRate == 0)
        return FT_INVALID_BAUD_RATE;
    device->baudRate = baudRate;
    return FT_OK;
}

Status SimulatedUnit::setDataCharacteristics(Handle handle, quint8 wordLength, quint8 stopBits,
                                             quint8 parity) {
    SimulatedDevice* device = find(handle);
    if (device == nullptr)
        return FT_INVALID_HANDLE;
    if (!validDataCharacteristics(wordLength, stopBits, parity))
        return FT_INVALID_PARAMETER;
    device->wordLength = wordLength;
    device->stopBits = stopBits;
    device->parity = parity;
    return FT_OK;
}

Status SimulatedUnit::setTimeouts(Handle handle, quint32 readTimeoutMs, quint32 writeTimeoutMs) {
    SimulatedDevice* device = find(handle);
    if (device == nullptr)
        return FT_INVALID_HANDLE;
    device->readTimeoutMs = readTimeoutMs;
    device->writeTimeoutMs = writeTimeoutMs;
    return FT_OK;
}

Status SimulatedUnit::getQueueStatus(Handle handle, quint32* rxBytes) {
    SimulatedDevice* device = find(handle);
    if (device == nullptr)
        return FT_INVALID_HANDLE;
    if (rxBytes == nullptr)
        return FT_INVALID_PARAMETER;
    device->update(clock_.ticks());
    *rxBytes = static_cast<quint32>(device->queue.size());
    return FT_OK;
}

Status SimulatedUnit::write(Handle handle, const void* buffer, quint32 count, quint32* written) {
    SimulatedDevice* device = find(handle);
    if (device == nullptr)
        return FT_INVALID_HANDLE;
    if (written == nullptr || (buffer == nullptr && count > 0))
        return FT_INVALID_PARAMETER;
    const quint32 now = clock_.ticks();
    const auto* bytes = static_cast<const quint8*>(buffer);
    for (quint32 i = 0; i < count; ++i)
        device->receive(bytes[i], now);
    *written = count;
    return FT_OK;
}

Status SimulatedUnit::read(Handle handle, void* buffer, quint32 count, quint32* read) {
    SimulatedDevice* device = find(handle);
    if (device == nullptr)
        return FT_INVALID_HANDLE;
    if (read == nullptr || (buffer == nullptr && count > 0))
        return FT_INVALID_PARAMETER;

    // Wait on the clock until enough bytes arrived or the read time-out passed. A clock
    // that stands still ends the wait too, rather than hanging the program.
    const quint32 start = clock_.ticks();
    quint32 last = start;
    int unchanged = 0;
    for (;;) {
        const quint32 now = clock_.ticks();
        device->update(now);
        if (static_cast<quint32>(device->queue.size()) >= count ||
            ticksSince(start, now) > device->readTimeoutMs)
            break;
        unchanged = now == last ? unchanged + 1 : 0;
        last = now;
        if (unchanged > 10'000'000)
            break;
    }

    const quint32 n = std::min(count, static_cast<quint32>(device->queue.size()));
    if (n > 0)
        std::memcpy(buffer, device->queue.constData(), n);
    device->queue.remove(0, n);
    *read = n;
    return FT_OK;
}

std::unique_ptr<SimulatedUnit> createDemoUnit(Clock& clock, quint32 seed) {
    auto unit = std::make_unique<SimulatedUnit>(clock);
    unit->addDevice(std::make_unique<SimulatedTimingUnit>(timingunit::kDescription,
                                                          quint8{timingunit::kStartCommand},
                                                          std::make_unique<DemoSource>(seed)));
    unit->addDevice(
        std::make_unique<SimulatedServiceDevice>(service::kDescription, service::kAccepted));
    return unit;
}

std::unique_ptr<SimulatedUnit> createScriptedUnit(Clock& clock, const UnitScript& script) {
    auto unit = std::make_unique<SimulatedUnit>(clock);
    for (quint32 i = 0; i < script.devices; ++i) {
        if (i == 0)
            unit->addDevice(std::make_unique<SimulatedTimingUnit>(
                script.description, script.startAnswer,
                std::make_unique<ScriptSource>(script.steps)));
        else
            unit->addDevice(std::make_unique<IdleDevice>(kIdleConverterDescription));
    }
    for (quint32 i = 0; i < script.serviceDevices; ++i)
        unit->addDevice(
            std::make_unique<SimulatedServiceDevice>(service::kDescription, script.serviceAnswer));
    return unit;
}
