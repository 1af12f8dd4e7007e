#pragma once

#include "core/store/AthleteRepository.h"

#include <QList>
#include <QString>

#include <optional>

class MeasurementRepository;

// The text export of the stored jumps: one header line, then for every athlete given, in
// that order, his measurements in the order they were recorded and the jumps of each by their
// number, one line per jump (see exportfile).
class Exporter {
public:
    explicit Exporter(MeasurementRepository& measurements) : measurements_(measurements) {}

    // The text of the export of these athletes, lines ended by CR LF.
    QString text(const QList<Athlete>& athletes);

    // Writes the text in Windows-1252 to `path` in one piece: an earlier file of that name is
    // replaced only once the whole new content is on disk, so a failed write leaves it as it
    // was. Returns the message for the user when the file cannot be written.
    static std::optional<QString> writeFile(const QString& path, const QString& text);

private:
    MeasurementRepository& measurements_;
};
