#pragma once

#include <QString>

// The rules for the texts of an athlete: how long they may be, and which characters they may
// not hold because the export file separates its fields with ";" and its lines with line
// breaks.
namespace athletes {

inline constexpr int kNameLength = 50;    // Name and Vorname
inline constexpr int kRemarkLength = 100; // Bemerkung

// Whether the text holds a ";", a tab, a NUL byte or a line break of any kind.
bool hasSeparator(const QString& text);

// Whether the text begins with "=", "+" or "@", as a formula of a spreadsheet does: the editor
// refuses such a name or remark.
bool looksLikeFormula(const QString& text);

// A stored text as the export writes it: ";" as ",", a line break, a tab or a NUL byte as a
// blank, so that every line keeps its eight fields.
QString forExport(const QString& text);

} // namespace athletes
