#include "gui/grid_directory.h"

#include <filesystem>
#include <system_error>

namespace {

bool isDirectory(const std::string& path)
{
    std::error_code error;
    return !path.empty() && std::filesystem::is_directory(path, error);
}

}  // namespace

std::string gridDialogDirectory(GridDirectoryUse use, const std::string& preferred,
                                const std::string& installed)
{
    if (isDirectory(preferred))
        return preferred;
    if (use == GridDirectoryUse::Load && isDirectory(installed))
        return installed;
    if (use == GridDirectoryUse::Save)
        return ".";
    return preferred;
}

std::string installedGridsFolder(const std::string& relativeToProgram)
{
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error || program.empty())
        return std::string();
    return (program.parent_path() / relativeToProgram).lexically_normal().string();
}
