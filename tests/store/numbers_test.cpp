#include "store/numbers.h"

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
