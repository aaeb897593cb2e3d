#include "store/numbers.h"
#include "store/exact_number.h"

#include <gtest/gtest.h>

using store::numberText;
using store::toNumber;

TEST(NumberText, WritesThePlainShortestForm) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {199 * 0.85, "169.15"},
        {0.1 + 0.2, "0.3"},
        {199 * 2, "398"},
        {-12.5, "-12.5"},
        {-0.0, "0"},
        {-1e-20 * 0, "0"},
        {12345678.9, "12345678.9"},
        {123456789012.34, "123456789012.34"},
        {1e15, "1000000000000000"},
        {1e-7, "0.0000001"},
        {1e-11, "0.00000000001"},
        {30.75, "30.75"},
        {0, "0"},
        {300 - 299.3, "0.7"},
        {100 - 87.5, "12.5"},
        {0.3 - 0.1, "0.2"},
        {19.9 * 3 - 59.7, "0"},
        {1234567.89 * 3, "3703703.67"},
        {2.0 / 3, "0.6666666666667"},
        {123456789.12, "123456789.12"},
        // Beyond the digits a double carries, zeros, not the binary fraction's noise.
        {1e23, "100000000000000000000000"},
        {1.8e25, "18000000000000000000000000"},
        {-2.5e-10, "-0.00000000025"},
    };
    for (const auto& c : cases) EXPECT_EQ(numberText(c.value), QString(c.text)) << c.text;
}

TEST(ToNumber, EmptyAndNonNumbersCountAsZero) {
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"", 0}, {"  ", 0}, {"abc", 0}, {"12.5", 12.5}, {" 8.5 ", 8.5}, {"-3", -3}, {"1e3", 1000},
        {"12abc", 0}, {"inf", 0}, {"nan", 0},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(toNumber(c.text), c.value) << c.text;
}

TEST(FitsAsNumber, RefusesWhatCannotBeComputedOrWrittenBack) {
    const struct {
        const char* text;
        bool fits;
    } cases[] = {
        {"10", true},     {"-2", true},     {"-0", true},       {"1e50", true},  {"", true},
        {"abc", true},    {"1e99", true},   {"1e100", false},   {"1e308", false}, {"1e999", false},
        {"inf", false},   {"-inf", false},  {"Infinity", false}, {"NaN", false},
    };
    for (const auto& c : cases) EXPECT_EQ(store::fitsAsNumber(c.text, 100), c.fits) << c.text;
}

TEST(ExactNumber, ReadsOnlyWhatADoubleCarriesAndSumsExactly) {
    using store::ExactNumber;
    const struct {
        const char* text;
        std::string exact;  // "" when refused
    } read[] = {
        {"12", "12"},       {" -0.50 ", "-0.5"}, {"00", "0"},     {"-0", "0"},
        {"5.", "5"},        {".5", "0.5"},       {"1e3", "1000"}, {"2.5E-3", "0.0025"},
        {"999999999999999", "999999999999999"},  {"1000000000000000000", "1000000000000000000"},
        {"123456789012.345", "123456789012.345"}, {"9007199254740993", ""},
        {"123456789012345678", ""},               {"1.0000000000000001", ""},
        {"abc", ""},        {"", ""},            {"12abc", ""},   {"inf", ""},
        {"nan", ""},        {"1e", ""},          {"1e99999", ""}, {"0x10", ""},
        {"1e200", "1" + std::string(200, '0')},
    };
    for (const auto& c : read) {
        const std::optional<ExactNumber> number = ExactNumber::of(c.text);
        EXPECT_EQ(number ? number->text() : QString(), QString::fromStdString(c.exact)) << c.text;
    }
    const struct {
        const char* left;
        const char* right;
        const char* sum;  // "" when it needs more than 15 significant digits
    } sums[] = {
        {"0.1", "0.2", "0.3"},
        {"5", "-5", "0"},
        {"999999999999999", "1", "1000000000000000"},
        {"999999999999999", "0.5", ""},
        {"5", "1e200", ""},
        {"1e200", "-1e200", "0"},
        {"1e20", "-1", ""},
        {"1000", "-1", "999"},
        {"-2.5", "0.25", "-2.25"},
    };
    for (const auto& c : sums) {
        const std::optional<ExactNumber> sum = ExactNumber::of(c.left)->plus(*ExactNumber::of(c.right));
        EXPECT_EQ(sum ? sum->text() : QString(), QString(c.sum)) << c.left << " + " << c.right;
    }
}
