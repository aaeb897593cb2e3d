#pragma once
// A number's exact decimal value, for figures computed from the texts they are kept as: stock,
// receipt totals, a bill's amounts. A double carries every number of at most 15 significant
// digits unchanged, and no more: 9007199254740993 already comes back as 9007199254740992. So a
// figure has at most 15 significant digits, and what a sum or a product needs beyond them is
// either refused, for a figure that is written (stock, receipts), or rounded, for one that is
// only shown or compared.

#include <QString>
#include <compare>
#include <initializer_list>
#include <map>
#include <optional>

namespace store {

class ExactNumber {
public:
    static constexpr int kDigits = 15;

    ExactNumber() = default;  // 0
    // The value of a plain decimal text ("12", "-0.5", "1e3"; blanks around it are dropped), or
    // nothing when the text is no number or has more than 15 significant digits.
    static std::optional<ExactNumber> of(const QString& text);
    // The same rounded to 15 significant digits; nothing only when the text is no number.
    static std::optional<ExactNumber> roundedOf(const QString& text);

    // The exact sum and product, or nothing when they need more than 15 significant digits.
    std::optional<ExactNumber> plus(const ExactNumber& other) const;
    std::optional<ExactNumber> times(const ExactNumber& other) const;
    // The exact sum and product rounded to 15 significant digits, half away from zero.
    ExactNumber roundedPlus(const ExactNumber& other) const;
    static ExactNumber roundedProduct(std::initializer_list<ExactNumber> factors);

    ExactNumber negated() const;
    ExactNumber tenth() const;      // a discount of 8.5 takes 0.85 of the price
    ExactNumber truncated() const;  // toward zero, to a whole number

    std::strong_ordering operator<=>(const ExactNumber& other) const;
    bool operator==(const ExactNumber& other) const = default;

    // Plain: no exponent, no trailing zeros, never "-0"; as numberText writes the same value.
    QString text() const;

private:
    friend class ExactSum;
    ExactNumber(long long digits, int exponent);
    // Significant digits, the first not 0, and the place of the last, rounded to 15 significant
    // digits; `exact` tells whether no digit was dropped.
    static ExactNumber ofDigits(bool negative, const QString& significant, int exponent,
                                bool& exact);
    // A text's value rounded to 15 significant digits; `exact` tells whether no digit was dropped.
    static std::optional<ExactNumber> parsed(const QString& text, bool& exact);
    // The exact value digits x 10^exponent of a sum or product, rounded; `exact` tells whether
    // no digit was dropped.
    static ExactNumber rounded(__int128 digits, int exponent, bool& exact);
    ExactNumber roundedSum(const ExactNumber& other, bool& exact) const;

    long long digits_ = 0;  // value = digits_ x 10^exponent_, digits_ without trailing zeros
    int exponent_ = 0;
};

// The exact sum of any number of figures, however many digits it needs on the way: rounding
// after each figure would make a bill's total depend on the order of its lines.
class ExactSum {
public:
    void add(const ExactNumber& figure);
    // The sum with its places below `decimals` dropped, toward zero, and then rounded to 15
    // significant digits where it needs more.
    ExactNumber cutTo(int decimals) const;

private:
    // The digits added at each place, summed apart: 10^23 figures fit one place.
    std::map<int, __int128> byPlace_;
};

// A figure as the program computes with it, from its text: empty text, and text that is no
// number, count as 0, as toNumber has them. A number that no figure carries exactly (more than
// 15 significant digits, no finite value, places beyond the bounds) has no exact figure, and its
// rounded figure is its value rounded to 15 significant digits, or 0 when it has no finite value
// or lies beyond the bounds.
std::optional<ExactNumber> exactFigure(const QString& text);
ExactNumber roundedFigure(const QString& text);

// A stock or receipt figure moved exactly by `amount`, as the text to write back; nothing when
// the figure has no exact value or the result needs more than 15 significant digits.
std::optional<QString> movedFigure(const QString& figure, const ExactNumber& amount);

// Whether a typed quantity is a finite number that a double carries exactly (at most 15
// significant digits) and whose plain text fits a column of `columnLength` characters.
bool isExactQuantity(const QString& text, int columnLength);

}  // namespace store
