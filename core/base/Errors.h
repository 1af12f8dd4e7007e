// The error type whose text the user reads (AppError), the silent stop of a handler, and the
// guard that turns a failed handler into what the user is told.

#pragma once

#include <QString>

#include <exception>
#include <functional>
#include <optional>

// Raised by a handler that must stop without telling the user anything; the handler
// guard swallows it.
struct SilentAbort {};

// An error with a user-visible text, and where it helps a detail (such as the database
// engine's own words); shown by the handler guard.
class AppError : public std::exception {
public:
    explicit AppError(QString text, QString detail = QString())
        : text_(std::move(text)), detail_(std::move(detail)), utf8_(text_.toUtf8()) {}
    const QString& text() const noexcept { return text_; }
    const QString& detail() const noexcept { return detail_; }
    const char* what() const noexcept override { return utf8_.constData(); }

private:
    QString text_;
    QString detail_;
    QByteArray utf8_;
};

// What a failed handler tells the user.
struct Failure {
    QString text;
    QString detail;
};

// The text of the general error report: a full stop is appended when the last character
// has a higher code than the full stop.
QString errorReportText(const QString& text);

// Runs a handler and catches whatever it throws: returns its failure, or nothing when it
// succeeded or ended with a SilentAbort.
std::optional<Failure> failureOf(const std::function<void()>& handler);
