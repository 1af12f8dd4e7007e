#pragma once

#include <QString>

#include <exception>
#include <functional>
#include <optional>

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

// Runs a handler and catches whatever it throws: returns the text of its failure, or nothing
// when it succeeded or ended with a SilentAbort.
std::optional<QString> failureOf(const std::function<void()>& handler);
