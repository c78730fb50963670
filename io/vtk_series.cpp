#include "io/vtk_series.h"

#include "io/vtk_fields.h"

#include <cstdio>
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

}  // namespace

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
    if (!replaceFileWith(result.path, bytes))
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
    return replaceFileWith(pathOf("fields.pvd"), bytes);
}
