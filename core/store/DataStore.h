#pragma once

#include "core/store/AthleteRepository.h"
#include "core/store/Database.h"
#include "core/store/MeasurementRepository.h"

#include <memory>

// The database with its repositories, once it is open. Until then (or when opening failed)
// every access throws AppError "Die Datenbank ist nicht geöffnet", which the window shows.
class DataStore {
public:
    DataStore();
    ~DataStore();
    DataStore(const DataStore&) = delete;
    DataStore& operator=(const DataStore&) = delete;

    // Opens (creating when missing) the database in the data directory; throws AppError with
    // the engine's text when that fails, and stays closed.
    void open(const QString& directory);
    bool isOpen() const { return open_ != nullptr; }

    Database& database();
    AthleteRepository& athletes();
    MeasurementRepository& measurements();

private:
    struct Open;
    Open& require();

    std::unique_ptr<Open> open_;
};
