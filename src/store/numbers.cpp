#include "store/numbers.h"

#include "store/exact_number.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace store {

double toNumber(const QString& text) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

namespace {

QString plainText(const char* digits) {
    QString text = QString::fromLatin1(digits);
    // Very large or very small amounts: written out in full rather than with an exponent, with
    // the digits shown and zeros after them, not the binary fraction's noise.
    if (text.contains(u'e')) text = ExactNumber::of(text)->text();
    if (text == u"-0") return QStringLiteral("0");
    return text;
}

}  // namespace

QString numberText(double value) {
    if (!std::isfinite(value)) return QStringLiteral("0");
    // A double carries every decimal of at most 15 significant digits as its 15-digit form, which
    // reads back as that very double: all its digits are shown, the fifteenth too.
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    return std::strtod(buffer, nullptr) == value ? plainText(buffer) : computedNumberText(value);
}

QString computedNumberText(double value) {
    // What is left of amounts that cancel out (19.9 * 3 - 59.7) is noise, not an amount.
    if (!std::isfinite(value) || std::fabs(value) < 1e-12) return QStringLiteral("0");
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    int digits = 0;
    for (const char* c = buffer; *c && *c != 'e'; ++c) digits += (*c >= '0' && *c <= '9');
    if (digits < 15) return plainText(buffer);  // already short: no noise to drop
    // The shortest form within a ten-millionth of a millionth of the value.
    const double tolerance = std::fabs(value) * 1e-13;
    char shorter[32];
    for (int precision = 1; precision < 15; ++precision) {
        std::snprintf(shorter, sizeof shorter, "%.*g", precision, value);
        if (std::fabs(std::strtod(shorter, nullptr) - value) <= tolerance)
            return plainText(shorter);
    }
    return plainText(buffer);
}

bool fitsAsNumber(const QString& text, int columnLength) {
    const std::optional<ExactNumber> figure = exactFigure(text);
    return figure && figure->text().size() <= columnLength;
}

}  // namespace store
