// The guard around a handler: what a failed handler tells the user.

#include "core/base/Errors.h"
#include <QCoreApplication>

namespace {

// The texts of this file that the user reads, in the translation context "Errors".
struct ErrorsTexts {
    Q_DECLARE_TR_FUNCTIONS(Errors)
};

} // namespace

QString errorReportText(const QString& text) {
    if (!text.isEmpty() && text.back().unicode() > QChar(u'.').unicode())
        return text + QLatin1Char('.');
    return text;
}

std::optional<Failure> failureOf(const std::function<void()>& handler) {
    try {
        handler();
        return std::nullopt;
    } catch (const SilentAbort&) {
        return std::nullopt;
    } catch (const AppError& e) {
        return Failure{e.text(), e.detail()};
    } catch (const std::exception& e) {
        return Failure{QString::fromUtf8(e.what()), {}};
    } catch (...) {
        return Failure{ErrorsTexts::tr("Unbekannter Fehler"), {}};
    }
}
