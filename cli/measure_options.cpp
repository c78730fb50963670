#include "cli/measure_options.h"
#include "sim/number_option.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace {

}  // namespace

bool isMeasureOption(const std::string& name)
{
    return name == "--probe" || name == "--history" || name == "--history-every" || name == "--summary-json" ||
           name == "--ref-speed" || name == "--ref-length";
}

bool applyMeasureOption(const std::string& name, const std::string& text, MeasureOptions& o, std::string& error)
{
    double number = 0.0;
    if (name == "--probe") {
        const size_t comma = text.find(',');
        ProbePoint point;
        if (comma == std::string::npos || !parseFiniteNumber(text.substr(0, comma), point.x) ||
            !parseFiniteNumber(text.substr(comma + 1), point.y))
            error = "--probe needs X,Y in domain units, not '" + text + "'";
        else
            o.probes.push_back(point);
    } else if (name == "--history" || name == "--summary-json") {
        (name == "--history" ? o.historyPath : o.summaryJsonPath) = text;
        if (text.empty()) error = name + " needs a file name";
    } else if (name == "--history-every") {
        if (!parseFiniteNumber(text, number) || number < 1 || number > INT_MAX || number != std::floor(number))
            error = "--history-every needs a whole number from 1 up, not '" + text + "'";
        else
            o.historyEvery = static_cast<int>(number);
    } else if (!parseFiniteNumber(text, number) || !(number > 0.0)) {
        error = name + " needs a finite number above 0, not '" + text + "'";
    } else {
        (name == "--ref-speed" ? o.scales.speed : o.scales.length) = number;
    }
    return error.empty();
}

const char* const measureUsage =
    "\n"
    "Measurements (bodies: groups of wall cells off the border ring, largest\n"
    "first, then all walls together; C = 2 F / (U^2 L)):\n"
    "  --probe X,Y     u, v and p at a point in domain units, origin at the\n"
    "                  south-west corner of the grid (repeatable)\n"
    "  --history FILE  CSV per step: step, t, dt, sweeps (or multigrid\n"
    "                  cycles), max speed, kinetic energy, largest divergence,\n"
    "                  per body C_D, C_L, F_x, F_y, per probe u, v, p\n"
    "  --history-every N  every N-th step only (default 1)\n"
    "  --summary-json FILE  the summary's numbers for scripts\n"
    "  --ref-speed U   reference speed (default: the largest inflow or wall speed)\n"
    "  --ref-length L  reference length (default: each body's height)\n";
