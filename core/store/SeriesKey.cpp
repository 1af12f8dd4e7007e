#include "core/store/SeriesKey.h"

#include "core/base/Errors.h"

qint64 seriesKey(qint64 athleteId, qint64 nummer) {
    if (nummer <= 999)
        return athleteId * 1000 + nummer;
    if (nummer > kMaxNummer)
        throw AppError(QStringLiteral("Zu viele Messungen für diesen Sportler"));
    return -(athleteId * 1000000 + nummer);
}
