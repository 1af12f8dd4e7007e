#include "core/export/Exporter.h"

#include "core/export/ExportFormat.h"
#include "core/measure/Metrics.h"
#include "core/store/MeasurementRepository.h"
#include "core/store/SeriesKey.h"

#include <QDir>
#include <QSaveFile>

QString Exporter::text(const QList<Athlete>& athletes) {
    QStringList lines{exportfile::kHeader};
    for (const Athlete& athlete : athletes) {
        exportfile::JumpLine line;
        line.name = athlete.name;
        line.firstName = athlete.firstName;
        for (const Measurement& m : measurements_.ofAthlete(athlete.id)) {
            line.moment = m.moment;
            for (const Jump& jump : measurements_.jumpsOf(seriesKey(athlete.id, m.nummer))) {
                line.contactMs = jump.contactMs;
                line.flightMs = jump.flightMs;
                line.efficiency = jump.efficiency;
                line.heightCm = metrics::heightFieldValue(jump.flightMs);
                lines << exportfile::line(line);
            }
        }
    }
    return exportfile::text(lines);
}

std::optional<QString> Exporter::writeFile(const QString& path, const QString& text) {
    const QByteArray bytes = exportfile::toWindows1252(text);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return QStringLiteral("Datei \"%1\" kann nicht erstellt werden. %2")
            .arg(QDir::toNativeSeparators(path), file.errorString());
    return std::nullopt;
}
