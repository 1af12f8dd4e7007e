// Evaluation of a decoded jump: the result panel, the decision to record, and the rows that
// recording writes.

#include "core/base/Errors.h"
#include "core/measure/Metrics.h"
#include "core/store/SeriesKey.h"
#include "ui/History.h"
#include "ui/MainForm.h"

#include <QLineEdit>
#include <QTreeWidget>

double TForm1::CalcEff(qint32 fz) const {
    return metrics::efficiency(fz, CurrentSZ);
}

void TForm1::Query3CalcFields(ResultSet::CalcRow& row) {
    const QVariant fz = row.value(QStringLiteral("FZ"));
    row.setValue(QStringLiteral("hoehe"),
                 metrics::heightFieldValue(fz.isNull() ? 0.0 : fz.toDouble()));
}

void TForm1::Auswertung() {
    if (FZValid)
        Edit2->setText(QString::number(CurrentFZ));
    if (EndMarkerSeen)
        Edit2->setText(QStringLiteral("0"));
    if (SZValid && SZInLimits && FZValid && FZInLimits)
        Edit3->setText(metrics::metricText(CalcEff(CurrentFZ)));
    else
        Edit3->setText(QStringLiteral("0"));

    if ((SZInLimits && FZInLimits) || EndMarkerSeen) {
        EvaluationTime = QDateTime::currentDateTime();
        Action7Execute();
    }
}

void TForm1::Action7Execute() {
    ResultSet& q2 = Query2();
    ResultSet& q3 = Query3();
    ++JumpCount;
    if (FirstJumpPending) {
        ++LastNummer;
        q2.insert();
        q2.setValue(QStringLiteral("Ref_ID"), SelectedAthleteId());
        q2.setValue(QStringLiteral("Datum"), EvaluationTime);
        q2.setValue(QStringLiteral("Nummer"), LastNummer);
        q2.post();
        RunUnitID = static_cast<qint32>(q2.asInteger(QStringLiteral("ID")));
        FirstJumpPending = false;

        const QStringList values =
            Betriebsart == 1 ? QStringList{QString::number(CurrentSZ), QString::number(CurrentFZ),
                                           metrics::metricText(CalcEff(CurrentFZ)),
                                           metrics::metricText(metrics::heightCm(CurrentFZ))}
                             : history::seriesTexts();
        ListView2->addTopLevelItem(history::makeEntry(ListView2->topLevelItemCount() + 1,
                                                      EvaluationTime, values, LastNummer));
    }

    if (!q2.locate(QStringLiteral("ID"), RunUnitID))
        throw AppError(QStringLiteral("Die Messung %1 ist nicht mehr gespeichert").arg(RunUnitID));
    const qint64 key = seriesKey(q2.asInteger(QStringLiteral("Ref_ID")), LastNummer);
    q3.close();
    q3.setSql({QStringLiteral("SELECT * from mr"), QStringLiteral("where Serie = %1").arg(key)});
    q3.open();
    q3.insert();
    q3.setValue(QStringLiteral("Serie"), key);
    q3.setValue(QStringLiteral("SZ"), CurrentSZ);
    q3.setValue(QStringLiteral("FZ"), CurrentFZ);
    q3.setValue(QStringLiteral("Eff"), metrics::metricValue(CalcEff(CurrentFZ)));
    q3.setValue(QStringLiteral("Anzahl"), JumpCount);
    q3.post();

    // The measurement row always holds the number of jumps recorded so far, so that a run
    // cut short by a crash or a power cut still shows as the series it is.
    WriteJumpCount();
}

void TForm1::WriteJumpCount() {
    if (JumpCount <= 0)
        return;
    ResultSet& q2 = Query2();
    if (!q2.isOpen())
        q2.open();
    if (q2.locate(QStringLiteral("ID"), RunUnitID)) {
        q2.edit();
        q2.setValue(QStringLiteral("FZ"), JumpCount);
        q2.post();
    }
}
