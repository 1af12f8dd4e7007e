#pragma once

#include <QLocale>
#include <QSettings>
#include <QString>

#include <optional>

// The language the program speaks: German, its own, or English. The user's choice stands in
// the settings group "Einstellungen", key "Sprache" ("de" or "en"); without a sound choice the
// system's locale decides: German for every German locale (de_DE, de_AT, de_CH …), English
// for any other.
namespace language {

enum class Language { German, English };

// "de" or "en", as the settings keep it.
QString code(Language language);

// The language a stored value names; nothing for an empty or unknown value.
std::optional<Language> fromCode(const QString& value);

// The language of a locale: German for German, English for any other.
Language ofLocale(const QLocale& locale);

// The stored choice when it is sound, else the language of the system's locale.
Language choose(const QString& stored, const QLocale& system);

// The locale whose conventions the screen follows for numbers, dates and times: the system's
// when it speaks the chosen language (de_AT keeps its own), else the language's own (German
// of Germany, English of the United Kingdom: the day before the month, a 24-hour clock).
QLocale localeFor(Language language, const QLocale& system);

// The stored value of "Einstellungen/Sprache" as it stands; empty when nothing is stored.
QString readSetting(QSettings& settings);
void writeSetting(QSettings& settings, Language language);

} // namespace language
