#pragma once

#include "core/takeover/Pxlib.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QList>
#include <QString>
#include <QVariant>

// The three tables of a small, valid old data folder, written through pxlib: the companions
// of the table a fuzz input stands for, and the seeds of the corpus.
namespace oldtables {

struct Column {
    const char* name;
    int type;
    int length;
};
using Row = QVariantList; // a null QVariant leaves the field empty; text fields take raw bytes

// clang-format off
inline const QList<Column> kSportler{{"ID", pxfAutoInc, 4}, {"Name", pxfAlpha, 50},
    {"Vorname", pxfAlpha, 50}, {"Geb", pxfDate, 4}, {"Geschl", pxfShort, 2},
    {"Bemerkung1", pxfAlpha, 100}, {"Bemerkun2", pxfAlpha, 100}};
inline const QList<Column> kUnits{{"id", pxfAutoInc, 4}, {"REF_ID", pxfLong, 4},
    {"Datum", pxfTimestamp, 8}, {"Nummer", pxfLong, 4}, {"SZ", pxfNumber, 8}, {"FZ", pxfShort, 2},
    {"Eff", pxfCurrency, 8}, {"Bem", pxfAlpha, 100}};
inline const QList<Column> kMr{{"Serie", pxfNumber, 8}, {"SZ", pxfNumber, 8},
    {"FZ", pxfNumber, 8}, {"Eff", pxfNumber, 8}, {"Anzahl", pxfShort, 2}};

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

inline void quiet(pxdoc_t*, int, const char*, void*) {}

// Writes a table through pxlib, code page 1252 in its header.
inline bool writeTable(const QString& path, const QList<Column>& columns, const QList<Row>& rows) {
    pxdoc_t* doc = PX_new3(quiet, nullptr, nullptr, nullptr, nullptr);
    // pxlib keeps the field list and frees it with the table.
    auto* fields = static_cast<pxfield_t*>(
        doc->malloc(doc, sizeof(pxfield_t) * static_cast<size_t>(columns.size()), "fields"));
    int recordSize = 0;
    for (qsizetype i = 0; i < columns.size(); ++i) {
        fields[i] = {PX_strdup(doc, columns[i].name), static_cast<char>(columns[i].type),
                     columns[i].length, 0};
        recordSize += columns[i].length;
    }
    bool ok = PX_create_file(doc, fields, static_cast<int>(columns.size()),
                             QFile::encodeName(path).constData(), pxfFileTypNonIndexDB) == 0;
    doc->px_head->px_doscodepage = 1252;
    QByteArray record(recordSize, '\0');
    for (const Row& row : rows) {
        record.fill('\0');
        char* field = record.data();
        for (qsizetype i = 0; i < columns.size(); field += columns[i++].length) {
            const QVariant v = row.value(i);
            if (v.isNull())
                continue;
            const int type = columns[i].type;
            if (type == pxfAlpha) {
                PX_put_data_alpha(doc, field, columns[i].length, v.toByteArray().data());
            } else if (type == pxfShort) {
                PX_put_data_short(doc, field, 2, static_cast<short>(v.toInt()));
            } else if (type == pxfLong || type == pxfAutoInc) {
                PX_put_data_long(doc, field, 4, v.toInt());
            } else if (type == pxfDate) {
                const QDate d = v.toDate();
                pxval_t* value = PX_make_date(doc, d.year(), d.month(), d.day());
                PX_put_data_long(doc, field, 4, static_cast<int>(value->value.lval));
                doc->free(doc, value);
            } else if (type == pxfTimestamp) {
                const QDateTime t = v.toDateTime();
                pxval_t* value =
                    PX_make_timestamp(doc, t.date().year(), t.date().month(), t.date().day(),
                                      t.time().hour(), t.time().minute(), t.time().second());
                PX_put_data_double(doc, field, 8, value->value.dval);
                doc->free(doc, value);
            } else {
                PX_put_data_double(doc, field, 8, v.toDouble());
            }
        }
        ok = ok && PX_put_record(doc, record.data()) >= 0;
    }
    PX_close(doc);
    PX_delete(doc);
    return ok;
}

// Writes the three tables into `folder`.
inline bool writeFolder(const QString& folder) {
    return writeTable(folder + "/sportler.db", kSportler, kAthletes) &&
           writeTable(folder + "/units.db", kUnits, kMeasurements) &&
           writeTable(folder + "/mr.db", kMr, kJumps);
}

} // namespace oldtables
