// The check of the database file at start and the offer to restore the newest sound backup.

#include "ui/main/RestoreOffer.h"

#include "core/base/Clock.h"
#include "core/base/Settings.h"
#include "core/station/Station.h"
#include "core/store/Backup.h"
#include "ui/athletes/AthleteController.h"
#include "ui/common/AppContext.h"
#include "ui/common/MessageService.h"
#include "ui/common/Widgets.h"
#include "ui/history/HistoryController.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

// The texts of this file that the user reads, in the translation context "RestoreOffer".
struct RestoreOfferTexts {
    Q_DECLARE_TR_FUNCTIONS(RestoreOffer)
};

} // namespace

namespace restoreoffer {

void checkAtStart(const Parts& parts, QObject* receiver) {
    AppContext& context = parts.context;
    int kept = backup::kKeptByDefault;
    if (auto stored = context.openSettings())
        kept = readSettings(*stored).backupsKept;
    parts.station.store().checkInBackground(
        context.clock.now().date(), kept, receiver,
        [parts](bool damaged) {
            if (damaged)
                runGuarded(parts.context.messages, [&parts] { offer(parts); });
        },
        [&context](const QString& failure) {
            boxes::error(context.messages,
                         RestoreOfferTexts::tr("Die tägliche Sicherung der Datenbank ist nicht "
                                               "gelungen.\n\n%1")
                             .arg(failure));
        });
}

void offer(const Parts& parts) {
    AppContext& context = parts.context;
    DataStore& store = parts.station.store();
    if (context.store.kind != StoreLocation::Kind::Embedded || parts.station.session().running())
        return;
    const QString database = store.filePath();
    QString newest;
    {
        widgets::BusyCursor busy;
        newest = store.newestSoundBackup();
    }
    if (newest.isEmpty()) {
        boxes::error(
            context.messages,
            store.damagedText() +
                RestoreOfferTexts::tr("\n\nIm Ordner \"%1\" liegt keine intakte "
                                      "Sicherung.")
                    .arg(QDir::toNativeSeparators(backup::folder(context.store.directory))));
        return;
    }
    if (!boxes::confirm(
            context.messages,
            RestoreOfferTexts::tr("Die Datenbank \"%1\" ist beschädigt. Soll die neueste "
                                  "intakte Sicherung \"%2\" an ihre Stelle treten? Die "
                                  "beschädigte Datei wird umbenannt und bleibt erhalten. "
                                  "Ohne Wiederherstellung wird die Datenbank nur gelesen.")
                .arg(QDir::toNativeSeparators(database), QFileInfo(newest).fileName()),
            {RestoreOfferTexts::tr("Wiederherstellen"), RestoreOfferTexts::tr("Nur lesen")}))
        return;
    QString aside;
    // The store is open again afterwards in any case: the restored copy, or the damaged file
    // left where it was.
    const auto failure = failureOf([&] {
        aside = store.restoreBackup(newest, QStringLiteral("beschaedigt"), context.clock.now());
    });
    parts.athletes.listAtStart();
    if (failure)
        throw AppError(failure->text, failure->detail);
    boxes::information(
        context.messages,
        RestoreOfferTexts::tr("Die Sicherung \"%1\" ist wiederhergestellt. Die beschädigte "
                              "Datei liegt als \"%2\" daneben.")
            .arg(QFileInfo(newest).fileName(), QDir::toNativeSeparators(aside)));
}

} // namespace restoreoffer
