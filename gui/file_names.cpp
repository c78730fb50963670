#include "gui/file_names.h"

std::string withDefaultExtension(const std::string& name, const std::string& extension)
{
    const size_t slash = name.find_last_of('/');
    const size_t start = slash == std::string::npos ? 0 : slash + 1;
    if (start == name.size())
        return name;  // a folder, not a file name
    const size_t dot = name.find_last_of('.');
    if (dot == std::string::npos || dot <= start)
        return name + extension;
    if (dot + 1 == name.size())
        return name + extension.substr(extension.front() == '.' ? 1 : 0);
    return name;
}
