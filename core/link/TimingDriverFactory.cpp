#include "core/link/TimingDriverFactory.h"

#include "core/link/ByteLogDriver.h"
#include "core/link/SerialDriver.h"
#include "core/link/SimulatedUnit.h"
#include "core/link/UnitScript.h"

#include <QRandomGenerator>

#include <cstdio>

namespace {

const QString kSimulator = QStringLiteral("simulator");

} // namespace

std::unique_ptr<D2xxDriver> createTimingDriver(const QString& envValue, Clock& clock,
                                               QString* error) {
    const auto fail = [error](const QString& text) {
        if (error)
            *error = text;
        return std::unique_ptr<D2xxDriver>();
    };

    if (envValue.isEmpty())
        return std::make_unique<SerialDriver>();
    if (envValue == kSimulator)
        return createDemoUnit(clock, QRandomGenerator::global()->generate());
    if (envValue.startsWith(kSimulator + QLatin1Char(':'))) {
        const QString path = envValue.mid(kSimulator.size() + 1);
        if (path.isEmpty())
            return fail(QStringLiteral("%1: no script file after \"simulator:\"")
                            .arg(QLatin1String(kTimingUnitVariable)));
        const auto script = loadUnitScript(path, error);
        if (!script)
            return nullptr;
        return createScriptedUnit(clock, *script);
    }
    return fail(QStringLiteral("%1: unknown value \"%2\" (expected nothing, \"simulator\" or "
                               "\"simulator:PATH\")")
                    .arg(QLatin1String(kTimingUnitVariable), envValue));
}

std::unique_ptr<D2xxDriver> createTimingDriverFromEnvironment(Clock& clock, QString* error) {
    auto driver = createTimingDriver(qEnvironmentVariable(kTimingUnitVariable), clock, error);
    const QString log = qEnvironmentVariable(kByteLogVariable);
    if (!driver || log.isEmpty() || log == QLatin1String("0"))
        return driver;
    return std::make_unique<ByteLogDriver>(std::move(driver), clock, [](const QString& line) {
        std::fprintf(stderr, "link: %s\n", line.toLocal8Bit().constData());
        std::fflush(stderr);
    });
}
