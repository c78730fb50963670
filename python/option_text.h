// The module's keywords checked by kelvo-batch's own option parsers: a value
// goes in as the text its option would take, and a refusal comes back in
// the program's words, named after the keyword.
#pragma once

#include <string>

// A number as text that reads back as the same double.
std::string exactText(double value);

// "--dye-bands needs ..." as the keyword dye_bands says it: "dye_bands needs ...".
std::string keywordMessage(const std::string& optionMessage);
