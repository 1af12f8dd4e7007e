// The message boxes every window uses, and the guard that shows a failed handler's error.

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

void plain(MessageService& messages, const QString& text) {
    messages.show({kAppTitle, BoxIcon::None, text, {BoxTexts::tr("OK")}, {}});
}

void error(MessageService& messages, const QString& text) {
    messages.show({BoxTexts::tr("Fehler"), BoxIcon::Error, text, {BoxTexts::tr("OK")}, {}});
}

void information(MessageService& messages, const QString& text) {
    messages.show(
        {BoxTexts::tr("Informationen"), BoxIcon::Information, text, {BoxTexts::tr("OK")}, {}});
}

void generalError(MessageService& messages, const QString& text, const QString& detail) {
    messages.show({kAppTitle, BoxIcon::Error, text, {BoxTexts::tr("OK")}, detail});
}

bool confirm(MessageService& messages, const QString& text, const QStringList& buttons) {
    return messages.show({BoxTexts::tr("Bestätigen"), BoxIcon::Question, text, buttons, {}}) == 0;
}

bool confirmDestructive(MessageService& messages, const QString& text, const QStringList& buttons) {
    return messages.show({BoxTexts::tr("Bestätigen"),
                          BoxIcon::Question,
                          text,
                          buttons,
                          {},
                          static_cast<int>(buttons.size()) - 1}) == 0;
}

} // namespace boxes

void runGuarded(MessageService& messages, const std::function<void()>& handler) {
    const auto failure = failureOf(handler);
    if (!failure)
        return;
    try {
        boxes::generalError(messages, errorReportText(failure->text), failure->detail);
    } catch (...) {
        // A failing message box must not take the event loop down with it; the error is
        // written to the log instead.
        qWarning("Kalvero: %s", qPrintable(failure->text));
    }
}
