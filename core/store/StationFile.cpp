// The chunked, read-only reading of another station's database file.

#include "core/store/StationFile.h"

#include "core/base/Errors.h"
#include "core/store/SeriesKey.h"
#include "core/store/StoredValues.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

#include <atomic>

namespace {

// The texts of this file that the user reads, in the translation context "StationFile".
struct StationFileTexts {
    Q_DECLARE_TR_FUNCTIONS(StationFile)
};

std::atomic<int> filesOpened{0};

AppError unreadable(const QString& path, const QString& detail) {
    return AppError(StationFileTexts::tr("Die Datei „%1“ kann nicht als Datenbank einer Station "
                                         "gelesen werden; es wurde nichts übernommen, was nach "
                                         "der beschädigten Stelle steht.")
                        .arg(QDir::toNativeSeparators(path)),
                    detail);
}

QSqlQuery query(const QString& connection, const QString& path, const QString& statement,
                const QVariantList& values = {}) {
    QSqlQuery q(QSqlDatabase::database(connection, false));
    q.setForwardOnly(true);
    if (!q.prepare(statement))
        throw unreadable(path, q.lastError().text());
    for (const QVariant& value : values)
        q.addBindValue(value);
    if (!q.exec())
        throw unreadable(path, q.lastError().text());
    return q;
}

QString numbers(const QList<qint64>& values) {
    QStringList texts;
    texts.reserve(values.size());
    for (const qint64 value : values)
        texts << QString::number(value);
    return texts.join(QLatin1Char(','));
}

} // namespace

StationFile::StationFile(const QString& path)
    : path_(path),
      connectionName_(QStringLiteral("station-file-%1").arg(filesOpened.fetch_add(1))) {
    const QFileInfo info(path);
    if (!info.isFile())
        throw AppError(StationFileTexts::tr("Die Datei „%1“ gibt es nicht; es wurde nichts "
                                            "übernommen.")
                           .arg(QDir::toNativeSeparators(path)));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName_);
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    if (!db.open())
        throw unreadable(path, db.lastError().text());
    QSqlQuery tables = query(connectionName_, path_,
                             QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"));
    QStringList names;
    while (tables.next())
        names << tables.value(0).toString().toLower();
    tables.finish();
    for (const char* needed : {"sportler", "units", "mr"})
        if (!names.contains(QLatin1String(needed)))
            throw AppError(StationFileTexts::tr("Die Datei „%1“ ist keine Datenbank einer "
                                                "Station: Ihr fehlt die Tabelle „%2“. Es wurde "
                                                "nichts übernommen.")
                               .arg(QDir::toNativeSeparators(path), QLatin1String(needed)));
    hasTests_ = names.contains(QStringLiteral("units_test"));
    hasExclusions_ = names.contains(QStringLiteral("mr_ausschluss"));
    QSqlQuery count = query(connectionName_, path_, QStringLiteral("SELECT COUNT(*) FROM units"));
    count_ = count.next() ? integerOf(count.value(0)) : 0;
}

StationFile::~StationFile() {
    QSqlDatabase::database(connectionName_, false).close();
    QSqlDatabase::removeDatabase(connectionName_);
}

QList<StationFileMeasurement> StationFile::next() {
    // A chunk of measurements whose athletes are all missing is no end yet.
    QList<StationFileMeasurement> chunk;
    while (chunk.isEmpty() && !atEnd_)
        chunk = readChunk();
    return chunk;
}

QList<StationFileMeasurement> StationFile::readChunk() {
    QList<StationFileMeasurement> chunk;
    QHash<qint64, qsizetype> byId;
    QHash<qint64, qsizetype> byKey;
    QSet<qint64> orphans; // the keys of measurements whose athlete is missing
    {
        QSqlQuery rows =
            query(connectionName_, path_,
                  QStringLiteral(
                      "SELECT u.ID, u.Ref_ID, u.Datum, u.Nummer, s.ID, "
                      "s.Name, s.Vorname, s.Geb, s.Geschl, s.Bemerkung1 FROM units u LEFT JOIN "
                      "sportler s ON s.ID = u.Ref_ID WHERE u.ID > ? "
                      "ORDER BY u.ID LIMIT %1")
                      .arg(kChunk),
                  {lastId_});
        atEnd_ = true;
        while (rows.next()) {
            atEnd_ = false;
            lastId_ = integerOf(rows.value(0));
            if (rows.value(4).isNull()) {
                ++withoutAthlete_;
                orphans.insert(seriesKey(integerOf(rows.value(1)), integerOf(rows.value(3))));
                continue;
            }
            StationFileMeasurement m;
            m.measurementNumber = integerOf(rows.value(3));
            m.measurement.moment = momentOf(rows.value(2));
            m.measurement.fromFile = true;
            m.athlete.name = rows.value(5).toString();
            m.athlete.firstName = rows.value(6).toString();
            m.athlete.birthDate = momentOf(rows.value(7)).date();
            m.athlete.sex =
                rows.value(8).isNull() ? -1 : static_cast<int>(integerOf(rows.value(8)));
            m.athlete.remark = rows.value(9).toString();
            byId.insert(lastId_, chunk.size());
            byKey.insert(seriesKey(integerOf(rows.value(1)), m.measurementNumber), chunk.size());
            chunk << m;
        }
    }
    if (chunk.isEmpty() && orphans.isEmpty())
        return chunk;
    {
        QSqlQuery jumps = query(connectionName_, path_,
                                QStringLiteral("SELECT Serie, SZ, FZ, Eff, Anzahl FROM mr WHERE "
                                               "Serie IN (%1) ORDER BY Serie, Anzahl")
                                    .arg(numbers(byKey.keys() + orphans.values())));
        while (jumps.next()) {
            const qint64 key = integerOf(jumps.value(0));
            const auto at = byKey.constFind(key);
            if (at == byKey.cend()) {
                jumpsWithoutAthlete_ += orphans.contains(key) ? 1 : 0;
                continue;
            }
            chunk[*at].measurement.jumps << RecordedJump{
                static_cast<qint32>(integerOf(jumps.value(1))),
                static_cast<qint32>(integerOf(jumps.value(2))), numberOf(jumps.value(3)),
                static_cast<qint32>(integerOf(jumps.value(4)))};
        }
    }
    if (hasTests_) {
        QSqlQuery tests = query(
            connectionName_, path_,
            QStringLiteral("SELECT Unit_ID, Test, Fallhoehe FROM units_test WHERE Unit_ID IN (%1)")
                .arg(numbers(byId.keys())));
        while (tests.next()) {
            MeasurementTest& test = chunk[byId.value(integerOf(tests.value(0)))].measurement.test;
            test.name = tests.value(1).toString();
            if (!tests.value(2).isNull())
                test.dropHeightCm = static_cast<int>(integerOf(tests.value(2)));
        }
    }
    if (hasExclusions_) {
        QSqlQuery excluded = query(connectionName_, path_,
                                   QStringLiteral("SELECT Unit_ID, Anzahl, Grund, Benutzer, Datum "
                                                  "FROM mr_ausschluss WHERE Unit_ID IN (%1)")
                                       .arg(numbers(byId.keys())));
        while (excluded.next())
            chunk[byId.value(integerOf(excluded.value(0)))].measurement.exclusions.insert(
                static_cast<int>(integerOf(excluded.value(1))),
                {excluded.value(2).toString(), excluded.value(3).toString(),
                 momentOf(excluded.value(4))});
    }
    for (StationFileMeasurement& m : chunk)
        m.measurement.identity = stationFileIdentity(m);
    return chunk;
}

QList<Athlete> StationFile::nextAthletesWithoutMeasurement() {
    QList<Athlete> chunk;
    QSqlQuery rows = query(connectionName_, path_,
                           QStringLiteral("SELECT s.ID, s.Name, s.Vorname, s.Geb, s.Geschl, "
                                          "s.Bemerkung1 FROM sportler s WHERE s.ID > ? AND NOT "
                                          "EXISTS (SELECT 1 FROM units u WHERE u.Ref_ID = s.ID) "
                                          "ORDER BY s.ID LIMIT %1")
                               .arg(kChunk),
                           {lastAthleteId_});
    while (rows.next()) {
        Athlete athlete;
        athlete.id = integerOf(rows.value(0));
        athlete.name = rows.value(1).toString();
        athlete.firstName = rows.value(2).toString();
        athlete.birthDate = momentOf(rows.value(3)).date();
        athlete.sex = rows.value(4).isNull() ? -1 : static_cast<int>(integerOf(rows.value(4)));
        athlete.remark = rows.value(5).toString();
        lastAthleteId_ = athlete.id;
        chunk << athlete;
    }
    return chunk;
}

QString stationFileIdentity(const StationFileMeasurement& m) {
    const QString key = QStringList{m.athlete.name,
                                    m.athlete.firstName,
                                    m.athlete.birthDate.toString(Qt::ISODate),
                                    m.measurement.moment.toString(Qt::ISODateWithMs),
                                    QString::number(m.measurementNumber),
                                    QString::number(m.measurement.jumps.size())}
                            .join(QChar(0x1f));
    return QString::fromLatin1(
        QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha1).toHex());
}
