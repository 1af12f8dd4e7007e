#include "ui/MessageService.h"

#include "core/base/Errors.h"

namespace boxes {

void plain(MessageService& ui, const QString& text) {
    ui.show({kAppTitle, BoxIcon::None, text, {QStringLiteral("OK")}, {}});
}

void error(MessageService& ui, const QString& text) {
    ui.show({QStringLiteral("Fehler"), BoxIcon::Error, text, {QStringLiteral("OK")}, {}});
}

void information(MessageService& ui, const QString& text) {
    ui.show(
        {QStringLiteral("Informationen"), BoxIcon::Information, text, {QStringLiteral("OK")}, {}});
}

void generalError(MessageService& ui, const QString& text, const QString& detail) {
    ui.show({kAppTitle, BoxIcon::Error, text, {QStringLiteral("OK")}, detail});
}

bool confirm(MessageService& ui, const QString& text, const QStringList& buttons) {
    return ui.show({QStringLiteral("Bestätigen"), BoxIcon::Question, text, buttons, {}}) == 0;
}

bool confirmDestructive(MessageService& ui, const QString& text, const QStringList& buttons) {
    return ui.show({QStringLiteral("Bestätigen"),
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
