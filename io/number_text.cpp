#include "io/number_text.h"

#include <charconv>

std::string roundTripText(double value)
{
    // 24 characters hold the longest shortest form of any double.
    char text[32];
    const std::to_chars_result written = std::to_chars(text, text + sizeof text, value);
    return std::string(text, written.ptr);
}
