#pragma once
// Quantities and money are kept as text; arithmetic is done in double and written back as the
// double's plain text.

#include <QString>

namespace store {

// Empty text, and text that is not a number, count as 0.
double toNumber(const QString& text);

// At most 15 significant digits, without the noise of binary fractions, no exponent for
// ordinary amounts, no trailing zeros, never "-0": 199 * 0.85 reads 169.15, 300 - 299.3 reads 0.7.
QString numberText(double value);

// Whether a typed stock, price or discount can be computed with and written back within a column
// of `columnLength` characters: "inf", "NaN" and 1e300 cannot. Text that is no number at all
// counts as 0, so it fits.
bool fitsAsNumber(const QString& text, int columnLength);

}  // namespace store
