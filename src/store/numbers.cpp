#include "store/numbers.h"

#include <cmath>
#include <cstdio>

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

}  // namespace

QString numberText(double value) {
    if (!std::isfinite(value)) return QStringLiteral("0");
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    QString text = QString::fromLatin1(buffer);
    if (text.contains(u'e')) {
        // Very large or very small amounts: write them out in full rather than with an exponent.
        const double magnitude = std::fabs(value);
        const int digitsBeforePoint = magnitude >= 1 ? int(std::floor(std::log10(magnitude))) + 1 : 0;
        const int decimals = std::max(0, 15 - digitsBeforePoint);
        std::snprintf(buffer, sizeof buffer, "%.*f", std::min(decimals, 300), value);
        text = withoutTrailingZeros(QString::fromLatin1(buffer));
    }
    if (text == u"-0") return QStringLiteral("0");
    return text;
}

}  // namespace store
