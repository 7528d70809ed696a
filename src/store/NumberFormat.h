#pragma once

#include <QString>
#include <optional>

namespace granwise {

// The one way a number becomes text in the program: general format, at most 15 significant
// digits, fixed notation when the magnitude is at least 0.00001 and has at most 15 integer
// digits, scientific ("1E-6", "1.5E20") otherwise; no thousands separator, "." as the
// decimal point, no trailing zeros. 0.1 + 0.2 -> "0.3", 1.0 -> "1".
QString formatNumber(double value);

// Reads a decimal number written as the program writes it, or as a user types it: optional
// blanks around, an optional sign, digits with an optional "." and an optional exponent.
// Anything else (empty text, a lone sign, "1e", letters, "inf") is no number, and neither is a
// number beyond the range of a double ("1e309"): every number read is finite. A number too
// small to tell from 0 ("1e-400") reads as 0.
std::optional<double> parseNumber(const QString &text);

// A figure cell read as a number: the empty text and any non-number read as 0.
double numberOrZero(const QString &text);

// Rounds to 15 significant digits, as figures are compared after summing.
double roundTo15Digits(double value);

} // namespace granwise
