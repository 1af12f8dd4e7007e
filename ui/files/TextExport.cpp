// "Export" and "Alle Exportieren": the export file with its save dialog and progress.

#include "ui/files/TextExport.h"

#include "core/base/FileNames.h"
#include "core/export/Exporter.h"
#include "core/store/DataStore.h"
#include "ui/common/MessageService.h"
#include "ui/common/Widgets.h"

#include <QCoreApplication>
#include <QDate>

namespace textexport {
namespace {

// The texts of this file that the user reads, in the translation context "textexport".
struct TextsOfTextexport {
    Q_DECLARE_TR_FUNCTIONS(textexport)
};

const QString kExportSuffix = QStringLiteral("txt");

} // namespace

void saveSelected(MessageService& messages, DataStore& store,
                  const std::optional<Athlete>& athlete) {
    const QStringList names =
        athlete ? QStringList{athlete->name, athlete->firstName} : QStringList();
    const QString path =
        messages.saveFileName({TextsOfTextexport::tr("einzelnen Sportler exportieren"),
                               TextsOfTextexport::tr("Textdatei|*.txt"), kExportSuffix,
                               filenames::suggested(names, QDate::currentDate(), kExportSuffix)});
    if (path.isEmpty())
        return;
    QString text;
    Exporter::Result result;
    {
        widgets::BusyCursor busy;
        QList<qint64> selected;
        if (athlete)
            selected << athlete->id;
        text = Exporter(store).text(selected);
        result = Exporter::writeText(path, text);
    }
    if (result.outcome == Exporter::Outcome::Failed) {
        boxes::plain(messages, result.message);
        return;
    }
    messages.setClipboardText(text);
}

void saveListed(MessageService& messages, DataStore& store, const QList<Athlete>& listed) {
    const QString path =
        messages.saveFileName({TextsOfTextexport::tr("alle Sportler exportieren"),
                               TextsOfTextexport::tr("Textdatei|*.txt"), kExportSuffix,
                               filenames::suggested({TextsOfTextexport::tr("Sportler")},
                                                    QDate::currentDate(), kExportSuffix)});
    if (path.isEmpty())
        return;
    QList<qint64> ids;
    for (const Athlete& athlete : listed)
        ids << athlete.id;
    Exporter::Result result;
    {
        const auto progress =
            messages.showProgress(TextsOfTextexport::tr("Export läuft … %1 von %2 Sportlern"),
                                  static_cast<int>(ids.size()));
        result = Exporter(store).writeFile(
            path, ids, [&progress](int done) { return progress->update(done); });
    }
    if (result.outcome == Exporter::Outcome::Failed)
        boxes::plain(messages, result.message);
}

} // namespace textexport
