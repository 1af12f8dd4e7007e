// One Paradox table of an old data folder, read through pxlib: its columns checked by name and
// type, and its fields as values.

#pragma once

#include "core/takeover/CodePageText.h"
#include "core/takeover/Pxlib.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

#include <cstdio>
#include <memory>
#include <optional>

namespace takeover {

// What a column of an old table holds, and so which Paradox field types may carry it.
enum class ColumnKind {
    Integer,   // short, long, autoincrement, or a number field holding whole numbers
    Number,    // short, long, number or currency
    Text,      // alpha
    Date,      // date, or the day of a timestamp
    Timestamp, // timestamp, or a date at midnight
};

struct ExpectedColumn {
    const char* name; // matched without regard to case
    ColumnKind kind;
    int maxChars = 0; // Text: the width of Kalvero's column the text goes into
};

// One Paradox table opened through pxlib for reading. Every failure, from opening the file to a
// field that cannot be read, throws an AppError whose German text names the file; pxlib's own
// reports never reach the terminal.
class ParadoxTable {
public:
    // Opens the table and checks that it is whole and has the columns, by name and type.
    ParadoxTable(const QString& path, const QList<ExpectedColumn>& columns);
    ~ParadoxTable();
    ParadoxTable(const ParadoxTable&) = delete;
    ParadoxTable& operator=(const ParadoxTable&) = delete;

    int recordCount() const { return recordCount_; }
    // Makes record `index` (from 0) the current one.
    void read(int index);

    // Fields of the current record; `column` is the position in the list given when opening.
    // Empty fields come back empty: nothing, a null date, an invalid moment, an empty text.
    std::optional<qint64> integer(int column) const;
    std::optional<double> number(int column) const;
    QString text(int column);
    QDate date(int column) const;
    QDateTime timestamp(int column) const;

private:
    struct FileCloser {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    struct DocDeleter {
        void operator()(pxdoc_t* doc) const;
    };
    struct Field {
        int offset;
        int length;
        int type;
    };

    QString file() const; // the path in quotation marks, for messages
    // Throws the message: %1 becomes the file, %2 the detail.
    [[noreturn]] void fail(const QString& message, const QString& detail = {}) const;
    // Throws that the field of the current record has the problem (e.g. "keine ganze Zahl").
    [[noreturn]] void failField(int column, const QString& problem) const;
    void checkBlocks(qint64 fileSize);
    void openDocument();
    void findColumns();
    bool isNull(int column) const;
    char* fieldData(int column) const;
    std::optional<double> rawNumber(int column) const;
    std::optional<double> milliseconds(int column) const; // dates at midnight

    QString path_;
    QList<ExpectedColumn> columns_;
    QList<Field> fields_;
    bool pxlibFailed_ = false; // set by pxlib's error handler
    std::unique_ptr<std::FILE, FileCloser> file_;
    std::unique_ptr<pxdoc_t, DocDeleter> doc_; // released before the file is closed
    std::unique_ptr<CodePageText> codePage_;
    QByteArray record_;
    int recordCount_ = 0;
    int current_ = -1;
};

} // namespace takeover
