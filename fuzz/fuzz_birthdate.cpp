// The date of birth as typed, and the relaxed date format, in German and in English.
#include "FuzzCheck.h"
#include "core/base/Texts.h"
#include "core/store/BirthDate.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    static const QLocale german(QLocale::German, QLocale::Germany);
    static const QLocale english(QLocale::English, QLocale::UnitedStates);
    texts::setLocale((data[0] & 1) != 0 ? german : english);
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data) + 1,
                                           static_cast<qsizetype>(size - 1));

    const QDate date = athletes::parseBirthDate(text);
    // Nothing that is only blanks is a date.
    if (text.trimmed().isEmpty())
        FUZZ_CHECK(!date.isValid());

    // The text as a format: a relaxed format is never longer than the one it came from.
    FUZZ_CHECK(athletes::relaxedDateFormat(text).size() <= text.size());
    return 0;
}
