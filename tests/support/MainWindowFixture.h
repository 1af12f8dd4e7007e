#pragma once

#include "app/AppContext.h"
#include "app/Application.h"
#include "app/Clock.h"
#include "app/MainForm.h"
#include "support/RecordingMessageService.h"

#include <QSettings>
#include <QTemporaryDir>

#include <memory>

// A main window on a fresh data directory and settings file of its own, with recording
// message boxes and a virtual clock.
struct MainWindowFixture {
    QTemporaryDir dir;
    RecordingMessageService ui;
    VirtualClock clock{1000, 1};
    QString settingsPath;
    std::unique_ptr<AppContext> context;
    std::unique_ptr<TForm1> form;

    explicit MainWindowFixture(QStringList arguments = {}) {
        settingsPath = dir.filePath(QStringLiteral("QRV.conf"));
        const QString path = settingsPath;
        context = std::make_unique<AppContext>(
            AppContext{ui, clock, dir.filePath(QStringLiteral("data/")),
                       [path] { return std::make_unique<QSettings>(path, QSettings::IniFormat); },
                       std::move(arguments)});
    }

    QString dataDirectory() const { return context->dataDirectory; }

    TForm1& create() {
        form = createWindows(*context);
        return *form;
    }
    TForm1& start() {
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
