#include "python/option_text.h"

#include <cstdio>

std::string exactText(double value)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

std::string keywordMessage(const std::string& optionMessage)
{
    if (optionMessage.compare(0, 2, "--") != 0)
        return optionMessage;
    std::string out = optionMessage.substr(2);
    for (size_t k = 0; k < out.size() && out[k] != ' '; ++k)
        if (out[k] == '-')
            out[k] = '_';
    return out;
}
