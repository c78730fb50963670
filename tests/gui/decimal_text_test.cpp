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
