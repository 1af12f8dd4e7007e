#include "core/base/Settings.h"

namespace {

const QString kGroup = QStringLiteral("Einstellungen");
const QString kWindowGeometryKey = QStringLiteral("Fenster/Geometrie");

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

StoredSettings readSettings(QSettings& settings) {
    StoredSettings values;
    settings.beginGroup(kGroup);
    const auto get = [&](const char* name, qint32 fallback) {
        return storedInteger(settings.value(QLatin1String(name)), fallback);
    };
    values.mask = get("Mask", 0) != 0;
    values.deleteFlag = get("Delete", 1) != 0;
    values.contactMinMs = get("PSZmin", 60);
    values.contactMaxMs = get("PSZmax", 330);
    values.flightMinMs = get("PFZmin", 200);
    values.flightMaxMs = get("PFZmax", 1000);
    values.mode = static_cast<quint8>(get("Betriebsart", 1) & 0xFF);
    settings.endGroup();
    return values;
}

void writeSettings(QSettings& settings, const StoredSettings& values) {
    settings.beginGroup(kGroup);
    settings.setValue(QStringLiteral("ComPort"), QStringLiteral("1"));
    settings.setValue(QStringLiteral("ComSet"), QStringLiteral("1"));
    settings.setValue(QStringLiteral("Mask"), flag(values.mask));
    settings.setValue(QStringLiteral("Delete"), flag(values.deleteFlag));
    settings.setValue(QStringLiteral("PSZmin"), QString::number(values.contactMinMs));
    settings.setValue(QStringLiteral("PSZmax"), QString::number(values.contactMaxMs));
    settings.setValue(QStringLiteral("PFZmin"), QString::number(values.flightMinMs));
    settings.setValue(QStringLiteral("PFZmax"), QString::number(values.flightMaxMs));
    settings.setValue(QStringLiteral("Betriebsart"),
                      values.mode == 1 ? QStringLiteral("1") : QStringLiteral("2"));
    settings.endGroup();
    settings.sync();
}

QByteArray readWindowGeometry(QSettings& settings) {
    return settings.value(kWindowGeometryKey).toByteArray();
}

void writeWindowGeometry(QSettings& settings, const QByteArray& geometry) {
    settings.setValue(kWindowGeometryKey, geometry);
    settings.sync();
}

QList<QByteArray> readWindowDividers(QSettings& settings) {
    QList<QByteArray> dividers;
    for (const QVariant& value : settings.value(QStringLiteral("Fenster/Teilungen")).toList())
        dividers << value.toByteArray();
    return dividers;
}

void writeWindowDividers(QSettings& settings, const QList<QByteArray>& dividers) {
    QVariantList values;
    for (const QByteArray& divider : dividers)
        values << divider;
    settings.setValue(QStringLiteral("Fenster/Teilungen"), values);
    settings.sync();
}

QString readSeriesBars(QSettings& settings) {
    return settings.value(QStringLiteral("Fenster/Serienbalken")).toString();
}

void writeSeriesBars(QSettings& settings, const QString& value) {
    settings.setValue(QStringLiteral("Fenster/Serienbalken"), value);
    settings.sync();
}
