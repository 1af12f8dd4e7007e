#include "core/base/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// The texts of this file that the user reads, in the translation context "Settings".
struct SettingsTexts {
    Q_DECLARE_TR_FUNCTIONS(Settings)
};

} // namespace

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
    const StoredSettings defaults;
    settings.beginGroup(kGroup);
    const auto get = [&](const char* name, qint32 fallback) {
        return storedInteger(settings.value(QLatin1String(name)), fallback);
    };
    // A stored value that is present but no number counts as unsound, like one out of bounds.
    const auto sound = [&](const char* name, qint32 value, qint32 lowest, qint32 highest) {
        const QVariant stored = settings.value(QLatin1String(name));
        if (!stored.isValid() || stored.isNull())
            return true;
        bool number = false;
        stored.toString().trimmed().toInt(&number, 10);
        return number && value >= lowest && value <= highest;
    };
    const auto limitPair = [&](const char* minName, const char* maxName, qint32& minMs,
                               qint32& maxMs, qint32 minDefault, qint32 maxDefault) {
        minMs = get(minName, minDefault);
        maxMs = get(maxName, maxDefault);
        if (!sound(minName, minMs, kLimitLowestMs, kLimitHighestMs)) {
            minMs = minDefault;
            values.unsoundKeys << QLatin1String(minName);
        }
        if (!sound(maxName, maxMs, kLimitLowestMs, kLimitHighestMs)) {
            maxMs = maxDefault;
            values.unsoundKeys << QLatin1String(maxName);
        }
        if (minMs >= maxMs) {
            // Which of the two is wrong cannot be told: both give way, those stored are named.
            for (const char* name : {minName, maxName})
                if (settings.contains(QLatin1String(name)))
                    values.unsoundKeys << QLatin1String(name);
            minMs = minDefault;
            maxMs = maxDefault;
        }
    };
    values.mask = get("Mask", 0) != 0;
    values.deleteFlag = get("Delete", 1) != 0;
    limitPair("PSZmin", "PSZmax", values.contactMinMs, values.contactMaxMs, defaults.contactMinMs,
              defaults.contactMaxMs);
    limitPair("PFZmin", "PFZmax", values.flightMinMs, values.flightMaxMs, defaults.flightMinMs,
              defaults.flightMaxMs);
    values.mode = static_cast<quint8>(get("Betriebsart", 1) & 0xFF);
    values.backupsKept = get("Sicherungen", defaults.backupsKept);
    if (!sound("Sicherungen", values.backupsKept, 1, kBackupsKeptHighest)) {
        values.backupsKept = defaults.backupsKept;
        values.unsoundKeys << QStringLiteral("Sicherungen");
    }
    values.unsoundKeys.sort();
    values.unsoundKeys.removeDuplicates();
    settings.endGroup();
    return values;
}

QString unsoundSettingsMessage(const StoredSettings& values) {
    if (values.unsoundKeys.isEmpty())
        return {};
    return SettingsTexts::tr("Ungültige Einstellungen (Gruppe \"Einstellungen\": %1) wurden durch "
                             "ihre Standardwerte ersetzt. Grenzwerte liegen zwischen 1 und "
                             "60000 ms, ein Minimum unter seinem Maximum.")
        .arg(values.unsoundKeys.join(QStringLiteral(", ")));
}

QString keepUnreadableSettingsAside(const QString& path) {
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return {};
    {
        const QSettings probe(path, QSettings::IniFormat);
        if (probe.status() != QSettings::FormatError)
            return {};
    }
    QString aside = path + QStringLiteral(".unlesbar");
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = path + QStringLiteral(".unlesbar-%1").arg(n);
    if (!QFile::rename(path, aside))
        return {};
    return SettingsTexts::tr("Die Einstellungsdatei \"%1\" ist nicht lesbar. Sie wurde unverändert "
                             "als \"%2\" aufbewahrt; Kalvero beginnt mit den "
                             "Standardeinstellungen.")
        .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(aside));
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
