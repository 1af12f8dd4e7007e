#pragma once

#include "core/store/AthleteRepository.h"
#include "core/store/Database.h"
#include "core/store/MeasurementRepository.h"

#include <memory>
#include <optional>

// The database with its repositories, once it is open. Until then (or when opening failed)
// every access throws AppError "Die Datenbank ist nicht geöffnet", which the window shows.
class DataStore {
public:
    DataStore();
    ~DataStore();
    DataStore(const DataStore&) = delete;
    DataStore& operator=(const DataStore&) = delete;

    // Opens (creating when missing) the database; throws AppError when that fails, and stays
    // closed. A shared database that could not be reached is tried again at the next use, so
    // that the program works once the server is back.
    void open(const StoreLocation& location);
    bool isOpen() const { return open_ != nullptr; }

    Database& database();
    AthleteRepository& athletes();
    MeasurementRepository& measurements();

private:
    struct Open;
    Open& require();

    std::unique_ptr<Open> open_;
    std::optional<StoreLocation> retry_;
};
