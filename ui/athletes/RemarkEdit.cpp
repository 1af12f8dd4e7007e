// The multi-line remark field that keeps its length limit for every way of adding text.

#include "ui/athletes/RemarkEdit.h"

#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

RemarkEdit::RemarkEdit(int maxLength, QWidget* parent)
    : QPlainTextEdit(parent), maxLength_(maxLength) {
    connect(document(), &QTextDocument::contentsChanged, this, &RemarkEdit::cutExcess);
}

QString RemarkEdit::text() const {
    // The raw text keeps no-break spaces as they are; lines are separated by the Unicode
    // paragraph and line separators there.
    QString raw = document()->toRawText();
    for (QChar& c : raw) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = QLatin1Char('\n');
    }
    return raw;
}

void RemarkEdit::setText(const QString& text) {
    settingText_ = true;
    setPlainText(text);
    settingText_ = false;
    accepted_ = document()->toRawText();
}

// The document reports changed ranges only coarsely (a paste over a selection may name the
// whole text), so the added part is found by comparing with the text before: it lies between
// the common beginning and the common end.
void RemarkEdit::cutExcess() {
    if (cutting_ || settingText_)
        return;
    const QString now = document()->toRawText();
    const qsizetype allowed = std::max<qsizetype>(maxLength_, accepted_.size());
    const qsizetype excess = now.size() - allowed;
    if (excess <= 0) {
        accepted_ = now;
        return;
    }
    const qsizetype shortest = std::min(now.size(), accepted_.size());
    qsizetype head = 0;
    while (head < shortest && now[head] == accepted_[head])
        ++head;
    qsizetype tail = 0;
    while (tail < shortest - head &&
           now[now.size() - 1 - tail] == accepted_[accepted_.size() - 1 - tail])
        ++tail;
    const qsizetype addedEnd = now.size() - tail;
    qsizetype cutFrom = std::max(head, addedEnd - excess);
    // Never leave half of a surrogate pair behind.
    if (cutFrom > head && now[cutFrom].isLowSurrogate() && now[cutFrom - 1].isHighSurrogate())
        --cutFrom;
    if (cutFrom < addedEnd) {
        QTextCursor cursor(document());
        cursor.setPosition(static_cast<int>(cutFrom));
        cursor.setPosition(static_cast<int>(addedEnd), QTextCursor::KeepAnchor);
        cutting_ = true;
        cursor.removeSelectedText();
        cutting_ = false;
    }
    accepted_ = document()->toRawText();
}
