#include "app/Application.h"

#include "core/station/Station.h"
#include "ui/AthleteEditorDialog.h"
#include "ui/AthleteSearchDialog.h"
#include "ui/Icons.h"
#include "ui/LimitsDialog.h"
#include "ui/MainWindow.h"
#include "ui/MessageService.h"
#include "ui/ServicePanel.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

std::unique_ptr<MainWindow> createWindows(AppContext& context, Station& station) {
    // Reports of the wrapper come only before the first open: commands of the service panel.
    station.deviceLink().setStatusReporter(
        [&ui = context.ui](const QString& text) { boxes::error(ui, text); });
    auto window = std::make_unique<MainWindow>(context, station);
    auto* editor = new AthleteEditorDialog(context.ui, window.get());
    auto* limits = new LimitsDialog(context.ui, station.limits(), window.get());
    limits->setWindowIcon(icons::image(icons::Picture::TriggerEdge));
    auto* search = new AthleteSearchDialog(window.get());
    auto* servicePanel =
        new ServicePanel(station.deviceLink(), context.clock, context.ui, window.get());
    window->setDialogs(editor, limits, search, servicePanel);
    return window;
}

bool installQtTranslations() {
    static QTranslator qtTexts;
    if (!qtTexts.isEmpty())
        return true;
    if (!qtTexts.load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                      QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    return QCoreApplication::installTranslator(&qtTexts);
}

std::unique_ptr<QSettings> userSettings() {
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("Morvek"), QStringLiteral("QRV"));
}
