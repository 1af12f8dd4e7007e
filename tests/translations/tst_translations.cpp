#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

// One text of the translation file: its context, German source and English translation.
struct Entry {
    QString context;
    QString source;
    QString translation;
    bool finished = false;
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
            entry = Entry{context, {}, {}, false};
        } else if (name == QLatin1String("source")) {
            entry.source = xml.readElementText();
        } else if (name == QLatin1String("translation")) {
            const QString type = xml.attributes().value(QLatin1String("type")).toString();
            entry.translation = xml.readElementText();
            entry.finished = type.isEmpty() && !entry.translation.isEmpty();
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
            if (placeholders(entry.source) != placeholders(entry.translation) ||
                hasAccessKey(entry.source) != hasAccessKey(entry.translation))
                wrong << QStringLiteral("%1: \"%2\" -> \"%3\"")
                             .arg(entry.context, entry.source, entry.translation);
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QLatin1Char('\n'))));
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
