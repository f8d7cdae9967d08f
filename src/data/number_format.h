#pragma once

#include <QString>

// Display formats of numbers ("0.##", ",0.00#"), shared by grids, edits and reports.
namespace NumberFormat {

// Pattern 1: "0." then n times "#". Patterns 2 and 3: ",0." then n characters, the first two
// (as far as n reaches) "0" and the rest "#". n = 0 leaves nothing after the point.
QString build(int decimals, int pattern);

// Formats a number by a display format: "," groups thousands, "0" is a required digit, "#" an
// optional one. An empty format gives the plain shortest form.
QString format(double value, const QString& displayFormat);

} // namespace NumberFormat
