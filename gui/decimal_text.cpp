#include "gui/decimal_text.h"

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
