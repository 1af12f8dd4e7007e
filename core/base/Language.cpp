// The language the program speaks, from the setting "Sprache" or the system's locale, and the
// locale whose conventions the screen follows.

#include "core/base/Language.h"

namespace language {
namespace {

const QString kKey = QStringLiteral("Einstellungen/Sprache");

} // namespace

QString code(Language language) {
    return language == Language::German ? QStringLiteral("de") : QStringLiteral("en");
}

std::optional<Language> fromCode(const QString& value) {
    const QString trimmed = value.trimmed();
    if (trimmed.compare(QLatin1String("de"), Qt::CaseInsensitive) == 0)
        return Language::German;
    if (trimmed.compare(QLatin1String("en"), Qt::CaseInsensitive) == 0)
        return Language::English;
    return std::nullopt;
}

Language ofLocale(const QLocale& locale) {
    return locale.language() == QLocale::German ? Language::German : Language::English;
}

Language choose(const QString& stored, const QLocale& system) {
    if (const auto chosen = fromCode(stored))
        return *chosen;
    return ofLocale(system);
}

QLocale localeFor(Language language, const QLocale& system) {
    const QLocale::Language spoken =
        language == Language::German ? QLocale::German : QLocale::English;
    if (system.language() == spoken)
        return system;
    return language == Language::German ? QLocale(QLocale::German, QLocale::Germany)
                                        : QLocale(QLocale::English, QLocale::UnitedKingdom);
}

QString readSetting(QSettings& settings) {
    return settings.value(kKey).toString();
}

void writeSetting(QSettings& settings, Language language) {
    settings.setValue(kKey, code(language));
    settings.sync();
}

} // namespace language
