// Numbers written for people and programs alike.
#pragma once

#include <string>

// The shortest decimal text that reads back (strtod) as exactly value:
// "100" for a whole 100, "816.67" for 816.67, "1e-300" for 1e-300, "inf",
// "-inf" and "nan" for the others.
std::string roundTripText(double value);
