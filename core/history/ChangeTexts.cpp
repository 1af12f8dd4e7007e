// The deletion texts and the lines of the changes made to measurements.

#include "core/history/ChangeTexts.h"

#include "core/base/Texts.h"
#include "core/measure/TrialKind.h"

#include <QCoreApplication>

namespace changetexts {

namespace {

// The texts of this file, in the translation context "ChangeTexts".
struct ChangeTextsTr {
    Q_DECLARE_TR_FUNCTIONS(ChangeTexts)
};

QString testText(const MeasurementTest& test) {
    return test.isEmpty() ? ChangeTextsTr::tr("kein Test") : measurementtest::description(test);
}

} // namespace

QString jumpsText(qint64 jumps) {
    return jumps == 1 ? ChangeTextsTr::tr("1 Sprung") : ChangeTextsTr::tr("%1 Sprünge").arg(jumps);
}

QString measurementText(qint64 measurementNumber, const QDateTime& moment) {
    if (!moment.isValid())
        return ChangeTextsTr::tr("Nr. %1").arg(measurementNumber);
    return ChangeTextsTr::tr("Nr. %1 vom %2 %3")
        .arg(measurementNumber)
        .arg(texts::dateText(moment.date()), texts::timeText(moment.time()));
}

QString measurementDeletionText(qint64 measurementNumber, const QDateTime& moment,
                                const MeasurementTest& test, qint64 jumps) {
    return ChangeTextsTr::tr("Messung %1, %2, %3")
        .arg(measurementText(measurementNumber, moment), testText(test), jumpsText(jumps));
}

QString athleteDeletionText(const QString& athleteName, qint64 measurements, qint64 jumps) {
    return ChangeTextsTr::tr("„%1“ wird mit allen Messungen gelöscht: %2, %3.")
        .arg(athleteName,
             measurements == 1 ? ChangeTextsTr::tr("1 Messung")
                               : ChangeTextsTr::tr("%1 Messungen").arg(measurements),
             jumpsText(jumps));
}

qint64 countedJumps(const QList<Jump>& jumps) {
    qint64 counted = 0;
    for (const Jump& jump : jumps)
        counted += trial::isClosingContact(jump.flightMs) ? 0 : 1;
    return counted;
}

QString changeText(const MeasurementChange& c,
                   const std::function<QString(qint64 athleteId)>& athleteName) {
    switch (c.kind) {
    case ChangeKind::Moved:
        return ChangeTextsTr::tr("Von %1 (Nr. %2) zu %3 (Nr. %4) verschoben")
            .arg(athleteName(c.previousAthleteId))
            .arg(c.previousNumber)
            .arg(athleteName(c.athleteId))
            .arg(c.measurementNumber);
    case ChangeKind::TestChanged:
        return ChangeTextsTr::tr("Test geändert: %1 → %2")
            .arg(testText(c.previousTest), testText(c.test));
    case ChangeKind::Excluded:
        if (c.previousReason.isEmpty())
            return ChangeTextsTr::tr("Sprung %1 ausgeschlossen: %2").arg(c.jumpIndex).arg(c.reason);
        return ChangeTextsTr::tr("Grund des Ausschlusses von Sprung %1 geändert: %2 → %3")
            .arg(c.jumpIndex)
            .arg(c.previousReason, c.reason);
    case ChangeKind::ExclusionTakenBack:
        return ChangeTextsTr::tr("Ausschluss von Sprung %1 zurückgenommen (war: %2)")
            .arg(c.jumpIndex)
            .arg(c.previousReason);
    case ChangeKind::Deleted:
        if (c.restored.isValid())
            return ChangeTextsTr::tr("Gelöscht (%1), am %2 wiederhergestellt")
                .arg(jumpsText(c.jumpCount), texts::dateText(c.restored.date()));
        return ChangeTextsTr::tr("Gelöscht (%1)").arg(jumpsText(c.jumpCount));
    case ChangeKind::Restored:
        return ChangeTextsTr::tr("Wiederhergestellt (gelöscht als Nr. %1)").arg(c.previousNumber);
    }
    return {};
}

} // namespace changetexts
