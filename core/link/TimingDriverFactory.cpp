// Builds the driver that the environment or the settings name, with the byte log when asked for.

#include "core/link/TimingDriverFactory.h"

#include "core/link/ByteLogDriver.h"
#include "core/link/SerialDriver.h"
#include "core/link/ServiceProtocol.h"
#include "core/link/SimulatedUnit.h"
#include "core/link/TimingUnitProtocol.h"
#include "core/link/UnitScript.h"

#include <QRandomGenerator>
#include <QSettings>

#include <cstdio>

namespace {

const QString kSimulator = QStringLiteral("simulator");
const QString kSerial = QStringLiteral("serial");

DeviceSetting settingOf(const QProcessEnvironment& environment, const char* variable,
                        QSettings* settings, const QString& key) {
    const QString name = QLatin1String(variable);
    const QString value = environment.value(name);
    if (!value.isEmpty() || settings == nullptr)
        return {value, name, true};
    settings->beginGroup(kDeviceGroup);
    const QString stored = settings->value(key).toString();
    settings->endGroup();
    return {stored, QStringLiteral("%1/%2 in %3").arg(kDeviceGroup, key, settings->fileName()),
            false};
}

// The path after "<kind>:", when the value has that form.
std::optional<QString> pathAfter(const QString& value, const QString& kind) {
    if (!value.startsWith(kind + QLatin1Char(':')))
        return std::nullopt;
    return value.mid(kind.size() + 1);
}

QString reasonText(const DeviceFileProblem& problem) {
    switch (problem.cause) {
    case DeviceFileProblem::Cause::NoPermission:
        return QStringLiteral("no permission to open it");
    case DeviceFileProblem::Cause::Busy:
        return QStringLiteral("another program holds it");
    case DeviceFileProblem::Cause::Missing:
        return QStringLiteral("no such device file");
    case DeviceFileProblem::Cause::NotATerminal:
        return QStringLiteral("not a serial line (tty)");
    case DeviceFileProblem::Cause::Other:
        break;
    }
    return QStringLiteral("cannot be opened: %1").arg(problem.systemText);
}

std::optional<LineChoice> deviceFileChoice(const DeviceSetting& setting, const QString& path,
                                           QString* error) {
    const auto fail = [&](const QString& text) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(setting.origin, text);
        return std::optional<LineChoice>();
    };
    if (path.isEmpty())
        return fail(QStringLiteral("no device file after \"serial:\""));
    if (const auto problem = SerialDriver::checkDeviceFile(path))
        return fail(QStringLiteral("%1: %2").arg(setting.value, reasonText(*problem)));
    return LineChoice{LineChoice::Kind::DeviceFile, path};
}

std::optional<LineChoice> readTimingUnitChoice(const DeviceSetting& setting, QString* error) {
    const QString& value = setting.value;
    if (value.isEmpty())
        return LineChoice{};
    if (value == kSimulator)
        return LineChoice{LineChoice::Kind::Simulator, {}};
    if (const auto script = pathAfter(value, kSimulator)) {
        if (script->isEmpty()) {
            if (error)
                *error =
                    QStringLiteral("%1: no script file after \"simulator:\"").arg(setting.origin);
            return std::nullopt;
        }
        return LineChoice{LineChoice::Kind::Script, *script};
    }
    if (const auto file = pathAfter(value, kSerial))
        return deviceFileChoice(setting, *file, error);
    if (error)
        *error = QStringLiteral("%1: unknown value \"%2\" (expected nothing, \"simulator\", "
                                "\"simulator:PATH\" or \"serial:PATH\")")
                     .arg(setting.origin, value);
    return std::nullopt;
}

std::optional<LineChoice> readServiceChoice(const DeviceSetting& setting, QString* error) {
    const QString& value = setting.value;
    if (value.isEmpty())
        return LineChoice{};
    if (const auto file = pathAfter(value, kSerial))
        return deviceFileChoice(setting, *file, error);
    if (error)
        *error = QStringLiteral("%1: unknown value \"%2\" (expected nothing or \"serial:PATH\")")
                     .arg(setting.origin, value);
    return std::nullopt;
}

} // namespace

DeviceChoice chooseDevices(const QProcessEnvironment& environment, QSettings* settings) {
    return {settingOf(environment, kTimingUnitVariable, settings, kTimingUnitKey),
            settingOf(environment, kServiceDeviceVariable, settings, kServiceDeviceKey)};
}

DevicePlan planDevices(const DeviceChoice& choice) {
    DevicePlan plan;
    plan.timingUnit = readTimingUnitChoice(choice.timingUnit, &plan.timingUnitError);
    const bool simulated =
        plan.timingUnit && (plan.timingUnit->kind == LineChoice::Kind::Simulator ||
                            plan.timingUnit->kind == LineChoice::Kind::Script);
    if (!simulated) {
        plan.service = readServiceChoice(choice.service, &plan.serviceError);
    } else if (choice.service.fromEnvironment && !choice.service.value.isEmpty()) {
        plan.serviceError = QStringLiteral("%1: a service device needs the serial driver, but %2 "
                                           "chooses the simulator")
                                .arg(choice.service.origin, choice.timingUnit.origin);
    } else {
        plan.service = LineChoice{LineChoice::Kind::Simulator, {}};
    }
    return plan;
}

std::unique_ptr<D2xxDriver> createTimingDriver(const DeviceChoice& choice, Clock& clock,
                                               QString* error) {
    const DevicePlan plan = planDevices(choice);
    if (!plan.timingUnit || !plan.service) {
        if (error)
            *error = plan.timingUnit ? plan.serviceError : plan.timingUnitError;
        return nullptr;
    }
    switch (plan.timingUnit->kind) {
    case LineChoice::Kind::Simulator:
    case LineChoice::Kind::Script: {
        std::unique_ptr<SimulatedUnit> unit;
        if (plan.timingUnit->kind == LineChoice::Kind::Simulator) {
            unit = createDemoUnit(clock, QRandomGenerator::global()->generate());
        } else {
            const auto script = loadUnitScript(plan.timingUnit->path, error);
            if (!script)
                return nullptr;
            unit = createScriptedUnit(clock, *script);
        }
        // The program's unit runs on the system clock: it tells when its results arrive.
        unit->setArrivalSignals(true);
        return unit;
    }
    case LineChoice::Kind::Search:
    case LineChoice::Kind::DeviceFile:
        break;
    }
    auto driver = std::make_unique<SerialDriver>();
    if (plan.timingUnit->kind == LineChoice::Kind::DeviceFile)
        driver->useDeviceFile(timingunit::kDescription, plan.timingUnit->path);
    if (plan.service->kind == LineChoice::Kind::DeviceFile)
        driver->useDeviceFile(service::kDescription, plan.service->path);
    return driver;
}

std::unique_ptr<D2xxDriver> withByteLogIfAsked(std::unique_ptr<D2xxDriver> driver,
                                               const QProcessEnvironment& environment,
                                               Clock& clock) {
    const QString log = environment.value(QLatin1String(kByteLogVariable));
    if (!driver || log.isEmpty() || log == QLatin1String("0"))
        return driver;
    return std::make_unique<ByteLogDriver>(std::move(driver), clock, [](const QString& line) {
        std::fprintf(stderr, "link: %s\n", line.toLocal8Bit().constData());
        std::fflush(stderr);
    });
}
