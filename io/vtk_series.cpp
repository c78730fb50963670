#include "io/vtk_series.h"

#include "io/file_replace.h"
#include "io/vtk_fields.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <filesystem>
#include <system_error>
#include <utility>

namespace {

// The text of a .pvd collection of the given files and times.
std::string collectionText(const std::vector<std::pair<double, std::string>>& files)
{
    std::string text = "<?xml version=\"1.0\"?>\n"
                       "<VTKFile type=\"Collection\" version=\"1.0\">\n"
                       "  <Collection>\n";
    for (const auto& [time, fileName] : files) {
        char time17[32];
        std::snprintf(time17, sizeof time17, "%.17g", time);
        text += "    <DataSet timestep=\"" + std::string(time17) + "\" part=\"0\" file=\"" + fileName + "\"/>\n";
    }
    text += "  </Collection>\n</VTKFile>\n";
    return text;
}

// The text between name=" and the next quote at or after from; "" when absent.
std::string attribute(const std::string& text, const std::string& name, std::size_t from, std::size_t to)
{
    const std::string key = name + "=\"";
    const std::size_t start = text.find(key, from);
    if (start == std::string::npos || start >= to)
        return "";
    const std::size_t end = text.find('"', start + key.size());
    return end == std::string::npos || end > to ? "" : text.substr(start + key.size(), end - start - key.size());
}

// The entries of a collection written by collectionText whose file number is
// below first; unreadable lines are left out.
std::vector<std::pair<double, std::string>> earlierEntries(const std::string& text, int32_t first)
{
    std::vector<std::pair<double, std::string>> kept;
    for (std::size_t at = text.find("<DataSet"); at != std::string::npos; at = text.find("<DataSet", at + 1)) {
        const std::size_t end = text.find("/>", at);
        const std::string time = attribute(text, "timestep", at, end);
        const std::string file = attribute(text, "file", at, end);
        int number = -1;
        char tail = 0;
        if (time.empty() || std::sscanf(file.c_str(), "fields_%5d.vt%c", &number, &tail) != 2 || tail != 'i')
            continue;
        if (number >= 0 && number < first)
            kept.emplace_back(std::strtod(time.c_str(), nullptr), file);
    }
    return kept;
}

}  // namespace

void VtkFieldsOutput::continueFrom(int32_t first)
{
    next = first;
    std::ifstream file(pathOf("fields.pvd"), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    entries = earlierEntries(text, first);
}

VtkFieldsOutput::VtkFieldsOutput(std::string directory) : fieldDirectory(std::move(directory)) {}

void VtkFieldsOutput::restartNumbering()
{
    next = 0;
    entries.clear();
}

std::string VtkFieldsOutput::pathOf(const std::string& name) const
{
    return fieldDirectory.empty() ? name : fieldDirectory + "/" + name;
}

VtkWriteResult VtkFieldsOutput::writeFrame(const Grid& state, double time)
{
    const int32_t number = next;
    next = number + 1;
    char name[32];
    std::snprintf(name, sizeof name, "fields_%05d.vti", number);
    VtkWriteResult result;
    result.path = pathOf(name);
    if (!fieldDirectory.empty()) {
        std::error_code error;
        std::filesystem::create_directories(fieldDirectory, error);
        if (error)
            return result;
    }
    encodeVtkFields(state, bytes);
    if (!replaceFile(result.path, bytes, FileSync::None))
        return result;
    entries.emplace_back(time, name);
    result.ok = writeCollection();
    if (!result.ok)
        result.path = pathOf("fields.pvd");
    return result;
}

bool VtkFieldsOutput::writeCollection()
{
    const std::string text = collectionText(entries);
    bytes.assign(text.begin(), text.end());
    return replaceFile(pathOf("fields.pvd"), bytes, FileSync::None);
}
