#include "store/numbers.h"
#include "store/exact_number.h"

#include <QStringList>

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
        // Every digit of a value that has at most 15, the fifteenth too.
        {123456789012344, "123456789012344"},
        {123456789012345, "123456789012345"},
        {99999999.9999999, "99999999.9999999"},
        {-0.000000000000123456789012345, "-0.000000000000123456789012345"},
        // Beyond the digits a double carries, zeros, not the binary fraction's noise.
        {1e23, "100000000000000000000000"},
        {1.8e25, "18000000000000000000000000"},
        {-2.5e-10, "-0.00000000025"},
    };
    for (const auto& c : cases) EXPECT_EQ(numberText(c.value), QString(c.text)) << c.text;
}

// A sum SQL worked out in double: its noise may read back as a real fifteenth digit would, so
// it is hidden, and such a digit with it.
TEST(ComputedNumberText, HidesTheNoiseOfAdditionsInDouble) {
    const struct {
        double value;
        const char* text;
        const char* asNumberText;
    } cases[] = {
        {12.07 - 12.01, "0.06", "0.0600000000000005"},
        {300 - 299.3, "0.7", "0.7"},
        {0.1 + 0.2, "0.3", "0.3"},
        {19.9 * 3 - 59.7, "0", "0"},
        {30.75, "30.75", "30.75"},
        {123456789012344, "123456789012340", "123456789012344"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(store::computedNumberText(c.value), QString(c.text)) << c.text;
        EXPECT_EQ(numberText(c.value), QString(c.asNumberText)) << c.text;
    }
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
        // Computed with exactly only up to 15 significant digits.
        {"123456789012345", true}, {"99999999.9999999", true}, {"1234567890123456", false},
        {"59.90000000000001", false},
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

TEST(ExactNumber, MultipliesRoundsAndComparesExactly) {
    using store::ExactNumber;
    const auto number = [](const char* text) { return *ExactNumber::of(text); };
    const struct {
        const char* left;
        const char* right;
        const char* product;  // "" when it needs more than 15 significant digits
        const char* rounded;
    } products[] = {
        {"199", "0.85", "169.15", "169.15"},
        {"0.1", "3", "0.3", "0.3"},
        {"123456789012345", "1", "123456789012345", "123456789012345"},
        {"99999999.9999999", "3", "", "300000000"},
        {"123456789012345", "0.85", "", "104938270660493"},  // .25 rounds down
        {"-2.5", "0.00000000000003", "-0.000000000000075", "-0.000000000000075"},
        {"999999999999999", "999999999999999", "", "999999999999998000000000000000"},
        {"-1", "0.5", "-0.5", "-0.5"},
        {"0", "1e200", "0", "0"},
    };
    for (const auto& c : products) {
        SCOPED_TRACE(std::string(c.left) + " x " + c.right);
        const std::optional<ExactNumber> product = number(c.left).times(number(c.right));
        EXPECT_EQ(product ? product->text() : QString(), QString(c.product));
        EXPECT_EQ(ExactNumber::roundedProduct({number(c.left), number(c.right)}).text(),
                  QString::fromStdString(c.rounded));
    }
    // One rounding of the whole product: 123456789012345 x 0.85 x 2 is 209876541320986.5.
    EXPECT_EQ(ExactNumber::roundedProduct({number("8.5").tenth(), number("123456789012345"), number("2")})
                  .text(),
              "209876541320987");
    const struct {
        const char* left;
        const char* right;
        const char* rounded;  // the sum
    } sums[] = {
        {"300", "-299.3", "0.7"},
        {"123456789012345", "-0.5", "123456789012345"},  // half away from zero
        {"123456789012345", "-0.6", "123456789012344"},
        {"1e30", "123456789012345e6", "1000000000123460000000000000000"},
        {"1e30", "-1e-30", "1000000000000000000000000000000"},
        {"1000", "-1e-40", "1000"},
        {"123456789012345", "-1e-40", "123456789012345"},
        {"0.5", "1e-40", "0.5"},
    };
    for (const auto& c : sums)
        EXPECT_EQ(number(c.left).roundedPlus(number(c.right)).text(), QString(c.rounded))
            << c.left << " + " << c.right;
    EXPECT_LT(number("99999999.9999998"), number("99999999.9999999"));
    EXPECT_GT(number("1e-200"), number("0"));
    EXPECT_LT(number("-1e200"), number("1e-200"));
    EXPECT_EQ(number("5.0") <=> number("5"), std::strong_ordering::equal);
    for (const auto& [value, whole] : std::vector<std::pair<const char*, const char*>>{
             {"2.5", "2"}, {"-2.5", "-2"}, {"0.99", "0"}, {"1e20", "100000000000000000000"},
             {"-0.000001", "0"}, {"123456789012.345", "123456789012"}})
        EXPECT_EQ(number(value).truncated().text(), QString(whole)) << value;
}

TEST(ExactNumber, FiguresReadAsToNumberReadsThem) {
    const struct {
        const char* text;
        const char* exact;    // "none" when it has no exact figure
        const char* rounded;
    } cases[] = {
        {"", "0", "0"},
        {"abc", "0", "0"},
        {"12abc", "0", "0"},
        {" 99999999.9999999 ", "99999999.9999999", "99999999.9999999"},
        {"1234567890123456", "none", "1234567890123460"},
        {"0.123456789012345678", "none", "0.123456789012346"},
        {"999999999999999.5", "none", "1000000000000000"},
        {"inf", "none", "0"},
        {"NaN", "none", "0"},
        {"1e99999", "none", "0"},
    };
    for (const auto& c : cases) {
        const std::optional<store::ExactNumber> exact = store::exactFigure(c.text);
        EXPECT_EQ(exact ? exact->text() : QString("none"), QString(c.exact)) << c.text;
        EXPECT_EQ(store::roundedFigure(c.text).text(), QString(c.rounded)) << c.text;
    }
}

// An exponent at the integer limits is bounded as any other beyond the bounds, whatever reads it.
TEST(ExactNumber, ExponentsAtTheIntegerLimitsReadAsTheirSmallTwins) {
    const std::pair<const char*, const char*> twins[] = {
        {"1e-2147483648", "1e-400"},   {"1e2147483647", "1e400"},
        {"5e-2147483648", "5e-400"},   {"-1e-2147483648", "-1e-400"},
        {"10e2147483647", "10e400"},   {"0.5e-2147483648", "0.5e-400"},
        {"1e-2147483649", "1e-400"},   {"1E+2147483647", "1E+400"},
    };
    const auto readings = [](const QString& text) {
        const std::optional<store::ExactNumber> exact = store::ExactNumber::of(text);
        const std::optional<store::ExactNumber> figure = store::exactFigure(text);
        return QStringList{exact ? exact->text() : "none", figure ? figure->text() : "none",
                           store::roundedFigure(text).text(),
                           store::fitsAsNumber(text, 100) ? "fits" : "does not fit",
                           store::isExactQuantity(text, 255) ? "quantity" : "no quantity",
                           store::movedFigure("10", store::roundedFigure(text)).value_or("none")};
    };
    for (const auto& [limit, twin] : twins)
        EXPECT_EQ(readings(limit).join(" | ").toStdString(), readings(twin).join(" | ").toStdString())
            << limit;
    EXPECT_EQ(readings("1e-400").join(" | ").toStdString(),
              "none | none | 0 | does not fit | no quantity | 10");
    EXPECT_EQ(readings("1e-350").join(" | ").toStdString().substr(0, 4), "0.00");  // within the bounds
}

// However many digits the lines need on the way, their total is their exact sum, cut once.
TEST(ExactSum, IsTheExactSumInAnyOrderCutOnce) {
    const struct {
        QStringList figures;
        const char* cut;  // to two decimals
    } cases[] = {
        {{"123456789012345", "0.5", "0.5"}, "123456789012346"},
        {{"0.5", "123456789012345", "0.5"}, "123456789012346"},
        {{"0.5", "0.5", "123456789012345"}, "123456789012346"},
        {{"12.3456"}, "12.34"},
        {{"-12.3456"}, "-12.34"},
        {{"0.004", "0.003", "0.003"}, "0.01"},
        {{"300", "-299.3"}, "0.7"},
        {{"1e300", "1e-300", "-1e300"}, "0"},
        {{"1e300", "-1e-300", "-1e300"}, "0"},
        {{"-0.001"}, "0"},
        // More than 15 digits once cut: rounded to 15.
        {{"99999999999999.9", "99999999999999.9"}, "200000000000000"},
        {{"999999999999999", "999999999999999", "0.99"}, "2000000000000000"},
        {{}, "0"},
    };
    for (const auto& c : cases) {
        store::ExactSum sum;
        for (const QString& figure : c.figures) sum.add(*store::ExactNumber::of(figure));
        EXPECT_EQ(sum.cutTo(2).text(), QString(c.cut)) << c.figures.join(" + ").toStdString();
    }
}
