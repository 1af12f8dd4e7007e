#pragma once

#include "tests/support/ParadoxTables.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QList>
#include <QString>
#include <QVariant>

// The three tables of a small, valid old data folder, written through pxlib as the tests write
// them: the companions of the table a fuzz input stands for, and the seeds of the corpus.
namespace oldtables {

using paradoxtables::kAthleteColumns;
using paradoxtables::kJumpColumns;
using paradoxtables::kMeasurementColumns;
using paradoxtables::Row;
using paradoxtables::writeTable;

// clang-format off
inline const QList<Row> kAthletes{
    {1, QByteArray("M\xfcller"), QByteArray("J\xfcrgen"), QDate(1980, 2, 29), 1,
     QByteArray("Knie"), QVariant()},
    {2, QByteArray("Wei\xdf"), QByteArray("Zo\xeb"), QVariant(), 2, QVariant(),
     QByteArray("\x80 bezahlt")}};
inline const QList<Row> kMeasurements{
    {10, 1, QDateTime(QDate(2001, 5, 4), QTime(9, 15, 30)), 1, 180.0, 1, 1.5,
     QByteArray("Einzelsprung")},
    {11, 1, QVariant(), 2, QVariant(), 3, QVariant(), QVariant()},
    {12, 2, QDateTime(QDate(2001, 5, 4), QTime(9, 15, 30)), 1001, 150.0, 1, 1.2, QVariant()}};
inline const QList<Row> kJumps{{1001.0, 180.0, 270.0, 1.5, 1}, {1002.0, 190.0, 310.0, 1.6, 1},
    {1002.0, 210.0, 290.0, 1.4, 2}, {4711.0, 1.0, 1.0, 1.0, 1}, {3001.0, 5.0, 6.0, 1.0, 1}};
// clang-format on

// Writes the three tables into `folder`.
inline bool writeFolder(const QString& folder) {
    return writeTable(folder + "/sportler.db", kAthleteColumns, kAthletes) &&
           writeTable(folder + "/units.db", kMeasurementColumns, kMeasurements) &&
           writeTable(folder + "/mr.db", kJumpColumns, kJumps);
}

} // namespace oldtables
