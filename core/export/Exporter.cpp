#include "core/export/Exporter.h"

#include "core/export/ExportFormat.h"
#include "core/measure/Metrics.h"
#include "core/store/AthleteText.h"
#include "core/store/Database.h"
#include "core/store/SeriesKey.h"

#include <QCoreApplication>
#include <QDir>
#include <QHash>
#include <QSaveFile>
#include <QStringList>

namespace {

constexpr qsizetype kWriteBlock = 1 << 16;

// The texts of this file that the user reads, in the translation context "Exporter".
struct ExporterTexts {
    Q_DECLARE_TR_FUNCTIONS(Exporter)
};

// The names of the listed athletes, read once each before their jumps.
QString nameStatement(const QList<qint64>& athleteIds) {
    return Exporter::listedAthletesClause(athleteIds) +
           QStringLiteral("SELECT listed.place, s.Name, s.Vorname FROM listed "
                          "JOIN sportler s ON s.ID = listed.id");
}

// The statement that reads every exported jump in the order of the file: the athletes in the
// order given, their measurements as recorded, the jumps by their number. A row carries no
// text but the moment, so that reading it converts little.
QString exportStatement(const Database& db, const QList<qint64>& athleteIds) {
    return Exporter::listedAthletesClause(athleteIds) +
           QStringLiteral("SELECT listed.place, u.ID, u.Datum, m.SZ, m.FZ, m.Eff FROM listed "
                          "JOIN units u ON u.Ref_ID = listed.id "
                          "JOIN mr m ON m.Serie = %1 "
                          "ORDER BY listed.place, u.ID, %2, %3")
               .arg(seriesKeyExpression(QStringLiteral("u.Ref_ID"), QStringLiteral("u.Nummer")),
                    db.order(QStringLiteral("m.Anzahl")), db.rowOrder(QStringLiteral("m")));
}

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
    if (athleteIds.isEmpty())
        return !progress || progress(0);
    // "Name;Vorname;" of each listed athlete that is stored, by his place.
    QHash<qint64, QString> names;
    {
        QSqlQuery q = db_.run(nameStatement(athleteIds));
        while (q.next())
            names.insert(q.value(0).toLongLong(),
                         athletes::forExport(q.value(1).toString()) + QLatin1Char(';') +
                             athletes::forExport(q.value(2).toString()) + QLatin1Char(';'));
    }
    QSqlQuery q = db_.run(exportStatement(db_, athleteIds));
    HeightColumn height;
    qint64 position = -1;
    qint64 measurement = -1;
    QString athleteText;
    QString momentText;
    bool stored = false;
    while (q.next()) {
        const qint64 rowPosition = q.value(0).toLongLong();
        const bool newAthlete = rowPosition != position;
        if (newAthlete) {
            if (progress && !progress(static_cast<int>(rowPosition)))
                return false;
            position = rowPosition;
            measurement = -1;
            const auto found = names.constFind(rowPosition);
            stored = found != names.cend();
            if (stored)
                athleteText = *found;
        }
        if (!stored)
            continue; // deleted meanwhile by another station
        const qint64 rowMeasurement = q.value(1).toLongLong();
        const bool newMoment = rowMeasurement != measurement;
        if (newMoment) {
            measurement = rowMeasurement;
            const QDateTime moment = momentOf(q.value(2));
            momentText = exportfile::dateColumn(moment) + QLatin1Char(';') +
                         exportfile::timeColumn(moment) + QLatin1Char(';');
        }
        const double flightMs = numberOf(q.value(4));
        row({athleteText,
             momentText,
             newAthlete,
             newMoment,
             {numberOf(q.value(3)), flightMs, numberOf(q.value(5)), height(flightMs)}});
    }
    return !progress || progress(static_cast<int>(athleteIds.size()));
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
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {Outcome::Failed, cannotCreateText(path, file.errorString())};
    QByteArray buffer = exportfile::toWindows1252(exportfile::kHeader + QStringLiteral("\r\n"));
    buffer.reserve(kWriteBlock + 4096);
    bool written = true;
    const auto flush = [&] {
        written = written && file.write(buffer) == buffer.size();
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
        progress);
    if (!complete) {
        file.cancelWriting();
        return {Outcome::Cancelled, {}};
    }
    flush();
    if (!written || !file.commit())
        return {Outcome::Failed, cannotCreateText(path, file.errorString())};
    return {};
}

Exporter::Result Exporter::writeText(const QString& path, const QString& text) {
    const QByteArray bytes = exportfile::toWindows1252(text);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return {Outcome::Failed, cannotCreateText(path, file.errorString())};
    return {};
}

QString Exporter::cannotCreateText(const QString& path, const QString& reason) {
    return ExporterTexts::tr("Datei \"%1\" kann nicht erstellt werden. %2")
        .arg(QDir::toNativeSeparators(path), reason);
}

QString Exporter::listedAthletesClause(const QList<qint64>& athleteIds) {
    QStringList listed;
    listed.reserve(athleteIds.size());
    for (qsizetype i = 0; i < athleteIds.size(); ++i)
        listed << QStringLiteral("(%1, %2)").arg(i).arg(athleteIds[i]);
    return QStringLiteral("WITH listed(place, id) AS (VALUES %1) ")
        .arg(listed.join(QLatin1Char(',')));
}
