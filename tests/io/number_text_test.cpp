// The shortest round-trip text of a double.
#include "io/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <utility>

TEST(NumberText, ShortestTextThatReadsBackExactly)
{
    const std::pair<double, const char*> cases[] = {
        {100.0, "100"},
        {816.67, "816.67"},
        {100.0 * 49 / 6, "816.6666666666666"},
        {0.1, "0.1"},
        {-2.5, "-2.5"},
        {1e-300, "1e-300"},
        {std::numeric_limits<double>::max(), "1.7976931348623157e+308"},
        {std::numeric_limits<double>::denorm_min(), "5e-324"},
        {HUGE_VAL, "inf"},
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(roundTripText(value), text);
        EXPECT_EQ(std::strtod(roundTripText(value).c_str(), nullptr), value) << text;
    }
}
