// Command-line parsing for kelvo-batch: every value must parse completely
// and lie in its range, so a typo never runs with a silently different value.
#include "batch_options.h"

#include "batch_constants.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

// A whole decimal integer, nothing before or after it.
bool parseInteger(const char* text, long long& value)
{
    if (*text == '\0' || std::isspace(static_cast<unsigned char>(*text)))
        return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtoll(text, &end, 10);
    return errno == 0 && *end == '\0';
}

// A finite decimal number, nothing before or after it.
bool parseFinite(const char* text, double& value)
{
    if (*text == '\0' || std::isspace(static_cast<unsigned char>(*text)))
        return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtod(text, &end);
    return errno == 0 && *end == '\0' && std::isfinite(value);
}

// One option with its value; false with a reason when the value is bad.
bool applyOption(const std::string& name, const char* text, BatchOptions& o, std::string& error)
{
    long long whole = 0;
    double number = 0.0;
    if (name == "--steps") {
        if (!parseInteger(text, whole) || whole < 0 || whole > batch_constants::maxSteps) {
            error = "--steps needs a whole number from 0 to " +
                    std::to_string(batch_constants::maxSteps) + ", not '" + text + "'";
            return false;
        }
        o.steps = whole;
    } else if (name == "--re") {
        if (!parseInteger(text, whole) || whole < batch_constants::minReynolds ||
            whole > batch_constants::maxReynolds) {
            error = "--re needs a whole number from " +
                    std::to_string(batch_constants::minReynolds) + " to " +
                    std::to_string(batch_constants::maxReynolds) + ", not '" + text + "'";
            return false;
        }
        o.reynolds = static_cast<int>(whole);
    } else if (name == "--dt") {
        if (!parseFinite(text, number) || !(number > 0.0)) {
            error = std::string("--dt needs a finite number above 0, not '") + text + "'";
            return false;
        }
        o.dt = number;
    } else if (name == "--default-u" || name == "--default-v") {
        if (!parseFinite(text, number)) {
            error = name + " needs a finite number, not '" + text + "'";
            return false;
        }
        (name == "--default-u" ? o.defaultU : o.defaultV) = number;
    } else {
        if (*text == '\0') {
            error = "--dump-csv needs a file name";
            return false;
        }
        o.csvPath = text;
    }
    return true;
}

bool takesValue(const std::string& name)
{
    return name == "--steps" || name == "--re" || name == "--dt" || name == "--default-u" ||
           name == "--default-v" || name == "--dump-csv";
}

}  // namespace

// Options may come before or after the grid file; exactly one file is needed.
bool parseBatchOptions(int argc, const char* const* argv, BatchOptions& options,
                       std::string& error)
{
    BatchOptions o;
    o.steps = batch_constants::defaultSteps;
    o.dt = batch_constants::defaultDt;
    for (int k = 1; k < argc; ++k) {
        const std::string arg = argv[k];
        if (arg == "--help" || arg == "-h") {
            o.help = true;
        } else if (takesValue(arg)) {
            if (k + 1 >= argc) {
                error = arg + " needs a value";
                return false;
            }
            if (!applyOption(arg, argv[++k], o, error))
                return false;
        } else if (arg.size() > 1 && arg[0] == '-') {
            error = "unknown option '" + arg + "' (see --help)";
            return false;
        } else if (!o.gridPath.empty()) {
            error = "only one grid file can be run, got '" + o.gridPath + "' and '" + arg + "'";
            return false;
        } else {
            o.gridPath = arg;
        }
    }
    if (o.gridPath.empty() && !o.help) {
        error = "no grid file given (see --help)";
        return false;
    }
    options = o;
    return true;
}

std::string batchUsage()
{
    return "usage: kelvo-batch GRIDFILE [--steps N] [--re R] [--dt X] [--default-u A]\n"
           "                   [--default-v B] [--dump-csv FILE]\n"
           "\n"
           "Runs the flow of a grid file without a display: writes the default\n"
           "velocities into the fluid cells, builds the solver (one step), then\n"
           "takes N more steps and writes the final state as CSV.\n"
           "\n"
           "  --steps N       steps after the build step (default 100)\n"
           "  --re R          Reynolds number, 1..100000 (default: the file's,\n"
           "                  clamped to 10..2000 as the editor shows it)\n"
           "  --dt X          time step, above 0 (default 0.003)\n"
           "  --default-u A   default x velocity of fluid cells (default: the file's,\n"
           "                  clamped to 0..100)\n"
           "  --default-v B   default y velocity of fluid cells (likewise)\n"
           "  --dump-csv FILE write i,j,flags,u,v,p per cell to FILE ('-' for stdout)\n"
           "  --help          show this text\n";
}
