// Tables of the names options and files give to enumerated choices.
#pragma once

#include <cstddef>
#include <string>
#include <utility>

// Sets value to the entry named text; false, value untouched, when none is.
template <class Value, std::size_t N>
bool lookUpName(const std::string& text, const std::pair<const char*, Value> (&names)[N], Value& value)
{
    for (const auto& entry : names)
        if (text == entry.first) {
            value = entry.second;
            return true;
        }
    return false;
}

// The name of value; the first entry's when the table lacks it.
template <class Value, std::size_t N>
const char* nameOf(Value value, const std::pair<const char*, Value> (&names)[N])
{
    for (const auto& entry : names)
        if (entry.second == value)
            return entry.first;
    return names[0].first;
}
