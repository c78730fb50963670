#include "gui/decimal_text.h"

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <locale.h>

// The "C" numeric locale, made once: the toolkit may switch the process to
// the user's locale, where a comma could be the decimal separator.
static locale_t numericLocale()
{
    static const locale_t cLocale = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(0));
    return cLocale;
}

// Longest numeric prefix, 0 when there is none.
double readDecimal(const char* text)
{
    if (!text)
        return 0.0;
    return strtod_l(text, nullptr, numericLocale());
}

std::optional<double> readPositiveDecimal(const char* text)
{
    const double value = readDecimal(text);
    if (!std::isfinite(value) || value <= 0.0)
        return std::nullopt;
    return value;
}

namespace {
// Enough for the numbers the fields show; a longer text comes back empty.
constexpr int textRoom = 64;

std::string charsOf(char* text, std::to_chars_result written)
{
    return written.ec == std::errc() ? std::string(text, written.ptr) : std::string();
}
}  // namespace

// Decimals tried when the shortest form does not fit.
constexpr int mostDecimals = 6;

std::string fittedDecimal(double value, const std::function<bool(const std::string&)>& fits)
{
    char text[textRoom];
    const std::string shortest = charsOf(text, std::to_chars(text, text + textRoom, value));
    if (fits(shortest) && shortest.find('e') == std::string::npos)
        return shortest;
    std::string fixed;
    for (int decimals = mostDecimals; decimals >= 0; --decimals) {
        fixed = charsOf(text, std::to_chars(text, text + textRoom, value, std::chars_format::fixed, decimals));
        if (fixed.find('.') != std::string::npos) {
            fixed.erase(fixed.find_last_not_of('0') + 1);
            if (fixed.back() == '.')
                fixed.pop_back();
        }
        if (fits(fixed))
            break;
    }
    return fixed;
}

std::string fittedDecimal(double value, int width)
{
    return fittedDecimal(value, [width](const std::string& text) { return int(text.size()) <= width; });
}
