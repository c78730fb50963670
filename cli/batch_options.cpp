// Command-line parsing for kelvo-batch: every value must parse completely
// and lie in its range, so a typo never runs with a silently different value.
#include "cli/batch_options.h"
#include "sim/number_option.h"

#include "sim/name_table.h"

#include "cli/batch_constants.h"
#include "sim/body_options.h"
#include "platform/picture_file.h"

#include <cctype>
#include <cstddef>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <utility>

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

// A Reynolds number the solver can hold: finite and above 0 as a float too,
// since it keeps the number in single precision.
bool parseReynolds(const char* text, double& value)
{
    return parseFiniteNumber(text, value) && value > 0.0 && value <= std::numeric_limits<float>::max() &&
           static_cast<float>(value) > 0.0f;
}

// Characters of a refusal kept before it is cut short.
constexpr std::size_t maxMessageLength = 160;

// A refusal as one readable line: control characters (a line feed in a
// value included) shown as '?', and a huge echoed value cut off.
std::string oneLine(const std::string& message)
{
    std::string line = message.substr(0, maxMessageLength);
    for (char& c : line)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = '?';
    if (message.size() > maxMessageLength)
        line += "...";
    return line;
}

// A whole number within [low, high]; false with a reason otherwise.
bool parseRanged(const std::string& name, const char* text, long long low, long long high,
                 long long& value, std::string& error)
{
    if (parseInteger(text, value) && value >= low && value <= high)
        return true;
    error = name + " needs a whole number from " + std::to_string(low) + " to " +
            std::to_string(high) + ", not '" + text + "'";
    return false;
}

// --colour-map QUANTITY and --range MIN,MAX; false with a reason.
bool applyColourMapOption(const std::string& name, const std::string& text, ColourMapView& view,
                          std::string& error)
{
    if (name == "--colour-map") {
        for (ColourQuantity q : {ColourQuantity::Speed, ColourQuantity::Vorticity, ColourQuantity::Pressure,
                                 ColourQuantity::U, ColourQuantity::V, ColourQuantity::Temperature,
                                 ColourQuantity::Dye})
            if (text == quantityName(q)) {
                view.quantity = q;
                return true;
            }
        error = "--colour-map needs speed, vorticity, p, u, v, temperature or dye, not '" + text + "'";
        return false;
    }
    const size_t comma = text.find(',');
    double low = 0.0, high = 0.0;
    if (comma == std::string::npos || !parseFiniteNumber(text.substr(0, comma), low) ||
        !parseFiniteNumber(text.substr(comma + 1), high) || !(low < high)) {
        error = "--range needs MIN,MAX with MIN below MAX, not '" + text + "'";
        return false;
    }
    view.locked = true;
    view.range = ColourRange{low, high};
    return true;
}

// The frame options; false with a reason when the value is bad.
bool applyFrameOption(const std::string& name, const char* text, BatchOptions& o, std::string& error)
{
    using namespace batch_constants;
    long long whole = 0;
    if (name == "--interval") {
        if (!parseRanged(name, text, minInterval, maxInterval, whole, error))
            return false;
        o.interval = static_cast<int>(whole);
    } else if (name == "--size") {
        if (!parseRanged(name, text, minPixelsPerCell, maxPixelsPerCell, whole, error))
            return false;
        o.pixelsPerCell = static_cast<int>(whole);
    } else if (name == "--elements") {
        const ColourMapView view = o.elements.colourMap;
        const bool parsed = parseElements(text, o.elements, error);
        o.elements.colourMap = view;
        return parsed;
    } else if (name == "--colour-map" || name == "--range") {
        return applyColourMapOption(name, text, o.elements.colourMap, error);
    } else if (name == "--avi") {
        if (*text == '\0') {
            error = "--avi needs a file name";
            return false;
        }
        o.aviPath = text;
    } else if (name == "--vtk") {
        if (*text == '\0') {
            error = "--vtk needs a directory name";
            return false;
        }
        o.vtkDirectory = text;
    } else if (name == "--codec") {
        if (!parseCodec(text, o.compression.compressor)) {
            error = std::string("--codec needs raw, mjpeg, ffv1 or utvideo, not '") + text + "'";
            return false;
        }
    } else {
        if (!parseRanged(name, text, minQuality, maxQuality, whole, error))
            return false;
        o.compression.quality = static_cast<int32_t>(whole);
    }
    return true;
}

bool isFrameOption(const std::string& name)
{
    return name == "--interval" || name == "--size" || name == "--elements" || name == "--avi" ||
           name == "--vtk" || name == "--codec" || name == "--quality" || name == "--colour-map" ||
           name == "--range";
}

// A picture as the set-up: --grid-size and --save-grid, and the checks that
// they come with a picture and a picture with its size.
bool isPictureOption(const std::string& name)
{
    return name == "--grid-size" || name == "--save-grid";
}

bool applyPictureOption(const std::string& name, const char* text, BatchOptions& o, std::string& error)
{
    if (name == "--save-grid") {
        o.saveGridPath = text;
        if (o.saveGridPath.empty())
            error = "--save-grid needs a file name";
    } else if (!parseGridSize(text, o.pictureNX, o.pictureNY)) {
        error = "--grid-size needs NXxNY with NX from " + std::to_string(batch_constants::minPictureCells) +
                " to " + std::to_string(batch_constants::maxPictureAcross) + " and NY from " +
                std::to_string(batch_constants::minPictureCells) + " to " +
                std::to_string(batch_constants::maxPictureUp) + ", not '" + text + "'";
    }
    return error.empty();
}

bool checkPictureOptions(const BatchOptions& o, std::string& error)
{
    const bool picture = isPictureFileName(o.gridPath);
    if (picture && o.pictureNX == 0)
        error = "a picture needs --grid-size NXxNY";
    else if (!picture && (o.pictureNX != 0 || (!o.saveGridPath.empty() && o.bodies.empty())))
        error = "--grid-size and --save-grid need a picture (.png, .bmp, .gif, .jpg); --save-grid also takes a --body";
    return error.empty();
}

// One option with its value; false with a reason when the value is bad.
bool applyOption(const std::string& name, const char* text, BatchOptions& o, std::string& error)
{
    long long whole = 0;
    double number = 0.0;
    if (isFrameOption(name))
        return applyFrameOption(name, text, o, error);
    if (isPictureOption(name))
        return applyPictureOption(name, text, o, error);
    if (isMeasureOption(name))
        return applyMeasureOption(name, text, o.measure, error);
    if (isScalarOption(name))
        return applyScalarOption(name, text, o.scalars, error);
    if (isParticleOption(name))
        return applyParticleOption(name, text, o.particles, error);
    if (name == "--body") {
        BodyOutline outline;
        if (!parseBodyOption(text, outline, error))
            return false;
        o.bodies.push_back(std::move(outline));
    } else if (name == "--steps") {
        if (!parseInteger(text, whole) || whole < 0 || whole > batch_constants::maxSteps) {
            error = "--steps needs a whole number from 0 to " +
                    std::to_string(batch_constants::maxSteps) + ", not '" + text + "'";
            return false;
        }
        o.steps = whole;
    } else if (name == "--re") {
        if (!parseReynolds(text, number)) {
            error = std::string("--re needs a finite number above 0 (from 1.4e-45 to 3.4e38), not '") + text + "'";
            return false;
        }
        o.reynolds = number;
    } else if (name == "--dt") {
        o.dtGiven = true;
        o.automaticDt = std::strcmp(text, "auto") == 0;
        if (o.automaticDt)
            return true;
        if (!parseFiniteNumber(text, number) || !(number > 0.0)) {
            error = std::string("--dt needs a finite number above 0 or auto, not '") + text + "'";
            return false;
        }
        o.dt = number;
    } else if (name == "--convection") {
        o.convectionGiven = true;
        if (!parseConvection(text, o.convection)) {
            error = std::string("--convection needs rk3, central, blended or designed, not '") + text + "'";
            return false;
        }
    } else if (name == "--pressure") {
        o.pressureGiven = true;
        if (!parsePressureSolver(text, o.pressure)) {
            error = std::string("--pressure needs gauss-seidel or multigrid, not '") + text + "'";
            return false;
        }
    } else if (name == "--threads") {
        if (!parseRanged(name, text, 1, batch_constants::maxThreads, whole, error))
            return false;
        o.threads = static_cast<int>(whole);
    } else if (name == "--until-steady") {
        if (!parseFiniteNumber(text, number) || number < 0.0) {
            error = std::string("--until-steady needs a finite number from 0 up, not '") + text + "'";
            return false;
        }
        o.untilSteady = number;
    } else if (name == "--until-time") {
        if (!parseFiniteNumber(text, number) || !(number > 0.0)) {
            error = std::string("--until-time needs a finite number above 0, not '") + text + "'";
            return false;
        }
        o.untilTime = number;
    } else if (name == "--default-u" || name == "--default-v") {
        if (!parseFiniteNumber(text, number)) {
            error = name + " needs a finite number, not '" + text + "'";
            return false;
        }
        (name == "--default-u" ? o.defaultU : o.defaultV) = number;
    } else if (name == "--initial-field") {
        if (std::strcmp(text, "file") != 0 && std::strcmp(text, "default") != 0) {
            error = std::string("--initial-field needs file or default, not '") + text + "'";
            return false;
        }
        o.startFromStoredField = std::strcmp(text, "file") == 0;
    } else if (name == "--save-state" || name == "--restart") {
        if (*text == '\0') {
            error = name + " needs a file name";
            return false;
        }
        (name == "--save-state" ? o.saveStatePath : o.restartPath) = text;
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
           name == "--default-v" || name == "--initial-field" || name == "--dump-csv" || name == "--convection" || name == "--pressure" || name == "--threads" ||
           name == "--until-steady" || name == "--until-time" || name == "--save-state" || name == "--restart" || name == "--body" || isFrameOption(name) ||
           isPictureOption(name) ||
           isMeasureOption(name) || isParticleOption(name) || isScalarOption(name);
}

// --ppm takes the next argument as its directory unless that is missing or
// an option; --ppm=DIR names it in one argument.
bool applyPpm(int argc, const char* const* argv, int& k, BatchOptions& o, std::string& error)
{
    const std::string arg = argv[k];
    o.ppm = true;
    if (arg.compare(0, 6, "--ppm=") == 0)
        o.ppmDirectory = arg.substr(6);
    else if (k + 1 < argc && argv[k + 1][0] != '-')
        o.ppmDirectory = argv[++k];
    if (o.ppmDirectory.empty()) {
        error = "--ppm needs a directory name";
        return false;
    }
    return true;
}

// Settings that only make sense together.
bool checkCombinations(const BatchOptions& o, const bool compressionGiven, std::string& error)
{
    if (compressionGiven && o.aviPath.empty()) {
        error = "--codec and --quality need --avi";
        return false;
    }
    if (o.elements.colourMap.locked && o.elements.colourMap.quantity == ColourQuantity::None) {
        error = "--range needs --colour-map";
        return false;
    }
    return true;
}

}  // namespace

// Options may come before or after the grid file; exactly one file is needed.
static bool parseArguments(int argc, const char* const* argv, BatchOptions& options,
                           std::string& error)
{
    BatchOptions o;
    o.steps = batch_constants::defaultSteps;
    o.dt = batch_constants::defaultDt;
    o.interval = batch_constants::defaultInterval;
    o.pixelsPerCell = batch_constants::defaultPixelsPerCell;
    o.elements = defaultElements();
    o.compression.quality = batch_constants::defaultQuality;
    bool compressionGiven = false;
    for (int k = 1; k < argc; ++k) {
        const std::string arg = argv[k];
        if (arg == "--help" || arg == "-h") {
            o.help = true;
        } else if (arg == "--ppm" || arg.compare(0, 6, "--ppm=") == 0) {
            o.ppmDirectory = batch_constants::defaultPpmDirectory;
            if (!applyPpm(argc, argv, k, o, error))
                return false;
        } else if (takesValue(arg)) {
            compressionGiven = compressionGiven || arg == "--codec" || arg == "--quality";
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
    if (o.gridPath.empty() && o.restartPath.empty() && !o.help) {
        error = "no grid file given (see --help)";
        return false;
    }
    if (!o.restartPath.empty() && (o.defaultU || o.defaultV || o.startFromStoredField)) {
        error = "--default-u, --default-v and --initial-field cannot change a restarted run";
        return false;
    }
    if (!checkCombinations(o, compressionGiven, error) ||
        (!o.help && !checkPictureOptions(o, error)))
        return false;
    options = o;
    return true;
}

// Every refusal comes back as one short line, whatever text caused it.
bool parseBatchOptions(int argc, const char* const* argv, BatchOptions& options,
                       std::string& error)
{
    if (parseArguments(argc, argv, options, error))
        return true;
    error = oneLine(error);
    return false;
}

std::string batchUsage()
{
    return "usage: kelvo-batch GRIDFILE|PICTURE [--steps N] [--re R] [--dt X|auto]\n"
           "                   [--default-u A] [--default-v B] [--initial-field F]\n"
           "                   [--convection C]\n"
           "                   [--pressure P] [--threads N]\n"
           "                   [--until-steady EPS] [--until-time T] [--dump-csv FILE]\n"
           "                   [--save-state FILE]\n"
           "       kelvo-batch --restart FILE [GRIDFILE|PICTURE] [--steps N] [...]\n"
           "\n"
           "Runs the flow of a grid file without a display: writes the default\n"
           "velocities into the fluid cells, builds the solver (one step), then\n"
           "takes N more steps and writes the final state as CSV.\n"
           "\n"
           "  --steps N       steps after the build step (default 100)\n"
           "  --re R          Reynolds number, any number above 0, e.g. 816.67\n"
           "                  (default: the file's, clamped to 10..2000 as the\n"
           "                  editor shows it)\n"
           "  --dt X          time step, above 0 (default 0.003); auto chooses a\n"
           "                  stable one before every step\n"
           "  --convection C  the method: rk3 (default; second order: walls on the\n"
           "                  cell faces, three Runge-Kutta stages, implicit\n"
           "                  viscosity; --dt auto keeps the Courant number at\n"
           "                  1.5), or forward Euler with central, blended\n"
           "                  (upwind-blended) or designed terms (the original\n"
           "                  terms, to reproduce old results bit for bit)\n"
           "  --pressure P    multigrid (default; conjugate gradients with a\n"
           "                  multigrid preconditioner) or gauss-seidel (sweeps);\n"
           "                  both stop once no fluid cell keeps a divergence\n"
           "                  above 1e-7. The designed terms keep their own\n"
           "                  sweeps by default, which reproduce old results\n"
           "  --threads N     threads of the multigrid solver, 1..8 (default: the\n"
           "                  machine's cores); the results are the same bits\n"
           "  A grid file that stores a time step, convection or pressure solver\n"
           "  gives the default for that option.\n"
           "  --until-steady EPS  stop early once no u or v changes by more than\n"
           "                  EPS in a step (--steps stays the limit)\n"
           "  --until-time T  stop once the simulated time reaches T, above 0: the\n"
           "                  step that reaches or passes it is the last (--steps\n"
           "                  stays the limit)\n"
           "  --default-u A   default x velocity of fluid cells (default: the file's,\n"
           "                  clamped to 0..100)\n"
           "  --default-v B   default y velocity of fluid cells (likewise)\n"
           "  --initial-field F  file: the run starts from the u and v the grid\n"
           "                  file stores for the fluid cells; default: the\n"
           "                  default velocities are written over them (default:\n"
           "                  the file's choice, else default)\n"
           "  --dump-csv FILE write i,j,flags,u,v,p per cell to FILE ('-' for stdout)\n"
           "  --save-state FILE  write the run's state to FILE at its end, or when\n"
           "                  SIGINT or SIGTERM stops it after the current step\n"
           "                  (exit status 4); a run that blew up writes none\n"
           "  --restart FILE  continue the run saved in FILE: no build step, --steps\n"
           "                  counts from the restart; Re, dt, convection and\n"
           "                  pressure solver from the state unless given; a grid\n"
           "                  file, when given, must match the state's grid\n"
           "  --help          show this text\n"
           "\n"
           "Frames, as the simulation window renders and saves them (each step is\n"
           "one cycle; a cycle whose count since the build step is a multiple of\n"
           "the interval is a frame cycle, the first one included):\n"
           "  --interval N    cycles per frame, 1..1110 (default 1)\n"
           "  --size K        pixels per cell edge, 1..15 (default 4)\n"
           "  --elements LIST comma list of boundary, streamlines, u, v, p, vectors,\n"
           "                  cells (bodies with outlines as their cells),\n"
           "                  particles, streaks, or none (default\n"
           "                  boundary,streamlines)\n"
           "  --ppm [DIR]     write DIR/frame_00000.ppm ... (default DIR: frames;\n"
           "                  --ppm=DIR when the grid file follows)\n"
           "  --avi FILE      write the animation, title and fade-in first (\".avi\"\n"
           "                  is added unless FILE ends in it)\n"
           "  --vtk DIR       the fields of each frame as DIR/fields_00000.vti ... for\n"
           "                  ParaView (u, v, speed, vorticity, p at the cell centres,\n"
           "                  the cell type), and DIR/fields.pvd with their simulated\n"
           "                  times; DIR is created when missing\n"
           "  --codec C       raw (full frames, default), mjpeg, ffv1 or utvideo\n"
           "  --quality Q     Motion JPEG quality, 0..100 (default 85)\n"
           "  --colour-map Q  colour map of speed, vorticity, p, u, v, temperature or\n"
           "                  dye in place of the u, v and p fields, with a colour bar\n"
           "                  below each frame\n"
           "  --range MIN,MAX the colour map's fixed range (default: each frame's own)\n"
           "\n"
           "A picture (PNG, BMP, GIF or JPEG) in place of GRIDFILE is sampled at the\n"
           "centre of each cell as the editor's Import Image does: the editor's cell\n"
           "colours give their cell types, other dark colours no-slip walls, light\n"
           "ones fluid; the picture's top row is the grid's top row.\n"
           "  --grid-size NXxNY  cells across, 3..1024, and up, 3..512 (needed)\n"
           "  --save-grid FILE   write the grid to FILE and run nothing (a grid file\n"
           "                     with --body: the grid with its outlines)\n" +
           std::string(measureUsage) + bodyUsage + particleUsage + scalarUsage;
}

bool parseGridSize(const std::string& text, int& NX, int& NY)
{
    const size_t cross = text.find('x');
    long long across = 0;
    long long up = 0;
    if (cross == std::string::npos || !parseInteger(text.substr(0, cross).c_str(), across) ||
        !parseInteger(text.substr(cross + 1).c_str(), up))
        return false;
    using namespace batch_constants;
    if (across < minPictureCells || across > maxPictureAcross || up < minPictureCells || up > maxPictureUp)
        return false;
    NX = static_cast<int>(across);
    NY = static_cast<int>(up);
    return true;
}

RenderElements defaultElements()
{
    RenderElements elements;
    elements.boundaryCells = true;
    elements.streamlines = true;
    return elements;
}

// Items between commas, each a known name; "none" alone chooses nothing.
bool parseElements(const std::string& text, RenderElements& elements, std::string& error)
{
    RenderElements chosen;
    if (text == "none") {
        elements = chosen;
        return true;
    }
    size_t start = 0;
    while (true) {
        const size_t comma = text.find(',', start);
        const std::string item = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        bool* flag = item == "boundary"      ? &chosen.boundaryCells
                     : item == "streamlines" ? &chosen.streamlines
                     : item == "u"           ? &chosen.uField
                     : item == "v"           ? &chosen.vField
                     : item == "p"           ? &chosen.pressure
                     : item == "vectors"     ? &chosen.vectors
                     : item == "cells"       ? &chosen.outlineCells
                     : item == "particles"   ? &chosen.particles
                     : item == "streaks"     ? &chosen.particleStreaks
                                             : nullptr;
        if (!flag) {
            error = item.empty() ? "--elements has an empty item in '" + text + "'"
                                 : "--elements does not know '" + item +
                                       "' (boundary, streamlines, u, v, p, vectors, cells, particles, streaks or none)";
            return false;
        }
        *flag = true;
        chosen.particles = chosen.particles || chosen.particleStreaks;
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    elements = chosen;
    return true;
}

bool parseCodec(const std::string& text, Compressor& compressor)
{
    static constexpr std::pair<const char*, Compressor> names[] = {{"raw", Compressor::FullFrames},
                                                               {"mjpeg", Compressor::MotionJpeg},
                                                               {"ffv1", Compressor::Ffv1},
                                                               {"utvideo", Compressor::UtVideo}};
    return lookUpName(text, names, compressor);
}
