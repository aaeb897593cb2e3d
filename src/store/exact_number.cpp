#include "store/exact_number.h"

#include <cstdlib>

namespace store {

namespace {

// Exponents far beyond any column's width; a text that needs more is refused before its digits
// are written out.
constexpr int kExponentAtMost = 1000;

long long tenTo(int power) {
    long long value = 1;
    while (power-- > 0) value *= 10;
    return value;
}

}  // namespace

ExactNumber::ExactNumber(long long digits, int exponent) : digits_(digits), exponent_(exponent) {
    while (digits_ != 0 && digits_ % 10 == 0) {
        digits_ /= 10;
        ++exponent_;
    }
    if (digits_ == 0) exponent_ = 0;
}

std::optional<ExactNumber> ExactNumber::of(const QString& text) {
    const QString number = text.trimmed();
    qsizetype at = 0;
    const bool negative = at < number.size() && number[at] == u'-';
    if (at < number.size() && (number[at] == u'-' || number[at] == u'+')) ++at;
    QString significant;  // from the first digit that is not 0
    int exponent = 0;
    bool anyDigit = false, afterPoint = false;
    for (; at < number.size(); ++at) {
        const QChar c = number[at];
        if (c == u'.' && !afterPoint) {
            afterPoint = true;
        } else if (c >= u'0' && c <= u'9') {
            anyDigit = true;
            if (!significant.isEmpty() || c != u'0') significant += c;
            if (afterPoint) --exponent;
        } else {
            break;
        }
    }
    if (!anyDigit) return std::nullopt;
    if (at < number.size()) {
        if (number[at] != u'e' && number[at] != u'E') return std::nullopt;
        bool ok = false;
        const int power = number.mid(at + 1).toInt(&ok);
        if (!ok || number.mid(at + 1).startsWith(u' ') || std::abs(power) > kExponentAtMost)
            return std::nullopt;
        exponent += power;
    }
    while (significant.endsWith(u'0')) {
        significant.chop(1);
        ++exponent;
    }
    if (significant.size() > kDigits || std::abs(exponent) > kExponentAtMost) return std::nullopt;
    const long long digits = significant.isEmpty() ? 0 : significant.toLongLong();
    return ExactNumber(negative ? -digits : digits, exponent);
}

std::optional<ExactNumber> ExactNumber::plus(const ExactNumber& other) const {
    if (other.digits_ == 0) return *this;
    if (digits_ == 0) return other;
    const ExactNumber& high = exponent_ >= other.exponent_ ? *this : other;
    const ExactNumber& low = exponent_ >= other.exponent_ ? other : *this;
    // Digits at places more than 15 apart make a sum of more than 15 digits.
    const int shift = high.exponent_ - low.exponent_;
    if (shift > kDigits) return std::nullopt;
    const __int128 sum = static_cast<__int128>(high.digits_) * tenTo(shift) + low.digits_;
    __int128 magnitude = sum < 0 ? -sum : sum;
    int exponent = low.exponent_;
    while (magnitude != 0 && magnitude % 10 == 0) {
        magnitude /= 10;
        ++exponent;
    }
    if (magnitude >= tenTo(kDigits)) return std::nullopt;
    return ExactNumber(static_cast<long long>(sum < 0 ? -magnitude : magnitude), exponent);
}

ExactNumber ExactNumber::negated() const { return ExactNumber(-digits_, exponent_); }

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

bool isExactQuantity(const QString& text, int columnLength) {
    const std::optional<ExactNumber> quantity = ExactNumber::of(text);
    return quantity && quantity->text().size() <= columnLength;
}

}  // namespace store
