// The .xlsx workbook for analysis tools: the jumps' sheet and the measurements' statistics.

#include "core/export/Workbook.h"

#include "core/analysis/JumpAnalysis.h"
#include "core/base/Errors.h"
#include "core/base/FileOutput.h"
#include "core/store/DataStore.h"

#include <QCoreApplication>
#include <QFile>
#include <QtEndian>

#include <xlsxwriter.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/mman.h>
#include <unistd.h>
#include <utility>

namespace workbook {
namespace {

// The texts of this file that the user reads, in the translation context "workbook".
struct TextsOfWorkbook {
    Q_DECLARE_TR_FUNCTIONS(workbook)
};

QString noMemoryText() {
    return TextsOfWorkbook::tr("Zu wenig Speicher.");
}

QString failedText() {
    return TextsOfWorkbook::tr("Die Arbeitsmappe kann nicht zusammengesetzt werden.");
}

// The system's error number of a failure the library reported, when it tells one: the error
// number it left, else what the target's folder shows (gone, write-protected, full).
int causeOfLibraryFailure(lxw_error error, int errorNumber, const QString& path) {
    if (error == LXW_ERROR_MEMORY_MALLOC_FAILED)
        return ENOMEM;
    switch (errorNumber) {
    case ENOSPC:
    case EDQUOT:
    case EACCES:
    case EPERM:
    case EROFS:
    case ENOENT:
    case ENOTDIR:
    case EIO:
    case EFBIG:
        return errorNumber;
    default:
        return fileoutput::likelyErrorNumber(path);
    }
}

// libxlsxwriter prints its failures on standard error itself ("[ERROR][...]"); the user is
// told them in his words instead. While the library works, standard error goes to a file of
// its own; what else was printed meanwhile is passed on afterwards.
class LibraryMessages {
public:
    LibraryMessages() {
        std::fflush(stderr);
        saved_ = ::dup(STDERR_FILENO);
        captured_ = ::memfd_create("kalvero-library-messages", MFD_CLOEXEC);
        if (saved_ < 0 || captured_ < 0 || ::dup2(captured_, STDERR_FILENO) < 0)
            release();
    }
    ~LibraryMessages() {
        if (saved_ < 0)
            return;
        std::fflush(stderr);
        ::dup2(saved_, STDERR_FILENO);
        QByteArray text;
        char block[4096];
        ::lseek(captured_, 0, SEEK_SET);
        for (ssize_t n; (n = ::read(captured_, block, sizeof block)) > 0;)
            text.append(block, n);
        for (const QByteArray& line : text.split('\n')) {
            if (line.isEmpty() || line.startsWith("[ERROR]") || line.startsWith("[WARNING]"))
                continue;
            const QByteArray passed = line + '\n';
            [[maybe_unused]] const ssize_t written =
                ::write(STDERR_FILENO, passed.constData(), static_cast<size_t>(passed.size()));
        }
        release();
    }
    LibraryMessages(const LibraryMessages&) = delete;
    LibraryMessages& operator=(const LibraryMessages&) = delete;

private:
    void release() {
        for (int* descriptor : {&saved_, &captured_}) {
            if (*descriptor >= 0)
                ::close(*descriptor);
            *descriptor = -1;
        }
    }
    int saved_ = -1;
    int captured_ = -1;
};

QString incompleteText() {
    return TextsOfWorkbook::tr("Die Arbeitsmappe ist unvollständig geblieben; vielleicht ist der "
                               "Datenträger voll.");
}

// Whether an XML part ends with the end tag of the element it begins with.
bool wholePart(const QByteArray& head, const QByteArray& tail) {
    qsizetype open = head.indexOf('<');
    while (open >= 0 && open + 1 < head.size() && head[open + 1] == '?')
        open = head.indexOf('<', open + 1);
    if (open < 0)
        return false;
    qsizetype nameEnd = open + 1;
    while (nameEnd < head.size() && head[nameEnd] != ' ' && head[nameEnd] != '>' &&
           head[nameEnd] != '\r' && head[nameEnd] != '\n' && head[nameEnd] != '/')
        ++nameEnd;
    if (nameEnd >= head.size())
        return false;
    return tail.trimmed().endsWith("</" + head.mid(open + 1, nameEnd - open - 1) + '>');
}

// Whether the workbook at `path` is whole: the archive ends with its closing record right
// after its central directory, and every part in it ends with the end tag of its root. The library
// does not look whether the writes of its temporary files and of the archive's last bytes
// succeeded: a workbook cut short, or with rows left out, would otherwise be taken for written.
bool completeWorkbook(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 22)
        return false;
    const qint64 size = file.size();
    const uchar* bytes = file.map(0, size);
    if (bytes == nullptr)
        return false;
    const auto u16 = [bytes](qint64 at) {
        return qint64(qFromLittleEndian<quint16>(bytes + at));
    };
    const auto u32 = [bytes](qint64 at) {
        return qint64(qFromLittleEndian<quint32>(bytes + at));
    };
    const auto signature = [bytes, size](qint64 at, const char* four) {
        return at >= 0 && at + 4 <= size && std::memcmp(bytes + at, four, 4) == 0;
    };
    const qint64 end = size - 22;
    if (!signature(end, "PK\x05\x06") || u32(end + 16) + u32(end + 12) != end)
        return false;
    qint64 at = u32(end + 16);
    for (qint64 entry = 0, entries = u16(end + 10); entry < entries; ++entry) {
        if (!signature(at, "PK\x01\x02") || at + 46 > end)
            return false;
        const qint64 method = u16(at + 10);
        const qint64 packed = u32(at + 20);
        const qint64 nameSize = u16(at + 28);
        const QByteArray name(reinterpret_cast<const char*>(bytes + at + 46), nameSize);
        const qint64 local = u32(at + 42);
        at += 46 + nameSize + u16(at + 30) + u16(at + 32);
        if (!name.endsWith(".xml") && !name.endsWith(".rels"))
            continue;
        if (!signature(local, "PK\x03\x04") || local + 30 > end)
            return false;
        const qint64 data = local + 30 + u16(local + 26) + u16(local + 28);
        if (data + packed > end || (method != 0 && method != 8))
            return false;
        // The part's first and last bytes, inflated as they come.
        QByteArray head;
        QByteArray tail;
        if (method == 0) {
            const QByteArray part(reinterpret_cast<const char*>(bytes + data), packed);
            head = part.left(512);
            tail = part.right(256);
        } else {
            z_stream stream{};
            if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
                return false;
            stream.next_in = const_cast<Bytef*>(bytes + data);
            stream.avail_in = static_cast<uInt>(packed);
            char block[1 << 16];
            int rc = Z_OK;
            while (rc == Z_OK) {
                stream.next_out = reinterpret_cast<Bytef*>(block);
                stream.avail_out = sizeof block;
                rc = inflate(&stream, Z_NO_FLUSH);
                const qsizetype produced = qsizetype(sizeof block) - stream.avail_out;
                if (head.size() < 512)
                    head += QByteArray(block, std::min<qsizetype>(produced, 512));
                tail = (tail + QByteArray(block, produced)).right(256);
            }
            inflateEnd(&stream);
            if (rc != Z_STREAM_END)
                return false;
        }
        if (!wholePart(head, tail))
            return false;
    }
    return true;
}

QString tooManyJumpsText() {
    return TextsOfWorkbook::tr("Eine Arbeitsmappe fasst höchstens %1 Sprünge; bitte weniger "
                               "Sportler exportieren.")
        .arg(kMaxRows);
}

// A text for a cell: characters that XML cannot carry (control characters other than tab and
// line breaks) become blanks.
QByteArray cellText(const QString& text) {
    QString clean = text;
    for (QChar& c : clean)
        if (c.unicode() < 0x20 && c != QLatin1Char('\t') && c != QLatin1Char('\n') &&
            c != QLatin1Char('\r'))
            c = QLatin1Char(' ');
    return clean.toUtf8();
}

lxw_datetime dateTimeOf(const QDateTime& moment) {
    const QDate day = moment.date();
    const QTime time = moment.time();
    return {day.year(),  day.month(),   day.day(),
            time.hour(), time.minute(), static_cast<double>(time.second())};
}

// One sheet written row by row, as the constant-memory mode needs; remembers the first
// failure.
class Sheet {
public:
    Sheet(lxw_workbook* book, const char* name, const QStringList& columns, lxw_format* header)
        : sheet_(workbook_add_worksheet(book, name)), columns_(static_cast<int>(columns.size())) {
        for (int c = 0; c < columns_; ++c)
            check(worksheet_write_string(sheet_, 0, static_cast<lxw_col_t>(c),
                                         columns[c].toUtf8().constData(), header));
        worksheet_freeze_panes(sheet_, 1, 0);
    }
    // Starts the next row; false when the sheet is full.
    bool nextRow() {
        if (row_ >= kMaxRows) {
            full_ = true;
            return false;
        }
        ++row_;
        column_ = 0;
        return true;
    }
    void number(double value) {
        check(worksheet_write_number(sheet_, row_, column_++, value, nullptr));
    }
    void number(const std::optional<double>& value) {
        if (value)
            number(*value);
        else
            ++column_;
    }
    void text(const QString& value) {
        if (!value.isEmpty())
            check(worksheet_write_string(sheet_, row_, column_, cellText(value).constData(),
                                         nullptr));
        ++column_;
    }
    void moment(const QDateTime& value, lxw_format* format) {
        if (value.isValid()) {
            lxw_datetime at = dateTimeOf(value);
            check(worksheet_write_datetime(sheet_, row_, column_, &at, format));
        }
        ++column_;
    }
    void boolean(bool value) {
        check(worksheet_write_boolean(sheet_, row_, column_++, value ? 1 : 0, nullptr));
    }
    void finish() {
        check(worksheet_autofilter(sheet_, 0, 0, row_, static_cast<lxw_col_t>(columns_ - 1)));
        // The library writes the rows to a temporary file without looking whether the writes
        // succeeded: a failed one would leave rows out of the workbook without a word.
        if (FILE* rows = sheet_->optimize_tmpfile;
            rows != nullptr && (std::fflush(rows) != 0 || std::ferror(rows) != 0)) {
            errorNumber_ = errno;
            check(LXW_ERROR_CREATING_TMPFILE);
        }
    }
    bool full() const { return full_; }
    lxw_error error() const { return error_; }
    int errorNumber() const { return errorNumber_; }

private:
    void check(lxw_error error) {
        if (error != LXW_NO_ERROR && error_ == LXW_NO_ERROR)
            error_ = error;
    }
    lxw_worksheet* sheet_;
    int columns_;
    lxw_row_t row_ = 0;
    lxw_col_t column_ = 0;
    bool full_ = false;
    lxw_error error_ = LXW_NO_ERROR;
    int errorNumber_ = 0;
};

std::optional<double> integral(qint64 value) {
    return static_cast<double>(value);
}

// A measurement's own columns, alike on both sheets: its ID and number, moment, test, drop
// height and mode.
void writeMeasurementPart(Sheet& sheet, const tidyexport::MeasurementPart& m,
                          lxw_format* momentFormat) {
    sheet.number(integral(m.id));
    sheet.number(integral(m.measurementNumber));
    sheet.moment(m.moment, momentFormat);
    sheet.text(m.test);
    sheet.number(m.dropHeightCm ? std::optional<double>(*m.dropHeightCm) : std::nullopt);
    sheet.text(m.series ? QStringLiteral("series") : QStringLiteral("single"));
    sheet.text(m.protocol);
}

} // namespace

tidyexport::Result write(DataStore& store, const QString& path, const QList<qint64>& athleteIds,
                         const plausibility::Limits& limits, const tidyexport::Progress& progress) {
    // A sheet holds a known number of rows: a workbook that cannot hold them all is refused
    // before anything is written.
    if (store.jumps().countListed(athleteIds) > kMaxRows)
        return {Exporter::Outcome::Failed, tooManyJumpsText(), {}};
    // Written beside the target under a name of its own, then put in its place.
    fileoutput::AtomicFile file(path);
    if (!file.open())
        return {Exporter::Outcome::Failed, file.message(), {}};
    const QByteArray partName = QFile::encodeName(file.handOver());

    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    lxw_workbook* book = nullptr;
    {
        const LibraryMessages quiet;
        book = workbook_new_opt(partName.constData(), &options);
    }
    if (book == nullptr)
        return {Exporter::Outcome::Failed, Exporter::cannotCreateText(path, noMemoryText()), {}};
    lxw_format* header = workbook_add_format(book);
    format_set_bold(header);
    lxw_format* momentFormat = workbook_add_format(book);
    format_set_num_format(momentFormat, "yyyy-mm-dd hh:mm:ss");
    lxw_format* dateFormat = workbook_add_format(book);
    format_set_num_format(dateFormat, "yyyy-mm-dd");

    Sheet jumps(book, "jumps", tidyexport::jumpColumns(), header);
    Sheet measurements(book, "measurements", tidyexport::measurementColumns(), header);

    // The measurement whose jumps are being written, for its row in "measurements".
    std::optional<tidyexport::AthletePart> athleteOfMeasurement;
    std::optional<tidyexport::MeasurementPart> measurement;
    QList<analysis::StoredJump> measurementJumps;
    const auto writeMeasurement = [&] {
        if (!measurement || !measurements.nextRow())
            return;
        const analysis::JumpStatistics s = analysis::jumpStatistics(measurementJumps);
        measurements.number(integral(athleteOfMeasurement->id));
        measurements.text(athleteOfMeasurement->surname);
        measurements.text(athleteOfMeasurement->firstName);
        writeMeasurementPart(measurements, *measurement, momentFormat);
        measurements.number(integral(measurementJumps.size()));
        measurements.number(integral(s.jumpCount));
        measurements.number(s.bestHeightCm);
        measurements.number(s.meanHeightCm);
        measurements.number(s.heightSdCm);
        measurements.number(s.heightCvPercent);
        measurements.number(s.meanContactMs);
        measurements.number(s.meanFlightMs);
        measurements.number(s.bestRsi);
        measurements.number(s.meanRsi);
        measurements.number(s.fatiguePercent);
    };

    tidyexport::Written count;
    bool complete = false;
    const auto failure = failureOf([&] {
        complete = tidyexport::TidyReader(store).forEachRow(
            athleteIds,
            [&](const tidyexport::Row& r) {
                if (r.newMeasurement) {
                    writeMeasurement();
                    athleteOfMeasurement = r.athlete;
                    measurement = r.measurement;
                    measurementJumps.clear();
                }
                if (r.newAthlete)
                    ++count.athletes;
                const tidyexport::JumpPart& j = r.jump;
                measurementJumps.append({j.contactMs.value_or(-1), j.flightMs.value_or(-1),
                                         static_cast<int>(j.jumpIndex), j.excluded});
                if (!jumps.nextRow())
                    return;
                ++count.jumps;
                jumps.number(integral(r.athlete.id));
                jumps.text(r.athlete.surname);
                jumps.text(r.athlete.firstName);
                jumps.moment(r.athlete.birthDate.startOfDay(), dateFormat);
                jumps.text(r.athlete.sex);
                writeMeasurementPart(jumps, r.measurement, momentFormat);
                jumps.number(j.jumpIndex);
                jumps.number(j.contactMs);
                jumps.number(j.flightMs);
                jumps.number(j.heightCm);
                jumps.number(j.rsi);
                jumps.number(j.efficiency);
                jumps.boolean(j.excluded);
                jumps.text(j.exclusionReason);
                jumps.number(integral(limits.contactMinMs));
                jumps.number(integral(limits.contactMaxMs));
                jumps.number(integral(limits.flightMinMs));
                jumps.number(integral(limits.flightMaxMs));
            },
            [&](int done) { return !jumps.full() && (!progress || progress(done)); });
        writeMeasurement();
    });
    jumps.finish();
    measurements.finish();
    lxw_error closed = LXW_NO_ERROR;
    int closeError = 0;
    {
        const LibraryMessages quiet;
        errno = 0;
        closed = workbook_close(book);
        closeError = errno;
    }
    if (failure)
        return {Exporter::Outcome::Failed, failure->text, {}};
    if (jumps.full())
        return {Exporter::Outcome::Failed, tooManyJumpsText(), {}};
    if (!complete)
        return {Exporter::Outcome::Cancelled, {}, {}};
    for (const auto& [error, errorNumber] :
         {std::pair{jumps.error(), jumps.errorNumber()},
          std::pair{measurements.error(), measurements.errorNumber()},
          std::pair{closed, closeError}})
        if (error != LXW_NO_ERROR) {
            const int cause = causeOfLibraryFailure(error, errorNumber, path);
            file.fail(cause, cause == 0 ? failedText() : QString());
            return {Exporter::Outcome::Failed, file.message(), {}};
        }
    if (!completeWorkbook(QFile::decodeName(partName))) {
        const int cause = fileoutput::likelyErrorNumber(path);
        file.fail(cause, cause == 0 ? incompleteText() : QString());
        return {Exporter::Outcome::Failed, file.message(), {}};
    }
    if (!file.commit())
        return {Exporter::Outcome::Failed, file.message(), {}};
    return {Exporter::Outcome::Written, {}, count};
}

} // namespace workbook
