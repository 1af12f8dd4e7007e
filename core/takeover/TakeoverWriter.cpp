// Writes taken-over athletes, measurements and jumps into a store as one change, nothing twice.

#include "core/takeover/TakeoverWriter.h"

#include "core/base/Errors.h"
#include "core/store/DataStore.h"
#include "core/store/SeriesKey.h"

#include <QCoreApplication>
#include <QDir>
#include <QHash>
#include <QSet>

namespace {

// The texts of this file that the user reads, in the translation context "TakeoverWriter".
struct TakeoverWriterTexts {
    Q_DECLARE_TR_FUNCTIONS(TakeoverWriter)
};

} // namespace

namespace takeover {
namespace {

QString athleteKey(const QString& name, const QString& firstName, const QDate& born) {
    return name + QChar(0) + firstName + QChar(0) + born.toString(Qt::ISODate);
}

// Moments to the second, as the tables keep them.
QString momentKey(const QDateTime& moment) {
    return moment.isValid() ? moment.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) : QString();
}

// What the database holds already: its athletes by name, first name and birth date, and the
// moments and numbers of each one's measurements.
struct Present {
    QHash<QString, qint64> athletes;
    QHash<qint64, QSet<QString>> moments;
    QHash<qint64, QSet<qint64>> measurementNumbers;
    QHash<qint64, qint64> highest;

    explicit Present(DataStore& store) {
        for (const Athlete& a : store.athletes().all()) {
            const QString key = athleteKey(a.name, a.firstName, a.birthDate);
            if (!athletes.contains(key))
                athletes.insert(key, a.id);
        }
        for (const MeasurementKey& m : store.measurements().keysOfAll())
            add(m.athleteId, m.moment, m.measurementNumber);
    }
    void add(qint64 athlete, const QDateTime& moment, qint64 measurementNumber) {
        moments[athlete].insert(momentKey(moment));
        measurementNumbers[athlete].insert(measurementNumber);
        highest[athlete] = std::max(highest.value(athlete), measurementNumber);
    }
    std::optional<qint64> athleteOf(const OldAthlete& a) const {
        const auto found = athletes.constFind(athleteKey(a.name, a.firstName, a.born));
        return found == athletes.cend() ? std::nullopt : std::optional(*found);
    }
    bool holds(std::optional<qint64> athlete, const QDateTime& moment) const {
        return athlete && moments.value(*athlete).contains(momentKey(moment));
    }
};

} // namespace

int measurementsPresent(DataStore& store, const Takeover& data) {
    const Present present(store);
    int count = 0;
    for (const TakeoverAthlete& a : data.athletes) {
        const auto athlete = present.athleteOf(a.athlete);
        for (const TakeoverMeasurement& m : a.measurements)
            if (present.holds(athlete, m.measurement.moment))
                ++count;
    }
    return count;
}

std::optional<WrittenCounts> write(DataStore& store, const Takeover& data,
                                   const Progress& progress) {
    WrittenCounts counts;
    const bool written = store.allOrNothing([&] {
        Present present(store);
        int done = 0;
        for (const TakeoverAthlete& a : data.athletes) {
            if (progress && !progress(done))
                return false; // nothing is kept
            ++done;
            std::optional<qint64> athleteId = present.athleteOf(a.athlete);
            if (!athleteId) {
                Athlete added;
                added.name = a.athlete.name;
                added.firstName = a.athlete.firstName;
                added.birthDate = a.athlete.born;
                added.sex = a.athlete.sex.value_or(-1);
                added.remark = a.athlete.remark;
                athleteId = store.athletes().add(added);
                present.athletes.insert(athleteKey(added.name, added.firstName, added.birthDate),
                                        *athleteId);
                ++counts.athletes;
            }
            for (const TakeoverMeasurement& m : a.measurements) {
                if (present.holds(athleteId, m.measurement.moment)) {
                    ++counts.measurementsPresent;
                    continue;
                }
                const std::optional<qint64> old = m.measurement.measurementNumber;
                const bool free =
                    old && *old > 0 && !present.measurementNumbers.value(*athleteId).contains(*old);
                const qint64 measurementNumber =
                    free ? *old : present.highest.value(*athleteId) + 1;
                // The test goes along where the store keeps tests.
                CarriedMeasurement carried{*athleteId,
                                           m.measurement.moment,
                                           measurementNumber,
                                           m.measurement.jumpCount,
                                           m.test,
                                           {}};
                for (const OldJump& j : m.jumps)
                    carried.jumps << CarriedJump{j.contactMs, j.flightMs, j.efficiency,
                                                 j.jumpIndex};
                store.measurements().addCarried(carried);
                present.add(*athleteId, m.measurement.moment, measurementNumber);
                ++counts.measurements;
                counts.jumps += static_cast<int>(m.jumps.size());
            }
        }
        return !progress || progress(done);
    });
    if (!written)
        return std::nullopt;
    return counts;
}

Takeover fromStore(DataStore& source) {
    Takeover data;
    for (const Athlete& a : source.athletes().all()) {
        TakeoverAthlete athlete;
        athlete.athlete.id = a.id;
        athlete.athlete.name = a.name;
        athlete.athlete.firstName = a.firstName;
        athlete.athlete.born = a.birthDate;
        athlete.athlete.sex = a.sex;
        athlete.athlete.remark = a.remark;
        ++data.counts.athletes;
        for (const Measurement& m : source.measurements().ofAthlete(a.id)) {
            TakeoverMeasurement measurement;
            measurement.measurement.id = m.id;
            measurement.measurement.athleteId = a.id;
            measurement.measurement.moment = m.moment;
            measurement.measurement.measurementNumber = m.measurementNumber;
            measurement.measurement.jumpCount = m.jumpCount;
            measurement.test = m.test;
            for (const Jump& j : source.jumps().ofSeries(seriesKey(a.id, m.measurementNumber))) {
                measurement.jumps << OldJump{j.seriesKey, j.contactMs, j.flightMs, j.efficiency,
                                             j.jumpIndex};
                ++data.counts.jumps;
            }
            athlete.measurements << measurement;
            ++data.counts.measurements;
        }
        data.athletes << athlete;
    }
    return data;
}

void requireWritable(DataStore& store) {
    const WriteProbe probe = store.probeWriteAccess();
    if (probe.access == WriteAccess::Writable)
        return;
    throw AppError(
        TakeoverWriterTexts::tr("In die Datenbank %1 kann nicht geschrieben werden; es wurde "
                                "nichts übernommen.")
            .arg(store.shownName()),
        probe.error);
}

QString question(const TakeoverCounts& found, int present) {
    return TakeoverWriterTexts::tr(
               "%1 Sportler, %2 Messungen, %3 Sprünge gefunden; %4 Messungen sind schon "
               "vorhanden. Übernehmen?")
        .arg(found.athletes)
        .arg(found.measurements)
        .arg(found.jumps)
        .arg(present);
}

namespace {

// "1 Sprung", "3 Sprünge".
QString counted(int count, const QString& one, const QString& many) {
    return QStringLiteral("%1 %2").arg(count).arg(count == 1 ? one : many);
}

QString jumps(int count) {
    return counted(count, TakeoverWriterTexts::tr("Sprung"), TakeoverWriterTexts::tr("Sprünge"));
}

QString measurements(int count) {
    return counted(count, TakeoverWriterTexts::tr("Messung"), TakeoverWriterTexts::tr("Messungen"));
}

} // namespace

QString report(const WrittenCounts& written, const TakeoverCounts& found) {
    QString text = TakeoverWriterTexts::tr("Übernommen: %1 Sportler, %2, %3.")
                       .arg(written.athletes)
                       .arg(measurements(written.measurements), jumps(written.jumps));
    if (const int present = written.measurementsPresent; present > 0)
        text +=
            TakeoverWriterTexts::tr("\n%1 schon vorhanden.")
                .arg(measurements(present) + (present == 1 ? TakeoverWriterTexts::tr(" war")
                                                           : TakeoverWriterTexts::tr(" waren")));
    if (found.measurementsWithoutAthlete > 0)
        text += TakeoverWriterTexts::tr("\nAusgelassen: %1 ohne Sportler, mit %2.")
                    .arg(measurements(found.measurementsWithoutAthlete),
                         counted(found.jumpsOfMeasurementsWithoutAthlete,
                                 TakeoverWriterTexts::tr("Sprung"),
                                 TakeoverWriterTexts::tr("Sprüngen")));
    if (found.orphanedJumps > 0)
        text += TakeoverWriterTexts::tr("\nAusgelassen: %1 ohne Messung.")
                    .arg(jumps(found.orphanedJumps));
    if (found.collidingJumps > 0)
        text += TakeoverWriterTexts::tr(
                    "\nAusgelassen: %1 unter einem Schlüssel, den mehrere Messungen "
                    "teilen.")
                    .arg(jumps(found.collidingJumps));
    return text;
}

} // namespace takeover
