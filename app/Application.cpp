#include "app/Application.h"

#include "ui/AthleteEditorDialog.h"
#include "ui/AthleteSearchDialog.h"
#include "ui/Icons.h"
#include "ui/LimitsDialog.h"
#include "ui/MainWindow.h"
#include "ui/ServicePanel.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

std::unique_ptr<MainWindow> createWindows(AppContext& context) {
    auto window = std::make_unique<MainWindow>(context);
    auto* editor = new AthleteEditorDialog(context.ui, window.get());
    auto* limits = new LimitsDialog(context.ui, window->limits(), window.get());
    limits->setWindowIcon(icons::image(10));
    auto* search = new AthleteSearchDialog(window.get());
    auto* servicePanel =
        new ServicePanel(window->deviceLink(), context.clock, context.ui, window.get());
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
