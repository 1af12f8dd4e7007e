// Opens a Paradox table through pxlib, checks its columns and reads its fields.

#include "core/takeover/ParadoxTable.h"

#include "core/base/Errors.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// The texts of this file that the user reads, in the translation context "ParadoxTable".
struct ParadoxTableTexts {
    Q_DECLARE_TR_FUNCTIONS(ParadoxTable)
};

} // namespace

namespace takeover {
namespace {

// The fixed part of every table header; a shorter file cannot be a Paradox table.
constexpr long kFixedHeaderSize = 0x58;
// What the fixed header (little-endian) and each data block tell about the blocks.
constexpr int kRecordSizeAt = 0x00;
constexpr int kHeaderSizeAt = 0x02;
constexpr int kFileTypeAt = 0x04;
constexpr int kBlockKiBAt = 0x05;
constexpr int kRecordCountAt = 0x06;
constexpr int kBlockCountAt = 0x0C;
constexpr int kFirstBlockAt = 0x0E;
constexpr int kFieldCountAt = 0x21;
constexpr int kLargestFieldCount = 255;
constexpr int kEncryptionAt = 0x25;
constexpr int kVersionAt = 0x39;
constexpr int kFirstVersion = 3;      // Paradox 3
constexpr int kFirstLaterVersion = 5; // Paradox 4: the header goes on with a second part
constexpr int kLastVersion = 12;      // Paradox 7
constexpr quint32 kEncryptionFurtherOn = 0xFF00FF00; // tables of version 4 and later
constexpr int kLaterEncryptionAt = 0x5C;
constexpr int kLargestBlockKiB = 32;
constexpr int kBlockHeadSize = 6; // next block, previous block, bytes of records less one record
constexpr int kNextBlockAt = 0x00;
constexpr int kUsedBytesAt = 0x04;
// Paradox counts days from 1 January of the year 1 (day 1); pxlib's calendar functions count
// serial day numbers, which are this much larger.
constexpr long kSerialDayOfDayZero = 1721425;
constexpr double kMsPerDay = 86400000.0;
// Whole numbers up to 2^53 are exact in a number field.
constexpr double kLargestExactWhole = 9007199254740992.0;

// pxlib's error handler: nothing is printed, a failure is only noted for the caller, who checks
// after every call. Warnings are no failures.
void noteFailure(pxdoc_t* /*doc*/, int level, const char* /*message*/, void* failed) {
    if (level != PX_Warning && failed != nullptr)
        *static_cast<bool*>(failed) = true;
}

int storedLength(int type) {
    switch (type) {
    case pxfShort:
        return 2;
    case pxfLong:
    case pxfAutoInc:
    case pxfDate:
        return 4;
    case pxfNumber:
    case pxfCurrency:
    case pxfTimestamp:
        return 8;
    default:
        return 0; // alpha: as wide as the table says
    }
}

bool carries(ColumnKind kind, int type) {
    switch (kind) {
    case ColumnKind::Integer:
        return type == pxfShort || type == pxfLong || type == pxfAutoInc || type == pxfNumber;
    case ColumnKind::Number:
        return type == pxfShort || type == pxfLong || type == pxfNumber || type == pxfCurrency;
    case ColumnKind::Text:
        return type == pxfAlpha;
    case ColumnKind::Date:
    case ColumnKind::Timestamp:
        return type == pxfDate || type == pxfTimestamp;
    }
    return false;
}

qint64 lastDay() {
    static const qint64 day = PX_GregorianToSdn(9999, 12, 31) - kSerialDayOfDayZero;
    return day;
}

QDate dateOfDay(qint64 day) {
    int year = 0;
    int month = 0;
    int dayOfMonth = 0;
    PX_SdnToGregorian(day + kSerialDayOfDayZero, &year, &month, &dayOfMonth);
    return QDate(year, month, dayOfMonth);
}

QString recordText(int index) {
    return QString::number(index + 1);
}

QString unreadable() {
    return ParadoxTableTexts::tr("Die Datei %1 lässt sich nicht lesen.");
}
QString notParadox() {
    return ParadoxTableTexts::tr("Die Datei %1 ist keine Paradox-Tabelle.");
}
QString damaged() {
    return ParadoxTableTexts::tr("Die Datei %1 ist beschädigt.");
}
QString unreadableRecord() {
    return ParadoxTableTexts::tr(
        "Die Datei %1 ist beschädigt: Datensatz %2 lässt sich nicht lesen.");
}

} // namespace

void ParadoxTable::DocDeleter::operator()(pxdoc_t* doc) const {
    PX_delete(doc);
}

ParadoxTable::ParadoxTable(const QString& path, const QList<ExpectedColumn>& columns)
    : path_(path), columns_(columns) {
    file_.reset(std::fopen(QFile::encodeName(path).constData(), "rb"));
    if (!file_)
        fail(ParadoxTableTexts::tr("Die Datei %1 lässt sich nicht öffnen."));
    if (std::fseek(file_.get(), 0, SEEK_END) != 0)
        fail(unreadable());
    const long fileSize = std::ftell(file_.get());
    if (fileSize < 0 || std::fseek(file_.get(), 0, SEEK_SET) != 0)
        fail(unreadable());
    // pxlib reads the fixed header without checking that it got it.
    if (fileSize < kFixedHeaderSize)
        fail(notParadox());
    checkBlocks(fileSize);
    openDocument();
    findColumns();
}

ParadoxTable::~ParadoxTable() = default;

QString ParadoxTable::file() const {
    // In the quotation marks of the user's language.
    return ParadoxTableTexts::tr("„%1“").arg(QDir::toNativeSeparators(path_));
}

void ParadoxTable::fail(const QString& message, const QString& detail) const {
    throw AppError(detail.isEmpty() ? message.arg(file()) : message.arg(file(), detail));
}

void ParadoxTable::failField(int column, const QString& problem) const {
    throw AppError(
        ParadoxTableTexts::tr("In der Datei %1 ist %2 in Spalte „%3“ von Datensatz %4 %5.")
            .arg(file(),
                 columns_[column].kind == ColumnKind::Text ? ParadoxTableTexts::tr("der Text")
                                                           : ParadoxTableTexts::tr("der Wert"),
                 QLatin1String(columns_[column].name), recordText(current_), problem));
}

void ParadoxTable::checkBlocks(qint64 fileSize) {
    // pxlib 0.6.8 trusts the header and the chain of data blocks when it opens a table: it
    // follows a chain that runs in a circle forever, walks for minutes through a block count
    // that reads as negative, takes the key of an old table from memory it never filled, reads
    // tens of thousands of field names on a damaged count, and reports blocks that disagree
    // with the header on the terminal. So they are checked here before pxlib sees the file.
    unsigned char header[kLaterEncryptionAt + 4] = {};
    if (std::fread(header, 1, sizeof header, file_.get()) < std::size_t(kFixedHeaderSize))
        fail(unreadable());
    const qint64 recordSize = qFromLittleEndian<quint16>(header + kRecordSizeAt);
    const qint64 headerSize = qFromLittleEndian<quint16>(header + kHeaderSizeAt);
    const qint64 blockSize = qint64(header[kBlockKiBAt]) * 0x400;
    const qint64 blocks = qFromLittleEndian<quint16>(header + kBlockCountAt);
    const int version = header[kVersionAt];
    const int fileType = header[kFileTypeAt];
    const int fieldCount = qFromLittleEndian<quint16>(header + kFieldCountAt);
    if (recordSize == 0 || headerSize < kFixedHeaderSize || blockSize == 0 ||
        header[kBlockKiBAt] > kLargestBlockKiB || version < kFirstVersion ||
        version > kLastVersion || fieldCount < 1 || fieldCount > kLargestFieldCount ||
        (fileType != pxfFileTypIndexDB && fileType != pxfFileTypNonIndexDB))
        fail(notParadox());
    if (headerSize + blocks * blockSize > fileSize)
        fail(ParadoxTableTexts::tr("Die Datei %1 ist unvollständig: ein Teil der Tabelle fehlt."));
    // The blocks of a table protected by a password are encrypted; the old tables never were.
    quint32 encryption = qFromLittleEndian<quint32>(header + kEncryptionAt);
    if (encryption == kEncryptionFurtherOn) // in the header's second part, if there is one
        encryption = version < kFirstLaterVersion
                         ? encryption
                         : qFromLittleEndian<quint32>(header + kLaterEncryptionAt);
    if (encryption != 0)
        fail(ParadoxTableTexts::tr(
            "Die Datei %1 ist mit einem Kennwort geschützt und lässt sich nicht "
            "lesen."));

    const qint64 recordsPerBlock = (blockSize - kBlockHeadSize) / recordSize;
    qint64 records = 0;
    QList<bool> seen(blocks + 1, false);
    for (qint64 block = qFromLittleEndian<quint16>(header + kFirstBlockAt); block != 0;) {
        if (block > blocks || seen[block])
            fail(damaged());
        seen[block] = true;
        unsigned char head[kBlockHeadSize];
        if (std::fseek(file_.get(), long(headerSize + (block - 1) * blockSize), SEEK_SET) != 0 ||
            std::fread(head, 1, sizeof head, file_.get()) != sizeof head)
            fail(unreadable());
        const qint64 usedBytes = qFromLittleEndian<qint16>(head + kUsedBytesAt);
        const qint64 blockRecords = usedBytes / recordSize + 1;
        if (usedBytes < 0 || usedBytes % recordSize != 0 || blockRecords > recordsPerBlock)
            fail(damaged());
        records += blockRecords;
        block = qFromLittleEndian<quint16>(head + kNextBlockAt);
    }
    if (records != qFromLittleEndian<quint32>(header + kRecordCountAt))
        fail(damaged());
    if (std::fseek(file_.get(), 0, SEEK_SET) != 0)
        fail(unreadable());
}

void ParadoxTable::openDocument() {
    doc_.reset(PX_new3(noteFailure, nullptr, nullptr, nullptr, &pxlibFailed_));
    if (!doc_)
        fail(ParadoxTableTexts::tr("Die Datei %1 lässt sich nicht öffnen."));
    if (PX_open_fp(doc_.get(), file_.get()) < 0 || pxlibFailed_ || !doc_->px_head)
        fail(notParadox());

    const pxhead_t& head = *doc_->px_head;
    if (head.px_filetype != pxfFileTypIndexDB && head.px_filetype != pxfFileTypNonIndexDB)
        fail(notParadox());
    const qint64 blockSize = qint64(head.px_maxtablesize) * 0x400;
    const qint64 blocks = head.px_fileblocks;

    // The records must be exactly as long as their fields, and fit into the blocks.
    const int fieldCount = PX_get_num_fields(doc_.get());
    qint64 recordSize = 0;
    for (int i = 0; i < fieldCount; ++i) {
        const pxfield_t* field = PX_get_field(doc_.get(), i);
        if (!field || field->px_flen <= 0)
            fail(damaged());
        recordSize += field->px_flen;
    }
    if (fieldCount <= 0 || recordSize != head.px_recordsize ||
        recordSize > blockSize - kBlockHeadSize)
        fail(damaged());
    const qint64 records = PX_get_num_records(doc_.get());
    if (pxlibFailed_ || records < 0 ||
        records > blocks * ((blockSize - kBlockHeadSize) / recordSize))
        fail(damaged());
    recordCount_ = static_cast<int>(records);
    record_ = QByteArray(static_cast<qsizetype>(recordSize), '\0');

    // A table that names no code page holds Windows text.
    const int codePage = head.px_doscodepage > 0 ? head.px_doscodepage : 1252;
    codePage_ = std::make_unique<CodePageText>(codePage);
    if (!codePage_->known())
        fail(ParadoxTableTexts::tr("Die Datei %1 ist in der unbekannten Codeseite %2 geschrieben."),
             QString::number(codePage));
}

void ParadoxTable::findColumns() {
    const int fieldCount = PX_get_num_fields(doc_.get());
    for (const ExpectedColumn& expected : columns_) {
        const QString wanted = QLatin1String(expected.name);
        int offset = 0;
        std::optional<Field> found;
        for (int i = 0; i < fieldCount && !found; ++i) {
            const pxfield_t* field = PX_get_field(doc_.get(), i);
            if (field->px_fname &&
                QString::fromLatin1(field->px_fname).compare(wanted, Qt::CaseInsensitive) == 0)
                found = Field{offset, field->px_flen, field->px_ftype};
            offset += field->px_flen;
        }
        if (!found)
            fail(ParadoxTableTexts::tr("In der Datei %1 fehlt die Spalte „%2“."), wanted);
        if (!carries(expected.kind, found->type))
            fail(
                ParadoxTableTexts::tr("In der Datei %1 hat die Spalte „%2“ einen unpassenden Typ."),
                wanted);
        const int length = storedLength(found->type);
        if (length != 0 && length != found->length)
            fail(damaged());
        fields_.append(*found);
    }
}

void ParadoxTable::read(int index) {
    current_ = index;
    record_.fill('\0');
    if (index < 0 || index >= recordCount_ || !PX_get_record(doc_.get(), index, record_.data()) ||
        pxlibFailed_)
        fail(unreadableRecord(), recordText(index));
}

// Paradox keeps an empty field as zero bytes (a stored number 0 has its sign bit set).
bool ParadoxTable::isNull(int column) const {
    const Field& field = fields_[column];
    const char* data = record_.constData() + field.offset;
    return std::all_of(data, data + field.length, [](char c) { return c == '\0'; });
}

char* ParadoxTable::fieldData(int column) const {
    // pxlib's functions take char* but only read through it.
    return const_cast<char*>(record_.constData()) + fields_[column].offset;
}

std::optional<double> ParadoxTable::rawNumber(int column) const {
    if (isNull(column))
        return std::nullopt;
    const Field& field = fields_[column];
    switch (field.type) {
    case pxfShort: {
        short value = 0;
        if (PX_get_data_short(doc_.get(), fieldData(column), field.length, &value) < 0)
            fail(unreadableRecord(), recordText(current_));
        return value;
    }
    case pxfLong:
    case pxfAutoInc: {
        // pxlib's own test for an empty long field reads past it; isNull() has decided that.
        long value = 0;
        if (PX_get_data_long(doc_.get(), fieldData(column), field.length, &value) < 0)
            fail(unreadableRecord(), recordText(current_));
        return static_cast<double>(value);
    }
    default: {
        double value = 0;
        if (PX_get_data_double(doc_.get(), fieldData(column), field.length, &value) < 0)
            fail(unreadableRecord(), recordText(current_));
        if (!std::isfinite(value))
            failField(column, ParadoxTableTexts::tr("keine gültige Zahl"));
        return value;
    }
    }
}

std::optional<qint64> ParadoxTable::integer(int column) const {
    const std::optional<double> value = rawNumber(column);
    if (!value)
        return std::nullopt;
    if (std::trunc(*value) != *value || std::fabs(*value) > kLargestExactWhole)
        failField(column, ParadoxTableTexts::tr("keine ganze Zahl"));
    return static_cast<qint64>(*value);
}

std::optional<double> ParadoxTable::number(int column) const {
    return rawNumber(column);
}

QString ParadoxTable::text(int column) {
    if (isNull(column))
        return {};
    const Field& field = fields_[column];
    char* raw = nullptr;
    const int result = PX_get_data_alpha(doc_.get(), fieldData(column), field.length, &raw);
    // Without a target encoding pxlib hands over the field's bytes as they are. Its own
    // conversion gives up on texts that grow much in UTF-8, such as a field full of "€".
    const QByteArray bytes =
        raw ? QByteArray(raw, qsizetype(strnlen(raw, std::size_t(field.length)))) : QByteArray();
    if (raw)
        doc_->free(doc_.get(), raw);
    if (result < 0 || pxlibFailed_)
        fail(unreadableRecord(), recordText(current_));
    const std::optional<QString> text = codePage_->decode(bytes);
    if (!text)
        failField(column,
                  ParadoxTableTexts::tr("kein Text der Codeseite %1").arg(codePage_->codePage()));
    if (text->size() > columns_[column].maxChars)
        failField(column,
                  ParadoxTableTexts::tr("länger als %1 Zeichen").arg(columns_[column].maxChars));
    return *text;
}

std::optional<double> ParadoxTable::milliseconds(int column) const {
    if (isNull(column))
        return std::nullopt;
    const Field& field = fields_[column];
    double ms = 0;
    if (field.type == pxfDate) {
        long day = 0;
        if (PX_get_data_long(doc_.get(), fieldData(column), field.length, &day) < 0)
            fail(unreadableRecord(), recordText(current_));
        ms = double(day) * kMsPerDay;
    } else if (PX_get_data_double(doc_.get(), fieldData(column), field.length, &ms) < 0) {
        fail(unreadableRecord(), recordText(current_));
    }
    if (!std::isfinite(ms) || ms < kMsPerDay || ms >= double(lastDay() + 1) * kMsPerDay)
        failField(column, ParadoxTableTexts::tr("kein gültiges Datum"));
    return ms;
}

QDate ParadoxTable::date(int column) const {
    const std::optional<double> ms = milliseconds(column);
    return ms ? dateOfDay(static_cast<qint64>(std::floor(*ms / kMsPerDay))) : QDate();
}

QDateTime ParadoxTable::timestamp(int column) const {
    const std::optional<double> ms = milliseconds(column);
    if (!ms)
        return {};
    qint64 day = static_cast<qint64>(std::floor(*ms / kMsPerDay));
    qint64 msOfDay = std::llround(*ms - double(day) * kMsPerDay);
    if (msOfDay >= qint64(kMsPerDay)) { // rounded up to the next midnight
        ++day;
        msOfDay = 0;
    }
    if (day > lastDay())
        failField(column, ParadoxTableTexts::tr("kein gültiges Datum"));
    return QDateTime(dateOfDay(day), QTime::fromMSecsSinceStartOfDay(static_cast<int>(msOfDay)));
}

} // namespace takeover
