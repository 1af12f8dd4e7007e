// The start list of a test day in rotation, and the run of an athlete's next trial on it.

#include "core/measure/TestDay.h"

#include "core/base/Errors.h"
#include "core/measure/MeasurementTest.h"
#include "core/store/DataStore.h"

#include <QCoreApplication>

namespace {

// The texts of this file that the user reads, in the translation context "testday".
struct TextsOfTestday {
    Q_DECLARE_TR_FUNCTIONS(testday)
};

// The trials of a profile done so far: the positions before its next one.
int profileTrialsDone(const ProfileRun& run) {
    const int planned = static_cast<int>(run.heightsCm().size()) * run.trialsPerHeight();
    const auto next = run.next();
    if (!next)
        return planned;
    return static_cast<int>(run.heightsCm().indexOf(next->heightCm)) * run.trialsPerHeight() +
           next->trial - 1;
}

} // namespace

namespace testday {

std::optional<int> nextPlace(const QList<Place>& places) {
    std::optional<int> next;
    for (int i = 0; i < places.size(); ++i) {
        const Place& place = places[i];
        if (place.done())
            continue;
        if (!next || place.trialsDone < places[*next].trialsDone)
            next = i;
    }
    return next;
}

std::optional<int> StartList::placeOf(qint64 athleteId) const {
    for (int i = 0; i < places.size(); ++i)
        if (places[i].athleteId == athleteId)
            return i;
    return std::nullopt;
}

AutoEnd autoEndOf(const TestDay& day) {
    if (day.protocol == Protocol::TenFive)
        return protocolrun::tenFiveEnd();
    switch (static_cast<AutoEnd::Kind>(day.endKind)) {
    case AutoEnd::Kind::AfterJumps:
        return AutoEnd::afterJumps(day.endLimit);
    case AutoEnd::Kind::AfterSeconds:
        return AutoEnd::afterSeconds(day.endLimit);
    case AutoEnd::Kind::None:
        break;
    }
    return {};
}

MeasurementTest testOf(const TestDay& day) {
    switch (day.protocol) {
    case Protocol::TenFive:
        return {QStringLiteral("Sprungserie"), std::nullopt};
    case Protocol::DropHeightProfile:
        return {QStringLiteral("Drop Jump"), std::nullopt};
    case Protocol::None:
        break;
    }
    MeasurementTest test = day.test;
    if (!measurementtest::takesDropHeight(test.name))
        test.dropHeightCm.reset();
    return test;
}

StartList startList(DataStore& store, qint64 dayId) {
    TestDayRepository& days = store.testDays();
    const std::optional<TestDay> day = days.byId(dayId);
    if (!day)
        throw AppError(TextsOfTestday::tr("Der Testtag ist nicht mehr gespeichert."));
    StartList list;
    list.day = *day;
    const QHash<qint64, int> counts = days.trialCounts(dayId);
    const bool profile = day->protocol == Protocol::DropHeightProfile;
    for (const TestDayAthlete& athlete : days.athletesOf(dayId)) {
        Place place{athlete.athleteId, counts.value(athlete.athleteId), day->trialsPerAthlete,
                    athlete.stopped};
        if (profile) {
            ProfileRun run(day->profileHeightsCm, day->trialsPerHeight);
            if (athlete.profileId != 0)
                for (const protocols::ProfileTrial& trial :
                     protocolrun::storedTrials(store.measurements(), athlete.profileId))
                    run.addTrial(trial);
            place.trialsPlanned = static_cast<int>(run.heightsCm().size()) * run.trialsPerHeight();
            place.trialsDone = profileTrialsDone(run);
            if (athlete.profileId != 0)
                list.profiles.insert(athlete.athleteId, run);
        }
        list.places << place;
    }
    list.next = nextPlace(list.places);
    return list;
}

Trial nextTrial(DataStore& store, const StartList& list, qint64 athleteId,
                const QString& athleteName, const QDateTime& now) {
    const TestDay& day = list.day;
    const std::optional<int> at = list.placeOf(athleteId);
    if (!at)
        throw AppError(TextsOfTestday::tr("%1 gehört nicht zum Testtag „%2“. Wählen Sie einen "
                                          "Sportler der Startliste.")
                           .arg(athleteName, day.name));
    const Place& place = list.places[*at];
    if (place.stopped)
        throw AppError(TextsOfTestday::tr("%1 hat den Testtag beendet.").arg(athleteName));
    if (place.trialsDone >= place.trialsPlanned)
        throw AppError(
            TextsOfTestday::tr("%1 hat alle Versuche des Testtags gemacht.").arg(athleteName));
    Trial trial;
    if (day.protocol == Protocol::DropHeightProfile) {
        ProfileRun run =
            list.profiles.value(athleteId, ProfileRun(day.profileHeightsCm, day.trialsPerHeight));
        trial.position = run.next();
        if (!trial.position)
            throw AppError(
                TextsOfTestday::tr("%1 hat alle Versuche des Testtags gemacht.").arg(athleteName));
        MeasurementRepository& measurements = store.measurements();
        const qint64 profileId = store.testDays().profileOf(day.id, athleteId, [&] {
            return measurements.createProfile(athleteId, now, day.profileHeightsCm,
                                              day.trialsPerHeight);
        });
        trial.test = {QStringLiteral("Drop Jump"), trial.position->heightCm};
        trial.protocol = {MeasurementMode::Single, {Protocol::DropHeightProfile, profileId}};
        return trial;
    }
    trial.test = testOf(day);
    trial.autoEnd = autoEndOf(day);
    const MeasurementMode mode = day.series || day.protocol == Protocol::TenFive
                                     ? MeasurementMode::Multiple
                                     : MeasurementMode::Single;
    trial.protocol = {mode, {day.protocol, 0}};
    return trial;
}

QString suggestedName(const QString& groupName, const TestDay& day) {
    QString what;
    switch (day.protocol) {
    case Protocol::TenFive:
        what = TextsOfTestday::tr("10/5");
        break;
    case Protocol::DropHeightProfile:
        what = TextsOfTestday::tr("Fallhöhen-Profil");
        break;
    case Protocol::None: {
        const MeasurementTest test = testOf(day);
        what = measurementtest::shownName(test.name);
        if (test.dropHeightCm)
            what += TextsOfTestday::tr(" %1 cm").arg(*test.dropHeightCm);
        break;
    }
    }
    const QString group = groupName.trimmed();
    return (group.isEmpty() ? what : group + QStringLiteral(" – ") + what).left(kTestDayNameLength);
}

QString settingsText(const TestDay& day) {
    QStringList parts;
    switch (day.protocol) {
    case Protocol::TenFive:
        parts << TextsOfTestday::tr("10/5");
        break;
    case Protocol::DropHeightProfile:
        parts << TextsOfTestday::tr("Fallhöhen-Profil %1 cm · Versuche je Höhe: %2")
                     .arg(protocolrun::heightsText(day.profileHeightsCm))
                     .arg(day.trialsPerHeight);
        break;
    case Protocol::None: {
        parts << measurementtest::description(testOf(day));
        const AutoEnd end = autoEndOf(day);
        if (!day.series)
            parts << TextsOfTestday::tr("Einzelsprung");
        else if (end.kind == AutoEnd::Kind::AfterJumps)
            parts << TextsOfTestday::tr("Serie bis %1 Sprünge").arg(end.limit);
        else if (end.kind == AutoEnd::Kind::AfterSeconds)
            parts << TextsOfTestday::tr("Serie bis %1 s").arg(end.limit);
        else
            parts << TextsOfTestday::tr("Serie, Ende von Hand");
        parts << TextsOfTestday::tr("Versuche je Sportler: %1").arg(day.trialsPerAthlete);
        break;
    }
    }
    return parts.join(QStringLiteral(" · "));
}

QString placeText(const Place& place) {
    if (place.stopped)
        return TextsOfTestday::tr("beendet nach %1").arg(place.trialsDone);
    if (place.trialsDone >= place.trialsPlanned)
        return TextsOfTestday::tr("fertig");
    return TextsOfTestday::tr("%1 von %2").arg(place.trialsDone).arg(place.trialsPlanned);
}

} // namespace testday
