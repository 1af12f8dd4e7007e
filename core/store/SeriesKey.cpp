#include "core/store/SeriesKey.h"

#include "core/base/Errors.h"

qint64 seriesKey(qint64 athleteId, qint64 nummer) {
    if (nummer <= 999)
        return athleteId * 1000 + nummer;
    if (nummer > kMaxNummer)
        throw AppError(QStringLiteral("Zu viele Messungen für diesen Sportler"));
    return -(athleteId * 1000000 + nummer);
}

QString seriesKeyExpression(const QString& athleteIdColumn, const QString& nummerColumn) {
    return QStringLiteral("(CASE WHEN %2 <= 999 THEN %1 * 1000 + %2 ELSE -(%1 * 1000000 + %2) END)")
        .arg(athleteIdColumn, nummerColumn);
}
