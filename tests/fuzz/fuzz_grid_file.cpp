// Grid files from strangers, classic and version 2: every byte string must
// end in a loaded grid or a refusal. A loaded grid must be whole and must
// survive being written in its format and read again unchanged; a refusal
// must leave the caller's grid and settings as they were.
#include "io/grid_file.h"
#include "io/grid_file_v2.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// Stops the run with a message libFuzzer records along with the input.
void require(bool holds, const char* what)
{
    if (holds)
        return;
    std::fprintf(stderr, "grid file invariant broken: %s\n", what);
    std::abort();
}

// Settings no file can produce (Reynolds text holds -999..9999), so a
// refusal that wrote them anyway shows.
GridFileSettings untouchedSettings()
{
    GridFileSettings s;
    s.reynolds = -123456;
    s.defaultU = -7;
    s.defaultV = -8;
    s.dt = -1.0;
    s.convection = Convection::Designed;
    s.pressure = PressureSolver::Multigrid;
    s.startsFromStoredField = true;
    return s;
}

// All settings equal.
bool sameSettings(const GridFileSettings& a, const GridFileSettings& b)
{
    return a.reynolds == b.reynolds && a.defaultU == b.defaultU && a.defaultV == b.defaultV &&
           a.dt == b.dt && a.convection == b.convection && a.pressure == b.pressure &&
           a.startsFromStoredField == b.startsFromStoredField;
}

// Every array of the grid allocated NX x NY.
bool arraysSized(const Grid& g)
{
    const auto sized = [&g](const auto& a) {
        return !a.empty() && a.rowCount() == g.NX && a.colCount() == g.NY;
    };
    return sized(g.flags) && sized(g.u) && sized(g.v) && sized(g.p);
}

// A stored velocity is a whole number one byte can carry, signed or not.
bool velocityFromByte(double value)
{
    return std::isfinite(value) && value == std::trunc(value) && value >= -128.0 && value <= 255.0;
}

// What any loaded grid must look like, whatever its format.
void checkWhole(const Grid& g)
{
    require(arraysSized(g), "arrays not allocated NX x NY");
    require(std::isfinite(g.dx) && g.dx > 0.0, "dx not finite and positive");
    require(std::isfinite(g.dy) && g.dy > 0.0, "dy not finite and positive");
    const CellSize size = cellSizeFor(g.NX, g.NY);
    require(g.dx == size.dx && g.dy == size.dy, "cell size not recomputed from NX and NY");
    for (int32_t i = 0; i < g.NX; ++i)
        for (int32_t j = 0; j < g.NY; ++j) {
            require(g.flags[i][j] >= 0 && g.flags[i][j] <= 255, "flag word not one byte");
            require(g.p[i][j] == 0.0, "pressure not zero");
        }
}

// What a grid and settings loaded from a classic file must look like.
void checkLoadedClassic(const Grid& g, const GridFileSettings& s)
{
    require(g.NX >= grid_file::minCells && g.NX <= grid_file::maxCells, "NX out of range");
    require(g.NY >= grid_file::minCells && g.NY <= grid_file::maxCells, "NY out of range");
    checkWhole(g);
    require(g.aux1 >= 0 && g.aux1 <= 255 && g.aux2 >= 0 && g.aux2 <= 255, "aux not one byte");
    for (int32_t i = 0; i < g.NX; ++i)
        for (int32_t j = 0; j < g.NY; ++j)
            require(velocityFromByte(g.u[i][j]) && velocityFromByte(g.v[i][j]),
                    "velocity not a whole byte value");
    require(s.reynolds >= -999 && s.reynolds <= 9999, "Reynolds number beyond four characters");
    require(s.defaultU >= 0 && s.defaultU <= 255 && s.defaultV >= 0 && s.defaultV <= 255,
            "default velocity not one byte");
    require(!s.dt && !s.convection && !s.pressure && !s.startsFromStoredField,
            "a classic file gave an optional setting");
}

// What a grid and settings loaded from a version-2 file must look like.
void checkLoadedV2(const Grid& g, const GridFileSettings& s)
{
    require(g.NX >= grid_file_v2::minCells && g.NX <= grid_file_v2::maxCells, "NX out of range");
    require(g.NY >= grid_file_v2::minCells && g.NY <= grid_file_v2::maxCells, "NY out of range");
    require(static_cast<std::size_t>(g.NX) * g.NY <= grid_file_v2::maxTotalCells, "too many cells");
    checkWhole(g);
    for (int32_t i = 0; i < g.NX; ++i)
        for (int32_t j = 0; j < g.NY; ++j)
            require(std::isfinite(g.u[i][j]) && std::isfinite(g.v[i][j]), "velocity not finite");
    require(std::isfinite(s.reynolds) && std::isfinite(s.defaultU) && std::isfinite(s.defaultV),
            "setting not finite");
    require(!s.dt || (std::isfinite(*s.dt) && *s.dt > 0.0), "time step not finite and positive");
}

// Header, flags and velocities equal, element by element.
bool sameGrid(const Grid& a, const Grid& b)
{
    if (a.NX != b.NX || a.NY != b.NY || a.aux1 != b.aux1 || a.aux2 != b.aux2 || a.dx != b.dx ||
        a.dy != b.dy)
        return false;
    for (int32_t i = 0; i < a.NX; ++i)
        for (int32_t j = 0; j < a.NY; ++j)
            if (a.flags[i][j] != b.flags[i][j] || a.u[i][j] != b.u[i][j] ||
                a.v[i][j] != b.v[i][j])
                return false;
    return true;
}

using Encoder = std::vector<unsigned char> (*)(const Grid&, const GridFileSettings&);

// Writing a loaded grid in its format and reading it back gives the same
// grid, and writing that again gives the same bytes. A save, whichever
// format it picks, must accept the grid too.
void checkRoundTrip(const Grid& loaded, const GridFileSettings& settings, Encoder encode)
{
    require(!encodeSavedGrid(loaded, settings).empty(), "a loaded grid cannot be saved");
    const std::vector<unsigned char> stored = encode(loaded, settings);
    require(!stored.empty(), "a loaded grid cannot be written");
    Grid again;
    GridFileSettings againSettings;
    require(decodeGridFile(stored.data(), stored.size(), again, againSettings) == GridFileStatus::Ok,
            "a written grid is refused");
    require(sameGrid(loaded, again), "grid changed in the round trip");
    require(sameSettings(settings, againSettings), "settings changed in the round trip");
    require(encode(again, againSettings) == stored, "second write differs from the first");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Grid grid;
    GridFileSettings settings = untouchedSettings();
    const GridFileStatus status = decodeGridFile(data, size, grid, settings);
    if (status != GridFileStatus::Ok) {
        require(status == GridFileStatus::NotValid, "bytes in memory reported as unopenable");
        require(grid.NX == 0 && grid.NY == 0 && grid.flags.empty() && grid.u.empty(),
                "a refusal touched the grid");
        require(sameSettings(settings, untouchedSettings()), "a refusal touched the settings");
        return 0;
    }
    if (hasGridFileV2Magic(data, size)) {
        checkLoadedV2(grid, settings);
        checkRoundTrip(grid, settings, encodeGridFileV2);
    } else {
        checkLoadedClassic(grid, settings);
        checkRoundTrip(grid, settings, encodeGridFile);
    }
    return 0;
}
