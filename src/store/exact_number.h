#pragma once
// A number's exact decimal value, for figures that must read exactly as the sum of the texts
// they were computed from. A double carries every number of at most 15 significant digits
// unchanged, and no more: 9007199254740993 already comes back as 9007199254740992.

#include <QString>
#include <optional>

namespace store {

class ExactNumber {
public:
    static constexpr int kDigits = 15;

    ExactNumber() = default;  // 0
    // The value of a plain decimal text ("12", "-0.5", "1e3"; blanks around it are dropped), or
    // nothing when the text is no number or has more than 15 significant digits.
    static std::optional<ExactNumber> of(const QString& text);

    // The exact sum, or nothing when it would need more than 15 significant digits.
    std::optional<ExactNumber> plus(const ExactNumber& other) const;
    ExactNumber negated() const;

    // Plain: no exponent, no trailing zeros, never "-0"; as numberText writes the same value.
    QString text() const;

private:
    ExactNumber(long long digits, int exponent);

    long long digits_ = 0;  // value = digits_ x 10^exponent_, digits_ without trailing zeros
    int exponent_ = 0;
};

// Whether a typed quantity is a finite number that a double carries exactly (at most 15
// significant digits) and whose plain text fits a column of `columnLength` characters.
bool isExactQuantity(const QString& text, int columnLength);

}  // namespace store
