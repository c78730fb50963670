#include "cli/sweep_commands.h"

#include "cli/batch_options.h"

#include <set>

namespace {

// Columns that are not plain --COLUMN VALUE options.
const char* const nameColumn = "name";
const char* const gridColumn = "grid";
const char* const probeColumn = "probe";

// Options the sweep sets itself, and one that would run nothing.
bool reservedColumn(const std::string& column)
{
    return column == "summary-json" || column == "help";
}

// The parts of text between ';', each trimmed of spaces, empty ones dropped.
std::vector<std::string> splitPoints(const std::string& text)
{
    std::vector<std::string> points;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(';', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string part = text.substr(start, end - start);
        const size_t first = part.find_first_not_of(' ');
        if (first != std::string::npos)
            points.push_back(part.substr(first, part.find_last_not_of(' ') - first + 1));
        start = end + 1;
    }
    return points;
}

std::string relativeTo(const std::string& directory, const std::string& path)
{
    if (path.empty() || path[0] == '/' || directory.empty())
        return path;
    return directory.back() == '/' ? directory + path : directory + "/" + path;
}

// kelvo-batch's parser applied to the arguments; the reason on refusal.
bool acceptedByBatch(const std::vector<std::string>& arguments, std::string& error)
{
    std::vector<const char*> argv{"kelvo-batch"};
    for (const std::string& argument : arguments)
        argv.push_back(argument.c_str());
    BatchOptions options;
    return parseBatchOptions(static_cast<int>(argv.size()), argv.data(), options, error);
}

}  // namespace

bool checkRunName(const std::string& name, std::string& error)
{
    if (name.empty())
        error = "a run has no name";
    else if (name == "." || name == "..")
        error = "'" + name + "' cannot name a run";
    else if (name.find('/') != std::string::npos)
        error = "the run name '" + name + "' holds a '/'";
    for (char c : name)
        if (error.empty() && (static_cast<unsigned char>(c) < 0x20 || c == 0x7F))
            error = "a run name holds a control character";
    return error.empty();
}

std::vector<std::string> batchArguments(const SweepTable& table, const SweepRow& row,
                                        const std::string& tableDirectory, const std::string& runDirectory)
{
    std::vector<std::string> arguments;
    for (size_t k = 0; k < table.columns.size(); ++k) {
        const std::string& column = table.columns[k];
        const std::string& value = row.cells[k];
        if (column == nameColumn || value.empty())
            continue;
        if (column == gridColumn) {
            arguments.push_back(relativeTo(tableDirectory, value));
        } else if (column == probeColumn) {
            for (const std::string& point : splitPoints(value)) {
                arguments.push_back("--probe");
                arguments.push_back(point);
            }
        } else {
            arguments.push_back("--" + column);
            arguments.push_back(value);
        }
    }
    arguments.push_back("--summary-json");
    arguments.push_back(runDirectory + "/summary.json");
    return arguments;
}

bool buildSweepRuns(const SweepTable& table, const std::string& tableDirectory, const std::string& outDirectory,
                    std::vector<SweepRun>& runs, std::string& error)
{
    for (const std::string& column : table.columns)
        if (reservedColumn(column)) {
            error = "the column '" + column + "' is not allowed: the sweep sets it";
            return false;
        }
    const int nameIndex = table.column(nameColumn);
    std::set<std::string> seen;
    std::vector<SweepRun> built;
    for (const SweepRow& row : table.rows) {
        SweepRun run;
        run.name = nameIndex >= 0 ? row.cells[nameIndex] : "";
        run.line = row.line;
        std::string reason;
        if (checkRunName(run.name, reason) && !seen.insert(run.name).second)
            reason = "the run name '" + run.name + "' is used twice";
        if (reason.empty()) {
            run.arguments = batchArguments(table, row, tableDirectory, runDirectory(outDirectory, run.name));
            acceptedByBatch(run.arguments, reason);
        }
        if (!reason.empty()) {
            error = "line " + std::to_string(row.line) + ": " + reason;
            return false;
        }
        built.push_back(run);
    }
    if (built.empty()) {
        error = "the table has no runs";
        return false;
    }
    runs = built;
    return true;
}

std::string shellQuote(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string runDirectory(const std::string& outDirectory, const std::string& name)
{
    return relativeTo(outDirectory, name);
}

std::string runCommandLine(const std::string& batchProgram, const SweepRun& run, const std::string& outDirectory)
{
    const std::string directory = shellQuote(runDirectory(outDirectory, run.name));
    std::string batch = shellQuote(batchProgram);
    for (const std::string& argument : run.arguments)
        batch += " " + shellQuote(argument);
    // Relative output paths (--history, --ppm ...) land in the run's folder.
    return "mkdir -p " + directory + " && cd " + directory + " && { " + batch +
           " >log.txt 2>&1; s=$?; echo $s >exit_status; exit $s; }";
}
