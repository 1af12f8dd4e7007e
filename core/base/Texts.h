#pragma once

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QTime>

// Number, date and time texts of the whole program. There is one process-wide decimal
// separator, taken from the locale at start and changed only by the export; dates use the
// locale's short date format with a four-digit year, times its long time format without a
// time-zone name. The program sets the locale of its language at start (the system's when it
// speaks that language).
namespace texts {

QChar decimalSeparator();
void setDecimalSeparator(QChar separator);

// The locale whose date and time formats and decimal separator apply; the system's until the
// program (or a test) sets another. Setting it also takes over its decimal separator.
QLocale locale();
void setLocale(const QLocale& locale);

// Shortest general form with up to 15 significant digits, current decimal separator.
QString general(double value);

// Derived formats: the short date with a four-digit year, the long time without zone.
QString shortDateFormat();
QString longTimeFormat();
QString dateText(const QDate& date);
QString timeText(const QTime& time);
QDate parseDate(const QString& text);
QTime parseTime(const QString& text);
// A time as its text shows it: cut to the finest unit the long time format has (the
// second, for most).
QTime shownTime(const QTime& time);

// Pure helpers behind the two formats, for any Qt format string.
QString withFourDigitYear(const QString& qtDateFormat);
QString withoutTimeZone(const QString& qtTimeFormat);

} // namespace texts
