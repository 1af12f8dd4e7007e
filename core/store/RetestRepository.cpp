// The marked test–retest pairs and the smallest worthwhile change set for a test.

#include "core/store/RetestRepository.h"

#include "core/base/Errors.h"
#include "core/store/Database.h"
#include "core/store/Schema.h"

#include <QCoreApplication>

#include <cmath>

namespace {

// The texts of this file that the user reads, in the translation context "RetestRepository".
struct RetestTexts {
    Q_DECLARE_TR_FUNCTIONS(RetestRepository)
};

// The row of an athlete's measurement by its number; throws when there is none.
qint64 rowOf(Database& db, qint64 athleteId, qint64 number) {
    QSqlQuery q = db.read(QStringLiteral("SELECT ID FROM units WHERE Ref_ID = ? AND Nummer = ?"),
                          {athleteId, number});
    if (!q.next())
        throw AppError(RetestTexts::tr("Die Messung %1 ist nicht mehr gespeichert.").arg(number));
    return q.value(0).toLongLong();
}

// The drop height as the table keeps it; a test without one matches NULL.
QString heightCondition(const MeasurementTest& test) {
    return test.dropHeightCm ? QStringLiteral("Fallhoehe = ?")
                             : QStringLiteral("Fallhoehe IS NULL");
}

QVariantList keyValues(const MeasurementTest& test) {
    QVariantList values{test.name};
    if (test.dropHeightCm)
        values << *test.dropHeightCm;
    return values;
}

} // namespace

bool RetestRepository::available() const {
    return db_.has(schema::Feature::RetestPairs);
}

void RetestRepository::require() const {
    if (!available())
        throw AppError(schema::missingText(schema::Feature::RetestPairs));
}

QHash<qint64, qint64> RetestRepository::pairsOf(qint64 athleteId) {
    QHash<qint64, qint64> out;
    if (!available())
        return out;
    db_.forEachRow(QStringLiteral("SELECT r.Nummer, f.Nummer FROM units_wiederholung w "
                                  "JOIN units r ON r.ID = w.Unit_ID "
                                  "JOIN units f ON f.ID = w.Erste_ID "
                                  "WHERE r.Ref_ID = ? AND f.Ref_ID = ?"),
                   {athleteId, athleteId}, [&out](const Database::RowValues& row) {
                       out.insert(row.integer(0), row.integer(1));
                   });
    return out;
}

void RetestRepository::markRepeat(qint64 athleteId, qint64 repeatNumber, qint64 firstNumber) {
    require();
    if (repeatNumber == firstNumber)
        throw AppError(RetestTexts::tr("Eine Messung kann nicht ihre eigene Wiederholung sein."));
    Database::Transaction change(db_);
    const qint64 repeat = rowOf(db_, athleteId, repeatNumber);
    db_.write(QStringLiteral("DELETE FROM units_wiederholung WHERE Unit_ID = ?"), {repeat});
    if (firstNumber != 0) {
        const qint64 first = rowOf(db_, athleteId, firstNumber);
        QSqlQuery back = db_.read(
            QStringLiteral("SELECT 1 FROM units_wiederholung WHERE Unit_ID = ? AND Erste_ID = ?"),
            {first, repeat});
        if (back.next())
            throw AppError(RetestTexts::tr("Die Messung %1 ist schon als Wiederholung der Messung "
                                           "%2 markiert.")
                               .arg(firstNumber)
                               .arg(repeatNumber));
        db_.write(
            QStringLiteral("INSERT INTO units_wiederholung (Unit_ID, Erste_ID) VALUES (?, ?)"),
            {repeat, first});
    }
    change.commit();
}

std::optional<double> RetestRepository::worthwhileChange(const MeasurementTest& test) {
    if (!available() || test.name.isEmpty())
        return std::nullopt;
    QSqlQuery q = db_.read(QStringLiteral("SELECT Wert FROM test_aenderung WHERE Test = ? AND %1")
                               .arg(heightCondition(test)),
                           keyValues(test));
    if (!q.next())
        return std::nullopt;
    bool ok = false;
    const double value = q.value(0).toDouble(&ok);
    // A value another program wrote that is no positive number is none.
    if (!ok || !std::isfinite(value) || value <= 0)
        return std::nullopt;
    return value;
}

void RetestRepository::setWorthwhileChange(const MeasurementTest& test,
                                           std::optional<double> value) {
    require();
    if (test.name.isEmpty())
        throw AppError(RetestTexts::tr("Eine kleinste bedeutsame Änderung gilt für einen Test; "
                                       "die Messungen ohne Test haben keinen."));
    if (value && (!std::isfinite(*value) || *value <= 0))
        throw AppError(RetestTexts::tr("Die kleinste bedeutsame Änderung muss größer als 0 sein."));
    Database::Transaction change(db_);
    db_.write(QStringLiteral("DELETE FROM test_aenderung WHERE Test = ? AND %1")
                  .arg(heightCondition(test)),
              keyValues(test));
    if (value)
        db_.write(
            QStringLiteral("INSERT INTO test_aenderung (Test, Fallhoehe, Wert) VALUES (?, ?, ?)"),
            {test.name, test.dropHeightCm ? QVariant(*test.dropHeightCm) : QVariant(), *value});
    change.commit();
}
