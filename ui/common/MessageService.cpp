#include "ui/common/MessageService.h"

#include "core/base/Errors.h"

#include <QCoreApplication>

namespace {

// The titles and buttons of the boxes, in the translation context "MessageService".
struct BoxTexts {
    Q_DECLARE_TR_FUNCTIONS(MessageService)
};

} // namespace

namespace boxes {

void plain(MessageService& ui, const QString& text) {
    ui.show({kAppTitle, BoxIcon::None, text, {BoxTexts::tr("OK")}, {}});
}

void error(MessageService& ui, const QString& text) {
    ui.show({BoxTexts::tr("Fehler"), BoxIcon::Error, text, {BoxTexts::tr("OK")}, {}});
}

void information(MessageService& ui, const QString& text) {
    ui.show({BoxTexts::tr("Informationen"), BoxIcon::Information, text, {BoxTexts::tr("OK")}, {}});
}

void generalError(MessageService& ui, const QString& text, const QString& detail) {
    ui.show({kAppTitle, BoxIcon::Error, text, {BoxTexts::tr("OK")}, detail});
}

bool confirm(MessageService& ui, const QString& text, const QStringList& buttons) {
    return ui.show({BoxTexts::tr("Bestätigen"), BoxIcon::Question, text, buttons, {}}) == 0;
}

bool confirmDestructive(MessageService& ui, const QString& text, const QStringList& buttons) {
    return ui.show({BoxTexts::tr("Bestätigen"),
                    BoxIcon::Question,
                    text,
                    buttons,
                    {},
                    static_cast<int>(buttons.size()) - 1}) == 0;
}

} // namespace boxes

void runGuarded(MessageService& ui, const std::function<void()>& handler) {
    const auto failure = failureOf(handler);
    if (!failure)
        return;
    try {
        boxes::generalError(ui, errorReportText(failure->text), failure->detail);
    } catch (...) {
        // A failing message box must not take the event loop down with it; the error is
        // written to the log instead.
        qWarning("Kalvero: %s", qPrintable(failure->text));
    }
}
