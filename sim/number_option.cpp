#include "sim/number_option.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>

bool parseFiniteNumber(const std::string& text, double& value)
{
    if (text.empty() || std::isspace(static_cast<unsigned char>(text[0])))
        return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtod(text.c_str(), &end);
    return errno == 0 && *end == '\0' && std::isfinite(value);
}
