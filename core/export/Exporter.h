#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <optional>

class DataStore;

// The text export of the stored jumps: one header line, then for every athlete given, in
// that order, his measurements in the order they were recorded and the jumps of each by their
// number, one line per jump (see exportfile). The rows are read through the store's jump
// reader as they come and written at once, so an export of any size needs little memory.
class Exporter {
public:
    explicit Exporter(DataStore& store) : store_(store) {}

    // Told how many of the athletes are done; returns false to cancel the export.
    using Progress = std::function<bool(int athletesDone)>;

    // The text of the export of these athletes, lines ended by CR LF: for the clipboard.
    QString text(const QList<qint64>& athleteIds);

    enum class Outcome { Written, Cancelled, Failed };
    struct Result {
        Outcome outcome = Outcome::Written;
        QString message; // for the user when the file cannot be written
    };
    // Writes the export in Windows-1252 to `path`. An earlier file of that name is replaced
    // only once the whole new content is on disk: a failed or cancelled export leaves it as it
    // was, and no part of a file.
    Result writeFile(const QString& path, const QList<qint64>& athleteIds,
                     const Progress& progress = {});
    // Writes a text made before (the single export's) in the same way.
    static Result writeText(const QString& path, const QString& text);

    // What every export tells when its file cannot be written: "Datei "…" kann nicht erstellt
    // werden." and the reason.
    static QString cannotCreateText(const QString& path, const QString& reason);

    // One line of the file, in its parts.
    struct Row {
        const QString& athlete; // "Name;Vorname;"
        const QString& moment;  // "Datum;Uhrzeit;"
        bool newAthlete;        // the first line of its athlete
        bool newMoment;         // the first line of its measurement
        double values[4];       // contact time, flight time, efficiency, height
    };

private:
    // Calls `row` for every line after the header, and `progress` whenever an athlete is
    // done; returns false when the progress cancelled.
    bool forEachRow(const QList<qint64>& athleteIds, const std::function<void(const Row&)>& row,
                    const Progress& progress);

    DataStore& store_;
};
