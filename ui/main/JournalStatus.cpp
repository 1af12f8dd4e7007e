// The status of the station's store in the status bar and the transfer of its journal.

#include "ui/main/JournalStatus.h"

#include "core/base/Errors.h"
#include "core/station/Station.h"

#include <QEvent>
#include <QLabel>
#include <QStatusBar>

JournalStatus::JournalStatus(Station& station, QStatusBar& bar, QObject* parent)
    : QObject(parent), station_(station), label_(new QLabel(&bar)) {
    label_->setObjectName(QStringLiteral("storeStatus"));
    // The label's text changes; its name says what it tells.
    label_->setAccessibleName(tr("Speicherort der Messungen"));
    bar.addPermanentWidget(label_, 1);
    label_->installEventFilter(this);
    timer_.setInterval(kIntervalMs);
    connect(&timer_, &QTimer::timeout, this, &JournalStatus::check);
    timer_.start();
    show();
}

QString JournalStatus::text() const {
    return label_->text();
}

bool JournalStatus::eventFilter(QObject* watched, QEvent* event) {
    if (watched == label_ && event->type() == QEvent::MouseButtonRelease)
        emit clicked();
    return QObject::eventFilter(watched, event);
}

void JournalStatus::show() {
    JournalReplay* replay = station_.journalReplay();
    const StoreStatus status = replay ? replay->status() : StoreStatus{};
    const QString shown = JournalReplay::statusText(status);
    label_->setText(shown);
    label_->setVisible(!shown.isEmpty());
    // Measurements that wait for the user's choice are listed at a click.
    const bool waiting = status.undecided > 0;
    label_->setCursor(waiting ? Qt::PointingHandCursor : Qt::ArrowCursor);
    label_->setToolTip(waiting ? tr("Klicken, um die offenen Zuordnungen zu zeigen "
                                    "(„Datei“ ▸ „Offene Zuordnungen …“)")
                               : QString());
}

void JournalStatus::check() {
    JournalReplay* replay = station_.journalReplay();
    // A message box of a transfer's failure is never shown: the status says it; and a check
    // that an event of its own started again waits for the next.
    if (replay == nullptr || checking_) {
        show();
        return;
    }
    checking_ = true;
    if (!station_.session().running()) {
        int waiting = 0;
        (void)failureOf([&] { waiting = station_.journal()->waitingCount(); });
        if (waiting > 0) {
            label_->setText(JournalReplay::statusText(replay->status(true)));
            label_->repaint();
            if (replay->transfer().transferred > 0)
                emit transferred();
        } else if (station_.store().serverAway()) {
            station_.store().reachServer();
        }
    }
    show();
    checking_ = false;
}
