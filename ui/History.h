#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

class QTreeWidgetItem;

// The measurement history list: one entry per measurement, newest first. An entry has a
// caption ("Nr.") and seven texts: date, time, contact time, flight time, efficiency, height
// and, not shown, the measurement's number.
namespace history {

inline const QString kSeriesMark = QStringLiteral("...");
inline constexpr int kNummerColumn = 7;

// The moment an entry stands for, read back from its date and time texts.
QDateTime entryMoment(const QString& dateText, const QString& timeText);

// -1 when entry 1 goes before entry 2 (its moment is the same or later), else +1.
int compareEntries(const QString& date1, const QString& time1, const QString& date2,
                   const QString& time2);

// The four value texts of a single measurement from its stored jump.
QStringList jumpTexts(qint64 sz, qint64 fz, double eff);
// The four value texts of a single measurement whose jump row is missing.
QStringList missingJumpTexts();
// The four value texts of a series.
QStringList seriesTexts();

// A new list entry with its caption and seven texts.
QTreeWidgetItem* makeEntry(int number, const QDateTime& moment, const QStringList& values,
                           qint64 nummer);

} // namespace history
