#pragma once

#include "core/measure/MeasurementSession.h"
#include "core/store/AthleteRepository.h"

#include <QObject>

class HistoryController;
class MessageService;
class ResultPanel;
class Station;

// Shows a measurement run: the start button's caption and colour, the four result fields, who
// jumps and how many jumps are stored, the running measurement chosen in the history with
// its jumps as they are stored, and the messages of the run. The window locks what may not
// change while a run goes on when it is told.
class RunController : public QObject, public SessionObserver {
    Q_OBJECT
public:
    RunController(Station& station, ResultPanel& panel, HistoryController& history,
                  MessageService& ui);
    ~RunController() override;

    MeasurementSession& session();
    // Starts a run for the athlete, with the test and the end chosen in the result panel.
    // Throws AppError when the test's name or drop height cannot be taken.
    void start(const Athlete& athlete);
    // Offers the athlete's last test for his next measurement (Drop Jump when he has none).
    void offerTestOf(qint64 athleteId);

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

signals:
    // A run begins (true) or has ended (false): athletes and measurements may not change.
    void lockChanges(bool locked);
    void startEnabledChanged(bool enabled);
    // The caption of the start button, for the start action.
    void startCaptionChanged(const QString& caption);

private:
    void showIdle(bool idle);
    void setStartEnabled(bool enabled);
    void showRunStatus();

    Station& station_;
    ResultPanel& panel_;
    HistoryController& history_;
    MessageService& ui_;
    QString athleteName_;
};
