// The measurement run: start and stop on one toggle, the 100 ms poll that decodes each result
// of the timing unit, and the common ending of a run.

#include "core/base/Errors.h"
#include "core/base/MessageService.h"
#include "core/link/D2XXUnit.h"
#include "core/link/QrvProtocol.h"
#include "core/link/TimingLink.h"
#include "core/measure/Limits.h"
#include "core/measure/Metrics.h"
#include "ui/MainForm.h"

#include <QAction>
#include <QGroupBox>
#include <QLineEdit>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

namespace {

const QString kStartCaption = QStringLiteral("Messung starten");
const QString kStopCaption = QStringLiteral("Messung abbrechen");
const QColor kIdleColour(0, 128, 0);
const QColor kRunningColour(255, 0, 0);

// A wait inside a result that ran out: the run ends with the communication-failure message.
struct ResultTimedOut {};

bool isUnitEndByte(quint8 b) {
    return b == 250 || b == 251 || b == 252 || b == 255;
}

} // namespace

void TForm1::Start1Execute() {
    if (SpeedButton4->text() == kStartCaption) {
        if (!CanWrite())
            return;
        StartRun();
    } else {
        // Stopping never depends on the write check: a running measurement can always be
        // ended.
        StopRun();
    }
}

void TForm1::setStartButton(bool idle) {
    SpeedButton4->setText(idle ? kStartCaption : kStopCaption);
    setCaptionColour(SpeedButton4, idle ? kIdleColour : kRunningColour);
    Start1->setText(SpeedButton4->text());
}

void TForm1::setStartEnabled(bool enabled) {
    SpeedButton4->setEnabled(enabled);
    Start1->setEnabled(enabled);
}

void TForm1::StartRun() {
    // Without an athlete there is nobody to record a jump for (Enter reaches here whatever
    // the state of the start button).
    if (SelectedAthleteId() == 0)
        return;
    if (Link().OpenPort() != 0) {
        boxes::plain(ctx_.ui, QStringLiteral("Kommunikationsfehler! Kein Gerät erkannt."));
        return;
    }
    Phase = RunPhase::Starting;
    bool started = false;
    const auto finish = [&] {
        if (!started) {
            if (Link().ReplyTimedOut)
                boxes::error(ctx_.ui, QStringLiteral("Kommunikationsfehler"));
            setStartButton(true);
            Link().CloseLink();
            GroupBox3->setEnabled(true);
            ListView2->setEnabled(true);
            Phase = RunPhase::Idle;
        }
        SortHistory();
        setStartEnabled(true);
    };
    try {
        GroupBox3->setEnabled(false);
        setStartButton(false);
        setStartEnabled(false);
        FirstJumpPending = true;
        JumpCount = 0;
        ListView2->setEnabled(false);
        Edit1->clear();
        Edit2->clear();
        Edit3->clear();
        if (Betriebsart == 1)
            ShowOneMessung(0);
        else
            ShowMehrMessung(0);
        ResultSet& q3 = Query3();
        q3.close();
        q3.setSql({QStringLiteral("SELECT * from mr"), QStringLiteral("where Serie = 0")});
        q3.open();
        CurrentSZ = 0;
        CurrentFZ = 0;
        SZValid = false;
        FZValid = false;
        Link().ReplyTimedOut = false;

        if (Link().StartHandshake(Limits.configurationByte())) {
            Timer1->start();
            Phase = RunPhase::Running;
            started = true;
        }
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

void TForm1::StopRun() {
    Timer1->stop();
    Phase = RunPhase::Stopping;
    setStartEnabled(false);
    Link().StopByUser();
    setStartButton(true);
    GroupBox3->setEnabled(true);
    DBGrid1->setFocus();
    setStartEnabled(true);
    Phase = RunPhase::Idle;
    WriteJumpCount();
    ListView2->setEnabled(true);
    if (JumpCount > 0 && ListView2->topLevelItemCount() > 0)
        SelectHistoryEntry(ListView2->topLevelItem(0));
    SortHistory();
    if (ListView2->isEnabled())
        ListView2->setFocus();
    if (ListView2->topLevelItemCount() > 0)
        SelectHistoryEntry(ListView2->topLevelItem(0));
}

void TForm1::SelectHistoryEntry(QTreeWidgetItem* item) {
    ListView2->setCurrentItem(item);
    item->setSelected(true);
    ListView2SelectItem(item);
}

quint8 TForm1::AwaitResultByte() {
    if (Link().WaitForByte(qrv::kByteLimitMs))
        throw ResultTimedOut{};
    return Link().ReceiveByte();
}

void TForm1::Timer1Timer() {
    if (Phase != RunPhase::Running)
        return;
    Timer1->stop();
    Phase = RunPhase::Decoding;
    FZInLimits = false;
    SZInLimits = false;
    EndMarkerSeen = false;

    Unit().GetLinkQueueStatus();
    if (Unit().RxQueueBytes < 1) {
        Phase = RunPhase::Running;
        Timer1->start();
        return;
    }

    try {
        if (DecodeResult()) {
            Phase = RunPhase::Running;
            Timer1->start();
        }
    } catch (const ResultTimedOut&) {
        EndRun();
    } catch (...) {
        // A failure while decoding or recording ends the run; the error is then shown.
        if (Phase != RunPhase::Idle)
            EndRun();
        throw;
    }
}

bool TForm1::DecodeResult() {
    quint8 b = Link().ReceiveByte();
    if (isUnitEndByte(b)) {
        Edit1->clear();
        EndRun();
        return false;
    }
    if (b == qrv::EndMarker) {
        EndMarkerSeen = true;
        b = AwaitResultByte();
        CurrentSZ = 0;
    }

    // Contact time.
    if (b == qrv::NotMeasured) {
        CurrentSZ = plausibility::kNotMeasured;
        SZInLimits = true;
    } else {
        CurrentSZ = b * 256;
        CurrentSZ += AwaitResultByte();
        if (!AcceptTime(plausibility::testContactTime(Limits, CurrentSZ), SZInLimits, SZValid))
            return false;
    }
    if (SZValid)
        Edit1->setText(QString::number(CurrentSZ));
    if (CurrentSZ == plausibility::kNotMeasured)
        Edit1->setText(QStringLiteral("0"));

    if (EndMarkerSeen) {
        CurrentFZ = 0;
        Auswertung();
        EndRun();
        return false;
    }

    // Flight time.
    b = AwaitResultByte();
    if (b == qrv::FlightNotMeasured) {
        CurrentFZ = plausibility::kNotMeasured;
    } else {
        CurrentFZ = b * 256;
        CurrentFZ += AwaitResultByte();
        if (!AcceptTime(plausibility::testFlightTime(Limits, CurrentFZ), FZInLimits, FZValid))
            return false;
    }

    if (FZValid) {
        Edit2->setText(QString::number(CurrentFZ));
        Edit4->setText(metrics::metricText(metrics::heightCm(CurrentFZ)));
        if (!SZValid && Betriebsart == 1) {
            CurrentSZ = 0;
            Auswertung();
            EndRun();
            return false;
        }
    }
    if (FZValid && SZValid) {
        Edit3->setText(metrics::metricText(CalcEff(CurrentFZ)));
        Auswertung();
        if (Betriebsart == 1) {
            EndRun();
            return false;
        }
    }
    return true;
}

bool TForm1::AcceptTime(const plausibility::Verdict& verdict, bool& inLimits, bool& valid) {
    if (verdict.inLimits) {
        inLimits = true;
        valid = true;
    } else if (verdict.stopRun) {
        for (const QString& message : verdict.messages)
            boxes::plain(ctx_.ui, message);
        EndRun();
        return false;
    } else {
        // Without the abort option an implausible time is shown but not recorded.
        valid = true;
    }
    return true;
}

void TForm1::EndRun() {
    Timer1->stop();
    if (Link().ReplyTimedOut)
        boxes::error(ctx_.ui, QStringLiteral("Kommunikationsfehler"));
    Link().StopWithoutAnswer();
    setStartButton(true);
    setStartEnabled(true);
    GroupBox3->setEnabled(true);
    DBGrid1->setFocus();
    ListView2->setEnabled(true);
    Phase = RunPhase::Idle;
    WriteJumpCount();
    SortHistory();
    if (ListView2->topLevelItemCount() > 0)
        SelectHistoryEntry(ListView2->topLevelItem(0));
    if (ListView2->isEnabled())
        ListView2->setFocus();
}
