// Text export of the stored jumps and the clipboard copy. The file's numbers always carry
// "," as decimal separator; the program-wide separator is left as it is, so the window shows
// numbers after an export as it did before.

#include "core/base/MessageService.h"
#include "core/export/ExportFormat.h"
#include "core/store/ResultSet.h"
#include "core/store/SeriesKey.h"
#include "ui/MainForm.h"
#include "ui/ResultSetModel.h"

#include <QApplication>
#include <QDir>
#include <QSaveFile>
#include <QTableView>

#include <optional>

namespace {

const QString kFilter = QStringLiteral("Textdatei|*.txt");
const QString kSuffix = QStringLiteral("txt");

// The busy state of an export: the hourglass, and the jump grid detached from its query so
// that re-pointing the query once per measurement draws nothing. Both end with the export,
// also when it fails.
class ExportBusy {
public:
    explicit ExportBusy(ResultSetModel* grid) : grid_(grid), bound_(grid->resultSet()) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        grid_->setResultSet(nullptr);
    }
    ~ExportBusy() {
        grid_->setResultSet(bound_);
        QApplication::restoreOverrideCursor();
    }
    ExportBusy(const ExportBusy&) = delete;
    ExportBusy& operator=(const ExportBusy&) = delete;

private:
    ResultSetModel* grid_;
    ResultSet* bound_;
};

// Appends one line per stored jump of the athlete at the current row of `athletes`: his
// measurements in the order the store returns them, the jumps of each by their number.
void appendAthlete(ResultSet& athletes, ResultSet& measurements, ResultSet& jumps,
                   QStringList& lines) {
    if (!athletes.isOpen() || athletes.currentRow() < 0)
        return;
    const qint64 athlete = athletes.asInteger(QStringLiteral("ID"));
    exportfile::JumpLine jump;
    jump.name = athletes.asText(QStringLiteral("Name"));
    jump.firstName = athletes.asText(QStringLiteral("Vorname"));

    measurements.close();
    measurements.setSql(
        {QStringLiteral("SELECT * FROM units"), QStringLiteral("WHERE Ref_ID = %1").arg(athlete)});
    measurements.open();
    for (measurements.first(); !measurements.eof(); measurements.next()) {
        jump.moment = measurements.asDateTime(QStringLiteral("Datum"));
        const qint64 key = seriesKey(athlete, measurements.asInteger(QStringLiteral("Nummer")));
        jumps.close();
        jumps.setSql({QStringLiteral("SELECT * from mr"),
                      QStringLiteral("where Serie = %1").arg(key),
                      QStringLiteral("order by Anzahl")});
        jumps.open();
        for (jumps.first(); !jumps.eof(); jumps.next()) {
            jump.contactMs = jumps.asFloat(QStringLiteral("SZ"));
            jump.flightMs = jumps.asFloat(QStringLiteral("FZ"));
            jump.efficiency = jumps.asFloat(QStringLiteral("Eff"));
            jump.heightCm = jumps.asFloat(QStringLiteral("hoehe"));
            lines << exportfile::line(jump);
        }
    }
}

// Writes the file in one piece. An earlier file of that name is replaced only once the whole
// new content is on disk, so a failed write leaves it as it was. Returns the system's reason
// when the file cannot be written.
std::optional<QString> writeFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return file.errorString();
    return std::nullopt;
}

QString cannotCreate(const QString& path, const QString& reason) {
    return QStringLiteral("Datei \"%1\" kann nicht erstellt werden. %2")
        .arg(QDir::toNativeSeparators(path), reason);
}

// The export leaves the jump query on the last measurement it read; a visible jump grid is
// brought back to the series selected in the history list.
void showSelectedSeries(TForm1& form) {
    if (form.DBGrid3->isVisibleTo(&form))
        form.FilterTable3(true);
}

} // namespace

void TForm1::SingleExportExecute() {
    ResultSet& athletes = Query1();
    const QString path =
        ctx_.ui.saveFileName({QStringLiteral("einzelnen Sportler exportieren"), kFilter, kSuffix});
    if (path.isEmpty())
        return;

    QStringList lines{exportfile::kHeader};
    QString text;
    std::optional<QString> failure;
    {
        ExportBusy busy(DataSource3);
        appendAthlete(athletes, Query2(), Query3(), lines);
        text = exportfile::text(lines);
        failure = writeFile(path, exportfile::toWindows1252(text));
    }
    showSelectedSeries(*this);
    if (failure) {
        boxes::plain(ctx_.ui, cannotCreate(path, *failure));
        return;
    }
    ctx_.ui.setClipboardText(text);
}

void TForm1::AllExportExecute() {
    ResultSet& athletes = Query1();
    const QString path =
        ctx_.ui.saveFileName({QStringLiteral("alle Sportler exportieren"), kFilter, kSuffix});
    if (path.isEmpty())
        return;

    QStringList lines{exportfile::kHeader};
    std::optional<QString> failure;
    {
        ExportBusy busy(DataSource3);
        // Every move to the next athlete rebuilds the history list for him, as a click in the
        // athlete grid does; the export ends on the last athlete of the list.
        if (athletes.isOpen())
            for (athletes.first(); !athletes.eof(); athletes.next())
                appendAthlete(athletes, Query2(), Query3(), lines);
        failure = writeFile(path, exportfile::toWindows1252(exportfile::text(lines)));
    }
    showSelectedSeries(*this);
    if (failure)
        boxes::plain(ctx_.ui, cannotCreate(path, *failure));
}
