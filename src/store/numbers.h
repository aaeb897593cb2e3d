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

}  // namespace store
