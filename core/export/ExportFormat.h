#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

// The export file: one header line, then one line per stored jump, fields separated by ";"
// and never quoted, numbers with three decimals and "," as decimal separator, every line
// ended by CR LF, the whole text in the Windows-1252 code page without a byte-order mark.
// Readers split the lines on ";" and rely on the date and time columns having the German
// standard forms, whatever the locale of the exporting machine.
namespace exportfile {

inline const QString kHeader =
    QStringLiteral("Name;Vorname;Datum;Uhrzeit;Stuetzzeit;Flugzeit;Effizienz;Hoehe");

// One stored jump with the athlete and the measurement it belongs to.
struct JumpLine {
    QString name;      // athlete's surname, as stored
    QString firstName; // athlete's first name, as stored
    QDateTime moment;  // date and time of the measurement; invalid when not stored
    double contactMs = 0.0;
    double flightMs = 0.0;
    double efficiency = 0.0;
    double heightCm = 0.0;
};

// "06.12.2026"; empty for an invalid moment.
QString dateColumn(const QDateTime& moment);
// "19:05:09", "00:00:00" at midnight; empty for an invalid moment.
QString timeColumn(const QDateTime& moment);
// A number as "%2.3f" writes it with "," as separator: "215,000", "-1,000", "30,700";
// never "-0,000".
QString number(double value);
// The same as bytes, appended.
void appendNumber(QByteArray& out, double value);
// A stored text as a spreadsheet shows it rather than runs it: one that begins with "=", "+",
// "-", "@", a tab or a carriage return gets a leading apostrophe, which a spreadsheet reads as
// "this is text"; any other text stays as it is.
QString inert(const QString& text);
// One line of the file, without its line end.
QString line(const JumpLine& jump);
// The lines, each ended by CR LF: the text of the file and of the clipboard.
QString text(const QStringList& lines);

// The text in Windows-1252. Characters the code page lacks become "?" (one per character,
// also for characters outside the Basic Multilingual Plane).
QByteArray toWindows1252(const QString& text);
void appendWindows1252(QByteArray& out, QStringView text);

} // namespace exportfile
