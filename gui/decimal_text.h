// Numbers typed into the editor's text fields.
#pragma once

#include <optional>

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
