// The .xlsx workbook for analysis tools: the jumps' sheet and the measurements' statistics.

#include "core/export/Workbook.h"

#include "core/analysis/JumpAnalysis.h"
#include "core/base/Errors.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include <xlsxwriter.h>

#include <cstdio>

namespace workbook {
namespace {

// The texts of this file that the user reads, in the translation context "workbook".
struct TextsOfWorkbook {
    Q_DECLARE_TR_FUNCTIONS(workbook)
};

QString noMemoryText() {
    return TextsOfWorkbook::tr("Zu wenig Speicher.");
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
    }
    bool full() const { return full_; }
    lxw_error error() const { return error_; }

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

const QStringList& measurementColumns() {
    static const QStringList columns{
        QStringLiteral("athlete_id"),
        QStringLiteral("surname"),
        QStringLiteral("first_name"),
        QStringLiteral("measurement_id"),
        QStringLiteral("measurement_number"),
        QStringLiteral("date_time"),
        QStringLiteral("test"),
        QStringLiteral("drop_height_cm"),
        QStringLiteral("mode"),
        QStringLiteral("protocol"),
        QStringLiteral("jumps"),
        QStringLiteral("valid_jumps"),
        QStringLiteral("best_height_cm"),
        QStringLiteral("mean_height_cm"),
        QStringLiteral("height_sd_cm"),
        QStringLiteral("height_cv_percent"),
        QStringLiteral("mean_contact_ms"),
        QStringLiteral("mean_flight_ms"),
        QStringLiteral("best_rsi"),
        QStringLiteral("mean_rsi"),
        QStringLiteral("fatigue_percent"),
    };
    return columns;
}

tidyexport::Result write(DataStore& store, const QString& path, const QList<qint64>& athleteIds,
                         const plausibility::Limits& limits, const tidyexport::Progress& progress) {
    const QFileInfo target(path);
    // Written beside the target under a name of its own, then put in its place.
    QTemporaryFile part(
        target.absoluteDir().filePath(QStringLiteral(".%1-XXXXXX.part").arg(target.fileName())));
    if (!part.open())
        return {
            Exporter::Outcome::Failed, Exporter::cannotCreateText(path, part.errorString()), {}};
    part.close();
    // The name is kept; the library creates the file anew, with the permissions any new file
    // gets rather than the temporary file's private ones.
    QFile::remove(part.fileName());

    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    const QByteArray partName = QFile::encodeName(part.fileName());
    lxw_workbook* book = workbook_new_opt(partName.constData(), &options);
    if (book == nullptr)
        return {Exporter::Outcome::Failed, Exporter::cannotCreateText(path, noMemoryText()), {}};
    lxw_format* header = workbook_add_format(book);
    format_set_bold(header);
    lxw_format* momentFormat = workbook_add_format(book);
    format_set_num_format(momentFormat, "yyyy-mm-dd hh:mm:ss");
    lxw_format* dateFormat = workbook_add_format(book);
    format_set_num_format(dateFormat, "yyyy-mm-dd");

    Sheet jumps(book, "jumps", tidyexport::jumpColumns(), header);
    Sheet measurements(book, "measurements", measurementColumns(), header);

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
    const lxw_error closed = workbook_close(book);
    if (failure)
        return {Exporter::Outcome::Failed, failure->text, {}};
    if (jumps.full())
        return {Exporter::Outcome::Failed, tooManyJumpsText(), {}};
    if (!complete)
        return {Exporter::Outcome::Cancelled, {}, {}};
    for (const lxw_error error : {jumps.error(), measurements.error(), closed})
        if (error != LXW_NO_ERROR)
            return {Exporter::Outcome::Failed,
                    Exporter::cannotCreateText(path, QString::fromUtf8(lxw_strerror(error))),
                    {}};
    if (std::rename(partName.constData(), QFile::encodeName(target.absoluteFilePath())) != 0)
        return {Exporter::Outcome::Failed,
                Exporter::cannotCreateText(path, qt_error_string(errno)),
                {}};
    part.setAutoRemove(false);
    return {Exporter::Outcome::Written, {}, count};
}

} // namespace workbook
