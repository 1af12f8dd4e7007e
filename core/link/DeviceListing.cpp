// The text of "--list-devices": the USB serial converters of the machine.

#include "core/link/DeviceListing.h"

#include "core/link/ServiceProtocol.h"
#include "core/link/TimingUnitProtocol.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>

namespace {

// The texts of this file that the user reads, in the translation context "DeviceListing".
struct DeviceListingTexts {
    Q_DECLARE_TR_FUNCTIONS(DeviceListing)
};

} // namespace

namespace {

QString canonicalOrAsGiven(const QString& path) {
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? path : canonical;
}

// What one device would use: the device file (empty for none) and the summary line.
struct Use {
    QString deviceFile;
    QString line;
};

Use useOf(const QString& name, const std::optional<LineChoice>& choice, const QString& error,
          const DeviceSetting& setting, const QString& description,
          const QList<SerialDriver::UsbPort>& ftdiPorts) {
    if (!choice)
        return {{}, QStringLiteral("%1: %2").arg(name, error)};
    switch (choice->kind) {
    case LineChoice::Kind::Simulator:
        return {{}, DeviceListingTexts::tr("%1: Simulator (%2)").arg(name, setting.origin)};
    case LineChoice::Kind::Script:
        return {{},
                DeviceListingTexts::tr("%1: Simulator mit dem Skript %2 (%3)")
                    .arg(name, choice->path, setting.origin)};
    case LineChoice::Kind::DeviceFile:
        return {choice->path,
                QStringLiteral("%1: %2 (%3)").arg(name, choice->path, setting.origin)};
    case LineChoice::Kind::Search:
        break;
    }
    const auto port = std::find_if(ftdiPorts.begin(), ftdiPorts.end(),
                                   [&](const auto& p) { return p.product == description; });
    if (port == ftdiPorts.end())
        return {{},
                DeviceListingTexts::tr("%1: kein FTDI-Wandler mit dem Produkttext \"%2\"")
                    .arg(name, description)};
    return {port->deviceFile,
            DeviceListingTexts::tr("%1: %2 (erster FTDI-Wandler mit dem Produkttext \"%3\")")
                .arg(name, port->deviceFile, description)};
}

} // namespace

QString deviceListing(const SerialDriver& driver, const DeviceChoice& choice) {
    const QList<SerialDriver::UsbPort> ports = driver.usbPorts();
    const QList<SerialDriver::UsbPort> ftdi = driver.ftdiPorts();

    const DevicePlan plan = planDevices(choice);
    const Use timing =
        useOf(DeviceListingTexts::tr("Zeitmessung"), plan.timingUnit, plan.timingUnitError,
              choice.timingUnit, timingunit::kDescription, ftdi);
    const Use service =
        useOf(QStringLiteral("Service"), plan.service, plan.serviceError,
              plan.service && plan.service->kind == LineChoice::Kind::Simulator ? choice.timingUnit
                                                                                : choice.service,
              service::kDescription, ftdi);

    QString text;
    if (ports.isEmpty())
        text += DeviceListingTexts::tr("Kein USB-Seriell-Wandler gefunden.\n");
    qsizetype fileWidth = 0;
    qsizetype productWidth = 0;
    for (const auto& port : ports) {
        fileWidth = std::max(fileWidth, port.deviceFile.size());
        productWidth = std::max(productWidth, port.product.size() + 2);
    }
    const QString timingFile = canonicalOrAsGiven(timing.deviceFile);
    const QString serviceFile = canonicalOrAsGiven(service.deviceFile);
    for (const auto& port : ports) {
        QString line =
            QStringLiteral("%1  %2:%3  %4  %5")
                .arg(port.deviceFile.leftJustified(fileWidth), port.vendorId.leftJustified(4),
                     port.productId.leftJustified(4),
                     (QLatin1Char('"') + port.product + QLatin1Char('"'))
                         .leftJustified(productWidth),
                     port.serialNumber.isEmpty()
                         ? DeviceListingTexts::tr("ohne Seriennummer")
                         : DeviceListingTexts::tr("Seriennummer %1").arg(port.serialNumber));
        const QString file = canonicalOrAsGiven(port.deviceFile);
        if (!timing.deviceFile.isEmpty() && file == timingFile)
            line += DeviceListingTexts::tr("  <- Zeitmessung");
        if (!service.deviceFile.isEmpty() && file == serviceFile)
            line += DeviceListingTexts::tr("  <- Service");
        text += line + QLatin1Char('\n');
    }
    text += timing.line + QLatin1Char('\n');
    text += service.line + QLatin1Char('\n');
    return text;
}
