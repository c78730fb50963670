// Version-2 grid files: the fixed little-endian layout of io/grid_file_v2.h.
#include "io/grid_file_v2.h"

#include "io/body_section.h"
#include "io/grid_file_sections.h"

#include "core/cell_types.h"
#include "io/emitter_section.h"
#include "io/little_endian.h"
#include "io/scalar_sections.h"

#include <cmath>
#include <cstring>

namespace {

// Setting codes on disk; 0 always means "not stored".
constexpr unsigned char notStored = 0;

unsigned char convectionCode(const std::optional<Convection>& c)
{
    if (!c)
        return notStored;
    switch (*c) {
    case Convection::Central:
        return 1;
    case Convection::UpwindBlended:
        return 2;
    case Convection::Designed:
        return 3;
    case Convection::RungeKutta:
        break;
    }
    return 4;
}

bool convectionOfCode(unsigned char code, std::optional<Convection>& c)
{
    static const Convection byCode[] = {Convection::Central, Convection::UpwindBlended,
                                        Convection::Designed, Convection::RungeKutta};
    if (code > 4)
        return false;
    c = code == notStored ? std::nullopt : std::optional<Convection>(byCode[code - 1]);
    return true;
}

unsigned char pressureCode(const std::optional<PressureSolver>& p)
{
    if (!p)
        return notStored;
    return *p == PressureSolver::Multigrid ? 2 : 1;
}

bool pressureOfCode(unsigned char code, std::optional<PressureSolver>& p)
{
    if (code > 2)
        return false;
    p = code == notStored ? std::nullopt
                          : std::optional<PressureSolver>(code == 1 ? PressureSolver::GaussSeidel
                                                                    : PressureSolver::Multigrid);
    return true;
}

bool sizesAllowed(std::uint32_t NX, std::uint32_t NY)
{
    const auto inRange = [](std::uint32_t n) {
        return n >= std::uint32_t(grid_file_v2::minCells) && n <= std::uint32_t(grid_file_v2::maxCells);
    };
    return inRange(NX) && inRange(NY) && std::size_t(NX) * NY <= grid_file_v2::maxTotalCells;
}

bool settingsStorable(const GridFileSettings& s)
{
    return std::isfinite(s.reynolds) && std::isfinite(s.defaultU) && std::isfinite(s.defaultV) &&
           (!s.dt || (std::isfinite(*s.dt) && *s.dt > 0.0));
}

bool velocitiesFinite(const Grid& grid)
{
    for (int32_t i = 0; i < grid.NX; ++i)
        for (int32_t j = 0; j < grid.NY; ++j)
            if (!std::isfinite(grid.u[i][j]) || !std::isfinite(grid.v[i][j]))
                return false;
    return true;
}

// The header after the version: sizes, aux words and settings.
struct HeaderV2 {
    std::uint32_t version = 0;
    std::uint32_t NX = 0, NY = 0;
    std::int32_t aux1 = 0, aux2 = 0;
    GridFileSettings settings;
    std::size_t headerLength = 0;  // bytes before the records
};

// The bytes before the records of a file of the given version.
std::size_t headerLengthOf(std::uint32_t version)
{
    return version >= grid_file_v2::versionWithInitialField ? grid_file_v2::headerLengthWithInitialField
                                                            : grid_file_v2::headerLength;
}

// The sections a grid has something for; none leaves the file as it was
// before sections existed.
std::vector<GridSection> sectionsOf(const Grid& grid)
{
    std::vector<GridSection> sections;
    if (!grid.outlines.empty())
        sections.push_back({bodySectionTag, encodeBodySection(grid.outlines)});
    if (!grid.emitters.empty())
        sections.push_back({{'E', 'M', 'I', 'T'}, encodeEmitterSection(grid.emitters)});
    if (grid.scalars.heat)
        sections.push_back({{'H', 'E', 'A', 'T'}, encodeHeatSection(grid.scalars, grid.NX, grid.NY)});
    if (grid.scalars.dye)
        sections.push_back({{'D', 'Y', 'E', ' '}, encodeDyeSection(grid.scalars, grid.NX, grid.NY)});
    return sections;
}

// Applies the known sections to a loaded grid; false on a malformed one.
bool applySections(const std::vector<GridSection>& sections, Grid& grid)
{
    for (const GridSection& s : sections)
        if (s.tag == bodySectionTag && !decodeBodySection(s.bytes.data(), s.bytes.size(), grid.outlines))
            return false;
    const GridSection* emitters = findGridSection(sections, emitter_section::tag);
    const GridSection* heat = findGridSection(sections, "HEAT");
    const GridSection* dye = findGridSection(sections, "DYE ");
    return (!emitters || decodeEmitterSection(emitters->bytes.data(), emitters->bytes.size(), grid.emitters)) &&
           (!heat || decodeHeatSection(heat->bytes.data(), heat->bytes.size(), grid.NX, grid.NY, grid.scalars)) &&
           (!dye || decodeDyeSection(dye->bytes.data(), dye->bytes.size(), grid.NX, grid.NY, grid.scalars));
}

// Reads and checks the header; the caller has checked its magic and that
// the version-2 header is there, and checks its length for version 3.
bool readHeader(LittleEndianReader& in, std::size_t length, HeaderV2& h)
{
    const std::uint32_t version = in.u32();
    if (version < grid_file_v2::version || version > grid_file_v2::versionWithSections ||
        length < headerLengthOf(version))
        return false;
    h.version = version;
    h.NX = in.u32();
    h.NY = in.u32();
    h.aux1 = in.i32();
    h.aux2 = in.i32();
    h.settings.reynolds = in.f64();
    h.settings.defaultU = in.f64();
    h.settings.defaultV = in.f64();
    const double dt = in.f64();
    if (dt != 0.0)
        h.settings.dt = dt;
    const bool codesKnown = convectionOfCode(in.u8(), h.settings.convection) &&
                            pressureOfCode(in.u8(), h.settings.pressure);
    const unsigned initialField = version >= grid_file_v2::versionWithInitialField ? in.u8() : 0;
    h.settings.startsFromStoredField = initialField == 1;
    h.headerLength = headerLengthOf(version);
    return codesKnown && initialField <= 1 && sizesAllowed(h.NX, h.NY) && settingsStorable(h.settings);
}

// The records, into a grid already sized; false on a non-finite velocity.
bool readRecords(LittleEndianReader& in, Grid& grid)
{
    for (int32_t i = 0; i < grid.NX; ++i) {
        for (int32_t j = 0; j < grid.NY; ++j) {
            grid.flags[i][j] = wordOfFileByte(in.u8());
            grid.u[i][j] = in.f64();
            grid.v[i][j] = in.f64();
            if (!std::isfinite(grid.u[i][j]) || !std::isfinite(grid.v[i][j]))
                return false;
        }
    }
    return true;
}

}  // namespace

bool gridNeedsSections(const Grid& grid)
{
    return !grid.outlines.empty() || !grid.emitters.empty() || grid.scalars.heat || grid.scalars.dye;
}

bool hasGridFileV2Magic(const unsigned char* bytes, std::size_t length)
{
    return length >= grid_file_v2::magicLength &&
           std::memcmp(bytes, grid_file_v2::magic, grid_file_v2::magicLength) == 0;
}

bool gridFitsFileV2(const Grid& grid, const GridFileSettings& settings)
{
    if (grid.NX < 0 || grid.NY < 0 || !sizesAllowed(std::uint32_t(grid.NX), std::uint32_t(grid.NY)))
        return false;
    const auto sized = [&grid](auto& a) {
        return a.rowCount() == grid.NX && a.colCount() == grid.NY && !a.empty();
    };
    return sized(grid.flags) && sized(grid.u) && sized(grid.v) && settingsStorable(settings) &&
           velocitiesFinite(grid);
}

std::vector<unsigned char> encodeGridFileV2(const Grid& grid, const GridFileSettings& settings)
{
    std::vector<unsigned char> bytes;
    if (!gridFitsFileV2(grid, settings))
        return bytes;
    const std::vector<GridSection> sections = sectionsOf(grid);
    const std::uint32_t version = !sections.empty()             ? grid_file_v2::versionWithSections
                                  : settings.startsFromStoredField ? grid_file_v2::versionWithInitialField
                                                                   : grid_file_v2::version;
    bytes.reserve(headerLengthOf(version) +
                  grid_file_v2::recordLength * std::size_t(grid.NX) * std::size_t(grid.NY));
    bytes.assign(grid_file_v2::magic, grid_file_v2::magic + grid_file_v2::magicLength);
    LittleEndianWriter out(bytes);
    out.u32(version);
    out.u32(std::uint32_t(grid.NX));
    out.u32(std::uint32_t(grid.NY));
    out.i32(grid.aux1);
    out.i32(grid.aux2);
    out.f64(settings.reynolds);
    out.f64(settings.defaultU);
    out.f64(settings.defaultV);
    out.f64(settings.dt.value_or(0.0));
    out.u8(convectionCode(settings.convection));
    out.u8(pressureCode(settings.pressure));
    if (version >= grid_file_v2::versionWithInitialField)
        out.u8(settings.startsFromStoredField ? 1 : 0);
    for (int32_t i = 0; i < grid.NX; ++i) {
        for (int32_t j = 0; j < grid.NY; ++j) {
            out.u8(fileByteOfWord(grid.flags[i][j]));
            out.f64(grid.u[i][j]);
            out.f64(grid.v[i][j]);
        }
    }
    const std::vector<unsigned char> tail = encodeGridSections(sections);
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    return bytes;
}

// The header is checked before anything is allocated, and the length before
// the grid is: a short file never costs more memory than it is long.
GridFileStatus decodeGridFileV2(const unsigned char* bytes, std::size_t length, Grid& grid,
                                GridFileSettings& settings)
{
    if (!hasGridFileV2Magic(bytes, length) || length < grid_file_v2::headerLength)
        return GridFileStatus::NotValid;
    LittleEndianReader in(bytes + grid_file_v2::magicLength);
    HeaderV2 h;
    if (!readHeader(in, length, h))
        return GridFileStatus::NotValid;
    const std::size_t cells = std::size_t(h.NX) * h.NY;
    if (length - h.headerLength < grid_file_v2::recordLength * cells)
        return GridFileStatus::NotValid;

    Grid loaded;
    makeFluidGrid(loaded, int32_t(h.NX), int32_t(h.NY));
    loaded.aux1 = h.aux1;
    loaded.aux2 = h.aux2;
    if (!readRecords(in, loaded))
        return GridFileStatus::NotValid;
    if (h.version == grid_file_v2::versionWithSections) {
        const std::size_t recordsEnd = h.headerLength + grid_file_v2::recordLength * cells;
        std::vector<GridSection> sections;
        if (!decodeGridSections(bytes + recordsEnd, length - recordsEnd, sections) ||
            !applySections(sections, loaded))
            return GridFileStatus::NotValid;
    }
    grid = std::move(loaded);
    settings = h.settings;
    return GridFileStatus::Ok;
}
