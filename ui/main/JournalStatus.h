// The status bar's word on where the station's measurements are, and the transfer of the
// journal to the server while the station is idle.

#pragma once

#include <QObject>
#include <QTimer>

class QLabel;
class QStatusBar;
class Station;

// Shows in the status bar whether the measurements are on the server, in the journal (with
// how many) or on their way there, and brings the journal to the server every few seconds and
// after every action of the user, never while a run records. Nothing shows for a station on
// its own file.
class JournalStatus : public QObject {
    Q_OBJECT
public:
    static constexpr int kIntervalMs = 3000;

    JournalStatus(Station& station, QStatusBar& bar, QObject* parent = nullptr);

    // Brings what waits to the server when it can, and shows where the measurements are.
    void check();
    // The text the status bar shows.
    QString text() const;

signals:
    // Measurements were brought to the server: lists that show them read them again.
    void transferred();
    // The user clicked the status: he wants the measurements that wait for his choice.
    void clicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void show();

    Station& station_;
    QLabel* label_;
    QTimer timer_;
    bool checking_ = false;
};
