#pragma once

#include "core/measure/MeasurementSession.h"
#include "ui/ResultZoom.h"

class MainWindow;

// Shows a measurement run in the main window: the start button's caption and colour, the four
// result fields, the locked data panel, the new history entry and the jumps recorded so far,
// and the messages of the run.
class RunController : public SessionObserver {
public:
    explicit RunController(MainWindow& window);

    MeasurementSession& session() { return session_; }
    // The big result values of a run.
    ResultZoom& resultZoom() { return zoom_; }
    // The window changed its size: a run's result values follow it.
    void windowResized() { zoom_.update(); }

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

private:
    void showIdle(bool idle);
    void lockChanges(bool locked);
    void setStartEnabled(bool enabled);

    MainWindow& window_;
    MeasurementSession session_;
    ResultZoom zoom_;
};
