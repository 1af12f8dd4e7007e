#include "core/base/MessageService.h"

namespace boxes {

void plain(MessageService& ui, const QString& text) {
    ui.show({kAppTitle, BoxIcon::None, text, {QStringLiteral("OK")}});
}

void error(MessageService& ui, const QString& text) {
    ui.show({QStringLiteral("Fehler"), BoxIcon::Error, text, {QStringLiteral("OK")}});
}

void information(MessageService& ui, const QString& text) {
    ui.show({QStringLiteral("Informationen"), BoxIcon::Information, text, {QStringLiteral("OK")}});
}

void generalError(MessageService& ui, const QString& text) {
    ui.show({kAppTitle, BoxIcon::Error, text, {QStringLiteral("OK")}});
}

bool confirm(MessageService& ui, const QString& text, const QStringList& buttons) {
    return ui.show({QStringLiteral("Bestätigen"), BoxIcon::Question, text, buttons}) == 0;
}

} // namespace boxes
