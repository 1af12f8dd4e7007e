#include "core/store/AthleteRepository.h"
#include "core/store/Database.h"
#include "core/store/MeasurementRepository.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Runs the program with the given arguments, environment additions and settings file (none
// when empty), its data and settings in `dir`; without a display, so that a window could not
// open.
struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};
// `wrapper`, when given, is a command that runs the program (its path and arguments follow).
Run runKalvero(const QTemporaryDir& dir, const QStringList& arguments,
               const QMap<QString, QString>& variables, const QByteArray& settings = {},
               const QStringList& wrapper = {}) {
    if (!settings.isEmpty()) {
        QDir().mkpath(dir.filePath("config/Morvek"));
        QFile f(dir.filePath("config/Morvek/QRV.conf"));
        if (!f.open(QIODevice::WriteOnly))
            return {};
        f.write(settings);
    }
    QProcess kalvero;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"KALVERO_TIMING_UNIT", "KALVERO_SERVICE_DEVICE", "DISPLAY",
                             "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(name);
    for (auto it = variables.begin(); it != variables.end(); ++it)
        env.insert(it.key(), it.value());
    env.insert("KALVERO_DATA_DIR", dir.filePath("data"));
    env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
    kalvero.setProcessEnvironment(env);
    if (wrapper.isEmpty())
        kalvero.start(KALVERO_BINARY, arguments);
    else
        kalvero.start(wrapper.first(), wrapper.mid(1) + QStringList{KALVERO_BINARY} + arguments);
    if (!kalvero.waitForFinished(20000) || kalvero.exitStatus() != QProcess::NormalExit)
        return {};
    return {kalvero.exitCode(), QString::fromUtf8(kalvero.readAllStandardOutput()),
            QString::fromUtf8(kalvero.readAllStandardError())};
}

} // namespace

// The program as a whole, started as a user starts it.
class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void badDeviceChoiceStopsBeforeAnyWindow_data() {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<QString>("variable");
        QTest::addColumn<QString>("choice");
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QString>("message");
        const QString unit = "KALVERO_TIMING_UNIT";
        QTest::newRow("byte out of range") << QByteArray("devices: 1\n500: 0 300\n") << unit
                                           << "simulator:%1" << QByteArray() << "unit.txt:2:";
        QTest::newRow("unknown setting")
            << QByteArray("speed: 3\n") << unit << "simulator:%1" << QByteArray() << "unit.txt:1:";
        QTest::newRow("missing file")
            << QByteArray() << unit << "simulator:%1-missing" << QByteArray() << "unit.txt-missing";
        QTest::newRow("unknown driver")
            << QByteArray() << unit << "telepathy" << QByteArray() << "\"telepathy\"";
        QTest::newRow("missing device file")
            << QByteArray() << unit << "serial:%1-missing" << QByteArray()
            << "serial:%1-missing: no such device file";
        QTest::newRow("device file is no terminal")
            << QByteArray("text") << unit << "serial:%1" << QByteArray()
            << "serial:%1: not a serial line (tty)";
        QTest::newRow("service device: unknown value")
            << QByteArray() << "KALVERO_SERVICE_DEVICE"
            << "/dev/ttyUSB1" << QByteArray() << "KALVERO_SERVICE_DEVICE: unknown value";
        QTest::newRow("settings file")
            << QByteArray() << ""
            << "" << QByteArray("[Gerät]\nZeitmessung=serial:/nonexistent\n")
            << "Gerät/Zeitmessung in %2: serial:/nonexistent: no such device file";
    }
    void badDeviceChoiceStopsBeforeAnyWindow() {
        QFETCH(QByteArray, script);
        QFETCH(QString, variable);
        QFETCH(QString, choice);
        QFETCH(QByteArray, settings);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString path = dir.filePath("unit.txt");
        if (!script.isEmpty()) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(script);
        }
        const auto fill = [&](const QString& text) {
            return QString(text)
                .replace("%1", path)
                .replace("%2", dir.filePath("config/Morvek/QRV.conf"));
        };
        QMap<QString, QString> variables{{"QT_QPA_PLATFORM", "offscreen"}};
        if (!variable.isEmpty())
            variables.insert(variable, fill(choice));

        const Run run = runKalvero(dir, {}, variables, settings);
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.startsWith("kalvero: ") && run.err.contains(fill(message)),
                 qPrintable(run.err));
        // Nothing was opened: no database was created.
        QVERIFY(!QFile::exists(dir.filePath("data/qrv.sqlite")));
    }

    // The options run without a window: there is no display here, a window would fail.
    void optionsWithoutWindow_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::addColumn<QString>("language"); // "Einstellungen/Sprache"
        QTest::newRow("version") << QStringList{"--version"} << 0
                                 << QStringLiteral("kalvero %1.%2.%3.%4\n")
                                        .arg(KALVERO_VERSION_MAJOR)
                                        .arg(KALVERO_VERSION_MINOR)
                                        .arg(KALVERO_VERSION_PATCH)
                                        .arg(KALVERO_VERSION_TWEAK)
                                 << ""
                                 << "de";
        QTest::newRow("help") << QStringList{"--help"} << 0 << "Aufruf: kalvero"
                              << ""
                              << "de";
        // The environment wins over the settings file, whose value would be refused.
        QTest::newRow("list devices") << QStringList{"--list-devices"} << 0
                                      << "Zeitmessung: Simulator (KALVERO_TIMING_UNIT)\n"
                                      << ""
                                      << "de";
        QTest::newRow("unknown option") << QStringList{"--versoin"} << 2 << ""
                                        << "kalvero: unbekannte Option \"--versoin\""
                                        << "de";
        // A take-over that cannot read its folder writes nothing, not even a new database.
        QTest::newRow("import from a missing folder")
            << QStringList{"--import-paradox", "/nonexistent"} << 2 << ""
            << "kalvero: "
            << "de";
        // The same in English, as the settings choose.
        QTest::newRow("help in English") << QStringList{"--help"} << 0 << "Usage: kalvero"
                                         << ""
                                         << "en";
        QTest::newRow("list devices in English") << QStringList{"--list-devices"} << 0
                                                 << "Timing unit: simulator (KALVERO_TIMING_UNIT)\n"
                                                 << ""
                                                 << "en";
        QTest::newRow("unknown option in English")
            << QStringList{"--versoin"} << 2 << ""
            << "kalvero: unknown option \"--versoin\"\n\"kalvero --help\" shows the options."
            << "en";
    }
    void optionsWithoutWindow() {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QFETCH(QString, language);
        QTemporaryDir dir;
        const Run run = runKalvero(
            dir, arguments, {{"QT_QPA_PLATFORM", "xcb"}, {"KALVERO_TIMING_UNIT", "simulator"}},
            "[Gerät]\nZeitmessung=serial:/nonexistent\n[Einstellungen]\nSprache=" +
                language.toUtf8() + "\n");
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(out.isEmpty() ? run.out.isEmpty() : run.out.contains(out), qPrintable(run.out));
        QVERIFY2(err.isEmpty() ? run.err.isEmpty() : run.err.startsWith(err), qPrintable(run.err));
        QVERIFY(!QFile::exists(dir.filePath("data/qrv.sqlite")));
    }

    // The settings file is checked before anything reads it: a line that QSettings would read
    // into the one before (an open quote) does not hide the language after it, and a file that
    // is no settings file is kept aside and the system's language holds.
    void aBadSettingsFileIsKeptAside_data() {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QByteArray>("left"); // the settings file afterwards
        QTest::newRow("an open quote")
            << QByteArray("[Einstellungen]\nName=\"Anna\nSprache=en\n") << "Usage: kalvero"
            << QByteArray("[Einstellungen]\nSprache=en\n");
        QTest::newRow("a picture")
            << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << "Aufruf: kalvero" << QByteArray();
    }
    void aBadSettingsFileIsKeptAside() {
        QFETCH(QByteArray, settings);
        QFETCH(QString, out);
        QFETCH(QByteArray, left);
        QTemporaryDir dir;
        const Run run = runKalvero(dir, {"--help"}, {{"LC_ALL", "de_DE.UTF-8"}}, settings);
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.out.contains(out), qPrintable(run.out));
        const QString path = dir.filePath("config/Morvek/QRV.conf");
        QVERIFY2(run.err.startsWith("kalvero: ") && run.err.contains(path + ".unlesbar"),
                 qPrintable(run.err));
        QFile kept(path + ".unlesbar");
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), settings);
        QFile file(path);
        QCOMPARE(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray(), left);
    }

    // A database on a medium mounted read-only (here a read-only bind mount in a mount
    // namespace of the test's own), kept in a write-ahead log whose index file is absent, is
    // read as it stands: the export of all athletes is written elsewhere, exit status 0, and
    // nothing appears beside the database.
    void aDatabaseOnAReadOnlyMediumIsRead() {
        QTemporaryDir dir;
        const QString data = dir.filePath("data");
        {
            Database db(StoreLocation::embedded(data));
            const qint64 id = AthleteRepository(db).add(Athlete{0, "Meier", "Anna", {}, {}, 1, {}});
            MeasurementRepository(db).recordFirstJump(id, QDateTime::currentDateTime(),
                                                      {200, 500, 1.25, 1});
        }
        QFile::remove(data + "/qrv.sqlite-shm");
        QFile file(data + "/qrv.sqlite");
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.read(20).at(18), char(2)); // the write-ahead log's mark
        file.close();
        const QStringList before = QDir(data).entryList(QDir::Files | QDir::Hidden);
        // Mounting takes a namespace of its own, which a user gets by `unshare -rm` where
        // the system allows it.
        const QString unshare = QStandardPaths::findExecutable("unshare");
        const QStringList mountReadOnly{
            unshare,
            "-rm",
            "sh",
            "-c",
            "mount --bind \"$1\" \"$1\" && mount -o remount,bind,ro \"$1\" && "
            "! touch \"$1/probe\" 2>/dev/null && shift && exec \"$@\"",
            "sh",
            data};
        QProcess probe;
        probe.start(mountReadOnly.first(), mountReadOnly.mid(1) + QStringList{"true"});
        if (unshare.isEmpty() || !probe.waitForFinished(10000) || probe.exitCode() != 0)
            QSKIP("this system lets no test mount a folder read-only");

        const QString csv = dir.filePath("alle.csv");
        const Run run =
            runKalvero(dir, {"--export-csv", csv}, {{"LC_ALL", "de_DE.UTF-8"}}, {}, mountReadOnly);
        QCOMPARE(run.err, QString());
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.out.contains("1 Sprünge von 1 Sportlern"), qPrintable(run.out));
        QVERIFY(QFileInfo(csv).size() > 0);
        QCOMPARE(QDir(data).entryList(QDir::Files | QDir::Hidden), before);
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
