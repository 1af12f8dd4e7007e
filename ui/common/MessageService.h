#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

// Everything the program asks of the user or hands to the desktop goes through this
// interface: message boxes, the file and folder dialogs and the clipboard. The program uses the Qt
// implementation; tests use a recording double.

enum class BoxIcon { None, Information, Question, Error };

struct MessageBox {
    QString title;
    BoxIcon icon = BoxIcon::None;
    QString text;
    QStringList buttons;   // captions, left to right; the first one proceeds
    QString detail;        // shown on request, e.g. the database engine's own words
    int defaultButton = 0; // the button that Enter presses
};

struct SaveFileRequest {
    QString title;
    QString filter;        // "Description|*.ext"
    QString defaultSuffix; // appended to a name typed without extension
    QString suggestedName; // the file name the dialog offers, in the folder used last
};

// A long piece of work as the user sees it: how far it is, and a way to cancel it.
class ProgressView {
public:
    virtual ~ProgressView() = default;
    // Shows that `done` of the total are done and lets the window repaint; false once the user
    // cancelled.
    virtual bool update(int done) = 0;
};

class MessageService {
public:
    virtual ~MessageService() = default;

    // Shows a modal box; returns the index of the pressed button, -1 when it was closed
    // without one.
    virtual int show(const MessageBox& box) = 0;
    // Asks for a file to save to; an empty result means the user cancelled.
    virtual QString saveFileName(const SaveFileRequest& request) = 0;
    // Asks for an existing folder; an empty result means the user cancelled.
    virtual QString folderName(const QString& title) = 0;
    // Asks for an existing file to read; `filter` as "Description|*.ext *.ext2". An empty
    // result means the user cancelled.
    virtual QString openFileName(const QString& title, const QString& filter) = 0;
    virtual void setClipboardText(const QString& text) = 0;
    // A progress dialog for work on `total` items, shown once the work takes more than a
    // moment; `label` carries %1 for the items done and %2 for the total. It closes when the
    // returned view is destroyed.
    virtual std::unique_ptr<ProgressView> showProgress(const QString& label, int total) = 0;
};

namespace boxes {

inline const QString kAppTitle = QStringLiteral("Kalvero");

// Plain message box: title "Kalvero", one button "OK".
void plain(MessageService& messages, const QString& text);
// Error box: title "Fehler", error icon, "OK".
void error(MessageService& messages, const QString& text);
// Information box: title "Informationen", "OK".
void information(MessageService& messages, const QString& text);
// The program's general error report: title "Kalvero", error icon, "OK", and the detail.
void generalError(MessageService& messages, const QString& text, const QString& detail = QString());
// Confirmation box: title "Bestätigen", question icon and the given buttons. True only
// when the first button was pressed.
bool confirm(MessageService& messages, const QString& text, const QStringList& buttons);
// The same for what cannot be undone: Enter presses the last button, which does nothing.
bool confirmDestructive(MessageService& messages, const QString& text, const QStringList& buttons);

} // namespace boxes

#include <functional>

// Runs one action, key or timer handler. A SilentAbort ends it without a message; any other
// error ends it and is shown in the "Kalvero" error box. Nothing escapes into the event loop.
void runGuarded(MessageService& messages, const std::function<void()>& handler);
