#include "store/exact_number.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace store {

namespace {

using Wide = __int128;

// Places beyond any column's width and any double's (the least, 4.9e-324, ends at 10^-338); a
// text that needs more is refused before its digits are written out.
constexpr int kExponentAtMost = 350;

// Compared with both bounds: the least int has no magnitude among the ints.
bool exponentWithin(long long exponent) {
    return exponent >= -kExponentAtMost && exponent <= kExponentAtMost;
}
// The places a sum or a product is worked out in before it is rounded: enough for the product
// of two figures, and for a sum down to 33 places below its leading digit.
constexpr int kWideDigits = 38;
constexpr int kSumPlaces = 33;

Wide tenTo(int power) {
    Wide value = 1;
    while (power-- > 0) value *= 10;
    return value;
}

int digitCount(Wide value) {
    int count = 0;
    for (; value != 0; value /= 10) ++count;
    return count;
}

// A plain decimal text taken apart: its significant digits, from the first that is not 0 and
// without trailing zeros, and the place of the last of them.
struct Decimal {
    bool negative = false;
    QString significant;
    long long exponent = 0;  // wide enough for any sum of the place and a power within bounds
};

std::optional<Decimal> decimalOf(const QString& text) {
    const QString number = text.trimmed();
    Decimal decimal;
    qsizetype at = 0;
    decimal.negative = at < number.size() && number[at] == u'-';
    if (at < number.size() && (number[at] == u'-' || number[at] == u'+')) ++at;
    bool anyDigit = false, afterPoint = false;
    for (; at < number.size(); ++at) {
        const QChar c = number[at];
        if (c == u'.' && !afterPoint) {
            afterPoint = true;
        } else if (c >= u'0' && c <= u'9') {
            anyDigit = true;
            if (!decimal.significant.isEmpty() || c != u'0') decimal.significant += c;
            if (afterPoint) --decimal.exponent;
        } else {
            break;
        }
    }
    if (!anyDigit) return std::nullopt;
    if (at < number.size()) {
        if (number[at] != u'e' && number[at] != u'E') return std::nullopt;
        bool ok = false;
        const int power = number.mid(at + 1).toInt(&ok);
        if (!ok || number.mid(at + 1).startsWith(u' ') || !exponentWithin(power))
            return std::nullopt;
        decimal.exponent += power;
    }
    while (decimal.significant.endsWith(u'0')) {
        decimal.significant.chop(1);
        ++decimal.exponent;
    }
    if (!exponentWithin(decimal.exponent)) return std::nullopt;
    return decimal;
}

// Whether a text that has no exact value is still a number: "inf", NaN, more digits than a figure
// carries, or places beyond the bounds, however far (1e-400 and 1e-2147483648 alike).
bool isInexactNumber(const QString& text) {
    static const QRegularExpression number(
        QStringLiteral("^[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)(e[+-]?[0-9]+)?$|^[+-]?(inf|infinity|nan)$"),
        QRegularExpression::CaseInsensitiveOption);
    return number.match(text.trimmed()).hasMatch();
}

}  // namespace

ExactNumber::ExactNumber(long long digits, int exponent) : digits_(digits), exponent_(exponent) {
    while (digits_ != 0 && digits_ % 10 == 0) {
        digits_ /= 10;
        ++exponent_;
    }
    if (digits_ == 0) exponent_ = 0;
}

ExactNumber ExactNumber::ofDigits(bool negative, const QString& significant, int exponent,
                                  bool& exact) {
    const int dropped = std::max(int(significant.size()) - kDigits, 0);
    exact = dropped == 0;
    long long digits = significant.isEmpty() ? 0 : significant.left(kDigits).toLongLong();
    if (dropped > 0 && significant[kDigits] >= u'5') ++digits;  // half away from zero
    return ExactNumber(negative ? -digits : digits, exponent + dropped);
}

std::optional<ExactNumber> ExactNumber::parsed(const QString& text, bool& exact) {
    const std::optional<Decimal> decimal = decimalOf(text);
    if (!decimal) return std::nullopt;
    return ofDigits(decimal->negative, decimal->significant, static_cast<int>(decimal->exponent),
                    exact);
}

std::optional<ExactNumber> ExactNumber::of(const QString& text) {
    bool exact = true;
    const std::optional<ExactNumber> number = parsed(text, exact);
    return exact ? number : std::nullopt;
}

std::optional<ExactNumber> ExactNumber::roundedOf(const QString& text) {
    bool exact = true;
    return parsed(text, exact);
}

ExactNumber ExactNumber::rounded(Wide digits, int exponent, bool& exact) {
    Wide magnitude = digits < 0 ? -digits : digits;
    exact = true;
    if (const int excess = digitCount(magnitude) - kDigits; excess > 0) {
        const Wide unit = tenTo(excess);
        const Wide dropped = magnitude % unit;
        magnitude = magnitude / unit + (2 * dropped >= unit ? 1 : 0);
        exponent += excess;
        exact = dropped == 0;
    }
    const auto kept = static_cast<long long>(magnitude);
    return ExactNumber(digits < 0 ? -kept : kept, exponent);
}

ExactNumber ExactNumber::roundedSum(const ExactNumber& other, bool& exact) const {
    exact = true;
    if (other.digits_ == 0) return *this;
    if (digits_ == 0) return other;
    // Places are counted by the one above each figure's leading digit.
    const int top = exponent_ + digitCount(digits_);
    const int otherTop = other.exponent_ + digitCount(other.digits_);
    const ExactNumber& high = top >= otherTop ? *this : other;
    const ExactNumber& low = top >= otherTop ? other : *this;
    // A figure wholly below the places worked out lies far below the fifteen digits kept: only
    // its sign counts, telling the rounding whether it borrows from them. One unit in the last
    // place worked out stands in for it.
    const int lowest = std::max(top, otherTop) - kSumPlaces;
    long long lowDigits = low.digits_;
    int lowExponent = low.exponent_;
    if (lowExponent < lowest) {
        lowDigits = lowDigits < 0 ? -1 : 1;
        lowExponent = lowest;
    }
    const int bottom = std::min(high.exponent_, lowExponent);
    const Wide sum = Wide(high.digits_) * tenTo(high.exponent_ - bottom) +
                     Wide(lowDigits) * tenTo(lowExponent - bottom);
    return rounded(sum, bottom, exact);
}

std::optional<ExactNumber> ExactNumber::plus(const ExactNumber& other) const {
    bool exact = true;
    const ExactNumber sum = roundedSum(other, exact);
    return exact ? std::optional(sum) : std::nullopt;
}

ExactNumber ExactNumber::roundedPlus(const ExactNumber& other) const {
    bool exact = true;
    return roundedSum(other, exact);
}

std::optional<ExactNumber> ExactNumber::times(const ExactNumber& other) const {
    bool exact = true;
    const ExactNumber product =
        rounded(Wide(digits_) * other.digits_, exponent_ + other.exponent_, exact);
    return exact ? std::optional(product) : std::nullopt;
}

ExactNumber ExactNumber::roundedProduct(std::initializer_list<ExactNumber> factors) {
    Wide digits = 1;
    int exponent = 0;
    for (const ExactNumber& factor : factors) {
        // Only a third factor of more than eight digits finds no room: the places of the product
        // so far beyond its first 23 are cut, which can move the rounding only of a product that
        // lies that close to a half.
        const int excess = digitCount(digits) + digitCount(factor.digits_) - kWideDigits;
        if (excess > 0) {
            digits /= tenTo(excess);
            exponent += excess;
        }
        digits *= factor.digits_;
        exponent += factor.exponent_;
    }
    bool exact = true;
    return rounded(digits, exponent, exact);
}

ExactNumber ExactNumber::negated() const { return ExactNumber(-digits_, exponent_); }

ExactNumber ExactNumber::tenth() const { return ExactNumber(digits_, exponent_ - 1); }

ExactNumber ExactNumber::truncated() const {
    if (exponent_ >= 0) return *this;
    if (-exponent_ >= kDigits) return ExactNumber();  // below 1 in magnitude
    return ExactNumber(digits_ / static_cast<long long>(tenTo(-exponent_)), 0);
}

std::strong_ordering ExactNumber::operator<=>(const ExactNumber& other) const {
    // Rounding keeps the sign of the difference.
    return roundedPlus(other.negated()).digits_ <=> 0LL;
}

QString ExactNumber::text() const {
    if (digits_ == 0) return QStringLiteral("0");
    QString digits = QString::number(std::llabs(digits_));
    if (exponent_ >= 0) {
        digits += QString(exponent_, u'0');
    } else if (digits.size() > -exponent_) {
        digits.insert(digits.size() + exponent_, u'.');
    } else {
        digits = "0." + QString(-exponent_ - digits.size(), u'0') + digits;
    }
    return digits_ < 0 ? u'-' + digits : digits;
}

void ExactSum::add(const ExactNumber& figure) {
    if (figure.digits_ != 0) byPlace_[figure.exponent_] += figure.digits_;
}

namespace {

// The decimal digits of a sum of digits at places, from the lowest place on; nothing when the
// sum is negative.
std::optional<QString> digitsUpward(const std::map<int, Wide>& byPlace, int sign) {
    QString digits;
    Wide carry = 0;
    auto next = byPlace.begin();
    // A carry of -1 left once every place is passed stands for a sum below zero.
    for (int place = byPlace.begin()->first; next != byPlace.end() || (carry != 0 && carry != -1);
         ++place) {
        Wide value = carry;
        if (next != byPlace.end() && next->first == place) value += sign * (next++)->second;
        Wide digit = value % 10;
        if (digit < 0) digit += 10;
        carry = (value - digit) / 10;
        digits += QChar(u'0' + static_cast<int>(digit));
    }
    if (carry == -1) return std::nullopt;
    return digits;
}

}  // namespace

ExactNumber ExactSum::cutTo(int decimals) const {
    if (byPlace_.empty()) return {};
    bool negative = false;
    std::optional<QString> upward = digitsUpward(byPlace_, 1);
    if (!upward) {
        negative = true;
        upward = digitsUpward(byPlace_, -1);
    }
    const int lowest = byPlace_.begin()->first;
    const int dropped = std::clamp(-decimals - lowest, 0, int(upward->size()));
    QString kept = upward->mid(dropped);
    while (kept.endsWith(u'0')) kept.chop(1);  // the highest places, read downward
    std::reverse(kept.begin(), kept.end());
    bool exact = true;
    return ExactNumber::ofDigits(negative, kept, lowest + dropped, exact);
}

std::optional<ExactNumber> exactFigure(const QString& text) {
    if (std::optional<ExactNumber> figure = ExactNumber::of(text)) return figure;
    if (isInexactNumber(text)) return std::nullopt;
    return ExactNumber();
}

ExactNumber roundedFigure(const QString& text) {
    return ExactNumber::roundedOf(text).value_or(ExactNumber());
}

std::optional<QString> movedFigure(const QString& figure, const ExactNumber& amount) {
    const std::optional<ExactNumber> value = exactFigure(figure);
    const std::optional<ExactNumber> moved = value ? value->plus(amount) : std::nullopt;
    return moved ? std::optional(moved->text()) : std::nullopt;
}

bool isExactQuantity(const QString& text, int columnLength) {
    const std::optional<ExactNumber> quantity = ExactNumber::of(text);
    return quantity && quantity->text().size() <= columnLength;
}

}  // namespace store
