#include "render/colour_map_pass.h"

#include "render/quantity_field.h"

#include <algorithm>
#include <cmath>

namespace {
// Steps of the colour table a pixel looks up: finer than the 8-bit colours
// it holds, so that no band is lost.
constexpr int tableSize = 1024;
}  // namespace

ColourRange ColourMapPass::frameRange(const ParallelParts& parallel, const Grid& grid, int32_t NX, int32_t NY,
                                          ColourQuantity quantity) const
{
    const ValueExtent extent = fluidExtent(grid, NX, NY, values, parallel);
    return automaticRange(quantity, extent.smallest, extent.largest);
}

void ColourMapPass::AxisSamples::compute(int pixels, int cells, int pixelsPerCell)
{
    index.resize(pixels);
    share.resize(pixels);
    for (int p = 0; p < pixels; ++p) {
        // The pixel's centre in cell-centre units: centre of cell 0 at 0.
        const double position = (p + 0.5) / pixelsPerCell - 0.5;
        const int32_t below = std::clamp(static_cast<int32_t>(std::floor(position)), 0, std::max(cells - 2, 0));
        index[p] = below;
        share[p] = cells > 1 ? std::clamp(position - below, 0.0, 1.0) : 0.0;
    }
}

void ColourMapPass::buildTable(ColourQuantity quantity, const ColourRange& range)
{
    table.resize(3 * tableSize);
    for (int n = 0; n < tableSize; ++n) {
        const double value = range.low + (range.high - range.low) * n / (tableSize - 1);
        const MapColour colour = quantityColour(quantity, tablePosition(quantity, range, value));
        table[3 * n] = colour.red;
        table[3 * n + 1] = colour.green;
        table[3 * n + 2] = colour.blue;
    }
}

ColourRange ColourMapPass::draw(FrameImage& image, const Grid& grid, int32_t NX, int32_t NY, int k,
                                const ColourMapView& view)
{
    cellCentreQuantity(grid, NX, NY, view.quantity, values, image.parallel());
    const ColourRange range = view.locked ? view.range : frameRange(image.parallel(), grid, NX, NY, view.quantity);
    buildTable(view.quantity, range);
    const int W = k * NX;
    const int H = k * NY;
    columns.compute(W, NX, k);
    rows.compute(H, NY, k);

    const FramePlanes planes = image.planes();
    const ParallelParts& parallel = image.parallel();
    const int parts = std::clamp(H / 64, 1, parallel.threads());
    const double width = range.high - range.low;
    const double toStep = width != 0.0 ? (tableSize - 1) / width : 0.0;
    const int32_t eastLimit = std::min(NX - 1, 1);  // no east neighbour in a one-column grid
    const int32_t northLimit = std::min(NY - 1, 1);
    parallel.run(parts, [&](int part) {
        for (int row = partStart(H, part, parts); row < partStart(H, part + 1, parts); ++row) {
            const int fromSouth = H - 1 - row;
            const int32_t j = rows.index[fromSouth];
            const double fy = rows.share[fromSouth];
            float* red = planes.red[row];
            float* green = planes.green[row];
            float* blue = planes.blue[row];
            for (int column = 0; column < W; ++column) {
                const int32_t i = columns.index[column];
                const double fx = columns.share[column];
                const double* west = values[i];
                const double* east = values[i + eastLimit];
                const double value = (1 - fy) * ((1 - fx) * west[j] + fx * east[j]) +
                                     fy * ((1 - fx) * west[j + northLimit] + fx * east[j + northLimit]);
                double step = (value - range.low) * toStep;
                if (!(step == step))
                    step = 0.5 * (tableSize - 1);  // NaN: the middle of the table
                const int n = static_cast<int>(std::clamp(step, 0.0, double(tableSize - 1)) + 0.5);
                red[column] = table[3 * n];
                green[column] = table[3 * n + 1];
                blue[column] = table[3 * n + 2];
            }
        }
    });
    return range;
}
