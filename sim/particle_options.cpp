#include "sim/particle_options.h"
#include "sim/number_option.h"

#include "core/inflow_emitters.h"
#include "core/particles.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace {

constexpr int32_t defaultEvery = 5;
constexpr long long maxEvery = 1000000;
constexpr long long maxCap = 10000000;

// Numbers separated by commas, each finite, nothing else.
bool parseNumbers(const std::string& text, std::vector<double>& numbers)
{
    numbers.clear();
    size_t start = 0;
    while (true) {
        const size_t comma = text.find(',', start);
        const std::string item = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        double value = 0.0;
        if (!parseFiniteNumber(item, value))
            return false;
        numbers.push_back(value);
        if (comma == std::string::npos)
            return true;
        start = comma + 1;
    }
}

bool parseWhole(const std::string& text, long long low, long long high, long long& value)
{
    if (text.empty() || text[0] == ' ' || text[0] == '+')
        return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtoll(text.c_str(), &end, 10);
    return errno == 0 && *end == '\0' && value >= low && value <= high;
}

// X1,Y1[,X2,Y2][:EVERY]; a timeline takes the segment alone.
bool parseEmitter(const std::string& text, bool timeline, Emitter& emitter)
{
    const size_t colon = text.find(':');
    std::vector<double> numbers;
    if (!parseNumbers(text.substr(0, colon), numbers) || (numbers.size() != 2 && numbers.size() != 4))
        return false;
    if (timeline && (colon != std::string::npos || numbers.size() != 4))
        return false;
    long long every = timeline ? 0 : defaultEvery;
    if (colon != std::string::npos && !parseWhole(text.substr(colon + 1), 0, maxEvery, every))
        return false;
    emitter.x1 = numbers[0];
    emitter.y1 = numbers[1];
    emitter.x2 = numbers.size() == 4 ? numbers[2] : numbers[0];
    emitter.y2 = numbers.size() == 4 ? numbers[3] : numbers[1];
    emitter.every = static_cast<int32_t>(every);
    return true;
}

}  // namespace

ParticleOptions::ParticleOptions() : cap(particle_defaults::cap) {}

bool isParticleOption(const std::string& name)
{
    return name == "--emitter" || name == "--timeline" || name == "--release-from-inflow" ||
           name == "--particle-cap" || name == "--particles-csv";
}

bool applyParticleOption(const std::string& name, const std::string& text, ParticleOptions& o, std::string& error)
{
    long long whole = 0;
    if (name == "--emitter" || name == "--timeline") {
        Emitter emitter;
        if (!parseEmitter(text, name == "--timeline", emitter)) {
            error = name == "--emitter"
                        ? "--emitter needs X1,Y1 or X1,Y1,X2,Y2 in domain units, optionally :EVERY (0.." +
                              std::to_string(maxEvery) + " steps), not '" + text + "'"
                        : "--timeline needs X1,Y1,X2,Y2 in domain units, not '" + text + "'";
            return false;
        }
        o.emitters.push_back(emitter);
    } else if (name == "--release-from-inflow") {
        if (!parseWhole(text, 1, maxEvery, whole)) {
            error = "--release-from-inflow needs the steps between releases, 1.." + std::to_string(maxEvery) +
                    ", not '" + text + "'";
            return false;
        }
        o.inflowEvery = static_cast<int32_t>(whole);
    } else if (name == "--particle-cap") {
        if (!parseWhole(text, 0, maxCap, whole)) {
            error = "--particle-cap needs a whole number from 0 to " + std::to_string(maxCap) + ", not '" + text + "'";
            return false;
        }
        o.cap = static_cast<std::size_t>(whole);
    } else {
        if (text.empty()) {
            error = "--particles-csv needs a directory name";
            return false;
        }
        o.csvDirectory = text;
    }
    return true;
}

void addOptionEmitters(const ParticleOptions& o, Grid& grid)
{
    for (Emitter e : o.emitters) {
        e.colour = static_cast<int32_t>(grid.emitters.size());
        grid.emitters.push_back(e);
    }
    if (o.inflowEvery > 0) {
        const Emitters inflow = inflowEmitters(grid, o.inflowEvery, static_cast<int32_t>(grid.emitters.size()));
        grid.emitters.insert(grid.emitters.end(), inflow.begin(), inflow.end());
    }
}

const char* const particleUsage =
    "\n"
    "Tracer particles, carried by the flow (Heun's method each step on the\n"
    "velocity interpolated from the cell faces), removed where they leave\n"
    "through an outflow, never entering a wall:\n"
    "  --emitter X1,Y1[,X2,Y2][:EVERY]  a point, or a segment releasing one\n"
    "                  particle per cell length, every EVERY steps (default\n"
    "                  5; 0 releases once); domain units as --probe;\n"
    "                  repeatable, added after the grid file's own\n"
    "  --timeline X1,Y1,X2,Y2  a line of particles released once, at the first\n"
    "                  step\n"
    "  --release-from-inflow EVERY  an emitter along every run of inflow cells\n"
    "  --particle-cap N  particles kept at most, the oldest removed first\n"
    "                  (default 100000)\n"
    "  --particles-csv DIR  the positions on each frame cycle as\n"
    "                  DIR/particles_00000.csv ... (t,serial,emitter,x,y)\n"
    "  Draw them with --elements ...,particles (dots in each emitter's\n"
    "  colour) or ...,streaks (with each particle's places at its last eight\n"
    "  frames).\n";
