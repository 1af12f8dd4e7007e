// Builds the windows, installs the program's and Qt's texts in the chosen language, and opens the
// user's settings.

#include "app/Application.h"

#include "core/base/Texts.h"
#include "core/station/Station.h"
#include "ui/athletes/AthleteEditorDialog.h"
#include "ui/athletes/AthleteSearchDialog.h"
#include "ui/common/Icons.h"
#include "ui/common/MessageService.h"
#include "ui/device/ServicePanel.h"
#include "ui/main/MainWindow.h"
#include "ui/settings/LimitsDialog.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QStandardPaths>
#include <QTranslator>

std::unique_ptr<MainWindow> createWindows(AppContext& context, Station& station) {
    // Reports of the wrapper come only before the first open: commands of the service panel.
    station.deviceLink().setStatusReporter(
        [&messages = context.messages](const QString& text) { boxes::error(messages, text); });
    auto window = std::make_unique<MainWindow>(context, station);
    auto* editor = new AthleteEditorDialog(context.messages, window.get());
    auto* limits = new LimitsDialog(context.messages, station.limits(), window.get());
    limits->offerLanguageChoice(context.openSettings);
    limits->setWindowIcon(icons::image(icons::Picture::TriggerEdge));
    auto* search = new AthleteSearchDialog(window.get());
    auto* servicePanel =
        new ServicePanel(station.deviceLink(), context.clock, context.messages, window.get());
    window->setDialogs(editor, limits, search, servicePanel);
    return window;
}

namespace {

// One translator each for Qt's texts and the program's, loaded again when the language
// changes.
QTranslator& qtTexts() {
    static QTranslator translator;
    return translator;
}

QTranslator& programTexts() {
    static QTranslator translator;
    return translator;
}

} // namespace

bool installQtTranslations(language::Language language) {
    QTranslator& translator = qtTexts();
    QCoreApplication::removeTranslator(&translator);
    if (language == language::Language::English)
        return true; // Qt's own texts are English
    if (!translator.load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    return QCoreApplication::installTranslator(&translator);
}

bool installProgramTranslation(language::Language language) {
    QTranslator& translator = programTexts();
    QCoreApplication::removeTranslator(&translator);
    if (language == language::Language::German)
        return true; // the program's texts are German
    if (!translator.load(
            QStringLiteral(":/translations/kalvero_%1.qm").arg(language::code(language))))
        return false;
    return QCoreApplication::installTranslator(&translator);
}

language::Language applyLanguage(QSettings& settings, const QLocale& system) {
    const language::Language chosen = language::choose(language::readSetting(settings), system);
    if (!installProgramTranslation(chosen))
        qWarning("Kalvero: the translation into %s is missing", qPrintable(language::code(chosen)));
    installQtTranslations(chosen);
    const QLocale locale = language::localeFor(chosen, system);
    QLocale::setDefault(locale);
    texts::setLocale(locale);
    return chosen;
}

std::unique_ptr<QSettings> userSettings() {
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("Morvek"), QStringLiteral("QRV"));
}

QString userSettingsFile() {
#if defined(Q_OS_WIN) || defined(Q_OS_DARWIN)
    return {}; // the registry, a property list
#else
    // Where QSettings keeps a user's INI file on these systems.
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Morvek/QRV.conf");
#endif
}
