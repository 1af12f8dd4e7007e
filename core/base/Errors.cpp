#include "core/base/Errors.h"

#include "core/base/MessageService.h"

QString errorReportText(const QString& text) {
    if (!text.isEmpty() && text.back().unicode() > QChar(u'.').unicode())
        return text + QLatin1Char('.');
    return text;
}

void runGuarded(MessageService& ui, const std::function<void()>& handler) {
    QString failure;
    try {
        handler();
        return;
    } catch (const SilentAbort&) {
        return;
    } catch (const AppError& e) {
        failure = e.text();
    } catch (const std::exception& e) {
        failure = QString::fromUtf8(e.what());
    } catch (...) {
        failure = QStringLiteral("Unbekannter Fehler");
    }
    try {
        boxes::generalError(ui, errorReportText(failure));
    } catch (...) {
        // A failing message box must not take the event loop down with it.
    }
}
