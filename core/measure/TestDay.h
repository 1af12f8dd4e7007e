// A test day at the station: the squad's start list in rotation and the run of each athlete's
// next trial with exactly the day's set-up, both computed from what is stored, so that they
// survive a restart and count the trials of every station on a shared database.

#pragma once

#include "core/measure/MeasurementSession.h"
#include "core/measure/ProtocolRun.h"
#include "core/store/TestDayRepository.h"

#include <QHash>
#include <QList>
#include <QString>

#include <optional>

class DataStore;

namespace testday {

// One place of the start list: an athlete, the trials he made and those planned for him, and
// whether he stopped.
struct Place {
    qint64 athleteId = 0;
    int trialsDone = 0;
    int trialsPlanned = 0;
    bool stopped = false;

    bool done() const { return stopped || trialsDone >= trialsPlanned; }
};

// The place whose trial comes next in rotation: every athlete makes trial 1, then every
// athlete trial 2, and so on (of a profile: every athlete at the first height, then at the
// next). The first place in the list among those with the fewest trials that are not done;
// none when every athlete is done. An athlete who made a trial more (at another station)
// waits until the others caught up.
std::optional<int> nextPlace(const QList<Place>& places);

// The start list of a day as stored: its places in order, the next, and for a profile each
// athlete's course.
struct StartList {
    TestDay day;
    QList<Place> places;
    std::optional<int> next;
    QHash<qint64, ProfileRun> profiles; // by athlete, for those who began a profile

    // The place of an athlete; none when he is not on the list (any more).
    std::optional<int> placeOf(qint64 athleteId) const;
};

// Reads the start list of a day. Throws AppError when the day is no longer stored.
StartList startList(DataStore& store, qint64 dayId);

// What the next trial of an athlete on the day is, as the run is started: the day's test (a
// 10/5 without a drop height, a profile's drop jump from its next height), its mode, end and
// protocol mark.
struct Trial {
    MeasurementTest test;
    AutoEnd autoEnd;
    ProtocolOfRun protocol;
    std::optional<ProfileRun::Position> position; // a profile's trial
};

// The next trial of the athlete. A profile's first trial stores his profile for the day (or
// takes the one another station stored). Throws AppError, nothing stored, when the athlete is
// not on the day's list, stopped, or made every trial planned.
Trial nextTrial(DataStore& store, const StartList& list, qint64 athleteId,
                const QString& athleteName, const QDateTime& now);

// The day's set-up as a run knows it: the end of a series, and the test each trial stores.
AutoEnd autoEndOf(const TestDay& day);
MeasurementTest testOf(const TestDay& day);

// The name offered for a day: "U19 – Drop Jump 30 cm", "U19 – 10/5", "U19 –
// Fallhöhen-Profil"; without a group the test alone.
QString suggestedName(const QString& groupName, const TestDay& day);
// The day's set-up in one line, as the run panel shows it read-only: "Drop Jump, Fallhöhe 30
// cm · Serie bis 10 Sprünge · 3 Versuche je Sportler".
QString settingsText(const TestDay& day);
// "2 von 3", "gestoppt", "fertig": an athlete's place in the start list.
QString placeText(const Place& place);

} // namespace testday
