#include "render/quantity_field.h"

#include "core/centre_values.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Columns of cells below which a second thread costs more than it saves.
constexpr int32_t columnsWorthAThread = 128;

int partsFor(int32_t NX, const ParallelParts& parallel)
{
    return std::clamp(NX / columnsWorthAThread, 1, parallel.threads());
}

// cellValue(i, j) for the cells of columns first .. end - 1: the quantity
// is chosen once, outside the loops.
template <typename CellValue>
void fillColumns(int32_t NY, int32_t first, int32_t end, Array2D<double>& out, CellValue cellValue)
{
    for (int32_t i = first; i < end; ++i)
        for (int32_t j = 0; j < NY; ++j)
            out[i][j] = cellValue(i, j);
}

void fillQuantityColumns(const Grid& g, int32_t NX, int32_t NY, ColourQuantity quantity, int32_t first,
                         int32_t end, Array2D<double>& out)
{
    switch (quantity) {
    case ColourQuantity::U:
        return fillColumns(NY, first, end, out, [&](int32_t i, int32_t j) { return centreU(g, i, j); });
    case ColourQuantity::V:
        return fillColumns(NY, first, end, out, [&](int32_t i, int32_t j) { return centreV(g, i, j); });
    case ColourQuantity::Speed:
        return fillColumns(NY, first, end, out, [&](int32_t i, int32_t j) { return centreSpeed(g, i, j); });
    case ColourQuantity::Pressure:
        return fillColumns(NY, first, end, out, [&](int32_t i, int32_t j) { return g.p[i][j]; });
    case ColourQuantity::Vorticity: return centreVorticityColumns(g, NX, NY, first, end, out);
    case ColourQuantity::Temperature:
        if (g.scalars.heat)
            return fillColumns(NY, first, end, out, [&](int32_t i, int32_t j) { return g.scalars.T[i][j]; });
        break;
    case ColourQuantity::Dye:
        if (g.scalars.dye)
            return fillColumns(NY, first, end, out, [&](int32_t i, int32_t j) { return g.scalars.c[i][j]; });
        break;
    case ColourQuantity::None: break;
    }
    fillColumns(NY, first, end, out, [](int32_t, int32_t) { return 0.0; });
}

struct PartExtent {
    ValueExtent extent{std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()};
    bool anyFluid = false;
};

PartExtent columnsExtent(const Grid& grid, int32_t NY, int32_t first, int32_t end, const Array2D<double>& values,
                         bool fluidOnly)
{
    PartExtent part;
    for (int32_t i = first; i < end; ++i)
        for (int32_t j = 0; j < NY; ++j) {
            const bool fluid = isFluid(grid.flags[i][j]);
            part.anyFluid = part.anyFluid || fluid;
            const double value = values[i][j];
            if ((fluid || !fluidOnly) && std::isfinite(value)) {
                part.extent.smallest = std::min(part.extent.smallest, value);
                part.extent.largest = std::max(part.extent.largest, value);
            }
        }
    return part;
}

}  // namespace

void cellCentreQuantity(const Grid& grid, int32_t NX, int32_t NY, ColourQuantity quantity, Array2D<double>& out,
                        const ParallelParts& parallel)
{
    if (out.rowCount() != NX || out.colCount() != NY)
        out.allocate(NX, NY);
    const int parts = partsFor(NX, parallel);
    parallel.run(parts, [&](int part) {
        fillQuantityColumns(grid, NX, NY, quantity, partStart(NX, part, parts), partStart(NX, part + 1, parts), out);
    });
}

// The parts' extents are joined in column order, so that of two equal
// values (0 and -0) the first is kept, as one pass over the columns does.
ValueExtent fluidExtent(const Grid& grid, int32_t NX, int32_t NY, const Array2D<double>& values,
                        const ParallelParts& parallel)
{
    const int parts = partsFor(NX, parallel);
    std::vector<PartExtent> found(parts);
    PartExtent all;
    for (const bool fluidOnly : {true, false}) {
        parallel.run(parts, [&](int part) {
            found[part] = columnsExtent(grid, NY, partStart(NX, part, parts), partStart(NX, part + 1, parts),
                                        values, fluidOnly);
        });
        for (const PartExtent& part : found) {
            all.anyFluid = all.anyFluid || part.anyFluid;
            all.extent.smallest = std::min(all.extent.smallest, part.extent.smallest);
            all.extent.largest = std::max(all.extent.largest, part.extent.largest);
        }
        if (all.anyFluid)
            break;
    }
    return all.extent;
}
