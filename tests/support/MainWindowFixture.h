#pragma once

#include "app/Application.h"
#include "core/base/Clock.h"
#include "core/link/SimulatedUnit.h"
#include "core/link/UnitScript.h"
#include "core/station/Station.h"
#include "support/RecordingMessageService.h"
#include "support/TempDataDir.h"
#include "ui/common/AppContext.h"
#include "ui/main/MainWindow.h"

#include <QSettings>
#include <QTemporaryDir>

#include <memory>

// A main window on a fresh store (see TestStore) and settings file of its own, with recording
// message boxes, a virtual clock and a simulated timing unit that plays a script.
struct MainWindowFixture {
    QTemporaryDir dir;
    TestStore testStore;
    RecordingMessageService messages;
    VirtualClock clock{1000, 1};
    std::unique_ptr<SimulatedUnit> unit;
    QString settingsPath;
    QStringList arguments;
    std::unique_ptr<AppContext> context;
    std::unique_ptr<Station> station;
    std::unique_ptr<MainWindow> form;

    explicit MainWindowFixture(QStringList args = {})
        : settingsPath(dir.filePath(QStringLiteral("QRV.conf"))), arguments(std::move(args)) {
        playScript({});
    }

    // Puts a timing unit playing `script` (the script format of KALVERO_TIMING_UNIT) behind
    // the link. Takes effect for the next window created.
    void playScript(const QByteArray& script) {
        QString error;
        const auto parsed = parseUnitScript(script, QStringLiteral("test"), &error);
        if (!parsed)
            qFatal("bad test script: %s", qPrintable(error));
        unit = createScriptedUnit(clock, *parsed);
    }

    // The simulated timing unit (the first device).
    SimulatedDevice& timingUnit() { return unit->device(0); }

    // The store the window works on: the file in dataDirectory(), or the test's database on
    // the private server.
    StoreLocation location() const {
        return testStore.onServer() ? testStore.location : StoreLocation::embedded(dataDirectory());
    }
    QString dataDirectory() const { return dir.filePath(QStringLiteral("data/")); }
    bool onServer() const { return testStore.onServer(); }
    // From the next connection on, the store can be read but not written: the file is made
    // read-only, or the server's database takes read-only transactions only.
    bool makeReadOnly() {
        if (!onServer())
            return QFile::setPermissions(dataDirectory() + StoreLocation::kFileName,
                                         QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        testStore.maintenance(
            QStringLiteral("ALTER DATABASE %1 SET default_transaction_read_only = on")
                .arg(testStore.serverDatabase));
        return true;
    }

    MainWindow& create() {
        const QString path = settingsPath;
        context = std::make_unique<AppContext>(AppContext{
            messages, clock, *unit, location(),
            [path] { return std::make_unique<QSettings>(path, QSettings::IniFormat); }, arguments,
            onServer() ? dir.filePath(QStringLiteral("journal/")) : QString()});
        form.reset();
        station = std::make_unique<Station>(*unit, clock);
        form = createWindows(*context, *station);
        return *form;
    }
    MainWindow& start() {
        create();
        form->show();
        return *form;
    }
    // Closes and destroys the window as the end of the program does.
    void finish() {
        if (form) {
            form->close();
            form.reset();
        }
    }

    QSettings settings() const { return QSettings(settingsPath, QSettings::IniFormat); }
    void store(const QString& name, const QString& value) {
        QSettings s(settingsPath, QSettings::IniFormat);
        s.setValue(QStringLiteral("Einstellungen/") + name, value);
    }
    QString stored(const QString& name) const {
        return settings().value(QStringLiteral("Einstellungen/") + name).toString();
    }
};
