#include "store/numbers.h"

#include "store/exact_number.h"

#include <QRegularExpression>

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

// Amounts are typed with a few decimals; what a subtraction or a product adds beyond them is the
// binary fraction's noise (300 - 299.3 is 0.69999999999998863). The shortest form within a
// ten-millionth of a millionth of the value is the one shown: 0.7. At the fifteenth digit noise
// and a real digit cannot be told apart.
int shownPrecision(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    int digits = 0;
    for (const char* c = buffer; *c && *c != 'e'; ++c) digits += (*c >= '0' && *c <= '9');
    if (digits < 15) return 15;  // already short: no noise to drop
    const double tolerance = std::fabs(value) * 1e-13;
    for (int precision = 1; precision < 15; ++precision) {
        std::snprintf(buffer, sizeof buffer, "%.*g", precision, value);
        if (std::fabs(std::strtod(buffer, nullptr) - value) <= tolerance) return precision;
    }
    return 15;
}

}  // namespace

QString numberText(double value) {
    // What is left of amounts that cancel out (19.9 * 3 - 59.7) is noise, not an amount.
    if (!std::isfinite(value) || std::fabs(value) < 1e-12) return QStringLiteral("0");
    const int precision = shownPrecision(value);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.*g", precision, value);
    QString text = QString::fromLatin1(buffer);
    // Very large or very small amounts: written out in full rather than with an exponent, with
    // the digits shown and zeros after them, not the binary fraction's noise.
    if (text.contains(u'e')) text = ExactNumber::of(text)->text();
    if (text == u"-0") return QStringLiteral("0");
    return text;
}

bool fitsAsNumber(const QString& text, int columnLength) {
    static const QRegularExpression notFinite(QStringLiteral("^[+-]?(inf|infinity|nan)$"),
                                              QRegularExpression::CaseInsensitiveOption);
    const QString trimmed = text.trimmed();
    bool ok = false;
    const double value = trimmed.toDouble(&ok);  // an overflow gives infinity without ok
    if (!std::isfinite(value) || notFinite.match(trimmed).hasMatch()) return false;
    return !ok || numberText(value).size() <= columnLength;
}

}  // namespace store
