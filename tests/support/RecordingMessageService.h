#pragma once

#include "ui/common/MessageService.h"

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
    QString folderName(const QString& title) override {
        folderRequests << title;
        return folders.isEmpty() ? QString() : folders.dequeue();
    }
    QString openFileName(const QString& title, const QString& filter) override {
        openRequests << title + QLatin1Char('|') + filter;
        return openFiles.isEmpty() ? QString() : openFiles.dequeue();
    }
    void setClipboardText(const QString& text) override {
        clipboard = text;
        ++clipboardWrites;
    }

    // The progress dialogs shown: their labels as they read at the end.
    QStringList progressLabels;
    // The progress reports after which the user cancels; -1: never.
    int cancelAfter = -1;

    std::unique_ptr<ProgressView> showProgress(const QString& label, int total) override {
        struct View : ProgressView {
            RecordingMessageService& service;
            QString label;
            int total;
            qsizetype index;
            View(RecordingMessageService& s, QString l, int t)
                : service(s), label(std::move(l)), total(t), index(s.progressLabels.size()) {
                service.progressLabels << label.arg(0).arg(total);
            }
            bool update(int done) override {
                service.progressLabels[index] = label.arg(done).arg(total);
                return service.cancelAfter < 0 || service.progressUpdates++ < service.cancelAfter;
            }
        };
        return std::make_unique<View>(*this, label, total);
    }
    int progressUpdates = 0;

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
    QStringList folderRequests;
    QQueue<QString> folders;
    QStringList openRequests;
    QQueue<QString> openFiles;
    QString clipboard;
    int clipboardWrites = 0;
};
