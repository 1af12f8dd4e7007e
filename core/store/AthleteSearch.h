#pragma once

#include <QList>
#include <QString>

// The athlete search: a prefix search by first name or by surname that ignores case for
// every letter, the same on the SQLite file and on a server.
namespace athletes {

// Which name a search looks at; None when the search dialog was closed without searching.
enum class SearchBy { None, FirstName, Surname };

// What a search text finds: the names that start with it, both compared in their composed
// form and case-folded, so that "öz" and "ÖZTÜRK" find "Öztürk" and "mü" finds "Müller".
// "%" in the text stands for any run of characters and "_" for any one character, as in
// SQL's LIKE; there is no escape.
class NameSearch {
public:
    explicit NameSearch(const QString& text);
    bool matches(const QString& name) const;

private:
    QList<uint> pattern_; // the text's code points, folded
};

} // namespace athletes
