// The take-over of another station's file, measurement by measurement, through the same
// matching of athletes as the journal's transfer.

#include "core/takeover/StationMerge.h"

#include "core/base/Errors.h"
#include "core/store/DataStore.h"
#include "core/store/Journal.h"
#include "core/store/StationFile.h"
#include "core/takeover/TakeoverWriter.h"

#include <QCoreApplication>

namespace {

// The texts of this file that the user reads, in the translation context "StationMerge".
struct StationMergeTexts {
    Q_DECLARE_TR_FUNCTIONS(StationMerge)
};

} // namespace

namespace takeover {
namespace {

MergeSummary finished(MergeSummary summary, const StationFile& source) {
    summary.withoutAthlete = source.withoutAthlete();
    summary.jumpsWithoutAthlete = source.jumpsWithoutAthlete();
    return summary;
}

} // namespace

MergeSummary mergeStationFile(const QString& file, DataStore& target, Journal& journal,
                              const QString& station, const MergeProgress& progress) {
    MergeSummary summary;
    StationFile source(file);
    summary.found = source.measurementCount();
    qint64 done = 0;
    try {
        for (QList<StationFileMeasurement> chunk = source.next(); !chunk.isEmpty();
             chunk = source.next()) {
            for (const StationFileMeasurement& m : chunk) {
                const JournalTransfer transfer =
                    target.measurements().transferJournalled(m.measurement, m.athlete, station);
                switch (transfer.outcome) {
                case JournalTransfer::Outcome::Stored:
                    ++summary.taken;
                    summary.jumps += static_cast<int>(m.measurement.jumps.size());
                    summary.athletesCreated += transfer.athleteCreated ? 1 : 0;
                    break;
                case JournalTransfer::Outcome::AlreadyThere:
                    ++summary.alreadyThere;
                    break;
                case JournalTransfer::Outcome::AthleteUndecided:
                    // Kept once, however often the file is taken over while it waits.
                    journal.keepUndecided(m.athlete, m.measurement);
                    ++summary.undecided;
                    break;
                }
            }
            done += chunk.size();
            if (progress && !progress(done, summary.found))
                return finished(summary, source);
        }
        // The athletes without a measurement come along too, unless one of the name is there.
        for (QList<Athlete> chunk = source.nextAthletesWithoutMeasurement(); !chunk.isEmpty();
             chunk = source.nextAthletesWithoutMeasurement()) {
            for (const Athlete& athlete : chunk) {
                AthleteRepository& athletes = target.athletes();
                if (athletes.countNamed(athlete.name, athlete.firstName, athlete.birthDate) > 0)
                    continue;
                athletes.add(athlete);
                ++summary.athletesCreated;
            }
        }
    } catch (const AppError& e) {
        summary = finished(summary, source);
        throw AppError(e.text() + QStringLiteral("\n\n") +
                           StationMergeTexts::tr("Bis dahin: %1").arg(mergeSummaryText(summary)),
                       e.detail());
    }
    return finished(summary, source);
}

QString mergeSummaryText(const MergeSummary& summary) {
    // In the words of every take-over.
    WrittenCounts written;
    written.athletes = summary.athletesCreated;
    written.measurements = summary.taken;
    written.jumps = summary.jumps;
    written.measurementsPresent = summary.alreadyThere;
    TakeoverCounts found;
    found.measurementsWithoutAthlete = summary.withoutAthlete;
    found.jumpsOfMeasurementsWithoutAthlete = summary.jumpsWithoutAthlete;
    QString text = report(written, found);
    if (summary.undecided > 0)
        text += QLatin1Char('\n') +
                StationMergeTexts::tr("%n Messung(en) warten auf die Wahl des Sportlers: "
                                      "„Datei“ ▸ „Offene Zuordnungen …“.",
                                      nullptr, summary.undecided);
    return text;
}

} // namespace takeover
