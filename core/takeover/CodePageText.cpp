// Turns bytes of a Windows or DOS code page into text through iconv.

#include "core/takeover/CodePageText.h"

#include <QByteArray>

namespace takeover {

CodePageText::CodePageText(int codePage)
    : codePage_(codePage),
      converter_(iconv_open("UTF-8", QByteArray("CP" + QByteArray::number(codePage)).constData())) {
}

CodePageText::~CodePageText() {
    if (known())
        iconv_close(converter_);
}

std::optional<QString> CodePageText::decode(QByteArrayView bytes) {
    if (!known())
        return std::nullopt;
    // A byte of these code pages never becomes more than four bytes of UTF-8.
    QByteArray out(bytes.size() * 4 + 4, Qt::Uninitialized);
    char* in = const_cast<char*>(bytes.data()); // iconv's interface is not const-correct
    std::size_t inLeft = static_cast<std::size_t>(bytes.size());
    char* next = out.data();
    std::size_t outLeft = static_cast<std::size_t>(out.size());
    iconv(converter_, nullptr, nullptr, nullptr, nullptr); // start from the initial state
    if (iconv(converter_, &in, &inLeft, &next, &outLeft) == static_cast<std::size_t>(-1) ||
        iconv(converter_, nullptr, nullptr, &next, &outLeft) == static_cast<std::size_t>(-1))
        return std::nullopt;
    out.truncate(next - out.data());
    return QString::fromUtf8(out);
}

} // namespace takeover
