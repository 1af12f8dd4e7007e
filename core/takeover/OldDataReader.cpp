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
    return QStringLiteral("„%1“").arg(QDir::toNativeSeparators(path));
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
    enum { ID, Name, Vorname, Geb, Geschl, Bemerkung1, Bemerkun2 };
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
        const std::optional<qint64> id = table.integer(ID);
        if (!id)
            throw AppError(OldDataReaderTexts::tr("In der Datei %1 hat Datensatz %2 keine ID.")
                               .arg(quoted(path), QString::number(i + 1)));
        if (ids.contains(*id))
            throw AppError(OldDataReaderTexts::tr("In der Datei %1 kommt die ID %2 mehrmals vor.")
                               .arg(quoted(path), QString::number(*id)));
        ids.insert(*id);
        a.id = *id;
        a.name = table.text(Name);
        a.firstName = table.text(Vorname);
        a.born = table.date(Geb);
        a.sex = table.integer(Geschl);
        a.remark = table.text(Bemerkung1);
        a.remark2 = table.text(Bemerkun2);
        athletes.append(a);
    }
    return athletes;
}

QList<OldMeasurement> readMeasurements(const QString& path) {
    enum { ID, Ref_ID, Datum, Nummer, SZ, FZ, Eff, Bem };
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
        m.id = table.integer(ID);
        m.athleteId = table.integer(Ref_ID);
        m.moment = table.timestamp(Datum);
        m.nummer = table.integer(Nummer);
        m.contactMs = table.number(SZ);
        m.jumpCount = table.integer(FZ).value_or(0);
        m.efficiency = table.number(Eff);
        m.remark = table.text(Bem);
        measurements.append(m);
    }
    return measurements;
}

QList<OldJump> readJumps(const QString& path) {
    enum { Serie, SZ, FZ, Eff, Anzahl };
    ParadoxTable table(path, {{"Serie", ColumnKind::Number},
                              {"SZ", ColumnKind::Number},
                              {"FZ", ColumnKind::Number},
                              {"Eff", ColumnKind::Number},
                              {"Anzahl", ColumnKind::Number}});
    QList<OldJump> jumps;
    jumps.reserve(table.recordCount());
    for (int i = 0; i < table.recordCount(); ++i) {
        table.read(i);
        jumps.append({table.number(Serie), table.number(SZ), table.number(FZ), table.number(Eff),
                      table.number(Anzahl)});
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
