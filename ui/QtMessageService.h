#pragma once

#include "ui/MessageService.h"

class QWidget;

// Message boxes, save dialog and clipboard of the desktop.
class QtMessageService : public MessageService {
public:
    int show(const MessageBox& box) override;
    QString saveFileName(const SaveFileRequest& request) override;
    void setClipboardText(const QString& text) override;
    std::unique_ptr<ProgressView> showProgress(const QString& label, int total) override;
};
