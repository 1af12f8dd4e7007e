#pragma once

#include <QPlainTextEdit>

// Multi-line text field with a length limit that holds for typing, pasting, dropping, undo
// and input methods alike: whatever the user adds beyond the limit is cut off where it was
// added, so the text around it stays as it was. A line break counts as one character.
// Text set by the program is taken whole, even beyond the limit; the user can then shorten
// it but not lengthen it.
class RemarkEdit : public QPlainTextEdit {
public:
    explicit RemarkEdit(int maxLength, QWidget* parent = nullptr);

    int maxLength() const { return maxLength_; }
    // The text with "\n" for every line break, other characters exactly as entered.
    QString text() const;
    // Replaces the text without applying the limit; "\r\n", "\r" and "\n" all start a new line.
    void setText(const QString& text);

private:
    void cutExcess();

    int maxLength_;
    QString accepted_; // the document's raw text after the last change that stood
    bool settingText_ = false;
    bool cutting_ = false;
};
