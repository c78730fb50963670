#include "gui/window_title.h"

std::string editorWindowTitle(const std::string& programName, const std::string& filePath, bool modified)
{
    const char* star = modified ? "*" : "";
    if (filePath.empty())
        return star + programName;
    const std::size_t slash = filePath.find_last_of('/');
    const std::string name = slash == std::string::npos ? filePath : filePath.substr(slash + 1);
    return name + star + " - " + programName;
}
