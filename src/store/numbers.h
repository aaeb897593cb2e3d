#pragma once
// Quantities and money are kept as text; what is computed from them is computed exactly
// (store::ExactNumber), and a double read from a real column is written as its plain text.

#include <QString>

namespace store {

// Empty text, and text that is not a number, count as 0.
double toNumber(const QString& text);

// At most 15 significant digits, every one of them for a value that has no more (123456789012345
// and 99999999.9999999 read as they are), without the noise of binary fractions, no exponent for
// ordinary amounts, no trailing zeros, never "-0": 199 * 0.85 reads 169.15, 300 - 299.3 reads 0.7.
QString numberText(double value);
// A double computed in double arithmetic, as SQL's sum() of a real column is: the noise its
// additions leave (300 - 299.3 is 0.69999999999998863) is hidden by the shortest form within a
// ten-millionth of a millionth of the value, 0.7. At the fifteenth digit noise and a real digit
// cannot be told apart, so a figure that must keep it is computed exactly instead.
QString computedNumberText(double value);

// Whether a typed stock, price or discount can be computed with exactly and written back within a
// column of `columnLength` characters: "inf", "NaN", 1e300 and 1234567890123456 (16 digits)
// cannot. Text that is no number at all counts as 0, so it fits.
bool fitsAsNumber(const QString& text, int columnLength);

}  // namespace store
