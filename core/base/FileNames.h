#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

namespace filenames {

// The name a save dialog suggests: the parts (an athlete's name and first name, say) and the
// date, joined by "_", with the suffix: "Meier_Anna_2026-12-08.txt". Characters that a file
// name cannot hold on the desktops the program runs on become "-"; empty parts are left out.
QString suggested(const QStringList& parts, const QDate& date, const QString& suffix);

} // namespace filenames
