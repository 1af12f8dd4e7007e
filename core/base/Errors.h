#pragma once

#include <QString>

#include <exception>
#include <functional>

class MessageService;

// Raised by a handler that must stop without telling the user anything; the handler
// guard swallows it.
struct SilentAbort {};

// An error with a user-visible text; shown by the handler guard.
class AppError : public std::exception {
public:
    explicit AppError(QString text) : text_(std::move(text)), utf8_(text_.toUtf8()) {}
    const QString& text() const noexcept { return text_; }
    const char* what() const noexcept override { return utf8_.constData(); }

private:
    QString text_;
    QByteArray utf8_;
};

// The text of the general error report: a full stop is appended when the last character
// has a higher code than the full stop.
QString errorReportText(const QString& text);

// Runs one action, key or timer handler. A SilentAbort ends it without a message; any
// other error ends it and is shown in the "Kalvero" error box. Nothing escapes into the
// event loop.
void runGuarded(MessageService& ui, const std::function<void()>& handler);
