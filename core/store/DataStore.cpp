// The store's surface: it opens the database with its repositories and answers for its health and
// its backups.

#include "core/store/DataStore.h"

#include "core/store/Backup.h"
#include "core/store/Database.h"

#include <QCoreApplication>
#include <QDir>

namespace {

// The texts of this file that the user reads, in the translation context "DataStore".
struct DataStoreTexts {
    Q_DECLARE_TR_FUNCTIONS(DataStore)
};

} // namespace

struct DataStore::Open {
    explicit Open(const StoreLocation& location) : database(location) {}
    Database database;
    AthleteRepository athletes{database};
    MeasurementRepository measurements{database};
    JumpReader jumps{database};
    GroupRepository groups{database};
    TestDayRepository testDays{database};
    RetestRepository retests{database};
};

DataStore::DataStore() = default;
DataStore::~DataStore() = default;

void DataStore::open(const StoreLocation& location) {
    open_.reset();
    retry_.reset();
    try {
        open_ = std::make_unique<Open>(location);
    } catch (...) {
        // A server that was away, a disk that was full: the next use tries again.
        retry_ = location;
        throw;
    }
}

void DataStore::close() {
    open_.reset();
    retry_.reset();
}

DataStore::Open& DataStore::require() {
    if (!open_ && retry_)
        open_ = std::make_unique<Open>(*retry_);
    if (!open_)
        throw AppError(DataStoreTexts::tr("Die Datenbank ist nicht geöffnet"));
    retry_.reset();
    return *open_;
}

Database& DataStore::database() {
    return require().database;
}

AthleteRepository& DataStore::athletes() {
    return require().athletes;
}

MeasurementRepository& DataStore::measurements() {
    return require().measurements;
}

JumpReader& DataStore::jumps() {
    return require().jumps;
}

GroupRepository& DataStore::groups() {
    return require().groups;
}

TestDayRepository& DataStore::testDays() {
    return require().testDays;
}

RetestRepository& DataStore::retests() {
    return require().retests;
}

bool DataStore::allOrNothing(const std::function<bool()>& work) {
    Database::Transaction transaction(require().database);
    if (!work())
        return false;
    transaction.commit();
    return true;
}

bool DataStore::serverAway() const {
    if (open_)
        return open_->database.connectionLost();
    return retry_ && retry_->kind == StoreLocation::Kind::Server;
}

bool DataStore::reachServer() {
    return !failureOf([&] { require().database.read(QStringLiteral("SELECT 1")); });
}

const StoreLocation& DataStore::location() {
    return require().database.location();
}

QString DataStore::filePath() {
    return require().database.filePath();
}

QString DataStore::shownName() {
    const StoreLocation& shown = location();
    if (shown.kind == StoreLocation::Kind::Embedded)
        // In the quotation marks of the user's language.
        return DataStoreTexts::tr("„%1“").arg(QDir::toNativeSeparators(shown.filePath()));
    return DataStoreTexts::tr("„%1“ auf %2").arg(shown.database, shown.serverName());
}

bool DataStore::has(schema::Feature feature) {
    return require().database.has(feature);
}

std::optional<AppError> DataStore::upgradeFailure() {
    const Database& database = require().database;
    const std::optional<AppError>& failure = database.upgradeFailure();
    if (!failure)
        return std::nullopt;
    const QString missing = schema::missingAt(database.schemaVersion());
    return AppError(missing.isEmpty() ? failure->text()
                                      : failure->text() + QLatin1Char(' ') + missing,
                    failure->detail());
}

QList<DuplicateNumber> DataStore::duplicateNumbers() {
    return require().database.duplicateNumbers();
}

bool DataStore::damaged() {
    return require().database.damaged();
}

QString DataStore::damagedText() {
    return require().database.damagedText();
}

WriteProbe DataStore::probeWriteAccess() {
    return require().database.probeWriteAccess();
}

QString DataStore::readOnlyText() {
    const Database& database = require().database;
    if (!database.readOnly() || database.damaged())
        return {};
    if (location().kind == StoreLocation::Kind::Server)
        return DataStoreTexts::tr("Die Datenbank %1 wird nur gelesen, weil diese Station auf dem "
                                  "Server nicht schreiben darf. Listen, Auswertung, Berichte und "
                                  "Exporte stehen zur Verfügung, Messungen und Änderungen nicht.")
            .arg(shownName());
    return DataStoreTexts::tr("Die Datenbank %1 wird nur gelesen, weil ihr Datenträger oder "
                              "Verzeichnis schreibgeschützt ist. Listen, Auswertung, Berichte und "
                              "Exporte stehen zur Verfügung, Messungen und Änderungen nicht.")
        .arg(shownName());
}

void DataStore::checkInBackground(const QDate& today, int backupsKept, QObject* context,
                                  std::function<void(bool damaged)> answered,
                                  std::function<void(const QString& failure)> backupFailed) {
    require().database.checkInBackground(today, backupsKept, context, std::move(answered),
                                         std::move(backupFailed));
}

void DataStore::finishBackgroundWork() {
    require().database.finishBackgroundWork();
}

void DataStore::checkpointIfDue() {
    require().database.checkpointIfDue();
}

QString DataStore::newestSoundBackup() {
    return backup::newestSound(location().directory);
}

QString DataStore::restoreBackup(const QString& copyFile, const QString& reason,
                                 const QDateTime& now) {
    const StoreLocation here = location();
    close();
    QString aside;
    const auto failure =
        failureOf([&] { aside = backup::restore(here.directory, copyFile, reason, now); });
    open(here);
    if (failure)
        throw AppError(failure->text, failure->detail);
    return aside;
}
