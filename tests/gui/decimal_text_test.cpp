// Numbers read from the editor's text fields.
#include "gui/decimal_text.h"

#include <gtest/gtest.h>

#include <clocale>

namespace {

TEST(DecimalText, ReadsTheLongestNumericPrefix)
{
    EXPECT_DOUBLE_EQ(readDecimal("0.003"), 0.003);
    EXPECT_DOUBLE_EQ(readDecimal("-1.0"), -1.0);
    EXPECT_DOUBLE_EQ(readDecimal("1.5xyz"), 1.5);
    EXPECT_DOUBLE_EQ(readDecimal("  2e-3 "), 0.002);
    EXPECT_DOUBLE_EQ(readDecimal("3,5"), 3.0);
}

TEST(DecimalText, TextWithoutANumberReadsAsZero)
{
    EXPECT_EQ(readDecimal(""), 0.0);
    EXPECT_EQ(readDecimal("abc"), 0.0);
    EXPECT_EQ(readDecimal("."), 0.0);
    EXPECT_EQ(readDecimal(nullptr), 0.0);
}

TEST(DecimalText, ATimeStepMustBeFiniteAndAboveZero)
{
    const struct {
        const char* text;
        double value;  // 0: refused
    } cases[] = {{"0.003", 0.003}, {" 1e-4", 1e-4}, {"0.5s", 0.5}, {"", 0}, {"abc", 0}, {"0", 0},
                 {"-1", 0}, {"-0.0", 0}, {"inf", 0}, {"nan", 0}, {"1e999", 0}, {nullptr, 0}};
    for (const auto& c : cases) {
        const std::optional<double> read = readPositiveDecimal(c.text);
        EXPECT_EQ(read.has_value(), c.value > 0) << (c.text ? c.text : "null");
        if (read) {
            EXPECT_DOUBLE_EQ(*read, c.value);
        }
    }
}

TEST(DecimalText, APointIsTheSeparatorWhateverTheLocale)
{
    // Locales with a decimal comma may be missing on a build machine; the
    // test then checks the "C" locale only.
    const char* comma = std::setlocale(LC_NUMERIC, "pl_PL.UTF-8");
    if (!comma)
        comma = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    EXPECT_DOUBLE_EQ(readDecimal("0.003"), 0.003);
    std::setlocale(LC_NUMERIC, "C");
}

}  // namespace

// What a field of a few characters shows: every digit when they fit, else
// as many decimals as fit, never an exponent.
TEST(DecimalText, NumbersAreFittedIntoTheirField)
{
    const struct {
        double value;
        int width;
        const char* shown;
    } cases[] = {
        {200, 6, "200"},         {816.67, 6, "816.67"},   {100.0 * 49 / 6, 6, "816.67"},
        {1234.5678, 6, "1234.6"}, {1999.96, 6, "2000"},    {10.0 / 3, 6, "3.3333"},
        {0.5, 6, "0.5"},         {123456, 6, "123456"},   {1234567, 6, "1234567"},
        {1e-5, 6, "0"},          {-2.25, 6, "-2.25"},     {816.67, 3, "817"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fittedDecimal(c.value, c.width), c.shown) << c.value << " in " << c.width;
}
