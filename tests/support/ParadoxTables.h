#pragma once

// Paradox tables as an old data folder holds them, written through pxlib's own writing
// functions.

#include "core/takeover/Pxlib.h"

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QList>
#include <QVariant>

namespace paradoxtables {

struct Column {
    const char* name;
    int type;
    int length;
};
using Row = QVariantList; // a null QVariant leaves the field empty; text fields take raw bytes

// clang-format off
inline const QList<Column> kAthleteColumns{{"ID", pxfAutoInc, 4}, {"Name", pxfAlpha, 50},
    {"Vorname", pxfAlpha, 50}, {"Geb", pxfDate, 4}, {"Geschl", pxfShort, 2},
    {"Bemerkung1", pxfAlpha, 100}, {"Bemerkun2", pxfAlpha, 100}};
inline const QList<Column> kMeasurementColumns{{"id", pxfAutoInc, 4}, {"REF_ID", pxfLong, 4},
    {"Datum", pxfTimestamp, 8}, {"Nummer", pxfLong, 4}, {"SZ", pxfNumber, 8}, {"FZ", pxfShort, 2},
    {"Eff", pxfCurrency, 8}, {"Bem", pxfAlpha, 100}};
inline const QList<Column> kJumpColumns{{"Serie", pxfNumber, 8}, {"SZ", pxfNumber, 8},
    {"FZ", pxfNumber, 8}, {"Eff", pxfNumber, 8}, {"Anzahl", pxfShort, 2}};
// clang-format on

inline void quiet(pxdoc_t*, int, const char*, void*) {}

// Writes a table through pxlib; `codePage` goes into its header (0: none named).
inline bool writeTable(const QString& path, const QList<Column>& columns, const QList<Row>& rows,
                       int codePage = 1252) {
    pxdoc_t* doc = PX_new3(quiet, nullptr, nullptr, nullptr, nullptr);
    // pxlib keeps the field list and frees it with the table.
    auto* fields = static_cast<pxfield_t*>(
        doc->malloc(doc, sizeof(pxfield_t) * std::size_t(columns.size()), "fields"));
    int recordSize = 0;
    for (qsizetype i = 0; i < columns.size(); ++i) {
        fields[i] = {PX_strdup(doc, columns[i].name), char(columns[i].type), columns[i].length, 0};
        recordSize += columns[i].length;
    }
    bool ok = PX_create_file(doc, fields, int(columns.size()), QFile::encodeName(path).constData(),
                             pxfFileTypNonIndexDB) == 0;
    doc->px_head->px_doscodepage = codePage; // written with the header at each record
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
                PX_put_data_short(doc, field, 2, short(v.toInt()));
            } else if (type == pxfLong || type == pxfAutoInc) {
                PX_put_data_long(doc, field, 4, v.toInt());
            } else if (type == pxfDate) {
                const QDate d = v.toDate();
                pxval_t* value = PX_make_date(doc, d.year(), d.month(), d.day());
                PX_put_data_long(doc, field, 4, int(value->value.lval));
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

// A small old data folder: Müller with a single measurement and a series of two jumps, Weiß
// without measurements, and a jump that belongs to no measurement.
inline bool writeSmallFolder(const QString& dir) {
    const QVariant none;
    const QDateTime morning(QDate(2001, 5, 4), QTime(9, 15, 30));
    return writeTable(
               dir + "/SPORTLER.DB", kAthleteColumns,
               {{1, QByteArray("M\xfcller"), QByteArray("Anna"), QDate(1980, 2, 29), 1, none, none},
                {2, QByteArray("Wei\xdf"), QByteArray("Zo\xeb"), none, 2, none, none}}) &&
           writeTable(dir + "/units.db", kMeasurementColumns,
                      {{10, 1, morning, 1, 180.0, 1, 1.5, none},
                       {11, 1, morning.addDays(1), 2, none, 2, none, none}}) &&
           writeTable(dir + "/mr.db", kJumpColumns,
                      {{1001.0, 180.0, 270.0, 1.5, 1},
                       {1002.0, 190.0, 310.0, 1.6, 1},
                       {1002.0, 210.0, 290.0, 1.4, 2},
                       {4711.0, 1.0, 1.0, 1.0, 1}});
}

} // namespace paradoxtables
