#include "store/numbers.h"

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

QString withoutTrailingZeros(QString text) {
    if (!text.contains(u'.')) return text;
    while (text.endsWith(u'0')) text.chop(1);
    if (text.endsWith(u'.')) text.chop(1);
    return text;
}

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
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.*g", precision, value);
    QString text = QString::fromLatin1(buffer);
    if (text.contains(u'e')) {
        // Very large or very small amounts: write them out in full rather than with an exponent.
        const double magnitude = std::fabs(value);
        const int digitsBeforePoint = magnitude >= 1 ? int(std::floor(std::log10(magnitude))) + 1 : 0;
        const int decimals = std::max(0, precision - digitsBeforePoint);
        std::snprintf(buffer, sizeof buffer, "%.*f", std::min(decimals, 300), value);
        text = withoutTrailingZeros(QString::fromLatin1(buffer));
    }
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
