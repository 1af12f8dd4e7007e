#pragma once

#include "core/analysis/JumpAnalysis.h"
#include "core/analysis/Protocols.h"

#include <QList>
#include <QString>
#include <QStringList>

// The results of the protocols as the analysis window and the report show them: the 10/5
// result of a series with its rule in words, and a drop-height profile with its optimal
// heights and a line per height.
namespace protocolresults {

// One value of a result: its name and its text.
struct Field {
    QString name;
    QString value;
};

// The 10/5 result of a series: its heading "Protokoll 10/5", its rule, and either the fields
// (RSI of the best five, their mean contact time and height, which jumps) or the note why
// there is none.
struct TenFiveText {
    QString heading;
    QString rule;
    QList<Field> fields;
    QString note;
};
TenFiveText tenFiveText(const QList<analysis::StoredJump>& jumps);

// The trials of a profile from its measurements, the one choice the dialog at the station, the
// analysis and the report share: each measurement's first jump (by its number, with its
// exclusion) at the measurement's drop height, for a trial is one drop jump; a measurement
// without a drop height or a jump is no trial.
QList<protocols::ProfileTrial> profileTrials(const QList<analysis::MeasurementJumps>& trials);

// "Fallhöhen-Profil vom 01.03.2026" (without the date when it is not known).
QString profileHeading(const QDateTime& began);
// The optimal heights: "Optimale Fallhöhe nach RSI: 40 cm", "… nach Sprunghöhe: 50 cm"; "keine
// (kein gültiger Sprung)" where no height has a valid trial.
QList<Field> profileOptima(const protocols::Profile& profile);
// A field in one line: "Optimale Fallhöhe nach RSI: 40 cm".
QString fieldLine(const Field& field);
// The table per height: the drop height, the trials, the best RSI with that trial's contact
// time, the best height and the mean contact time; empty values as empty texts.
QStringList profileTableHeader();
QList<QStringList> profileTableTexts(const protocols::Profile& profile);

} // namespace protocolresults
