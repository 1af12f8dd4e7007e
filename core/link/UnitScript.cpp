// Reads the script of a simulated timing unit.

#include "core/link/UnitScript.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>

namespace {

// A whole decimal number within 0..max, nothing else.
std::optional<quint32> wholeNumber(const QString& text, quint32 max) {
    if (text.isEmpty() || text.size() > 10)
        return std::nullopt;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    }
    const qulonglong value = text.toULongLong();
    if (value > max)
        return std::nullopt;
    return static_cast<quint32>(value);
}

bool isNumberLike(const QString& text) {
    return !text.isEmpty() &&
           (text[0].isDigit() || text[0] == QLatin1Char('-') || text[0] == QLatin1Char('+'));
}

const QRegularExpression kBlanks(QStringLiteral("\\s+"));

struct LineError {
    QString text;
};

// A piece of the script as a message quotes it: control characters written as escapes, a long
// piece cut after 80 characters.
QString shown(const QString& piece) {
    constexpr qsizetype kLongest = 80;
    QString out;
    for (const QChar c : piece) {
        if (out.size() >= kLongest) {
            out += QStringLiteral("…");
            break;
        }
        switch (c.unicode()) {
        case u'\t':
            out += QStringLiteral("\\t");
            break;
        case u'\r':
            out += QStringLiteral("\\r");
            break;
        default:
            if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    return out;
}

quint8 parseByte(const QString& word) {
    if (const auto value = wholeNumber(word, 255))
        return static_cast<quint8>(*value);
    if (isNumberLike(word)) {
        bool ok = false;
        word.toLongLong(&ok);
        if (ok)
            throw LineError{QStringLiteral("byte %1 out of range 0..255").arg(shown(word))};
    }
    throw LineError{QStringLiteral("\"%1\" is not a byte (0..255)").arg(shown(word))};
}

} // namespace

std::optional<UnitScript> parseUnitScript(const QByteArray& text, const QString& fileName,
                                          QString* error) {
    UnitScript script;
    QSet<QString> settingsSeen;
    bool bytesSeen = false;

    const QList<QByteArray> lines = text.split('\n');
    for (qsizetype index = 0; index < lines.size(); ++index) {
        const int lineNumber = static_cast<int>(index) + 1;
        try {
            QByteArray raw = lines[index];
            if (index == 0 && raw.startsWith("\xEF\xBB\xBF"))
                raw.remove(0, 3);
            QString line = QString::fromUtf8(raw);
            if (line.toUtf8() != raw) // invalid sequences came back as replacement characters
                throw LineError{QStringLiteral("not valid UTF-8")};
            const qsizetype comment = line.indexOf(QLatin1Char('#'));
            if (comment >= 0)
                line.truncate(comment);
            line = line.trimmed();
            if (line.isEmpty())
                continue;

            const qsizetype colon = line.indexOf(QLatin1Char(':'));
            if (colon < 0)
                throw LineError{
                    QStringLiteral("expected \"setting: value\" or \"delay: bytes\", got \"%1\"")
                        .arg(shown(line))};
            const QString key = line.left(colon).trimmed();
            const QString value = line.mid(colon + 1).trimmed();

            if (isNumberLike(key)) {
                const auto delay = wholeNumber(key, UnitScript::kMaxDelayMs);
                if (!delay)
                    throw LineError{
                        QStringLiteral("delay \"%1\" is not a whole number of ms in 0..%2")
                            .arg(shown(key))
                            .arg(UnitScript::kMaxDelayMs)};
                const QStringList words = value.split(kBlanks, Qt::SkipEmptyParts);
                if (words.isEmpty())
                    throw LineError{QStringLiteral("no bytes after \"%1:\"").arg(shown(key))};
                UnitScriptStep step{*delay, {}};
                for (const QString& word : words)
                    step.bytes.append(static_cast<char>(parseByte(word)));
                script.steps.append(step);
                bytesSeen = true;
                continue;
            }

            const QString setting = key.toLower();
            static const QStringList kSettings{
                QStringLiteral("devices"), QStringLiteral("description"),
                QStringLiteral("start-answer"), QStringLiteral("service-devices"),
                QStringLiteral("service-answer")};
            if (!kSettings.contains(setting))
                throw LineError{QStringLiteral("unknown setting \"%1\"").arg(shown(key))};
            if (bytesSeen)
                throw LineError{
                    QStringLiteral("setting \"%1\" after the first byte line").arg(shown(key))};
            if (settingsSeen.contains(setting))
                throw LineError{QStringLiteral("setting \"%1\" given twice").arg(shown(key))};
            settingsSeen.insert(setting);

            if (setting == QLatin1String("devices")) {
                const auto devices = wholeNumber(value, UnitScript::kMaxDevices);
                if (!devices)
                    throw LineError{QStringLiteral("devices must be a whole number in 0..%1")
                                        .arg(UnitScript::kMaxDevices)};
                script.devices = *devices;
            } else if (setting == QLatin1String("description")) {
                if (value.isEmpty())
                    throw LineError{QStringLiteral("description must not be empty")};
                script.description = value;
            } else if (setting == QLatin1String("service-devices")) {
                const auto devices = wholeNumber(value, UnitScript::kMaxServiceDevices);
                if (!devices)
                    throw LineError{QStringLiteral("service-devices must be 0 or 1")};
                script.serviceDevices = *devices;
            } else {
                std::optional<quint8>& answer = setting == QLatin1String("start-answer")
                                                    ? script.startAnswer
                                                    : script.serviceAnswer;
                if (value.compare(QLatin1String("none"), Qt::CaseInsensitive) == 0)
                    answer.reset();
                else if (value.isEmpty())
                    throw LineError{QStringLiteral("%1 needs a byte or \"none\"").arg(setting)};
                else
                    answer = parseByte(value);
            }
        } catch (const LineError& e) {
            if (error)
                *error = QStringLiteral("%1:%2: %3").arg(fileName).arg(lineNumber).arg(e.text);
            return std::nullopt;
        }
    }
    return script;
}

std::optional<UnitScript> loadUnitScript(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    return parseUnitScript(file.readAll(), path, error);
}
