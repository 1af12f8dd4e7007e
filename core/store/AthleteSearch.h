#pragma once

#include <QString>

// The athlete search: a prefix search by first name or by surname, case-insensitive for the
// letters a to z.
namespace athletes {

// Which name a search looks at; None when the search dialog was closed without searching.
enum class SearchBy { None, FirstName, Surname };

// The LIKE pattern of a search text, compared with the upper-cased name: a to z turned to
// upper case (all other characters as typed), "%" appended. "mei" gives MEI%, "müller" gives
// MüLLER%. "%" and "_" in the text stay wildcards of LIKE.
QString searchPattern(const QString& text);

} // namespace athletes
