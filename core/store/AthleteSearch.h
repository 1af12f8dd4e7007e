#pragma once

#include <QString>
#include <QStringList>

// The athlete search: the quoted LIKE pattern built from a typed text and the statement
// that lists the athletes found. Nothing here needs a window or a database.
namespace athletes {

// Which name a search looks at; None when the search dialog was closed without searching.
enum class SearchBy { None, FirstName, Surname };

// The prefix pattern of a search text as a complete SQL string literal: a to z turned to
// upper case (all other characters as typed), "%" appended, enclosed in single quotes with
// every single quote inside doubled. "mei" gives 'MEI%', "o'hara" gives 'O''HARA%'.
// "%" and "_" in the text stay wildcards of LIKE.
QString searchPattern(const QString& text);

// The three lines of the search statement for the athlete result set, sorted by the other
// name and the date of birth. Empty for SearchBy::None.
QStringList searchStatement(SearchBy by, const QString& text);

// The statement that lists all athletes ("Alle zeigen", and after a search found nobody).
QStringList showAllStatement();

} // namespace athletes
