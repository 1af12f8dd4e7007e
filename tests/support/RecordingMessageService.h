#pragma once

#include "ui/MessageService.h"

#include <QQueue>

// Records every box, dialog and clipboard request and answers from a script. Without a
// scripted answer a box returns 0 (its first button) and the save dialog is cancelled.
class RecordingMessageService : public MessageService {
public:
    int show(const MessageBox& box) override {
        boxes << box;
        return answers.isEmpty() ? 0 : answers.dequeue();
    }
    QString saveFileName(const SaveFileRequest& request) override {
        saveRequests << request;
        return fileNames.isEmpty() ? QString() : fileNames.dequeue();
    }
    void setClipboardText(const QString& text) override {
        clipboard = text;
        ++clipboardWrites;
    }

    QStringList texts() const {
        QStringList out;
        for (const auto& b : boxes)
            out << b.text;
        return out;
    }
    void clear() {
        boxes.clear();
        saveRequests.clear();
    }

    QList<MessageBox> boxes;
    QQueue<int> answers;
    QList<SaveFileRequest> saveRequests;
    QQueue<QString> fileNames;
    QString clipboard;
    int clipboardWrites = 0;
};
