#include "io/vtk_fields.h"

#include "core/centre_values.h"
#include "core/wall_heat.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
constexpr const char* byteOrder = "BigEndian";
#else
constexpr const char* byteOrder = "LittleEndian";
#endif

// The XML before the appended block: the image, one DataArray per field
// with its offset into the block, and the block's opening "_".
// An array beyond the fixed ones: Float64, one value per cell.
struct ExtraArray {
    const char* name;
    std::vector<double> values;  // cell i + NX * j
};

std::string headerText(const Grid& grid, const std::vector<ExtraArray>& extras)
{
    const uint64_t cells = static_cast<uint64_t>(grid.NX) * static_cast<uint64_t>(grid.NY);
    char line[256];
    std::string text = "<?xml version=\"1.0\"?>\n";
    std::snprintf(line, sizeof line,
                  "<VTKFile type=\"ImageData\" version=\"1.0\" byte_order=\"%s\" header_type=\"UInt64\">\n",
                  byteOrder);
    text += line;
    std::snprintf(line, sizeof line,
                  "  <ImageData WholeExtent=\"0 %d 0 %d 0 0\" Origin=\"0 0 0\" Spacing=\"%.17g %.17g %.17g\">\n",
                  grid.NX, grid.NY, grid.dx, grid.dy, grid.dx);
    text += line;
    std::snprintf(line, sizeof line, "    <Piece Extent=\"0 %d 0 %d 0 0\">\n", grid.NX, grid.NY);
    text += line;
    text += "      <CellData Scalars=\"speed\">\n";
    uint64_t offset = 0;
    for (int a = 0; a < vtk_fields::arrayCount; ++a) {
        const bool isFloat = a < vtk_fields::float64Arrays;
        std::snprintf(line, sizeof line,
                      "        <DataArray type=\"%s\" Name=\"%s\" format=\"appended\" offset=\"%llu\"/>\n",
                      isFloat ? "Float64" : "Int32", vtk_fields::arrayNames[a],
                      static_cast<unsigned long long>(offset));
        text += line;
        offset += sizeof(uint64_t) + cells * (isFloat ? sizeof(double) : sizeof(int32_t));
    }
    for (const ExtraArray& extra : extras) {
        std::snprintf(line, sizeof line,
                      "        <DataArray type=\"Float64\" Name=\"%s\" format=\"appended\" offset=\"%llu\"/>\n",
                      extra.name, static_cast<unsigned long long>(offset));
        text += line;
        offset += sizeof(uint64_t) + cells * sizeof(double);
    }
    text += "      </CellData>\n    </Piece>\n  </ImageData>\n  <AppendedData encoding=\"raw\">\n   _";
    return text;
}

// Appends one array: its byte count, then value(i, j) for cell i + NX * j.
template <typename T, typename Value>
char* appendArray(char* out, const Grid& grid, Value value)
{
    const uint64_t count = static_cast<uint64_t>(grid.NX) * static_cast<uint64_t>(grid.NY) * sizeof(T);
    std::memcpy(out, &count, sizeof count);
    out += sizeof count;
    // The block follows text of any length, so values are copied, not stored
    // through a pointer that may be misaligned.
    for (int32_t j = 0; j < grid.NY; ++j)
        for (int32_t i = 0; i < grid.NX; ++i) {
            const T v = value(i, j);
            std::memcpy(out, &v, sizeof v);
            out += sizeof v;
        }
    return out;
}

// T and c where the grid carries them, and the local Nusselt number in each
// wall cell that holds its temperature (the mean over its faces to the
// flow; 0 in every other cell).
std::vector<ExtraArray> extraArrays(const Grid& g)
{
    std::vector<ExtraArray> extras;
    const size_t cells = static_cast<size_t>(g.NX) * static_cast<size_t>(g.NY);
    auto cellArray = [&](const char* name, const Array2D<double>& a) {
        ExtraArray extra{name, std::vector<double>(cells)};
        for (int32_t j = 0; j < g.NY; ++j)
            for (int32_t i = 0; i < g.NX; ++i)
                extra.values[static_cast<size_t>(j) * g.NX + i] = a[i][j];
        extras.push_back(std::move(extra));
    };
    if (g.scalars.heat) {
        cellArray("T", g.scalars.T);
        const HeatScales scales = heatScalesFor(g.scalars, g.flags, g.NX, g.NY, g.dy, 1.0);
        ExtraArray nusselt{"wall_nusselt", std::vector<double>(cells)};
        std::vector<int> faces(cells);
        for (const HeatedWall& wall : findHeatedWalls(g)) {
            const std::vector<double> local = localNusselt(g, wall, scales);
            for (size_t k = 0; k < local.size(); ++k) {
                const size_t at = static_cast<size_t>(wall.faces[k].wj) * g.NX + wall.faces[k].wi;
                nusselt.values[at] += local[k];
                ++faces[at];
            }
        }
        for (size_t k = 0; k < cells; ++k)
            if (faces[k] > 1)
                nusselt.values[k] /= faces[k];
        extras.push_back(std::move(nusselt));
    }
    if (g.scalars.dye)
        cellArray("c", g.scalars.c);
    return extras;
}

}  // namespace

void encodeVtkFields(const Grid& grid, std::vector<char>& bytes)
{
    const std::vector<ExtraArray> extras = extraArrays(grid);
    const std::string header = headerText(grid, extras);
    constexpr const char* footer = "\n  </AppendedData>\n</VTKFile>\n";
    const size_t cells = static_cast<size_t>(grid.NX) * static_cast<size_t>(grid.NY);
    const size_t block = vtk_fields::arrayCount * sizeof(uint64_t) +
                         cells * (vtk_fields::float64Arrays * sizeof(double) + sizeof(int32_t)) +
                         extras.size() * (sizeof(uint64_t) + cells * sizeof(double));
    bytes.resize(header.size() + block + std::strlen(footer));
    char* out = bytes.data();
    std::memcpy(out, header.data(), header.size());
    out += header.size();
    const Grid& g = grid;
    out = appendArray<double>(out, g, [&g](int32_t i, int32_t j) { return centreU(g, i, j); });
    out = appendArray<double>(out, g, [&g](int32_t i, int32_t j) { return centreV(g, i, j); });
    out = appendArray<double>(out, g, [&g](int32_t i, int32_t j) { return centreSpeed(g, i, j); });
    out = appendArray<double>(out, g, [&g](int32_t i, int32_t j) { return centreVorticity(g, g.NX, g.NY, i, j); });
    out = appendArray<double>(out, g, [&g](int32_t i, int32_t j) { return g.p[i][j]; });
    out = appendArray<int32_t>(out, g, [&g](int32_t i, int32_t j) { return g.flags[i][j]; });
    for (const ExtraArray& extra : extras)
        out = appendArray<double>(out, g, [&](int32_t i, int32_t j) { return extra.values[static_cast<size_t>(j) * g.NX + i]; });
    std::memcpy(out, footer, std::strlen(footer));
}

