#include "core/store/DataStore.h"

#include "core/base/Errors.h"
#include <QCoreApplication>

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
