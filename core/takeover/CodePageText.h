#pragma once

#include <QByteArrayView>
#include <QString>

#include <iconv.h>

#include <optional>

namespace takeover {

// Turns the bytes of a text field written in a Windows or DOS code page (1252, 850, …) into
// text, through the C library's iconv.
class CodePageText {
public:
    explicit CodePageText(int codePage);
    ~CodePageText();
    CodePageText(const CodePageText&) = delete;
    CodePageText& operator=(const CodePageText&) = delete;

    // False when the C library knows no such code page.
    bool known() const { return converter_ != kNoConverter; }
    int codePage() const { return codePage_; }

    // The text, or nothing when the bytes are no text of the code page (or it is unknown).
    std::optional<QString> decode(QByteArrayView bytes);

private:
    static inline const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);
    int codePage_;
    iconv_t converter_;
};

} // namespace takeover
