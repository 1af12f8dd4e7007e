// The series key of a measurement's jumps, in C++ and as SQL.

#include "core/store/SeriesKey.h"

#include "core/base/Errors.h"
#include <QCoreApplication>

namespace {

// The texts of this file that the user reads, in the translation context "SeriesKey".
struct SeriesKeyTexts {
    Q_DECLARE_TR_FUNCTIONS(SeriesKey)
};

} // namespace

qint64 seriesKey(qint64 athleteId, qint64 measurementNumber) {
    if (measurementNumber <= 999)
        return athleteId * 1000 + measurementNumber;
    if (measurementNumber > kMaxMeasurementNumber)
        throw AppError(SeriesKeyTexts::tr("Zu viele Messungen für diesen Sportler"));
    return -(athleteId * 1000000 + measurementNumber);
}

QString seriesKeyExpression(const QString& athleteIdColumn,
                            const QString& measurementNumberColumn) {
    // In 64 bits on every engine, also where the columns hold 32.
    return QStringLiteral("(CASE WHEN %2 <= 999 THEN CAST(%1 AS BIGINT) * 1000 + %2 "
                          "ELSE -(CAST(%1 AS BIGINT) * 1000000 + %2) END)")
        .arg(athleteIdColumn, measurementNumberColumn);
}
