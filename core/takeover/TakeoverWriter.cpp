#include "core/takeover/TakeoverWriter.h"

#include "core/base/Errors.h"
#include "core/store/AthleteRepository.h"
#include "core/store/Database.h"
#include "core/store/MeasurementRepository.h"
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
    QHash<qint64, QSet<qint64>> numbers;
    QHash<qint64, qint64> highest;

    explicit Present(Database& db) {
        for (const Athlete& a : AthleteRepository(db).all()) {
            const QString key = athleteKey(a.name, a.firstName, a.birthDate);
            if (!athletes.contains(key))
                athletes.insert(key, a.id);
        }
        QSqlQuery q = db.run(QStringLiteral("SELECT Ref_ID, Datum, Nummer FROM units"));
        while (q.next())
            add(integerOf(q.value(0)), momentOf(q.value(1)), integerOf(q.value(2)));
    }
    void add(qint64 athlete, const QDateTime& moment, qint64 nummer) {
        moments[athlete].insert(momentKey(moment));
        numbers[athlete].insert(nummer);
        highest[athlete] = std::max(highest.value(athlete), nummer);
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

int measurementsPresent(Database& db, const Takeover& data) {
    const Present present(db);
    int count = 0;
    for (const TakeoverAthlete& a : data.athletes) {
        const auto athlete = present.athleteOf(a.athlete);
        for (const TakeoverMeasurement& m : a.measurements)
            if (present.holds(athlete, m.measurement.moment))
                ++count;
    }
    return count;
}

std::optional<WrittenCounts> write(Database& db, const Takeover& data, const Progress& progress) {
    Database::Transaction transaction(db);
    Present present(db);
    AthleteRepository athletes(db);
    WrittenCounts counts;
    int done = 0;
    for (const TakeoverAthlete& a : data.athletes) {
        if (progress && !progress(done))
            return std::nullopt; // the transaction is rolled back
        ++done;
        std::optional<qint64> athleteId = present.athleteOf(a.athlete);
        if (!athleteId) {
            Athlete added;
            added.name = a.athlete.name;
            added.firstName = a.athlete.firstName;
            added.birthDate = a.athlete.born;
            added.sex = a.athlete.sex.value_or(-1);
            added.remark = a.athlete.remark;
            athleteId = athletes.add(added);
            present.athletes.insert(athleteKey(added.name, added.firstName, added.birthDate),
                                    *athleteId);
            ++counts.athletes;
        }
        for (const TakeoverMeasurement& m : a.measurements) {
            if (present.holds(athleteId, m.measurement.moment)) {
                ++counts.measurementsPresent;
                continue;
            }
            const std::optional<qint64> old = m.measurement.nummer;
            const bool free = old && *old > 0 && !present.numbers.value(*athleteId).contains(*old);
            const qint64 nummer = free ? *old : present.highest.value(*athleteId) + 1;
            QSqlQuery inserted = db.run(
                QStringLiteral("INSERT INTO units (Ref_ID, Datum, Nummer, FZ) VALUES (?, ?, ?, ?) "
                               "RETURNING ID"),
                {*athleteId, engineMoment(m.measurement.moment), nummer, m.measurement.jumpCount});
            const qint64 unitId = inserted.next() ? integerOf(inserted.value(0)) : 0;
            inserted.finish();
            // The test goes along where the database keeps tests.
            if (!m.test.isEmpty() && db.schemaVersion() >= 1)
                db.write(QStringLiteral("INSERT INTO units_test (Unit_ID, Test, Fallhoehe) "
                                        "VALUES (?, ?, ?)"),
                         {unitId, m.test.name.isEmpty() ? QVariant() : QVariant(m.test.name),
                          m.test.dropHeightCm ? QVariant(*m.test.dropHeightCm) : QVariant()});
            present.add(*athleteId, m.measurement.moment, nummer);
            ++counts.measurements;
            const double key = static_cast<double>(seriesKey(*athleteId, nummer));
            for (const OldJump& j : m.jumps) {
                db.write(QStringLiteral("INSERT INTO mr (Serie, SZ, FZ, Eff, Anzahl) "
                                        "VALUES (?, ?, ?, ?, ?)"),
                         {key, j.contactMs ? QVariant(*j.contactMs) : QVariant(),
                          j.flightMs ? QVariant(*j.flightMs) : QVariant(),
                          j.efficiency ? QVariant(*j.efficiency) : QVariant(),
                          j.number ? QVariant(*j.number) : QVariant()});
                ++counts.jumps;
            }
        }
    }
    if (progress && !progress(done))
        return std::nullopt;
    transaction.commit();
    return counts;
}

Takeover fromDatabase(Database& source) {
    Takeover data;
    MeasurementRepository measurements(source);
    for (const Athlete& a : AthleteRepository(source).all()) {
        TakeoverAthlete athlete;
        athlete.athlete.id = a.id;
        athlete.athlete.name = a.name;
        athlete.athlete.firstName = a.firstName;
        athlete.athlete.born = a.birthDate;
        athlete.athlete.sex = a.sex;
        athlete.athlete.remark = a.remark;
        ++data.counts.athletes;
        for (const Measurement& m : measurements.ofAthlete(a.id)) {
            TakeoverMeasurement measurement;
            measurement.measurement.id = m.id;
            measurement.measurement.athleteId = a.id;
            measurement.measurement.moment = m.moment;
            measurement.measurement.nummer = m.nummer;
            measurement.measurement.jumpCount = m.jumpCount;
            measurement.test = m.test;
            for (const Jump& j : measurements.jumpsOf(seriesKey(a.id, m.nummer))) {
                measurement.jumps << OldJump{j.seriesKey, j.contactMs, j.flightMs, j.efficiency,
                                             j.number};
                ++data.counts.jumps;
            }
            athlete.measurements << measurement;
            ++data.counts.measurements;
        }
        data.athletes << athlete;
    }
    return data;
}

QString shownName(const Database& db) {
    const StoreLocation& location = db.location();
    if (location.kind == StoreLocation::Kind::Embedded)
        return QStringLiteral("„%1“").arg(QDir::toNativeSeparators(db.filePath()));
    return TakeoverWriterTexts::tr("„%1“ auf %2").arg(location.database, location.serverName());
}

void requireWritable(Database& db) {
    const Database::WriteProbe probe = db.probeWriteAccess();
    if (probe.access == Database::WriteAccess::Writable)
        return;
    throw AppError(
        TakeoverWriterTexts::tr("In die Datenbank %1 kann nicht geschrieben werden; es wurde "
                                "nichts übernommen.")
            .arg(shownName(db)),
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
