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
    // closed. A database that could not be opened (a server that was away, a disk that was
    // full) is tried again at the next use, so that the program works once the cause is gone.
    void open(const StoreLocation& location);
    bool isOpen() const { return open_ != nullptr; }
    // Closes the database (to put a backup in its place); the next use throws until open().
    void close();

    Database& database();
    AthleteRepository& athletes();
    MeasurementRepository& measurements();

private:
    struct Open;
    Open& require();

    std::unique_ptr<Open> open_;
    std::optional<StoreLocation> retry_;
};
