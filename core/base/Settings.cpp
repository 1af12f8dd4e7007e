// The settings file: reading and writing the values with their bounds, and its check at start that
// keeps what cannot be read aside.

#include "core/base/Settings.h"

#include "core/base/FileOutput.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QTemporaryFile>

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
    QStringList lines;
    for (const QString& key : values.unsoundKeys) {
        if (key == QLatin1String("Sicherungen"))
            lines << SettingsTexts::tr("%1: die Zahl der aufbewahrten Sicherungen, zwischen 1 und "
                                       "%2")
                         .arg(key)
                         .arg(kBackupsKeptHighest);
        else
            lines << SettingsTexts::tr("%1: ein Grenzwert zwischen %2 und %3 ms, ein Minimum "
                                       "unter seinem Maximum")
                         .arg(key)
                         .arg(kLimitLowestMs)
                         .arg(kLimitHighestMs);
    }
    return SettingsTexts::tr("Ungültige Einstellungen (Gruppe \"Einstellungen\") wurden durch "
                             "ihre Standardwerte ersetzt:\n%1")
        .arg(lines.join(QLatin1Char('\n')));
}

namespace {

enum class LineKind { Blank, Group, Key, Unreadable };

// Text a settings file may hold: UTF-8 without control characters but the tab.
bool isText(QByteArrayView line) {
    for (const char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && byte != '\t') || byte == 0x7f)
            return false;
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString decoded = utf8.decode(line);
    return !utf8.hasError();
}

// A line as QSettings reads it (leading blanks skipped; ";" outside quotes begins a comment; a
// backslash escapes the next character, and one at the end carries the line on into the next;
// quotes that stay open carry it on too).
LineKind kindOf(QByteArrayView line) {
    if (!isText(line))
        return LineKind::Unreadable;
    const QByteArrayView text = line.trimmed();
    if (text.isEmpty() || text.startsWith(';'))
        return LineKind::Blank;
    if (text.startsWith('['))
        return text.contains(']') ? LineKind::Group : LineKind::Unreadable;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '\\') {
            if (i + 1 == text.size())
                return LineKind::Unreadable;
            ++i;
        } else if (text[i] == '"') {
            quoted = !quoted;
        } else if (text[i] == ';' && !quoted) {
            break;
        }
    }
    const qsizetype equals = text.indexOf('=');
    if (quoted || equals < 0 || text.first(equals).trimmed().isEmpty())
        return LineKind::Unreadable;
    return LineKind::Key;
}

// Writes the file all or nothing; the reason when it failed.
QString writeWhole(const QString& path, const QByteArray& bytes) {
    fileoutput::AtomicFile file(path);
    if (!file.open() || !file.write(bytes) || !file.commit())
        return fileoutput::causeText(file.errorNumber());
    return {};
}

// The first of "<path>.unlesbar", "<path>.unlesbar-2", … that does not exist.
QString asidePathFor(const QString& path) {
    QString aside = path + QStringLiteral(".unlesbar");
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = path + QStringLiteral(".unlesbar-%1").arg(n);
    return aside;
}

} // namespace

SettingsFileCheck checkSettingsFile(const QString& path) {
    SettingsFileCheck check;
    check.path = path;
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return check;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        check.finding = SettingsFileCheck::Finding::CannotOpen;
        return check;
    }
    const QByteArray bytes = file.readAll();
    file.close();

    // QSettings skips a byte order mark and ends a line at a line feed or a carriage return
    // alike.
    const QByteArray text = bytes.startsWith("\xef\xbb\xbf") ? bytes.sliced(3) : bytes;
    QByteArray readable;
    int readableLines = 0;
    bool groupUnreadable = false;
    const QList<QByteArray> lines =
        QByteArray(text).replace("\r\n", "\n").replace('\r', '\n').split('\n');
    // The empty rest after the last line's end is no line.
    const qsizetype count = lines.size() - (lines.last().isEmpty() ? 1 : 0);
    for (qsizetype n = 0; n < count; ++n) {
        LineKind kind = kindOf(lines[n]);
        if (kind == LineKind::Group)
            groupUnreadable = false;
        else if (kind == LineKind::Unreadable && lines[n].trimmed().startsWith('['))
            groupUnreadable = true;
        else if (kind == LineKind::Key && groupUnreadable)
            kind = LineKind::Unreadable;
        if (kind == LineKind::Unreadable) {
            check.unreadableLines << static_cast<int>(n + 1);
            continue;
        }
        if (kind != LineKind::Blank)
            ++readableLines;
        readable += lines[n] + '\n';
    }
    if (check.unreadableLines.isEmpty())
        return check;

    const QString aside = asidePathFor(path);
    if (bytes.contains('\0') || check.unreadableLines.size() > readableLines) {
        check.finding = SettingsFileCheck::Finding::NotSettings;
        check.unreadableLines.clear();
        QFile whole(path);
        if (whole.rename(aside)) {
            check.keptAs = aside;
        } else {
            check.failedFile = aside;
            check.failureReason = whole.errorString();
        }
        return check;
    }
    check.finding = SettingsFileCheck::Finding::UnreadableLines;
    if (const QString reason = writeWhole(aside, bytes); !reason.isEmpty()) {
        check.failedFile = aside;
        check.failureReason = reason;
        return check;
    }
    check.keptAs = aside;
    if (const QString reason = writeWhole(path, readable); !reason.isEmpty()) {
        check.failedFile = path;
        check.failureReason = reason;
    }
    return check;
}

QString settingsFileMessage(const SettingsFileCheck& check) {
    const QString path = QDir::toNativeSeparators(check.path);
    const QString keptAs = QDir::toNativeSeparators(check.keptAs);
    QStringList numbers;
    for (const int line : check.unreadableLines.first(qMin(check.unreadableLines.size(), 10)))
        numbers << QString::number(line);
    if (check.unreadableLines.size() > 10)
        numbers << QStringLiteral("…");
    const QString lines =
        check.unreadableLines.size() == 1
            ? SettingsTexts::tr("Zeile %1").arg(numbers.join(QString()))
            : SettingsTexts::tr("Zeilen %1").arg(numbers.join(QStringLiteral(", ")));
    const QString failure =
        check.failedFile.isEmpty()
            ? QString()
            : fileoutput::cannotCreateMessage(check.failedFile, check.failureReason);
    switch (check.finding) {
    case SettingsFileCheck::Finding::Sound:
        return {};
    case SettingsFileCheck::Finding::CannotOpen:
        return SettingsTexts::tr("Die Einstellungsdatei \"%1\" kann nicht gelesen werden; Kalvero "
                                 "beginnt mit den Standardeinstellungen.")
            .arg(path);
    case SettingsFileCheck::Finding::NotSettings:
        if (check.keptAs.isEmpty())
            return SettingsTexts::tr("Die Einstellungsdatei \"%1\" ist nicht lesbar und kann nicht "
                                     "beiseitegelegt werden; Kalvero beginnt mit den "
                                     "Standardeinstellungen. %2")
                .arg(path, failure);
        return SettingsTexts::tr("Die Einstellungsdatei \"%1\" ist nicht lesbar. Sie wurde "
                                 "unverändert als \"%2\" aufbewahrt; Kalvero beginnt mit den "
                                 "Standardeinstellungen.")
            .arg(path, keptAs);
    case SettingsFileCheck::Finding::UnreadableLines:
        if (check.keptAs.isEmpty())
            return SettingsTexts::tr("In der Einstellungsdatei \"%1\" sind Zeilen nicht lesbar "
                                     "(%2); sie kann nicht beiseitegelegt werden. %3")
                .arg(path, lines, failure);
        if (!failure.isEmpty())
            return SettingsTexts::tr("In der Einstellungsdatei \"%1\" sind Zeilen nicht lesbar "
                                     "(%2). Sie wurde unverändert als \"%3\" aufbewahrt, kann "
                                     "aber nicht bereinigt werden. %4")
                .arg(path, lines, keptAs, failure);
        return SettingsTexts::tr("In der Einstellungsdatei \"%1\" sind Zeilen nicht lesbar (%2). "
                                 "Sie wurde unverändert als \"%3\" aufbewahrt; die übrigen "
                                 "Einstellungen gelten weiter.")
            .arg(path, lines, keptAs);
    }
    return {};
}

QString settingsWriteObstacle(const QString& path) {
    const QFileInfo info(path);
    if (info.exists()) {
        QFile file(path);
        return file.open(QIODevice::ReadWrite) ? QString() : path;
    }
    // A missing file is made in its folder, and missing folders on the way to it.
    const QString folder = info.absolutePath();
    QString existing = folder;
    while (!QFileInfo::exists(existing) && !QDir(existing).isRoot())
        existing = QFileInfo(existing).absolutePath();
    const QFileInfo nearest(existing);
    if (!nearest.isDir())
        return existing;
    if (existing != folder)
        return nearest.isWritable() ? QString() : existing;
    QTemporaryFile probe(path);
    return probe.open() ? QString() : folder;
}

QString settingsNotWritableMessage(const QString& obstacle) {
    if (obstacle.isEmpty())
        return {};
    return SettingsTexts::tr("Die Einstellungen können nicht gespeichert werden: \"%1\" darf nicht "
                             "beschrieben werden. Was in dieser Sitzung eingestellt wird "
                             "(Grenzwerte, Betriebsart, Sprache, Fenster), wird nicht "
                             "aufbewahrt.")
        .arg(QDir::toNativeSeparators(obstacle));
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
    if (values.unsoundKeys.contains(QStringLiteral("Sicherungen")))
        settings.setValue(QStringLiteral("Sicherungen"), QString::number(values.backupsKept));
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

QString readDisplayValue(QSettings& settings) {
    return settings.value(QStringLiteral("Fenster/Anzeigewert")).toString();
}

void writeDisplayValue(QSettings& settings, const QString& value) {
    settings.setValue(QStringLiteral("Fenster/Anzeigewert"), value);
    settings.sync();
}

bool readDisplaySound(QSettings& settings) {
    // Anything but a stored "false" leaves the sound on.
    return settings.value(QStringLiteral("Fenster/AnzeigeTon")).toString() !=
           QLatin1String("false");
}

void writeDisplaySound(QSettings& settings, bool on) {
    settings.setValue(QStringLiteral("Fenster/AnzeigeTon"), on);
    settings.sync();
}

qint64 readChosenGroup(QSettings& settings) {
    bool ok = false;
    const qint64 id = settings.value(QStringLiteral("Fenster/Gruppe")).toLongLong(&ok);
    return ok && id > 0 ? id : 0;
}

void writeChosenGroup(QSettings& settings, qint64 groupId) {
    settings.setValue(QStringLiteral("Fenster/Gruppe"), groupId);
    settings.sync();
}
