#include "core/base/Settings.h"

namespace {

const QString kGroup = QStringLiteral("Einstellungen");

QString flag(bool value) {
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

qint32 storedInteger(const QVariant& stored, qint32 fallback) {
    if (!stored.isValid() || stored.isNull())
        return fallback;
    bool ok = false;
    const qint32 value = stored.toString().trimmed().toInt(&ok, 10);
    return ok ? value : fallback;
}

void readSettings(QSettings& settings, SettingsValues& values) {
    settings.beginGroup(kGroup);
    const auto get = [&](const char* name, qint32 fallback) {
        return storedInteger(settings.value(QLatin1String(name)), fallback);
    };
    values.Mask = get("Mask", 0) != 0;
    values.Delete = get("Delete", 1) != 0;
    values.PSZmin = get("PSZmin", 60);
    values.PSZmax = get("PSZmax", 330);
    values.PFZmin = get("PFZmin", 200);
    values.PFZmax = get("PFZmax", 1000);
    values.Betriebsart = static_cast<quint8>(get("Betriebsart", 1) & 0xFF);
    settings.endGroup();
}

void writeSettings(QSettings& settings, const SettingsValues& values) {
    settings.beginGroup(kGroup);
    settings.setValue(QStringLiteral("ComPort"), QStringLiteral("1"));
    settings.setValue(QStringLiteral("ComSet"), QStringLiteral("1"));
    settings.setValue(QStringLiteral("Mask"), flag(values.Mask));
    settings.setValue(QStringLiteral("Delete"), flag(values.Delete));
    settings.setValue(QStringLiteral("PSZmin"), QString::number(values.PSZmin));
    settings.setValue(QStringLiteral("PSZmax"), QString::number(values.PSZmax));
    settings.setValue(QStringLiteral("PFZmin"), QString::number(values.PFZmin));
    settings.setValue(QStringLiteral("PFZmax"), QString::number(values.PFZmax));
    settings.setValue(QStringLiteral("Betriebsart"),
                      values.Betriebsart == 1 ? QStringLiteral("1") : QStringLiteral("2"));
    settings.endGroup();
    settings.sync();
}
