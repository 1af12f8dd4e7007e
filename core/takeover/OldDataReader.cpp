// Reads the athletes, measurements and jumps of an old data folder's Paradox tables.

#include "core/takeover/OldDataReader.h"

#include "core/base/Errors.h"
#include "core/takeover/ParadoxTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QSet>

namespace {

// The texts of this file that the user reads, in the translation context "OldDataReader".
struct OldDataReaderTexts {
    Q_DECLARE_TR_FUNCTIONS(OldDataReader)
};

} // namespace

namespace takeover {
namespace {

// Widths of Kalvero's text columns.
constexpr int kNameChars = 50;
constexpr int kRemarkChars = 100;

QString quoted(const QString& path) {
    // In the quotation marks of the user's language.
    return OldDataReaderTexts::tr("„%1“").arg(QDir::toNativeSeparators(path));
}

// The table's file in the folder, whatever the case of its name.
QString tablePath(const QDir& folder, const QString& fileName) {
    QStringList matches;
    for (const QString& entry : folder.entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (entry.compare(fileName, Qt::CaseInsensitive) == 0)
            matches.append(entry);
    if (matches.isEmpty())
        throw AppError(
            OldDataReaderTexts::tr("Die Datei %1 fehlt.").arg(quoted(folder.filePath(fileName))));
    if (matches.size() > 1)
        throw AppError(OldDataReaderTexts::tr("Im Ordner %1 gibt es %2 mehrmals, in verschiedener "
                                              "Schreibweise.")
                           .arg(quoted(folder.path()), fileName));
    return folder.filePath(matches.first());
}

QList<OldAthlete> readAthletes(const QString& path) {
    // The columns' places, in the order below.
    enum { Id, Surname, FirstName, Born, Sex, Remark, Remark2 };
    ParadoxTable table(path, {{"ID", ColumnKind::Integer},
                              {"Name", ColumnKind::Text, kNameChars},
                              {"Vorname", ColumnKind::Text, kNameChars},
                              {"Geb", ColumnKind::Date},
                              {"Geschl", ColumnKind::Integer},
                              {"Bemerkung1", ColumnKind::Text, kRemarkChars},
                              {"Bemerkun2", ColumnKind::Text, kRemarkChars}});
    QList<OldAthlete> athletes;
    QSet<qint64> ids;
    for (int i = 0; i < table.recordCount(); ++i) {
        table.read(i);
        OldAthlete a;
        // Measurements refer to their athlete by this ID: it must be there and be unique.
        const std::optional<qint64> id = table.integer(Id);
        if (!id)
            throw AppError(OldDataReaderTexts::tr("In der Datei %1 hat Datensatz %2 keine ID.")
                               .arg(quoted(path), QString::number(i + 1)));
        if (ids.contains(*id))
            throw AppError(OldDataReaderTexts::tr("In der Datei %1 kommt die ID %2 mehrmals vor.")
                               .arg(quoted(path), QString::number(*id)));
        ids.insert(*id);
        a.id = *id;
        a.name = table.text(Surname);
        a.firstName = table.text(FirstName);
        a.born = table.date(Born);
        a.sex = table.integer(Sex);
        a.remark = table.text(Remark);
        a.remark2 = table.text(Remark2);
        athletes.append(a);
    }
    return athletes;
}

QList<OldMeasurement> readMeasurements(const QString& path) {
    // The columns' places, in the order below; FZ holds the measurement's jump count.
    enum { Id, AthleteId, Moment, MeasurementNumber, ContactMs, JumpCount, Efficiency, Remark };
    ParadoxTable table(path, {{"ID", ColumnKind::Integer},
                              {"Ref_ID", ColumnKind::Integer},
                              {"Datum", ColumnKind::Timestamp},
                              {"Nummer", ColumnKind::Integer},
                              {"SZ", ColumnKind::Number},
                              {"FZ", ColumnKind::Integer},
                              {"Eff", ColumnKind::Number},
                              {"Bem", ColumnKind::Text, kRemarkChars}});
    QList<OldMeasurement> measurements;
    for (int i = 0; i < table.recordCount(); ++i) {
        table.read(i);
        OldMeasurement m;
        m.id = table.integer(Id);
        m.athleteId = table.integer(AthleteId);
        m.moment = table.timestamp(Moment);
        m.measurementNumber = table.integer(MeasurementNumber);
        m.contactMs = table.number(ContactMs);
        m.jumpCount = table.integer(JumpCount).value_or(0);
        m.efficiency = table.number(Efficiency);
        m.remark = table.text(Remark);
        measurements.append(m);
    }
    return measurements;
}

QList<OldJump> readJumps(const QString& path) {
    enum { SeriesKey, ContactMs, FlightMs, Efficiency, JumpIndex };
    ParadoxTable table(path, {{"Serie", ColumnKind::Number},
                              {"SZ", ColumnKind::Number},
                              {"FZ", ColumnKind::Number},
                              {"Eff", ColumnKind::Number},
                              {"Anzahl", ColumnKind::Number}});
    QList<OldJump> jumps;
    jumps.reserve(table.recordCount());
    for (int i = 0; i < table.recordCount(); ++i) {
        table.read(i);
        jumps.append({table.number(SeriesKey), table.number(ContactMs), table.number(FlightMs),
                      table.number(Efficiency), table.number(JumpIndex)});
    }
    return jumps;
}

} // namespace

OldData readOldData(const QString& folder) {
    const QDir dir(folder);
    if (!dir.exists())
        throw AppError(
            OldDataReaderTexts::tr("Der Ordner %1 existiert nicht.").arg(quoted(folder)));
    // All three files must be there before any is read.
    const QString athletes = tablePath(dir, QStringLiteral("sportler.db"));
    const QString measurements = tablePath(dir, QStringLiteral("units.db"));
    const QString jumps = tablePath(dir, QStringLiteral("mr.db"));
    return {readAthletes(athletes), readMeasurements(measurements), readJumps(jumps)};
}

} // namespace takeover
