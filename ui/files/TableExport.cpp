// The CSV file and the workbook for analysis tools, with the choice of athletes, the save dialog
// and the progress.

#include "ui/files/TableExport.h"

#include "core/base/FileNames.h"
#include "core/export/TidyExport.h"
#include "core/export/Workbook.h"
#include "core/store/DataStore.h"
#include "ui/common/MessageService.h"

#include <QCoreApplication>
#include <QDate>

namespace tableexport {
namespace {

// The texts of this file that the user reads, in the translation context "tableexport".
struct TextsOfTableexport {
    Q_DECLARE_TR_FUNCTIONS(tableexport)
};

} // namespace

void run(MessageService& messages, DataStore& store, const plausibility::Limits& limits,
         const Scope& scope, Format format) {
    if (!scope.selected && scope.listed.isEmpty()) {
        boxes::information(messages,
                           TextsOfTableexport::tr("Es ist kein Sportler zum Exportieren da."));
        return;
    }
    QList<Athlete> athletes;
    QStringList nameParts;
    const QString listedCaption =
        scope.groupName.isEmpty() ? TextsOfTableexport::tr("Alle an&gezeigten Sportler")
                                  : TextsOfTableexport::tr("&Gruppe \"%1\"").arg(scope.groupName);
    int choice = 1;
    if (scope.selected && scope.listed.size() > 1) {
        choice = messages.show({boxes::kAppTitle,
                                BoxIcon::Question,
                                TextsOfTableexport::tr("Welche Sportler sollen exportiert werden?"),
                                {TextsOfTableexport::tr("&Ausgewählter Sportler"), listedCaption,
                                 TextsOfTableexport::tr("Abbrechen")},
                                {},
                                0});
        if (choice != 0 && choice != 1)
            return;
    } else if (scope.selected) {
        choice = 0;
    }
    if (choice == 0) {
        athletes << *scope.selected;
        nameParts << scope.selected->name << scope.selected->firstName;
    } else {
        athletes = scope.listed;
        nameParts << (scope.groupName.isEmpty() ? TextsOfTableexport::tr("Sportler")
                                                : scope.groupName);
    }
    const bool csv = format == Format::Csv;
    const QString suffix = csv ? QStringLiteral("csv") : QStringLiteral("xlsx");
    const QString path = messages.saveFileName(
        {csv ? TextsOfTableexport::tr("Tabelle (CSV, UTF-8) exportieren")
             : TextsOfTableexport::tr("Arbeitsmappe (Excel) exportieren"),
         csv ? TextsOfTableexport::tr("Tabelle (CSV)|*.csv")
             : TextsOfTableexport::tr("Excel-Arbeitsmappe|*.xlsx"),
         suffix, filenames::suggested(nameParts, QDate::currentDate(), suffix)});
    if (path.isEmpty())
        return;
    QList<qint64> ids;
    ids.reserve(athletes.size());
    for (const Athlete& athlete : athletes)
        ids << athlete.id;
    tidyexport::Result result;
    {
        const auto progress =
            messages.showProgress(TextsOfTableexport::tr("Export läuft … %1 von %2 Sportlern"),
                                  static_cast<int>(ids.size()));
        const auto told = [&progress](int done) {
            return progress->update(done);
        };
        result = csv ? tidyexport::writeCsv(store, path, ids, limits, told)
                     : workbook::write(store, path, ids, limits, told);
    }
    if (result.outcome == Exporter::Outcome::Failed)
        boxes::plain(messages, result.message);
}

} // namespace tableexport
