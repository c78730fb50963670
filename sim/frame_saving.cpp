#include "sim/frame_saving.h"

#include <cstring>

std::string aviFileNameFor(const std::string& chosen)
{
    constexpr const char* extension = ".avi";
    const size_t length = std::strlen(extension);
    const bool hasExtension =
        chosen.size() >= length && chosen.compare(chosen.size() - length, length, extension) == 0;
    return hasExtension ? chosen : chosen + extension;
}
