// The values as the store writes and reads them: dates and moments in fixed text forms, and
// numbers read back from rows that may come from an old or damaged file.

#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>

// Values for the engine: dates and moments in fixed text forms, so that they sort and read
// back the same whatever the locale; an invalid date or moment is stored as empty.
QVariant engineDate(const QDate& date);
QVariant engineMoment(const QDateTime& moment);
// A stored date or moment read back; invalid for an empty value or text that is no date.
QDateTime momentOf(const QVariant& value);
// The day of a stored moment's text, without its time of day (a server's moments come as
// "yyyy-MM-ddTHH:mm:ss.zzz"); invalid for text that is no date.
QDate dayOfStoredText(const QString& text);
// A stored number; an empty value, text that is no number and a number beyond the 64-bit
// range read as 0, a fraction is rounded to the nearest integer.
qint64 integerOf(const QVariant& value);
double numberOf(const QVariant& value);
