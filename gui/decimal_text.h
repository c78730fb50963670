// Numbers typed into the editor's text fields.
#pragma once

#include <optional>
#include <functional>
#include <string>

// The longest decimal prefix of the text, as the C library's strtod reads it
// in the "C" locale (a point is the decimal separator whatever the user's
// locale); 0 when the text does not start with a number. strtod's other
// forms are read too: "0x10" is 16, "inf" and "nan" are infinity and NaN,
// and digits beyond the range of a double give infinity.
double readDecimal(const char* text);

// A time step the solver can run: the text's number as readDecimal reads
// it, when it is finite and above 0; nothing otherwise ("", "abc", "0",
// "-1", "inf").
std::optional<double> readPositiveDecimal(const char* text);
// A number as a field shows it: the shortest text that reads back as
// exactly value when that fits ("200", "816.67"), else value rounded to as
// many decimals as fit, trailing zeros dropped (in six characters
// "816.6666666666666" is "816.67", "1234.5678" is "1234.6"); with no decimal
// at all when even that does not fit. Written with a point whatever the
// locale.
std::string fittedDecimal(double value, const std::function<bool(const std::string&)>& fits);
// The same for a field of width characters.
std::string fittedDecimal(double value, int width);
