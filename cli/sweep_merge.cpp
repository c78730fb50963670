#include "cli/sweep_merge.h"

#include "cli/sweep_commands.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

// The value after "key": within [from, to) of text, up to the next ',', '}'
// or ']'; "" when absent, null or not a finite number.
std::string numberAfter(const std::string& text, const std::string& key, size_t from, size_t to)
{
    const size_t at = text.find("\"" + key + "\"", from);
    if (at == std::string::npos || at >= to)
        return "";
    const size_t colon = text.find(':', at);
    if (colon == std::string::npos || colon >= to)
        return "";
    const size_t start = text.find_first_not_of(" \t\r\n", colon + 1);
    const size_t end = text.find_first_of(",}]\r\n", colon + 1);
    if (start == std::string::npos || end == std::string::npos || start >= end)
        return "";
    std::string value = text.substr(start, end - start);
    value.erase(value.find_last_not_of(" \t") + 1);
    char* stop = nullptr;
    const double number = std::strtod(value.c_str(), &stop);
    return *stop == '\0' && std::isfinite(number) ? value : "";
}

bool readText(const std::string& path, std::string& text)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    std::ostringstream content;
    content << file.rdbuf();
    text = content.str();
    return true;
}

// "ok", "exit N" or "failed", with the run's figures when it has a summary.
std::string runStatus(const std::string& directory, RunFigures& figures)
{
    std::string json, exitText;
    const bool summarised = readText(directory + "/summary.json", json) && parseRunFigures(json, figures);
    const bool exited = readText(directory + "/exit_status", exitText);
    const int status = exited ? std::atoi(exitText.c_str()) : -1;
    if (summarised && status == 0)
        return "ok";
    if (exited && status != 0)
        return "exit " + std::to_string(status);
    figures = RunFigures();
    return "failed";
}

}  // namespace

bool parseRunFigures(const std::string& json, RunFigures& figures)
{
    const size_t bodies = json.find("\"bodies\"");
    if (bodies == std::string::npos)
        return false;
    RunFigures read;
    read.steps = numberAfter(json, "steps", 0, bodies);
    read.time = numberAfter(json, "time", 0, bodies);
    if (read.steps.empty())
        return false;
    const size_t listEnd = json.find(']', bodies);
    const size_t open = json.find('{', bodies);
    if (open != std::string::npos && open < listEnd) {
        const size_t close = json.find('}', open);
        read.cdMean = numberAfter(json, "cd_mean", open, close);
        read.clMean = numberAfter(json, "cl_mean", open, close);
        read.cdAmplitude = numberAfter(json, "cd_amplitude", open, close);
        read.clAmplitude = numberAfter(json, "cl_amplitude", open, close);
        read.strouhal = numberAfter(json, "strouhal", open, close);
    }
    figures = read;
    return true;
}

std::string mergeSummaries(const SweepTable& table, const std::string& outDirectory, int& ok)
{
    const int nameIndex = table.column("name");
    std::string csv = "name";
    for (size_t k = 0; k < table.columns.size(); ++k)
        if (static_cast<int>(k) != nameIndex)
            csv += "," + csvField(table.columns[k]);
    csv += ",status,steps_run,time,cd_mean,cl_mean,cd_amplitude,cl_amplitude,strouhal\n";
    ok = 0;
    for (const SweepRow& row : table.rows) {
        std::string line = csvField(row.cells[nameIndex]);
        for (size_t k = 0; k < row.cells.size(); ++k)
            if (static_cast<int>(k) != nameIndex)
                line += "," + csvField(row.cells[k]);
        RunFigures f;
        const std::string status = runStatus(runDirectory(outDirectory, row.cells[nameIndex]), f);
        ok += status == "ok";
        for (const std::string& value : {status, f.steps, f.time, f.cdMean, f.clMean, f.cdAmplitude,
                                         f.clAmplitude, f.strouhal})
            line += "," + value;
        csv += line + "\n";
    }
    return csv;
}
