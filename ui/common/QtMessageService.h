#pragma once

#include "ui/common/MessageService.h"

#include <QSettings>

#include <functional>

class QWidget;

// Message boxes, save dialog and clipboard of the desktop. The save dialog opens in the
// folder used last, which the settings keep from one start to the next.
class QtMessageService : public MessageService {
public:
    explicit QtMessageService(std::function<std::unique_ptr<QSettings>()> openSettings = {});

    int show(const MessageBox& box) override;
    QString saveFileName(const SaveFileRequest& request) override;
    QString folderName(const QString& title) override;
    QString openFileName(const QString& title, const QString& filter) override;
    void setClipboardText(const QString& text) override;
    std::unique_ptr<ProgressView> showProgress(const QString& label, int total) override;

private:
    QString lastFolder() const;
    void rememberFolder(const QString& folder);

    std::function<std::unique_ptr<QSettings>()> openSettings_;
};
