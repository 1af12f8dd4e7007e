#pragma once

#include <QDate>
#include <QString>

namespace athletes {

// A date of birth as typed: the system's short date format (with a four-digit year), where
// day and month may also be written with one digit, as people write them ("1.5.1980" for
// the format "dd.MM.yyyy"). Blanks around the text are ignored. Invalid when the text is
// empty or no date.
QDate parseBirthDate(const QString& text);

// A Qt date format with the day and the month relaxed to "d" and "M" outside quoted parts.
QString relaxedDateFormat(const QString& qtDateFormat);

} // namespace athletes
