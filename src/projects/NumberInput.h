#pragma once

#include <QString>

namespace granwise {

// The result of filtering the text of a number field after one change.
struct FilteredInput {
    QString text;
    int removedAt = -1; // index of the removed character, -1 when the text was kept
};

// The input filter of the number fields: the text is read as a decimal number (leading blanks,
// an optional sign, digits with an optional "." and more digits, either group may be empty, an
// optional exponent "E"/"e" with an optional sign and digits, nothing after). Where the reading
// stops before the end, that one character is removed; a text that is merely unfinished (a lone
// sign, an exponent without digits yet) is kept. At most one character goes per change.
FilteredInput filterNumberInput(const QString &text);

// The value a number field contributes to the derived totals while the user types: a blank
// field, a lone sign or a lone "." count as 0; an unfinished exponent counts as its mantissa; a
// number beyond the range of a double counts as 0.
double figureValue(const QString &text);

// True when the text can be stored in a number column: blank (stored as 0) or a whole number
// within the range of a double ("1e309" cannot be stored).
bool isStorableFigure(const QString &text);

} // namespace granwise
