#pragma once

#include "core/analysis/Protocols.h"
#include "core/analysis/RunningSeries.h"
#include "core/measure/MeasurementSession.h"
#include "core/measure/ProtocolRun.h"
#include "core/measure/TestDay.h"
#include "core/store/AthleteRepository.h"

#include <QObject>

#include <optional>

class HistoryController;
class MessageService;
class ResultPanel;
class RunSetupPanel;
class Station;

// Shows a measurement run: the start button's caption and colour, the four result fields, who
// jumps and how many jumps are stored, the running measurement chosen in the history with
// its jumps as they are stored, and the messages of the run. The window locks what may not
// change while a run goes on when it is told.
// It runs the protocols chosen in the run's set-up: a 10/5 as a series that ends after ten
// jumps, with its result once it ended; a drop-height profile as one single drop jump per
// start, from the height and trial its course names next, until the user ends it.
class RunController : public QObject, public SessionObserver {
    Q_OBJECT
public:
    RunController(Station& station, ResultPanel& results, RunSetupPanel& setup,
                  HistoryController& history, MessageService& messages);
    ~RunController() override;

    MeasurementSession& session();
    // The athlete whose run the result panel shows, as "Name, Vorname"; empty for none.
    QString shownAthleteName() const { return shownAthleteId_ != 0 ? athleteName_ : QString(); }
    // Starts a run for the athlete, with the test, the end and the protocol chosen in the
    // run's set-up. Throws AppError when the test's name or drop height, or a profile's
    // heights, cannot be taken, or when a profile of another athlete goes on.
    void start(const Athlete& athlete);
    // Ends the drop-height profile that goes on, and hands its result on (profileEnded).
    void endProfile();
    // The profile that goes on, if any.
    const std::optional<ProfileRun>& profile() const { return profile_; }

    // A test day: from now on every run records the next trial of the athlete started with
    // exactly the day's set-up (see testday::nextTrial), whatever the set-up panel held.
    // Throws AppError when the day is no longer stored, or a profile goes on.
    void openTestDay(qint64 dayId);
    // The day ends at this station (it is not ended in the store).
    void leaveTestDay();
    bool inTestDay() const { return startList_.has_value(); }
    // The start list as last read; read again after every run and by readStartList().
    const std::optional<testday::StartList>& startList() const { return startList_; }
    void readStartList();
    // During a profile's day: what the athlete's next trial is, what his last height gave and
    // the advice to end (each per athlete); "Profil beenden" then ends his profile.
    void showGuideOf(qint64 athleteId, const QString& athleteName);

    void runStarting() override;
    void runStarted() override;
    void runStopping() override;
    void runEnded(RunEnd end) override;
    void showField(ResultField field, const QString& text) override;
    void showMessage(const QString& text) override;
    void showError(const QString& text) override;
    void measurementCreated(const NewMeasurement& measurement) override;
    void jumpRecorded(qint64 seriesKey) override;
    void pollFailed(const Failure& failure) override;
    void jumpRejected() override;
    void jumpJournalled(int jumpIndex) override;

signals:
    // A run begins (true) or has ended (false): athletes and measurements may not change.
    void lockChanges(bool locked);
    void startEnabledChanged(bool enabled);
    // The caption of the start button, for the start action.
    void startCaptionChanged(const QString& caption);
    // A drop-height profile ended with its trials: its result for the athlete named.
    void profileEnded(const protocols::Profile& profile, const QString& athleteName);
    // What the display for the athlete follows: a run of the athlete named begins (a series
    // with a time: its seconds), a result was recorded (none: the limits kept it from the
    // store; the closing contact is none of these), the run ended, and the run shown went.
    void runShown(const QString& athleteName, std::optional<int> timedSeconds);
    void placeRecorded(const analysis::RunningSeries::Place& place);
    void runOver(bool series);
    void shownRunCleared();
    // The start list of the test day was read again (after a run, a profile ended).
    void startListChanged();

private:
    void showIdle(bool idle);
    void setStartEnabled(bool enabled);
    void showRunStatus();
    void startProfileTrial(const Athlete& athlete);
    // What the profile's next trial is, what its last finished height gave and the advice.
    void showProfileGuide();
    // After a protocol's run: the trial taken into the profile, or the 10/5 result shown.
    void takeProfileTrial();
    void showTenFiveResult();
    // A jump of the last series excluded or taken back in the jump grid: its chart and its
    // 10/5 result count it no more, or again.
    void followExclusions();
    // The last run's measurement was deleted: its values, chart and result go with it.
    void forgetDeleted(qint64 athleteId, std::optional<qint64> measurementNumber);
    // Another athlete (or none) is chosen: the last run's values, line, chart and result,
    // which are not his, go.
    void forgetOtherAthletesRun();
    void clearShownRun();

    Station& station_;
    ResultPanel& results_;
    RunSetupPanel& setup_;
    HistoryController& history_;
    MessageService& messages_;
    QString athleteName_;

    // The profile that goes on: its course, its ID in the store and its athlete.
    std::optional<ProfileRun> profile_;
    qint64 profileId_ = 0;
    qint64 profileAthleteId_ = 0;
    QString profileAthleteName_;
    // The trial the running run makes, and its jump once it is stored.
    std::optional<ProfileRun::Position> trial_;
    std::optional<analysis::StoredJump> trialJump_;
    // The measurement the last run created, if any.
    std::optional<qint64> createdMeasurementNumber_;
    // The athlete whose run the result panel shows; 0 while it shows none.
    qint64 shownAthleteId_ = 0;
    // Set while the start list moves on by itself after a trial.
    bool followingStartList_ = false;
    // The test day that goes on, with its start list as last read, and the athlete whose
    // profile guide is shown.
    std::optional<testday::StartList> startList_;
    qint64 guideAthleteId_ = 0;
    QString guideAthleteName_;
    void startTrialOfDay(const Athlete& athlete);
    void endProfileOfDay();
};
