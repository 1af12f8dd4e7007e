#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

// One text of the translation file: its context, German source and English translation (of a
// text with a number, "%n", each English form).
struct Entry {
    QString context;
    QString source;
    QString translation;
    bool finished = false;
    QStringList numerusForms;
};

QList<Entry> readEntries(const QString& path) {
    QList<Entry> entries;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return entries;
    QXmlStreamReader xml(&file);
    QString context;
    Entry entry;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() && xml.name() == QLatin1String("message")) {
            entries << entry;
            continue;
        }
        if (!xml.isStartElement())
            continue;
        const auto name = xml.name();
        if (name == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (name == QLatin1String("message")) {
            entry = Entry{context, {}, {}, false, {}};
        } else if (name == QLatin1String("source")) {
            entry.source = xml.readElementText();
        } else if (name == QLatin1String("translation")) {
            const QString type = xml.attributes().value(QLatin1String("type")).toString();
            // A text with a number has a form per English plural, each of which must be there.
            while (!xml.atEnd()) {
                xml.readNext();
                if (xml.isEndElement() && xml.name() == QLatin1String("translation"))
                    break;
                if (xml.isStartElement() && xml.name() == QLatin1String("numerusform"))
                    entry.numerusForms << xml.readElementText();
                else if (xml.isCharacters())
                    entry.translation += xml.text();
            }
            if (!entry.numerusForms.isEmpty())
                entry.translation = entry.numerusForms.join(QLatin1Char('|'));
            entry.finished = type.isEmpty() && !entry.translation.isEmpty() &&
                             !entry.numerusForms.contains(QString());
        }
    }
    return entries;
}

// The placeholders of a text (%1 … %99), sorted, and its access key ("&x"; "&&" is a
// plain ampersand).
QStringList placeholders(const QString& text) {
    static const QRegularExpression marker(QStringLiteral("%\\d+"));
    QStringList found;
    for (const auto& match : marker.globalMatch(text))
        found << match.captured();
    found.sort();
    return found;
}

bool hasAccessKey(const QString& text) {
    return QString(text).remove(QStringLiteral("&&")).contains(QLatin1Char('&'));
}

// A literal's text as the compiler reads it: its escapes resolved (quote, backslash, n, t, uXXXX).
QString unescaped(const QString& literal) {
    QString text;
    for (qsizetype i = 0; i < literal.size(); ++i) {
        if (literal[i] != QLatin1Char('\\') || i + 1 == literal.size()) {
            text += literal[i];
            continue;
        }
        const QChar next = literal[++i];
        if (next == QLatin1Char('n')) {
            text += QLatin1Char('\n');
        } else if (next == QLatin1Char('t')) {
            text += QLatin1Char('\t');
        } else if (next == QLatin1Char('u') && i + 4 < literal.size()) {
            text += QChar(literal.mid(i + 1, 4).toUShort(nullptr, 16));
            i += 4;
        } else {
            text += next;
        }
    }
    return text;
}

// The texts the sources ask to translate, as the compiler joins their literals: the first
// argument of tr() and the second of translate() and QT_TRANSLATE_NOOP, where it is written
// out; "file: text" each. A call whose text is not a literal (a table's entry) is left to the
// place the table's texts are marked.
QStringList textsAskedFor(const QString& root) {
    static const QRegularExpression call(
        QStringLiteral(R"(\b(tr|translate|QT_TRANSLATE_NOOP)\s*\(\s*)"));
    static const QRegularExpression literal(QStringLiteral(R"re(\G\s*"((?:[^"\\]|\\.)*)")re"));
    static const QRegularExpression context(QStringLiteral(R"re(\G"(?:[^"\\]|\\.)*"\s*,\s*)re"));
    QStringList texts;
    for (const QString& folder :
         {QStringLiteral("core"), QStringLiteral("ui"), QStringLiteral("app")}) {
        QDirIterator files(root + QLatin1Char('/') + folder,
                           {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                           QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString path = files.next();
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly))
                continue;
            const QString source = QString::fromUtf8(file.readAll());
            for (const auto& found : call.globalMatch(source)) {
                qsizetype at = found.capturedEnd();
                if (found.captured(1) != QLatin1String("tr")) {
                    const auto skipped =
                        context.match(source, at, QRegularExpression::NormalMatch,
                                      QRegularExpression::AnchorAtOffsetMatchOption);
                    if (!skipped.hasMatch())
                        continue;
                    at = skipped.capturedEnd();
                }
                QString text;
                bool any = false;
                for (auto part = literal.match(source, at); part.hasMatch();
                     part = literal.match(source, at)) {
                    text += part.captured(1);
                    at = part.capturedEnd();
                    any = true;
                }
                if (any)
                    texts << QStringLiteral("%1: %2").arg(path.mid(root.size() + 1),
                                                          unescaped(text));
            }
        }
    }
    return texts;
}

} // namespace

// The English translation is complete: lupdate, run over the sources into a copy of
// translations/kalvero_en.ts as tools/update-translations.sh runs it, finds no text of the
// program without a finished translation, and lupdate can place every text in the context
// the program asks for it at run time.
class TestTranslations : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString updated_;
    QString lupdateOutput_;

    // Files of others that still ask for their texts through a helper lupdate cannot follow;
    // their texts are in the translation but are not found at run time until the helper is
    // a class with Q_DECLARE_TR_FUNCTIONS.
    const QStringList pendingElsewhere_;

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        updated_ = dir_.filePath(QStringLiteral("kalvero_en.ts"));
        const QString source = QStringLiteral(KALVERO_SOURCE_DIR);
        QVERIFY(QFile::copy(source + QStringLiteral("/translations/kalvero_en.ts"), updated_));
        QProcess update;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LUPDATE"), QStringLiteral(KALVERO_LUPDATE));
        update.setProcessEnvironment(environment);
        update.setProcessChannelMode(QProcess::MergedChannels);
        update.start(source + QStringLiteral("/tools/update-translations.sh"), {updated_});
        QVERIFY2(update.waitForFinished(60000), "lupdate did not finish within a minute");
        lupdateOutput_ = QString::fromLocal8Bit(update.readAll());
        QVERIFY2(update.exitStatus() == QProcess::NormalExit && update.exitCode() == 0,
                 qPrintable(lupdateOutput_));
    }

    void everyTextTranslated() {
        const QList<Entry> entries = readEntries(updated_);
        QVERIFY2(entries.size() > 300, qPrintable(lupdateOutput_));
        QStringList missing;
        for (const Entry& entry : entries)
            if (!entry.finished)
                missing << QStringLiteral("%1: \"%2\"").arg(entry.context, entry.source);
        QVERIFY2(missing.isEmpty(),
                 qPrintable(QStringLiteral("%1 texts without a finished English translation (run "
                                           "tools/update-translations.sh and fill them in):\n%2")
                                .arg(missing.size())
                                .arg(missing.join(QLatin1Char('\n')))));
    }

    // A translation keeps the placeholders of its source, and an access key where the
    // source has one.
    void placeholdersAndAccessKeysKept() {
        QStringList wrong;
        for (const Entry& entry : readEntries(updated_)) {
            if (!entry.finished)
                continue;
            const QStringList forms =
                entry.numerusForms.isEmpty() ? QStringList{entry.translation} : entry.numerusForms;
            bool kept = true;
            for (const QString& form : forms)
                kept = kept && placeholders(entry.source) == placeholders(form) &&
                       hasAccessKey(entry.source) == hasAccessKey(form);
            if (!kept)
                wrong << QStringLiteral("%1: \"%2\" -> \"%3\"")
                             .arg(entry.context, entry.source, entry.translation);
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QLatin1Char('\n'))));
    }

    // Every text a call asks to translate is one lupdate found (a text it cannot read is
    // shown in German in every language), and a text with a number ("%n") is in the file with
    // its plural forms.
    void everyTextFoundByLupdate() {
        QHash<QString, bool> found; // source -> has plural forms
        for (const Entry& entry : readEntries(updated_))
            found.insert(entry.source, !entry.numerusForms.isEmpty());
        const QStringList asked = textsAskedFor(QStringLiteral(KALVERO_SOURCE_DIR));
        QVERIFY2(asked.size() > 300, qPrintable(QString::number(asked.size())));
        QStringList missing;
        for (const QString& place : asked) {
            const QString text = place.section(QStringLiteral(": "), 1);
            const auto entry = found.constFind(text);
            if (entry == found.cend())
                missing << place;
            else if (text.contains(QLatin1String("%n")) && !*entry)
                missing << place + QStringLiteral(" (without plural forms)");
        }
        QVERIFY2(missing.isEmpty(),
                 qPrintable(QStringLiteral("texts lupdate does not take into the translation:\n") +
                            missing.join(QLatin1Char('\n'))));
    }

    // lupdate warns where a tr() is not in a class with Q_OBJECT or Q_DECLARE_TR_FUNCTIONS:
    // the context it records is then not the one the program asks in.
    void everyContextFound() {
        QStringList warnings;
        QStringList stillPending;
        for (const QString& line : lupdateOutput_.split(QLatin1Char('\n'))) {
            if (!line.contains(QLatin1String("Q_OBJECT")) &&
                !line.contains(QLatin1String("Qualifying")) &&
                !line.contains(QLatin1String("Cannot invoke")))
                continue;
            bool pending = false;
            for (const QString& file : pendingElsewhere_)
                if (line.contains(file)) {
                    stillPending << file;
                    pending = true;
                }
            if (!pending)
                warnings << line.trimmed();
        }
        QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join(QLatin1Char('\n'))));
        for (const QString& file : pendingElsewhere_)
            QVERIFY2(stillPending.contains(file),
                     qPrintable(file + QStringLiteral(" is sound now: take it off the list")));
    }
};

QTEST_GUILESS_MAIN(TestTranslations)
#include "tst_translations.moc"
