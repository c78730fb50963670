// The numbers options give: decimal text read whole, as the command line,
// the Python module and the sweeps' tables all take them.
#pragma once

#include <string>

// A finite number filling the whole text, nothing before or after it (no
// leading blank); false otherwise, value then unspecified.
bool parseFiniteNumber(const std::string& text, double& value);
