#include "core/store/DataStore.h"

#include "core/base/Errors.h"

struct DataStore::Open {
    explicit Open(const QString& directory) : database(directory) {}
    Database database;
    AthleteRepository athletes{database};
    MeasurementRepository measurements{database};
};

DataStore::DataStore() = default;
DataStore::~DataStore() = default;

void DataStore::open(const QString& directory) {
    open_.reset();
    open_ = std::make_unique<Open>(directory);
}

DataStore::Open& DataStore::require() {
    if (!open_)
        throw AppError(QStringLiteral("Die Datenbank ist nicht geöffnet"));
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
