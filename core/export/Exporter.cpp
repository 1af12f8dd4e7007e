// Writes the export file of the listed athletes from the store's jump reader.

#include "core/export/Exporter.h"

#include "core/base/FileOutput.h"
#include "core/export/ExportFormat.h"
#include "core/measure/Metrics.h"
#include "core/store/AthleteText.h"
#include "core/store/DataStore.h"

#include <QHash>

namespace {

constexpr qsizetype kWriteBlock = 1 << 16;

// The height column for a flight time: computed once per distinct time.
class HeightColumn {
public:
    double operator()(double flightMs) {
        const auto found = cache_.constFind(flightMs);
        if (found != cache_.cend())
            return *found;
        const double height = metrics::heightFieldValue(flightMs);
        cache_.insert(flightMs, height);
        return height;
    }

private:
    QHash<double, double> cache_;
};

} // namespace

bool Exporter::forEachRow(const QList<qint64>& athleteIds,
                          const std::function<void(const Row&)>& row, const Progress& progress) {
    // "Name;Vorname;" of each listed athlete that is stored, by his place.
    QHash<qint64, QString> names;
    const QHash<qint64, Athlete> listed = store_.athletes().listed(athleteIds);
    for (auto it = listed.cbegin(); it != listed.cend(); ++it)
        names.insert(it.key(), athletes::forExport(exportfile::inert(it->name)) + QLatin1Char(';') +
                                   athletes::forExport(exportfile::inert(it->firstName)) +
                                   QLatin1Char(';'));
    HeightColumn height;
    QString athleteText;
    QString momentText;
    bool stored = false;
    return store_.jumps().forEachListed(
        athleteIds, {false, false},
        [&](const ListedJump& j) {
            if (j.newAthlete) {
                const auto found = names.constFind(j.place);
                stored = found != names.cend();
                if (stored)
                    athleteText = *found;
            }
            if (!stored)
                return; // deleted meanwhile by another station
            if (j.newMeasurement)
                momentText = exportfile::dateColumn(j.measurement.moment) + QLatin1Char(';') +
                             exportfile::timeColumn(j.measurement.moment) + QLatin1Char(';');
            row({athleteText,
                 momentText,
                 j.newAthlete,
                 j.newMeasurement,
                 {j.jump.contactMs, j.jump.flightMs, j.jump.efficiency, height(j.jump.flightMs)}});
        },
        progress);
}

QString Exporter::text(const QList<qint64>& athleteIds) {
    QString out = exportfile::kHeader + QStringLiteral("\r\n");
    forEachRow(athleteIds,
               [&out](const Row& r) {
                   out += r.athlete + r.moment;
                   for (int i = 0; i < 4; ++i)
                       out += exportfile::number(r.values[i]) +
                              (i < 3 ? QStringLiteral(";") : QStringLiteral("\r\n"));
               },
               {});
    return out;
}

Exporter::Result Exporter::writeFile(const QString& path, const QList<qint64>& athleteIds,
                                     const Progress& progress) {
    fileoutput::AtomicFile file(path);
    if (!file.open())
        return {Outcome::Failed, file.message()};
    QByteArray buffer = exportfile::toWindows1252(exportfile::kHeader + QStringLiteral("\r\n"));
    buffer.reserve(kWriteBlock + 4096);
    bool written = true;
    const auto flush = [&] {
        written = written && file.write(buffer);
        buffer.clear();
    };
    QByteArray athlete;
    QByteArray moment;
    const bool complete = forEachRow(
        athleteIds,
        [&](const Row& r) {
            if (r.newAthlete)
                athlete = exportfile::toWindows1252(r.athlete);
            if (r.newMoment)
                moment = exportfile::toWindows1252(r.moment);
            buffer += athlete;
            buffer += moment;
            for (int i = 0; i < 4; ++i) {
                exportfile::appendNumber(buffer, r.values[i]);
                buffer += i < 3 ? ";" : "\r\n";
            }
            if (buffer.size() >= kWriteBlock)
                flush();
        },
        [&](int done) { return written && (!progress || progress(done)); });
    if (!written)
        return {Outcome::Failed, file.message()};
    if (!complete) {
        file.cancel();
        return {Outcome::Cancelled, {}};
    }
    flush();
    if (!written || !file.commit())
        return {Outcome::Failed, file.message()};
    return {};
}

Exporter::Result Exporter::writeText(const QString& path, const QString& text) {
    if (const auto failure = fileoutput::writeBytes(path, exportfile::toWindows1252(text)))
        return {Outcome::Failed, *failure};
    return {};
}

QString Exporter::cannotCreateText(const QString& path, const QString& reason) {
    return fileoutput::cannotCreateMessage(path, reason);
}
